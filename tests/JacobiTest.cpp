#include <gtest/gtest.h>

#include "AnalysisTestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "analysis/Components.h"
#include "analysis/Jacobi.h"
#include "analysis/SyntheticData.h"

namespace {

// Every cell a distinct value, so that a stray write anywhere shows.
Matrix10 Marked(double base) {
  Matrix10 m;
  for (int r = 1; r <= 10; ++r)
    for (int c = 1; c <= 10; ++c) m[r][c] = base + 10 * r + c;
  return m;
}

Vector10 Marked1(double base) {
  Vector10 v;
  for (int i = 1; i <= 10; ++i) v[i] = base + i;
  return v;
}

// Nothing of an order-n call may reach the cells outside the leading n x n block.
void ExpectOutsideUntouched(const Matrix10& m, const Matrix10& before, int n) {
  for (int r = 1; r <= 10; ++r)
    for (int c = 1; c <= 10; ++c)
      if (r > n || c > n) {
        EXPECT_EQ(m[r][c], before[r][c]) << r << "," << c;
      }
}

struct Result {
  Matrix10 A;
  Vector10 d = Marked1(500);
  Matrix10 V = Marked(1000);
  int nrot = -1;
};

Result Decompose(const Matrix10& a, int n) {
  Result r;
  r.A = a;
  Jacobi(r.A, n, r.d, r.V, r.nrot);
  return r;
}

Matrix10 StandardCrossProducts() {
  ObservationTable t{};
  GenerateObservations(t);
  Vector10 s;
  Matrix10 m;
  CentredCrossProducts(t, s, m);
  return m;
}

TEST(Jacobi, OrderTwoOneRotationThenSortedAndTheInputDiagonalKept) {
  Matrix10 a = Marked(0);
  a[1][1] = 2;
  a[1][2] = 1;
  a[2][1] = 1;
  a[2][2] = 2;
  const Result r = Decompose(a, 2);
  const double h = 1 / std::sqrt(2.0);

  EXPECT_EQ(r.nrot, 1);
  // Before the sort d was (1, 3): exact, since the one rotation moves each entry by t A[1][2] = 1.
  EXPECT_EQ(r.d[1], 3.0);
  EXPECT_EQ(r.d[2], 1.0);
  EXPECT_DOUBLE_EQ(r.V[1][1], h);
  EXPECT_DOUBLE_EQ(r.V[2][1], h);
  EXPECT_DOUBLE_EQ(r.V[1][2], h);
  EXPECT_DOUBLE_EQ(r.V[2][2], -h);

  EXPECT_EQ(r.A[1][2], 0.0);  // annihilated
  EXPECT_EQ(r.A[1][1], 2.0);  // the diagonal is read, never written
  EXPECT_EQ(r.A[2][2], 2.0);
  EXPECT_EQ(r.A[2][1], 1.0);  // the lower triangle is never written
  ExpectOutsideUntouched(r.A, a, 2);
  ExpectOutsideUntouched(r.V, Marked(1000), 2);
  for (int i = 3; i <= 10; ++i) EXPECT_EQ(r.d[i], 500.0 + i);
}

TEST(Jacobi, DiagonalInputIsOnlySortedWithThePermutedIdentity) {
  Matrix10 a{};
  const double diagonal[4] = {1, 4, -2, 3};
  for (int p = 1; p <= 4; ++p) a[p][p] = diagonal[p - 1];
  const Result r = Decompose(a, 4);

  EXPECT_EQ(r.nrot, 0);
  const double sorted[4] = {4, 3, 1, -2};
  const int from[4] = {2, 4, 1, 3};  // the input index each position comes from
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(r.d[k], sorted[k - 1]);
    for (int j = 1; j <= 4; ++j) EXPECT_EQ(r.V[j][k], j == from[k - 1] ? 1.0 : 0.0);
  }
}

