// std::bit_cast for the C++ library of Debian's emscripten (libc++ 13), which lacks it; the
// compiler's builtin does the work, as in later libraries. Included before every source of the
// browser build.
#pragma once

#include <bit>

#if !defined(__cpp_lib_bit_cast)
namespace std {
template <class To, class From>
constexpr To bit_cast(const From& from) noexcept {
  static_assert(sizeof(To) == sizeof(From));
  return __builtin_bit_cast(To, from);
}
}  // namespace std
#endif
