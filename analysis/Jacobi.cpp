#include "analysis/Jacobi.h"

#include <cmath>
#include <type_traits>
#include <utility>

#include "analysis/InDoubles.h"
#include "analysis/UncheckedView.h"

using guarded::Store;

// Every expression below is evaluated in the extended type Real and rounded to double once, when
// it is stored; a sum that starts from a double promotes its first operand so that it is extended
// too.
//
// The sweeps come in two builds of the same arithmetic.
//
// The guarded build checks every stored value for overflow and every division and square root,
// and does everything in the plain order, so that a fault comes exactly where it arises.
//
// The fast build is used only when every input entry is at most 2^1000 in magnitude, and leaves
// those checks out: no value can then overflow (see kSafeMagnitude), a rotation divides only by a
// non-zero A[p][q] (larger than the threshold), by a non-zero h (one that g, being positive, is
// lost against) or by numbers of at least 1, takes square roots of numbers of at least 1 only,
// and theta stays below 50 x 2^64, since g is not lost against h where it is formed. It also
// reorders work that touches different elements, so that the long chain of divisions and square
// roots of each rotation overlaps other work; every element still sees the same operations in
// the same order, so the results are the same to the bit:
// - a rotation of (p, q) at once rotates only the pair holding A[p][q+1], the next candidate;
//   its other pairs of A follow when anything else is about to read or rotate A;
// - its pairs of V follow at the next rotation (V is read by nothing but the final sort);
// - the first candidate of row p+1, (p+1, p+2), is worked out while row p is still at (p, p+3):
//   no later step of row p touches A[p+1][p+2], d[p+1] or d[p+2].
// With the software extended type, the fast build also takes each pair, sum and rotation's
// numbers in doubles wherever that is certain to give the x87 unit's double (InDoubles.h), and
// the extended steps elsewhere.

namespace {

constexpr int kMaxSweeps = 50;

// Rotations keep the Frobenius norm of the matrix, at most 10 x 2^1000 for such input, up to a
// relative growth of a few units of rounding per rotation, under 1e-11 over 50 full sweeps. Every
// element, diagonal entry, accumulated diagonal change (at most 2250 rotations of at most the
// norm) and off-diagonal sum then stays below 2^1020, far from the double limit near 2^1024.
constexpr double kSafeMagnitude = 0x1p1000;

using Matrix = MatrixView<double, kMaxOrder, kMaxOrder>;
using Vector = VectorView<kMaxOrder>;

template <typename Real>
Real Abs(double x) { return extended::Abs(Real(x)); }

// |x| + g == |x| with the sum kept in extended precision: g is lost against x.
template <typename Real>
bool Negligible(double x, double g) {
  if constexpr (std::is_same_v<Real, SoftExtended>) {
    bool negligible;
    if (in_doubles::Negligible(x, g, negligible)) return negligible;
  }
  return Abs<Real>(x) + g == Abs<Real>(x);
}

// x := g - s((g tau) + h); y := h + s(g - h tau), both from the saved g = x and h = y.
// The two formulas are taken a step each in turn: the same operations, but the two independent
// chains overlap, which the software extended type, whose every step is long, gains most from.
template <typename Real, bool kGuarded>
void RotatePairInSteps(double& x, double& y, double s, double tau) {
  const Real g = x;
  const Real h = y;
  const Real gTau = g * tau, hTau = h * tau;
  const Real xInner = gTau + h, yInner = g - hTau;
  const Real xStep = s * xInner, yStep = s * yInner;
  x = Round<kGuarded>(g - xStep);
  y = Round<kGuarded>(h + yStep);
}

// The software type's steps are long; in its fast sweeps nearly every pair is certain in
// doubles, and the steps, out of line, are left for the rest.
template <typename Real, bool kGuarded>
[[gnu::noinline]] void RotatePairRarely(double& x, double& y, double s, double tau) {
  RotatePairInSteps<Real, kGuarded>(x, y, s, tau);
}

template <typename Real, bool kGuarded>
[[gnu::always_inline]] inline void RotatePair(double& x, double& y, double s, double tau) {
  if constexpr (kInDoubles<Real, kGuarded>) {
    if (in_doubles::Rotate(x, y, s, tau)) [[likely]] return;
    RotatePairRarely<Real, kGuarded>(x, y, s, tau);
  } else {
    RotatePairInSteps<Real, kGuarded>(x, y, s, tau);
  }
}

// A rotation of (p, q) with part of its work still to be done; p == 0: none.
struct Rotation {
  int p = 0;
  int q = 0;
  double s = 0.0;
  double tau = 0.0;
};

// What one candidate of a sweep comes to: left as it is, dropped as negligible, or rotated with
// s, tau and the change h of the diagonal entries.
struct Step {
  enum Kind { kUnknown, kKeep, kDrop, kRotate } kind = kUnknown;
  double s = 0.0;
  double tau = 0.0;
  double h = 0.0;
};

template <typename Real, bool kGuarded>
class Sweeps {
 public:
  Sweeps(const Matrix& a, int n, const Vector& d, double* z, const Matrix& v)
      : a_(a), n_(n), d_(d), z_(z), v_(v) {}

