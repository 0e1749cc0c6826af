// Reading an answer, and judging it against the exact hull: the first
// difference, in the order of the answer's lines, then what it leaves out,
// then the order of its vertices.

#include "answer.hpp"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>

namespace scatter_hull {
namespace {

using fields = std::vector<std::string>;

fields split(std::string_view line)
{
    fields out;
    std::size_t at = 0;
    for (;;) {
        at = line.find_first_not_of(" \t\r", at);
        if (at == std::string_view::npos)
            return out;
        const std::size_t end = std::min(line.find_first_of(" \t\r", at), line.size());
        out.emplace_back(line.substr(at, end - at));
        at = end;
    }
}

std::vector<fields> lines_of(std::string_view text)
{
    std::vector<fields> lines;
    while (!text.empty()) {
        const std::size_t feed = text.find('\n');
        lines.push_back(split(text.substr(0, feed)));
        text = feed == std::string_view::npos ? std::string_view() : text.substr(feed + 1);
    }
    return lines;
}

// Digits alone; a number too large for 64 bits becomes the largest.
std::optional<std::uint64_t> whole_number(const std::string& field)
{
    if (field.empty() || field.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    constexpr std::uint64_t largest = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    for (const char c : field) {
        const auto digit = static_cast<std::uint64_t>(c - '0');
        value = value > (largest - digit) / 10 ? largest : value * 10 + digit;
    }
    return value;
}

std::optional<double> real_number(const std::string& field)
{
    char* end = nullptr;
    const double value = std::strtod(field.c_str(), &end);
    if (end != field.c_str() + field.size() || field.empty())
        return std::nullopt;
    return value;  // an overflow is infinite, which no point has
}

// The nearest millionth of a value within 1e-9 of one; otherwise why no
// coordinate can be that value.
std::optional<millionths> nearest_millionth(double value, const std::string& field, std::string& why_not)
{
    if (!(std::fabs(value) <= 1000 + 1e-9)) {
        why_not = field + " is not a number of at most 1000 in size";
        return std::nullopt;
    }
    const double scaled = value * 1e6;
    const double nearest = std::nearbyint(scaled);
    if (std::fabs(scaled - nearest) > 1e-3) {
        why_not = field + " is not a value with six decimals";
        return std::nullopt;
    }
    return static_cast<millionths>(nearest);
}

std::string at_line(std::size_t line)
{
    return "answer line " + std::to_string(line) + ": ";
}

answer_reading unreadable(std::size_t line, const std::string& what)
{
    return {{}, at_line(line) + what};
}

answer_reading line_number_answer(const std::vector<fields>& lines)
{
    answer a;
    a.line_numbers = true;
    a.count_line = 1;
    a.count = whole_number(lines[0][0]);
    if (!a.count)
        return unreadable(1, "not a count of vertices: " + lines[0][0]);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::optional<std::uint64_t> line = whole_number(lines[i][0]);
        if (!line)
            return unreadable(i + 1, "not a line number: " + lines[i][0]);
        a.entries.push_back({i + 1, *line, {}, {}, {}});
    }
    return {a, {}};
}

answer_reading point_answer(const std::vector<fields>& lines)
{
    answer a;
    std::size_t first = 0;
    if (!lines.empty() && lines[0].size() == 1) {
        // qhull's header: the dimension, then the count.
        if (lines[0][0] != "2")
            return unreadable(1, "neither two numbers nor the dimension 2 of qhull's header: " + lines[0][0]);
        if (lines.size() < 2 || lines[1].size() != 1 || !whole_number(lines[1][0]))
            return unreadable(2, "not the count of qhull's header, after its dimension 2");
        a.count = whole_number(lines[1][0]);
        a.count_line = 2;
        first = 2;
    }
    for (std::size_t i = first; i < lines.size(); ++i) {
        const fields& f = lines[i];
        if (f.size() != 2)
            return unreadable(i + 1, f.empty() ? "an empty line" : f.size() == 1 ? "one number only" : "more than two numbers");
        answer_entry e{i + 1, 0, {}, f[0] + ' ' + f[1], {}};
        const std::optional<double> x = real_number(f[0]);
        const std::optional<double> y = real_number(f[1]);
        if (!x || !y)
            return unreadable(i + 1, "not a number: " + (x ? f[1] : f[0]));
        const std::optional<millionths> mx = nearest_millionth(*x, f[0], e.unmatched);
        const std::optional<millionths> my = mx ? nearest_millionth(*y, f[1], e.unmatched) : std::nullopt;
        if (mx && my)
            e.at = {*mx, *my};
        a.entries.push_back(e);
    }
    return {a, {}};
}

verdict not_hull(std::string message)
{
    return {1, std::move(message)};
}

std::string name(std::uint64_t number, point p)
{
    return "point " + std::to_string(number) + " (" + plain_text(p) + ")";
}

std::string name(const vertex& v)
{
    return name(v.first_line, v.at);
}

// A point that an answer names, with its number (its line, from 0).
struct named {
    point at;
    std::uint64_t number = 0;
};

// The point that an entry names, or why it names none of the points.
std::optional<verdict> resolve(const answer& a, const answer_entry& e, const point_set& points, named& out)
{
    const std::string where = at_line(e.answer_line);
    if (a.line_numbers) {
        const std::optional<point> p = points.point_at(e.line);
        if (!p)
            return not_hull(where + "point " + std::to_string(e.line) + " is out of range: the input has "
                + std::to_string(points.lines()) + " points, numbered from 0");
        out = {*p, e.line};
        return std::nullopt;
    }
    if (!e.unmatched.empty())
        return not_hull(where + e.text + " is not one of the points: " + e.unmatched);
    const std::optional<std::uint64_t> first = points.first_line_of(e.at);
    if (!first)
        return not_hull(where + e.text + " is not one of the points");
    out = {e.at, *first};
    return std::nullopt;
}

// Whether the vertices named go round the hull one step at a time.
bool steps_of(const std::vector<std::size_t>& order, std::size_t step, std::size_t n)
{
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        if (order[i + 1] != (order[i] + step) % n)
            return false;
    return true;
}

std::string vertices_named(std::size_t n)
{
    return std::to_string(n) + (n == 1 ? " vertex" : " vertices");
}

verdict order_verdict(const answer& a, const std::vector<named>& names, const std::vector<std::size_t>& order,
    const convex_hull& hull, bool either_direction)
{
    const std::size_t n = hull.vertices.size();
    if (steps_of(order, 1, n))
        return {0, "the hull: " + vertices_named(n) + ", counter-clockwise"};
    if (steps_of(order, n - 1, n)) {
        if (either_direction)
            return {0, "the hull: " + vertices_named(n) + ", clockwise"};
        return not_hull("clockwise: the answer goes round the hull's " + vertices_named(n)
            + " clockwise, not counter-clockwise (--either-direction accepts either)");
    }
    std::size_t i = 0;
    while (order[i + 1] == (order[i] + 1) % n)
        ++i;
    return not_hull(at_line(a.entries[i + 1].answer_line) + "out of order: after " + name(names[i].number, names[i].at)
        + " comes " + name(names[i + 1].number, names[i + 1].at) + ", where the hull's next vertex is "
        + name(hull.vertices[(order[i] + 1) % n]));
}

}  // namespace

answer_reading parse_answer(std::string_view text)
{
    const std::vector<fields> lines = lines_of(text);
    bool single_fields = !lines.empty();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty())
            return unreadable(i + 1, "an empty line");
        single_fields = single_fields && lines[i].size() == 1;
    }
    return single_fields ? line_number_answer(lines) : point_answer(lines);
}

