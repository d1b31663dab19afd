# Windows test programs run under Wine through one wrapper. A ctest fixture makes one private
# Xvfb and one Wine prefix per test run; every Wine test uses them and the cleanup ends both.
set(VQ_WINE_ENV_SCRIPT ${CMAKE_SOURCE_DIR}/tests/wine/wine-env.sh)
set(VQ_WINE_ENV_DIR ${CMAKE_BINARY_DIR}/wine-env)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VQ_WINE_ENV_SCRIPT} run ${VQ_WINE_ENV_DIR})

# Wine's own loader for the build's word size. Some machines cannot execute 32-bit programs at
# all (no IA-32 emulation in the kernel); there the 32-bit build is made but not run, and the
# 64-bit build carries the tests that start the real program. VQ_WIN32_RUNS=OFF takes that path
# on any machine (tools/run-tests.sh sets it from VQ_ONLY_64BIT).
execute_process(COMMAND /usr/lib/wine/wine --version RESULT_VARIABLE vq_wine32_rc OUTPUT_QUIET ERROR_QUIET)
if(vq_wine32_rc EQUAL 0)
  set(vq_wine32_default ON)
else()
  set(vq_wine32_default OFF)
endif()
set(VQ_WIN32_RUNS ${vq_wine32_default} CACHE BOOL "32-bit Windows programs are run under Wine here")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VQ_WINE_LOADER /usr/lib/wine/wine64)
  execute_process(COMMAND ${VQ_WINE_LOADER} --version RESULT_VARIABLE vq_wine_rc OUTPUT_QUIET ERROR_QUIET)
else()
  set(VQ_WINE_LOADER /usr/lib/wine/wine)
  if(VQ_WIN32_RUNS)
    set(vq_wine_rc 0)
  else()
    set(vq_wine_rc 1)
  endif()
endif()
if(vq_wine_rc EQUAL 0)
  set(VQ_WINE_RUNS ON)
else()
  set(VQ_WINE_RUNS OFF)
  message(STATUS "${VQ_WINE_LOADER} is not run on this machine: the Windows tests of this build are not registered")
endif()
# The tests that start the real program (its modes, windows, errors, music, two monitors) run in
# one build: the shipped 32-bit one where it runs, else the 64-bit one.
if(VQ_WINE_RUNS AND (CMAKE_SIZEOF_VOID_P EQUAL 4 OR NOT VQ_WIN32_RUNS))
  set(VQ_RUNS_PROGRAM_TESTS ON)
else()
  set(VQ_RUNS_PROGRAM_TESTS OFF)
endif()

# vq_add_wine_test(<name> <target> [args...]): a Windows program run as one test under Wine.
function(vq_add_wine_test name target)
  if(NOT VQ_WINE_RUNS)
    return()
  endif()
  add_test(NAME ${name} COMMAND ${VQ_WINE_ENV_SCRIPT} run ${VQ_WINE_ENV_DIR} $<TARGET_FILE:${target}> ${ARGN})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600)
endfunction()

# vq_add_default_scene_test(<name> <target> <source>...): a Windows test program that plays the
# default scene through the scene viewer's own code (tests/support/default_scene_frames.h), with
# common_res.dll beside it, run as one test under Wine.
function(vq_add_default_scene_test name target)
  get_property(document GLOBAL PROPERTY VQ_DEFAULT_SCENE_DOCUMENT)
  add_executable(${target} ${ARGN} ${CMAKE_SOURCE_DIR}/tools/scene-viewer/viewed_scene.cpp
                 ${CMAKE_SOURCE_DIR}/tools/scene-viewer/layer_document.cpp
                 ${CMAKE_SOURCE_DIR}/tools/scene-viewer/viewer_options.cpp)
  target_link_libraries(${target} PRIVATE vq_window_device gtest_main d3dx9_43)
  vq_link_product_libraries(${target})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${target} PRIVATE VQ_DEFAULT_SCENE="Z:${document}")
  add_dependencies(${target} vq_default_scene_document)
  vq_place_common_res(${target})
  vq_add_wine_test(${name} ${target})
endfunction()

if(NOT VQ_WINE_RUNS)
  return()
endif()
add_test(NAME wine_env_setup COMMAND ${VQ_WINE_ENV_SCRIPT} setup ${VQ_WINE_ENV_DIR} ${VQ_WINE_LOADER})
set_tests_properties(wine_env_setup PROPERTIES FIXTURES_SETUP wine TIMEOUT 400)
add_test(NAME wine_env_cleanup COMMAND ${VQ_WINE_ENV_SCRIPT} cleanup ${VQ_WINE_ENV_DIR})
set_tests_properties(wine_env_cleanup PROPERTIES FIXTURES_CLEANUP wine)

