// Principal component analysis of the 20 observations of 10 variables in the observation table.
#pragma once

#include "analysis/Jacobi.h"
#include "analysis/ObservationTable.h"

// S[i]: the sum of variable i over the 20 observations; M: the centred cross-products
// sum_j (X[j][i] - mean_i)(X[j][k] - mean_k), taken as sum_j X[j][i] X[j][k] - S[i] S[k] / 20,
// not divided by the number of observations, full and symmetric.
void CentredCrossProducts(const ObservationTable& X, Vector10& S, Matrix10& M);

// Evaluated in a chosen extended type (see JacobiWith); the
// function below uses Extended.
template <typename Real>
void ComputeComponentsWith(ObservationTable& X, Vector10& P, Matrix10& V);

// Builds the centred cross-product matrix of variables 1..10, diagonalises it with Jacobi and
// delivers:
// - P[1..10]: the share of the total variance carried by each component, in percent, largest
//   first;
// - V: the unit eigenvectors as columns, in the order of P (row i is variable i);
// - table columns 11 and 12: the scores of every observation on components 1 and 2, that is the
//   projections of its deviations from the column means, scaled so that the largest absolute
//   score of each is 0.3.
// Columns 1..10 are read only and column 13 is not touched.
//
// Fails with "Floating point division by zero" when the eigenvalues sum to exactly 0 (columns 11
// and 12 untouched), when every score of component 1 is exactly 0 (column 11 then holds those
// zeros, column 12 untouched) or when every score of component 2 is (column 11 holds its scaled
// scores, column 12 zeros).
inline void ComputeComponents(ObservationTable& X, Vector10& P, Matrix10& V) {
  ComputeComponentsWith<Extended>(X, P, V);
}
