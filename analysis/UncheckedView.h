// Unchecked access and rounding for loops whose bounds and magnitudes are already proven safe.
//
// The views give 1-based access inside a checked array: the addresses are taken once through the
// checked operator, so a view can only reach elements that exist, and inside the loops each
// access is then a plain load or store.
#pragma once

#include <type_traits>

#include "analysis/Guarded.h"

// The leading `rows` rows of a matrix, element (row, column). Element is double, or const double
// for a read-only view.
template <typename Element, int Rows, int Columns>
class MatrixView {
  template <typename T>
  using Like = std::conditional_t<std::is_const_v<Element>, const T, T>;

 public:
  MatrixView(Like<guarded::Array<guarded::Array<double, Columns>, Rows>>& m, int rows) {
    for (int r = 1; r <= rows; ++r) row_[r - 1] = &m[r][1];
  }
  Element& operator()(int r, int c) const { return row_[r - 1][c - 1]; }

 private:
  Element* row_[Rows];
};

// The entries of a vector, element (i).
template <int N>
class VectorView {
 public:
  explicit VectorView(guarded::Array<double, N>& v) : first_(&v[1]) {}
  double& operator()(int i) const { return first_[i - 1]; }

 private:
  double* first_;
};

// Whether a loop takes its steps in doubles wherever that is certain to give the x87 unit's
// double (InDoubles.h): with the software extended type, in the fast build, where no step can
// fault.
template <typename Real, bool kGuarded>
inline constexpr bool kInDoubles = std::is_same_v<Real, SoftExtended> && !kGuarded;

// The guarded operations, or, where the caller has ruled their faults out beforehand, the plain
// ones: rounding an extended result once to the double it is stored as, division, square root.
template <bool kGuarded, typename Real>
double Round(Real x) {
  if constexpr (kGuarded) {
    return guarded::Store(x);
  } else {
    return extended::ToDouble(x);
  }
}

template <bool kGuarded, typename Real>
Real Divide(Real num, std::type_identity_t<Real> den) {
  if constexpr (kGuarded) {
    return guarded::Quotient(num, den);
  } else {
    return num / den;
  }
}

template <bool kGuarded, typename Real>
Real Root(Real x) {
  if constexpr (kGuarded) {
    return guarded::SquareRoot(x);
  } else {
    return extended::Sqrt(x);
  }
}
