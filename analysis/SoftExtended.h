// The x87 extended real in software: a 64-bit significand with an explicit leading bit, every
// operation rounded once to nearest with ties to even, so that each result has the very bits the
// x87 unit gives. It serves where long double is another type (arm64, WebAssembly, MSVC).
//
// The exponent range is the x87 one. Beyond its top a result becomes an infinity, as on the x87
// unit; below its bottom the unit would give an extended subnormal, which this type does not
// model: such a result, far below anything double operands can produce in a few operations,
// raises "Invalid floating point operation" instead of giving a wrong value.
#pragma once

#include <bit>
#include <concepts>
#include <cstdint>

#include "analysis/ArithmeticError.h"
#include "analysis/WideProduct.h"
#include "analysis/WideQuotient.h"

class SoftExtended {
 public:
  // The x87 exponent range of normal numbers: 1.f x 2^e with kMinExponent <= e <= kMaxExponent.
  static constexpr int32_t kMinExponent = -16382;
  static constexpr int32_t kMaxExponent = 16383;

  constexpr SoftExtended() = default;  // +0

  // Exact, subnormal doubles included.
  [[gnu::always_inline]] constexpr SoftExtended(double x) {  // NOLINT: converts implicitly, as a double does
    const uint64_t bits = std::bit_cast<uint64_t>(x);
    negative_ = (bits >> 63) != 0;
    const int32_t field = static_cast<int32_t>((bits >> 52) & 0x7FF);
    if (static_cast<uint32_t>(field - 1) < 0x7FE) [[likely]] {  // a normal double
      exponent_ = field - 1023;
      significand_ = (bits << 11) | kLeadingBit;  // the fraction, under the leading bit
      return;
    }
    const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
    if (field == 0x7FF) {
      exponent_ = kSpecial;
      significand_ = fraction == 0 ? 0 : kQuietNaN | (fraction << 11);
    } else if (fraction != 0) {
      const int shift = std::countl_zero(fraction);
      exponent_ = -1011 - shift;  // -1074 + (63 - shift)
      significand_ = fraction << shift;
    }
  }

  // Exact: every 64-bit integer fits the significand.
  template <std::integral Integer>
  constexpr SoftExtended(Integer i) {  // NOLINT: converts implicitly, as an integer does
    uint64_t magnitude;
    if constexpr (std::is_signed_v<Integer>) {
      negative_ = i < 0;
      magnitude = negative_ ? 0 - static_cast<uint64_t>(i) : static_cast<uint64_t>(i);
    } else {
      magnitude = i;
    }
    if (magnitude != 0) {
      const int shift = std::countl_zero(magnitude);
      exponent_ = 63 - shift;
      significand_ = magnitude << shift;
    }
  }

  // The number (-1)^negative x significand x 2^(exponent - 63); significand's top bit set.
  static constexpr SoftExtended FromParts(bool negative, int32_t exponent, uint64_t significand) {
    SoftExtended x;
    x.negative_ = negative;
    x.exponent_ = exponent;
    x.significand_ = significand;
    return x;
  }

  // The 80-bit x87 register image: sign and biased exponent, and the significand.
  struct Bits {
    uint16_t signAndExponent;
    uint64_t significand;
    bool operator==(const Bits&) const = default;
  };
  constexpr Bits ToBits() const {
    const uint16_t sign = negative_ ? 0x8000 : 0;
    if (IsZero()) return {sign, 0};
    if (exponent_ == kSpecial) return {static_cast<uint16_t>(sign | 0x7FFF), significand_ | kLeadingBit};
    return {static_cast<uint16_t>(sign | (exponent_ + 16383)), significand_};
  }
  // Normal numbers, zeros, infinities and NaNs (x87 register images of those kinds).
  static constexpr SoftExtended FromBits(Bits b) {
    const bool negative = (b.signAndExponent & 0x8000) != 0;
    const int32_t field = b.signAndExponent & 0x7FFF;
    if (field == 0) return FromParts(negative, kZero, 0);
    if (field == 0x7FFF)
      return FromParts(negative, kSpecial, b.significand << 1 == 0 ? 0 : b.significand);
    return FromParts(negative, field - 16383, b.significand);
  }

