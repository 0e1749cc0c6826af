// Judging a hull code's answer: each kind of difference with its own
// message and status, in each answer format, on a square with points on
// its edges and inside, on degenerate hulls, and on scatter 1000, whose
// vertices qhull's Fx gives.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "answer.hpp"
#include "hull_input.hpp"

namespace scatter_hull {
namespace {

// Reads the answer, then the points, as scatter-hull --check does.
verdict check(const std::string& answer_text, const std::string& points_text, bool either_direction = false)
{
    const answer_reading reading = parse_answer(answer_text);
    if (!reading.error.empty())
        return {2, reading.error};
    point_set points;
    watch(reading.value, points);
    const read_result input = testing::read_text(points_text, points);
    EXPECT_EQ(input.fault, line_fault::none) << fault_report(input);
    return judge(reading.value, points, hull_of(points.columns()), either_direction);
}

struct judge_case {
    std::string name;
    std::string answer;
    int status;
    std::string message;
    bool either_direction = false;
};

// Lines 0 to 3 the corners, 4 and 7 on edges, 5 inside, 6 a corner again.
const std::string square = "0 0\n4 0\n4 4\n0 4\n2 0\n2 2\n4.000000 4.000000\n0 2\n";

TEST(Judge, NamesTheFirstDifferenceOfAnAnswer)
{
    const std::string a = "point 0 (0.000000 0.000000)";
    const std::string b = "point 1 (4.000000 0.000000)";
    const std::vector<judge_case> cases = {
        {"the hull", "4\n0\n1\n2\n3\n", 0, "the hull: 4 vertices, counter-clockwise"},
        {"another start", "4\n2\n3\n0\n1\n", 0, "the hull: 4 vertices, counter-clockwise"},
        {"a later line of a vertex", "4\n0\n1\n6\n3\n", 0, "the hull: 4 vertices, counter-clockwise"},
        {"clockwise", "4\n0\n3\n2\n1\n", 1,
            "clockwise: the answer goes round the hull's 4 vertices clockwise, not counter-clockwise "
            "(--either-direction accepts either)"},
        {"clockwise, either direction", "4\n1\n0\n3\n2\n", 0, "the hull: 4 vertices, clockwise", true},
        {"a vertex left out", "3\n0\n1\n3\n", 1, "a missing vertex: the answer leaves out point 2 (4.000000 4.000000)"},
        {"a point inside", "5\n0\n1\n5\n2\n3\n", 1,
            "answer line 4: point 5 (2.000000 2.000000) is no vertex: it lies inside the hull"},
        {"a point on an edge", "5\n0\n4\n1\n2\n3\n", 1,
            "answer line 3: point 4 (2.000000 0.000000) is no vertex: it lies on the hull's edge from " + a + " to " + b},
        {"a point on the closing edge", "5\n0\n1\n2\n3\n7\n", 1,
            "answer line 6: point 7 (0.000000 2.000000) is no vertex: it lies on the hull's edge from point 3 "
            "(0.000000 4.000000) to " + a},
        {"a vertex twice", "5\n0\n1\n2\n3\n0\n", 1, "answer lines 2 and 6 both name the vertex " + a},
        {"a vertex twice by two lines", "5\n0\n1\n2\n6\n3\n", 1,
            "answer lines 4 and 5 both name the vertex point 6 (4.000000 4.000000)"},
        {"a line out of range", "4\n0\n1\n8\n3\n", 1,
            "answer line 4: point 8 is out of range: the input has 8 points, numbered from 0"},
        {"out of order", "4\n0\n2\n1\n3\n", 1,
            "answer line 3: out of order: after " + a + " comes point 2 (4.000000 4.000000), where the hull's next "
            "vertex is " + b},
        {"a count too large", "5\n0\n1\n2\n3\n", 1, "answer line 1: the count 5 disagrees with the 4 line numbers that follow"},
        {"points", "0 0\n4 0\n4 4\n0 4\n", 0, "the hull: 4 vertices, counter-clockwise"},
        {"points as doubles, after qhull's header", "2\n4\n0.0 -0\n4.0000000000000009 0e0\n4 4.0000000001\n 0\t4 \n", 0,
            "the hull: 4 vertices, counter-clockwise"},
        {"a point not in the input", "0 0\n4 0\n4 4\n1 4\n", 1, "answer line 4: 1 4 is not one of the points"},
        {"a value with seven decimals", "0 0\n4 0\n4 4\n0 4.0000001\n", 1,
            "answer line 4: 0 4.0000001 is not one of the points: 4.0000001 is not a value with six decimals"},
        {"a value beyond 1000", "0 0\n4 0\n1e300 4\n", 1,
            "answer line 3: 1e300 4 is not one of the points: 1e300 is not a number of at most 1000 in size"},
        {"a count of points too small", "2\n3\n0 0\n4 0\n4 4\n0 4\n", 1,
            "answer line 2: the count 3 disagrees with the 4 points that follow"},
        {"a word for a line number", "4\n0\nx\n", 2, "answer line 3: not a line number: x"},
        {"a line number with a sign", "4\n+0\n", 2, "answer line 2: not a line number: +0"},
        {"one number among points", "0 0\n4\n", 2, "answer line 2: one number only"},
        {"three numbers", "0 0 0\n", 2, "answer line 1: more than two numbers"},
        {"a word for a number", "0 zero\n", 2, "answer line 1: not a number: zero"},
        {"a header of another dimension", "3\n0 0\n", 2,
            "answer line 1: neither two numbers nor the dimension 2 of qhull's header: 3"},
        {"an empty line", "0 0\n\n4 4\n", 2, "answer line 2: an empty line"},
    };
    for (const judge_case& c : cases) {
        const verdict v = check(c.answer, square, c.either_direction);
        EXPECT_EQ(v.status, c.status) << c.name;
        EXPECT_EQ(v.message, c.message) << c.name;
    }
}

struct degenerate_case {
    std::string name;
    std::string points;
    std::string answer;
    std::string message;
};

TEST(Judge, DegenerateHulls)
{
    const std::vector<degenerate_case> cases = {
        {"no points, no vertices", "", "0\n", "the hull: 0 vertices, counter-clockwise"},
        {"no points, no line", "", "", "the hull: 0 vertices, counter-clockwise"},
        {"no points, a line named", "", "1\n0\n", "answer line 2: point 0 is out of range: the input has 0 points, numbered from 0"},
        {"one point twice", "1 1\n1 1\n", "1\n1\n", "the hull: 1 vertex, counter-clockwise"},
        {"one point named twice", "1 1\n1 1\n", "2\n0\n1\n", "answer lines 2 and 3 both name the vertex point 1 (1.000000 1.000000)"},
        {"points on a line: its ends", "0 0\n1 1\n2 2\n", "2\n2\n0\n", "the hull: 2 vertices, counter-clockwise"},
        {"points on a line: a middle one", "0 0\n1 1\n2 2\n", "3\n0\n1\n2\n",
            "answer line 3: point 1 (1.000000 1.000000) is no vertex: it lies on the hull's edge from point 0 "
            "(0.000000 0.000000) to point 2 (2.000000 2.000000)"},
        {"a vertical line, one end", "0 5\n0 -5\n0 0\n", "0 5\n", "a missing vertex: the answer leaves out point 1 (0.000000 -5.000000)"},
    };
    for (const degenerate_case& c : cases)
        EXPECT_EQ(check(c.answer, c.points).message, c.message) << c.name;
}

// The vertices of scatter 1000, counter-clockwise, as qhull Fx prints them.
const std::vector<int> qhull_fx_1000 = {285, 473, 731, 660, 990, 28, 558, 199, 501, 805, 694, 534, 775, 390, 594, 443,
    520, 127, 239, 333};

std::string fx_answer(const std::vector<int>& lines)
{
    std::string text = std::to_string(lines.size()) + '\n';
    for (const int line : lines)
        text += std::to_string(line) + '\n';
    return text;
}

TEST(Judge, Scatter1000HasTheVerticesOfQhull)
{
    const std::string points = testing::scatter_text(1000);
    testing::read_points_of read(points);
    std::set<std::uint64_t> vertices;
    for (const vertex& v : hull_of(read.points.columns()).vertices)
        vertices.insert(v.first_line);
    EXPECT_EQ(vertices, std::set<std::uint64_t>(qhull_fx_1000.begin(), qhull_fx_1000.end()));

    EXPECT_EQ(check(fx_answer(qhull_fx_1000), points).message, "the hull: 20 vertices, counter-clockwise");
    std::vector<int> reversed(qhull_fx_1000.rbegin(), qhull_fx_1000.rend());
    EXPECT_EQ(check(fx_answer(reversed), points).status, 1);
    std::vector<int> with_first_point = qhull_fx_1000;
    with_first_point.insert(with_first_point.begin() + 3, 0);
    EXPECT_EQ(check(fx_answer(with_first_point), points).message,
        "answer line 5: point 0 (-5.138707 1.757256) is no vertex: it lies inside the hull");
}

}  // namespace
}  // namespace scatter_hull
