# What the libraries link from the system, found the same way when the
# project is built and when its installed package is loaded (inkcurveConfig
# includes this file): threads, LAPACK and LAPACKE for platform (its matrix
# routines run on Debian's reference CBLAS, inside libblas, and LAPACKE);
# Cairo with its FreeType fonts, and libjpeg, for platform_cairo. The
# pkg-config targets carry the project's prefix so that a user's own
# pkg_check_modules(CAIRO ...) is left alone.
find_package(Threads REQUIRED)
find_package(LAPACK REQUIRED)
if(NOT TARGET inkcurve::lapacke)
  find_library(INKCURVE_LAPACKE_LIBRARY NAMES lapacke REQUIRED)
  add_library(inkcurve::lapacke UNKNOWN IMPORTED)
  set_target_properties(inkcurve::lapacke PROPERTIES IMPORTED_LOCATION "${INKCURVE_LAPACKE_LIBRARY}")
endif()
find_package(PkgConfig REQUIRED)
if(NOT TARGET PkgConfig::INKCURVE_CAIRO)
  pkg_check_modules(INKCURVE_CAIRO REQUIRED IMPORTED_TARGET cairo cairo-ft freetype2)
endif()
if(NOT TARGET PkgConfig::INKCURVE_JPEG)
  pkg_check_modules(INKCURVE_JPEG REQUIRED IMPORTED_TARGET libjpeg)
endif()