  constexpr bool IsNaN() const { return exponent_ == kSpecial && significand_ != 0; }
  constexpr bool IsFinite() const { return exponent_ != kSpecial; }
  constexpr bool IsZero() const { return exponent_ == kZero; }

  // Rounds to the nearest double, ties to even, subnormal results and overflow to infinity
  // included, as the x87 unit stores a register to a double.
  [[gnu::always_inline]] constexpr double ToDouble() const {
    const uint64_t sign = static_cast<uint64_t>(negative_) << 63;
    if (exponent_ >= -1022 && exponent_ <= 1023) [[likely]] {
      // A normal double: 53 bits kept, rounded; adding the leading bit to the biased exponent
      // less one lets a carry out of the significand raise the exponent, up to infinity.
      const uint64_t rest = significand_ & 0x7FF;
      uint64_t m = significand_ >> 11;
      m += static_cast<uint64_t>(rest > 0x400) | (static_cast<uint64_t>(rest == 0x400) & m);
      return std::bit_cast<double>(sign | ((static_cast<uint64_t>(exponent_ + 1022) << 52) + m));
    }
    if (IsZero()) return std::bit_cast<double>(sign);
    if (exponent_ == kSpecial) {
      const uint64_t payload = significand_ == 0 ? 0 : (significand_ >> 11) | (uint64_t{1} << 51);
      return std::bit_cast<double>(sign | 0x7FF0000000000000 | payload);
    }
    // Bits of the significand that a double cannot keep: 11, and more below its normal range.
    const int32_t lost = 11 + (exponent_ < -1022 ? -1022 - exponent_ : 0);
    if (lost > 64) return std::bit_cast<double>(sign);  // below half the smallest subnormal
    const uint64_t kept = lost == 64 ? 0 : significand_ >> lost;
    const uint64_t rest = lost == 64 ? significand_ : significand_ & ((uint64_t{1} << lost) - 1);
    const uint64_t half = uint64_t{1} << (lost - 1);
    uint64_t m = kept + (rest > half || (rest == half && (kept & 1)) ? 1 : 0);
    int32_t e = exponent_;
    if (e < -1022) {  // subnormal; a carry into bit 52 makes it the smallest normal, as it should
      return std::bit_cast<double>(sign | m);
    }
    if (m >> 53) {
      m >>= 1;
      ++e;
    }
    if (e > 1023) return std::bit_cast<double>(sign | 0x7FF0000000000000);
    return std::bit_cast<double>(sign | (static_cast<uint64_t>(e + 1023) << 52) |
                                 (m & ((uint64_t{1} << 52) - 1)));
  }

  // Rounds to a 64-bit integer, ties to even, as llrint in the default mode; out of range (or not
  // finite) gives the integer indefinite, INT64_MIN, as the x87 unit does.
  constexpr int64_t RoundToInt64() const {
    if (IsZero()) return 0;
    if (exponent_ == kSpecial || exponent_ > 63) return INT64_MIN;
    if (exponent_ < -1) return 0;
    const int lost = 63 - exponent_;  // 0..64 bits below the unit
    uint64_t whole = significand_;
    if (lost > 0) {
      whole = lost == 64 ? 0 : significand_ >> lost;
      const uint64_t rest = lost == 64 ? significand_ : significand_ & ((uint64_t{1} << lost) - 1);
      const uint64_t half = uint64_t{1} << (lost - 1);
      if (rest > half || (rest == half && (whole & 1))) ++whole;
    }
    if (negative_) return whole <= (uint64_t{1} << 63) ? static_cast<int64_t>(0 - whole) : INT64_MIN;
    return whole < (uint64_t{1} << 63) ? static_cast<int64_t>(whole) : INT64_MIN;
  }

