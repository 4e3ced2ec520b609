#include <gtest/gtest.h>

#include "AnalysisTestSupport.h"

#include <cmath>
#include <limits>

#include "analysis/Guarded.h"
#include "analysis/ObservationTable.h"

namespace {

using namespace guarded;

// Runs f and returns the message of the error it raises ("" when it raises none).
template <typename F>
std::string ErrorOf(F f) {
  try {
    f();
  } catch (const ArithmeticError& e) {
    return e.what();
  }
  return "";
}

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(GuardedIntegers, OverflowIsIntegerOverflowAndTheEdgesPass) {
  EXPECT_EQ(Add(kMax - 1, 1), kMax);
  EXPECT_EQ(Sub(kMin + 1, 1), kMin);
  EXPECT_EQ(Mul(46340, 46340), 2147395600);
  EXPECT_EQ(ErrorOf([] { Add(kMax, 1); }), "Integer overflow");
  EXPECT_EQ(ErrorOf([] { Sub(kMin, 1); }), "Integer overflow");
  EXPECT_EQ(ErrorOf([] { Mul(65536, 32768); }), "Integer overflow");
  EXPECT_EQ(ErrorOf([] { Mul(kMin, -1); }), "Integer overflow");
  EXPECT_EQ(Narrow(kMin), kMin);
  EXPECT_EQ(ErrorOf([] { Narrow(int64_t{kMax} + 1); }), "Range check error");
}

TEST(GuardedArrays, OneBasedAndEveryIndexChecked) {
  ObservationTable t{};
  t[1][1] = 1.5;
  t[20][13] = 2.5;
  EXPECT_EQ(t[1][1], 1.5);
  EXPECT_EQ(t[20][13], 2.5);
  EXPECT_EQ(ErrorOf([&] { t[0][1] = 1; }), "Range check error");
  EXPECT_EQ(ErrorOf([&] { t[21][1] = 1; }), "Range check error");
  EXPECT_EQ(ErrorOf([&] { t[1][14] = 1; }), "Range check error");
  EXPECT_EQ(ErrorOf([&] { (void)t[1][0]; }), "Range check error");
}

// The guarded operations in each extended type the build has.
template <typename Real>
class GuardedReals : public ::testing::Test {};
#if PCA_HAS_X87
using ExtendedTypes = ::testing::Types<long double, SoftExtended>;
#else
using ExtendedTypes = ::testing::Types<SoftExtended>;
#endif
TYPED_TEST_SUITE(GuardedReals, ExtendedTypes);

TYPED_TEST(GuardedReals, FaultsAndTheirMessages) {
  using R = TypeParam;
  EXPECT_EQ(ErrorOf([] { Quotient(R(1), R(0)); }), "Floating point division by zero");
  EXPECT_EQ(ErrorOf([] { Quotient(R(-3), -R(0)); }), "Floating point division by zero");
  EXPECT_EQ(ErrorOf([] { Quotient(R(0), R(0)); }), "Invalid floating point operation");
  EXPECT_EQ(ErrorOf([] { Quotient(R(std::nan("")), R(0)); }), "Invalid floating point operation");
  EXPECT_EQ(ErrorOf([] { SquareRoot(R(-1e-300)); }), "Invalid floating point operation");
  EXPECT_EQ(ErrorOf([] { SquareRoot(R(std::nan(""))); }), "Invalid floating point operation");
  EXPECT_EQ(SquareRoot(R(0)), R(0));
  EXPECT_EQ(ErrorOf([] { Store(R(1e308) * 10); }), "Floating point overflow");
  EXPECT_EQ(ErrorOf([] { Store(-R(1e308) * 10); }), "Floating point overflow");
  // The largest extended value that still rounds to a finite double is stored.
  EXPECT_EQ(Store(R(std::numeric_limits<double>::max())), std::numeric_limits<double>::max());
  // Underflow passes silently.
  EXPECT_EQ(Store(R(1e-320) * R(1e-10)), 0.0);
}

TYPED_TEST(GuardedReals, RoundingToPixelsIsHalfToEvenAndChecked) {
  using R = TypeParam;
  EXPECT_EQ(RoundHalfEven(R(2.5)), 2);
  EXPECT_EQ(RoundHalfEven(R(3.5)), 4);
  EXPECT_EQ(RoundHalfEven(R(-2.5)), -2);
  EXPECT_EQ(RoundHalfEven(R(7.4)), 7);
  const R two63 = R(0x1p63);
  EXPECT_EQ(RoundHalfEven(-two63), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(RoundHalfEven(two63 - R(1)), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(ErrorOf([&] { RoundHalfEven(two63); }), "Invalid floating point operation");
  EXPECT_EQ(ErrorOf([&] { RoundHalfEven(two63 - R(0.5)); }), "Invalid floating point operation");
  EXPECT_EQ(ErrorOf([] { RoundHalfEven(R(std::numeric_limits<double>::infinity())); }),
            "Invalid floating point operation");
  EXPECT_EQ(ErrorOf([] { RoundHalfEven(R(std::nan(""))); }), "Invalid floating point operation");
}

// An error stops the computation where it happens: earlier stores stay, later ones never happen.
TYPED_TEST(GuardedReals, NothingIsWrittenAfterTheFault) {
  using R = TypeParam;
  double cells[3] = {0, 0, 0};
  const R dens[3] = {R(2), R(0), R(4)};
  EXPECT_EQ(ErrorOf([&] {
              for (int k = 0; k < 3; ++k) cells[k] = Store(Quotient(R(1), dens[k]));
            }),
            "Floating point division by zero");
  EXPECT_EQ(cells[0], 0.5);
  EXPECT_EQ(cells[1], 0.0);
  EXPECT_EQ(cells[2], 0.0);
}

}  // namespace
