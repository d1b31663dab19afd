# Tests of the platform-free code. They build with both toolchains: natively on the host,
# and under Wine in the Windows build, so that both compilers agree.
add_executable(vq_host_tests
  run_mode_test.cpp
)
target_link_libraries(vq_host_tests PRIVATE vq_core vq_run_mode gtest_main)
target_include_directories(vq_host_tests PRIVATE ${CMAKE_SOURCE_DIR})
if(WIN32)
  vq_add_wine_test(host_tests_under_wine vq_host_tests)
else()
  add_test(NAME host_tests COMMAND vq_host_tests)
endif()
