// The software extended type against the x87 unit, bit for bit, on operands built to land on or
// next to rounding ties; where there is no x87 unit this suite has nothing to compare against.
#include <gtest/gtest.h>

#include "AnalysisTestSupport.h"
#include "analysis/Extended.h"

#if PCA_HAS_X87

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>

namespace {

using Bits = SoftExtended::Bits;
__extension__ using Wide = unsigned __int128;

Bits BitsOf(long double x) {
  Bits b{};
  std::memcpy(&b.significand, &x, 8);
  std::memcpy(&b.signAndExponent, reinterpret_cast<const char*>(&x) + 8, 2);
  return b;
}
long double Native(Bits b) {
  long double x = 0;
  std::memcpy(&x, &b.significand, 8);
  std::memcpy(reinterpret_cast<char*>(&x) + 8, &b.signAndExponent, 2);
  return x;
}
bool IsNaN(Bits b) { return (b.signAndExponent & 0x7FFF) == 0x7FFF && (b.significand << 1) != 0; }

// Both results the same 80 bits, or both a NaN (whose payloads the program never looks at).
::testing::AssertionResult Same(Bits soft, long double x87, const char* what, Bits a, Bits b) {
  const Bits native = BitsOf(x87);
  if (soft == native || (IsNaN(soft) && IsNaN(native))) return ::testing::AssertionSuccess();
  char text[256];
  std::snprintf(text, sizeof text,
                "%s of %04x:%016llx and %04x:%016llx: software %04x:%016llx, x87 %04x:%016llx",
                what, a.signAndExponent, static_cast<unsigned long long>(a.significand),
                b.signAndExponent, static_cast<unsigned long long>(b.significand),
                soft.signAndExponent, static_cast<unsigned long long>(soft.significand),
                native.signAndExponent, static_cast<unsigned long long>(native.significand));
  return ::testing::AssertionFailure() << text;
}

// Operands with few, many or clustered significant bits, so that sums, products and roots land
// on exact halves and their neighbours, at exponents well inside the range.
class Operand {
 public:
  explicit Operand(uint64_t seed) : random_(seed) {}

  uint64_t Word() { return random_(); }
  int Below(int n) { return static_cast<int>(random_() % static_cast<uint64_t>(n)); }

  uint64_t Significand() {
    const uint64_t top = uint64_t{1} << 63;
    switch (Below(6)) {
      case 0: return top | Word();                                     // any
      case 1: return top | (Word() << Below(64));                      // trailing zeros
      case 2: return top | (Word() >> Below(64));                      // leading zeros
      case 3: return ~uint64_t{0} << Below(64);                        // a run of ones
      case 4: return top | (uint64_t{1} << Below(63));                 // two bits
      default: return top | (Word() & 0xFFFF) | (Word() << 48);        // ends only
    }
  }
  Bits Value(int minExponent, int maxExponent) {
    const int e = minExponent + Below(maxExponent - minExponent + 1);
    return {static_cast<uint16_t>((Word() & 0x8000) | (e + 16383)), Significand()};
  }
  Bits Near(Bits x, int gapFrom, int gapTo) {
    const int e = (x.signAndExponent & 0x7FFF) - gapFrom - Below(gapTo - gapFrom + 1);
    return {static_cast<uint16_t>((Word() & 0x8000) | e), Significand()};
  }