  friend constexpr SoftExtended operator-(SoftExtended x) {
    x.negative_ = !x.negative_;
    return x;
  }
  constexpr SoftExtended Magnitude() const {
    SoftExtended x = *this;
    x.negative_ = false;
    return x;
  }

  [[gnu::always_inline]] friend constexpr SoftExtended operator+(SoftExtended a, SoftExtended b) { return Sum(a, b); }
  [[gnu::always_inline]] friend constexpr SoftExtended operator-(SoftExtended a, SoftExtended b) { return Sum(a, -b); }
  [[gnu::always_inline]] friend constexpr SoftExtended operator*(SoftExtended a, SoftExtended b) { return Product(a, b); }
  friend constexpr SoftExtended operator/(SoftExtended a, SoftExtended b) { return Quotient(a, b); }
  static SoftExtended SquareRoot(SoftExtended x) { return Root(x); }

  SoftExtended& operator+=(SoftExtended b) { return *this = *this + b; }
  SoftExtended& operator-=(SoftExtended b) { return *this = *this - b; }
  SoftExtended& operator*=(SoftExtended b) { return *this = *this * b; }
  SoftExtended& operator/=(SoftExtended b) { return *this = *this / b; }

  // Comparisons are false with a NaN (but !=), and +0 equals -0.
  friend constexpr bool operator==(SoftExtended a, SoftExtended b) {
    return !a.IsNaN() && !b.IsNaN() && Order(a, b) == 0;
  }
  friend constexpr bool operator<(SoftExtended a, SoftExtended b) {
    return !a.IsNaN() && !b.IsNaN() && Order(a, b) < 0;
  }
  friend constexpr bool operator>(SoftExtended a, SoftExtended b) { return b < a; }
  friend constexpr bool operator<=(SoftExtended a, SoftExtended b) {
    return !a.IsNaN() && !b.IsNaN() && Order(a, b) <= 0;
  }
  friend constexpr bool operator>=(SoftExtended a, SoftExtended b) { return b <= a; }

 private:
  __extension__ using Wide = unsigned __int128;  // GCC and Clang, on every target we build for

  // Exponents outside the x87 range that mark zero (below every other) and infinity or NaN
  // (above), so that comparing (exponent, significand) compares magnitudes.
  static constexpr int32_t kZero = -(1 << 30);
  static constexpr int32_t kSpecial = 1 << 30;
  static constexpr uint64_t kLeadingBit = uint64_t{1} << 63;
  static constexpr uint64_t kQuietNaN = uint64_t{3} << 62;
  static constexpr uint64_t kHalf = uint64_t{1} << 63;

  constexpr bool IsOrdinary() const { return exponent_ != kZero && exponent_ != kSpecial; }
  // Neither a zero, an infinity nor a NaN: both exponents inside the x87 range.
  static constexpr bool BothOrdinary(SoftExtended a, SoftExtended b) {
    constexpr uint32_t kOffset = -kMinExponent, kSpan = kMaxExponent - kMinExponent + 1;
    return (static_cast<uint32_t>(a.exponent_ + kOffset) < kSpan) &
           (static_cast<uint32_t>(b.exponent_ + kOffset) < kSpan);
  }


  static constexpr SoftExtended Zero(bool negative) { return FromParts(negative, kZero, 0); }
  static constexpr SoftExtended Infinity(bool negative) { return FromParts(negative, kSpecial, 0); }
  // What the x87 unit gives for an invalid operation: the negative "indefinite" quiet NaN.
  static constexpr SoftExtended DefaultNaN() { return FromParts(true, kSpecial, kQuietNaN); }
  // A NaN operand passes through, quieted; of two, the one with the larger significand.
  static constexpr SoftExtended PropagateNaN(SoftExtended a, SoftExtended b) {
    if (a.IsNaN() && b.IsNaN()) {
      if (a.significand_ << 1 == b.significand_ << 1) return a.negative_ ? b : a;
      return (a.significand_ << 1) > (b.significand_ << 1) ? Quieted(a) : Quieted(b);
    }
    return Quieted(a.IsNaN() ? a : b);
  }
  static constexpr SoftExtended Quieted(SoftExtended x) {
    x.significand_ |= kQuietNaN;
    return x;
  }

