# inkcurve_library(<name> <source dir> <dependencies> [EXCLUDE <sub-folder or file>...] [FILES <file>...])
# Collects every .cpp under the folder (sub-folders included, except those
# named after EXCLUDE; or only the FILES named, relative to the folder) into
# one library, inkcurve_<name>, linked as inkcurve::<name> (in a parent
# project and from the installed package alike) and written as
# libinkcurve_<name>.a, or libinkcurve_<name>.so with BUILD_SHARED_LIBS, so
# that no name collides with a user's own. A static one is compiled
# position-independent, so that it can go into a user's shared library. Its
# include root is src/, so headers are included as "platform/text/Text.h",
# "linearization/QuadDataFile.h" and so on; the folder's headers are
# installed in the same layout under include/inkcurve. The dependencies are
# other inkcurve libraries, by name. Added to another project that installs
# nothing of it, a library is built only when something there links it.
function(inkcurve_library name dir deps)
  cmake_parse_arguments(PARSE_ARGV 3 arg "" "" "EXCLUDE;FILES")
  if(arg_FILES)
    list(TRANSFORM arg_FILES PREPEND "${PROJECT_SOURCE_DIR}/${dir}/" OUTPUT_VARIABLE files)
    set(sources ${files})
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    set(headers ${files})
    list(FILTER headers INCLUDE REGEX "\\.h$")
  else()
    inkcurve_collect_sources(sources "${dir}" "*.cpp" "${arg_EXCLUDE}")
    inkcurve_collect_sources(headers "${dir}" "*.h" "${arg_EXCLUDE}")
  endif()
  set(target inkcurve_${name})
  if(sources)
    add_library(${target} ${sources})
    set(scope PUBLIC)
    set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON VERSION "${PROJECT_VERSION}"
                                               SOVERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
  else()
    add_library(${target} INTERFACE)
    set(scope INTERFACE)
  endif()
  add_library(inkcurve::${name} ALIAS ${target})
  set_target_properties(${target} PROPERTIES EXPORT_NAME ${name})
  if(NOT PROJECT_IS_TOP_LEVEL AND NOT INKCURVE_INSTALL AND sources)
    set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL ON)
  endif()
  target_sources(${target} ${scope} FILE_SET HEADERS BASE_DIRS "${PROJECT_SOURCE_DIR}/src" FILES ${headers})
  target_compile_features(${target} ${scope} cxx_std_20)
  # Kept by name too, for the package config's list of what each library
  # needs (inkcurve_linked_libraries).
  set_property(TARGET ${target} PROPERTY INKCURVE_LINKS ${deps})
  list(TRANSFORM deps PREPEND inkcurve::)
  target_link_libraries(${target} ${scope} ${deps})
  if(INKCURVE_SANITIZE)
    # Whatever links a sanitized library needs the sanitizers' run-time.
    target_link_options(${target} INTERFACE -fsanitize=address,undefined)
  endif()
  if(INKCURVE_SANITIZE_THREAD)
    target_link_options(${target} INTERFACE -fsanitize=thread)
  endif()
endfunction()

# inkcurve_linked_libraries(<name> <out-var>)
# The inkcurve libraries that inkcurve_<name> links, directly or through
# another, by name.
function(inkcurve_linked_libraries name out)
  get_target_property(direct inkcurve_${name} INKCURVE_LINKS)
  if(NOT direct)  # a library that links none (its property empty, so not found)
    set(direct "")
  endif()
  set(all "")
  foreach(library IN LISTS direct)
    inkcurve_linked_libraries(${library} indirect)
    list(APPEND all ${library} ${indirect})
  endforeach()
  list(REMOVE_DUPLICATES all)
  set(${out} ${all} PARENT_SCOPE)
endfunction()

# inkcurve_tests(<name> <test dir> <libraries> [EXCLUDE <sub-folder>...])
# One GoogleTest executable per library; tests/support is shared by all.
function(inkcurve_tests name dir libs)
  cmake_parse_arguments(PARSE_ARGV 3 arg "" "" "EXCLUDE")
  inkcurve_collect_sources(sources "${dir}" "*.cpp" "${arg_EXCLUDE}")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests" "${PROJECT_SOURCE_DIR}")
  target_link_libraries(${name} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,test_support>" ${libs} GTest::gtest GTest::gtest_main)
  # Test files are large tables of assertions: optimising them, in any build,
  # costs more build time than it saves at run time (the libraries they test
  # keep the build's optimisation).
  target_compile_options(${name} PRIVATE -O0)
  # typeid(*copy) asks, on purpose, the dynamic type of what a smart pointer
  # holds; clang warns that the pointer's operator* is called.
  target_compile_options(${name} PRIVATE $<$<CXX_COMPILER_ID:Clang>:-Wno-potentially-evaluated-expression>)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "INKCURVE_TEST_OUTPUT=${PROJECT_BINARY_DIR}/test-output")
endfunction()

# Every file matching <pattern> below <dir> (relative to the project's
# folder), less those below <dir>/<excluded> for each excluded sub-folder (a
# folder with its own library or test program) and <dir>/<excluded> itself
# for each excluded file.
function(inkcurve_collect_sources out dir pattern excluded)
  # Matched relative to the project's folder, whose path may hold characters
  # that a regular expression reads otherwise ("c++").
  file(GLOB_RECURSE found RELATIVE "${PROJECT_SOURCE_DIR}" CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${dir}/${pattern}")
  foreach(sub IN LISTS excluded)
    list(FILTER found EXCLUDE REGEX "^${dir}/${sub}(/|$)")
  endforeach()
  list(TRANSFORM found PREPEND "${PROJECT_SOURCE_DIR}/")
  set(${out} ${found} PARENT_SCOPE)
endfunction()
