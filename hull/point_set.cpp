// The point set: a line costs two hash lookups, a column update and a key.

#include "point_set.hpp"

#include <algorithm>

namespace scatter_hull {
namespace {

constexpr int first_slot_bits = 10;
constexpr millionths ten = 10'000'000;

void take(extreme& e, const point_line& line, std::uint64_t number)
{
    e = {line.y.value, 1, number, line.x.form, line.y.form};
}

template <class item>
std::vector<item> sorted_distinct(std::vector<item> items)
{
    std::sort(items.begin(), items.end());
    items.erase(std::unique(items.begin(), items.end()), items.end());
    return items;
}

}  // namespace

value_table::value_table() : slots_(std::size_t{1} << first_slot_bits), shift_(64 - first_slot_bits) {}

std::uint32_t value_table::index_of(millionths value)
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = static_cast<std::size_t>(static_cast<std::uint64_t>(value) * 0x9E3779B97F4A7C15u >> shift_);
    const auto narrow = static_cast<std::int32_t>(value);
    for (;; at = (at + 1) & mask) {
        slot& s = slots_[at];
        if (s.index == 0)
            break;
        if (s.value == narrow)
            return s.index - 1;
    }
    slots_[at] = {narrow, static_cast<std::uint32_t>(++size_)};
    if (size_ * 2 > slots_.size())
        grow();
    return static_cast<std::uint32_t>(size_ - 1);
}

void value_table::grow()
{
    std::vector<slot> old(slots_.size() * 2);
    old.swap(slots_);
    --shift_;
    const std::size_t mask = slots_.size() - 1;
    for (const slot& s : old) {
        if (s.index == 0)
            continue;
        std::size_t at = static_cast<std::size_t>(static_cast<std::uint64_t>(s.value) * 0x9E3779B97F4A7C15u >> shift_);
        while (slots_[at].index != 0)
            at = (at + 1) & mask;
        slots_[at] = s;
    }
}

point_set::point_set(std::size_t repeat_key_limit) : repeats_(repeat_key_limit) {}

void point_set::add(const point_line& line)
{
    const std::uint32_t x_index = values_.index_of(line.x.value);
    const std::uint32_t y_index = values_.index_of(line.y.value);
    if (spans_.size() < values_.size()) {
        spans_.resize(values_.size());
        columns_.resize(values_.size());
        watched_x_.resize(values_.size());
    }
    span& s = spans_[x_index];
    const millionths y = line.y.value;
    if (s.lines == 0)
        start_column(x_index, line);
    else if (y < s.least) {
        s.least = static_cast<std::int32_t>(y);
        take(columns_[x_index].least, line, lines_);
    } else if (y > s.greatest) {
        s.greatest = static_cast<std::int32_t>(y);
        take(columns_[x_index].greatest, line, lines_);
    } else if (y == s.least || y == s.greatest) {
        column& c = columns_[x_index];
        c.least.lines += y == s.least ? 1u : 0u;
        c.greatest.lines += y == s.greatest ? 1u : 0u;
    }
    ++s.lines;
    repeats_.add(x_index, y_index);
    if (line.x.value == ten || line.x.value == -ten || y == ten || y == -ten)
        ++lines_on_ten_;
    if (watched_x_[x_index])
        note_watched(line);
    if (points_at_lines_.size() < watched_lines_.size() && watched_lines_[points_at_lines_.size()] == lines_)
        points_at_lines_.push_back({line.x.value, y});
    ++lines_;
}

void point_set::start_column(std::uint32_t x_index, const point_line& line)
{
    const auto y = static_cast<std::int32_t>(line.y.value);
    spans_[x_index] = {y, y, 0};
    column& c = columns_[x_index];
    c.x = line.x.value;
    take(c.least, line, lines_);
    take(c.greatest, line, lines_);
    const auto first = std::lower_bound(watched_points_.begin(), watched_points_.end(), point{c.x, -max_coordinate});
    watched_x_[x_index] = first != watched_points_.end() && first->x == c.x;
}

void point_set::note_watched(const point_line& line)
{
    const point p{line.x.value, line.y.value};
    const auto at = std::lower_bound(watched_points_.begin(), watched_points_.end(), p);
    if (at == watched_points_.end() || *at != p)
        return;
    std::optional<std::uint64_t>& first = first_lines_[static_cast<std::size_t>(at - watched_points_.begin())];
    if (!first)
        first = lines_;
}

void point_set::watch_lines(std::vector<std::uint64_t> lines)
{
    watched_lines_ = sorted_distinct(std::move(lines));
}

void point_set::watch_points(std::vector<point> points)
{
    watched_points_ = sorted_distinct(std::move(points));
    first_lines_.assign(watched_points_.size(), std::nullopt);
}

std::vector<column> point_set::columns() const
{
    std::vector<column> found;
    for (std::size_t i = 0; i < spans_.size(); ++i)
        if (spans_[i].lines != 0) {
            found.push_back(columns_[i]);
            found.back().lines = spans_[i].lines;
        }
    std::sort(found.begin(), found.end(), [](const column& a, const column& b) { return a.x < b.x; });
    return found;
}

std::optional<point> point_set::point_at(std::uint64_t line) const
{
    const auto at = std::lower_bound(watched_lines_.begin(), watched_lines_.end(), line);
    const auto index = static_cast<std::size_t>(at - watched_lines_.begin());
    if (index >= points_at_lines_.size() || *at != line)
        return std::nullopt;
    return points_at_lines_[index];
}

std::optional<std::uint64_t> point_set::first_line_of(point p) const
{
    const auto at = std::lower_bound(watched_points_.begin(), watched_points_.end(), p);
    if (at == watched_points_.end() || *at != p)
        return std::nullopt;
    return first_lines_[static_cast<std::size_t>(at - watched_points_.begin())];
}

}  // namespace scatter_hull
