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

// One operation of the extended type in a dependent chain, two a step (a root: with an addition),
// on values that stay ordinary; the time per step.
enum class Operation { kAdd, kMultiply, kDivide, kRoot };

template <typename Real, Operation kOperation>
void BM_Chain(benchmark::State& state) {
  Real x = Real(1.25);
  Real y = Real(0.9990234375), z = Real(1.0009765625);
  benchmark::DoNotOptimize(y);
  benchmark::DoNotOptimize(z);
  for (auto _ : state) {
    if constexpr (kOperation == Operation::kAdd) x = x + y - z;
    if constexpr (kOperation == Operation::kMultiply) x = x * y * z;
    if constexpr (kOperation == Operation::kDivide) x = x / y / z;
    if constexpr (kOperation == Operation::kRoot) x = extended::Sqrt(x) + Real(1);
  }
  benchmark::DoNotOptimize(x);  // not in the loop: that would store the x87 register every step
}

#define PCA_CHAINS(Real, type)                                                                  \
  BENCHMARK(BM_Chain<Real, Operation::kAdd>)->Name("BM_AddTwice/" type);                        \
  BENCHMARK(BM_Chain<Real, Operation::kMultiply>)->Name("BM_MultiplyTwice/" type);              \
  BENCHMARK(BM_Chain<Real, Operation::kDivide>)->Name("BM_DivideTwice/" type);                  \
  BENCHMARK(BM_Chain<Real, Operation::kRoot>)->Name("BM_RootAndAdd/" type)

#if PCA_HAS_X87
PCA_CHAINS(long double, "native");
#endif
PCA_CHAINS(SoftExtended, "software");

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
