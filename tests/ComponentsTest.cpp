#include <gtest/gtest.h>

#include "AnalysisTestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "analysis/Components.h"
#include "analysis/SyntheticData.h"

namespace {

ObservationTable Generated() {
  ObservationTable t{};
  GenerateObservations(t);
  return t;
}

// Columns 11 and 12 filled with values no computation produces, to see what it overwrites.
void MarkScoreColumns(ObservationTable& t) {
  for (int j = 1; j <= 20; ++j) {
    t[j][11] = 7.0 + j;
    t[j][12] = -9.0 - j;
  }
}

TEST(CrossProducts, StandardDataDiagonalIsPoint8AndMatrixSymmetric) {
  const ObservationTable t = Generated();
  Vector10 s;
  Matrix10 m;
  CentredCrossProducts(t, s, m);
  for (int i = 1; i <= 10; ++i) {
    EXPECT_NEAR(m[i][i], 0.8, 5e-7) << i;  // 20 observations x 0.2^2
    EXPECT_NEAR(s[i], 0.0, 1e-14) << i;
    for (int k = 1; k <= 10; ++k) EXPECT_EQ(m[i][k], m[k][i]);
  }
  EXPECT_NEAR(m[1][2], 0.662536, 5e-7);
}

// The generated columns have mean zero up to rounding, so the centred scores keep these values.
TEST(Components, StandardData) {
  ObservationTable t = Generated();
  MarkScoreColumns(t);
  Vector10 p;
  Matrix10 v;
  ComputeComponents(t, p, v);

  EXPECT_NEAR(p[1], 59.215758, 5e-7);
  EXPECT_NEAR(p[2], 10.080039, 5e-7);
  const double percent[10] = {59.22, 10.08, 8.84, 7.71, 3.93, 3.54, 2.89, 1.80, 1.39, 0.59};
  long double total = 0;
  for (int k = 1; k <= 10; ++k) {
    EXPECT_NEAR(p[k], percent[k - 1], 0.005) << k;
    total += p[k];
  }
  EXPECT_NEAR(static_cast<double>(total), 100.0, 1e-12);

  const double v1[10] = {0.3118, 0.3710, -0.3334, -0.2900, 0.3283,
                         0.2609, -0.3567, 0.2210, -0.3338, -0.3265};
  const double v2[10] = {-0.2528, -0.1549, -0.0581, -0.3039, 0.2049,
                         -0.3844, 0.0605,  0.7619,  0.0627,  0.1963};
  for (int i = 1; i <= 10; ++i) {
    EXPECT_NEAR(v[i][1], v1[i - 1], 5e-5) << i;
    EXPECT_NEAR(v[i][2], v2[i - 1], 5e-5) << i;
  }

  const double score1[20] = {-0.1574, -0.1442, -0.1934, -0.2123, -0.1687, -0.2088, -0.1262,
                             -0.2105, -0.3000, 0.1340,  0.1899,  0.2112,  0.1608,  0.2077,
                             0.1698,  0.1906,  0.2188,  0.1282,  0.1379,  -0.0275};
  const double score2[20] = {-0.0571, -0.0093, 0.0898,  0.0030,  0.0781,  0.1444,  0.0053,
                             -0.0176, -0.2332, -0.1465, -0.0397, 0.0611,  -0.0932, 0.1052,
                             0.1731,  -0.0755, 0.1915,  -0.2978, -0.1818, 0.3000};
  for (int j = 1; j <= 20; ++j) {
    EXPECT_NEAR(t[j][11], score1[j - 1], 5e-5) << j;
    EXPECT_NEAR(t[j][12], score2[j - 1], 5e-5) << j;
    EXPECT_LE(std::fabs(t[j][11]), 0.3);
    EXPECT_LE(std::fabs(t[j][12]), 0.3);
    EXPECT_EQ(t[j][13], 0.0);
  }
  EXPECT_EQ(t[9][11], -0.3);  // observation 9: largest absolute score of component 1
  EXPECT_EQ(t[20][12], 0.3);  // observation 20: of component 2
}

// Nothing is carried from one computation to the next, and the previous scores are never read.
TEST(Components, RepeatIsBitIdenticalWhateverColumns11And12Held) {
  ObservationTable t = Generated();
  Vector10 p1, p2;
  Matrix10 v1, v2;
  ComputeComponents(t, p1, v1);
  const ObservationTable first = t;
  MarkScoreColumns(t);
  p2 = p1;
  for (int k = 1; k <= 10; ++k) p2[k] = -1.0;
  v2[3][3] = 42.0;
  ComputeComponents(t, p2, v2);
  EXPECT_TRUE(BitIdentical(t, first));
  EXPECT_TRUE(BitIdentical(p1, p2));
  EXPECT_TRUE(BitIdentical(v1, v2));
}

// After an edit the column means are no longer zero. The scores are projections of the centred
// data, so each component's scores still sum to zero; projections of the raw values would all be
// shifted by the projection of the means.
TEST(Components, EditedTableScoresAreCentred) {
  ObservationTable t = Generated();
  Vector10 p0;
  Matrix10 v0;
  ComputeComponents(t, p0, v0);
  const ObservationTable before = t;

  t[5][3] = 0.45;
  t[12][8] = -0.6;
  Vector10 p;
  Matrix10 v;
  ComputeComponents(t, p, v);

  for (int k = 1; k <= 2; ++k) {
    const int column = 10 + k;
    long double sum = 0, meanProjection = 0;
    double largest = 0;
    int changed = 0;
    for (int j = 1; j <= 20; ++j) {
      sum += t[j][column];
      largest = std::max(largest, std::fabs(t[j][column]));
      changed += t[j][column] != before[j][column];
    }
    EXPECT_GE(changed, 19) << "component " << k;  // the extreme may stay at exactly 0.3
    EXPECT_NEAR(static_cast<double>(sum), 0.0, 1e-15) << "component " << k;
    EXPECT_NEAR(largest, 0.3, 6e-17);  // 0.3 up to one rounding
    // The centring does matter for this edit: the raw projections would not sum to zero.
    for (int i = 1; i <= 10; ++i) {
      long double mean = 0;
      for (int j = 1; j <= 20; ++j) mean += t[j][i];
      meanProjection += v[i][k] * (mean / 20);
    }
    EXPECT_GT(std::fabs(static_cast<double>(meanProjection)), 1e-3) << "component " << k;
  }
  EXPECT_NE(p[1], p0[1]);
  EXPECT_NE(p[2], p0[2]);
  EXPECT_NE(v[8][1], v0[8][1]);
  EXPECT_NE(v[3][2], v0[3][2]);
}

// Scaling the table by a power of two scales sums, products, eigenvalues and scores exactly and
// leaves percentages, eigenvectors and scaled scores as they were. Values beyond 2^500 take the
// build that checks every accumulation for overflow; it must agree bit for bit with the fast one.
TEST(Components, CheckedAndFastBuildsAgreeBitForBit) {
  ObservationTable t = Generated();
  t[5][3] = 0.45;  // means away from zero, so that the centring takes part
  ObservationTable scaled = t;
  for (int j = 1; j <= 20; ++j)
    for (int i = 1; i <= 10; ++i) scaled[j][i] = std::ldexp(t[j][i], 503);
  double largest = 0;
  for (int j = 1; j <= 20; ++j)
    for (int i = 1; i <= 10; ++i) largest = std::max(largest, std::fabs(scaled[j][i]));
  ASSERT_GT(largest, 0x1p500);

  Vector10 p1, p2;
  Matrix10 v1, v2;
  ComputeComponents(t, p1, v1);
  ComputeComponents(scaled, p2, v2);
  EXPECT_TRUE(BitIdentical(p1, p2));
  EXPECT_TRUE(BitIdentical(v1, v2));
  for (int j = 1; j <= 20; ++j) {
    EXPECT_EQ(scaled[j][11], t[j][11]) << j;
    EXPECT_EQ(scaled[j][12], t[j][12]) << j;
  }
}

TEST(ComponentsFailure, OverflowingCrossProductsLeaveBothScoreColumns) {
  ObservationTable t = Generated();
  t[7][2] = 1e200;
  MarkScoreColumns(t);
  const ObservationTable before = t;
  Vector10 p;
  Matrix10 v;
  EXPECT_EQ(ErrorOf([&] { ComputeComponents(t, p, v); }), "Floating point overflow");
  EXPECT_TRUE(BitIdentical(t, before));
}

// All values equal: the cross-product matrix is exactly zero, Jacobi returns at once with zero
// eigenvalues and the percentages divide by a zero total. The scores are not reached.
TEST(ComponentsFailure, ZeroTotalLeavesBothScoreColumns) {
  ObservationTable t{};
  MarkScoreColumns(t);
  const ObservationTable before = t;
  Vector10 p;
  Matrix10 v;
  EXPECT_EQ(ErrorOf([&] { ComputeComponents(t, p, v); }), "Floating point division by zero");
  EXPECT_TRUE(BitIdentical(t, before));
  for (int k = 1; k <= 10; ++k) EXPECT_EQ(p[k], 0.0);  // the eigenvalues, as Jacobi left them
}

// A constant column of 0.225 beside nine zero columns. Its running sum of squares, rounded after
// every addition, ends a little above S^2/20, so the centred cross-product keeps a positive
// rounding residue: the eigenvalue total is not zero and component 1 is this column. Its mean,
// 4.5 / 20, is exactly the stored value, so every centred value and every score is exactly 0 and
// the scaling of component 1 divides by zero. (The value was found by trying the constants
// 0.001, 0.002, ... until both conditions held.)
TEST(ComponentsFailure, ZeroScoresOfComponent1LeaveThemUnscaledAndColumn12Alone) {
  ObservationTable t{};
  for (int j = 1; j <= 20; ++j) t[j][1] = 0.225;
  MarkScoreColumns(t);
  Vector10 s;
  Matrix10 m;
  CentredCrossProducts(t, s, m);
  ASSERT_GT(m[1][1], 0.0);
  ASSERT_EQ(s[1] / 20, 0.225);

  Vector10 p;
  Matrix10 v;
  EXPECT_EQ(ErrorOf([&] { ComputeComponents(t, p, v); }), "Floating point division by zero");
  EXPECT_EQ(v[1][1], 1.0);  // the raw values would have scored 0.225 on this component
  EXPECT_EQ(p[1], 100.0);
  for (int j = 1; j <= 20; ++j) {
    EXPECT_EQ(t[j][11], 0.0) << j;
    EXPECT_EQ(t[j][12], -9.0 - j) << j;
  }
}

// Only variable 3 varies (0.05 j): component 1 is that variable and every other variable is zero,
// so each score of component 2 is exactly 0 and its scaling divides by zero, after component 1 has
// been scored and scaled.
TEST(ComponentsFailure, ZeroScoresOfComponent2AfterComponent1IsScaled) {
  ObservationTable t{};
  for (int j = 1; j <= 20; ++j) t[j][3] = 0.05 * j;
  MarkScoreColumns(t);
  Vector10 p;
  Matrix10 v;
  EXPECT_EQ(ErrorOf([&] { ComputeComponents(t, p, v); }), "Floating point division by zero");
  EXPECT_EQ(v[3][1], 1.0);
  EXPECT_EQ(p[1], 100.0);
  for (int j = 1; j <= 20; ++j) {
    EXPECT_NEAR(t[j][11], (j - 10.5) * 0.3 / 9.5, 1e-15) << j;  // centred and scaled to 0.3
    EXPECT_EQ(t[j][12], 0.0) << j;
  }
  EXPECT_EQ(t[1][11], -0.3);
}

}  // namespace
