// The program as a user meets it: arguments, exit status, and the stream of
// lines on standard output.  Nothing may ever appear on standard error.

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "format_point.hpp"
#include "printf_oracle.hpp"
#include "run_program.hpp"
#include "write_points.hpp"

namespace scatter::testing {
namespace {

using testing::printf_points;

const std::string scatter_path = SCATTER_PATH;
const std::string reference_path = SCATTER_REFERENCE_PATH;

run_result run_scatter(std::vector<std::string> args, const std::string& path = scatter_path)
{
    run_options options;
    options.argv.push_back("scatter");
    options.argv.insert(options.argv.end(), args.begin(), args.end());
    return run_program(path, options);
}

std::size_t line_count(const std::string& text)
{
    std::size_t lines = 0;
    for (const char c : text)
        lines += c == '\n' ? 1 : 0;
    return lines;
}

// One field: an optional '-', one or two digits, '.', six digits, and a
// value within [-10, 10].
bool is_coordinate(const std::string& field)
{
    std::size_t i = field.starts_with('-') ? 1 : 0;
    const std::size_t integer_digits = field.size() - i - 7;
    if (field.size() < i + 8 || integer_digits > 2)
        return false;
    for (std::size_t k = 0; k < field.size(); ++k) {
        const bool dot_here = k == field.size() - 7;
        if (k >= i && (dot_here ? field[k] != '.' : (field[k] < '0' || field[k] > '9')))
            return false;
    }
    const double value = std::strtod(field.c_str(), nullptr);
    return value >= -10.0 && value <= 10.0;
}

// Every line: coordinate, one space, coordinate, line feed; nothing else.
::testing::AssertionResult is_point_list(const std::string& text)
{
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            return ::testing::AssertionFailure() << "unterminated last line at byte " << start;
        const std::string line = text.substr(start, end - start);
        const std::size_t space = line.find(' ');
        if (space == std::string::npos || !is_coordinate(line.substr(0, space)) ||
            !is_coordinate(line.substr(space + 1)))
            return ::testing::AssertionFailure() << "malformed line \"" << line << '"';
        start = end + 1;
    }
    return ::testing::AssertionSuccess();
}

struct argument_case {
    std::vector<std::string> args;
    std::size_t lines;
    int exit_code;
};

std::string label_of(const std::vector<std::string>& args)
{
    if (args.empty())
        return "(no argument)";
    return '"' + args[0].substr(0, 24) + (args[0].size() > 24 ? "...\"" : "\"") + " (" + std::to_string(args.size()) + " args)";
}

TEST(CommandLine, EveryKindOfArgumentGetsItsOutputAndStatus)
{
    const std::string many_spaces(100000, ' ');
    const std::string many_digits(10000, '7');
    const std::vector<argument_case> cases = {
        // No digits: exit 2, no output.
        {{""}, 0, 2},
        {{" "}, 0, 2},
        {{"abc"}, 0, 2},
        {{"-"}, 0, 2},
        {{"+"}, 0, 2},
        {{"+-5"}, 0, 2},
        {{"--5"}, 0, 2},
        {{"- 5"}, 0, 2},
        {{"\xd9\xa3"}, 0, 2},  // ARABIC-INDIC DIGIT THREE
        {{many_spaces}, 0, 2},
        // Zero: nothing to write, success.
        {{"0"}, 0, 0},
        {{"-0"}, 0, 0},
        {{"+0"}, 0, 0},
        {{"0000"}, 0, 0},
        // Counts.
        {{}, 100, 0},
        {{"5"}, 5, 0},
        {{"+5"}, 5, 0},
        {{"  7"}, 7, 0},
        {{"\t\n\v\f\r 7"}, 7, 0},
        {{"00012"}, 12, 0},
        {{"12abc"}, 12, 0},
        {{"0000000000000000000000005"}, 5, 0},
        // Negative or beyond an int: exit 2, no output.
        {{"-3"}, 0, 2},
        {{"-2147483648"}, 0, 2},
        {{"2147483648"}, 0, 2},
        {{"99999999999"}, 0, 2},
        {{"99999999999999999999"}, 0, 2},
        {{"-99999999999"}, 0, 2},
        {{many_digits}, 0, 2},
        // Only the first argument counts, whatever follows it.
        {{"5", "9"}, 5, 0},
        {{"5", "abc"}, 5, 0},
        {{"5", "-1", many_spaces, ""}, 5, 0},
        {{"abc", "5"}, 0, 2},
        {{"0", "5"}, 0, 0},
    };
    const std::string hundred = printf_points(100);
    for (const argument_case& c : cases) {
        const run_result result = run_scatter(c.args);
        EXPECT_EQ(result.exit_code, c.exit_code) << label_of(c.args);
        EXPECT_EQ(result.out, printf_points(static_cast<long>(c.lines))) << label_of(c.args);
        EXPECT_EQ(result.err, "") << label_of(c.args);
    }
}

TEST(CommandLine, AnEmptyArgumentVectorMeansTheDefault)
{
    // Linux from 5.18 on starts such a program with argv {"", NULL}; either
    // way there is no count argument.
    run_options options;
    options.argv = {};
    const run_result result = run_program(scatter_path, options);
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.out, printf_points(100));
    EXPECT_EQ(result.err, "");
}

