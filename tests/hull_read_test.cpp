// Reading points: the numbers of good lines, exactly, and written again as
// they came; each kind of bad line, named with its line number, also past
// the first read and in a line longer than a read.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hull_input.hpp"
#include "read_points.hpp"

namespace scatter_hull {
namespace {

struct good_line {
    std::string text;
    millionths x;
    millionths y;
    std::string x_field;
    std::string y_field;
};

TEST(ParseLine, ReadsNumbersAsMillionthsAndWritesTheirFieldsAgain)
{
    const std::vector<good_line> cases = {
        {"-5.138707 1.757256", -5'138'707, 1'757'256, "-5.138707", "1.757256"},
        {"10.000000 -10.000000", 10'000'000, -10'000'000, "10.000000", "-10.000000"},
        {"-0.000000 0.000000", 0, 0, "-0.000000", "0.000000"},
        {" \t+1.5\t \t-2 \t", 1'500'000, -2'000'000, "+1.5", "-2"},
        {"0001.000001 0.1", 1'000'001, 100'000, "0001.000001", "0.1"},
        {"1000 -1000.000000", 1'000'000'000, -1'000'000'000, "1000", "-1000.000000"},
        {"7 0.000001", 7'000'000, 1, "7", "0.000001"},
        {"-999.999999 003.25", -999'999'999, 3'250'000, "-999.999999", "003.25"},
    };
    for (const good_line& c : cases) {
        point_line line;
        ASSERT_EQ(parse_line(c.text, line), line_fault::none) << c.text;
        EXPECT_EQ(line.x.value, c.x) << c.text;
        EXPECT_EQ(line.y.value, c.y) << c.text;
        EXPECT_EQ(field_text(line.x.value, line.x.form), c.x_field) << c.text;
        EXPECT_EQ(field_text(line.y.value, line.y.form), c.y_field) << c.text;
    }
}

struct bad_line {
    std::string text;
    line_fault fault;
};

TEST(ParseLine, NamesWhatIsWrongWithALine)
{
    const std::vector<bad_line> cases = {
        {"", line_fault::empty},
        {" \t ", line_fault::empty},
        {"1.000000 2.000000\r", line_fault::carriage_return},
        {"1.000000\r", line_fault::carriage_return},
        {"1.000000 \r", line_fault::carriage_return},
        {"1.000000 2.000000 \r", line_fault::carriage_return},
        {"1.000000", line_fault::one_number},
        {"  1.000000 \t", line_fault::one_number},
        {"1.000000 2.000000 3.000000", line_fault::third_field},
        {"1 2 x", line_fault::third_field},
        {"1,5 2", line_fault::not_a_number},
        {"1. 2", line_fault::not_a_number},
        {".5 2", line_fault::not_a_number},
        {"1.5e3 2", line_fault::not_a_number},
        {"- 2", line_fault::not_a_number},
        {"+-1 2", line_fault::not_a_number},
        {"1 2x", line_fault::not_a_number},
        {"1 2.5.5", line_fault::not_a_number},
        {"nan 2", line_fault::not_a_number},
        {"1.0000001 2", line_fault::too_many_decimals},
        {"1 -2.1234567", line_fault::too_many_decimals},
        {"1000.000001 0", line_fault::too_large},
        {"0 -1001", line_fault::too_large},
        {"99999999999999999999999 0", line_fault::too_large},
    };
    for (const bad_line& c : cases) {
        point_line line;
        EXPECT_EQ(parse_line(c.text, line), c.fault) << '"' << c.text << '"';
    }
}

struct read_case {
    std::string name;
    std::string text;
    std::size_t chunk;
    std::uint64_t lines;  // read whole
    std::string report;   // empty when every line is read
};

std::string lines_of(int count, const std::string& line)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += line;
    return text;
}

class counting_sink final : public line_sink {
public:
    void add(const point_line& line) override
    {
        sum += line.x.value + line.y.value;
        ++lines;
    }
    millionths sum = 0;
    std::uint64_t lines = 0;
};

TEST(ReadPoints, ReadsLinesAcrossReadsAndNamesTheFirstBadLine)
{
    const std::string good = "1.000000 2.000000\n";
    const std::vector<read_case> cases = {
        {"no input", "", 16, 0, ""},
        {"a line at a time", lines_of(5, good), 18, 5, ""},
        {"lines across reads", lines_of(50, good), 7, 50, ""},
        {"a line longer than a read", std::string(100, ' ') + good + good, 16, 2, ""},
        {"no line feed at the end", good + "3 4", 16, 1, "line 2: no line feed at the end of the input: \"3 4\""},
        {"a bad line past the first read", lines_of(50, good) + "1,5 2\n" + good, 64, 50,
            "line 51: not a number (an optional sign, digits, and up to six decimals after a point): \"1,5 2\""},
        {"a bad line past the first read of the real size", lines_of(70000, good) + "1 2\r\n", read_chunk, 70000,
            "line 70001: a carriage return (a line ends in a line feed alone): \"1 2\\r\""},
        {"an empty line", good + good + "\n" + good, 1024, 2, "line 3: an empty line, no number"},
        {"one number", "7\n", 1024, 0, "line 1: one number only: \"7\""},
        {"a third field", good + "1 2 3\n", 4, 1, "line 2: a third field: \"1 2 3\""},
        {"seven decimals", "1.1234567 0\n", 1024, 0, "line 1: more than six decimals: \"1.1234567 0\""},
        {"beyond 1000", "0 1000.5\n", 1024, 0, "line 1: a number larger than 1000 in size: \"0 1000.5\""},
        {"escaped", "1\x01 2\n", 1024, 0,
            "line 1: not a number (an optional sign, digits, and up to six decimals after a point): \"1\\x01 2\""},
    };
    for (const read_case& c : cases) {
        counting_sink sink;
        const read_result result = testing::read_text(c.text, sink, c.chunk);
        EXPECT_EQ(result.lines, c.lines) << c.name;
        EXPECT_EQ(sink.lines, c.lines) << c.name;
        EXPECT_EQ(sink.sum, static_cast<millionths>(c.lines) * 3'000'000) << c.name;
        if (c.report.empty()) {
            EXPECT_EQ(result.fault, line_fault::none) << c.name << ": " << fault_report(result);
            EXPECT_EQ(result.bytes, c.text.size()) << c.name;
        } else {
            EXPECT_EQ(fault_report(result), c.report) << c.name;
        }
    }
}

}  // namespace
}  // namespace scatter_hull
