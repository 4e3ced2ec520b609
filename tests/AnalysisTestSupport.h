// Small helpers shared by the analysis tests.
#pragma once

#include <cstdlib>
#include <cstring>
#include <string>

#include "analysis/Guarded.h"

// Runs f and returns the message of the error it raises ("" when it raises none).
template <typename F>
std::string ErrorOf(F f) {
  try {
    f();
  } catch (const guarded::ArithmeticError& e) {
    return e.what();
  }
  return "";
}

template <typename T>
bool BitIdentical(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// Operands per differential test against the x87 unit: a few million, fewer under the
// sanitizers; PCA_DIFF_OPERANDS sets it.
inline long DifferentialOperands() {
  if (const char* n = std::getenv("PCA_DIFF_OPERANDS")) return std::atol(n);
#if defined(__SANITIZE_ADDRESS__)
  return 200'000;
#else
  return 2'000'000;
#endif
}