// Among equal largest values the highest index wins, and equal values are still exchanged.
TEST(Jacobi, TiesTakeTheHighestIndexAndAreExchanged) {
  Matrix10 a{};
  a[1][1] = a[2][2] = 2;
  Result r = Decompose(a, 2);
  EXPECT_EQ(r.d[1], 2.0);
  EXPECT_EQ(r.d[2], 2.0);
  EXPECT_EQ(r.V[1][1], 0.0);
  EXPECT_EQ(r.V[1][2], 1.0);
  EXPECT_EQ(r.V[2][1], 1.0);
  EXPECT_EQ(r.V[2][2], 0.0);

  // Three equal values: position 1 takes index 3, then position 2 takes index 3 again (which now
  // holds the old column 1), so the columns come back as e3, e1, e2.
  a[3][3] = 2;
  r = Decompose(a, 3);
  const int from[3] = {3, 1, 2};
  for (int k = 1; k <= 3; ++k)
    for (int j = 1; j <= 3; ++j) EXPECT_EQ(r.V[j][k], j == from[k - 1] ? 1.0 : 0.0) << j << k;
}

TEST(Jacobi, StrictLowerTriangleIsNeitherReadNorWritten) {
  const Matrix10 symmetric = StandardCrossProducts();
  Matrix10 scrambled = symmetric;
  for (int r = 2; r <= 10; ++r)
    for (int c = 1; c < r; ++c) scrambled[r][c] = -1e6 * r + c;

  const Result plain = Decompose(symmetric, 10);
  const Result other = Decompose(scrambled, 10);
  EXPECT_EQ(other.nrot, plain.nrot);
  EXPECT_TRUE(BitIdentical(other.d, plain.d));
  EXPECT_TRUE(BitIdentical(other.V, plain.V));
  for (int r = 1; r <= 10; ++r) {
    EXPECT_EQ(other.A[r][r], symmetric[r][r]);  // diagonal as it came in
    for (int c = 1; c <= 10; ++c) {
      if (c < r) {
        EXPECT_EQ(other.A[r][c], scrambled[r][c]);
      } else if (c > r) {
        EXPECT_EQ(other.A[r][c], 0.0);  // the upper triangle ends exactly zero
      }
    }
  }
}

TEST(Jacobi, OrderOneAndEmptyOrders) {
  Matrix10 a = Marked(0);
  a[1][1] = -7.25;
  Result r = Decompose(a, 1);
  EXPECT_EQ(r.nrot, 0);
  EXPECT_EQ(r.d[1], -7.25);
  EXPECT_EQ(r.V[1][1], 1.0);
  ExpectOutsideUntouched(r.V, Marked(1000), 1);
  for (int i = 2; i <= 10; ++i) EXPECT_EQ(r.d[i], 500.0 + i);

  for (int n : {0, -3}) {
    r = Decompose(a, n);
    EXPECT_EQ(r.nrot, 0) << n;
    EXPECT_TRUE(BitIdentical(r.d, Marked1(500))) << n;
    EXPECT_TRUE(BitIdentical(r.V, Marked(1000))) << n;
    EXPECT_TRUE(BitIdentical(r.A, a)) << n;
  }
}

TEST(Jacobi, OrderAboveTenIsARangeError) {
  Matrix10 a = StandardCrossProducts();
  Vector10 d;
  Matrix10 V;
  int nrot = 0;
  EXPECT_EQ(ErrorOf([&] { Jacobi(a, 11, d, V, nrot); }), "Range check error");
}

// The count of rotations is a sensitive check of the precision rules: the negligibility sums must
// be compared in extended precision, unrounded (rounded to double they give 222 rotations).
TEST(Jacobi, StandardCrossProductsConvergeAfter229Rotations) {
  const Matrix10 m = StandardCrossProducts();
  const Result r = Decompose(m, 10);
  EXPECT_EQ(r.nrot, 229);
  for (int p = 1; p <= 10; ++p) {
    EXPECT_EQ(r.A[p][p], m[p][p]);
    for (int q = p + 1; q <= 10; ++q) EXPECT_EQ(r.A[p][q], 0.0);
  }
  for (int k = 1; k < 10; ++k) EXPECT_GT(r.d[k], r.d[k + 1]);
  // The trace is kept: the eigenvalues sum to 10 x 0.8.
  long double total = 0;
  for (int k = 1; k <= 10; ++k) total += r.d[k];
  EXPECT_NEAR(static_cast<double>(total), 8.0, 8e-12);
}

