// The draws and the point draw: the generator's sequence, and whole points
// from chosen draws.

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "draw_point.hpp"
#include "draw_source.hpp"
#include "printf_oracle.hpp"

namespace scatter {
namespace {

// Hands out a fixed list of draws, so that a test chooses what draw_point sees.
struct listed_draws {
    std::array<int, 4> draws;
    int taken = 0;
    int operator()() { return draws.at(static_cast<std::size_t>(taken++)); }
};

using testing::printf_line;

// The first draws of the C standard's example rand() from its initial seed 1.
constexpr int c_standard_draws[] = {16838, 5758, 10113, 17515, 31051, 5627, 23010, 7419, 16212, 4086, 2749, 12767};

TEST(DrawSource, YieldsTheCStandardExampleSequence)
{
    draw_source source;
    for (const int value : c_standard_draws)
        EXPECT_EQ(source(), value);
}

TEST(DrawSource, JumpAheadIsRepeatedStepping)
{
    std::uint32_t state = initial_state;
    for (std::uint64_t k = 0; k <= 300; ++k) {
        ASSERT_EQ(generator_step.power(k)(initial_state), state) << k;
        state = generator_step(state);
    }
}

TEST(DrawSource, RepeatsAfterTwoToThe31DrawsAndNoSooner)
{
    // 2^31 steps take every state s to s + a multiple of 2^31, and a draw,
    // bits 16 to 30, does not see bit 31: the draws repeat after 2^31 of
    // them, and the points, four draws each, after 2^29.  2^30 steps flip
    // bit 30 of every state, the draw's top bit, so half of that period is
    // none.
    constexpr std::uint32_t low_31_bits = 0x7FFFFFFFu;
    const affine_step period = generator_step.power(std::uint64_t{1} << 31);
    EXPECT_EQ(period.multiplier & low_31_bits, 1u);
    EXPECT_EQ(period.increment & low_31_bits, 0u);
    const affine_step half_period = generator_step.power(std::uint64_t{1} << 30);
    EXPECT_EQ(half_period.multiplier & low_31_bits, 1u);
    EXPECT_EQ(half_period.increment & low_31_bits, 0x40000000u);

    // So point 2^29 is point 0 again, and point 2^28 is not.
    draw_source after_period(period(initial_state));
    draw_source after_half_period(half_period(initial_state));
    for (const int value : c_standard_draws) {
        EXPECT_EQ(after_period(), value);
        EXPECT_EQ(after_half_period(), value ^ 0x4000);
    }
}

struct drawn_point_case {
    std::array<int, 4> draws;
    double x;
    double y;
    const char* line;
};

TEST(DrawPoint, BuildsThePointFromFourDrawsInOrder)
{
    const drawn_point_case cases[] = {
        {{597, 32736, 16384, 16383}, 0.1821954995393753, -9.99053955078125, "0.182195 -9.990540\n"},
        {{32767, 0, 16383, 16383}, -10.0, -0.0, "-10.000000 -0.000000\n"},
        {{0, 32767, 16384, 0}, 0.0, -10.0, "0.000000 -10.000000\n"},
        {{16384, 1, 0, 32767}, -5.000152587890625, 0.00030518509447574615, "-5.000153 0.000305\n"},
        {{1, 1, 16384, 16384}, 0.00030518509447574615, 0.00030518509447574615, "0.000305 0.000305\n"},
        {{0, 0, 0, 0}, -0.0, -0.0, "-0.000000 -0.000000\n"},
    };
    for (const drawn_point_case& c : cases) {
        listed_draws source{c.draws};
        const point p = draw_point(source);
        EXPECT_EQ(source.taken, 4);
        EXPECT_EQ(static_cast<double>(p.x), c.x) << c.line;
        EXPECT_EQ(static_cast<double>(p.y), c.y) << c.line;
        EXPECT_EQ(std::signbit(p.x), std::signbit(c.x)) << c.line;
        EXPECT_EQ(std::signbit(p.y), std::signbit(c.y)) << c.line;
        EXPECT_EQ(printf_line(p), c.line);
    }
}

}  // namespace
}  // namespace scatter
