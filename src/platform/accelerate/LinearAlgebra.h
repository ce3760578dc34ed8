#pragma once

// The matrix routines of the platform's BLAS and LAPACK, on whichever CBLAS
// and LAPACKE the build links (Debian's reference libraries or OpenBLAS). Names drop the library decoration
// (cblas_dgemm -> dgemm, dgetrf_ -> dgetrf); arguments keep the library's
// order. BLAS takes its order and transposition flags; LAPACK works on
// column-major storage and returns its status (0 = success, -i = argument i
// was illegal, +i = a numerical failure at step i).
//
// Every argument is checked here before the library sees it. An illegal
// BLAS argument stops the program with a message naming the routine; an
// illegal LAPACK argument is returned as the status -i without calling the
// library. Should an illegal argument still reach a library (a routine called
// directly, or a check the library makes deeper down), the error handlers
// defined with these wrappers name the routine and parameter and abort.

#include <string_view>

namespace platform::accelerate {

enum class Order : int { rowMajor = 101, columnMajor = 102 };
enum class Transpose : int { noTrans = 111, trans = 112 };

// c = alpha * op(a) * op(b) + beta * c; op(a) is m x k, op(b) k x n.
void sgemm(Order order, Transpose transA, Transpose transB, int m, int n, int k, float alpha, const float* a, int lda,
           const float* b, int ldb, float beta, float* c, int ldc);
void dgemm(Order order, Transpose transA, Transpose transB, int m, int n, int k, double alpha, const double* a,
           int lda, const double* b, int ldb, double beta, double* c, int ldc);

// y = alpha * op(a) * x + beta * y; a is m x n.
void sgemv(Order order, Transpose trans, int m, int n, float alpha, const float* a, int lda, const float* x, int incx,
           float beta, float* y, int incy);
void dgemv(Order order, Transpose trans, int m, int n, double alpha, const double* a, int lda, const double* x,
           int incx, double beta, double* y, int incy);

// LU factorisation with partial pivoting of the m x n column-major a; ipiv
// receives min(m, n) pivot rows, counted from 1.
int sgetrf(int m, int n, float* a, int lda, int* ipiv);
int dgetrf(int m, int n, double* a, int lda, int* ipiv);

// Inverse from the factors of getrf; lwork = -1 asks for the best workspace
// size, written to work[0].
int sgetri(int n, float* a, int lda, const int* ipiv, float* work, int lwork);
int dgetri(int n, double* a, int lda, const int* ipiv, double* work, int lwork);

// Eigenvalues (wr + i wi) and, for job 'V', left and right eigenvectors of
// the n x n column-major a (a is overwritten); lwork = -1 asks for the best
// workspace size, written to work[0]. A matrix holding NaN or an infinity
// gives the status -4 (the matrix argument) without a decomposition.
int dgeev(char jobvl, char jobvr, int n, double* a, int lda, double* wr, double* wi, double* vl, int ldvl,
          double* vr, int ldvr, double* work, int lwork);

// Prints "<routine>: parameter <parameter> had an illegal value" and aborts.
[[noreturn]] void illegalArgument(std::string_view routine, int parameter);

}  // namespace platform::accelerate
