// Guarded arithmetic: the checks that turn a bad index, an integer overflow or a floating-point
// fault into one of the program's five errors at the operation that causes it, so that what was
// computed or drawn before stays and nothing after it happens.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "analysis/ArithmeticError.h"
#include "analysis/Extended.h"

static_assert(std::numeric_limits<double>::is_iec559, "doubles must be IEEE binary64");

namespace guarded {

// ---- 32-bit integers -------------------------------------------------------------------------

inline int32_t Add(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_add_overflow(a, b, &r)) Raise(Fault::IntegerOverflow);
  return r;
}
inline int32_t Sub(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_sub_overflow(a, b, &r)) Raise(Fault::IntegerOverflow);
  return r;
}
inline int32_t Mul(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_mul_overflow(a, b, &r)) Raise(Fault::IntegerOverflow);
  return r;
}

// A 64-bit intermediate that must land in 32 bits.
inline int32_t Narrow(int64_t v) {
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
    Raise(Fault::RangeCheck);
  return static_cast<int32_t>(v);
}

// ---- Reals -------------------------------------------------------------------------------------
// Expressions are evaluated in an extended type (Extended, or the other one where both are
// compared); these are the places where the floating-point unit would trap. Stored values are
// always finite, so only division, square root and the rounding to double on assignment can
// fault.

template <typename Real>
Real Quotient(Real num, std::type_identity_t<Real> den) {
  if (den == Real(0)) Raise(num == Real(0) || extended::IsNaN(num) ? Fault::InvalidOperation
                                                                   : Fault::DivisionByZero);
  return num / den;
}

template <typename Real>
Real SquareRoot(Real x) {
  if (x < Real(0) || extended::IsNaN(x)) Raise(Fault::InvalidOperation);
  return extended::Sqrt(x);
}

// Rounds an extended result once, to the double it is stored as.
template <typename Real>
double Store(Real x) {
  const double d = extended::ToDouble(x);
  if (!std::isfinite(d)) Raise(std::isnan(d) ? Fault::InvalidOperation : Fault::Overflow);
  return d;
}

// Rounds a real to a whole number of pixels, an exact half to the even neighbour.
template <typename Real>
int64_t RoundHalfEven(Real x) {
  const Real limit = Real(0x1p63);
  // Beyond 2^63 - 1 the rounded value no longer fits 64 bits (2^63 - 0.5 would round up to 2^63).
  if (!extended::IsFinite(x) || !(x >= -limit && x <= limit - Real(1)))
    Raise(Fault::InvalidOperation);
  return extended::RoundToInt64(x);
}

// ---- 1-based arrays with checked indices ------------------------------------------------------

template <typename T, int N>
class Array {
 public:
  static constexpr int size = N;

  T& operator[](int i) {
    if (i < 1 || i > N) Raise(Fault::RangeCheck);
    return items_[i - 1];
  }
  const T& operator[](int i) const {
    if (i < 1 || i > N) Raise(Fault::RangeCheck);
    return items_[i - 1];
  }
  bool operator==(const Array&) const = default;

 private:
  T items_[N]{};
};

}  // namespace guarded
