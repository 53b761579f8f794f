#pragma once

#include <cstdint>

namespace vell {

// A pseudo-random generator per thread with the arithmetic of the classic C runtime's:
// state = state * 214013 + 2531011 (mod 2^32), each draw giving bits 16..30 of the new state.
// Every thread starts at state 1, so a thread that never seeds draws the same sequence each time.

namespace detail {
inline thread_local std::uint32_t randomState = 1;
}  // namespace detail

// Seeds the calling thread's generator; other threads are not affected.
inline void SeedRandom(std::uint32_t seed) {
    detail::randomState = seed;
}

// The next draw of the calling thread's generator, 0..32767.
inline int Random() {
    detail::randomState = detail::randomState * 214013u + 2531011u;
    return static_cast<int>((detail::randomState >> 16) & 0x7fffu);
}

}  // namespace vell
