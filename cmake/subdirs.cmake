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

# vq_add_product_library(<target>): an object library whose objects all go into vorniquel.scr
# (object libraries keep every self-registering class that a static library would let drop).
function(vq_add_product_library target)
  set_property(GLOBAL APPEND PROPERTY VQ_PRODUCT_LIBRARIES ${target})
endfunction()
