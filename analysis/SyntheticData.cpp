#include "analysis/SyntheticData.h"

using guarded::Quotient;
using guarded::SquareRoot;
using guarded::Store;

uint32_t RandomSeed = 0;

namespace {

constexpr uint32_t kSeed = 54376543;  // 0x33DB85F
constexpr uint32_t kMultiplier = 134775813;  // 0x08088405

// Three draws summed: exact, since every draw is a multiple of 2^-32 below 1.
Extended SumOfThreeDraws() {
  const double u1 = NextUniform();
  const double u2 = NextUniform();
  const double u3 = NextUniform();
  return (Extended(u1) + u2) + u3;
}

void FillVariable(ObservationTable& table, int i) {
  double c = NextUniform() + 0.5;  // exact
  if (NextUniform() > 0.5) c = -c;
  for (int j = 1; j <= 9; ++j) table[j][i] = Store(SumOfThreeDraws());
  for (int j = 10; j <= kObservations; ++j) {
    const Extended first = SumOfThreeDraws();  // the three draws that c multiplies
    const Extended second = SumOfThreeDraws();
    table[j][i] = Store(second + first * c);
  }
}

// Mean 0 and population deviation 0.2; the variance is taken in one pass (mean of squares minus
// square of mean, divisor 20).
void Standardise(ObservationTable& table, int i) {
  double sum = 0.0;
  double sumsq = 0.0;
  for (int j = 1; j <= kObservations; ++j) {
    const double x = table[j][i];
    sum = Store(Extended(sum) + x);
    sumsq = Store(Extended(sumsq) + Extended(x) * x);
  }
  const double mean = Store(Extended(sum) / 20);
  const double msq = Store(Extended(sumsq) / 20);
  const Extended variance = msq - Extended(mean) * mean;
  const double r = Store(Quotient(Extended(1), SquareRoot(variance)));
  const double s = Store(kTwoTenths<Extended> * r);
  for (int j = 1; j <= kObservations; ++j)
    table[j][i] = Store((Extended(table[j][i]) - mean) * s);
}

}  // namespace

double NextUniform() {
  RandomSeed = RandomSeed * kMultiplier + 1u;  // modulo 2^32 by unsigned wrap-around
  return std::ldexp(static_cast<double>(RandomSeed), -32);
}

void GenerateObservations(ObservationTable& table) {
  RandomSeed = kSeed;
  for (int i = 1; i <= kVariables; ++i) FillVariable(table, i);
  for (int i = 1; i <= kVariables; ++i) Standardise(table, i);
}
