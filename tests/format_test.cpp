// The formatter against draw_point and snprintf, over every coordinate a
// point can have.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "draw_point.hpp"
#include "format.hpp"
#include "printf_oracle.hpp"

namespace scatter {
namespace {

using testing::printf_coordinate;

// The x coordinate of a point whose magnitude and sign draws are these.
float drawn_x(int magnitude_draw, int sign_draw)
{
    struct {
        std::array<int, 4> draws;
        std::size_t next = 0;
        int operator()() { return draws[next++]; }
    } source{{magnitude_draw, 0, sign_draw, 0}};
    return draw_point(source).x;
}

std::string formatted(int magnitude_draw, int sign_draw)
{
    std::array<std::uint16_t, 4> draws{};
    draws[0] = static_cast<std::uint16_t>(magnitude_draw);
    draws[2] = static_cast<std::uint16_t>(sign_draw);
    char line[max_line_length + 1];
    const std::string text(line, format_line(line, draws.data()));
    return text.substr(0, text.find(' '));
}

TEST(Format, EveryCoordinateIsWrittenAsPrintfWritesIt)
{
    // Each magnitude draw r once with the sign draw r and once with
    // draw_max - r: every magnitude both negated and not, and every sign
    // draw, the ones at the threshold included.
    for (int r = 0; r <= draw_max; ++r) {
        for (const int s : {r, draw_max - r}) {
            ASSERT_EQ(formatted(r, s), printf_coordinate(drawn_x(r, s))) << "magnitude draw " << r << ", sign draw " << s;
        }
    }
}

}  // namespace
}  // namespace scatter
