# vq_add_present_subdirectories(): adds every direct subfolder that has a CMakeLists.txt, in name
# order, so that each area of the tree plugs in without editing a shared list.
function(vq_add_present_subdirectories)
  file(GLOB children CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  list(SORT children)
  foreach(child ${children})
    get_filename_component(dir ${child} DIRECTORY)
    add_subdirectory(${dir})
  endforeach()
endfunction()

# The product's object libraries, the content kinds and the programs that link them all.
include(${CMAKE_CURRENT_LIST_DIR}/products.cmake)
