// The formatter against printf, over every coordinate a point can have.

#include <gtest/gtest.h>

#include <string>

#include "draw_point.hpp"
#include "format_point.hpp"
#include "printf_oracle.hpp"

namespace scatter {
namespace {

using testing::printf_coordinate;
using testing::printf_line;

std::string formatted(float value)
{
    char text[16];
    return {text, static_cast<std::size_t>(format_coordinate_code(text, coordinate_code(value)) - text)};
}

TEST(Format, EveryCoordinateIsWrittenAsPrintfWritesIt)
{
    for (int r = 0; r <= draw_max; ++r) {
        const float m = magnitude(r);
        ASSERT_EQ(formatted(m), printf_coordinate(m)) << r;
        ASSERT_EQ(formatted(-m), printf_coordinate(-m)) << r;
    }
}

TEST(Format, LinesJoinTwoCoordinates)
{
    const point points[] = {{10.0f, -10.0f}, {-10.0f, 10.0f}, {-0.0f, 0.0f}, {magnitude(597), -magnitude(32736)}};
    for (const point p : points) {
        char line[max_line_length];
        const char* end = format_point(line, p);
        EXPECT_LE(static_cast<std::size_t>(end - line), max_line_length);
        EXPECT_EQ(std::string(line, static_cast<std::size_t>(end - line)), printf_line(p));
    }
}

TEST(Format, MagnitudeIndexFindsTheDrawOfEveryMagnitude)
{
    for (int r = 0; r <= draw_max; ++r) {
        ASSERT_EQ(magnitude_index(magnitude(r)), static_cast<std::size_t>(r)) << r;
        ASSERT_EQ(magnitude_index(-magnitude(r)), static_cast<std::size_t>(r)) << r;
    }
}

TEST(Format, EightDigitsOfEveryScaledMagnitude)
{
    // Every n up to 10^7 that a coordinate below 10 can scale to, against
    // the plain digit-by-digit conversion.
    for (std::uint32_t n = 0; n < 10000000; ++n) {
        std::uint64_t expected = 0;
        std::uint32_t rest = n;
        for (int i = 7; i >= 0; --i, rest /= 10)
            expected |= std::uint64_t{'0' + rest % 10} << (8 * i);
        ASSERT_EQ(eight_digits(n), expected) << n;
    }
}

TEST(Format, CompileTimeTablesMatchTheRulesRunNow)
{
    // magnitude() evaluated here runs on the processor, not in the compiler.
    for (int r = 0; r <= draw_max; ++r) {
        volatile int draw = r;
        ASSERT_EQ(magnitudes[static_cast<std::size_t>(r)], magnitude(draw)) << r;
        ASSERT_EQ(draw >= first_kept_draw, keeps_sign(draw)) << r;
    }
    EXPECT_EQ(first_kept_draw, 16384);
}

}  // namespace
}  // namespace scatter
