// The exact 128-bit product of two 64-bit words, as two words, for the software extended type.
#pragma once

#include <cstdint>

struct WideWords {
  uint64_t high;
  uint64_t low;
};

// From four products of 32-bit halves. WebAssembly has no 64-bit high multiply, and a 128-bit
// product there is a call that multiplies all of two 128-bit numbers; this is cheaper.
[[gnu::always_inline]] constexpr WideWords ProductByHalves(uint64_t a, uint64_t b) {
  const uint64_t a0 = a & 0xFFFFFFFF, a1 = a >> 32, b0 = b & 0xFFFFFFFF, b1 = b >> 32;
  const uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  const uint64_t middle = (p00 >> 32) + (p01 & 0xFFFFFFFF) + (p10 & 0xFFFFFFFF);  // < 3 x 2^32
  return {p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32), (middle << 32) | (p00 & 0xFFFFFFFF)};
}

// One multiply instruction where the processor has a 64-bit high multiply.
[[gnu::always_inline]] constexpr WideWords WideProduct(uint64_t a, uint64_t b) {
#if defined(__wasm__)
  return ProductByHalves(a, b);
#else
  __extension__ const unsigned __int128 m = static_cast<unsigned __int128>(a) * b;
  return {static_cast<uint64_t>(m >> 64), static_cast<uint64_t>(m)};
#endif
}
