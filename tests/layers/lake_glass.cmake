# The lake and glass-ball layers: the platform features they stand on, probed on the device; their
# arithmetic on the host and under Wine; the layers themselves on a windowed device of their own.
add_executable(vq_lake_glass_maths_tests lake/lake_maths_test.cpp glass_ball/glass_ball_maths_test.cpp)
target_include_directories(vq_lake_glass_maths_tests PRIVATE ${CMAKE_SOURCE_DIR})
if(NOT WIN32)
  target_link_libraries(vq_lake_glass_maths_tests PRIVATE vq_layers_lake vq_layers_glass_ball vq_core_data gtest_main)
  add_test(NAME lake_glass_maths COMMAND vq_lake_glass_maths_tests)
  return()
endif()
# Under Windows a kind's library is the whole kind, which the product libraries complete.
target_link_libraries(vq_lake_glass_maths_tests PRIVATE gtest_main)
vq_link_product_libraries(vq_lake_glass_maths_tests)
vq_add_wine_test(lake_glass_maths_under_wine vq_lake_glass_maths_tests)

add_executable(vq_lake_glass_probe_tests probe_test.cpp)
target_link_libraries(vq_lake_glass_probe_tests PRIVATE vq_window_device gtest_main)
vq_link_product_libraries(vq_lake_glass_probe_tests)
target_include_directories(vq_lake_glass_probe_tests PRIVATE ${CMAKE_SOURCE_DIR})
vq_add_wine_test(lake_glass_probes vq_lake_glass_probe_tests)

add_executable(vq_lake_glass_device_tests lake/lake_device_test.cpp glass_ball/glass_ball_device_test.cpp lake_resources.rc)
target_link_libraries(vq_lake_glass_device_tests PRIVATE vq_window_device gtest_main)
vq_link_product_libraries(vq_lake_glass_device_tests)
target_include_directories(vq_lake_glass_device_tests PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/resources)
add_dependencies(vq_lake_glass_device_tests vq_program_pictures)
vq_place_common_res(vq_lake_glass_device_tests)
vq_add_wine_test(lake_glass_layers vq_lake_glass_device_tests)

# The default scene's lake and glass-ball slides played by the scene viewer's own code.
vq_add_default_scene_test(lake_glass_default_scene vq_lake_glass_scene_tests default_scene_test.cpp)
