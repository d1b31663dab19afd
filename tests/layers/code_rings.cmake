# The falling-code grid and the ripple water: their platform-free parts on the host under the
# sanitizers; the two layers on a device under Wine (records, drawing, device loss and reset) and
# through the scene viewer's frames.
if(NOT WIN32)
  add_executable(vq_code_rings_host_tests water_ring/ripple_field_test.cpp matrix_code/matrix_grid_test.cpp)
  target_link_libraries(vq_code_rings_host_tests PRIVATE vq_layers_water_ring vq_layers_matrix_code vq_core_data
                        gtest_main)
  add_test(NAME code_rings_host COMMAND vq_code_rings_host_tests)
  return()
endif()

# The device tests read a two-slide show (water, then falling code) written by the content tool.
include(${CMAKE_SOURCE_DIR}/cmake/content_tool.cmake)
if(NOT VQ_HAVE_CONTENT_TOOL OR NOT TARGET vq_slideshow)
  return()
endif()
set(vq_code_rings_documents ${CMAKE_CURRENT_BINARY_DIR}/documents)
vq_write_scene_document(fixtures/code-rings.json ${vq_code_rings_documents}/code-rings.dds)
add_custom_target(vq_code_rings_documents ALL DEPENDS ${vq_code_rings_documents}/code-rings.dds)

add_executable(vq_code_rings_device_tests code_rings_device_test.cpp)
target_link_libraries(vq_code_rings_device_tests PRIVATE vq_window_device gtest)
vq_link_product_libraries(vq_code_rings_device_tests)
target_include_directories(vq_code_rings_device_tests PRIVATE ${CMAKE_SOURCE_DIR})
add_dependencies(vq_code_rings_device_tests vq_code_rings_documents)
vq_add_wine_test(code_rings_device vq_code_rings_device_tests ${vq_code_rings_documents})

# The scene viewer end to end: documents written by the test, frames checked.
add_executable(vq_code_rings_viewer_tests code_rings_viewer_test.cpp)
target_link_libraries(vq_code_rings_viewer_tests PRIVATE vq_window_device gtest d3d9 d3dx9_43)
vq_link_product_libraries(vq_code_rings_viewer_tests)  # the falling-code grid, replayed by the test
target_include_directories(vq_code_rings_viewer_tests PRIVATE ${CMAKE_SOURCE_DIR})
add_dependencies(vq_code_rings_viewer_tests scene-viewer)
vq_add_wine_test(code_rings_viewer_frames vq_code_rings_viewer_tests Z:$<TARGET_FILE:scene-viewer>)