void watch(const answer& a, point_set& points)
{
    std::vector<std::uint64_t> lines;
    std::vector<point> named_points;
    for (const answer_entry& e : a.entries) {
        if (a.line_numbers)
            lines.push_back(e.line);
        else if (e.unmatched.empty())
            named_points.push_back(e.at);
    }
    points.watch_lines(std::move(lines));
    points.watch_points(std::move(named_points));
}

verdict judge(const answer& a, const point_set& points, const convex_hull& hull, bool either_direction)
{
    if (a.count && *a.count != a.entries.size())
        return not_hull(at_line(a.count_line) + "the count " + std::to_string(*a.count) + " disagrees with the "
            + std::to_string(a.entries.size()) + (a.line_numbers ? " line numbers" : " points") + " that follow");
    std::vector<named> names;
    std::vector<std::size_t> order;  // the vertex that each entry names
    std::map<point, std::size_t> answer_line_of;
    for (const answer_entry& e : a.entries) {
        named n;
        if (const std::optional<verdict> v = resolve(a, e, points, n))
            return *v;
        const auto [earlier, first] = answer_line_of.emplace(n.at, e.answer_line);
        if (!first)
            return not_hull("answer lines " + std::to_string(earlier->second) + " and " + std::to_string(e.answer_line)
                + " both name the vertex " + name(n.number, n.at));
        const location l = locate(hull, n.at);
        const std::string no_vertex = at_line(e.answer_line) + name(n.number, n.at) + " is no vertex: it lies ";
        if (l.where == place::inside)
            return not_hull(no_vertex + "inside the hull");
        if (l.where == place::edge)
            return not_hull(no_vertex + "on the hull's edge from " + name(hull.vertices[l.index]) + " to "
                + name(hull.vertices[(l.index + 1) % hull.vertices.size()]));
        if (l.where == place::outside)
            return not_hull(no_vertex + "outside the hull, which cannot be: the hull is wrong");
        names.push_back(n);
        order.push_back(l.index);
    }
    if (order.size() < hull.vertices.size()) {
        std::vector<bool> given(hull.vertices.size());
        for (const std::size_t i : order)
            given[i] = true;
        std::size_t missing = 0;
        while (given[missing])
            ++missing;
        return not_hull("a missing vertex: the answer leaves out " + name(hull.vertices[missing]));
    }
    return order_verdict(a, names, order, hull, either_direction);
}

}  // namespace scatter_hull
