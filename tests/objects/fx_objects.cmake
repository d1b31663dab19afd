# The effect-drawn objects: their records and arithmetic on the host (and under Wine).
add_executable(vq_fx_record_tests base_fx_objects/fx_record_test.cpp fx_kinds_test.cpp)
target_include_directories(vq_fx_record_tests PRIVATE ${CMAKE_SOURCE_DIR})
if(NOT WIN32)
  target_link_libraries(vq_fx_record_tests PRIVATE vq_objects_explosion vq_objects_static_text vq_objects_base_fx_objects
                        vq_objects_base_fx_particles vq_objects_base_sprite_prop
                        vq_objects_base_particles vq_layer_params vq_layer_maths vq_render_maths vq_core_resources_data
                        vq_core_data gtest_main)
  add_test(NAME fx_records COMMAND vq_fx_record_tests)
  return()
endif()
target_link_libraries(vq_fx_record_tests PRIVATE gtest_main)
vq_link_product_libraries(vq_fx_record_tests)
vq_add_wine_test(fx_records_under_wine vq_fx_record_tests)

# The live objects on a device, with the library's effects and pictures beside the program.
add_executable(vq_fx_device_tests fx_device_test.cpp)
target_link_libraries(vq_fx_device_tests PRIVATE vq_window_device gtest_main)
vq_link_product_libraries(vq_fx_device_tests)
target_include_directories(vq_fx_device_tests PRIVATE ${CMAKE_SOURCE_DIR})
vq_place_common_res(vq_fx_device_tests)
vq_add_wine_test(fx_device vq_fx_device_tests)

# The scene viewer's frames of the explosion and the static text, from the scenes of fixtures/.
include(${CMAKE_SOURCE_DIR}/cmake/content_tool.cmake)
if(NOT VQ_HAVE_CONTENT_TOOL)
  return()
endif()
set(vq_fx_scenes ${CMAKE_CURRENT_BINARY_DIR}/fx-scenes)
set(vq_fx_scene_files)
foreach(scene explosion explosion-random text text-without-target two-slides)
  vq_write_scene_document(${CMAKE_CURRENT_SOURCE_DIR}/fixtures/${scene}.json ${vq_fx_scenes}/${scene}.dds EFFECTS 97)
  list(APPEND vq_fx_scene_files ${vq_fx_scenes}/${scene}.dds)
endforeach()
add_custom_target(vq_fx_scenes ALL DEPENDS ${vq_fx_scene_files})

add_executable(vq_fx_viewer_tests fx_viewer_test.cpp)
target_link_libraries(vq_fx_viewer_tests PRIVATE vq_window_device gtest d3d9 d3dx9_43)
target_include_directories(vq_fx_viewer_tests PRIVATE ${CMAKE_SOURCE_DIR})
add_dependencies(vq_fx_viewer_tests scene-viewer vq_fx_scenes)
vq_add_wine_test(fx_viewer_frames vq_fx_viewer_tests $<TARGET_FILE:scene-viewer> ${vq_fx_scenes})
