// Extended: the real type every expression is evaluated in, a 64-bit significand rounded to
// nearest with ties to even. Where the compiler's long double is the x87 extended type (x86 and
// x86-64 with GCC or Clang) it is that type, at no cost; everywhere else, and wherever the build
// defines PCA_EXTENDED_SOFTWARE, it is SoftExtended, which gives the very same bits.
//
// Code written for either type reads the same: operators, Extended(x) to promote a double or an
// integer, and the functions of namespace extended.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>

#include "analysis/SoftExtended.h"

#if (defined(__i386__) || defined(__x86_64__)) && (defined(__GNUC__) || defined(__clang__)) && \
    LDBL_MANT_DIG == 64
#define PCA_HAS_X87 1
#else
#define PCA_HAS_X87 0
#endif

#if PCA_HAS_X87 && !defined(PCA_EXTENDED_SOFTWARE)
using Extended = long double;
#else
using Extended = SoftExtended;
#endif

// The extended values nearest to 0.2 and 0.3.
template <typename Real>
inline constexpr Real kTwoTenths = SoftExtended::FromParts(false, -3, 0xCCCCCCCCCCCCCCCD);
template <typename Real>
inline constexpr Real kThreeTenths = SoftExtended::FromParts(false, -2, 0x999999999999999A);

#if PCA_HAS_X87
template <>
inline constexpr long double kTwoTenths<long double> = 0.2L;
template <>
inline constexpr long double kThreeTenths<long double> = 0.3L;

namespace extended {
inline long double Abs(long double x) { return std::fabs(x); }
inline long double Sqrt(long double x) { return std::sqrt(x); }
inline bool IsNaN(long double x) { return std::isnan(x); }
inline bool IsFinite(long double x) { return std::isfinite(x); }
inline double ToDouble(long double x) { return static_cast<double>(x); }
inline int64_t RoundToInt64(long double x) { return std::llrint(x); }  // ties to even by default
}  // namespace extended
#endif
