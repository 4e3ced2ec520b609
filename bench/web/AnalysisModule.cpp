// The analysis core as a WebAssembly module for bench/web/compare.js: the generated table for the
// peer library to fit, and timing loops over Jacobi, ComputeComponents and single operations of
// the extended type, which is the software one in WebAssembly. The loops run inside the module so
// that the times hold no crossing between JavaScript and WebAssembly.
#include <emscripten/emscripten.h>

#include "analysis/Components.h"
#include "analysis/Jacobi.h"
#include "analysis/SyntheticData.h"

namespace {

ObservationTable GeneratedTable() {
  ObservationTable t{};
  GenerateObservations(t);
  return t;
}

// Keeps a result alive without the optimiser seeing through it.
volatile double sink;

// A chain of dependent operations of one kind, on values that stay ordinary; each kind its own
// loop, so that the value stays in locals.
template <int kKind>
void Chain(int times) {
  Extended x = sink + 1.25;
  const Extended y = sink + 0.9990234375, z = sink + 1.0009765625;
  for (int k = 0; k < times; ++k) {
    if constexpr (kKind == 0) x = x + y - z;  // two operations a step, as below
    if constexpr (kKind == 1) x = x * y * z;
    if constexpr (kKind == 2) x = x / y / z;
    if constexpr (kKind == 3) x = extended::Sqrt(x) + 1;  // a root and an addition
  }
  sink = extended::ToDouble(x);
}

}  // namespace

extern "C" {

// The generated, standardised table's 20 x 10 values, row after row.
EMSCRIPTEN_KEEPALIVE void pca_bench_table(double* out) {
  const ObservationTable t = GeneratedTable();
  for (int j = 1; j <= kObservations; ++j)
    for (int i = 1; i <= kVariables; ++i) *out++ = t[j][i];
}

// Jacobi on the table's cross-product matrix, `times` times; returns the rotation count.
EMSCRIPTEN_KEEPALIVE int pca_bench_jacobi(int times) {
  const ObservationTable t = GeneratedTable();
  Vector10 s;
  Matrix10 m;
  CentredCrossProducts(t, s, m);
  Vector10 d;
  Matrix10 v;
  int nrot = 0;
  for (int k = 0; k < times; ++k) {
    Matrix10 a = m;  // Jacobi destroys the upper triangle
    JacobiWith<Extended>(a, kVariables, d, v, nrot);
    sink = d[1] + v[1][1];
  }
  return nrot;
}

// The whole computation: cross-products, Jacobi, percentages, two columns of scores.
EMSCRIPTEN_KEEPALIVE void pca_bench_components(int times) {
  ObservationTable t = GeneratedTable();
  Vector10 p;
  Matrix10 v;
  for (int k = 0; k < times; ++k) {
    ComputeComponentsWith<Extended>(t, p, v);
    sink = p[1] + t[1][11];
  }
}

// `times` steps of a chain of operations: 0 add, 1 multiply, 2 divide (two of them a step), 3 a
// square root and an addition.
EMSCRIPTEN_KEEPALIVE void pca_bench_operation(int kind, int times) {
  switch (kind) {
    case 0: Chain<0>(times); break;
    case 1: Chain<1>(times); break;
    case 2: Chain<2>(times); break;
    default: Chain<3>(times); break;
  }
}

}  // extern "C"
