# Runs the id check of common_res.dll over the resources given as -DRESOURCES=<type>,<id>,<file>:...
# (cmake -P); it stops at the first one the check refuses, else says so.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../../resources/common_res/library_ids.cmake)
string(REPLACE ":" ";" resources "${RESOURCES}")
foreach(resource ${resources})
  string(REPLACE "," ";" fields "${resource}")
  list(GET fields 0 type)
  list(GET fields 1 id)
  list(GET fields 2 file)
  vq_check_library_resource(${type} ${id} ${file} "case.rc")
endforeach()
message(STATUS "every id accepted")
