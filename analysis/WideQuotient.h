// A 128-bit number divided by a 64-bit one, for the software extended type's quotients and
// square roots. Compilers divide 128 bits by a call that handles every width (in WebAssembly
// and on arm64 alike); this divides in two steps of 32 bits, each by the processor's own 64-bit
// division (Knuth's algorithm D, as in Hacker's Delight).
#pragma once

#include <cstdint>

struct WideDivision {
  uint64_t quotient;
  uint64_t remainder;
};

// (high 2^64 + low) / divisor, for a divisor with its top bit set and high < divisor, so that
// the quotient fits 64 bits.
[[gnu::always_inline]] constexpr WideDivision DivideWide(uint64_t high, uint64_t low,
                                                         uint64_t divisor) {
  constexpr uint64_t kBase = uint64_t{1} << 32;
  const uint64_t d1 = divisor >> 32, d0 = divisor & 0xFFFFFFFF;
  const uint64_t n1 = low >> 32, n0 = low & 0xFFFFFFFF;

  // Each digit estimated from the divisor's top half: at most two too large.
  uint64_t q1 = high / d1, rest = high - q1 * d1;
  while (q1 >= kBase || q1 * d0 > ((rest << 32) | n1)) {
    --q1;
    rest += d1;
    if (rest >= kBase) break;
  }
  const uint64_t middle = (high << 32) + n1 - q1 * divisor;  // < divisor: the top word is 0

  uint64_t q0 = middle / d1;
  rest = middle - q0 * d1;
  while (q0 >= kBase || q0 * d0 > ((rest << 32) | n0)) {
    --q0;
    rest += d1;
    if (rest >= kBase) break;
  }
  return {(q1 << 32) + q0, (middle << 32) + n0 - q0 * divisor};
}