  // Rounds high:low, whose leading bit is high's top bit and stands for 2^exponent, to high. The
  // rounding direction is arithmetic rather than a branch: it is as good as random. low may stand
  // for more bits than it holds: a sticky last bit tells an inexact value that is no tie.
  [[gnu::always_inline]] static constexpr SoftExtended Rounded(bool negative, int32_t exponent,
                                                               uint64_t high, uint64_t low) {
    // Up when low + half - 1 + (high's last bit) carries: above half, or half with high odd.
    uint64_t ignored;
    high += static_cast<uint64_t>(__builtin_add_overflow(low, kHalf - 1 + (high & 1), &ignored));
    if (high == 0) [[unlikely]] {  // carried out of the top: 2^(exponent + 1)
      high = kLeadingBit;
      ++exponent;
    }
    if (exponent > kMaxExponent) [[unlikely]] return Infinity(negative);
    if (exponent < kMinExponent) [[unlikely]] guarded::Raise(guarded::Fault::InvalidOperation);
    return FromParts(negative, exponent, high);
  }

  // -1, 0 or 1 as |a| is below, equal to or above |b|.
  static constexpr int CompareMagnitudes(SoftExtended a, SoftExtended b) {
    if (a.exponent_ != b.exponent_) return a.exponent_ < b.exponent_ ? -1 : 1;
    if (a.significand_ != b.significand_) return a.significand_ < b.significand_ ? -1 : 1;
    return 0;
  }
  // Neither is a NaN.
  static constexpr int Order(SoftExtended a, SoftExtended b) {
    if (a.IsZero() && b.IsZero()) return 0;
    if (a.negative_ != b.negative_) return a.negative_ ? -1 : 1;
    const int m = CompareMagnitudes(a, b);
    return a.negative_ ? -m : m;
  }

  [[gnu::always_inline]] static constexpr SoftExtended Sum(SoftExtended a, SoftExtended b) {
    if (!BothOrdinary(a, b)) [[unlikely]] return SpecialSum(a, b);
    // The larger magnitude first. This, the sign test and the shifts below are branches: the
    // predictor gets them right far more often than branch-free selection pays, measured.
    if (a.exponent_ < b.exponent_ || (a.exponent_ == b.exponent_ && a.significand_ < b.significand_)) {
      const SoftExtended t = a;
      a = b;
      b = t;
    }
    const uint64_t big = a.significand_, small = b.significand_;
    const int32_t exponent = a.exponent_;
    const bool negative = a.negative_;
    const uint32_t gap = static_cast<uint32_t>(a.exponent_ - b.exponent_);
    // The smaller one at the larger one's places: the part in its 64 bits, and the 64 bits below
    // them, what falls off beyond those kept as a sticky last bit.
    uint64_t aligned, below;
    if (gap < 64) [[likely]] {  // exact; the shifts in two steps keep gap 0 defined
      aligned = small >> gap;
      below = (small << 1) << (63 - gap);
    } else {
      aligned = 0;
      const uint32_t shift = gap - 64;
      below = shift < 64 ? (small >> shift) | static_cast<uint64_t>(((small << 1) << (63 - shift)) != 0)
                         : 1;
    }
    uint64_t high, low;
    if (a.negative_ == b.negative_) {
      // A carry out of the top takes the sum one place down, its last bit into low.
      const bool carry = __builtin_add_overflow(big, aligned, &high);
      low = below;
      if (carry) {
        low = (high << 63) | (below >> 1) | (below & 1);
        high = (high >> 1) | kLeadingBit;
        return Rounded(negative, exponent + 1, high, low);
      }
      return Rounded(negative, exponent, high, low);
    }
    // big - small >= 0. The top bit goes when the gap is 0 or 1, and the difference is exact;
    // otherwise at most one place goes. Negating an odd sticky low keeps it odd: still no tie.
    low = 0 - below;
    high = big - aligned - static_cast<uint64_t>(below != 0);
    if (high >> 63) return Rounded(negative, exponent, high, low);  // the common case, no shift
    if (high == 0) {
      if (low == 0) return Zero(false);  // x - x is +0 when rounding to nearest
      // A gap of 1 and all but the smaller one's last bit cancelled: that bit, exactly.
      return Rounded(negative, exponent - 64, low, 0);
    }
    const int shift = std::countl_zero(high);
    high = (high << shift) | ((low >> 1) >> (63 - shift));
    low <<= shift;
    return Rounded(negative, exponent - shift, high, low);
  }
  static constexpr SoftExtended SpecialSum(SoftExtended a, SoftExtended b) {
    if (a.IsNaN() || b.IsNaN()) return PropagateNaN(a, b);
    if (a.exponent_ == kSpecial) {
      if (b.exponent_ == kSpecial && a.negative_ != b.negative_) return DefaultNaN();
      return a;
    }
    if (b.exponent_ == kSpecial) return b;
    if (a.IsZero() && b.IsZero()) return Zero(a.negative_ && b.negative_);
    return a.IsZero() ? b : a;
  }

