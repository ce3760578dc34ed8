#include "platform/accelerate/LinearAlgebra.h"

#include <cblas.h>
#include <lapacke.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Fatal.h"

namespace platform::accelerate {

namespace {

// Stops, naming the routine and parameter, when a BLAS argument is illegal.
void requireArgument(bool legal, const char* routine, int parameter) {
  if (!legal) illegalArgument(routine, parameter);
}

bool validOrder(Order o) { return o == Order::rowMajor || o == Order::columnMajor; }
bool validTranspose(Transpose t) { return t == Transpose::noTrans || t == Transpose::trans; }

CBLAS_ORDER toCblas(Order o) { return o == Order::rowMajor ? CblasRowMajor : CblasColMajor; }
CBLAS_TRANSPOSE toCblas(Transpose t) { return t == Transpose::noTrans ? CblasNoTrans : CblasTrans; }

void checkGemm(const char* routine, Order order, Transpose transA, Transpose transB, int m, int n, int k, int lda,
               int ldb, int ldc) {
  requireArgument(validOrder(order), routine, 1);
  requireArgument(validTranspose(transA), routine, 2);
  requireArgument(validTranspose(transB), routine, 3);
  requireArgument(m >= 0, routine, 4);
  requireArgument(n >= 0, routine, 5);
  requireArgument(k >= 0, routine, 6);
  const bool rowMajor = order == Order::rowMajor;
  const bool aPlain = transA == Transpose::noTrans, bPlain = transB == Transpose::noTrans;
  // The length of one stored line (a row in row-major, a column otherwise).
  const int aLine = rowMajor ? (aPlain ? k : m) : (aPlain ? m : k);
  const int bLine = rowMajor ? (bPlain ? n : k) : (bPlain ? k : n);
  const int cLine = rowMajor ? n : m;
  requireArgument(lda >= std::max(1, aLine), routine, 9);
  requireArgument(ldb >= std::max(1, bLine), routine, 11);
  requireArgument(ldc >= std::max(1, cLine), routine, 14);
}

void checkGemv(const char* routine, Order order, Transpose trans, int m, int n, int lda, int incx, int incy) {
  requireArgument(validOrder(order), routine, 1);
  requireArgument(validTranspose(trans), routine, 2);
  requireArgument(m >= 0, routine, 3);
  requireArgument(n >= 0, routine, 4);
  requireArgument(lda >= std::max(1, order == Order::rowMajor ? n : m), routine, 7);
  requireArgument(incx != 0, routine, 9);
  requireArgument(incy != 0, routine, 12);
}

// LAPACK's own argument test, answered without the library.
int getrfArguments(int m, int n, int lda) {
  if (m < 0) return -1;
  if (n < 0) return -2;
  if (lda < std::max(1, m)) return -4;
  return 0;
}

int getriArguments(int n, int lda, int lwork) {
  if (n < 0) return -1;
  if (lda < std::max(1, n)) return -3;
  if (lwork != -1 && lwork < std::max(1, n)) return -6;
  return 0;
}

int geevArguments(char jobvl, char jobvr, int n, int lda, int ldvl, int ldvr, int lwork) {
  auto valid = [](char job) { return job == 'N' || job == 'n' || job == 'V' || job == 'v'; };
  auto wants = [](char job) { return job == 'V' || job == 'v'; };
  if (!valid(jobvl)) return -1;
  if (!valid(jobvr)) return -2;
  if (n < 0) return -3;
  if (lda < std::max(1, n)) return -5;
  if (ldvl < 1 || (wants(jobvl) && ldvl < n)) return -9;
  if (ldvr < 1 || (wants(jobvr) && ldvr < n)) return -11;
  std::int64_t least = std::max<std::int64_t>(1, std::int64_t{(wants(jobvl) || wants(jobvr)) ? 4 : 3} * n);
  if (lwork != -1 && lwork < least) return -13;
  return 0;
}

}  // namespace

void sgemm(Order order, Transpose transA, Transpose transB, int m, int n, int k, float alpha, const float* a, int lda,
           const float* b, int ldb, float beta, float* c, int ldc) {
  checkGemm("cblas_sgemm", order, transA, transB, m, n, k, lda, ldb, ldc);
  cblas_sgemm(toCblas(order), toCblas(transA), toCblas(transB), m, n, k, alpha, a, lda, b, ldb, beta, c, ldc);
}

void dgemm(Order order, Transpose transA, Transpose transB, int m, int n, int k, double alpha, const double* a,
           int lda, const double* b, int ldb, double beta, double* c, int ldc) {
  checkGemm("cblas_dgemm", order, transA, transB, m, n, k, lda, ldb, ldc);
  cblas_dgemm(toCblas(order), toCblas(transA), toCblas(transB), m, n, k, alpha, a, lda, b, ldb, beta, c, ldc);
}

void sgemv(Order order, Transpose trans, int m, int n, float alpha, const float* a, int lda, const float* x, int incx,
           float beta, float* y, int incy) {
  checkGemv("cblas_sgemv", order, trans, m, n, lda, incx, incy);
  cblas_sgemv(toCblas(order), toCblas(trans), m, n, alpha, a, lda, x, incx, beta, y, incy);
}

void dgemv(Order order, Transpose trans, int m, int n, double alpha, const double* a, int lda, const double* x,
           int incx, double beta, double* y, int incy) {
  checkGemv("cblas_dgemv", order, trans, m, n, lda, incx, incy);
  cblas_dgemv(toCblas(order), toCblas(trans), m, n, alpha, a, lda, x, incx, beta, y, incy);
}

int sgetrf(int m, int n, float* a, int lda, int* ipiv) {
  if (int status = getrfArguments(m, n, lda)) return status;
  return LAPACKE_sgetrf_work(LAPACK_COL_MAJOR, m, n, a, lda, ipiv);
}

int dgetrf(int m, int n, double* a, int lda, int* ipiv) {
  if (int status = getrfArguments(m, n, lda)) return status;
  return LAPACKE_dgetrf_work(LAPACK_COL_MAJOR, m, n, a, lda, ipiv);
}

int sgetri(int n, float* a, int lda, const int* ipiv, float* work, int lwork) {
  if (int status = getriArguments(n, lda, lwork)) return status;
  return LAPACKE_sgetri_work(LAPACK_COL_MAJOR, n, a, lda, ipiv, work, lwork);
}

int dgetri(int n, double* a, int lda, const int* ipiv, double* work, int lwork) {
  if (int status = getriArguments(n, lda, lwork)) return status;
  return LAPACKE_dgetri_work(LAPACK_COL_MAJOR, n, a, lda, ipiv, work, lwork);
}

int dgeev(char jobvl, char jobvr, int n, double* a, int lda, double* wr, double* wi, double* vl, int ldvl,
          double* vr, int ldvr, double* work, int lwork) {
  if (int status = geevArguments(jobvl, jobvr, n, lda, ldvl, ldvr, lwork)) return status;
  // The balancing step treats a NaN in the matrix, or the NaN that an
  // infinity turns into when it sums a row, as an illegal argument; the
  // matrix is refused here instead.
  if (lwork != -1)
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < n; ++i)
        if (!std::isfinite(a[static_cast<std::ptrdiff_t>(j) * lda + i])) return -4;
  return LAPACKE_dgeev_work(LAPACK_COL_MAJOR, jobvl, jobvr, n, a, lda, wr, wi, vl, ldvl, vr, ldvr, work, lwork);
}

}  // namespace platform::accelerate
