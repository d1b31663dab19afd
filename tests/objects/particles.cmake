# The particle kinds: their records and arithmetic on the host (and under Wine); the live objects
# on a device, and the scene viewer's frames of each kind.
set(vq_particle_sources particle_maths_test.cpp sprite_record_test.cpp)
add_executable(vq_particle_tests ${vq_particle_sources})
target_include_directories(vq_particle_tests PRIVATE ${CMAKE_SOURCE_DIR})
if(NOT WIN32)
  target_link_libraries(vq_particle_tests PRIVATE vq_objects_base_sprite_prop vq_objects_base_particles vq_objects_stat_obj
                        vq_objects_flower vq_objects_discharge vq_objects_god_ray vq_objects_sparkle vq_objects_fog
                        vq_objects_lighting vq_objects_grass vq_layer_params vq_layer_maths vq_render_maths
                        vq_core_resources_data vq_core_data gtest_main)
  add_test(NAME particle_maths COMMAND vq_particle_tests)
  return()
endif()
target_link_libraries(vq_particle_tests PRIVATE gtest_main)
vq_link_product_libraries(vq_particle_tests)
vq_add_wine_test(particle_maths_under_wine vq_particle_tests)

# One scene per kind, written by the content tool from the entries of fixtures/kinds.json, and
# the scene viewer's frames of each checked at fixed times with a fixed seed.
include(${CMAKE_SOURCE_DIR}/cmake/content_tool.cmake)
if(NOT VQ_HAVE_CONTENT_TOOL)
  return()
endif()
set(vq_kind_scenes ${CMAKE_CURRENT_BINARY_DIR}/kind-scenes)
vq_write_fixture_scenes(fixtures/kinds.json kind ${vq_kind_scenes} vq_particle_scenes)

add_executable(vq_particle_viewer_tests viewer_frames_test.cpp)
target_link_libraries(vq_particle_viewer_tests PRIVATE vq_window_device gtest d3d9 d3dx9_43)
target_include_directories(vq_particle_viewer_tests PRIVATE ${CMAKE_SOURCE_DIR})
add_dependencies(vq_particle_viewer_tests scene-viewer vq_particle_scenes)
vq_add_wine_test(particle_viewer_frames vq_particle_viewer_tests $<TARGET_FILE:scene-viewer> ${vq_kind_scenes})