  [[gnu::always_inline]] static constexpr SoftExtended Product(SoftExtended a, SoftExtended b) {
    const bool negative = a.negative_ != b.negative_;
    if (!BothOrdinary(a, b)) [[unlikely]] {
      if (a.IsNaN() || b.IsNaN()) return PropagateNaN(a, b);
      if (a.exponent_ == kSpecial || b.exponent_ == kSpecial)
        return a.IsZero() || b.IsZero() ? DefaultNaN() : Infinity(negative);
      return Zero(negative);
    }
    auto [high, low] = WideProduct(a.significand_, b.significand_);  // exact, 2^126 <= m < 2^128
    const int32_t exponent = a.exponent_ + b.exponent_;
    // A branch, as in Sum: it takes the shift out of the path the next operation waits on.
    if (high >> 63) return Rounded(negative, exponent + 1, high, low);
    return Rounded(negative, exponent, (high << 1) | (low >> 63), low << 1);
  }

  static constexpr SoftExtended Quotient(SoftExtended a, SoftExtended b) {
    const bool negative = a.negative_ != b.negative_;
    if (!a.IsOrdinary() || !b.IsOrdinary()) [[unlikely]] {
      if (a.IsNaN() || b.IsNaN()) return PropagateNaN(a, b);
      if (a.exponent_ == kSpecial) return b.exponent_ == kSpecial ? DefaultNaN() : Infinity(negative);
      if (b.exponent_ == kSpecial) return Zero(negative);
      if (b.IsZero()) return a.IsZero() ? DefaultNaN() : Infinity(negative);
      return Zero(negative);
    }
    // n = a's significand shifted left 63 or 64 places, whichever makes n / b's significand
    // at least 2^63: its integer part q is then the quotient's significand, under 2^64.
    int32_t exponent = a.exponent_ - b.exponent_;
    uint64_t high = a.significand_ >> 1, low = a.significand_ << 63;
    if (a.significand_ < b.significand_) {
      high = a.significand_;
      low = 0;
      --exponent;
    }
    const uint64_t d = b.significand_;
    const auto [q, rest] = DivideWide(high, low, d);
    // What is left rounds as rest / d: nothing, an exact half, or just below or above one.
    const uint64_t below = rest == 0         ? 0
                           : rest == d - rest ? kHalf
                           : rest > d - rest  ? kHalf + 1
                                              : 1;
    return Rounded(negative, exponent, q, below);
  }

