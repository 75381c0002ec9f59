# vs_add_library(NAME DEPS a b ... PRIVATE_DEPS c d ...)
# One static library per source folder, made of every .cpp file below it.
# Includes are written from the project root: #include "pdf/objects.h".
# A folder without sources yet becomes an interface library, so that the
# folders above it can already name it.
function(vs_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS} ${ARG_PRIVATE_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# vs_library_soname(LIBRARY_FILE OUT_VAR)
# The name a library is loaded under at run time (its SONAME), for the
# libraries the program opens only when a feature needs them.
function(vs_library_soname file out)
  set(objdump "${CMAKE_OBJDUMP}")
  if(NOT objdump)
    set(objdump objdump)
  endif()
  execute_process(COMMAND ${objdump} -p "${file}" OUTPUT_VARIABLE dump ERROR_QUIET)
  if(dump MATCHES "SONAME +([^ \n]+)")
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  else()
    file(REAL_PATH "${file}" real)
    get_filename_component(name "${real}" NAME)
    set(${out} "${name}" PARENT_SCOPE)
  endif()
endfunction()
