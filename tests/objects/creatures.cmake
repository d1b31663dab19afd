# The swimming and flying kinds: their records and motion on the host (and under Wine), and the
# scene viewer's frames of each, with rain.
add_executable(vq_creature_tests creature_test.cpp)
target_include_directories(vq_creature_tests PRIVATE ${CMAKE_SOURCE_DIR})
if(NOT WIN32)
  target_link_libraries(vq_creature_tests PRIVATE vq_objects_fish vq_objects_ghost vq_objects_bird
                        vq_objects_base_sprite_prop vq_objects_base_particles vq_layer_params vq_layer_maths vq_render_maths
                        vq_core_resources_data vq_core_data gtest_main)
  add_test(NAME creature_motion COMMAND vq_creature_tests)
  return()
endif()
target_link_libraries(vq_creature_tests PRIVATE gtest_main)
vq_link_product_libraries(vq_creature_tests)
vq_add_wine_test(creature_motion_under_wine vq_creature_tests)

# One scene per kind, written by the content tool from the entries of fixtures/creatures.json
# with the two-coloured sprite that fixtures/facing.py draws, and the scene viewer's frames of
# each checked at fixed times with a fixed seed.
include(${CMAKE_SOURCE_DIR}/cmake/content_tool.cmake)
if(NOT VQ_HAVE_CONTENT_TOOL)
  return()
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(vq_creature_scenes ${CMAKE_CURRENT_BINARY_DIR}/creature-scenes)
set(vq_creature_sprite ${CMAKE_CURRENT_BINARY_DIR}/pictures/facing.png)
add_custom_command(OUTPUT ${vq_creature_sprite}
  COMMAND ${Python3_EXECUTABLE} -B ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/facing.py ${CMAKE_CURRENT_BINARY_DIR}/pictures
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/facing.py ${CMAKE_SOURCE_DIR}/resources/pictures/png_writer.py
  COMMENT "Drawing the creature frames' test sprite" VERBATIM)
vq_write_fixture_scenes(fixtures/creatures.json creature ${vq_creature_scenes} vq_creature_scenes
                        INCLUDE ${CMAKE_CURRENT_BINARY_DIR}/pictures DEPENDS ${vq_creature_sprite})

add_executable(vq_creature_viewer_tests creature_frames_test.cpp)
target_link_libraries(vq_creature_viewer_tests PRIVATE vq_window_device gtest d3d9 d3dx9_43)
target_include_directories(vq_creature_viewer_tests PRIVATE ${CMAKE_SOURCE_DIR})
add_dependencies(vq_creature_viewer_tests scene-viewer vq_creature_scenes)
vq_add_wine_test(creature_viewer_frames vq_creature_viewer_tests $<TARGET_FILE:scene-viewer> ${vq_creature_scenes})
