// Steps of the Jacobi sweeps as the x87 unit gives them (every operation rounded to a 64-bit
// significand, the result to double), worked out in doubles wherever that is certain to give the
// same double, for the software extended type, whose every operation takes a few dozen integer
// instructions where a double operation takes one. Each function returns false, and leaves its
// result alone, where it cannot be certain; the caller then takes the steps one by one.
//
// The rotation's pair, x := g - s((g tau) + h) and y := h + s(g - h tau), is computed to about
// 100 bits, with no rounding to 64 bits in between, as an unevaluated sum r + e of two doubles,
// r the nearer double. The four roundings to 64 bits move the x87 value Y away from the exact one
// E by at most
//   2^-64 (|E| + |s| |g tau| + 2 |s| |g tau + h|)      (for x; y alike)
// to first order; the pairs of doubles are off E by a few 2^-104 of the same terms. Both are
// covered by the bound B computed below from the doubles at hand, with room for its own
// rounding. Where |e| + B is under half of r's unit in the last place (a quarter, towards zero
// from a power of two), Y lies closer to r than any point where the rounding to double changes,
// so Y rounds to r. That leaves 2 or 3 pairs in a hundred of the generated table's sweeps to the
// steps, most of them pairs of zeros, whose signs the steps settle. A sum is the same argument
// with one rounding.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

namespace in_doubles {

// An unevaluated sum of two doubles.
struct Pair {
  double value;
  double error;
};

// a + b = value + error exactly (Knuth's two-sum).
[[gnu::always_inline]] inline Pair ExactSum(double a, double b) {
  const double s = a + b;
  const double bPart = s - a;
  return {s, (a - (s - bPart)) + (b - bPart)};
}

// A factor split into two halves of at most 26 significant bits (Veltkamp): high + low = x,
// and every product of two such halves is exact.
struct Factor {
  double value;
  double high;
  double low;
};
[[gnu::always_inline]] inline Factor Split(double x) {
  const double c = 134217729.0 * x;  // 2^27 + 1
  const double high = c - (c - x);
  return {x, high, x - high};
}

// a b = value + error exactly (Dekker), for |a|, |b| <= 2^451; products below 2^-969 leave an
// error of a few 2^-1074, which the bound's room covers.
[[gnu::always_inline]] inline Pair ExactProduct(double a, const Factor& b) {
  const Factor f = Split(a);
  const double p = a * b.value;
  return {p, ((f.high * b.high - p) + f.high * b.low + f.low * b.high) + f.low * b.low};
}

// 2^-64, and a 2^-10 margin for the rounding of the bound and the pairs' own error.
constexpr double kBoundScale = 0x1p-64 * (1 + 0x1p-10);
constexpr double kLimit = 0x1p450;

// How far the rounding to double keeps a normal double r of this magnitude: half a unit in the
// last place, 2^(exponent - 53), but a quarter towards zero from a power of two, where the units
// below are half as large.
[[gnu::always_inline]] inline double Reach(double magnitude) {
  const uint64_t bits = std::bit_cast<uint64_t>(magnitude);
  return std::bit_cast<double>(bits & 0x7FF0000000000000) *
         ((bits & 0x000FFFFFFFFFFFFF) != 0 ? 0x1p-53 : 0x1p-54);
}

// a + b.
[[gnu::always_inline]] inline bool Sum(double a, double b, double& out) {
  const Pair sum = ExactSum(a, b);
  if (sum.error == 0 && std::isfinite(sum.value)) {
    out = sum.value;  // exact: its own double, zeros and their signs included
    return true;
  }
  const double magnitude = std::fabs(sum.value);
  if (!(magnitude >= 0x1p-1000 && magnitude <= 0x1p1000)) return false;
  if (!(std::fabs(sum.error) + kBoundScale * magnitude < Reach(magnitude))) return false;
  out = sum.value;
  return true;
}

// Whether |x| + g == |x| in the extended type, for g >= 0: g is at most half of |x|'s unit in
// the 64th place (a tie goes to |x|, whose 64-bit significand ends in zeros).
[[gnu::always_inline]] inline bool Negligible(double x, double g, bool& out) {
  const double magnitude = std::fabs(x);
  if (!(g >= 0) || !(magnitude == 0 || (magnitude >= 0x1p-1000 && magnitude <= 0x1p1000)))
    return false;
  out = magnitude == 0 ? g == 0
                       : g <= std::bit_cast<double>(std::bit_cast<uint64_t>(magnitude) &
                                                    0x7FF0000000000000) * 0x1p-64;
  return true;
}

// The x87 unit's double for x (kFirst: g - s(g tau + h)) or y (h + s(g - h tau)), when it is
// certain.
template <bool kFirst>
[[gnu::always_inline]] inline bool Component(double g, double h, const Factor& s, const Factor& tau,
                                             double& out) {
  const Pair product = ExactProduct(kFirst ? g : h, tau);
  const double signedProduct = kFirst ? product.value : -product.value;
  const double signedError = kFirst ? product.error : -product.error;
  const Pair inner = ExactSum(signedProduct, kFirst ? h : g);
  const double innerError = inner.error + signedError;
  const Pair step = ExactProduct(inner.value, s);
  const double stepError = step.error + s.value * innerError;
  const Pair outer = ExactSum(kFirst ? g : h, kFirst ? -step.value : step.value);
  const Pair result = ExactSum(outer.value, outer.error + (kFirst ? -stepError : stepError));

  const double magnitude = std::fabs(result.value);
  if (!(magnitude > 0x1p-900 && magnitude < 0x1p900)) return false;
  const double bound =
      kBoundScale * (std::fabs(s.value) * (std::fabs(product.value) + std::fabs(inner.value)) +
                     std::fabs(step.value) + magnitude);
  if (!(std::fabs(result.error) + bound < Reach(magnitude))) return false;
  out = result.value;
  return true;
}

// Both results, or neither (false) when either is not certain.
[[gnu::always_inline]] inline bool Rotate(double& x, double& y, double s, double tau) {
  if (!(std::fabs(x) <= kLimit && std::fabs(y) <= kLimit && std::fabs(s) <= kLimit &&
        std::fabs(tau) <= kLimit))
    return false;
  const Factor sFactor = Split(s), tauFactor = Split(tau);
  double newX, newY;
  if (!Component<true>(x, y, sFactor, tauFactor, newX) ||
      !Component<false>(x, y, sFactor, tauFactor, newY))
    return false;
  x = newX;
  y = newY;
  return true;
}

}  // namespace in_doubles