TEST(Stream, FirstLinesAreTheKnownOnes)
{
    EXPECT_EQ(run_scatter({"3"}).out,
              "-5.138707 1.757256\n"
              "9.476302 -1.717277\n"
              "-4.947661 -1.246986\n");
}

TEST(Stream, IsDeterministicAndEachCountIsAPrefixOfALargerOne)
{
    const std::string big = run_scatter({"10000"}).out;
    EXPECT_EQ(line_count(big), 10000u);
    EXPECT_TRUE(is_point_list(big));
    EXPECT_EQ(run_scatter({"10000"}).out, big);
    for (const char* count : {"1", "10", "1000"}) {
        const std::string small = run_scatter({count}).out;
        EXPECT_EQ(line_count(small), std::stoul(count));
        EXPECT_EQ(big.substr(0, small.size()), small) << count;
    }
}

// The number of whole lines of a run that fit in `bytes`.
std::size_t lines_within(const std::string& text, std::size_t bytes)
{
    return line_count(text.substr(0, bytes));
}

TEST(Differential, FastWriterMatchesPrintfByteForByte)
{
    const std::string million = run_scatter({"1000000"}, reference_path).out;
    ASSERT_EQ(line_count(million), 1000000u);
    // The largest count whose output is sure to fit one buffer, and the next.
    const std::size_t fits = output_buffer_size / max_line_length;
    std::vector<std::size_t> counts = {1, 2, 100, 1023, 1024, 1025, 4096, fits, fits + 1, 1000000};
    // Runs whose output ends just before, at and just after the end of the
    // first and the second full buffer.
    for (const std::size_t buffers : {std::size_t{1}, std::size_t{2}}) {
        const std::size_t n = lines_within(million, buffers * output_buffer_size);
        counts.insert(counts.end(), {n - 1, n, n + 1, n + 2});
    }
    for (const std::size_t count : counts) {
        const run_result fast = run_scatter({std::to_string(count)});
        const std::size_t bytes = fast.out.size();
        EXPECT_EQ(fast.exit_code, 0) << count;
        EXPECT_TRUE(fast.out == run_scatter({std::to_string(count)}, reference_path).out) << count;
        EXPECT_EQ(line_count(fast.out), count);
        EXPECT_TRUE(million.compare(0, bytes, fast.out) == 0) << count;
    }
}

struct pipe_case {
    const char* name;
    bool nonblocking;
    bool minimal;
    unsigned delay_us;
    std::size_t chunk;
};

