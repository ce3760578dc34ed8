# What the libraries link from the system, found the same way when the
# project is built and when its installed package is loaded (inkcurveConfig
# includes this file):
#   platform         threads
#   platform_lapack  BLAS, LAPACK and LAPACKE: the matrix routines
#   platform_cairo   Cairo with its FreeType fonts, libjpeg and zlib
# The other libraries link only inkcurve libraries (vectormath and what is
# built on it link platform_lapack; chart links platform alone).
#
# BLAS and LAPACK are whatever CMake's FindLAPACK picks: with Debian's
# reference packages alone, libblas and liblapack, which run on the library
# Debian's alternatives choose at run time; with libopenblas-dev installed,
# libopenblas itself. BLA_VENDOR chooses (-DBLA_VENDOR=Generic for libblas
# and liblapack, OpenBLAS for libopenblas). The pkg-config targets carry the
# project's prefix so that a user's own pkg_check_modules(CAIRO ...) is left
# alone.

# inkcurve_find_dependencies(<library> <missing-var> [QUIET])
# Finds what <library> links and sets <missing-var> to the names of what
# could not be found (empty when everything was). With QUIET, every lookup
# is quiet: nothing is printed, found or not.
macro(inkcurve_find_dependencies library missing)
  set(${missing} "")
  # A name of its own: a macro's variables are its caller's, and the caller
  # may keep its QUIET in a variable for the next call.
  set(_inkcurve_dependencies_quiet "")
  if("${ARGN}" STREQUAL "QUIET")
    set(_inkcurve_dependencies_quiet QUIET)
  endif()
  if("${library}" STREQUAL "platform")
    _inkcurve_find_package(Threads "Threads" ${missing})
  elseif("${library}" STREQUAL "platform_lapack")
    _inkcurve_find_package(LAPACK "LAPACK (BLAS and LAPACK libraries)" ${missing})
    if(NOT TARGET inkcurve::lapacke)
      find_library(INKCURVE_LAPACKE_LIBRARY NAMES lapacke)
      if(INKCURVE_LAPACKE_LIBRARY)
        add_library(inkcurve::lapacke UNKNOWN IMPORTED)
        set_target_properties(inkcurve::lapacke PROPERTIES IMPORTED_LOCATION "${INKCURVE_LAPACKE_LIBRARY}")
      else()
        list(APPEND ${missing} "LAPACKE (liblapacke)")
      endif()
    endif()
  elseif("${library}" STREQUAL "platform_cairo")
    _inkcurve_find_package(PkgConfig "pkg-config" ${missing})
    if(PkgConfig_FOUND)
      _inkcurve_find_modules(CAIRO "Cairo" ${missing} cairo cairo-ft freetype2)
      _inkcurve_find_modules(JPEG "libjpeg" ${missing} libjpeg)
      _inkcurve_find_modules(ZLIB "zlib" ${missing} zlib)
    endif()
  endif()
  unset(_inkcurve_dependencies_quiet)
endmacro()

# find_package(<package>); <what> is added to <missing-var> when it is not
# found. Asked quietly, CMake's status lines are held back meanwhile: its
# modules look up what they need themselves, not always quietly (FindBLAS
# asks for Threads without QUIET, and says "Found Threads"). Warnings and
# errors still show, and a quieter level the caller set stays.
macro(_inkcurve_find_package package what missing)
  if(_inkcurve_dependencies_quiet)
    set(_inkcurve_saved_log_level "${CMAKE_MESSAGE_LOG_LEVEL}")
    if(NOT CMAKE_MESSAGE_LOG_LEVEL MATCHES "^(ERROR|WARNING|NOTICE)$")
      set(CMAKE_MESSAGE_LOG_LEVEL NOTICE)
    endif()
  endif()
  find_package(${package} ${_inkcurve_dependencies_quiet})
  if(_inkcurve_dependencies_quiet)
    if(_inkcurve_saved_log_level)
      set(CMAKE_MESSAGE_LOG_LEVEL "${_inkcurve_saved_log_level}")
    else()
      unset(CMAKE_MESSAGE_LOG_LEVEL)
    endif()
    unset(_inkcurve_saved_log_level)
  endif()
  if(NOT ${package}_FOUND)
    list(APPEND ${missing} "${what}")
  endif()
endmacro()

# The pkg-config modules as the target PkgConfig::INKCURVE_<name>; <what> is
# added to <missing-var> when one of them is missing.
macro(_inkcurve_find_modules name what missing)
  if(NOT TARGET PkgConfig::INKCURVE_${name})
    pkg_check_modules(INKCURVE_${name} ${_inkcurve_dependencies_quiet} IMPORTED_TARGET ${ARGN})
  endif()
  if(NOT TARGET PkgConfig::INKCURVE_${name})
    set(_inkcurve_modules ${ARGN})
    list(JOIN _inkcurve_modules " " _inkcurve_modules)
    list(APPEND ${missing} "${what} (pkg-config: ${_inkcurve_modules})")
    unset(_inkcurve_modules)
  endif()
endmacro()
