// AVX2: the lanes of the generator, 64 lanes in eight registers, and the
// lines, four points at a time, each line made by one 32-byte shuffle.
//
// Only the functions below use these instructions; the file is compiled for
// the baseline processor, and the avx2 pipeline runs only on a processor
// that reports them.
#include "kernels.hpp"

#if defined(__x86_64__)
#include <immintrin.h>

#include "draw_lanes.hpp"
#include "vector_lines.hpp"

// What every function here is compiled for.
#define SCATTER_AVX2 __attribute__((target("avx2")))

namespace scatter {
namespace {

constexpr std::size_t chains = 8;
static_assert(8 * chains <= draw_slack, "a round of the lanes writes 8 * chains draws");
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
SCATTER_AVX2 void fill_draws_avx2(std::uint32_t state, std::uint16_t* out, std::size_t count)
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

namespace {

// Lines, four points at a time: their shapes from one register of their
// sixteen draws, then each line with a 32-byte shuffle, one OR and one
// 32-byte store.
struct avx2_line_kernel {
    static constexpr std::size_t group_points = 4;
    static constexpr std::size_t line_store_bytes = 32;

    SCATTER_AVX2 avx2_line_kernel()
        : last_negating(_mm256_set1_epi16(first_kept_draw - 1)),
          largest(_mm256_set1_epi16(draw_max)),
          ten_weights(_mm256_set1_epi64x(static_cast<long long>(scatter::ten_weights))),
          negated_weights(_mm256_set1_epi64x(static_cast<long long>(scatter::negated_weights)))
    {
    }

    SCATTER_AVX2 char* format_group(const std::uint16_t* draws, char* out) const
    {
        // The slots of the four shapes, one in each 64-bit lane.
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(draws));
        const __m256i keeps = _mm256_cmpgt_epi16(d, last_negating);
        const __m256i ten = _mm256_cmpeq_epi16(d, largest);
        const __m256i tests = _mm256_or_si256(_mm256_and_si256(ten, ten_weights), _mm256_andnot_si256(keeps, negated_weights));
        const __m256i slots = _mm256_sad_epu8(tests, _mm256_setzero_si256());
        const __m128i low = _mm256_castsi256_si128(slots);
        const __m128i high = _mm256_extracti128_si256(slots, 1);
        out = format_line(draws, _mm_cvtsi128_si64(low), out);
        out = format_line(draws + 4, _mm_extract_epi64(low, 1), out);
        out = format_line(draws + 8, _mm_cvtsi128_si64(high), out);
        return format_line(draws + 12, _mm_extract_epi64(high, 1), out);
    }

    // The line of the point of these draws, whose shape has this slot.
    static SCATTER_AVX2 char* format_line(const std::uint16_t* draws, long long shape_slot, char* out)
    {
        // [x-text, y-text] in both halves.
        const __m256i x = _mm256_broadcastq_epi64(_mm_loadu_si64(magnitude_texts[draws[0]].chars));
        const __m256i y = _mm256_broadcastq_epi64(_mm_loadu_si64(magnitude_texts[draws[1]].chars));
        const __m256i texts = _mm256_blend_epi32(x, y, 0xCC);

        const auto slot = static_cast<std::size_t>(shape_slot);
        const __m256i mask = _mm256_load_si256(reinterpret_cast<const __m256i*>(shape_mask(slot)));
        const __m256i fill = _mm256_load_si256(reinterpret_cast<const __m256i*>(shape_fill(slot)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_or_si256(_mm256_shuffle_epi8(texts, mask), fill));
        return out + shape_line_length(slot);
    }

    __m256i last_negating;
    __m256i largest;
    __m256i ten_weights;
    __m256i negated_weights;
};

}  // namespace

SCATTER_AVX2 __attribute__((flatten)) char* format_lines_avx2(const std::uint16_t* draws, std::size_t points, char* out)
{
    return assemble_lines<avx2_line_kernel>(draws, points, out);
}

}  // namespace scatter
#endif
