// Jacobi against an independent solver: Eigen's SelfAdjointEigenSolver on seeded random symmetric
// matrices of every order from 1 to 10.
#include <gtest/gtest.h>

#include <Eigen/Dense>
#include <cmath>
#include <random>

#include "analysis/Jacobi.h"

namespace {

using Eigen::MatrixXd;

Matrix10 ToMatrix10(const MatrixXd& a) {
  Matrix10 m;
  for (int r = 0; r < a.rows(); ++r)
    for (int c = 0; c < a.cols(); ++c) m[r + 1][c + 1] = a(r, c);
  return m;
}

MatrixXd RandomSymmetric(int n, std::mt19937_64& rng) {
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  MatrixXd a(n, n);
  for (int r = 0; r < n; ++r)
    for (int c = r; c < n; ++c) a(r, c) = a(c, r) = u(rng);
  return a;
}

// Q diag(lambda) Q^T with a random orthogonal Q: eigenvalues chosen, repeated ones included.
MatrixXd WithEigenvalues(const Eigen::VectorXd& lambda, std::mt19937_64& rng) {
  const int n = static_cast<int>(lambda.size());
  const MatrixXd q = RandomSymmetric(n, rng).householderQr().householderQ();
  MatrixXd a = q * lambda.asDiagonal() * q.transpose();
  return (a + a.transpose()) / 2;
}

// Checks one matrix: eigenvalues against Eigen's within 1e-12 of the norm, descending order,
// orthonormal eigenvectors within 1e-13, and A v = lambda v.
void Check(const MatrixXd& a, const std::string& what) {
  const int n = static_cast<int>(a.rows());
  Matrix10 work = ToMatrix10(a);
  Vector10 d;
  Matrix10 V;
  int nrot = -1;
  Jacobi(work, n, d, V, nrot);

  const Eigen::SelfAdjointEigenSolver<MatrixXd> oracle(a);
  ASSERT_EQ(oracle.info(), Eigen::Success);
  const Eigen::VectorXd ascending = oracle.eigenvalues();
  const double norm = std::max(ascending.cwiseAbs().maxCoeff(), 1e-300);

  MatrixXd v(n, n);
  for (int r = 0; r < n; ++r)
    for (int c = 0; c < n; ++c) v(r, c) = V[r + 1][c + 1];

  for (int k = 1; k <= n; ++k) {
    EXPECT_NEAR(d[k], ascending(n - k), 1e-12 * norm) << what << " eigenvalue " << k;
    if (k < n) {
      EXPECT_GE(d[k], d[k + 1]) << what;
    }
    const Eigen::VectorXd residual = a * v.col(k - 1) - d[k] * v.col(k - 1);
    EXPECT_LE(residual.cwiseAbs().maxCoeff(), 1e-12 * norm) << what << " vector " << k;
  }
  const double orthonormal = (v.transpose() * v - MatrixXd::Identity(n, n)).cwiseAbs().maxCoeff();
  EXPECT_LE(orthonormal, 1e-13) << what;
  EXPECT_GE(nrot, 0);
}

TEST(EigenOracle, RandomSymmetricMatricesOfOrders1To10) {
  std::mt19937_64 rng(20240601);
  for (int n = 1; n <= 10; ++n)
    for (int trial = 0; trial < 40; ++trial)
      Check(RandomSymmetric(n, rng), "n=" + std::to_string(n) + " trial " + std::to_string(trial));
}

// Repeated, zero and widely spread eigenvalues: the cases where the rotations have the least to
// go on (equal diagonal entries, elements negligible against one entry and not the other).
TEST(EigenOracle, RepeatedZeroAndSpreadEigenvalues) {
  std::mt19937_64 rng(77);
  for (int n = 2; n <= 10; ++n) {
    Eigen::VectorXd repeated = Eigen::VectorXd::Constant(n, 2.0);
    repeated(0) = -1.0;
    Check(WithEigenvalues(repeated, rng), "repeated n=" + std::to_string(n));

    Eigen::VectorXd singular = Eigen::VectorXd::Zero(n);
    singular(n - 1) = 3.0;
    Check(WithEigenvalues(singular, rng), "rank one n=" + std::to_string(n));

    Eigen::VectorXd spread(n);
    for (int k = 0; k < n; ++k) spread(k) = std::pow(10.0, k - 4) * (k % 2 ? -1 : 1);
    Check(WithEigenvalues(spread, rng), "spread n=" + std::to_string(n));
  }
}

}  // namespace
