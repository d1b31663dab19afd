# The product's object libraries and the content kinds that fill them.
#
# Every object that goes into vorniquel.scr lives in an object library collected in the global
# property VQ_PRODUCT_LIBRARIES. Object libraries (not static ones) keep every self-registering
# class: a static library would let the linker drop a kind that no code names. Every program
# that reads documents links all of them through vq_link_product_libraries(), so a new kind is
# never missing from one of them.

# vq_add_product_library(<target>): an object library whose objects all go into vorniquel.scr.
function(vq_add_product_library target)
  set_property(GLOBAL APPEND PROPERTY VQ_PRODUCT_LIBRARIES ${target})
endfunction()

# vq_link_product_libraries(<target>): links every product library (and the core's include
# paths) into a program. The libraries are collected while the folders are added, so the link is
# made once the whole tree has been read: a program may call this from any folder, before or
# after the folders of the kinds.
function(vq_link_product_libraries target)
  set_property(TARGET ${target} PROPERTY VQ_LINKS_PRODUCT_LIBRARIES TRUE)
  # A deferred call reads its arguments when it runs: the name is written into it now.
  cmake_language(EVAL CODE
    "cmake_language(DEFER DIRECTORY [[${CMAKE_SOURCE_DIR}]] CALL vq_link_product_libraries_now [[${target}]])")
endfunction()

# vq_place_common_res(<target>): the resource library common_res.dll (the default pictures,
# meshes and effects) is copied beside the program whenever the program is built, where the
# normal DLL search finds it: also when only the library changed (new content, a changed effect)
# and the program itself is not linked again.
function(vq_place_common_res target)
  add_custom_target(${target}_common_res
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_BINARY_DIR}/saver/common_res.dll
            $<TARGET_FILE_DIR:${target}>/common_res.dll
    VERBATIM)
  add_dependencies(${target}_common_res vq_common_res)
  add_dependencies(${target} ${target}_common_res)
endfunction()

# vq_add_program_resources(<target> [<resource folder>...]): the program's resource script (icon,
# dialogs, the loading picture and the default scene document as "DDS" 107) compiled into the
# program. The script's object follows the document and the dialogs' script (windres reports no
# included files): the dependency is a property of the source in the calling folder, so every
# folder that compiles the script needs it, or its programs keep an old scene or old dialogs
# after they change. Folders given first are searched before the real one.
function(vq_add_program_resources target)
  get_property(document GLOBAL PROPERTY VQ_DEFAULT_SCENE_DOCUMENT)
  if(NOT document)
    message(FATAL_ERROR "the default scene document has no build rule: configure with VQ_CONTENT_TOOL (tools/build.sh)")
  endif()
  set_property(SOURCE ${VQ_RESOURCE_SCRIPT} APPEND PROPERTY OBJECT_DEPENDS ${document}
               ${CMAKE_SOURCE_DIR}/resources/dialogs.rc ${CMAKE_SOURCE_DIR}/saver/dialog_ids.h)
  target_sources(${target} PRIVATE ${VQ_RESOURCE_SCRIPT})
  target_include_directories(${target} PRIVATE ${ARGN} ${VQ_RESOURCE_DIR})
  add_dependencies(${target} vq_resources)
endfunction()

function(vq_link_product_libraries_now target)
  get_property(libraries GLOBAL PROPERTY VQ_PRODUCT_LIBRARIES)
  target_link_libraries(${target} PRIVATE vq_core ${libraries})
endfunction()

# vq_add_kind([HOST <source>...] [LIBRARIES <library>...] [TEST_ONLY]): the whole build of a
# content kind, called from the one-line CMakeLists.txt of its folder <area>/<folder>/.
#
# - Windows: every .cpp of the folder goes into the object library vq_<area>_<folder>, a product
#   library (TEST_ONLY: a library for the tests only). It links the layer base and LIBRARIES.
# - Host: the platform-free sources named by HOST (if any) go into an object library of the same
#   name, for host tests with the sanitizers; it links vq_core_resources_data and those of
#   LIBRARIES that exist in the host build. Host programs link it by name (with vq_core_data, as
#   an object library's objects are not passed on); the document fuzzer links every one that is
#   not TEST_ONLY (global property VQ_HOST_KIND_LIBRARIES).
# A .cpp file added to the folder is picked up by the next build (the glob is re-checked).
function(vq_add_kind)
  cmake_parse_arguments(arg "TEST_ONLY" "" "HOST;LIBRARIES" ${ARGN})
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "vq_add_kind: unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  get_filename_component(area_dir ${CMAKE_CURRENT_SOURCE_DIR} DIRECTORY)
  get_filename_component(area ${area_dir} NAME)
  string(MAKE_C_IDENTIFIER "vq_${area}_${folder}" target)

  if(WIN32)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT sources)
      message(FATAL_ERROR "vq_add_kind: ${CMAKE_CURRENT_SOURCE_DIR} has no .cpp file")
    endif()
    add_library(${target} OBJECT ${sources})
    target_link_libraries(${target} PUBLIC vq_core_layer ${arg_LIBRARIES})
    if(NOT arg_TEST_ONLY)
      vq_add_product_library(${target})
    endif()
  elseif(arg_HOST)
    add_library(${target} OBJECT ${arg_HOST})
    # The product's host parts, which the document fuzzer reads.
    if(NOT arg_TEST_ONLY)
      set_property(GLOBAL APPEND PROPERTY VQ_HOST_KIND_LIBRARIES ${target})
    endif()
    target_link_libraries(${target} PUBLIC vq_core_resources_data)
    foreach(library ${arg_LIBRARIES})
      if(TARGET ${library})
        target_link_libraries(${target} PUBLIC ${library})
      endif()
    endforeach()
    # Coverage feedback for the fuzzers, as for the core's data.
    if(VQ_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
      target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
    endif()
  endif()
  if(TARGET ${target})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  endif()
endfunction()

# Once the whole tree is read: a program that links the layer base or the slide show by hand (and
# so can read layer records) but not every product library would miss the kinds that no code of
# it names.
function(vq_check_product_links directory)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "EXECUTABLE")
      continue()
    endif()
    get_target_property(links ${target} LINK_LIBRARIES)
    get_target_property(linked_all ${target} VQ_LINKS_PRODUCT_LIBRARIES)
    if(NOT links OR linked_all)
      continue()
    endif()
    foreach(base vq_core_layer vq_slideshow)
      if(base IN_LIST links)
        message(FATAL_ERROR "${target} links ${base} by hand: link the product's libraries with "
                            "vq_link_product_libraries(${target}) so that it sees every kind")
      endif()
    endforeach()
  endforeach()
  get_property(children DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(child ${children})
    vq_check_product_links(${child})
  endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL vq_check_product_links ${CMAKE_SOURCE_DIR})
