# inkcurve_library(<name> <source dir> <dependencies>)
# Collects every .cpp under the folder (sub-folders included) into one static
# library whose include root is src/, so headers are included as
# "platform/text/Text.h", "linearization/QuadDataFile.h" and so on.
function(inkcurve_library name dir deps)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${dir}/*.cpp")
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

# inkcurve_tests(<name> <test dir> <libraries>)
# One GoogleTest executable per library; tests/support is shared by all.
function(inkcurve_tests name dir libs)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${dir}/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE "${CMAKE_SOURCE_DIR}/tests" "${CMAKE_SOURCE_DIR}")
  target_link_libraries(${name} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,test_support>" ${libs} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "INKCURVE_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output")
endfunction()
