// The lanes of the generator with AVX2: 64 lanes in eight registers.
//
// Only the functions below use these instructions; the file is compiled
// for the baseline processor, and fastest_path() takes this path only on a
// processor that reports them.
#include "avx2.hpp"
#include "format.hpp"

#if defined(__x86_64__)
#include <immintrin.h>

namespace scatter {
namespace {

constexpr std::size_t chains = 8;
constexpr affine_step stride = generator_step.power(8 * chains);

// The maps from a state to the states 1, 2, ... 64 steps on.
struct jumps {
    alignas(32) std::uint32_t multipliers[8 * chains];
    alignas(32) std::uint32_t increments[8 * chains];
};

constexpr jumps lane_jumps = [] {
    jumps j{};
    for (std::size_t lane = 0; lane < 8 * chains; ++lane) {
        const affine_step jump = generator_step.power(lane + 1);
        j.multipliers[lane] = jump.multiplier;
        j.increments[lane] = jump.increment;
    }
    return j;
}();

}  // namespace

// The plain loop:
//     for (i = 0; i < count; ++i) { state = generator_step(state); out[i] = draw_of(state); }
// Lane j holds the state j + 1 steps on, and every lane jumps 64 steps at
// once, so that eight chains of multiplies overlap.
__attribute__((target("avx2"))) void fill_draws_avx2(std::uint32_t state, std::uint16_t* out, std::size_t count)
{
    const __m256i start = _mm256_set1_epi32(static_cast<int>(state));
    __m256i lanes[chains];
    for (std::size_t c = 0; c < chains; ++c) {
        // lane j = generator_step.power(j + 1)(state), all at once
        const __m256i a = _mm256_load_si256(reinterpret_cast<const __m256i*>(lane_jumps.multipliers + 8 * c));
        const __m256i b = _mm256_load_si256(reinterpret_cast<const __m256i*>(lane_jumps.increments + 8 * c));
        lanes[c] = _mm256_add_epi32(_mm256_mullo_epi32(start, a), b);
    }
    const __m256i multiplier = _mm256_set1_epi32(static_cast<int>(stride.multiplier));
    const __m256i increment = _mm256_set1_epi32(static_cast<int>(stride.increment));
    const __m256i draw_mask = _mm256_set1_epi32(0x7FFF);
    for (std::size_t i = 0; i < count; i += 8 * chains) {
        for (std::size_t c = 0; c < chains; c += 2) {
            // out[i + 8c + j] = draw_of(lane 8c + j): bits 16 to 30, packed
            // to 16 bits; the pack works within 128-bit halves, and the
            // permute puts the four quarters back in order.
            const __m256i low = _mm256_and_si256(_mm256_srli_epi32(lanes[c], 16), draw_mask);
            const __m256i high = _mm256_and_si256(_mm256_srli_epi32(lanes[c + 1], 16), draw_mask);
            const __m256i draws = _mm256_permute4x64_epi64(_mm256_packus_epi32(low, high), 0xD8);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i + 8 * c), draws);
        }
        for (__m256i& lane : lanes)
            lane = _mm256_add_epi32(_mm256_mullo_epi32(lane, multiplier), increment);
    }
}

constexpr cpu_feature avx2_needs[] = {cpu_feature::avx2};
extern const format_path avx2_path{"avx2", avx2_needs, fill_draws_avx2, format_lines};

}  // namespace scatter
#endif
