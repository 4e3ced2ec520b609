#include <gtest/gtest.h>

#include "AnalysisTestSupport.h"

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

TEST(GuardedReals, FaultsAndTheirMessages) {
  EXPECT_EQ(ErrorOf([] { Quotient(1.0L, 0.0L); }), "Floating point division by zero");
  EXPECT_EQ(ErrorOf([] { Quotient(-3.0L, 0.0L); }), "Floating point division by zero");
  EXPECT_EQ(ErrorOf([] { Quotient(0.0L, 0.0L); }), "Invalid floating point operation");
  EXPECT_EQ(ErrorOf([] { SquareRoot(-1e-300L); }), "Invalid floating point operation");
  EXPECT_EQ(SquareRoot(0.0L), 0.0L);
  EXPECT_EQ(ErrorOf([] { Store(1e308L * 10); }), "Floating point overflow");
  // The largest extended value that still rounds to a finite double is stored.
  EXPECT_EQ(Store(static_cast<long double>(std::numeric_limits<double>::max())),
            std::numeric_limits<double>::max());
  // Underflow passes silently.
  EXPECT_EQ(Store(1e-320L * 1e-10L), 0.0);
}

TEST(GuardedReals, RoundingToPixelsIsHalfToEvenAndChecked) {
  EXPECT_EQ(RoundHalfEven(2.5L), 2);
  EXPECT_EQ(RoundHalfEven(3.5L), 4);
  EXPECT_EQ(RoundHalfEven(-2.5L), -2);
  EXPECT_EQ(RoundHalfEven(7.4L), 7);
  const long double two63 = 9223372036854775808.0L;
  EXPECT_EQ(RoundHalfEven(-two63), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(ErrorOf([&] { RoundHalfEven(two63); }), "Invalid floating point operation");
  EXPECT_EQ(ErrorOf([&] { RoundHalfEven(two63 - 0.5L); }), "Invalid floating point operation");
  EXPECT_EQ(ErrorOf([] { RoundHalfEven(std::numeric_limits<long double>::infinity()); }),
            "Invalid floating point operation");
  EXPECT_EQ(ErrorOf([] { RoundHalfEven(std::numeric_limits<long double>::quiet_NaN()); }),
            "Invalid floating point operation");
}

// An error stops the computation where it happens: earlier stores stay, later ones never happen.
TEST(GuardedReals, NothingIsWrittenAfterTheFault) {
  double cells[3] = {0, 0, 0};
  const long double dens[3] = {2, 0, 4};
  EXPECT_EQ(ErrorOf([&] {
              for (int k = 0; k < 3; ++k) cells[k] = Store(Quotient(1.0L, dens[k]));
            }),
            "Floating point division by zero");
  EXPECT_EQ(cells[0], 0.5);
  EXPECT_EQ(cells[1], 0.0);
  EXPECT_EQ(cells[2], 0.0);
}

}  // namespace
