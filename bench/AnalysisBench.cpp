// The analysis core on the generated data: Jacobi on its cross-product matrix and the whole
// principal component computation, each with the native x87 extended type (where the machine has
// it) and with the software one side by side, and Eigen's self-adjoint solver doing the same job.
#include <benchmark/benchmark.h>

#include <Eigen/Dense>

#include "analysis/Components.h"
#include "analysis/Jacobi.h"
#include "analysis/SyntheticData.h"

namespace {

ObservationTable GeneratedTable() {
  ObservationTable t{};
  GenerateObservations(t);
  return t;
}

template <typename Real>
void BM_Jacobi(benchmark::State& state) {
  const ObservationTable t = GeneratedTable();
  Vector10 s;
  Matrix10 m;
  CentredCrossProducts(t, s, m);
  Vector10 d;
  Matrix10 v;
  int nrot = 0;
  for (auto _ : state) {
    Matrix10 a = m;  // Jacobi destroys the upper triangle
    JacobiWith<Real>(a, 10, d, v, nrot);
    benchmark::DoNotOptimize(d);
    benchmark::DoNotOptimize(v);
  }
  state.counters["rotations"] = nrot;
}

template <typename Real>
void BM_ComputeComponents(benchmark::State& state) {
  ObservationTable t = GeneratedTable();
  Vector10 p;
  Matrix10 v;
  for (auto _ : state) {
    ComputeComponentsWith<Real>(t, p, v);
    benchmark::DoNotOptimize(t);
    benchmark::DoNotOptimize(p);
  }
}

#if PCA_HAS_X87
BENCHMARK(BM_Jacobi<long double>)->Name("BM_Jacobi/native");
BENCHMARK(BM_ComputeComponents<long double>)->Name("BM_ComputeComponents/native");
#endif
BENCHMARK(BM_Jacobi<SoftExtended>)->Name("BM_Jacobi/software");
BENCHMARK(BM_ComputeComponents<SoftExtended>)->Name("BM_ComputeComponents/software");

// The same job with Eigen, in fixed-size storage: read the table, centre it, form the
// cross-products, solve, percentages, and the two score columns scaled to 0.3.
void BM_EigenSelfAdjoint(benchmark::State& state) {
  ObservationTable t = GeneratedTable();
  using Data = Eigen::Matrix<double, 20, 10>;
  using Square = Eigen::Matrix<double, 10, 10>;
  for (auto _ : state) {
    Data x;
    for (int j = 0; j < 20; ++j)
      for (int i = 0; i < 10; ++i) x(j, i) = t[j + 1][i + 1];
    const Data centred = x.rowwise() - x.colwise().mean();
    const Square cross = centred.transpose() * centred;
    const Eigen::SelfAdjointEigenSolver<Square> solver(cross);
    // Eigen orders the eigenvalues ascending: components 1 and 2 are the last two.
    const Eigen::Matrix<double, 10, 1> percent =
        solver.eigenvalues().reverse() * (100.0 / solver.eigenvalues().sum());
    Eigen::Matrix<double, 20, 2> scores;
    scores.col(0) = centred * solver.eigenvectors().col(9);
    scores.col(1) = centred * solver.eigenvectors().col(8);
    for (int k = 0; k < 2; ++k) {
      scores.col(k) *= 0.3 / scores.col(k).cwiseAbs().maxCoeff();
      for (int j = 0; j < 20; ++j) t[j + 1][11 + k] = scores(j, k);
    }
    benchmark::DoNotOptimize(percent);
    benchmark::DoNotOptimize(t);
  }
}
BENCHMARK(BM_EigenSelfAdjoint);

}  // namespace

BENCHMARK_MAIN();
