// Eigenvalues and eigenvectors of a real symmetric matrix of order up to 10 by the cyclic Jacobi
// method.
#pragma once

#include "analysis/Guarded.h"

constexpr int kMaxOrder = 10;

using Vector10 = guarded::Array<double, kMaxOrder>;                  // v[1..10]
using Matrix10 = guarded::Array<guarded::Array<double, kMaxOrder>, kMaxOrder>;  // m[row][column]

// Evaluated in a chosen extended type: SoftExtended, or long double where that is the
// x87 type (PCA_HAS_X87). Both give the same bits; the function below uses Extended.
template <typename Real>
void JacobiWith(Matrix10& A, int n, Vector10& d, Matrix10& V, int& nrot);

// Diagonalises the symmetric matrix A of order n by plane rotations, sweeping the strict upper
// triangle row by row, and returns the eigenvalues in d[1..n], largest first, with the matching
// unit eigenvectors as the columns of V.
//
// Only the diagonal and the strict upper triangle of A are read; the strict lower triangle is
// neither read nor written, and the diagonal is left as it was. The strict upper triangle is
// driven to zero (exactly zero on a normal return). nrot receives the number of rotations made.
// Entries of d and V beyond n are not touched.
//
// n <= 0 sets nrot to 0 and returns; n > 10 raises "Range check error". The iteration stops
// when the off-diagonal sum is exactly zero at the start of a sweep, or after 50 sweeps, in which
// case the estimates of that moment are returned without an error.
inline void Jacobi(Matrix10& A, int n, Vector10& d, Matrix10& V, int& nrot) {
  JacobiWith<Extended>(A, n, d, V, nrot);
}
