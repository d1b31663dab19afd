# The saver's registry settings and its dialogs, driven in-process from the built resources, and
# the configure mode of the real executable. They run in a Wine prefix of their own: they start
# from a fresh profile and change the registered browser, which no other test may see.
if(NOT WIN32)
  return()
endif()

add_executable(fake_browser fake_browser.cpp)

add_executable(vq_settings_tests
  settings_test_support.cpp
  registry_settings_test.cpp
  screen_settings_test.cpp
  display_dialog_test.cpp
  config_dialog_test.cpp
  sound_dialog_test.cpp
  website_test.cpp
  dialog_resources_test.cpp
  configure_mode_test.cpp
)
vq_add_program_resources(vq_settings_tests)
target_link_libraries(vq_settings_tests PRIVATE vq_shell vq_run_mode gtest_main)
vq_link_product_libraries(vq_settings_tests)
target_include_directories(vq_settings_tests PRIVATE ${CMAKE_SOURCE_DIR})
add_dependencies(vq_settings_tests fake_browser vorniquel)

if(NOT VQ_WINE_RUNS)
  return()
endif()

set(vq_settings_env ${CMAKE_BINARY_DIR}/wine-env-settings)
add_test(NAME settings_env_setup COMMAND ${VQ_WINE_ENV_SCRIPT} setup ${vq_settings_env} ${VQ_WINE_LOADER})
set_tests_properties(settings_env_setup PROPERTIES FIXTURES_SETUP settings_wine TIMEOUT 400)
# Windows outside a window manager's control hide at once; managed ones make every dialog that
# closes wait two seconds for a window manager that Xvfb does not have.
add_test(NAME settings_env_unmanaged_windows
         COMMAND ${VQ_WINE_ENV_SCRIPT} run ${vq_settings_env} reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f)
set_tests_properties(settings_env_unmanaged_windows PROPERTIES FIXTURES_SETUP settings_wine DEPENDS settings_env_setup)
add_test(NAME settings_env_cleanup COMMAND ${VQ_WINE_ENV_SCRIPT} cleanup ${vq_settings_env})
set_tests_properties(settings_env_cleanup PROPERTIES FIXTURES_CLEANUP settings_wine)

# One process per suite: the picture position and the sound dialog's values are process-wide.
foreach(suite RegistrySettings ScreenSettings DisplayDialog ConfigDialog SoundDialog Website DialogResources ConfigureMode)
  add_test(NAME settings_${suite}
           COMMAND ${VQ_WINE_ENV_SCRIPT} run ${vq_settings_env} $<TARGET_FILE:vq_settings_tests> --gtest_filter=${suite}.*)
  set_tests_properties(settings_${suite} PROPERTIES
    FIXTURES_REQUIRED settings_wine RESOURCE_LOCK vq_settings_profile TIMEOUT 300
    ENVIRONMENT VQ_SAVER=$<TARGET_FILE:vorniquel>)
endforeach()
