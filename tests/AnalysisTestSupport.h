// Small helpers shared by the analysis tests.
#pragma once

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
