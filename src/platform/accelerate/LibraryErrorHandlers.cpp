// The libraries report an illegal argument through two handlers. The stock
// ones differ by library and by link order: reference LAPACK's ends the
// process with exit status 0, the reference BLAS one prints a line and lets
// the routine carry on with the bad argument. Defined here, they take the
// place of both wherever the matrix routines are linked: the routine and
// parameter are named on stderr and the program aborts.
//
// This file includes no cblas.h on purpose. The libraries declare
// cblas_xerbla with types of their own (reference CBLAS: CBLAS_INT and const
// char*; OpenBLAS: blasint and char*), and a C++ definition that differs from
// the declared one in scope would be an overload the library never calls.
// Both integer types are int in Debian's builds, and C linkage carries no
// types, so one definition serves both. illegalArgument lives here too, so
// that wherever the matrix routines are linked from a static library, this
// file comes with them.

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Fatal.h"
#include "platform/accelerate/LinearAlgebra.h"

void platform::accelerate::illegalArgument(std::string_view routine, int parameter) {
  platform::fatalError(std::string(routine) + ": parameter " + std::to_string(parameter) + " had an illegal value");
}

namespace {

// A Fortran name comes blank-padded with its length passed apart; OpenBLAS
// counts the C string's NUL in that length ("DGEMM \0"). The name ends at its
// first NUL, less trailing blanks.
std::string_view routineName(const char* routine, std::size_t length) {
  std::string_view name(routine, std::min<std::size_t>(length, 32));
  name = name.substr(0, name.find('\0'));
  const auto last = name.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view{} : name.substr(0, last + 1);
}

}  // namespace

// Called from Fortran (and from OpenBLAS's own C interface): the routine name
// is blank-padded, its length passed last.
extern "C" void xerbla_(const char* routine, const int* parameter, std::size_t routineLength) {
  platform::accelerate::illegalArgument(routineName(routine, routineLength), *parameter);
}

// Called by the reference C interface of BLAS for the flags it checks itself.
extern "C" void cblas_xerbla(int parameter, const char* routine, const char*, ...) {
  platform::accelerate::illegalArgument(routine, parameter);
}
