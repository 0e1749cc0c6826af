// The plain way to write points, with snprintf: what every faster way is
// held to.
#pragma once

#include <cstdio>
#include <string>

#include "draw_point.hpp"
#include "draw_source.hpp"

namespace scatter::testing {

inline std::string printf_line(point p)
{
    char line[64];
    std::snprintf(line, sizeof line, "%f %f\n", static_cast<double>(p.x), static_cast<double>(p.y));
    return line;
}

// The first count lines that a run writes.
inline std::string printf_points(long count)
{
    std::string text;
    draw_source source;
    for (long i = 0; i < count; ++i)
        text += printf_line(draw_point(source));
    return text;
}

}  // namespace scatter::testing
