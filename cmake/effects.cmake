# Compiled effects. vq_compile_effect() runs the project's effect tool (tools/fxasm) on one
# effect source at build time; every source resources/effects/<id>-<name>.fx becomes
# build/<cfg>/resources/effects/<id>.fxo (VQ_EFFECT_OUTPUT_DIR), listed in the global properties
# VQ_EFFECT_IDS and VQ_EFFECT_FILES (same order) and built by the target vq_effects.
#
# The tool is a Windows program run under Wine. A build whose own tool cannot run on this
# machine (the 32-bit build where 32-bit programs do not run) takes the tool of another build:
# -DVQ_EFFECT_TOOL=<path to the 64-bit build's fxasm.exe>. Effect binaries are the same bytes for
# every word size.
set(VQ_EFFECT_TOOL "" CACHE FILEPATH "fxasm.exe of another build, used instead of this build's own")
set(VQ_EFFECT_TOOL_LOADER /usr/lib/wine/wine64 CACHE FILEPATH "Wine loader for VQ_EFFECT_TOOL")
set(VQ_EFFECT_OUTPUT_DIR ${CMAKE_BINARY_DIR}/resources/effects)
set(VQ_EFFECT_WINEPREFIX ${CMAKE_BINARY_DIR}/fxasm-wineprefix CACHE PATH "Wine prefix the effect tool runs in")

if(VQ_EFFECT_TOOL)
  set(VQ_EFFECT_COMMAND ${CMAKE_SOURCE_DIR}/tools/fxasm/run-fxasm.sh ${VQ_EFFECT_TOOL_LOADER} ${VQ_EFFECT_WINEPREFIX}
      ${VQ_EFFECT_TOOL})
  set(VQ_EFFECT_TOOL_DEPENDS ${VQ_EFFECT_TOOL})
elseif(VQ_WINE_RUNS)
  set(VQ_EFFECT_COMMAND ${CMAKE_SOURCE_DIR}/tools/fxasm/run-fxasm.sh ${VQ_WINE_LOADER} ${VQ_EFFECT_WINEPREFIX}
      $<TARGET_FILE:fxasm>)
  set(VQ_EFFECT_TOOL_DEPENDS fxasm)
else()
  message(FATAL_ERROR "This build's effect tool cannot run here (${VQ_WINE_LOADER} does not run): configure with "
                      "-DVQ_EFFECT_TOOL=<the win64 build's tools/fxasm/fxasm.exe>, as tools/build.sh does")
endif()

# Kept as global properties: vq_compile_effect() is also called from other folders.
set_property(GLOBAL PROPERTY VQ_EFFECT_COMMAND "${VQ_EFFECT_COMMAND}")
set_property(GLOBAL PROPERTY VQ_EFFECT_TOOL_DEPENDS "${VQ_EFFECT_TOOL_DEPENDS}")
set_property(GLOBAL PROPERTY VQ_EFFECT_OUTPUT_DIR "${VQ_EFFECT_OUTPUT_DIR}")
add_custom_target(vq_effects ALL)

# vq_compile_effect(<source> <output> [ID <id>] [TARGET <name>]): compiles one effect source in a
# target of its own (named <name> when given); with ID the output is one of the resource effects
# listed in VQ_EFFECT_IDS / VQ_EFFECT_FILES.
function(vq_compile_effect source output)
  cmake_parse_arguments(arg "" "ID;TARGET" "" ${ARGN})
  get_property(command GLOBAL PROPERTY VQ_EFFECT_COMMAND)
  get_property(tool_depends GLOBAL PROPERTY VQ_EFFECT_TOOL_DEPENDS)
  get_filename_component(source ${source} ABSOLUTE)
  get_filename_component(stem ${output} NAME_WE)
  get_filename_component(output_dir ${output} DIRECTORY)
  file(RELATIVE_PATH shown ${CMAKE_SOURCE_DIR} ${source})
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
    COMMAND ${command} ${source} ${output}
    DEPENDS ${source} ${tool_depends} ${CMAKE_SOURCE_DIR}/tools/fxasm/run-fxasm.sh
    COMMENT "Compiling effect ${shown}"
    VERBATIM)
  string(MAKE_C_IDENTIFIER "vq_effect_${shown}" target)
  if(arg_TARGET)
    set(target ${arg_TARGET})
  endif()
  add_custom_target(${target} ALL DEPENDS ${output})
  if(arg_ID)
    set_property(GLOBAL APPEND PROPERTY VQ_EFFECT_IDS ${arg_ID})
    set_property(GLOBAL APPEND PROPERTY VQ_EFFECT_FILES ${output})
    add_dependencies(vq_effects ${target})
  endif()
endfunction()

# Every resource effect: resources/effects/<id>-<name>.fx.
file(GLOB vq_effect_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/effects/*.fx)
list(SORT vq_effect_sources)
foreach(source ${vq_effect_sources})
  get_filename_component(file_name ${source} NAME)
  if(NOT file_name MATCHES "^([0-9]+)-[A-Za-z0-9_-]+\\.fx$")
    message(FATAL_ERROR "resources/effects/${file_name}: effect sources are named <id>-<name>.fx")
  endif()
  set(id ${CMAKE_MATCH_1})
  math(EXPR id "${id}")  # 097 and 97 name the same resource
  if(id IN_LIST vq_effect_ids_seen)
    message(FATAL_ERROR "resources/effects/${file_name}: a second source for effect ${id}")
  endif()
  list(APPEND vq_effect_ids_seen ${id})
  vq_compile_effect(${source} ${VQ_EFFECT_OUTPUT_DIR}/${id}.fxo ID ${id})
endforeach()
