// Steps of the analysis's fast loops (the Jacobi sweeps, the cross-products, the scores) as the
// x87 unit gives them (every operation rounded to a 64-bit significand, the result to double),
// worked out in doubles wherever that is certain to give the same double, for the software
// extended type, whose every operation takes a few dozen integer instructions where a double
// operation takes one. Each function returns false, and leaves its result alone, where it cannot
// be certain; the caller then takes the steps one by one. The error-free sums and products below
// need every double operation rounded on its own: the build never fuses a multiply and an add.
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
// so Y rounds to r. That leaves 3 pairs in a thousand of the generated table's sweeps to the
// steps; a pair of zeros stays exact in doubles. A sum is the same argument with one rounding.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

namespace in_doubles {

// Two doubles side by side: the rotation works out x and y at once, in the two lanes of a
// vector register where the processor has them (SSE2, NEON, WebAssembly's SIMD).
using Doubles = double __attribute__((vector_size(16)));
using Words = uint64_t __attribute__((vector_size(16)));
using Masks = int64_t __attribute__((vector_size(16)));

// An unevaluated sum of two doubles (or of two such pairs, lane by lane).
template <typename T>
struct PairOf {
  T value;
  T error;
};
using Pair = PairOf<double>;

// a + b = value + error exactly (Knuth's two-sum).
template <typename T>
[[gnu::always_inline]] inline PairOf<T> ExactSum(T a, T b) {
  const T s = a + b;
  const T bPart = s - a;
  return {s, (a - (s - bPart)) + (b - bPart)};
}

// A factor split into two halves of at most 26 significant bits (Veltkamp): high + low = x,
// and every product of two such halves is exact.
struct Factor {
  double value;
  double high;
  double low;
};
template <typename T>
[[gnu::always_inline]] inline PairOf<T> Halves(T x) {
  const T c = 134217729.0 * x;  // 2^27 + 1
  const T high = c - (c - x);
  return {high, x - high};
}
[[gnu::always_inline]] inline Factor Split(double x) {
  const Pair halves = Halves(x);
  return {x, halves.value, halves.error};
}

// a b = value + error exactly (Dekker), for |a|, |b| <= 2^451; products below 2^-969 leave an
// error of a few 2^-1074, which the bound's room covers.
template <typename T>
[[gnu::always_inline]] inline PairOf<T> ExactProduct(T a, const Factor& b) {
  const PairOf<T> f = Halves(a);
  const T p = a * b.value;
  return {p, ((f.value * b.high - p) + f.value * b.low + f.error * b.high) + f.error * b.low};
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

// The double the x87 unit stores for a value Y that its roundings to 64 bits leave within
// 2^-64 (spread + |E|) of the exact value E, when x, an unevaluated pair, comes within a few
// 2^-104 of E (relative to |E| or to the terms of spread).
[[gnu::always_inline]] inline bool Certain(Pair x, double spread, double& out) {
  const Pair r = ExactSum(x.value, x.error);
  const double magnitude = std::fabs(r.value);
  if (!(magnitude >= 0x1p-900 && magnitude <= 0x1p900)) return false;
  const double bound = kBoundScale * (spread + magnitude) + 0x1p-90 * magnitude;
  if (!(std::fabs(r.error) + bound < Reach(magnitude))) return false;
  out = r.value;
  return true;
}

// a + b.
[[gnu::always_inline]] inline bool Sum(double a, double b, double& out) {
  const Pair sum = ExactSum(a, b);
  if (sum.error == 0 && std::isfinite(sum.value)) {
    out = sum.value;  // exact: its own double, zeros and their signs included
    return true;
  }
  // Already the nearer double and its rest: only the bound to test.
  const double magnitude = std::fabs(sum.value);
  if (!(magnitude >= 0x1p-900 && magnitude <= 0x1p900)) return false;
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

// a b + c, with the product rounded to 64 bits, then the sum; b given as an exact pair, whose
// own rounding to 64 bits (when it is a result too) the caller counts in k: the unit's value is
// within 2^-64 (k |a b| + |a b + c|) of the exact one.
[[gnu::always_inline]] inline bool ProductSum(double a, Pair b, double c, int k, double& out) {
  if (!(std::fabs(a) <= kLimit && std::fabs(b.value) <= kLimit && std::fabs(c) <= 0x1p900))
    return false;
  const Pair product = ExactProduct(b.value, Split(a));
  const Pair sum = ExactSum(product.value, c);
  if (sum.error == 0 && product.error == 0 && b.error == 0 && std::isfinite(sum.value)) {
    out = sum.value;  // every step exact: its own double, zeros and their signs included
    return true;
  }
  const Pair result = {sum.value, sum.error + (product.error + a * b.error)};
  return Certain(result, k * std::fabs(product.value), out);
}

[[gnu::always_inline]] inline Doubles Magnitude(Doubles v) {
  return (Doubles)((Words)v & 0x7FFFFFFFFFFFFFFF);
}

// The rotation's pair, or nothing (false) when either result is not certain. Lane 0 is
// x = g - s(g tau + h), lane 1 is y = h + s(-(h tau) + g): the same steps with other signs.
[[gnu::always_inline]] inline bool Rotate(double& x, double& y, double s, double tau) {
  if (!(std::fabs(x) <= kLimit && std::fabs(y) <= kLimit && std::fabs(s) <= kLimit &&
        std::fabs(tau) <= kLimit))
    return false;
  if (x == 0 && y == 0) {  // every step exact, zeros signed as the unit signs them
    const double g = x, h = y;
    x = g - s * (g * tau + h);
    y = h + s * (g - h * tau);
    return true;
  }
  const Factor sFactor = Split(s), tauFactor = Split(tau);
  const Doubles base = {x, y}, other = {y, x}, signs = {1.0, -1.0};

  const PairOf<Doubles> product = ExactProduct(base, tauFactor);
  const PairOf<Doubles> inner = ExactSum(signs * product.value, other);
  const Doubles innerError = inner.error + signs * product.error;
  const PairOf<Doubles> step = ExactProduct(inner.value, sFactor);
  const Doubles stepError = step.error + s * innerError;
  const PairOf<Doubles> outer = ExactSum(base, -signs * step.value);
  const PairOf<Doubles> result = ExactSum(outer.value, outer.error - signs * stepError);

  const Doubles magnitude = Magnitude(result.value);
  const Doubles bound =
      kBoundScale * (std::fabs(s) * (Magnitude(product.value) + Magnitude(inner.value)) +
                     Magnitude(step.value) + magnitude);
  // Reach, lane by lane: a quarter unit, doubled where the significand is no power of two.
  const Words bits = (Words)magnitude;
  const Doubles quarter = (Doubles)(bits & 0x7FF0000000000000) * 0x1p-54;
  const Masks fraction = (bits & 0x000FFFFFFFFFFFFF) != 0;
  const Doubles reach = quarter + (Doubles)((Words)quarter & (Words)fraction);
  const Masks certain = (magnitude > 0x1p-900) & (magnitude < 0x1p900) &
                        (Magnitude(result.error) + bound < reach);
  if (!(certain[0] & certain[1])) return false;
  x = result.value[0];
  y = result.value[1];
  return true;
}

// ---- The numbers of a rotation -------------------------------------------------------------
// Each is one exact value (a quotient, a root, a product of stored doubles) that the x87 unit
// reaches through k roundings to 64 bits, k = 1 to 4. Its operations only multiply, divide, take
// roots and add positive terms, so the unit's value is within k 2^-64 of the exact one,
// relatively (to first order; the bound's margin takes the rest). The pairs of doubles below
// come within a few 2^-104 of the exact value.

// The stored double of such a value, x approximating it, after k roundings.
[[gnu::always_inline]] inline bool CertainAfter(int k, Pair x, double& out) {
  return Certain(x, (k - 1) * std::fabs(x.value), out);
}

// n / d to about 104 bits (the remainder n - q d of a rounded quotient is exact).
[[gnu::always_inline]] inline Pair Quotient(double n, Pair d) {
  const double q = n / d.value;
  const Pair product = ExactProduct(q, Split(d.value));
  const double rest = ((n - product.value) - product.error) - q * d.error;
  return {q, rest / d.value};
}

// sqrt(x) for a positive pair, to about 104 bits: one Newton step from the double root.
[[gnu::always_inline]] inline Pair SquareRoot(Pair x) {
  const double r = std::sqrt(x.value);
  const Pair square = ExactProduct(r, Split(r));
  const double rest = ((x.value - square.value) - square.error) + x.error;
  return {r, rest / (2 * r)};
}

// x^2 + 1 to about 104 bits.
[[gnu::always_inline]] inline Pair SquarePlusOne(double x) {
  const Pair square = ExactProduct(x, Split(x));
  const Pair sum = ExactSum(square.value, 1.0);
  return {sum.value, sum.error + square.error};
}

// What the sweeps store for a rotation that annihilates A[p][q] = apq, with h = d[q] - d[p]
// stored and `lost` telling whether h is lost against 100 |apq|:
//   t = apq / h when lost, else sgn(theta) / (|theta| + sqrt(theta^2 + 1)), theta = h / (2 apq);
//   c = 1 / sqrt(t^2 + 1); s = t c; tau = s / (1 + c); and t apq, the change of the diagonal.
struct RotationNumbers {
  double s;
  double tau;
  double change;
};
[[gnu::always_inline]] inline bool Rotation(double apq, double h, bool lost, RotationNumbers& out) {
  const double apqSize = std::fabs(apq), hSize = std::fabs(h);
  if (!(apqSize >= 0x1p-400 && apqSize <= 0x1p400 && hSize >= 0x1p-400 && hSize <= 0x1p400))
    return false;
  double t;
  if (lost) {
    if (!CertainAfter(1, Quotient(apq, {h, 0.0}), t)) return false;
  } else {
    const Pair quotient = Quotient(h, {apq, 0.0});
    double theta;  // the halving is exact here
    if (!CertainAfter(1, {0.5 * quotient.value, 0.5 * quotient.error}, theta)) return false;
    const Pair root = SquareRoot(SquarePlusOne(theta));
    const Pair sum = ExactSum(std::fabs(theta), root.value);
    const Pair denominator = {sum.value, sum.error + root.error};
    if (!CertainAfter(4, Quotient(theta < 0 ? -1.0 : 1.0, denominator), t)) return false;
  }
  double c;
  if (!CertainAfter(3, Quotient(1.0, SquareRoot(SquarePlusOne(t))), c)) return false;
  const Factor tFactor = Split(t);
  if (!CertainAfter(1, ExactProduct(c, tFactor), out.s)) return false;
  const Pair onePlusC = ExactSum(1.0, c);
  if (!CertainAfter(2, Quotient(out.s, onePlusC), out.tau)) return false;
  return CertainAfter(1, ExactProduct(apq, tFactor), out.change);
}

}  // namespace in_doubles