  // Runs sweeps until the off-diagonal sum is exactly 0 at the start of one (true) or 50 sweeps
  // are done (false); nrot counts the rotations.
  bool Run(int& nrot) {
    // Only the guarded build can fault. The fast one stays out of a try block, where every call
    // that the compiler cannot prove free of exceptions would cost a detour through JavaScript in
    // WebAssembly (emscripten's exceptions).
    if constexpr (!kGuarded) return Finished(Iterate(nrot));
    try {
      return Finished(Iterate(nrot));
    } catch (const guarded::ArithmeticError&) {
      FinishV();  // V as it stood when the fault came
      throw;
    }
  }

 private:
  // The operations of this build.
  static double Rounded(Real x) { return Round<kGuarded>(x); }
  // Rounded(Real(a) + b)
  static double RoundedSum(double a, double b) {
    if constexpr (kInDoubles<Real, kGuarded>) {
      double sum;
      if (in_doubles::Sum(a, b, sum)) return sum;
    }
    return Rounded(Real(a) + b);
  }
  static Real Div(Real num, Real den) { return Divide<kGuarded>(num, den); }
  static Real Sqrt(Real x) { return Root<kGuarded>(x); }

  bool Iterate(int& nrot) {
    for (int sweep = 1; sweep <= kMaxSweeps; ++sweep) {
      double threshold = 0.0;
      if (sweep < 4) {
        // The first three sweeps rotate only elements above a fifth of the mean off-diagonal size.
        const double sum = OffDiagonalSum();
        if (sum == 0.0) return true;
        threshold = Rounded(kTwoTenths<Real> * sum / (n_ * n_));
      } else if (kGuarded ? OffDiagonalSum() == 0.0 : !AnyOffDiagonal()) {
        return true;
      }
      Step ahead;  // the first step of row p, when it has been worked out in advance
      for (int p = 1; p <= n_ - 1; ++p) {
        for (int q = p + 1; q <= n_; ++q) {
          // Right after the rotation of (p, q-1), A[p][q] is already up to date.
          if (!(unfinishedA_.p == p && unfinishedA_.q == q - 1)) FinishA();
          const Step step = q == p + 1 && ahead.kind != Step::kUnknown
                                ? std::exchange(ahead, Step{})
                                : Evaluate(p, q, sweep, threshold);
          if (!kGuarded && q == p + 3) {
            FinishA();
            ahead = Evaluate(p + 1, p + 2, sweep, threshold);
          }
          Apply(p, q, step, nrot);
        }
      }
      FinishA();
    }
    return false;
  }

  bool Finished(bool converged) {
    FinishA();
    FinishV();
    return converged;
  }

