# The content tool (tools/content-tool) writes scene documents from scene descriptions at build
# time. It runs on the build machine: the host configuration builds it (target vq_content_tool);
# the Windows configurations are handed the host build's program as -DVQ_CONTENT_TOOL=<path>,
# as tools/build.sh does. VQ_HAVE_CONTENT_TOOL tells whether this configuration has one.
# Included by each folder that writes documents (the variables are per folder).

if(WIN32)
  set(VQ_CONTENT_TOOL "" CACHE FILEPATH "The host build's content-tool, which writes the scene documents")
  if(VQ_CONTENT_TOOL)
    set(VQ_HAVE_CONTENT_TOOL ON)
  else()
    set(VQ_HAVE_CONTENT_TOOL OFF)
    message(STATUS "VQ_CONTENT_TOOL is not set: no scene document is written in this configuration")
  endif()
else()
  set(VQ_HAVE_CONTENT_TOOL ON)
endif()

# vq_write_scene_document(<description.json> <output> [INCLUDE <folder>...] [RECORDS <folder>...]
#                         [EFFECTS <id>...] [DEPENDS <file or target>...])
# Adds the command that writes <output> from <description.json>; the caller's target depends on
# <output>. INCLUDE: further folders in which the description's files are found. RECORDS: folders
# of record descriptions of classes that are not registered (the tests' own); the registered
# classes describe their records themselves.
# EFFECTS: carried effects; each id among the compiled resource effects (VQ_EFFECT_IDS) goes into
# the document's saved resources under ("common_res.dll", id), unless the description names it.
function(vq_write_scene_document description output)
  cmake_parse_arguments(arg "" "" "INCLUDE;RECORDS;EFFECTS;DEPENDS" ${ARGN})
  if(NOT VQ_HAVE_CONTENT_TOOL)
    message(FATAL_ERROR "vq_write_scene_document(${description}): this configuration has no content tool")
  endif()
  if(WIN32)
    set(tool ${VQ_CONTENT_TOOL})
    set(tool_depends ${VQ_CONTENT_TOOL})
  else()
    set(tool $<TARGET_FILE:vq_content_tool>)
    set(tool_depends vq_content_tool)
  endif()
  get_filename_component(description ${description} ABSOLUTE)
  get_filename_component(output_dir ${output} DIRECTORY)
  set(args)
  set(depends ${description} ${tool_depends} ${arg_DEPENDS})
  foreach(dir ${arg_INCLUDE})
    list(APPEND args -I ${dir})
  endforeach()
  foreach(dir ${arg_RECORDS})
    file(GLOB records CONFIGURE_DEPENDS ${dir}/*.json)
    list(APPEND args -R ${dir})
    list(APPEND depends ${records})
  endforeach()
  get_property(effect_ids GLOBAL PROPERTY VQ_EFFECT_IDS)
  get_property(effect_files GLOBAL PROPERTY VQ_EFFECT_FILES)
  foreach(id ${arg_EFFECTS})
    list(FIND effect_ids ${id} at)
    if(at GREATER -1)
      list(GET effect_files ${at} file)
      list(APPEND args -E ${id}=${file})
      list(APPEND depends ${file} vq_effects)
    endif()
  endforeach()
  file(RELATIVE_PATH shown ${CMAKE_BINARY_DIR} ${output})
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
    COMMAND ${tool} ${description} ${output} ${args}
    DEPENDS ${depends}
    COMMENT "Writing the scene document ${shown}"
    VERBATIM)
endfunction()

# vq_write_fixture_scenes(<fixtures.json> <prefix> <folder> <target> [INCLUDE <folder>...]
#                         [DEPENDS <file or target>...])
# The viewer tests' scenes: one document per entry of the fixture's "slides", that slide alone on
# a dark grey (#202020) 320 x 240 picture with a still camera, written as
# <folder>/<prefix>-<entry's name>.dds; <target> builds them all. INCLUDE and DEPENDS as for
# vq_write_scene_document.
function(vq_write_fixture_scenes fixtures prefix folder target)
  cmake_parse_arguments(arg "" "" "INCLUDE;DEPENDS" ${ARGN})
  get_filename_component(fixtures ${fixtures} ABSOLUTE)
  file(READ ${fixtures} json)
  string(JSON count LENGTH "${json}" slides)
  math(EXPR last "${count} - 1")
  set(outputs)
  foreach(i RANGE ${last})
    string(JSON slide GET "${json}" slides ${i})
    string(JSON name GET "${slide}" name)
    string(JSON slide SET "${slide}" layer
           "{\"picture\": {\"colour\": \"#202020\", \"width\": 320, \"height\": 240}, \"camera\": {\"mode\": 0, \"zoom\": 100, \"speed\": 50, \"border\": {\"colour\": \"#000000\", \"width\": 8, \"height\": 8}}}")
    set(scene ${folder}/${prefix}-${name})
    file(CONFIGURE OUTPUT ${scene}.json CONTENT "{\"slides\": [${slide}]}")
    vq_write_scene_document(${scene}.json ${scene}.dds INCLUDE ${arg_INCLUDE} DEPENDS ${fixtures} ${arg_DEPENDS})
    list(APPEND outputs ${scene}.dds)
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${fixtures})
  add_custom_target(${target} ALL DEPENDS ${outputs})
endfunction()
