// What the answers need of the points read: counts, and for each distinct
// x value its least and greatest y; the lines and points that an answer
// names, found as they pass.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "read_points.hpp"
#include "repeats.hpp"

namespace scatter_hull {

// The lines of one point of a column: its y, how many lines hold it, the
// first of them (from 0) and how that line wrote the point.
struct extreme {
    millionths y = 0;
    std::uint64_t lines = 0;
    std::uint64_t first_line = 0;
    field_form x_form;
    field_form y_form;
};

// The points of one x value: how many lines, and the least and greatest y.
struct column {
    millionths x = 0;
    std::uint64_t lines = 0;
    extreme least;
    extreme greatest;
};

// Coordinate values and their indices, in the order in which they first
// came: an open-addressing hash table, at most half full.
class value_table {
public:
    value_table();
    std::uint32_t index_of(millionths value);  // adds a value not seen yet
    std::size_t size() const { return size_; }

private:
    struct slot {
        std::int32_t value = 0;   // a coordinate fits: at most 10^9 in size
        std::uint32_t index = 0;  // index + 1; 0 for an empty slot
    };
    void grow();

    std::vector<slot> slots_;
    int shift_;  // 64 less the bits of a slot's number
    std::size_t size_ = 0;
};

class point_set final : public line_sink {
public:
    explicit point_set(std::size_t repeat_key_limit = std::size_t{1} << 26);

    void add(const point_line& line) override;

    // Before the points are read: the lines (from 0) and the points whose
    // points and first lines an answer needs.
    void watch_lines(std::vector<std::uint64_t> lines);
    void watch_points(std::vector<point> points);

    std::uint64_t lines() const { return lines_; }
    std::uint64_t lines_on_ten() const { return lines_on_ten_; }
    std::uint64_t repeats() { return repeats_.count(); }
    // The columns, in increasing x.
    std::vector<column> columns() const;
    // The point of a watched line, and the first line of a watched point.
    std::optional<point> point_at(std::uint64_t line) const;
    std::optional<std::uint64_t> first_line_of(point p) const;

private:
    // What every line of a column reads, apart from the rest, so that the
    // spans of 65536 values stay in the cache.
    struct span {
        std::int32_t least = 0;
        std::int32_t greatest = 0;
        std::uint64_t lines = 0;
    };
    void start_column(std::uint32_t x_index, const point_line& line);
    void note_watched(const point_line& line);

    value_table values_;
    std::vector<span> spans_;         // by x value index; lines == 0 for no column
    std::vector<column> columns_;     // the rest, by x value index
    std::vector<bool> watched_x_;     // by value index: an x of a watched point
    repeat_counter repeats_;
    std::uint64_t lines_ = 0;
    std::uint64_t lines_on_ten_ = 0;

    std::vector<std::uint64_t> watched_lines_;  // sorted, distinct
    std::vector<point> points_at_lines_;        // found so far, in that order
    std::vector<point> watched_points_;         // sorted, distinct
    std::vector<std::optional<std::uint64_t>> first_lines_;  // of each of those
};

}  // namespace scatter_hull
