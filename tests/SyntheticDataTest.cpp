#include <gtest/gtest.h>

#include <cmath>

#include "analysis/SyntheticData.h"

namespace {

TEST(Generator, FirstDrawsAfterSeedingAndExactMultiples) {
  RandomSeed = 54376543;
  EXPECT_EQ(NextUniform(), 0.6181272184476256);
  EXPECT_EQ(NextUniform(), 0.4037073433864862);
  EXPECT_EQ(NextUniform(), 0.4189838473685086);
  // Every draw is the new state times 2^-32, exactly.
  const uint32_t before = RandomSeed;
  const double u = NextUniform();
  EXPECT_EQ(RandomSeed, before * 134775813u + 1u);
  EXPECT_EQ(std::ldexp(u, 32), static_cast<double>(RandomSeed));
}

TEST(Generator, WrapsModulo2To32) {
  RandomSeed = 0xFFFFFFFFu;
  const double u = NextUniform();
  EXPECT_EQ(RandomSeed, static_cast<uint32_t>(0xFFFFFFFFull * 134775813ull + 1ull));
  EXPECT_LT(u, 1.0);
  EXPECT_GE(u, 0.0);
}

// The coefficient c of each variable, recomputed from the draw sequence: 95 draws a variable.
TEST(Generator, CoefficientsOfTheTenVariables) {
  const double expected[10] = {1.118127, 1.181080, -1.022699, -0.552397, 0.764002,
                               0.516490, -1.415198, 0.685392, -1.083898, -1.263311};
  RandomSeed = 54376543;
  for (int i = 0; i < 10; ++i) {
    double c = NextUniform() + 0.5;
    if (NextUniform() > 0.5) c = -c;
    EXPECT_NEAR(c, expected[i], 5e-7) << "variable " << i + 1;
    for (int draw = 0; draw < 93; ++draw) NextUniform();
  }
  EXPECT_EQ(RandomSeed, [] {  // 950 draws in all
    uint32_t s = 54376543;
    for (int k = 0; k < 950; ++k) s = s * 134775813u + 1u;
    return s;
  }());
}

TEST(GeneratedTable, CellsAfterStandardisation) {
  ObservationTable t{};
  GenerateObservations(t);
  EXPECT_NEAR(t[1][1], -0.144774, 5e-7);
  EXPECT_NEAR(t[1][10], 0.215160, 5e-7);
  EXPECT_NEAR(t[2][9], 0.205600, 5e-7);
  EXPECT_NEAR(t[10][2], 0.295156, 5e-7);
  EXPECT_NEAR(t[20][5], 0.279842, 5e-7);
  EXPECT_NEAR(t[20][6], -0.374715, 5e-7);
}

TEST(GeneratedTable, EachVariableHasMeanZeroAndPopulationDeviationPoint2) {
  ObservationTable t{};
  GenerateObservations(t);
  for (int i = 1; i <= 10; ++i) {
    long double sum = 0, sumsq = 0;
    for (int j = 1; j <= 20; ++j) {
      sum += t[j][i];
      sumsq += static_cast<long double>(t[j][i]) * t[j][i];
    }
    const long double mean = sum / 20;
    EXPECT_NEAR(static_cast<double>(mean), 0.0, 1e-15) << "variable " << i;
    EXPECT_NEAR(static_cast<double>(std::sqrt(sumsq / 20 - mean * mean)), 0.2, 1e-14);
  }
}

// The values before standardisation, recomputed from the generator's draws.
TEST(GeneratedTable, RawCellsBeforeStandardisation) {
  RandomSeed = 54376543;
  NextUniform();
  NextUniform();  // c of variable 1 and its sign draw
  const double u1 = NextUniform(), u2 = NextUniform(), u3 = NextUniform();
  EXPECT_NEAR((u1 + u2) + u3, 1.706301, 5e-7);  // cell (1, 1)

  RandomSeed = 54376543;
  for (int k = 0; k < 6 * 95; ++k) NextUniform();  // variables 1..6
  double c = NextUniform() + 0.5;
  if (NextUniform() > 0.5) c = -c;
  for (int k = 0; k < 27; ++k) NextUniform();  // observations 1..9
  const double a1 = NextUniform(), a2 = NextUniform(), a3 = NextUniform();
  const double b1 = NextUniform(), b2 = NextUniform(), b3 = NextUniform();
  EXPECT_NEAR(static_cast<double>(((static_cast<long double>(b1) + b2) + b3) +
                                  ((static_cast<long double>(a1) + a2) + a3) * c),
              -1.206158, 5e-7);  // cell (10, 7)
}

TEST(GeneratedTable, RerunRestoresEditsAndLeavesOtherColumnsAlone) {
  ObservationTable t{};
  GenerateObservations(t);
  const ObservationTable first = t;
  t[3][4] = 0.42;
  t[5][11] = 0.25;
  t[6][12] = -0.125;
  GenerateObservations(t);
  EXPECT_EQ(t[3][4], first[3][4]);
  EXPECT_EQ(t[5][11], 0.25);
  EXPECT_EQ(t[6][12], -0.125);
  for (int j = 1; j <= 20; ++j) EXPECT_EQ(t[j][13], 0.0);
  for (int j = 1; j <= 20; ++j)
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(t[j][i], first[j][i]);
}

}  // namespace
