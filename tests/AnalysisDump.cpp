// Prints every number the analysis gives, as the raw bits of each double in hex, for the generated
// table and a few edited ones. Two builds of the program that give the same bits print the same
// text, so comparing the dumps of two processors byte for byte compares their results.
//
// For each table: the cross-products (sums S, matrix M), Jacobi on M (eigenvalues d, vectors V,
// rotation count), then ComputeComponents (percentages P, vectors V, the whole 20 x 13 table with
// the scores in columns 11 and 12). A stage that raises prints the error's message instead, and
// what it had written so far is still printed.
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>

#include "analysis/Components.h"
#include "analysis/Jacobi.h"
#include "analysis/SyntheticData.h"

namespace {

void Bits(const char* label, int index, const double* values, int count) {
  std::printf("%s", label);
  if (index > 0) std::printf("[%d]", index);
  for (int i = 0; i < count; ++i) {
    uint64_t bits;
    std::memcpy(&bits, &values[i], sizeof bits);
    std::printf(" %016" PRIx64, bits);
  }
  std::printf("\n");
}

void Print(const char* label, const Vector10& v) { Bits(label, 0, &v[1], kMaxOrder); }

void Print(const char* label, const Matrix10& m) {
  for (int r = 1; r <= kMaxOrder; ++r) Bits(label, r, &m[r][1], kMaxOrder);
}

void Print(const char* label, const ObservationTable& t) {
  for (int j = 1; j <= kObservations; ++j) Bits(label, j, &t[j][1], kTableColumns);
}

// Runs one stage; an error is part of the result.
void Stage(const std::function<void()>& run) {
  try {
    run();
  } catch (const std::exception& e) {
    std::printf("error: %s\n", e.what());
  }
}

void Analyse(const char* name, ObservationTable table) {
  std::printf("== %s\n", name);
  Print("input", table);

  Vector10 s{}, d{};
  Matrix10 m{}, v{};
  int nrot = -1;
  Stage([&] { CentredCrossProducts(table, s, m); });
  Print("S", s);
  Print("M", m);
  Stage([&] { Jacobi(m, kVariables, d, v, nrot); });
  Print("d", d);
  Print("V", v);
  std::printf("rotations %d\n", nrot);

  Vector10 p{};
  Matrix10 w{};
  Stage([&] { ComputeComponents(table, p, w); });
  Print("P", p);
  Print("V", w);
  Print("table", table);
}

}  // namespace

int main() {
  ObservationTable generated{};
  GenerateObservations(generated);
  Analyse("generated", generated);

  ObservationTable t = generated;  // one value dragged, as in the window
  t[5][3] = 0.25;
  Analyse("one edit", t);

  t = generated;
  t[1][1] = -0.3;
  t[12][7] = 0.1;
  t[20][10] = 0.0;
  Analyse("three edits", t);

  t = generated;  // the generator's next draws, one statement each so their order is fixed
  for (int j = 1; j <= kObservations; ++j)
    for (int i = 1; i <= kVariables; ++i) {
      const double u = NextUniform();
      t[j][i] = u - 0.5;
    }
  Analyse("fresh draws", t);

  t = generated;  // beyond the bound of the unchecked sums, still within range
  t[9][2] = 0x1p510;
  Analyse("large value", t);

  t = generated;  // nothing to analyse: every value equal
  for (int j = 1; j <= kObservations; ++j)
    for (int i = 1; i <= kVariables; ++i) t[j][i] = 0.5;
  Analyse("all equal", t);

  t = generated;  // a square beyond the double range
  t[7][4] = 0x1p600;
  Analyse("overflow", t);
  return 0;
}
