// SSSE3: the lines, two points at a time, each line made by two 16-byte
// shuffles.  The draws come from the SSE2 lanes.
//
// Only the functions below use these instructions; the file is compiled for
// the baseline processor, and the ssse3 pipeline runs only on a processor
// that reports them.
#include "kernels.hpp"

#if defined(__SSE2__)
#include <immintrin.h>

#include "vector_lines.hpp"

// What every function here is compiled for.
#define SCATTER_SSSE3 __attribute__((target("ssse3")))

namespace scatter {
namespace {

// The AVX2 kernel's work in 16-byte halves: a line's first sixteen bytes
// and the rest are two shuffles of the same [x-text, y-text].
struct ssse3_line_kernel {
    static constexpr std::size_t group_points = 2;
    static constexpr std::size_t line_store_bytes = 32;

    SCATTER_SSSE3 ssse3_line_kernel()
        : last_negating(_mm_set1_epi16(first_kept_draw - 1)),
          largest(_mm_set1_epi16(draw_max)),
          ten_weights(_mm_set1_epi64x(static_cast<long long>(scatter::ten_weights))),
          negated_weights(_mm_set1_epi64x(static_cast<long long>(scatter::negated_weights)))
    {
    }

    SCATTER_SSSE3 char* format_group(const std::uint16_t* draws, char* out) const
    {
        // The slots of the two shapes, one in each 64-bit lane; they fit in
        // 32 bits, which a 32-bit build can move too.
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(draws));
        const __m128i keeps = _mm_cmpgt_epi16(d, last_negating);
        const __m128i ten = _mm_cmpeq_epi16(d, largest);
        const __m128i tests = _mm_or_si128(_mm_and_si128(ten, ten_weights), _mm_andnot_si128(keeps, negated_weights));
        const __m128i slots = _mm_sad_epu8(tests, _mm_setzero_si128());
        out = format_line(draws, _mm_cvtsi128_si32(slots), out);
        return format_line(draws + 4, _mm_cvtsi128_si32(_mm_unpackhi_epi64(slots, slots)), out);
    }

    // The line of the point of these draws, whose shape has this slot.
    static SCATTER_SSSE3 char* format_line(const std::uint16_t* draws, int shape_slot, char* out)
    {
        const __m128i texts = _mm_unpacklo_epi64(_mm_loadu_si64(magnitude_texts[draws[0]].chars),
                                                 _mm_loadu_si64(magnitude_texts[draws[1]].chars));
        const auto slot = static_cast<std::size_t>(shape_slot);
        const std::uint8_t* const mask = shape_mask(slot);
        const std::uint8_t* const fill = shape_fill(slot);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), half_line(texts, mask, fill));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), half_line(texts, mask + 16, fill + 16));
        return out + shape_line_length(slot);
    }

    // Sixteen bytes of a line.  (A lambda would not take the target
    // attribute with GCC.)
    static SCATTER_SSSE3 __m128i half_line(__m128i texts, const std::uint8_t* mask, const std::uint8_t* fill)
    {
        return _mm_or_si128(_mm_shuffle_epi8(texts, _mm_load_si128(reinterpret_cast<const __m128i*>(mask))),
                            _mm_load_si128(reinterpret_cast<const __m128i*>(fill)));
    }

    __m128i last_negating;
    __m128i largest;
    __m128i ten_weights;
    __m128i negated_weights;
};

}  // namespace

SCATTER_SSSE3 __attribute__((flatten)) char* format_lines_ssse3(const std::uint16_t* draws, std::size_t points, char* out)
{
    return assemble_lines<ssse3_line_kernel>(draws, points, out);
}

}  // namespace scatter
#endif
