// Lines with AVX-512 (F, BW, VL, VBMI, VBMI2) and POPCNT: each line is
// built in fixed slots of a register, and vpcompressb packs out the bytes
// that it has.  The draws come from the AVX2 lanes.
//
// Only the function below uses these instructions; the file is compiled
// for the baseline processor, and fastest_path() takes this path only on a
// processor that reports them.
#include "avx2.hpp"
#include "format.hpp"

#if defined(__x86_64__)
#include <immintrin.h>

namespace scatter {
namespace {

// Three points at a time, each line in a fixed 20-byte slot of a register
//
//     '-' x-text ' ' '-' y-text '\n'
//
// whose '-' bytes are zero unless the coordinate is negated; the last four
// bytes of the register are zero.  The text of 10, "10.000000", is a byte
// longer, and its three points take the plain loop.  The bytes are picked
// by one two-register byte permute out of
//
//     texts: the six texts, eight bytes each, in coordinate order;
//     flags: for each of the twelve draws, a 32-bit lane of the bytes
//            '-' when it negates, 0, ' ', '\n'.
constexpr std::uint8_t flags_register = 64;  // where the second register starts

struct line_layout {
    alignas(64) std::uint8_t index[64];
};

constexpr line_layout layout = [] {
    line_layout l{};
    for (std::size_t point = 0; point < 3; ++point) {
        for (std::size_t y = 0; y < 2; ++y) {
            const std::size_t coordinate = 2 * point + y;
            const std::size_t sign_draw = 4 * point + 2 + y;
            std::uint8_t* slot = l.index + 10 * coordinate;
            slot[0] = static_cast<std::uint8_t>(flags_register + 4 * sign_draw);
            for (std::size_t i = 0; i < 8; ++i)
                slot[1 + i] = static_cast<std::uint8_t>(8 * coordinate + i);
            slot[9] = static_cast<std::uint8_t>(flags_register + 2 + y);
        }
    }
    return l;
}();

constexpr std::uint64_t line_bytes = (std::uint64_t{1} << 60) - 1;  // three slots of 20
constexpr __mmask16 twelve_draws = 0x0FFF;
constexpr __mmask16 magnitude_draws = 0x0333;  // draws 0, 1, 4, 5, 8, 9

// The plain loop:
//     for (i = 0; i < points; ++i) out = format_line(out, draws + 4 * i);
// taken three points, twelve draws, at a time.
//
// GCC 12's AVX-512 intrinsics start some results from a self-initialised
// "undefined" register, which its optimiser then reports as maybe
// uninitialized (GCC bug 105593).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
__attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,avx512vbmi2,popcnt")))
char* format_lines_avx512(const std::uint16_t* draws, std::size_t points, char* out)
{
    const __m512i cutoff = _mm512_set1_epi32(first_kept_draw);
    const __m512i largest = _mm512_set1_epi32(draw_max);
    const __m512i separators = _mm512_set1_epi32(' ' << 16 | '\n' << 24);
    const __m512i minus = _mm512_set1_epi32('-');
    const __m512i index = _mm512_load_si512(layout.index);

    std::size_t i = 0;
    for (; i + 3 <= points; i += 3) {
        const std::uint16_t* const q = draws + 4 * i;
        const __m512i d = _mm512_cvtepu16_epi32(_mm256_maskz_loadu_epi16(twelve_draws, q));
        if ((_mm512_cmpeq_epi32_mask(d, largest) & magnitude_draws) != 0) {
            out = format_lines(q, 3, out);
            continue;
        }

        // texts[k] = magnitude_texts[magnitude draw of coordinate k].  A
        // gather instruction is much slower here than these loads.
        const auto two_texts = [](std::uint16_t x, std::uint16_t y) {
            std::uint64_t x_text;
            std::uint64_t y_text;
            std::memcpy(&x_text, magnitude_texts[x].chars, 8);
            std::memcpy(&y_text, magnitude_texts[y].chars, 8);
            return _mm_set_epi64x(static_cast<long long>(y_text), static_cast<long long>(x_text));
        };
        __m512i texts = _mm512_castsi128_si512(two_texts(q[0], q[1]));
        texts = _mm512_inserti32x4(texts, two_texts(q[4], q[5]), 1);
        texts = _mm512_inserti32x4(texts, two_texts(q[8], q[9]), 2);

        // flags[j] = separators | (q[j] < first_kept_draw ? '-' : 0)
        const __m512i flags = _mm512_mask_or_epi32(separators, _mm512_cmplt_epu32_mask(d, cutoff), separators, minus);

        // The three slots, then their nonzero bytes packed to the front.
        const __m512i lines = _mm512_maskz_permutex2var_epi8(line_bytes, texts, index, flags);
        const __mmask64 kept = _mm512_test_epi8_mask(lines, lines);
        _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(kept, lines));
        out += _mm_popcnt_u64(_cvtmask64_u64(kept));
    }
    return format_lines(draws + 4 * i, points - i, out);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

// The lines need AVX-512 F, BW, VL, VBMI and VBMI2 and POPCNT; the draws,
// AVX2.
constexpr cpu_feature avx512_needs[] = {
    cpu_feature::avx512f,    cpu_feature::avx512bw, cpu_feature::avx512vl, cpu_feature::avx512vbmi,
    cpu_feature::avx512vbmi2, cpu_feature::popcnt,   cpu_feature::avx2,
};

}  // namespace

extern const format_path avx512_path{"avx512", avx512_needs, fill_draws_avx2, format_lines_avx512};

}  // namespace scatter
#endif
