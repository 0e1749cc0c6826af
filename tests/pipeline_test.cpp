// Every pipeline that this build has, held to draw_point and snprintf: the
// draws of its lanes, every coordinate a point can have, every shape of a
// line at every place in a group, and streams through the writer that end
// on either side of block ends and writes.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "draw_lanes.hpp"
#include "draw_point.hpp"
#include "draw_source.hpp"
#include "lines.hpp"
#include "output.hpp"
#include "pipelines.hpp"
#include "printf_oracle.hpp"

namespace scatter {

// A pipeline as GoogleTest names the parameter of a test, in place of its
// address, which differs from one build to the next.
static void PrintTo(const pipeline* tested, std::ostream* out)
{
    *out << tested->name;
}

namespace {

using testing::printf_line;

class Pipeline : public ::testing::TestWithParam<const pipeline*> {
protected:
    void SetUp() override
    {
        if (!runs_here(*GetParam()))
            GTEST_SKIP() << "this processor cannot run the " << GetParam()->name << " pipeline";
    }
    const pipeline& tested() const { return *GetParam(); }
};

// The lines of these points, four draws each, from one call of the
// pipeline's format_lines, which may write up to line_slack bytes past
// their end and nothing after that.  It runs twice, over two fillings of
// the buffer: a byte written after the slack differs from one of them.
std::string lines_of(const pipeline& path, const std::vector<std::uint16_t>& draws)
{
    constexpr std::size_t guard = 256;
    const std::size_t points = draws.size() / 4;
    std::string lines;
    for (const char untouched : {'\x00', '\xff'}) {
        std::string written(points * max_line_length + line_slack + guard, untouched);
        const char* const end = path.format_lines(draws.data(), points, written.data());
        const auto size = static_cast<std::size_t>(end - written.data());
        const std::size_t overrun = written.find_last_not_of(untouched);
        EXPECT_TRUE(overrun == std::string::npos || overrun < size + line_slack)
            << points << " lines of " << size << " bytes; byte " << overrun << " was written, "
            << overrun + 1 - size << " past their end, and the slack is " << line_slack;
        lines = written.substr(0, size);
    }
    return lines;
}

// The lines that printf writes for these draws.
std::string printf_lines(const std::vector<std::uint16_t>& draws)
{
    std::string expected;
    for (std::size_t i = 0; i < draws.size(); i += 4) {
        std::size_t next = i;
        auto source = [&] { return int{draws[next++]}; };
        expected += printf_line(draw_point(source));
    }
    return expected;
}

TEST_P(Pipeline, DrawsAreTheSourcesFromAnyState)
{
    const std::uint32_t starts[] = {initial_state, 0u, 0xFFFFFFFFu, 0x80000000u, 0x12345678u, 0xDEADBEEFu};
    std::vector<std::uint16_t> draws(4 * block_points + draw_slack);
    for (const std::uint32_t start : starts) {
        for (const std::size_t count : {std::size_t{1}, std::size_t{64}, std::size_t{1000}, 4 * block_points}) {
            tested().fill_draws(start, draws.data(), count);
            draw_source source(start);
            for (std::size_t i = 0; i < count; ++i)
                ASSERT_EQ(draws[i], source()) << "start " << start << ", draw " << i << " of " << count;
        }
    }
}

TEST_P(Pipeline, EveryCoordinateIsWrittenAsPrintfWritesIt)
{
    // Point r has the magnitude draws r and draw_max - r and both sign
    // draws draw_max - r: every magnitude comes once as x and once as y,
    // once negated and once not; every sign draw, those at the threshold
    // included, comes twice; and 10 comes as an x beside other y's and the
    // other way round.
    constexpr int points = draw_max + 1;
    std::vector<std::uint16_t> draws;
    std::string expected;
    for (int r = 0; r < points; ++r) {
        const std::array<int, 4> four = {r, draw_max - r, draw_max - r, draw_max - r};
        for (const int d : four)
            draws.push_back(static_cast<std::uint16_t>(d));
        std::size_t next = 0;
        auto source = [&] { return four[next++]; };
        expected += printf_line(draw_point(source));
    }
    // Written a block at a time, and the last few points on their own.
    std::string written(points * max_line_length + line_slack, '\0');
    char* end = written.data();
    for (std::size_t first = 0; first < points; first += block_points - 3) {
        const std::size_t count = std::min<std::size_t>(block_points - 3, points - first);
        end = tested().format_lines(&draws[4 * first], count, end);
    }
    written.resize(static_cast<std::size_t>(end - written.data()));
    ASSERT_EQ(written.size(), expected.size());
    for (std::size_t at = 0, line = 0; at < expected.size(); at = expected.find('\n', at) + 1, ++line) {
        const std::size_t length = expected.find('\n', at) + 1 - at;
        ASSERT_EQ(written.substr(at, length), expected.substr(at, length)) << "point " << line;
    }
}

TEST_P(Pipeline, EveryShapeOfALineAtEveryPlaceInAGroupAndEveryTail)
{
    // A line's shape is which of its coordinates are negated and which are
    // 10.  Runs of 0 to 17 points, the shapes of each run starting from
    // every shape in turn, put every shape at every place of a group of 2
    // or 4 points, beside every other shape, last in the last group (where
    // a kernel's stores run furthest past the lines) and in tails of every
    // length.
    for (std::size_t points = 0; points <= 17; ++points) {
        for (unsigned first_shape = 0; first_shape < 16; ++first_shape) {
            std::vector<std::uint16_t> draws;
            for (std::size_t i = 0; i < points; ++i) {
                const unsigned shape = (first_shape + static_cast<unsigned>(i)) % 16;
                const auto magnitude = [&](unsigned ten_bit, unsigned other) {
                    return static_cast<std::uint16_t>((shape & ten_bit) != 0 ? draw_max : other);
                };
                const auto sign = [&](unsigned negated_bit, unsigned other) {
                    return static_cast<std::uint16_t>((shape & negated_bit) != 0 ? first_kept_draw - 1 - other : first_kept_draw + other);
                };
                const auto k = static_cast<unsigned>(7 * i + first_shape);
                draws.insert(draws.end(), {magnitude(4, 1 + 997 * k % 32766), magnitude(8, 32766 - 991 * k % 32766),
                                           sign(1, k % 3), sign(2, k % 5)});
            }
            ASSERT_EQ(lines_of(tested(), draws), printf_lines(draws)) << points << " points from shape " << first_shape;
        }
    }
}

// The bytes that write_points writes for count points by this pipeline,
// read back from a temporary file.
std::string stream_of(const pipeline& path, std::size_t count)
{
    std::FILE* const file = std::tmpfile();
    if (file == nullptr)
        return "(no temporary file)";
    const int fd = ::fileno(file);
    std::string written = "(a failed write)";
    if (write_points(fd, static_cast<int>(count), path)) {
        written.assign(static_cast<std::size_t>(::lseek(fd, 0, SEEK_CUR)), '\0');
        if (::pread(fd, written.data(), written.size(), 0) != static_cast<ssize_t>(written.size()))
            written = "(a failed read)";
    }
    std::fclose(file);
    return written;
}

// The points that fill whole blocks up to the first write: the lines are
// written once 128 KiB of them have gathered, after whole blocks.
std::size_t points_before_first_write()
{
    constexpr std::size_t write_size = std::size_t{1} << 17;
    std::size_t points = block_points;
    while (testing::printf_points(points).size() < write_size)
        points += block_points;
    return points;
}

TEST_P(Pipeline, WritesTheStreamThatPrintfWrites)
{
    // Counts on either side of the first block ends and of the first write,
    // and three writes' worth ending in part of a block.
    const std::size_t first_write = points_before_first_write();
    const std::size_t counts[] = {
        1, block_points - 1, block_points, block_points + 1, 2 * block_points - 1, 2 * block_points, 2 * block_points + 1,
        first_write - 1, first_write, first_write + 1, 3 * first_write + block_points / 2 + 3,
    };
    for (const std::size_t count : counts)
        EXPECT_TRUE(stream_of(tested(), count) == testing::printf_points(count)) << count << " points";
}

INSTANTIATE_TEST_SUITE_P(EveryPipeline, Pipeline, ::testing::ValuesIn(pipelines().begin(), pipelines().end()),
                         [](const auto& test) { return std::string(test.param->name); });

}  // namespace
}  // namespace scatter
