#include "analysis/Components.h"

#include <cmath>

#include "analysis/UncheckedView.h"

using guarded::Quotient;
using guarded::Store;

// Every expression is evaluated in long double and rounded to double once, when it is stored.
// All loop bounds are the fixed sizes of the table and matrices, so the loops use unchecked views.

namespace {

using Table = MatrixView<double, kObservations, kTableColumns>;
using ConstTable = MatrixView<const double, kObservations, kTableColumns>;
using Matrix = MatrixView<double, kMaxOrder, kMaxOrder>;
using Vector = VectorView<kMaxOrder>;

constexpr int n = kVariables;

// Scores of every observation on component k into column 10 + k, then scaled so that the largest
// absolute score is 0.3.
void Scores(const Table& x, const Matrix& v, const double* mean, int k) {
  const int column = kVariables + k;
  double max = 0.0;
  for (int j = 1; j <= kObservations; ++j) {
    // The score is the projection of the centred observation on the component's direction, the
    // same centred data whose cross-products the components diagonalise; raw values would shift
    // every score by the projection of the means once an edit moves a mean away from zero.
    // score = sum_i V[i][k] (X[j][i] - mean_i)
    double sc = 0.0;
    for (int i = 1; i <= n; ++i)
      sc = Store(v(i, k) * (static_cast<long double>(x(j, i)) - mean[i]) + sc);
    x(j, column) = sc;
    if (std::fabs(sc) > max) max = std::fabs(sc);
  }
  double f = Store(Quotient(1.0L, max));
  f = Store(0.3L * f);
  for (int j = 1; j <= kObservations; ++j)
    x(j, column) = Store(static_cast<long double>(x(j, column)) * f);
}

}  // namespace

void CentredCrossProducts(const ObservationTable& X, Vector10& S, Matrix10& M) {
  const ConstTable x(X, kObservations);
  const Vector s(S);
  const Matrix m(M, n);

  for (int i = 1; i <= n; ++i) {
    s(i) = 0.0;
    for (int k = i; k <= n; ++k) m(i, k) = 0.0;
  }
  // S[i] = sum_j X[j][i]; M[i][k] = sum_j X[j][i] X[j][k], each sum stored after every addition.
  for (int j = 1; j <= kObservations; ++j) {
    for (int i = 1; i <= n; ++i) {
      const long double xji = x(j, i);
      s(i) = Store(xji + s(i));
      for (int k = i; k <= n; ++k) m(i, k) = Store(xji * x(j, k) + m(i, k));
    }
  }
  // M[i][k] -= S[i] S[k] / 20, then mirrored into the lower triangle.
  for (int i = 1; i <= n; ++i)
    for (int k = i; k <= n; ++k)
      m(i, k) = Store(m(i, k) - static_cast<long double>(s(i)) * s(k) / 20);
  for (int i = 1; i <= n; ++i)
    for (int k = 1; k <= i - 1; ++k) m(i, k) = m(k, i);
}

void ComputeComponents(ObservationTable& X, Vector10& P, Matrix10& V) {
  Vector10& S = P;  // the column sums, then the eigenvalues, then the percentages
  Matrix10 M;
  CentredCrossProducts(X, S, M);

  // The means, kept for the scores before the eigenvalues take the place of the sums.
  const Vector s(S);
  double mean[n + 1];  // 1-based
  for (int i = 1; i <= n; ++i) mean[i] = Store(static_cast<long double>(s(i)) / 20);

  int nrot;
  Jacobi(M, n, S, V, nrot);

  // P[k] = 100 lambda_k / (lambda_1 + ... + lambda_10)
  double total = 0.0;
  for (int k = 1; k <= n; ++k) total = Store(static_cast<long double>(total) + s(k));
  const double f = Store(Quotient(100.0L, total));
  for (int k = 1; k <= n; ++k) s(k) = Store(static_cast<long double>(s(k)) * f);

  const Table x(X, kObservations);
  const Matrix v(V, n);
  Scores(x, v, mean, 1);
  Scores(x, v, mean, 2);
}
