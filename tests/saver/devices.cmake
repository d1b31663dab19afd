if(NOT WIN32)
  return()
endif()
# The framework's objects need the product's (the application, sound and scene).

# The device choice over table adapters, and the main loop with real windowed devices.
add_executable(vq_saver_devices_tests
  table_direct3d.cpp
  display_mode_rules_test.cpp
  device_choice_test.cpp
  output_loop_test.cpp
)
target_link_libraries(vq_saver_devices_tests PRIVATE vq_shell vq_window_device gtest_main)
vq_link_product_libraries(vq_saver_devices_tests)
target_include_directories(vq_saver_devices_tests PRIVATE ${CMAKE_SOURCE_DIR})
vq_add_wine_test(saver_devices vq_saver_devices_tests)

# Full screen on a two-monitor display of its own; copies the fixture's prefix instead of making one.
add_executable(vq_two_monitor_fullscreen two_monitor_fullscreen.cpp)
target_link_libraries(vq_two_monitor_fullscreen PRIVATE vq_shell)
vq_link_product_libraries(vq_two_monitor_fullscreen)
target_include_directories(vq_two_monitor_fullscreen PRIVATE ${CMAKE_SOURCE_DIR})
if(VQ_RUNS_PROGRAM_TESTS)
  add_test(NAME saver_two_monitor_fullscreen
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/two_monitor_fullscreen.sh ${CMAKE_CURRENT_BINARY_DIR}/two-monitors
            $<TARGET_FILE:vq_two_monitor_fullscreen> ${VQ_WINE_ENV_DIR}/prefix)
  set_tests_properties(saver_two_monitor_fullscreen PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300)
endif()
