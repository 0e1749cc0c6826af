// The plain way to write points, with snprintf: what every faster way is
// held to.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "draw_point.hpp"
#include "draw_source.hpp"

namespace scatter::testing {

inline std::string printf_line(point p)
{
    char line[64];
    std::snprintf(line, sizeof line, "%f %f\n", static_cast<double>(p.x), static_cast<double>(p.y));
    return line;
}

// The first count lines that a run writes.  The lines are made once, as far
// as the largest count yet asked for, and each answer is cut from them.  Not
// for calls from several threads at once.
inline std::string printf_points(std::size_t count)
{
    static std::string text;
    static std::vector<std::size_t> line_ends;
    static draw_source source;
    while (line_ends.size() < count) {
        text += printf_line(draw_point(source));
        line_ends.push_back(text.size());
    }
    return text.substr(0, count == 0 ? 0 : line_ends[count - 1]);
}

}  // namespace scatter::testing
