#include "analysis/Components.h"

#include <cmath>

#include "analysis/InDoubles.h"
#include "analysis/UncheckedView.h"

using guarded::Quotient;
using guarded::Store;

// Every expression is evaluated in the extended type Real and rounded to double once, when it is
// stored.
// All loop bounds are the fixed sizes of the table and matrices, so the loops use unchecked views.
// The sums over the table come in two builds: a guarded one that checks every stored sum for
// overflow, and a fast one without those checks for tables whose values cannot make any sum
// overflow (see kSafeMagnitude); both give the same results.

namespace {

using Table = MatrixView<double, kObservations, kTableColumns>;
using ConstTable = MatrixView<const double, kObservations, kTableColumns>;
using Matrix = MatrixView<double, kMaxOrder, kMaxOrder>;
using Vector = VectorView<kMaxOrder>;

constexpr int n = kVariables;

// v (x - mean) + sc, as the fast build stores it: in doubles where the software type's result is
// certain there.
template <typename Real>
double ScoreStep(double v, double x, double mean, double sc) {
  if constexpr (kInDoubles<Real, false>) {
    double out;
    const in_doubles::Pair centred = in_doubles::ExactSum(x, -mean);
    if (in_doubles::ProductSum(v, centred, sc, 2, out)) return out;
  }
  return Round<false>(v * (Real(x) - mean) + sc);
}

// Scores of every observation on component k into column 10 + k, then scaled so that the largest
// absolute score is 0.3.
//
// The score is the projection of the centred observation on the component's direction, the same
// centred data whose cross-products the components diagonalise; raw values would shift every
// score by the projection of the means once an edit moves a mean away from zero.
//   score_j = sum_i V[i][k] (X[j][i] - mean_i), stored after every addition
// The guarded build takes one observation at a time, so that an overflow leaves the scores before
// it written. The fast one, for a table that cannot overflow, runs the twenty sums side by side.
template <typename Real, bool kGuarded>
void Scores(const Table& x, const Matrix& v, const double* mean, int k) {
  const int column = kVariables + k;
  double sc[kObservations + 1];  // 1-based
  if constexpr (kGuarded) {
    for (int j = 1; j <= kObservations; ++j) {
      sc[j] = 0.0;
      for (int i = 1; i <= n; ++i)
        sc[j] = Store(v(i, k) * (Real(x(j, i)) - mean[i]) + sc[j]);
      x(j, column) = sc[j];
    }
  } else {
    for (int j = 1; j <= kObservations; ++j) sc[j] = 0.0;
    for (int i = 1; i <= n; ++i)
      for (int j = 1; j <= kObservations; ++j)
        sc[j] = ScoreStep<Real>(v(i, k), x(j, i), mean[i], sc[j]);
    for (int j = 1; j <= kObservations; ++j) x(j, column) = sc[j];
  }
  double max = 0.0;
  for (int j = 1; j <= kObservations; ++j)
    if (std::fabs(sc[j]) > max) max = std::fabs(sc[j]);
  double f = Store(Quotient(Real(1), max));
  f = Store(kThreeTenths<Real> * f);
  for (int j = 1; j <= kObservations; ++j)
    x(j, column) = Store(Real(x(j, column)) * f);
}

// Table values of at most 2^500 in magnitude give products of at most 2^1000, sums of 20 of them
// and scores far from the double limit: the accumulations then need no overflow checks.
constexpr double kSafeMagnitude = 0x1p500;

bool WithinSafeMagnitude(const ConstTable& x) {
  for (int j = 1; j <= kObservations; ++j)
    for (int i = 1; i <= n; ++i)
      if (!(std::fabs(x(j, i)) <= kSafeMagnitude)) return false;  // NaN fails too
  return true;
}

template <typename Real, bool kGuarded>
void Accumulate(const ConstTable& x, const Vector& s, const Matrix& m) {
  // S[i] = sum_j X[j][i]; M[i][k] = sum_j X[j][i] X[j][k], each sum stored after every addition.
  for (int j = 1; j <= kObservations; ++j) {
    for (int i = 1; i <= n; ++i) {
      if constexpr (kInDoubles<Real, kGuarded>) {
        const double xji = x(j, i);
        if (!in_doubles::Sum(xji, s(i), s(i))) s(i) = Round<false>(Real(xji) + s(i));
        for (int k = i; k <= n; ++k)
          if (!in_doubles::ProductSum(xji, {x(j, k), 0.0}, m(i, k), 1, m(i, k)))
            m(i, k) = Round<false>(Real(xji) * x(j, k) + m(i, k));
      } else {
        const Real xji = x(j, i);
        s(i) = Round<kGuarded>(xji + s(i));
        for (int k = i; k <= n; ++k) m(i, k) = Round<kGuarded>(xji * x(j, k) + m(i, k));
      }
    }
  }
}

template <typename Real>
void CrossProducts(const ConstTable& x, bool bounded, Vector10& S, Matrix10& M) {
  const Vector s(S);
  const Matrix m(M, n);
  for (int i = 1; i <= n; ++i) {
    s(i) = 0.0;
    for (int k = i; k <= n; ++k) m(i, k) = 0.0;
  }
  if (bounded) {
    Accumulate<Real, false>(x, s, m);
  } else {
    Accumulate<Real, true>(x, s, m);
  }
  // M[i][k] -= S[i] S[k] / 20, then mirrored into the lower triangle.
  for (int i = 1; i <= n; ++i)
    for (int k = i; k <= n; ++k)
      m(i, k) = Store(m(i, k) - Real(s(i)) * s(k) / 20);
  for (int i = 1; i <= n; ++i)
    for (int k = 1; k <= i - 1; ++k) m(i, k) = m(k, i);
}

}  // namespace

void CentredCrossProducts(const ObservationTable& X, Vector10& S, Matrix10& M) {
  const ConstTable x(X, kObservations);
  CrossProducts<Extended>(x, WithinSafeMagnitude(x), S, M);
}

template <typename Real>
void ComputeComponentsWith(ObservationTable& X, Vector10& P, Matrix10& V) {
  Vector10& S = P;  // the column sums, then the eigenvalues, then the percentages
  const ConstTable x(X, kObservations);
  const bool bounded = WithinSafeMagnitude(x);
  Matrix10 M;
  CrossProducts<Real>(x, bounded, S, M);

  // The means, kept for the scores before the eigenvalues take the place of the sums.
  const Vector s(S);
  double mean[n + 1];  // 1-based
  for (int i = 1; i <= n; ++i) mean[i] = Store(Real(s(i)) / 20);

  int nrot;
  JacobiWith<Real>(M, n, S, V, nrot);

  // P[k] = 100 lambda_k / (lambda_1 + ... + lambda_10)
  double total = 0.0;
  for (int k = 1; k <= n; ++k) total = Store(Real(total) + s(k));
  const double f = Store(Quotient(Real(100), total));
  for (int k = 1; k <= n; ++k) s(k) = Store(Real(s(k)) * f);

  const Table scores(X, kObservations);
  const Matrix v(V, n);
  if (bounded) {
    Scores<Real, false>(scores, v, mean, 1);
    Scores<Real, false>(scores, v, mean, 2);
  } else {
    Scores<Real, true>(scores, v, mean, 1);
    Scores<Real, true>(scores, v, mean, 2);
  }
}

template void ComputeComponentsWith<SoftExtended>(ObservationTable&, Vector10&, Matrix10&);
#if PCA_HAS_X87
template void ComputeComponentsWith<long double>(ObservationTable&, Vector10&, Matrix10&);
#endif