 private:
  std::mt19937_64 random_;
};

SoftExtended Soft(Bits b) { return SoftExtended::FromBits(b); }

// Operands, and among them the exact ties an independent look at the exact result finds (or,
// where a tie cannot occur, the operands built to land next to one).
struct Tally {
  long operands = 0;
  long ties = 0;
  void Report(const char* what, const char* kind = "exact ties") const {
    std::printf("[ differential ] %-10s %9ld operands, %8ld %s\n", what, operands, ties, kind);
  }
};

// a + b is a tie when its rounding error, exact by the two-sum identity, is half a unit.
bool SumIsTie(long double a, long double b, long double sum) {
  if (!std::isfinite(sum) || sum == 0) return false;
  const long double big = std::fabs(a) >= std::fabs(b) ? a : b;
  const long double small = big == a ? b : a;
  const long double error = small - (sum - big);
  int e;
  std::frexp(sum, &e);
  return std::fabs(error) == std::ldexp(1.0L, e - 65);
}

TEST(SoftExtended, AdditionAndSubtractionMatchTheX87Unit) {
  Operand gen(1);
  Tally tally;
  for (long i = 0; i < DifferentialOperands(); ++i) {
    const Bits a = gen.Value(-200, 200);
    // Partners 60 to 70 binary places below end the sum next to a half; half a unit of a, or
    // just more, exactly on or next to it; the rest anywhere from 3 places above to 130 below.
    Bits b = gen.Below(3) ? gen.Near(a, 60, 70) : gen.Near(a, -3, 130);
    if (gen.Below(3) == 0) {
      b = gen.Near(a, 64, 64);
      b.significand = uint64_t{1} << 63 | static_cast<uint64_t>(gen.Below(2));
    }
    const long double x = Native(a), y = Native(b);
    ASSERT_TRUE(Same((Soft(a) + Soft(b)).ToBits(), x + y, "sum", a, b));
    ASSERT_TRUE(Same((Soft(a) - Soft(b)).ToBits(), x - y, "difference", a, b));
    tally.ties += SumIsTie(x, y, x + y) + SumIsTie(x, -y, x - y);
    tally.operands += 2;
  }
  tally.Report("add/sub");
  EXPECT_GT(tally.ties, tally.operands / 100);
}

// Differences that cancel all but a few bits: equal exponents, and a gap of one place, where all
// that may be left is the smaller operand's last bit, half a unit of the larger.
TEST(SoftExtended, CancellationMatchesTheX87Unit) {
  const uint64_t top = uint64_t{1} << 63;
  for (uint64_t j = 0; j < 4; ++j) {
    for (uint64_t k = 0; k < 12; ++k) {
      for (const int gap : {0, 1}) {
        const Bits a = {16383, top + j};
        const uint64_t b = gap == 0 ? top + j + k - 2 : 2 * (top + j) - k;  // may wrap: skipped
        if (!(b >> 63)) continue;
        const Bits smaller = {static_cast<uint16_t>(16383 - gap), b};
        EXPECT_TRUE(Same((Soft(a) - Soft(smaller)).ToBits(), Native(a) - Native(smaller),
                         "difference", a, smaller));
        EXPECT_TRUE(Same((Soft(smaller) - Soft(a)).ToBits(), Native(smaller) - Native(a),
                         "difference", smaller, a));
      }
    }
  }
}

TEST(SoftExtended, MultiplicationMatchesTheX87Unit) {
  Operand gen(2);
  Tally tally;
  for (long i = 0; i < DifferentialOperands(); ++i) {
    Bits a = gen.Value(-300, 300), b = gen.Value(-300, 300);
    if (gen.Below(2)) {  // odd factors of 32 and 33 bits: a product of 65 bits is a tie
      a.significand = (gen.Word() | 1 | uint64_t{1} << 31) << 32;
      b.significand = (gen.Word() >> 31 | 1 | uint64_t{1} << 32) << 31;
      if (gen.Below(2)) b.significand += uint64_t{1} << 31;  // or next to one
    }
    ASSERT_TRUE(Same((Soft(a) * Soft(b)).ToBits(), Native(a) * Native(b), "product", a, b));
    Wide p = static_cast<Wide>(a.significand) * b.significand;
    if (!(p >> 127)) p <<= 1;
    tally.ties += static_cast<uint64_t>(p) == uint64_t{1} << 63;
    ++tally.operands;
  }
  tally.Report("multiply");
  EXPECT_GT(tally.ties, tally.operands / 100);
}

// WebAssembly's products come from 32-bit halves; here they meet the 128-bit multiply, with the
// carries between halves at their largest.
TEST(SoftExtended, ProductByHalvesIsExact) {
  Operand gen(8);
  const uint64_t edges[] = {~uint64_t{0}, uint64_t{1} << 63, 0xFFFFFFFF00000000, 0x00000000FFFFFFFF,
                            0x8000000080000001, 0xFFFFFFFF80000000};
  auto check = [](uint64_t a, uint64_t b) {
    const Wide m = static_cast<Wide>(a) * b;
    const WideWords w = ProductByHalves(a, b);
    return w.high == static_cast<uint64_t>(m >> 64) && w.low == static_cast<uint64_t>(m);
  };
  for (uint64_t a : edges)
    for (uint64_t b : edges) EXPECT_TRUE(check(a, b)) << std::hex << a << " x " << b;
  for (long i = 0; i < DifferentialOperands() / 4; ++i) {
    const uint64_t a = gen.Significand(), b = gen.Significand();
    ASSERT_TRUE(check(a, b)) << std::hex << a << " x " << b;
  }
}

TEST(SoftExtended, DivisionMatchesTheX87Unit) {
  Operand gen(3);
  Tally tally;
  for (long i = 0; i < DifferentialOperands(); ++i) {
    Bits a = gen.Value(-300, 300);
    const Bits b = gen.Value(-300, 300);
    if (gen.Below(2)) {
      // a = b (q + 1/2) truncated to 64 bits, for a divisor of at most 32 bits: a / b lies within
      // a few units of the 65th bit of q + 1/2, next to halfway.
      const uint64_t divisor = b.significand >> 32;
      const Wide exact = ((static_cast<Wide>(gen.Significand()) << 1) | 1) * divisor;
      const int shift = 64 - std::countl_zero(static_cast<uint64_t>(exact >> 64));
      a.significand = static_cast<uint64_t>(exact >> shift);
      const Bits small = {b.signAndExponent, divisor << std::countl_zero(divisor)};
      ++tally.ties;
      ASSERT_TRUE(Same((Soft(a) / Soft(small)).ToBits(), Native(a) / Native(small), "quotient", a,
                       small));
    } else {
      ASSERT_TRUE(Same((Soft(a) / Soft(b)).ToBits(), Native(a) / Native(b), "quotient", a, b));
    }
    ++tally.operands;
  }
  tally.Report("divide", "next to halfway");
}

// Quotients and roots at the ends of their range: equal significands (an exact power of two),
// the largest and smallest ones, and results at the top of 64 bits, where a root's estimate in
// doubles reaches 2^64.
TEST(SoftExtended, DivisionAndRootAtTheEdgesMatchTheX87Unit) {
  const uint64_t top = uint64_t{1} << 63;
  const uint64_t edges[] = {top,         top + 1,          top + 2,           ~uint64_t{0},
                            ~uint64_t{0} - 1, 0xAAAAAAAAAAAAAAAB, 0xC000000000000000, 0xB504F333F9DE6484,
                            0xB504F333F9DE6485, 0xFFFFFFFF00000000, 0x8000000100000000};
  for (uint64_t x : edges) {
    for (int e = 16382; e <= 16384; ++e) {
      const Bits a = {static_cast<uint16_t>(e), x};
      EXPECT_TRUE(Same(extended::Sqrt(Soft(a)).ToBits(), std::sqrt(Native(a)), "root", a, a));
      for (uint64_t y : edges) {
        const Bits b = {16383, y};
        EXPECT_TRUE(Same((Soft(a) / Soft(b)).ToBits(), Native(a) / Native(b), "quotient", a, b));
      }
    }
  }
}

TEST(SoftExtended, SquareRootMatchesTheX87Unit) {
  Operand gen(4);
  Tally tally;
  for (long i = 0; i < DifferentialOperands(); ++i) {
    Bits a = gen.Value(-300, 300);
    a.signAndExponent &= 0x7FFF;
    if (gen.Below(2)) {
      // Near-squares: r^2 moved by up to two units, for r of 32 bits with r^2 of 64, at an
      // exponent that keeps the square a square; the roots land on and next to r.
      const uint64_t least = 0xB504F334;  // ceil(2^31.5)
      const uint64_t r = least + gen.Word() % ((uint64_t{1} << 32) - least);
      a.significand = r * r + static_cast<uint64_t>(gen.Below(5)) - 2;
      a.signAndExponent = static_cast<uint16_t>(16383 + 2 * gen.Below(200) - 199);  // odd
      ++tally.ties;
    }
    ASSERT_TRUE(Same(extended::Sqrt(Soft(a)).ToBits(), std::sqrt(Native(a)), "root", a, a));
    ++tally.operands;
  }
  tally.Report("sqrt", "near-squares");
}

TEST(SoftExtended, RoundingToDoubleMatchesTheX87Store) {
  Operand gen(5);
  Tally tally;
  for (long i = 0; i < DifferentialOperands(); ++i) {
    // Exponents around the double range's ends too: subnormal results, overflow to infinity.
    const int band = gen.Below(3);
    Bits a = band == 0 ? gen.Value(-60, 60) : band == 1 ? gen.Value(-1090, -1015) : gen.Value(1015, 1030);
    if (gen.Below(2)) a.significand = (a.significand & ~uint64_t{0x7FF}) | (0x3FF + gen.Below(3));
    const double soft = Soft(a).ToDouble(), x87 = static_cast<double>(Native(a));
    ASSERT_EQ(std::bit_cast<uint64_t>(soft), std::bit_cast<uint64_t>(x87))
        << std::hex << a.signAndExponent << ":" << a.significand;
    tally.ties += band == 0 && (a.significand & 0x7FF) == 0x400;
    ++tally.operands;
  }
  tally.Report("to double");
}

TEST(SoftExtended, RoundingToIntegersMatchesLlrint) {
  Operand gen(6);
  Tally tally;
  for (long i = 0; i < DifferentialOperands(); ++i) {
    Bits a = gen.Value(-3, 63);
    const int fraction = 63 - ((a.signAndExponent & 0x7FFF) - 16383);
    if (fraction > 0 && fraction < 64 && gen.Below(2)) {  // exactly half, or a unit off it
      const uint64_t half = uint64_t{1} << (fraction - 1);
      a.significand = (a.significand & ~((half << 1) - 1)) | (half + gen.Below(3) - 1);
      a.significand |= uint64_t{1} << 63;
      tally.ties += (a.significand & ((half << 1) - 1)) == half;
    }
    ASSERT_EQ(Soft(a).RoundToInt64(), std::llrint(Native(a)))
        << std::hex << a.signAndExponent << ":" << a.significand;
    ++tally.operands;
  }
  tally.Report("llrint");
  EXPECT_GT(tally.ties, tally.operands / 100);
}

TEST(SoftExtended, ConversionsAndComparisonsMatchTheX87Unit) {
  Operand gen(7);
  for (long i = 0; i < DifferentialOperands() / 4; ++i) {
    // Doubles of every kind, subnormals, infinities and NaNs among them, are exact.
    const double d = std::bit_cast<double>(gen.Word() >> (gen.Below(2) ? 0 : 12));
    ASSERT_TRUE(Same(SoftExtended(d).ToBits(), static_cast<long double>(d), "double", {}, {}));
    const auto k = static_cast<int64_t>(gen.Word() >> gen.Below(64));
    const auto j = static_cast<int32_t>(gen.Word());
    ASSERT_TRUE(Same(SoftExtended(k).ToBits(), static_cast<long double>(k), "int64", {}, {}));
    ASSERT_TRUE(Same(SoftExtended(-k).ToBits(), static_cast<long double>(-k), "int64", {}, {}));
    ASSERT_TRUE(Same(SoftExtended(j).ToBits(), static_cast<long double>(j), "int32", {}, {}));

    // Neighbours, equal values of either sign of zero, and NaNs.
    const Bits a = gen.Value(-5, 5);
    Bits b = gen.Below(2) ? a : gen.Value(-5, 5);
    if (gen.Below(4) == 0) b.significand += gen.Below(3) - 1;
    b.significand |= uint64_t{1} << 63;
    const SoftExtended s = Soft(a), t = Soft(b);
    const long double x = Native(a), y = Native(b);
    ASSERT_EQ(s == t, x == y);
    ASSERT_EQ(s != t, x != y);
    ASSERT_EQ(s < t, x < y);
    ASSERT_EQ(s <= t, x <= y);
    ASSERT_EQ(s > t, x > y);
    ASSERT_EQ(s >= t, x >= y);
    ASSERT_TRUE(Same((-s).ToBits(), -x, "negation", a, a));
    ASSERT_TRUE(Same(extended::Abs(s).ToBits(), std::fabs(x), "magnitude", a, a));
  }
  const SoftExtended zero = 0.0, negativeZero = -0.0, nan = std::nan("");
  EXPECT_TRUE(zero == negativeZero && !(zero < negativeZero) && zero <= negativeZero);
  EXPECT_TRUE(!(nan == nan) && nan != nan && !(nan < zero) && !(nan >= zero));
  EXPECT_EQ(SoftExtended(std::numeric_limits<int64_t>::min()).ToBits(),
            BitsOf(static_cast<long double>(std::numeric_limits<int64_t>::min())));
}

// The edges the guarded arithmetic meets: zeros, infinities, NaNs and the ends of the range.
TEST(SoftExtended, SpecialOperandsMatchTheX87Unit) {
  const long double inf = std::numeric_limits<long double>::infinity();
  const long double values[] = {0.0L, -0.0L, 1.0L, -3.0L, 0x1p8000L, -0x1p-8000L, inf, -inf,
                                std::numeric_limits<long double>::quiet_NaN()};
  for (long double x : values) {
    const Bits a = BitsOf(x);
    for (long double y : values) {
      const Bits b = BitsOf(y);
      EXPECT_TRUE(Same((Soft(a) + Soft(b)).ToBits(), x + y, "sum", a, b));
      EXPECT_TRUE(Same((Soft(a) - Soft(b)).ToBits(), x - y, "difference", a, b));
      EXPECT_TRUE(Same((Soft(a) * Soft(b)).ToBits(), x * y, "product", a, b));
      EXPECT_TRUE(Same((Soft(a) / Soft(b)).ToBits(), x / y, "quotient", a, b));
      EXPECT_EQ(Soft(a) < Soft(b), x < y);
    }
    EXPECT_TRUE(Same(extended::Sqrt(Soft(a)).ToBits(), std::sqrt(x), "root", a, a));
    EXPECT_EQ(std::bit_cast<uint64_t>(Soft(a).ToDouble()),
              std::bit_cast<uint64_t>(static_cast<double>(x)));
  }
  // The largest finite sum overflows to infinity, as on the x87 unit; the constants are the
  // nearest extended values.
  const Bits top = BitsOf(std::numeric_limits<long double>::max());
  EXPECT_TRUE(Same((Soft(top) + Soft(top)).ToBits(), Native(top) + Native(top), "sum", top, top));
  EXPECT_EQ(kTwoTenths<SoftExtended>.ToBits(), BitsOf(0.2L));
  EXPECT_EQ(kThreeTenths<SoftExtended>.ToBits(), BitsOf(0.3L));
  // Below the range the software type reports rather than guess a subnormal.
  EXPECT_THROW(Soft(BitsOf(0x1p-16000L)) * Soft(BitsOf(0x1p-1000L)), guarded::ArithmeticError);
}

}  // namespace

#endif
