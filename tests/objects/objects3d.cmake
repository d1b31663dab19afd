# The 3D objects: the shared base (element trees, parts, faults), the butterflies' flight, the
# clock's placement and hands, the falling objects' motion, on a device of their own; and the
# scene viewer's frames of documents the content tool writes from fixtures/.
if(NOT WIN32)
  return()
endif()
include(${CMAKE_SOURCE_DIR}/cmake/content_tool.cmake)

add_executable(vq_objects3d_tests
  base_objects3d/objects3d_test.cpp
  butterfly/butterfly_test.cpp
  clock/clock_test.cpp
  falling_leaves/falling_leaves_test.cpp
)
target_link_libraries(vq_objects3d_tests PRIVATE vq_window_device gtest_main)
vq_link_product_libraries(vq_objects3d_tests)
target_include_directories(vq_objects3d_tests PRIVATE ${CMAKE_SOURCE_DIR})
# The meshes and pictures come from common_res.dll, found beside the program.
vq_place_common_res(vq_objects3d_tests)
vq_add_wine_test(objects3d vq_objects3d_tests)

if(NOT VQ_HAVE_CONTENT_TOOL)
  return()
endif()
set(vq_objects3d_documents ${CMAKE_CURRENT_BINARY_DIR}/documents)
set(vq_objects3d_document_files)
foreach(vq_doc clock butterflies leaves)
  vq_write_scene_document(fixtures/${vq_doc}.json ${vq_objects3d_documents}/${vq_doc}.dds)
  list(APPEND vq_objects3d_document_files ${vq_objects3d_documents}/${vq_doc}.dds)
endforeach()
add_custom_target(vq_objects3d_documents ALL DEPENDS ${vq_objects3d_document_files})
add_executable(vq_objects3d_viewer_tests objects3d_viewer_test.cpp)
target_link_libraries(vq_objects3d_viewer_tests PRIVATE vq_window_device gtest)
vq_link_product_libraries(vq_objects3d_viewer_tests)
target_include_directories(vq_objects3d_viewer_tests PRIVATE ${CMAKE_SOURCE_DIR})
add_dependencies(vq_objects3d_viewer_tests scene-viewer vq_objects3d_documents)
vq_add_wine_test(objects3d_viewer_frames vq_objects3d_viewer_tests $<TARGET_FILE:scene-viewer> ${vq_objects3d_documents})
