# Tests of the saver's framework under Wine: its objects and resources linked into GoogleTest
# programs, and the resources of the built .scr files.
if(NOT WIN32)
  return()
endif()
add_executable(vq_saver_unit_tests
  error_display_test.cpp
  saver_windows_test.cpp
)
vq_add_program_resources(vq_saver_unit_tests)
target_link_libraries(vq_saver_unit_tests PRIVATE vq_shell gtest_main)
vq_link_product_libraries(vq_saver_unit_tests)
target_include_directories(vq_saver_unit_tests PRIVATE ${CMAKE_SOURCE_DIR})
vq_add_wine_test(saver_unit_tests vq_saver_unit_tests)

# Only the 32-bit build ships; a 64-bit program reads its resources as data all the same.
add_executable(vq_resource_inventory_test resource_inventory_test.cpp)
target_link_libraries(vq_resource_inventory_test PRIVATE gtest)
vq_add_wine_test(resource_inventory vq_resource_inventory_test
  "Z:${CMAKE_SOURCE_DIR}/build/win32/saver/vorniquel.scr" "Z:$<TARGET_FILE:vorniquel>")
if(TEST resource_inventory)
  add_dependencies(vq_resource_inventory_test vorniquel)
endif()
