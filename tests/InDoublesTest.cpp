// A rotation's pair worked out in doubles against the x87 unit: whenever it accepts a pair, both
// results must be the unit's bits. Short operands make exact results that sit on the midpoint
// between two doubles, where the unit's rounding to 64 bits and then to double gives another
// double than rounding the exact value once: there a wrong bound would show at once.
#include <gtest/gtest.h>

#include "AnalysisTestSupport.h"
#include "analysis/Extended.h"
#include "analysis/InDoubles.h"

#if PCA_HAS_X87

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>

namespace {

// The x87 unit's pair, each step rounded to 64 bits, as the Jacobi sweeps compute it.
void X87Pair(double& x, double& y, double s, double tau) {
  const long double g = x, h = y;
  x = static_cast<double>(g - s * (g * tau + h));
  y = static_cast<double>(h + s * (g - h * tau));
}

// The exact x, to about 106 bits, rounded once to double: where it differs from the unit's x,
// the double rounding mattered.
double OnceRounded(double g, double h, double s, double tau) {
  const __float128 exact = g - static_cast<__float128>(s) * (static_cast<__float128>(g) * tau + h);
  return static_cast<double>(exact);
}

class Operands {
 public:
  explicit Operands(uint64_t seed) : random_(seed) {}

  // A double of `bits` significant bits (1..53) at 2^exponent, either sign.
  double Value(int bits, int exponent) {
    const uint64_t significand = (random_() >> (64 - bits)) | (uint64_t{1} << (bits - 1));
    const double x = std::ldexp(static_cast<double>(significand), exponent - bits + 1);
    return random_() & 1 ? -x : x;
  }
  int Below(int n) { return static_cast<int>(random_() % static_cast<uint64_t>(n)); }

