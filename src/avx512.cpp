// Lines with AVX-512 (F, BW, VBMI, VBMI2): each line is built in fixed
// slots of a register, and vpcompressb packs out the bytes that it has.
// The draws come from the AVX2 lanes.
//
// Only the function below uses these instructions; the file is compiled
// for the baseline processor, and fastest_path() takes this path only on a
// processor that reports them.
#include "format.hpp"

#if defined(__x86_64__)
#include <immintrin.h>

// GCC 12's AVX-512 intrinsics start some results from an "undefined"
// register, which its optimiser then reports as maybe uninitialized.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace scatter {
namespace {

bool runs_here()
{
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512f") &&
           __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi") &&
           __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("popcnt");
}

// Four points at a time: their eight coordinates x0 y0 x1 y1 ... x3 y3,
// four to a register, each in a 16-byte slot
//
//     byte 0: '-'   bytes 1-8: the text   byte 9: '0'   byte 10: ' ' or '\n'
//
// whose bytes 0 and 9 are zero unless the coordinate is negated or is 10
// (the ninth character of "10.000000"), and whose bytes 11-15 are zero.
// The slots are picked by one two-register byte permute out of
//
//     texts: the eight texts, eight bytes each, in coordinate order;
//     flags: for each of the sixteen draws, a 32-bit lane of the bytes
//            '-' when it negates, '0' when it is draw_max, ' ', '\n'.
struct slot_layout {
    alignas(64) std::uint8_t index[2][64];  // for coordinates 0-3 and 4-7
};

constexpr slot_layout layout = [] {
    constexpr std::uint8_t flags = 64;  // where the second register starts
    slot_layout l{};
    for (std::size_t k = 0; k < 8; ++k) {
        const std::size_t point = k / 2;
        const std::size_t y = k % 2;
        const std::size_t magnitude_draw = 4 * point + y;
        const std::size_t sign_draw = 4 * point + 2 + y;
        std::uint8_t* slot = l.index[k / 4] + 16 * (k % 4);
        slot[0] = static_cast<std::uint8_t>(flags + 4 * sign_draw);
        for (std::size_t i = 0; i < 8; ++i)
            slot[1 + i] = static_cast<std::uint8_t>(8 * k + i);
        slot[9] = static_cast<std::uint8_t>(flags + 4 * magnitude_draw + 1);
        slot[10] = static_cast<std::uint8_t>(flags + 2 + y);
    }
    return l;
}();

constexpr std::uint64_t slot_bytes = 0x07FF07FF07FF07FFu;  // bytes 0-10 of each slot

// The plain loop:
//     for (i = 0; i < points; ++i) out = format_line(out, draws + 4 * i);
// taken four points, sixteen draws, at a time.
__attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2,popcnt")))
char* format_lines_avx512(const std::uint16_t* draws, std::size_t points, char* out)
{
    const __m512i cutoff = _mm512_set1_epi32(first_kept_draw);
    const __m512i largest = _mm512_set1_epi32(draw_max);
    const __m512i separators = _mm512_set1_epi32(' ' << 16 | '\n' << 24);
    const __m512i minus = _mm512_set1_epi32('-');
    const __m512i ninth = _mm512_set1_epi32('0' << 8);
    const __m512i index[2] = {_mm512_load_si512(layout.index[0]), _mm512_load_si512(layout.index[1])};

    std::size_t i = 0;
    for (; i + 4 <= points; i += 4) {
        const std::uint16_t* const q = draws + 4 * i;
        // texts[k] = magnitude_texts[magnitude draw of coordinate k].  A
        // gather instruction is much slower here than these loads.
        const auto two_texts = [](std::uint16_t x, std::uint16_t y) {
            std::uint64_t x_text;
            std::uint64_t y_text;
            std::memcpy(&x_text, magnitude_texts[x].chars, 8);
            std::memcpy(&y_text, magnitude_texts[y].chars, 8);
            return _mm_set_epi64x(static_cast<long long>(y_text), static_cast<long long>(x_text));
        };
        const __m512i texts =
            _mm512_inserti64x4(_mm512_castsi256_si512(_mm256_set_m128i(two_texts(q[4], q[5]), two_texts(q[0], q[1]))),
                               _mm256_set_m128i(two_texts(q[12], q[13]), two_texts(q[8], q[9])), 1);

        // flags[j] = separators | (q[j] < first_kept_draw ? '-' : 0) | (q[j] == draw_max ? '0' << 8 : 0)
        const __m512i d = _mm512_cvtepu16_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(q)));
        __m512i flags = _mm512_mask_or_epi32(separators, _mm512_cmplt_epu32_mask(d, cutoff), separators, minus);
        flags = _mm512_mask_or_epi32(flags, _mm512_cmpeq_epi32_mask(d, largest), flags, ninth);

        for (const __m512i& half : index) {
            const __m512i slots = _mm512_maskz_permutex2var_epi8(slot_bytes, texts, half, flags);
            const __mmask64 kept = _mm512_test_epi8_mask(slots, slots);
            _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(kept, slots));
            out += _mm_popcnt_u64(_cvtmask64_u64(kept));
        }
    }
    return format_lines(draws + 4 * i, points - i, out);
}

}  // namespace

extern const format_path avx512_path{"avx512", runs_here, fill_draws_avx2, format_lines_avx512};

}  // namespace scatter
#endif
