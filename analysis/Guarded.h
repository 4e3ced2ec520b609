// Guarded arithmetic: the checks that turn a bad index, an integer overflow or a floating-point
// fault into one of the program's five errors at the operation that causes it, so that what was
// computed or drawn before stays and nothing after it happens.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

static_assert(std::numeric_limits<long double>::digits == 64,
              "the numeric rules need the x87 extended type (64-bit significand)");
static_assert(std::numeric_limits<double>::is_iec559, "doubles must be IEEE binary64");

namespace guarded {

enum class Fault { RangeCheck, IntegerOverflow, DivisionByZero, InvalidOperation, Overflow };

constexpr const char* MessageOf(Fault fault) {
  switch (fault) {
    case Fault::RangeCheck: return "Range check error";
    case Fault::IntegerOverflow: return "Integer overflow";
    case Fault::DivisionByZero: return "Floating point division by zero";
    case Fault::InvalidOperation: return "Invalid floating point operation";
    case Fault::Overflow: return "Floating point overflow";
  }
  return "Range check error";
}

// Carries the exact text the user sees; the application's error handler shows what().
class ArithmeticError : public std::runtime_error {
 public:
  explicit ArithmeticError(Fault fault) : std::runtime_error(MessageOf(fault)), fault_(fault) {}
  Fault fault() const { return fault_; }

 private:
  Fault fault_;
};

[[noreturn]] inline void Raise(Fault fault) { throw ArithmeticError(fault); }

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
// Expressions are evaluated in long double; these are the places where the floating-point unit
// would trap. Stored values are always finite, so only division, square root and the rounding to
// double on assignment can fault.

inline long double Quotient(long double num, long double den) {
  if (den == 0.0L) Raise(num == 0.0L || std::isnan(num) ? Fault::InvalidOperation
                                                        : Fault::DivisionByZero);
  return num / den;
}

inline long double SquareRoot(long double x) {
  if (x < 0.0L || std::isnan(x)) Raise(Fault::InvalidOperation);
  return std::sqrt(x);
}

// Rounds an extended result once, to the double it is stored as.
inline double Store(long double x) {
  const double d = static_cast<double>(x);
  if (!std::isfinite(d)) Raise(std::isnan(d) ? Fault::InvalidOperation : Fault::Overflow);
  return d;
}

// Rounds a real to a whole number of pixels, an exact half to the even neighbour.
inline int64_t RoundHalfEven(long double x) {
  constexpr long double limit = 9223372036854775808.0L;  // 2^63
  // Beyond 2^63 - 1 the rounded value no longer fits 64 bits (2^63 - 0.5 would round up to 2^63).
  if (!std::isfinite(x) || !(x >= -limit && x <= limit - 1.0L)) Raise(Fault::InvalidOperation);
  return std::llrint(x);  // the default rounding mode: to nearest, ties to even
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