  // Sum of |A[p][q]| over the strict upper triangle, stored after every addition.
  double OffDiagonalSum() const {
    double sum = 0.0;
    for (int p = 1; p <= n_ - 1; ++p)
      for (int q = p + 1; q <= n_; ++q) sum = RoundedSum(std::fabs(a_(p, q)), sum);
    return sum;
  }

  // Whether that sum is non-zero, when it cannot overflow: a sum of magnitudes rounded after each
  // addition is zero exactly when every term is.
  bool AnyOffDiagonal() const {
    for (int p = 1; p <= n_ - 1; ++p)
      for (int q = p + 1; q <= n_; ++q)
        if (a_(p, q) != 0.0) return true;
    return false;
  }

  // What the candidate (p, q) of a sweep comes to, worked out from the state before it is
  // treated, without changing anything.
  Step Evaluate(int p, int q, int sweep, double threshold) const {
    const double apq = a_(p, q);
    // 100 |A[p][q]| is exact in 64 bits, so that its double is the double product's.
    const double g =
        kInDoubles<Real, kGuarded> ? 100 * std::fabs(apq) : Rounded(100 * Abs<Real>(apq));
    // From the fifth sweep on, an element lost against both diagonal entries is dropped.
    if (sweep > 4 && Negligible<Real>(d_(p), g) && Negligible<Real>(d_(q), g)) return {Step::kDrop};
    if (!(std::fabs(apq) > threshold)) return {Step::kKeep};

    // The rotation that annihilates A[p][q].
    const double h = RoundedSum(d_(q), -d_(p));
    const bool lost = Negligible<Real>(h, g);
    if constexpr (kInDoubles<Real, kGuarded>) {
      in_doubles::RotationNumbers numbers;
      if (in_doubles::Rotation(apq, h, lost, numbers))
        return {Step::kRotate, numbers.s, numbers.tau, numbers.change};
    }
    double t;
    if (lost) {
      t = Rounded(Div(apq, h));  // t = 1 / (2 theta), theta too large to square
    } else {
      // theta = (d[q] - d[p]) / (2 A[p][q]); t = sgn(theta) / (|theta| + sqrt(theta^2 + 1)),
      // the sign taken as the numerator (exact, and rounding to nearest is symmetric)
      const double theta = Rounded(Div(Real(0.5) * h, apq));
      const Real sign = Real(1 - 2 * static_cast<int>(theta < 0));
      const Real root = Sqrt(Real(theta) * theta + 1);
      t = Rounded(Div(sign, Abs<Real>(theta) + root));
    }
    const double c = Rounded(Div(Real(1), Sqrt(Real(t) * t + 1)));
    const double s = Rounded(Real(t) * c);
    const double tau = Rounded(Div(Real(s), Real(1) + c));
    return {Step::kRotate, s, tau, Rounded(Real(t) * apq)};
  }

  void Apply(int p, int q, const Step& step, int& nrot) {
    if (step.kind == Step::kDrop) a_(p, q) = 0.0;
    if (step.kind != Step::kRotate) return;
    FinishA();
    const double h = step.h;
    z_[p] = RoundedSum(z_[p], -h);
    z_[q] = RoundedSum(z_[q], h);
    d_(p) = RoundedSum(d_(p), -h);
    d_(q) = RoundedSum(d_(q), h);
    a_(p, q) = 0.0;

    FinishV();
    const Rotation rotation = {p, q, step.s, step.tau};
    if constexpr (kGuarded) {
      RotateA(rotation, 0);
    } else {
      if (q < n_) RotatePair<Real, false>(a_(p, q + 1), a_(q, q + 1), step.s, step.tau);
      unfinishedA_ = rotation;
    }
    unfinishedV_ = rotation;
    ++nrot;
  }

