// One point from four successive draws.
//
//   draw 1: the magnitude of x     draw 3: the sign of x
//   draw 2: the magnitude of y     draw 4: the sign of y
//
// A magnitude is r / 32767.0 * 10.0 in double precision, rounded to single
// precision; a coordinate keeps its sign when r / 32767.0 > 0.5 and is
// negated otherwise, so a zero magnitude can come out as negative zero.
#pragma once

#include "draw_source.hpp"

namespace scatter {

struct point {
    float x;
    float y;
};

inline constexpr double draw_divisor = draw_max;  // 32767.0
inline constexpr double magnitude_scale = 10.0;
inline constexpr double sign_threshold = 0.5;

constexpr float magnitude(int draw)
{
    return static_cast<float>(static_cast<double>(draw) / draw_divisor * magnitude_scale);
}

constexpr bool keeps_sign(int draw)
{
    return static_cast<double>(draw) / draw_divisor > sign_threshold;
}

// keeps_sign grows with the draw: the draws from this one on keep the sign.
inline constexpr int first_kept_draw = [] {
    int r = 0;
    while (!keeps_sign(r))
        ++r;
    return r;
}();

// Takes exactly four draws from source, anything that yields the next draw
// (0 to draw_max) when called.
template <class Source>
constexpr point draw_point(Source& source)
{
    const float magnitude_x = magnitude(source());
    const float magnitude_y = magnitude(source());
    const float x = keeps_sign(source()) ? magnitude_x : -magnitude_x;
    const float y = keeps_sign(source()) ? magnitude_y : -magnitude_y;
    return {x, y};
}

}  // namespace scatter
