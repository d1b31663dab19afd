# The flowing particle kinds: their records and edge behaviour on the host (and under Wine).
add_executable(vq_flow_tests flow_test.cpp)
target_include_directories(vq_flow_tests PRIVATE ${CMAKE_SOURCE_DIR})
if(NOT WIN32)
  target_link_libraries(vq_flow_tests PRIVATE vq_objects_flow vq_objects_rain vq_objects_base_sprite_prop vq_objects_base_particles
                        vq_layer_params vq_layer_maths vq_render_maths vq_core_resources_data vq_core_data gtest_main)
  add_test(NAME flow_edges COMMAND vq_flow_tests)
  return()
endif()
target_link_libraries(vq_flow_tests PRIVATE gtest_main)
vq_link_product_libraries(vq_flow_tests)
vq_add_wine_test(flow_edges_under_wine vq_flow_tests)
