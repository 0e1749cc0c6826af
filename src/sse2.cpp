// SSE2: the lanes of the generator, which every x86-64 processor has.
#include "kernels.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>

#include "draw_lanes.hpp"

namespace scatter {
namespace {

// portable_draw_lanes (draw_lanes.hpp) with SSE2.  SSE2
// has no 32-bit lane multiply, so each state is kept as two 16-bit halves,
// eight lanes to a register:
//
//   low'  = (a_low * low + c_low) mod 2^16
//   high' = (a_high * low + a_low * high + carry + c_high) mod 2^16
//
// where carry is the part of a_low * low + c_low above 16 bits: the high
// half of the product, plus one when adding c_low to its low half wraps.
// The draw is the high half without its top bit.
class sse2_draw_lanes {
public:
    static constexpr std::size_t width = 16;

    explicit sse2_draw_lanes(std::uint32_t state)
    {
        alignas(16) std::uint16_t low[width];
        alignas(16) std::uint16_t high[width];
        for (std::size_t j = 0; j < width; ++j) {
            state = generator_step(state);
            low[j] = static_cast<std::uint16_t>(state);
            high[j] = static_cast<std::uint16_t>(state >> 16);
        }
        low0_ = _mm_load_si128(reinterpret_cast<const __m128i*>(low));
        low1_ = _mm_load_si128(reinterpret_cast<const __m128i*>(low + 8));
        high0_ = _mm_load_si128(reinterpret_cast<const __m128i*>(high));
        high1_ = _mm_load_si128(reinterpret_cast<const __m128i*>(high + 8));
    }

    // Writes the next rounds * width draws to out.
    void fill(std::uint16_t* out, std::size_t rounds)
    {
        constants k = make_constants();
        // Keeps the compiler from trading the multiplies by constants for
        // longer chains of shifts and adds, as GCC does (15 instructions a
        // point against 10).  The compiler must take an asm's outputs as
        // unknown, and SSE2 multiplies by an unknown only with pmullw.
        __asm__("" : "+x"(k.a_low), "+x"(k.a_high));
        const __m128i draw_mask = _mm_set1_epi16(0x7FFF);
        __m128i low0 = low0_, high0 = high0_, low1 = low1_, high1 = high1_;
        for (std::size_t round = 0; round < rounds; ++round, out += width) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_and_si128(high0, draw_mask));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_and_si128(high1, draw_mask));
            step(low0, high0, k);
            step(low1, high1, k);
        }
        low0_ = low0;
        high0_ = high0;
        low1_ = low1;
        high1_ = high1;
    }

private:
    static constexpr affine_step stride = generator_step.power(width);

    struct constants {
        __m128i a_low, a_high, c_low, c_high, bias, carry_limit;
    };

    static constants make_constants()
    {
        const auto lane = [](std::uint32_t v) { return _mm_set1_epi16(static_cast<short>(v & 0xFFFF)); };
        // SSE2 compares signed 16-bit lanes; flipping the top bit of both
        // sides makes it an unsigned comparison.  low * a_low mod 2^16 plus
        // c_low wraps exactly when it exceeds 0xFFFF - c_low.
        const std::uint32_t c_low = stride.increment & 0xFFFF;
        return {lane(stride.multiplier), lane(stride.multiplier >> 16), lane(c_low), lane(stride.increment >> 16),
                lane(0x8000), lane((0xFFFF - c_low) ^ 0x8000)};
    }

    static void step(__m128i& low, __m128i& high, const constants& k)
    {
        const __m128i product_low = _mm_mullo_epi16(low, k.a_low);
        const __m128i product_high = _mm_mulhi_epu16(low, k.a_low);
        const __m128i wraps = _mm_cmpgt_epi16(_mm_xor_si128(product_low, k.bias), k.carry_limit);  // -1 or 0
        const __m128i cross = _mm_add_epi16(_mm_mullo_epi16(low, k.a_high), _mm_mullo_epi16(high, k.a_low));
        high = _mm_sub_epi16(_mm_add_epi16(cross, _mm_add_epi16(product_high, k.c_high)), wraps);
        low = _mm_add_epi16(product_low, k.c_low);
    }

    __m128i low0_, high0_, low1_, high1_;
};

static_assert(sse2_draw_lanes::width <= draw_slack);

}  // namespace

// SSE2 is part of every x86-64 processor, and of every build that defines
// __SSE2__: this file needs no target attribute.
void fill_draws_sse2(std::uint32_t state, std::uint16_t* out, std::size_t count)
{
    sse2_draw_lanes(state).fill(out, (count + sse2_draw_lanes::width - 1) / sse2_draw_lanes::width);
}

}  // namespace scatter
#endif
