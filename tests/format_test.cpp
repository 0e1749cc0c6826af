// Every way of making lines that this build has, held to draw_point and
// snprintf: the draws of its lanes, every coordinate a point can have, and
// a long stream through the writer.

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "draw_point.hpp"
#include "draw_source.hpp"
#include "format.hpp"
#include "output.hpp"
#include "printf_oracle.hpp"

namespace scatter {
namespace {

using testing::printf_line;

class Path : public ::testing::TestWithParam<const format_path*> {
protected:
    void SetUp() override
    {
        if (!runs_here(*GetParam()))
            GTEST_SKIP() << "this processor cannot run the " << GetParam()->name << " path";
    }
    const format_path& path() const { return *GetParam(); }
};

TEST_P(Path, DrawsAreTheSourcesFromAnyState)
{
    const std::uint32_t starts[] = {initial_state, 0u, 0xFFFFFFFFu, 0x80000000u, 0x12345678u, 0xDEADBEEFu};
    std::vector<std::uint16_t> draws(4 * block_points + 64);
    for (const std::uint32_t start : starts) {
        for (const std::size_t count : {std::size_t{1}, std::size_t{64}, std::size_t{1000}, 4 * block_points}) {
            path().fill_draws(start, draws.data(), count);
            draw_source source(start);
            for (std::size_t i = 0; i < count; ++i)
                ASSERT_EQ(draws[i], source()) << "start " << start << ", draw " << i << " of " << count;
        }
    }
}

TEST_P(Path, EveryCoordinateIsWrittenAsPrintfWritesIt)
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
    std::string written(points * max_line_length + format_slack, '\0');
    char* end = written.data();
    for (std::size_t first = 0; first < points; first += block_points - 3) {
        const std::size_t count = std::min<std::size_t>(block_points - 3, points - first);
        end = path().format_lines(&draws[4 * first], count, end);
    }
    written.resize(static_cast<std::size_t>(end - written.data()));
    ASSERT_EQ(written.size(), expected.size());
    for (std::size_t at = 0, line = 0; at < expected.size(); at = expected.find('\n', at) + 1, ++line) {
        const std::size_t length = expected.find('\n', at) + 1 - at;
        ASSERT_EQ(written.substr(at, length), expected.substr(at, length)) << "point " << line;
    }
}

TEST_P(Path, WritesTheStreamThatPrintfWrites)
{
    // A million points cross some hundred writes.
    std::FILE* const file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    const int fd = ::fileno(file);
    ASSERT_TRUE(write_points(fd, 1000000, path()));
    std::string written(static_cast<std::size_t>(::lseek(fd, 0, SEEK_CUR)), '\0');
    ASSERT_EQ(::pread(fd, written.data(), written.size(), 0), static_cast<ssize_t>(written.size()));
    std::fclose(file);
    EXPECT_TRUE(written == testing::printf_points(1000000));
}

INSTANTIATE_TEST_SUITE_P(EveryPath, Path, ::testing::ValuesIn(format_paths().begin(), format_paths().end()),
                         [](const auto& test) { return std::string(test.param->name); });

// The processor's features as the kernel lists them in /proc/cpuinfo, a
// source apart from cpu_supports; nothing where there is no such file.
std::optional<std::set<std::string>> kernel_cpu_flags()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("flags", 0) != 0 || line.find(':') == std::string::npos)
            continue;
        std::istringstream words(line.substr(line.find(':') + 1));
        return std::set<std::string>(std::istream_iterator<std::string>(words), std::istream_iterator<std::string>());
    }
    return std::nullopt;
}

TEST(Paths, EveryPathThatTheProcessorHasTheInstructionsForRuns)
{
    // The instruction sets of each path's code, by the kernel's names.
    const std::map<std::string, std::vector<std::string>> needs = {
        {"avx512", {"avx2", "avx512f", "avx512bw", "avx512vl", "avx512vbmi", "avx512_vbmi2", "popcnt"}},
        {"avx2", {"avx2"}},
        {"sse2", {}},
        {"portable", {}},
    };
    const auto flags = kernel_cpu_flags();
    if (!flags)
        GTEST_SKIP() << "no /proc/cpuinfo to learn the processor's features from";
    std::string ran;
    std::string not_here;
    for (const format_path* path : format_paths()) {
        const auto needed = needs.find(path->name);
        ASSERT_NE(needed, needs.end()) << "the instructions of the " << path->name << " path are not known here";
        std::string missing;
        for (const std::string& flag : needed->second)
            if (flags->count(flag) == 0)
                missing += ' ' + flag;
        EXPECT_EQ(runs_here(*path), missing.empty()) << path->name << " path; the kernel lacks:" << missing;
        (missing.empty() ? ran : not_here) += ' ' + std::string(path->name) + (missing.empty() ? "" : " (no" + missing + ")");
    }
    std::cout << "[ PATHS    ] run here:" << ran << "; not here:" << (not_here.empty() ? " none" : not_here) << '\n';
}

}  // namespace
}  // namespace scatter
