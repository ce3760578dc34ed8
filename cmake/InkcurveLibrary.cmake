# inkcurve_library(<name> <source dir> <dependencies> [EXCLUDE <sub-folder>...])
# Collects every .cpp under the folder (sub-folders included, except those
# named after EXCLUDE) into one static library whose include root is src/, so
# headers are included as "platform/text/Text.h", "linearization/QuadDataFile.h"
# and so on.
function(inkcurve_library name dir deps)
  cmake_parse_arguments(PARSE_ARGV 3 arg "" "" "EXCLUDE")
  inkcurve_collect_sources(sources "${dir}" "${arg_EXCLUDE}")
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}/src")
    if(deps)
      target_link_libraries(${name} PUBLIC ${deps})
    endif()
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${CMAKE_SOURCE_DIR}/src")
    if(deps)
      target_link_libraries(${name} INTERFACE ${deps})
    endif()
  endif()
endfunction()

# inkcurve_tests(<name> <test dir> <libraries> [EXCLUDE <sub-folder>...])
# One GoogleTest executable per library; tests/support is shared by all.
function(inkcurve_tests name dir libs)
  cmake_parse_arguments(PARSE_ARGV 3 arg "" "" "EXCLUDE")
  inkcurve_collect_sources(sources "${dir}" "${arg_EXCLUDE}")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE "${CMAKE_SOURCE_DIR}/tests" "${CMAKE_SOURCE_DIR}")
  target_link_libraries(${name} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,test_support>" ${libs} GTest::gtest GTest::gtest_main)
  # Test files are large tables of assertions: optimising them under the
  # sanitizers costs more build time than it saves at run time.
  target_compile_options(${name} PRIVATE $<$<CONFIG:Debug>:-O0>)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "INKCURVE_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output")
endfunction()

# Every .cpp below <dir>, less those below <dir>/<excluded> for each excluded
# sub-folder (a folder with its own library or test program).
function(inkcurve_collect_sources out dir excluded)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${dir}/*.cpp")
  foreach(sub IN LISTS excluded)
    list(FILTER found EXCLUDE REGEX "^${CMAKE_SOURCE_DIR}/${dir}/${sub}/")
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()