TEST(Output, EveryKindOfPipeGetsTheWholeStream)
{
    const std::string expected = run_scatter({"200000"}, reference_path).out;
    const pipe_case cases[] = {
        {"blocking pipe", false, false, 0, 65536},
        {"non-blocking pipe, slow reader", true, false, 300, 65536},
        {"non-blocking one-page pipe, slow reader", true, true, 20, 4096},
        {"one-page pipe, small reads", false, true, 0, 1000},
    };
    for (const pipe_case& c : cases) {
        run_options options;
        options.argv = {"scatter", "200000"};
        options.nonblocking_pipe = c.nonblocking;
        options.minimal_pipe = c.minimal;
        options.read_delay_us = c.delay_us;
        options.read_chunk = c.chunk;
        const run_result result = run_program(scatter_path, options);
        EXPECT_EQ(result.exit_code, 0) << c.name;
        EXPECT_EQ(result.err, "") << c.name;
        EXPECT_TRUE(result.out == expected) << c.name;
    }
}

TEST(Output, APipeIsWidenedOnlyForALargeOutput)
{
    EXPECT_EQ(run_scatter({"100"}).pipe_size, 65536);
    EXPECT_EQ(run_scatter({"100000"}).pipe_size, 1 << 20);
}

struct fault_case {
    const char* name;
    std::string count;
    stdout_kind out;
    std::string path;
    bool ignore_sigpipe;
    std::size_t read_limit;
    int exit_code;
    int signal;
};

TEST(Output, AFaultyOutputEndsTheRunAtOnceAndSaysSo)
{
    const std::vector<fault_case> cases = {
        {"full device", "1000", stdout_kind::file, "/dev/full", false, 0, 1, 0},
        {"full device, large count", "10000000", stdout_kind::file, "/dev/full", false, 0, 1, 0},
        {"closed stdout", "100", stdout_kind::closed, "", false, 0, 1, 0},
        {"closed stdout, default count", "", stdout_kind::closed, "", false, 0, 1, 0},
        {"closed stdout, nothing to write", "0", stdout_kind::closed, "", false, 0, 0, 0},
        {"reader leaves", "1000000000", stdout_kind::pipe, "", false, 1000, -1, SIGPIPE},
        {"reader leaves, SIGPIPE ignored", "1000000000", stdout_kind::pipe, "", true, 1000, 1, 0},
    };
    for (const fault_case& c : cases) {
        run_options options;
        options.argv = {"scatter"};
        if (!c.count.empty())
            options.argv.push_back(c.count);
        options.out = c.out;
        options.out_path = c.path;
        options.ignore_sigpipe = c.ignore_sigpipe;
        options.read_limit = c.read_limit;
        options.time_limit_s = 30;  // far beyond a prompt exit, far below a run to the count
        const run_result result = run_program(scatter_path, options);
        EXPECT_EQ(result.exit_code, c.exit_code) << c.name;
        EXPECT_EQ(result.signal, c.signal) << c.name;
        EXPECT_EQ(result.err, "") << c.name;
        if (c.read_limit != 0) {
            EXPECT_EQ(result.out, printf_points(100).substr(0, c.read_limit)) << c.name;
        }
    }
}

TEST(Output, ARegularFileGetsTheWholeStream)
{
    char path[] = "/tmp/scatter-test-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    run_options options;
    options.argv = {"scatter", "300000"};
    options.out = stdout_kind::file;
    options.out_path = path;
    const run_result result = run_program(scatter_path, options);
    std::ifstream file(path, std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ::unlink(path);
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(written == run_scatter({"300000"}, reference_path).out);
}

TEST(Output, TheLargestCountStartsRightThroughHead)
{
    // As `scatter 2147483647 | head -c 1000000`: the reader stops after a
    // megabyte and the run ends by SIGPIPE, as any filter's does.
    run_options options;
    options.argv = {"scatter", "2147483647"};
    options.read_limit = 1000000;
    const run_result result = run_program(scatter_path, options);
    EXPECT_EQ(result.signal, SIGPIPE);
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(result.out == printf_points(1000000 / 18).substr(0, 1000000));
}

}  // namespace
}  // namespace scatter::testing
