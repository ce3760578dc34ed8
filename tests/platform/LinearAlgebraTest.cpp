#include <gtest/gtest.h>

#include <cblas.h>
#include <lapacke.h>

#include <csignal>
#include <cmath>
#include <vector>

#include "platform/accelerate/LinearAlgebra.h"

namespace {

using namespace platform::accelerate;

// The reference libraries end the whole process on an illegal argument
// (LAPACK with exit status 0); the stand-in answers first.
TEST(AccelerateLinearAlgebra, IllegalLapackArgumentsComeBackAsStatus) {
  std::vector<double> a(4, 1.0), work(4, 0.0), wr(2), wi(2), vl(4), vr(4);
  std::vector<int> pivots(2);
  EXPECT_EQ(dgetrf(0, 0, a.data(), 0, pivots.data()), -4);
  EXPECT_EQ(dgetrf(-1, 2, a.data(), 2, pivots.data()), -1);
  EXPECT_EQ(dgetri(2, a.data(), 1, pivots.data(), work.data(), 4), -3);
  EXPECT_EQ(dgetri(2, a.data(), 2, pivots.data(), work.data(), 1), -6);
  EXPECT_EQ(dgeev('V', 'X', 2, a.data(), 2, wr.data(), wi.data(), vl.data(), 2, vr.data(), 2, work.data(), 8), -2);
  EXPECT_EQ(dgeev('V', 'V', 0, a.data(), 0, wr.data(), wi.data(), vl.data(), 1, vr.data(), 1, work.data(), 1), -5);
  EXPECT_EQ(dgeev('V', 'V', 2, a.data(), 2, wr.data(), wi.data(), vl.data(), 2, vr.data(), 1, work.data(), 8), -11);
  EXPECT_EQ(dgeev('V', 'V', 2, a.data(), 2, wr.data(), wi.data(), vl.data(), 2, vr.data(), 2, work.data(), 7), -13);
  // The balancing step rejects a NaN, and an infinity too, as an argument.
  for (std::vector<double> m : {std::vector<double>{1, 2, NAN, 4}, std::vector<double>{0, INFINITY, INFINITY, 0}})
    EXPECT_EQ(dgeev('V', 'V', 2, m.data(), 2, wr.data(), wi.data(), vl.data(), 2, vr.data(), 2, work.data(), 8), -4);
  std::vector<float> f(4, 1.0f);
  EXPECT_EQ(sgetrf(2, 2, f.data(), 1, pivots.data()), -4);

  // Legal arguments reach the library: a zero pivot is reported as +2.
  std::vector<double> singular{1, 2, 2, 4};
  EXPECT_EQ(dgetrf(2, 2, singular.data(), 2, pivots.data()), 2);
  EXPECT_EQ(pivots[0], 2);
}

TEST(AccelerateLinearAlgebraDeathTest, IllegalBlasArgumentsStopWithTheRoutineName) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  std::vector<double> a(4, 1.0), b(4, 1.0), c(4, 0.0);
  EXPECT_DEATH(dgemm(Order::rowMajor, Transpose::noTrans, Transpose::noTrans, 2, 2, 2, 1, a.data(), 1, b.data(), 2,
                     0, c.data(), 2),
               "^cblas_dgemm: parameter 9 had an illegal value\n");
  EXPECT_DEATH(dgemv(Order::rowMajor, Transpose::trans, 2, 0, 1, a.data(), 0, b.data(), 1, 0, c.data(), 1),
               "^cblas_dgemv: parameter 7 had an illegal value\n");
  std::vector<float> x(2, 1.0f), y(2);
  EXPECT_DEATH(sgemv(Order::rowMajor, Transpose::noTrans, 2, 1, 1, x.data(), 1, x.data(), 0, 0, y.data(), 1),
               "^cblas_sgemv: parameter 9");
}

// An illegal argument that reaches the libraries themselves ends in the
// project's handlers, whatever the link order: the stock LAPACK handler exits
// with status 0 and the stock BLAS one lets the routine carry on.
TEST(AccelerateLinearAlgebraDeathTest, IllegalArgumentsInsideTheLibrariesAbort) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  std::vector<double> a(4, 1.0), b(4, 1.0), c(4, 0.0);
  std::vector<int> pivots(2);
  const auto aborted = testing::KilledBySignal(SIGABRT);
  EXPECT_EXIT(LAPACKE_dgetrf_work(LAPACK_COL_MAJOR, 2, 2, a.data(), 1, pivots.data()), aborted,
              "^DGETRF: parameter 4 had an illegal value\n");
  // The Fortran BLAS behind the C interface checks the sizes...
  EXPECT_EXIT(cblas_dgemm(CblasColMajor, CblasNoTrans, CblasNoTrans, 2, 2, 2, 1, a.data(), 1, b.data(), 2, 0,
                           c.data(), 2),
              aborted, "^DGEMM: parameter 8 had an illegal value\n");
  // ...and the C interface its own flags: the reference one names its C
  // entry point, OpenBLAS the Fortran routine, each with a number of its own.
  EXPECT_EXIT(cblas_dgemm(CblasRowMajor, static_cast<CBLAS_TRANSPOSE>(0), CblasNoTrans, 2, 2, 2, 1, a.data(), 2,
                           b.data(), 2, 0, c.data(), 2),
              aborted, "^(cblas_dgemm|DGEMM): parameter [0-9]+ had an illegal value\n");
}

}  // namespace