 private:
  std::mt19937_64 random_;
};

TEST(InDoubles, RotationAcceptedPairsAreTheX87UnitsBits) {
  Operands gen(11);
  long accepted = 0, doubleRounded = 0, rejected = 0;
  const long pairs = DifferentialOperands();
  for (long i = 0; i < pairs; ++i) {
    // Full or short significands; s and tau as the sweeps make them, from near 1 down to the
    // tiny angles of the last sweeps, where x and y barely move.
    const int bits = gen.Below(2) ? 53 : 1 + gen.Below(24);
    const int e = gen.Below(40) - 20;
    const double g = gen.Value(bits, e), h = gen.Value(bits, e - gen.Below(70));
    const int angle = gen.Below(4) ? -gen.Below(4) : -gen.Below(64);
    const double s = gen.Value(bits, angle - 1);
    const double tau = gen.Value(bits, angle - 2);
    double x = g, y = h, x87x = g, x87y = h;
    X87Pair(x87x, x87y, s, tau);
    doubleRounded += x87x != OnceRounded(g, h, s, tau);
    if (!in_doubles::Rotate(x, y, s, tau)) {
      ++rejected;
      ASSERT_TRUE(x == g && y == h);  // left as it was, for the caller's steps
      continue;
    }
    ++accepted;
    ASSERT_EQ(std::bit_cast<uint64_t>(x), std::bit_cast<uint64_t>(x87x))
        << std::hexfloat << "x of g " << g << " h " << h << " s " << s << " tau " << tau;
    ASSERT_EQ(std::bit_cast<uint64_t>(y), std::bit_cast<uint64_t>(x87y))
        << std::hexfloat << "y of g " << g << " h " << h << " s " << s << " tau " << tau;
  }
  std::printf("[ differential ] rotation  %9ld pairs, %8ld double-rounded x, %ld left to steps\n",
              pairs, doubleRounded, rejected);
  EXPECT_GT(doubleRounded, pairs / 4000);  // the hard cases are there, and were all refused
  EXPECT_LT(rejected, pairs / 10);         // and the easy ones taken
}

// Sums, where the rounding to 64 bits and then to double differs from one rounding whenever the
// exact sum lies just off a midpoint; and the test of a term lost against another, on both
// sides of half a unit in the 64th place.
TEST(InDoubles, SumsAndLostTermsAreTheX87UnitsAnswers) {
  Operands gen(12);
  long accepted = 0, doubleRounded = 0;
  const long pairs = DifferentialOperands();
  for (long i = 0; i < pairs; ++i) {
    const int bits = gen.Below(2) ? 53 : 1 + gen.Below(53);
    const int e = gen.Below(60) - 30;
    const double a = gen.Value(bits, e);
    // A partner anywhere below, or half a unit of a's double with a tail past the 64th bit.
    const double b = gen.Below(4) ? gen.Value(gen.Below(2) ? 53 : bits, e - gen.Below(75))
                                  : std::ldexp(1 + gen.Value(20, -12 - gen.Below(20)), e - 53);
    const double x87 = static_cast<double>(static_cast<long double>(a) + b);
    doubleRounded += x87 != a + b;
    double sum = 0.0;
    if (in_doubles::Sum(a, b, sum)) {
      ++accepted;
      ASSERT_EQ(std::bit_cast<uint64_t>(sum), std::bit_cast<uint64_t>(x87))
          << std::hexfloat << a << " + " << b;
    }

    // g at, just under and just over half a unit in the 64th place of x, and anywhere.
    const double x = gen.Below(8) ? a : 0.0;
    const double unit = std::ldexp(1.0, std::ilogb(a) - 64);
    const double near = unit * (0.5 + 0.5 * gen.Below(3)) * (1 + (gen.Below(3) - 1) * 0x1p-52);
    const double g = gen.Below(4) ? near : std::fabs(b);
    bool negligible = false;
    if (in_doubles::Negligible(x, g, negligible)) {
      const long double magnitude = std::fabs(static_cast<long double>(x));
      ASSERT_EQ(negligible, magnitude + g == magnitude) << std::hexfloat << x << ", " << g;
    }
  }
  std::printf("[ differential ] sum      %9ld pairs, %8ld double-rounded, %ld left to steps\n",
              pairs, doubleRounded, pairs - accepted);
  EXPECT_GT(doubleRounded, pairs / 10);     // a quarter are built next to a midpoint
  EXPECT_LT(pairs - accepted, pairs / 2);  // those are refused, the rest mostly taken
}

// The sums of products of the cross-product matrix, x y + m, and of the scores, v (x - mean) + sc,
// each step rounded to 64 bits and the result to double.
TEST(InDoubles, ProductSumsAreTheX87UnitsBits) {
  Operands gen(14);
  long refused = 0, doubleRounded = 0;
  const long cases = DifferentialOperands() / 2;
  for (long i = 0; i < cases; ++i) {
    const int bits = gen.Below(2) ? 53 : 1 + gen.Below(30);
    const int e = gen.Below(20) - 10;
    const double a = gen.Value(bits, e), b = gen.Value(bits, e - gen.Below(8));
    const int cBits = gen.Below(2) ? 53 : bits;
    const double c = gen.Below(8) ? gen.Value(cBits, 2 * e - gen.Below(70) + 3) : 0.0;
    const double mean = gen.Below(2) ? gen.Value(bits, e - gen.Below(4)) : 0.0;
    const bool score = gen.Below(2);
    const long double x87 = score ? a * (static_cast<long double>(b) - mean) + c
                                  : static_cast<long double>(a) * b + c;
    const double exactOnce = static_cast<double>(
        score ? a * (static_cast<__float128>(b) - mean) + c : static_cast<__float128>(a) * b + c);
    doubleRounded += static_cast<double>(x87) != exactOnce;
    const in_doubles::Pair factor =
        score ? in_doubles::ExactSum(b, -mean) : in_doubles::Pair{b, 0.0};
    double out = 0.0;
    if (!in_doubles::ProductSum(a, factor, c, score ? 2 : 1, out)) {
      ++refused;
      continue;
    }
    ASSERT_EQ(std::bit_cast<uint64_t>(out), std::bit_cast<uint64_t>(static_cast<double>(x87)))
        << std::hexfloat << a << " " << b << " " << mean << " " << c << " " << score;
  }
  std::printf("[ differential ] product-sum %7ld cases, %6ld double-rounded, %ld left to steps\n",
              cases, doubleRounded, refused);
  EXPECT_GT(doubleRounded, cases / 10000);
  EXPECT_LT(refused, cases / 10);
}

// A rotation's numbers as the sweeps compute them in the extended type, every step rounded to 64
// bits and each stored value to double.
struct Numbers {
  double s, tau, change;
};
Numbers X87Rotation(double apq, double h, bool lost) {
  double t;
  if (lost) {
    t = static_cast<double>(static_cast<long double>(apq) / h);
  } else {
    const double theta = static_cast<double>(0.5L * h / apq);
    const long double sign = theta < 0 ? -1 : 1;
    const long double root = std::sqrt(static_cast<long double>(theta) * theta + 1);
    t = static_cast<double>(sign / (std::fabs(static_cast<long double>(theta)) + root));
  }
  const double c = static_cast<double>(1 / std::sqrt(static_cast<long double>(t) * t + 1));
  const double s = static_cast<double>(static_cast<long double>(t) * c);
  return {s, static_cast<double>(s / (1 + static_cast<long double>(c))),
          static_cast<double>(static_cast<long double>(t) * apq)};
}

TEST(InDoubles, RotationNumbersAreTheX87UnitsBits) {
  Operands gen(13);
  long refused = 0;
  const long cases = DifferentialOperands() / 4;
  for (long i = 0; i < cases; ++i) {
    const int bits = gen.Below(2) ? 53 : 1 + gen.Below(30);
    const double apq = gen.Value(bits, gen.Below(40) - 20);
    const double h = gen.Value(gen.Below(2) ? 53 : bits, std::ilogb(apq) + gen.Below(160) - 80);
    const bool lost = gen.Below(4) == 0;
    in_doubles::RotationNumbers numbers{};
    if (!in_doubles::Rotation(apq, h, lost, numbers)) {
      ++refused;
      continue;
    }
    const Numbers x87 = X87Rotation(apq, h, lost);
    ASSERT_EQ(std::bit_cast<uint64_t>(numbers.s), std::bit_cast<uint64_t>(x87.s))
        << std::hexfloat << apq << " " << h << " " << lost;
    ASSERT_EQ(std::bit_cast<uint64_t>(numbers.tau), std::bit_cast<uint64_t>(x87.tau))
        << std::hexfloat << apq << " " << h << " " << lost;
    ASSERT_EQ(std::bit_cast<uint64_t>(numbers.change), std::bit_cast<uint64_t>(x87.change))
        << std::hexfloat << apq << " " << h << " " << lost;
  }
  std::printf("[ differential ] rotation numbers %7ld cases, %ld left to steps\n", cases, refused);
  EXPECT_LT(refused, cases / 10);
}

// Values outside the range where the splitting and the error terms are exact, and results of
// zero from other operands (whose sign the steps must settle), are left to the steps.
TEST(InDoubles, RotationRefusesWhatItCannotSettle) {
  const double cases[][4] = {{0.0, 0.0, 0.5, 0.25},
                             {-0.0, 0.0, 0.5, 0.25},
                             {0x1p460, 1.0, 0.5, 0.25},
                             {1.0, 0x1p-1000, 0x1p-30, 0x1p-31},
                             {1.0, 1.0, 0.5, std::nan("")},
                             {1.0, 1.0, std::numeric_limits<double>::infinity(), 0.25}};
  for (const auto& c : cases) {
    double x = c[0], y = c[1];
    const bool accepted = in_doubles::Rotate(x, y, c[2], c[3]);
    if (!accepted) {
      EXPECT_TRUE(std::bit_cast<uint64_t>(x) == std::bit_cast<uint64_t>(c[0]) &&
                  std::bit_cast<uint64_t>(y) == std::bit_cast<uint64_t>(c[1]));
      continue;
    }
    double x87x = c[0], x87y = c[1];
    X87Pair(x87x, x87y, c[2], c[3]);
    EXPECT_EQ(std::bit_cast<uint64_t>(x), std::bit_cast<uint64_t>(x87x));
    EXPECT_EQ(std::bit_cast<uint64_t>(y), std::bit_cast<uint64_t>(x87y));
  }
  double x = 0x1p460, y = 1.0;
  EXPECT_FALSE(in_doubles::Rotate(x, y, 0.5, 0.25));
  // Pairs of zeros are exact in doubles, with the unit's signs.
  for (const double g : {0.0, -0.0})
    for (const double h : {0.0, -0.0})
      for (const double s : {0.5, -0.5, 0.0, -0.0})
        for (const double tau : {0.25, -0.25, 0.0, -0.0}) {
          double gx = g, hy = h, x87x = g, x87y = h;
          ASSERT_TRUE(in_doubles::Rotate(gx, hy, s, tau));
          X87Pair(x87x, x87y, s, tau);
          EXPECT_EQ(std::bit_cast<uint64_t>(gx), std::bit_cast<uint64_t>(x87x)) << g << h << s;
          EXPECT_EQ(std::bit_cast<uint64_t>(hy), std::bit_cast<uint64_t>(x87y)) << g << h << tau;
        }
}

}  // namespace

#endif  // PCA_HAS_X87
