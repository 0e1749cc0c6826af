// Andrew's monotone chain on each column's least and greatest y, with
// exact integer turns.

#include "convex_hull.hpp"

#include <algorithm>
#include <cstdio>

namespace scatter_hull {
namespace {

// The strict corners of the chain through points in monotone x order that
// turns left only: where it goes straight on there is no corner.
std::vector<std::size_t> corners_of(const std::vector<point>& points)
{
    std::vector<std::size_t> corners;
    for (std::size_t i = 0; i < points.size(); ++i) {
        while (corners.size() >= 2 && cross(points[corners[corners.size() - 2]], points[corners.back()], points[i]) <= 0)
            corners.pop_back();
        corners.push_back(i);
    }
    return corners;
}

// Whether each point lies on the chain of those corners.
std::vector<bool> on_chain(const std::vector<point>& points, const std::vector<std::size_t>& corners)
{
    std::vector<bool> on(points.size());
    std::size_t edge = 0;  // the edge from corners[edge] to corners[edge + 1] spans point i
    for (std::size_t i = 0; i < points.size(); ++i) {
        while (edge + 2 < corners.size() && corners[edge + 1] <= i)
            ++edge;
        on[i] = corners.size() == 1 || cross(points[corners[edge]], points[corners[edge + 1]], points[i]) == 0;
    }
    return on;
}

vertex vertex_of(const column& c, const extreme& e)
{
    return {{c.x, e.y}, e.first_line, e.x_form, e.y_form};
}

// The lower chain's corners, then the upper chain's, each end once.
std::vector<vertex> cycle_of(const std::vector<column>& columns, const std::vector<std::size_t>& lower,
    const std::vector<std::size_t>& upper)
{
    std::vector<vertex> cycle;
    cycle.reserve(lower.size() + upper.size());
    for (const std::size_t i : lower)
        cycle.push_back(vertex_of(columns[i], columns[i].least));
    for (std::size_t j = 0; j < upper.size(); ++j) {
        const column& c = columns[columns.size() - 1 - upper[j]];
        const vertex v = vertex_of(c, c.greatest);
        if ((j == 0 && v.at == cycle.back().at) || (j + 1 == upper.size() && v.at == cycle.front().at))
            continue;
        cycle.push_back(v);
    }
    const auto lowest = std::min_element(cycle.begin(), cycle.end(),
        [](const vertex& a, const vertex& b) { return a.at.y != b.at.y ? a.at.y < b.at.y : a.at.x < b.at.x; });
    std::rotate(cycle.begin(), lowest, cycle.end());
    return cycle;
}

// At the least and the greatest x every line lies on the boundary; in
// between, the lines of a column's least or greatest y where that lies on
// its chain.
std::uint64_t boundary_lines(const std::vector<column>& columns, const std::vector<bool>& on_lower,
    const std::vector<bool>& on_upper)
{
    const std::size_t n = columns.size();
    std::uint64_t lines = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const column& c = columns[i];
        const bool low = on_lower[i];
        const bool high = on_upper[n - 1 - i];
        if (i == 0 || i == n - 1)
            lines += c.lines;
        else if (c.least.y == c.greatest.y)
            lines += low || high ? c.least.lines : 0;
        else
            lines += (low ? c.least.lines : 0) + (high ? c.greatest.lines : 0);
    }
    return lines;
}

// A fan from the first vertex: each triangle's twice area is positive and
// at most the whole's, so no partial sum overflows.
std::int64_t twice_area_of(const std::vector<vertex>& vertices)
{
    std::int64_t sum = 0;
    for (std::size_t i = 1; i + 1 < vertices.size(); ++i)
        sum += cross(vertices[0].at, vertices[i].at, vertices[i + 1].at);
    return sum;
}

bool within(point a, point b, point p)
{
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y && p.y <= std::max(a.y, b.y);
}

}  // namespace

std::int64_t cross(point o, point a, point b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

convex_hull hull_of(const std::vector<column>& columns)
{
    if (columns.empty())
        return {};
    std::vector<point> lower;
    std::vector<point> upper;  // in decreasing x
    lower.reserve(columns.size());
    upper.reserve(columns.size());
    for (const column& c : columns)
        lower.push_back({c.x, c.least.y});
    for (auto c = columns.rbegin(); c != columns.rend(); ++c)
        upper.push_back({c->x, c->greatest.y});
    const std::vector<std::size_t> lower_corners = corners_of(lower);
    const std::vector<std::size_t> upper_corners = corners_of(upper);

    convex_hull hull;
    hull.vertices = cycle_of(columns, lower_corners, upper_corners);
    hull.on_edges = boundary_lines(columns, on_chain(lower, lower_corners), on_chain(upper, upper_corners))
        - hull.vertices.size();
    hull.twice_area = twice_area_of(hull.vertices);
    return hull;
}

std::string area_text(std::int64_t twice_area)
{
    // The area is whole + rest / (2 * 10^12) = whole + 5 * rest / 10^13,
    // and 5 * rest < 10^13 fits where 5 * twice_area may not.
    constexpr std::int64_t twice_unit = 2'000'000'000'000;
    const std::int64_t whole = twice_area / twice_unit;
    const std::int64_t rest = twice_area % twice_unit;
    const std::int64_t decimals = 5 * rest;
    char text[48];
    (void)std::snprintf(text, sizeof text, "%lld.%013lld", static_cast<long long>(whole), static_cast<long long>(decimals));
    std::string area = text;
    while (area.back() == '0' && area[area.size() - 2] != '.')
        area.pop_back();
    return area;
}

location locate(const convex_hull& hull, point p)
{
    const std::vector<vertex>& v = hull.vertices;
    const std::size_t n = v.size();
    for (std::size_t i = 0; i < n; ++i)
        if (v[i].at == p)
            return {place::vertex, i};
    bool inside = n >= 3;
    for (std::size_t i = 0; i < n && n >= 2; ++i) {
        const point a = v[i].at;
        const point b = v[(i + 1) % n].at;
        const std::int64_t turn = cross(a, b, p);
        if (turn == 0 && within(a, b, p))
            return {place::edge, i};
        inside = inside && turn > 0;
    }
    return {inside ? place::inside : place::outside, 0};
}

}  // namespace scatter_hull
