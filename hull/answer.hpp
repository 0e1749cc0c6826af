// A hull code's answer, and whether it is the hull.  An answer gives the
// vertices, counter-clockwise, either as line numbers from 0 after their
// count (as qhull's Fx prints them), or as points, "x y" a line, in any
// notation strtod reads, after qhull's header lines (dimension 2, then the
// count) or without them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "convex_hull.hpp"
#include "point_set.hpp"

namespace scatter_hull {

struct answer_entry {
    std::size_t answer_line = 0;  // from 1
    std::uint64_t line = 0;       // line numbers: the line named, from 0
    point at;                     // points: the point, in millionths
    std::string text;             // points: as written
    std::string unmatched;        // points: why it can be none of the points, if it cannot
};

struct answer {
    bool line_numbers = false;
    std::optional<std::uint64_t> count;  // as the answer gives it
    std::size_t count_line = 0;
    std::vector<answer_entry> entries;
};

// The answer, or error: "answer line 3: ..." when a line cannot be read.
struct answer_reading {
    answer value;
    std::string error;
};
answer_reading parse_answer(std::string_view text);

// Has the points note what the answer names as they are read.
void watch(const answer& a, point_set& points);

// status 0: the answer is the hull; 1: it is not, and message names the
// first difference.
struct verdict {
    int status = 0;
    std::string message;
};
verdict judge(const answer& a, const point_set& points, const convex_hull& hull, bool either_direction);

}  // namespace scatter_hull
