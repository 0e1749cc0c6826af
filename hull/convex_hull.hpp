// The exact convex hull of the points, from their columns: its vertices,
// the lines on its boundary, and its area.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "point_set.hpp"

namespace scatter_hull {

struct vertex {
    point at;
    std::uint64_t first_line = 0;  // from 0
    field_form x_form;
    field_form y_form;
};

struct convex_hull {
    // The strict corners, counter-clockwise from the lowest point (the
    // leftmost of the lowest).  One point has one; points on a line have
    // their two ends.
    std::vector<vertex> vertices;
    // The lines whose point lies on the boundary, less one line for each
    // vertex: what qhull's Qc counts as coplanar points.
    std::uint64_t on_edges = 0;
    std::int64_t twice_area = 0;  // in square millionths
};

// The boundary is made of each column's least and greatest y: a point with
// points of its x below and above lies inside.  columns: in increasing x.
convex_hull hull_of(const std::vector<column>& columns);

// Twice the signed area of the triangle o, a, b: positive for a left turn,
// 0 when the three lie on one line.
std::int64_t cross(point o, point a, point b);

// The area, exactly: twice the area in square millionths is an integer, so
// the area is a decimal of at most 13 places ("399.991372", "0.5", "0.0").
std::string area_text(std::int64_t twice_area);

// Where a point lies against the hull.
enum class place : unsigned char { vertex, edge, inside, outside };
struct location {
    place where = place::outside;
    std::size_t index = 0;  // the vertex, or the edge from this vertex to the next
};
location locate(const convex_hull& hull, point p);

}  // namespace scatter_hull
