#include "analysis/Jacobi.h"

#include <cmath>
#include <utility>

#include "analysis/UncheckedView.h"

using guarded::Quotient;
using guarded::SquareRoot;
using guarded::Store;

// Every expression below is evaluated in long double and rounded to double once, when it is
// stored; a sum that starts from a double promotes its first operand so that it is extended too.

namespace {

constexpr int kMaxSweeps = 50;

using Matrix = MatrixView<double, kMaxOrder, kMaxOrder>;
using Vector = VectorView<kMaxOrder>;

long double Abs(double x) { return std::fabs(static_cast<long double>(x)); }

// |x| + g == |x| with the sum kept in extended precision: g is lost against x.
bool Negligible(double x, double g) { return Abs(x) + g == Abs(x); }

// x := g - s((g tau) + h); y := h + s(g - h tau), both from the saved g = x and h = y.
void RotatePair(double& x, double& y, double s, double tau) {
  const long double g = x;
  const long double h = y;
  x = Store(g - s * (g * tau + h));
  y = Store(h + s * (g - h * tau));
}

// Annihilates A[p][q] (p < q) by one plane rotation; g is 100 |A[p][q]|.
void Rotate(const Matrix& a, int n, const Vector& d, double* z, const Matrix& v, int p, int q,
            double g) {
  const double apq = a(p, q);
  double h = Store(static_cast<long double>(d(q)) - d(p));
  double t;
  if (Negligible(h, g)) {
    t = Store(Quotient(apq, h));  // t = 1 / (2 theta), theta too large to square
  } else {
    // theta = (d[q] - d[p]) / (2 A[p][q]); t = sgn(theta) / (|theta| + sqrt(theta^2 + 1))
    const double theta = Store(Quotient(0.5L * h, apq));
    t = Store(Quotient(1.0L, Abs(theta) + SquareRoot(static_cast<long double>(theta) * theta + 1)));
    if (theta < 0) t = -t;
  }
  const double c = Store(Quotient(1.0L, SquareRoot(static_cast<long double>(t) * t + 1)));
  const double s = Store(static_cast<long double>(t) * c);
  const double tau = Store(Quotient(s, 1.0L + c));
  h = Store(static_cast<long double>(t) * apq);

  z[p] = Store(static_cast<long double>(z[p]) - h);
  z[q] = Store(static_cast<long double>(z[q]) + h);
  d(p) = Store(static_cast<long double>(d(p)) - h);
  d(q) = Store(static_cast<long double>(d(q)) + h);
  a(p, q) = 0.0;

  // Only the upper triangle is kept up to date: an element (r, c) with r > c is reached as (c, r).
  for (int j = 1; j <= p - 1; ++j) RotatePair(a(j, p), a(j, q), s, tau);
  for (int j = p + 1; j <= q - 1; ++j) RotatePair(a(p, j), a(j, q), s, tau);
  for (int j = q + 1; j <= n; ++j) RotatePair(a(p, j), a(q, j), s, tau);
  for (int j = 1; j <= n; ++j) RotatePair(v(j, p), v(j, q), s, tau);
}

// Sum of |A[p][q]| over the strict upper triangle, stored after every addition.
double OffDiagonalSum(const Matrix& a, int n) {
  double sum = 0.0;
  for (int p = 1; p <= n - 1; ++p)
    for (int q = p + 1; q <= n; ++q) sum = Store(Abs(a(p, q)) + sum);
  return sum;
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

void Jacobi(Matrix10& A, int n, Vector10& d, Matrix10& V, int& nrot) {
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

  bool converged = false;
  for (int sweep = 1; sweep <= kMaxSweeps; ++sweep) {
    const double sum = OffDiagonalSum(a, n);
    if (sum == 0.0) {
      converged = true;
      break;
    }
    // The first three sweeps rotate only elements above a fifth of the mean off-diagonal size.
    const double threshold = sweep < 4 ? Store(0.2L * sum / (n * n)) : 0.0;
    for (int p = 1; p <= n - 1; ++p) {
      for (int q = p + 1; q <= n; ++q) {
        const double g = Store(100 * Abs(a(p, q)));
        // From the fifth sweep on, an element lost against both diagonal entries is dropped.
        if (sweep > 4 && Negligible(dv(p), g) && Negligible(dv(q), g)) {
          a(p, q) = 0.0;
        } else if (std::fabs(a(p, q)) > threshold) {
          Rotate(a, n, dv, z, v, p, q, g);
          ++nrot;
        }
      }
    }
  }
  if (!converged) {
    // Sweep limit: take the diagonal as its entry value plus the accumulated changes.
    for (int p = 1; p <= n; ++p) {
      b[p] = Store(static_cast<long double>(b[p]) + z[p]);
      dv(p) = b[p];
      z[p] = 0.0;
    }
  }
  SortDescending(dv, v, n);
}
