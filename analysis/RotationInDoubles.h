// One pair of a plane rotation, x := g - s((g tau) + h) and y := h + s(g - h tau), as the x87
// unit gives it (every step rounded to a 64-bit significand, the result to double), worked out
// in pairs of doubles wherever that is certain to give the same double. The software extended
// type spends a few dozen integer instructions on each of the eight steps; this takes about a
// hundred double operations for the pair, which WebAssembly and every processor run natively.
//
// Each result is computed to about 100 bits, with no rounding to 64 bits in between, as an
// unevaluated sum r + e of two doubles, r the nearer double. The four roundings to 64 bits move
// the x87 value Y away from the exact one E by at most
//   2^-64 (|E| + |s| |g tau| + 2 |s| |g tau + h|)      (for x; y alike)
// to first order; the pairs of doubles are off E by a few 2^-104 of the same terms. Both are
// covered by the bound B computed below from the doubles at hand, with room for its own
// rounding. Where |e| + B is under half of r's unit in the last place (a quarter, towards zero
// from a power of two), Y lies closer to r than any point where the rounding to double changes,
// so Y rounds to r. Elsewhere (2 or 3 pairs in a hundred of the generated table's sweeps, most
// of them pairs of zeros, whose signs the steps settle), and wherever a value leaves the range
// in which the splitting and the error terms are exact, the caller does the steps one by one.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

namespace rotation_in_doubles {

// An unevaluated sum of two doubles.
struct Sum {
  double value;
  double error;
};

// a + b = value + error exactly (Knuth's two-sum).
[[gnu::always_inline]] inline Sum ExactSum(double a, double b) {
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
[[gnu::always_inline]] inline Sum ExactProduct(double a, const Factor& b) {
  const Factor f = Split(a);
  const double p = a * b.value;
  return {p, ((f.high * b.high - p) + f.high * b.low + f.low * b.high) + f.low * b.low};
}

// 2^-64, and a 2^-10 margin for the rounding of the bound and the pairs' own error.
constexpr double kBoundScale = 0x1p-64 * (1 + 0x1p-10);
constexpr double kLimit = 0x1p450;

// The x87 unit's double for x (kFirst: g - s(g tau + h)) or y (h + s(g - h tau)), when it is
// certain.
template <bool kFirst>
[[gnu::always_inline]] inline bool Component(double g, double h, const Factor& s, const Factor& tau,
                                             double& out) {
  const Sum product = ExactProduct(kFirst ? g : h, tau);
  const double signedProduct = kFirst ? product.value : -product.value;
  const double signedError = kFirst ? product.error : -product.error;
  const Sum inner = ExactSum(signedProduct, kFirst ? h : g);
  const double innerError = inner.error + signedError;
  const Sum step = ExactProduct(inner.value, s);
  const double stepError = step.error + s.value * innerError;
  const Sum outer = ExactSum(kFirst ? g : h, kFirst ? -step.value : step.value);
  const Sum result = ExactSum(outer.value, outer.error + (kFirst ? -stepError : stepError));

  const double magnitude = std::fabs(result.value);
  if (!(magnitude > 0x1p-900 && magnitude < 0x1p900)) return false;
  const double bound =
      kBoundScale * (std::fabs(s.value) * (std::fabs(product.value) + std::fabs(inner.value)) +
                     std::fabs(step.value) + magnitude);
  // How far the rounding to double keeps r: half a unit in the last place, 2^(exponent - 53),
  // but a quarter towards zero from a power of two, where the units below are half as large.
  const uint64_t bits = std::bit_cast<uint64_t>(magnitude);
  const double reach = std::bit_cast<double>(bits & 0x7FF0000000000000) *
                       ((bits & 0x000FFFFFFFFFFFFF) != 0 ? 0x1p-53 : 0x1p-54);
  if (!(std::fabs(result.error) + bound < reach)) return false;
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

}  // namespace rotation_in_doubles
