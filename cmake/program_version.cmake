# The version text of the programs' version resources, from `git describe --tags --always`
# (a tag such as v1.2 or v1.2.3, commits since it, the commit), and the four numbers Windows
# shows beside it: major, minor, patch of the tag and the commits since it (0.0.0.0 untagged).
execute_process(COMMAND git describe --tags --always
                WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                OUTPUT_VARIABLE PROGRAM_VERSION_TEXT OUTPUT_STRIP_TRAILING_WHITESPACE
                ERROR_QUIET RESULT_VARIABLE describe_result)
if(NOT describe_result EQUAL 0 OR PROGRAM_VERSION_TEXT STREQUAL "")
  set(PROGRAM_VERSION_TEXT "unknown")
endif()
set(PROGRAM_VERSION_NUMBERS "0,0,0,0")
if(PROGRAM_VERSION_TEXT MATCHES "^v?([0-9]+)\\.([0-9]+)(\\.([0-9]+))?(-([0-9]+)-g[0-9a-f]+)?$")
  set(patch ${CMAKE_MATCH_4})
  set(commits ${CMAKE_MATCH_6})
  if(patch STREQUAL "")
    set(patch 0)
  endif()
  if(commits STREQUAL "")
    set(commits 0)
  endif()
  set(PROGRAM_VERSION_NUMBERS "${CMAKE_MATCH_1},${CMAKE_MATCH_2},${patch},${commits}")
endif()
configure_file(${CMAKE_SOURCE_DIR}/resources/program_version.h.in
               ${CMAKE_BINARY_DIR}/generated/program_version.h @ONLY)