  static SoftExtended Root(SoftExtended x) {
    if (!x.IsOrdinary() || x.negative_) [[unlikely]] {
      if (x.IsNaN()) return Quieted(x);
      if (x.IsZero()) return x;  // sqrt(-0) = -0
      if (x.negative_) return DefaultNaN();
      return x;  // +infinity
    }
    // x = s 2^e' with s the 64-bit integer significand and e' = exponent - 63. Shift s left by
    // 63 or 64 places, whichever leaves an even power of two: sqrt(x) = sqrt(n) 2^((e' - k)/2)
    // with 2^126 <= n < 2^128, so that floor(sqrt(n)) has exactly 64 bits.
    const int32_t scale = x.exponent_ - 63;
    const int k = (scale & 1) ? 63 : 64;
    const uint64_t high = k == 63 ? x.significand_ >> 1 : x.significand_;
    const uint64_t low = k == 63 ? x.significand_ << 63 : 0;
    const uint64_t r = IntegerRoot(high, low);
    // The rest n - r^2 is at most 2r, under 2^65. sqrt(n) is never r + 1/2; it is above exactly
    // when the rest is above r.
    const WideWords square = WideProduct(r, r);
    const uint64_t restLow = low - square.low;
    const uint64_t restHigh = high - square.high - static_cast<uint64_t>(low < square.low);
    const uint64_t below =
        (restHigh | restLow) == 0 ? 0 : restHigh != 0 || restLow > r ? kHalf + 1 : 1;
    return Rounded(false, (scale - k) / 2 + 63, r, below);
  }

  // Whether square > high 2^64 + low.
  static constexpr bool Exceeds(WideWords square, uint64_t high, uint64_t low) {
    return square.high > high || (square.high == high && square.low > low);
  }

  // floor(sqrt(n)) for n = high 2^64 + low, 2^126 <= n < 2^128: a double's estimate, one Newton
  // step, then exact.
  static uint64_t IntegerRoot(uint64_t high, uint64_t low) {
    const double estimate = __builtin_sqrt(static_cast<double>(high) * 0x1p64);
    uint64_t r = estimate >= 0x1p64 ? UINT64_MAX : static_cast<uint64_t>(estimate);  // >= 2^63
    if (high < r) {  // n / r fits a word: all but roots within 2^12 of 2^64
      const uint64_t q = DivideWide(high, low, r).quotient;
      r = (r >> 1) + (q >> 1) + (r & q & 1);  // floor((r + q) / 2)
    } else {
      const Wide n = static_cast<Wide>(high) << 64 | low;
      const Wide next = (static_cast<Wide>(r) + n / r) >> 1;
      r = next > UINT64_MAX ? UINT64_MAX : static_cast<uint64_t>(next);
    }
    // Within a unit or two now: settled by exact squares.
    while (Exceeds(WideProduct(r, r), high, low)) --r;
    while (r != UINT64_MAX && !Exceeds(WideProduct(r + 1, r + 1), high, low)) ++r;
    return r;
  }


  uint64_t significand_ = 0;  // leading bit explicit; 0 for zero and infinity
  int32_t exponent_ = kZero;  // of the leading bit
  bool negative_ = false;
};

// Functions on extended values; the native long double has its own in Extended.h.
namespace extended {
constexpr SoftExtended Abs(SoftExtended x) { return x.Magnitude(); }
inline SoftExtended Sqrt(SoftExtended x) { return SoftExtended::SquareRoot(x); }
constexpr bool IsNaN(SoftExtended x) { return x.IsNaN(); }
constexpr bool IsFinite(SoftExtended x) { return x.IsFinite(); }
constexpr double ToDouble(SoftExtended x) { return x.ToDouble(); }
constexpr int64_t RoundToInt64(SoftExtended x) { return x.RoundToInt64(); }
}  // namespace extended
