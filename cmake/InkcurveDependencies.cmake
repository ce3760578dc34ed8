# What the libraries link from the system, found the same way when the
# project is built and when its installed package is loaded (inkcurveConfig
# includes this file):
#   platform         threads
#   platform_lapack  BLAS, LAPACK and LAPACKE: the matrix routines
#   platform_cairo   Cairo with its FreeType fonts, and libjpeg
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
# could not be found (empty when everything was).
macro(inkcurve_find_dependencies library missing)
  set(${missing} "")
  set(_inkcurve_quiet "")
  if("${ARGN}" STREQUAL "QUIET")
    set(_inkcurve_quiet QUIET)
  endif()
  if("${library}" STREQUAL "platform")
    find_package(Threads ${_inkcurve_quiet})
    if(NOT Threads_FOUND)
      list(APPEND ${missing} "Threads")
    endif()
  elseif("${library}" STREQUAL "platform_lapack")
    find_package(LAPACK ${_inkcurve_quiet})
    if(NOT LAPACK_FOUND)
      list(APPEND ${missing} "LAPACK (BLAS and LAPACK libraries)")
    endif()
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
    find_package(PkgConfig ${_inkcurve_quiet})
    if(NOT PKG_CONFIG_FOUND)
      list(APPEND ${missing} "PkgConfig")
    else()
      if(NOT TARGET PkgConfig::INKCURVE_CAIRO)
        pkg_check_modules(INKCURVE_CAIRO ${_inkcurve_quiet} IMPORTED_TARGET cairo cairo-ft freetype2)
      endif()
      if(NOT TARGET PkgConfig::INKCURVE_CAIRO)
        list(APPEND ${missing} "Cairo (pkg-config: cairo cairo-ft freetype2)")
      endif()
      if(NOT TARGET PkgConfig::INKCURVE_JPEG)
        pkg_check_modules(INKCURVE_JPEG ${_inkcurve_quiet} IMPORTED_TARGET libjpeg)
      endif()
      if(NOT TARGET PkgConfig::INKCURVE_JPEG)
        list(APPEND ${missing} "libjpeg (pkg-config: libjpeg)")
      endif()
    endif()
  endif()
  unset(_inkcurve_quiet)
endmacro()