  // The pairs of A in rows and columns p and q, in the order j = 1..n, all but j = skip of the
  // last group. Only the upper triangle is kept up to date: an element (r, c) with r > c is
  // reached as (c, r).
  void RotateA(const Rotation& r, int skip) {
    const int p = r.p;
    const int q = r.q;
    for (int j = 1; j <= p - 1; ++j) RotatePair<Real, kGuarded>(a_(j, p), a_(j, q), r.s, r.tau);
    for (int j = p + 1; j <= q - 1; ++j) RotatePair<Real, kGuarded>(a_(p, j), a_(j, q), r.s, r.tau);
    for (int j = q + 1; j <= n_; ++j)
      if (j != skip) RotatePair<Real, kGuarded>(a_(p, j), a_(q, j), r.s, r.tau);
  }

  // The pairs of A the last rotation left for later (fast build).
  void FinishA() {
    if (unfinishedA_.p == 0) return;
    const Rotation r = std::exchange(unfinishedA_, Rotation{});
    RotateA(r, r.q + 1);
  }

  // The pairs of V of the last rotation.
  void FinishV() {
    if (unfinishedV_.p == 0) return;
    const Rotation r = std::exchange(unfinishedV_, Rotation{});
    for (int j = 1; j <= n_; ++j) RotatePair<Real, kGuarded>(v_(j, r.p), v_(j, r.q), r.s, r.tau);
  }

  const Matrix& a_;
  const int n_;
  const Vector& d_;
  double* const z_;
  const Matrix& v_;
  Rotation unfinishedA_;
  Rotation unfinishedV_;
};

bool WithinSafeMagnitude(const Matrix& a, int n) {
  for (int p = 1; p <= n; ++p)
    for (int q = p; q <= n; ++q)
      if (!(std::fabs(a(p, q)) <= kSafeMagnitude)) return false;  // NaN fails too
  return true;
}

// Descending selection sort of d[1..n], carrying the columns of V along. Among equal largest
// values the one with the highest index is taken, and equal values are still exchanged.
void SortDescending(const Vector& d, const Matrix& v, int n) {
  for (int i = 1; i <= n - 1; ++i) {
    int k = i;
    double m = d(i);
    for (int j = i + 1; j <= n; ++j) {
      if (d(j) >= m) {
        k = j;
        m = d(j);
      }
    }
    if (k != i) {
      d(k) = d(i);
      d(i) = m;
      for (int j = 1; j <= n; ++j) std::swap(v(j, i), v(j, k));
    }
  }
}

}  // namespace

template <typename Real>
void JacobiWith(Matrix10& A, int n, Vector10& d, Matrix10& V, int& nrot) {
  // V := identity of order n. Checked access: an order above 10 ends the call here with a range
  // error, and every loop after this one is proven to stay inside the arrays.
  for (int p = 1; p <= n; ++p) {
    for (int q = 1; q <= n; ++q) V[p][q] = 0.0;
    V[p][p] = 1.0;
  }
  const Matrix a(A, n);
  const Matrix v(V, n);
  const Vector dv(d);

  // b: the diagonal at entry; z: the change each diagonal entry has taken since.
  double b[kMaxOrder + 1];  // 1-based
  double z[kMaxOrder + 1];
  for (int p = 1; p <= n; ++p) {
    b[p] = a(p, p);
    dv(p) = b[p];
    z[p] = 0.0;
  }
  nrot = 0;

  const bool converged = WithinSafeMagnitude(a, n) ? Sweeps<Real, false>(a, n, dv, z, v).Run(nrot)
                                                   : Sweeps<Real, true>(a, n, dv, z, v).Run(nrot);
  if (!converged) {
    // Sweep limit: take the diagonal as its entry value plus the accumulated changes.
    for (int p = 1; p <= n; ++p) {
      b[p] = Store(Real(b[p]) + z[p]);
      dv(p) = b[p];
      z[p] = 0.0;
    }
  }
  SortDescending(dv, v, n);
}

template void JacobiWith<SoftExtended>(Matrix10&, int, Vector10&, Matrix10&, int&);
#if PCA_HAS_X87
template void JacobiWith<long double>(Matrix10&, int, Vector10&, Matrix10&, int&);
#endif
