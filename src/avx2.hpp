// The AVX2 lanes of the generator, which the AVX-512 path uses too.
#pragma once

#include <cstddef>
#include <cstdint>

namespace scatter {

#if defined(__x86_64__)
// Writes the `count` draws that follow `state` at out, and perhaps more up
// to the next multiple of 64.  Needs AVX2.
void fill_draws_avx2(std::uint32_t state, std::uint16_t* out, std::size_t count);
#endif

}  // namespace scatter