// Scaling a matrix by a power of two scales every quantity of the iteration exactly, so the runs
// must agree bit for bit. Entries beyond 2^1000 take the build with an overflow check on every
// stored value and the plain order of steps; small ones the faster build, which reorders work on
// different elements and must not differ.
void ExpectSameUpToScale(const Matrix10& m, int n, int scale, const std::string& what) {
  Matrix10 scaled = m;
  for (int r = 1; r <= n; ++r)
    for (int c = r; c <= n; ++c) scaled[r][c] = std::ldexp(m[r][c], scale);
  const Result small = Decompose(m, n);
  const Result other = Decompose(scaled, n);
  EXPECT_EQ(other.nrot, small.nrot) << what;
  EXPECT_TRUE(BitIdentical(other.V, small.V)) << what;
  for (int k = 1; k <= n; ++k) EXPECT_EQ(other.d[k], std::ldexp(small.d[k], scale)) << what;
  for (int r = 1; r <= n; ++r)
    for (int c = r + 1; c <= n; ++c) EXPECT_EQ(other.A[r][c], 0.0) << what;
}

TEST(Jacobi, CheckedAndFastBuildsAgreeBitForBit) {
  const Matrix10 standard = StandardCrossProducts();
  EXPECT_EQ(Decompose(standard, 10).nrot, 229);
  for (int scale : {1010, 20, -30}) ExpectSameUpToScale(standard, 10, scale, "standard");

  // Random matrices, some with entries spread over many orders of magnitude, so that the
  // threshold keeps elements and the negligibility test drops them.
  std::mt19937_64 rng(4711);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  for (int n = 1; n <= 10; ++n) {
    for (int trial = 0; trial < 12; ++trial) {
      Matrix10 m{};
      double largest = 0;
      for (int r = 1; r <= n; ++r) {
        for (int c = r; c <= n; ++c) {
          m[r][c] = std::ldexp(u(rng), trial % 3 == 0 ? -3 * (r + c) : 0);
          largest = std::max(largest, std::fabs(m[r][c]));
        }
      }
      const int scale = 1012 - std::ilogb(largest);  // the largest entry lands beyond 2^1000
      ExpectSameUpToScale(m, n, scale, "n=" + std::to_string(n) + " #" + std::to_string(trial));
    }
  }
}

TEST(Jacobi, OverflowAndNaNAreReported) {
  Matrix10 a{};
  a[1][1] = 1;
  a[2][2] = 2;
  a[3][3] = 3;
  a[1][2] = a[1][3] = a[2][3] = 1e308;  // the off-diagonal sum overflows
  Vector10 d;
  Matrix10 V;
  int nrot = 0;
  EXPECT_EQ(ErrorOf([&] { Jacobi(a, 3, d, V, nrot); }), "Floating point overflow");
  a[1][2] = a[1][3] = a[2][3] = 0.5;
  a[2][3] = std::nan("");
  EXPECT_EQ(ErrorOf([&] { Jacobi(a, 3, d, V, nrot); }), "Invalid floating point operation");
}

TEST(Jacobi, RepeatedRunIsBitIdentical) {
  const Matrix10 m = StandardCrossProducts();
  const Result first = Decompose(m, 10);
  const Result second = Decompose(m, 10);
  EXPECT_EQ(first.nrot, second.nrot);
  EXPECT_TRUE(BitIdentical(first.d, second.d));
  EXPECT_TRUE(BitIdentical(first.V, second.V));
  EXPECT_TRUE(BitIdentical(first.A, second.A));
}

}  // namespace
