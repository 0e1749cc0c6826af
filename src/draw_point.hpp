// One point from four successive draws.
//
//   draw 1: the magnitude of x     draw 3: the sign of x
//   draw 2: the magnitude of y     draw 4: the sign of y
//
// A magnitude is r / 32767.0 * 10.0 in double precision, rounded to single
// precision; a coordinate keeps its sign when r / 32767.0 > 0.5 and is
// negated otherwise (so a zero magnitude can come out as negative zero).
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "draw_source.hpp"

namespace scatter {

struct point {
    float x;
    float y;
};

inline constexpr double draw_divisor = draw_max;  // 32767.0
inline constexpr double magnitude_scale = 10.0;
inline constexpr double sign_threshold = 0.5;
inline constexpr std::size_t draw_count = draw_max + 1;

constexpr float magnitude(int draw)
{
    return static_cast<float>(static_cast<double>(draw) / draw_divisor * magnitude_scale);
}

constexpr bool keeps_sign(int draw)
{
    return static_cast<double>(draw) / draw_divisor > sign_threshold;
}

// The rules above, worked out by the compiler for every draw, so that a
// point costs two lookups and two comparisons instead of four divisions.
inline constexpr std::array<float, draw_count> magnitudes = [] {
    std::array<float, draw_count> table{};
    for (std::size_t r = 0; r < draw_count; ++r)
        table[r] = magnitude(static_cast<int>(r));
    return table;
}();

// The quotient grows with the draw, so the draws that keep their sign are
// exactly those from the first one that does.
inline constexpr int first_kept_draw = [] {
    int r = 0;
    while (!keeps_sign(r))
        ++r;
    return r;
}();

// value, with its sign flipped unless the draw keeps it.  Flipping the sign
// bit is IEEE negation: a zero becomes negative zero.
constexpr float signed_by(float value, int draw)
{
    const std::uint32_t flip = static_cast<std::uint32_t>(draw < first_kept_draw) << 31;
    return std::bit_cast<float>(std::bit_cast<std::uint32_t>(value) ^ flip);
}

// Takes exactly four draws from source, which is anything that yields the
// next draw (0 to draw_max) when called: the process-wide draw_source, or a
// test's list.
template <class Source>
constexpr point draw_point(Source& source)
{
    const float magnitude_x = magnitudes[static_cast<std::size_t>(source())];
    const float magnitude_y = magnitudes[static_cast<std::size_t>(source())];
    const float x = signed_by(magnitude_x, source());
    const float y = signed_by(magnitude_y, source());
    return {x, y};
}

}  // namespace scatter
