// The row of the table and the vertices, on inputs worked out by hand:
// repeats by value, hull edges through input points, vertical ones
// included, a point just inside an edge, degenerate hulls, areas at the
// edge of int64; the repeats as their keys turn into rows of bits and into
// wide keys.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "hull_input.hpp"
#include "repeats.hpp"
#include "report.hpp"

namespace scatter_hull {
namespace {

using testing::read_points_of;

std::string row_of_text(const std::string& text)
{
    read_points_of read(text);
    EXPECT_EQ(read.input.fault, line_fault::none) << fault_report(read.input);
    return row_text(row_of(read.input, read.points));
}

struct row_case {
    std::string name;
    std::string row;
    std::string text;
};

TEST(Row, CountsAndAreaOfHandWorkedInputs)
{
    //      lines bytes repeats x-values on-10 vertices on-edges area
    const std::vector<row_case> cases = {
        {"a square with a repeated corner, an edge point twice, -0 and 0, a point inside",
            "| 9 | 169 | 3 | 3 | 4 | 4 | 4 | 100.0 |\n",
            "0.000000 0.000000\n10.000000 0.000000\n10.000000 10.000000\n0.000000 10.000000\n5.000000 0.000000\n"
            "5.000000 0.000000\n-0.000000 0.000000\n5.000000 5.000000\n10.000000 10.000000\n"},
        {"vertical edges at the least and the greatest x, with points inside them",
            "| 8 | 150 | 1 | 3 | 0 | 4 | 3 | 4.0 |\n",
            "-1.000000 -1.000000\n-1.000000 0.000000\n-1.000000 0.000000\n-1.000000 1.000000\n1.000000 -1.000000\n"
            "1.000000 0.500000\n1.000000 1.000000\n0.000000 0.500000\n"},
        {"points on the two upper edges of a triangle, and one a millionth inside",
            "| 6 | 110 | 0 | 6 | 0 | 3 | 2 | 4.0 |\n",
            "-2.000000 0.000000\n2.000000 0.000000\n0.000000 2.000000\n1.000000 1.000000\n-1.000000 1.000000\n"
            "0.500000 1.499999\n"},
        {"coordinates of 10 and -10: a line with two counts once",
            "| 4 | 79 | 0 | 3 | 3 | 4 | 0 | 120.0 |\n",
            "10.000000 -10.000000\n-10.000000 3.000000\n1.000000 -10.000000\n1.000000 2.000000\n"},
        {"no points", "| 0 | 0 | 0 | 0 | 0 | 0 | 0 | 0.0 |\n", ""},
        {"one point three times", "| 3 | 57 | 2 | 1 | 0 | 1 | 2 | 0.0 |\n",
            "3.000000 -4.000000\n3.000000 -4.000000\n3.000000 -4.000000\n"},
        {"points on one line", "| 4 | 72 | 1 | 3 | 0 | 2 | 2 | 0.0 |\n",
            "0.000000 0.000000\n1.000000 1.000000\n2.000000 2.000000\n1.000000 1.000000\n"},
        {"points on one vertical line", "| 4 | 18 | 1 | 1 | 0 | 2 | 2 | 0.0 |\n", "0 -1\n0 1\n0 0\n0 -1\n"},
        {"half a square unit", "| 3 | 12 | 0 | 2 | 0 | 3 | 0 | 0.5 |\n", "0 0\n1 0\n0 1\n"},
        {"half a square millionth", "| 3 | 26 | 0 | 2 | 0 | 3 | 0 | 0.0000000000005 |\n",
            "0 0\n0.000001 0\n0 0.000001\n"},
        {"the largest square: twice its area is 8 * 10^18", "| 4 | 44 | 0 | 2 | 0 | 4 | 0 | 4000000.0 |\n",
            "-1000 -1000\n1000 -1000\n1000 1000\n-1000 1000\n"},
        {"twice the area 2 * 10^9 * 1999999999", "| 3 | 40 | 0 | 2 | 0 | 3 | 0 | 1999999.999 |\n",
            "-1000 -1000\n1000 -1000\n-1000 999.999999\n"},
    };
    for (const row_case& c : cases)
        EXPECT_EQ(row_of_text(c.text), c.row) << c.name;
}

struct vertices_case {
    std::string name;
    std::string text;
    std::string vertices;
};

TEST(Vertices, CounterClockwiseFromTheLowestAsTheirFirstLinesWriteThem)
{
    const std::vector<vertices_case> cases = {
        {"a square: the leftmost of the lowest first; first lines of repeated points",
            "1.000000 1.000000\n0.000000 0.000000\n1.000000 0.000000\n0 0\n-0.000000 1.000000\n0.5 0.5\n+1 0\n",
            "1 0.000000 0.000000\n2 1.000000 0.000000\n0 1.000000 1.000000\n4 -0.000000 1.000000\n"},
        {"a diamond: the lowest is not the leftmost", "-1 0\n0 1\n1 0\n0 -1\n", "3 0 -1\n2 1 0\n1 0 1\n0 -1 0\n"},
        {"the upper chain's end at the least x", "0 0\n2 -1\n2 1\n0 3\n0 2\n",
            "1 2 -1\n2 2 1\n3 0 3\n0 0 0\n"},
        {"points on one line: its two ends", "2 2\n0 0\n1 1\n", "1 0 0\n0 2 2\n"},
        {"a vertical line", "0 5\n0 -5\n0 0\n", "1 0 -5\n0 0 5\n"},
        {"one point", "3 4\n3.0 4\n", "0 3 4\n"},
        {"no points", "", ""},
    };
    for (const vertices_case& c : cases) {
        read_points_of read(c.text);
        EXPECT_EQ(vertex_lines(hull_of(read.points.columns())), c.vertices) << c.name;
    }
}

struct repeats_case {
    std::string name;
    std::size_t key_limit;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> points;
    std::uint64_t repeats;
};

TEST(RepeatCounter, CountsAcrossKeysRowsAndWideKeys)
{
    const std::vector<repeats_case> cases = {
        {"keys", 100, {{1, 2}, {2, 1}, {1, 2}, {1, 2}, {65535, 65535}, {65535, 65535}}, 3},
        {"keys, then rows", 3, {{1, 2}, {1, 2}, {2, 1}, {1, 2}, {2, 1}, {7, 7}, {65535, 0}, {65535, 0}}, 4},
        {"keys, then wide keys", 100, {{1, 2}, {1, 2}, {70000, 2}, {1, 2}, {70000, 2}, {2, 70000}}, 3},
        {"keys, rows, then wide keys", 2, {{1, 2}, {1, 2}, {3, 4}, {3, 4}, {1, 2}, {65536, 1}, {3, 4}, {65536, 1}}, 5},
    };
    for (const repeats_case& c : cases) {
        repeat_counter counter(c.key_limit);
        for (const auto& [x, y] : c.points)
            counter.add(x, y);
        EXPECT_EQ(counter.count(), c.repeats) << c.name;
        EXPECT_EQ(counter.count(), c.repeats) << c.name << ", counted again";
        counter.add(c.points[0].first, c.points[0].second);
        EXPECT_EQ(counter.count(), c.repeats + 1) << c.name << ", one more";
    }
}

TEST(Row, OfScatter1000IsTheKnownOne)
{
    EXPECT_EQ(row_of_text(testing::scatter_text(1000)), "| 1000 | 18973 | 0 | 991 | 0 | 20 | 0 | 389.469088511117 |\n");
}

}  // namespace
}  // namespace scatter_hull
