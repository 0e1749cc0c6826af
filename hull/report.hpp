// What scatter-hull prints: the row of the known answers' table, and the
// vertices.
#pragma once

#include <cstdint>
#include <string>

#include "convex_hull.hpp"
#include "point_set.hpp"
#include "read_points.hpp"

namespace scatter_hull {

struct table_row {
    std::uint64_t lines = 0;
    std::uint64_t bytes = 0;
    std::uint64_t repeats = 0;
    std::uint64_t x_values = 0;
    std::uint64_t on_ten = 0;  // lines with a coordinate of 10 or -10
    convex_hull hull;
};

// The row of the points read (sorts their repeat keys).
table_row row_of(const read_result& input, point_set& points);

// "| lines | bytes | repeats | x values | on ±10 | vertices | on edges | area |"
std::string row_text(const table_row& row);

// A line for each vertex: its first line (from 0) and its two fields as
// that line writes them.
std::string vertex_lines(const convex_hull& hull);

}  // namespace scatter_hull
