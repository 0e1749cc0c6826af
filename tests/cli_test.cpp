// The program as a user meets it: arguments, exit status, and the stream of
// lines on standard output.  Nothing may ever appear on standard error.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "printf_oracle.hpp"
#include "run_program.hpp"
#include "skip.hpp"

#if defined(__SANITIZE_ADDRESS__)
#define UNDER_ADDRESS_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define UNDER_ADDRESS_SANITIZER
#endif
#endif

namespace scatter::testing {
namespace {

using testing::printf_points;

const std::string scatter_path = SCATTER_PATH;

// Whether a row of a table can run on this system; says why not when it
// cannot, and the test goes on with its other rows.
bool row_runs_here(const char* row, bool possible, const char* reason)
{
    if (!possible && every_test_must_run)
        ADD_FAILURE() << "row \"" << row << "\" cannot run here, where every test must: " << reason;
    else if (!possible)
        std::cout << "[ SKIPPED  ] row \"" << row << "\": " << reason << '\n';
    return possible;
}

run_result run_scatter(const std::vector<std::string>& args)
{
    run_options options;
    options.argv.push_back("scatter");
    options.argv.insert(options.argv.end(), args.begin(), args.end());
    return run_program(scatter_path, options);
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
    // How the parsed count reaches the output and the status; the count's
    // grammar itself is the parser's own test.  Lines are made 1024 points
    // at a time and written some 7 blocks at a time: counts on either side
    // of a block end, and one of three writes that ends in part of a block,
    // reach the pipeline whole.
    const std::vector<argument_case> cases = {
        {{}, 100, 0},
        {{"5"}, 5, 0},
        {{"1023"}, 1023, 0},
        {{"1024"}, 1024, 0},
        {{"1025"}, 1025, 0},
        {{"20000"}, 20000, 0},
        {{"12abc"}, 12, 0},
        {{"0"}, 0, 0},
        {{""}, 0, 2},
        {{"abc"}, 0, 2},
        {{"-3"}, 0, 2},
        {{"2147483648"}, 0, 2},
        {{"5", "9"}, 5, 0},
        {{"5", "abc"}, 5, 0},
        {{"abc", "5"}, 0, 2},
        {{"0", "5"}, 0, 0},
    };
    for (const argument_case& c : cases) {
        const std::string expected = printf_points(c.lines);
        run_options options;
        options.argv.push_back("scatter");
        options.argv.insert(options.argv.end(), c.args.begin(), c.args.end());
        // A run that writes more than its lines is cut off at the first byte
        // too many (by SIGPIPE), rather than left to run to a count that
        // should have been turned away.
        options.read_limit = expected.size() + 1;
        const run_result result = run_program(scatter_path, options);
        EXPECT_EQ(result.exit_code, c.exit_code) << label_of(c.args);
        // Compared whole: a diff of thousands of lines takes GoogleTest long.
        EXPECT_TRUE(result.out == expected) << label_of(c.args) << ": " << result.out.size() << " bytes, not the "
                                            << expected.size() << " of " << c.lines << " lines";
        EXPECT_EQ(result.err, "") << label_of(c.args);
    }
}

TEST(CommandLine, AnEmptyArgumentVectorMeansTheDefault)
{
    if (!emulator().empty())
        GTEST_SKIP() << "an emulator starts the program with its path as argv[0], never with argc == 0";
    // Linux from 5.18 on starts such a program with argv {"", NULL}; either
    // way there is no count argument.
    run_options options;
    options.argv = {};
    const run_result result = run_program(scatter_path, options);
    if (result.exit_code == 127 && result.out.empty())
        SCATTER_SKIP() << "this system refuses to start a program with no arguments (execve fails)";
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.out, printf_points(100));
    EXPECT_EQ(result.err, "");
}

struct stream_case {
    const char* name;
    stdout_kind out;
    bool nonblocking;
    unsigned delay_us;
};

TEST(Output, EveryKindOfPipeOrSocketGetsTheWholeStream)
{
    // Three writes' worth, where a blocking pipe is the command-line test's.
    // scatter widens a pipe to 1 MiB.  A socket it cannot widen: a Unix
    // stream socket, as systemd gives a service for its standard output,
    // with a send buffer far smaller than a write.  Blocking, each write
    // waits until it has all gone; non-blocking, each is taken in part, and
    // the rest waits in poll(2).
    constexpr int small_send_buffer = 4096;
    const stream_case cases[] = {
        {"non-blocking pipe", stdout_kind::pipe, true, 0},
        {"blocking Unix stream socket, small send buffer", stdout_kind::socket, false, 0},
        {"non-blocking Unix stream socket, small send buffer, slow reader", stdout_kind::socket, true, 20},
    };
    const std::string expected = printf_points(20000);
    for (const stream_case& c : cases) {
        run_options options;
        options.argv = {"scatter", "20000"};
        options.out = c.out;
        options.nonblocking = c.nonblocking;
        options.send_buffer = small_send_buffer;
        options.read_delay_us = c.delay_us;
        options.read_chunk = 0;  // what the pipe holds
        const run_result result = run_program(scatter_path, options);
        EXPECT_EQ(result.exit_code, 0) << c.name;
        EXPECT_EQ(result.err, "") << c.name;
        EXPECT_TRUE(result.out == expected) << c.name;
        if (c.out == stdout_kind::socket) {
            // Linux doubles the size asked for; a write of 128 KiB must not fit.
            EXPECT_LT(result.send_buffer, 1 << 16) << c.name;
        }
    }
}

TEST(Output, APipeIsWidenedWhenTheOutputWouldNotFit)
{
#if !defined(F_GETPIPE_SZ) || !defined(F_SETPIPE_SZ)
    SCATTER_SKIP() << "this system neither tells nor sets the size of a pipe (F_GETPIPE_SZ, F_SETPIPE_SZ)";
#else
    // Linux refuses a larger pipe to a user over the quota of pipe memory;
    // scatter then goes on with the pipe it has.
    int fds[2];
    make_pipe(fds);
    const int default_size = ::fcntl(fds[1], F_GETPIPE_SZ);
    const bool grantable = ::fcntl(fds[1], F_SETPIPE_SZ, 1 << 20) == 1 << 20;
    ::close(fds[0]);
    ::close(fds[1]);
    if (default_size != 1 << 16)
        SCATTER_SKIP() << "the cases are chosen for pipes of 64 KiB, and this system's hold " << default_size << " bytes";

    // 100 points take about 2 KB; 5000 points about 97 KB, more than the
    // pipe holds, though 5000 is far less than its size in bytes.
    const struct {
        const char* count;
        bool widened;
    } cases[] = {{"100", false}, {"5000", true}, {"100000", true}};
    for (const auto& c : cases) {
        const run_result result = run_scatter({c.count});
        EXPECT_EQ(result.initial_pipe_size, 1 << 16) << c.count;
        EXPECT_EQ(result.pipe_size, c.widened && grantable ? 1 << 20 : 1 << 16) << c.count;
    }
#endif
}

#if defined(F_GETPIPE_SZ) && defined(F_SETPIPE_SZ)
// Whether this process gets a pipe of `size` bytes, tried on one of its own.
bool pipe_of_size_granted(int size)
{
    int fds[2];
    make_pipe(fds);
    const bool granted = ::fcntl(fds[1], F_SETPIPE_SZ, size) >= size;
    ::close(fds[0]);
    ::close(fds[1]);
    return granted;
}

// Why this process gets no pipe of `size` bytes.  Linux grants a pipe wider
// than /proc/sys/fs/pipe-max-size only to a process with CAP_SYS_RESOURCE;
// the limit is the machine's, and a test leaves it as it is.
std::string why_no_pipe_of_size(int size)
{
    std::ifstream in("/proc/sys/fs/pipe-max-size");
    std::string limit;
    if (!(in >> limit))
        return "this system refuses it and has no /proc/sys/fs/pipe-max-size";
    if (std::stol(limit) >= size)
        return "this system refuses it though pipe-max-size is " + limit + " bytes";
    return "pipe-max-size is " + limit + " bytes, and this process has no CAP_SYS_RESOURCE to exceed it";
}
#endif

TEST(Output, APipeWiderThanTheWidenedSizeIsLeftAsItIs)
{
#if !defined(F_GETPIPE_SZ) || !defined(F_SETPIPE_SZ)
    SCATTER_SKIP() << "this system neither tells nor sets the size of a pipe (F_GETPIPE_SZ, F_SETPIPE_SZ)";
#else
    // The widening is to 1 MiB; a pipe of 2 MiB must keep its size, though
    // the output, at least 18 bytes a point, would not fit in it either.
    constexpr int wider = 2 << 20;
    if (!pipe_of_size_granted(wider))
        SCATTER_SKIP() << "no pipe of " << wider << " bytes for the program: " << why_no_pipe_of_size(wider);
    run_options options;
    options.argv = {"scatter", "120000"};
    options.pipe_capacity = wider;
    const run_result result = run_program(scatter_path, options);
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.initial_pipe_size, wider);
    EXPECT_EQ(result.pipe_size, wider);
#endif
}

struct fault_case {
    const char* name;
    std::string count;
    stdout_kind out;
    std::string path;
    bool nonblocking;
    bool ignore_sigpipe;
    std::size_t read_limit;
    int exit_code;
};

TEST(Output, AFaultyOutputEndsTheRunAtOnceAndSaysSo)
{
    // "At once" is the work done, not the time taken.  A run that stops at
    // its first failed write has made one buffer of lines, some 7000
    // points; one that runs on makes all 2^31 - 1 of the largest count.  The
    // measure is a run that writes a 1024th of them, some 2 million, to
    // /dev/null, which the machine, an emulator or a sanitizer slows as it
    // slows the others.  Every run also pays for the start of a process,
    // which under a sanitizer costs as much as those points: a prompt exit
    // costs less than the measure, one that runs on 1024 times its points.
    // The time limit only guards against a run that hangs.
    const std::string largest = "2147483647";
    run_options measure;
    measure.argv = {"scatter", std::to_string(2147483647 / 1024)};
    measure.out = stdout_kind::file;
    measure.out_path = "/dev/null";
    const run_result work = run_program(scatter_path, measure);
    ASSERT_EQ(work.exit_code, 0);

    const std::vector<fault_case> cases = {
        {"full device", "1000", stdout_kind::file, "/dev/full", false, false, 0, 1},
        {"full device, largest count", largest, stdout_kind::file, "/dev/full", false, false, 0, 1},
        {"closed stdout", "100", stdout_kind::closed, "", false, false, 0, 1},
        {"closed stdout, default count", "", stdout_kind::closed, "", false, false, 0, 1},
        {"closed stdout, largest count", largest, stdout_kind::closed, "", false, false, 0, 1},
        {"closed stdout, nothing to write", "0", stdout_kind::closed, "", false, false, 0, 0},
        {"reader leaves, SIGPIPE ignored", largest, stdout_kind::pipe, "", false, true, 1000, 1},
        {"Unix stream socket, reader leaves, SIGPIPE ignored", largest, stdout_kind::socket, "", false, true, 1000, 1},
        {"non-blocking Unix stream socket, reader leaves, SIGPIPE ignored", largest, stdout_kind::socket, "", true, true, 1000, 1},
    };
    for (const fault_case& c : cases) {
        if (!row_runs_here(c.name, c.path.empty() || ::access(c.path.c_str(), W_OK) == 0, "this system has no such device"))
            continue;
        run_options options;
        options.argv = {"scatter"};
        if (!c.count.empty())
            options.argv.push_back(c.count);
        options.out = c.out;
        options.out_path = c.path;
        options.nonblocking = c.nonblocking;
        options.send_buffer = 4096;  // a socket's is full after a part of the first write
        options.ignore_sigpipe = c.ignore_sigpipe;
        options.read_limit = c.read_limit;
        const run_result result = run_program(scatter_path, options);
        EXPECT_EQ(result.exit_code, c.exit_code) << c.name;
        EXPECT_EQ(result.signal, 0) << c.name;
        EXPECT_EQ(result.err, "") << c.name;
        EXPECT_LT(result.cpu_seconds, work.cpu_seconds)
            << c.name << ": processor time " << result.cpu_seconds << " s, and " << work.cpu_seconds
            << " s for a run of " << measure.argv[1] << " points";
        if (c.read_limit != 0) {
            EXPECT_EQ(result.out, printf_points(100).substr(0, c.read_limit)) << c.name;
        }
    }
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

TEST(Output, AnyAddressSpaceLimitThatTheProgramStartsUnderIsEnough)
{
#if defined(UNDER_ADDRESS_SANITIZER)
    GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space";
#else
    if (!emulator().empty())
        GTEST_SKIP() << "the limit would bound the emulator's own memory, its translated code and its map of the guest's pages, not only the program's";
    // What the kernel runs when the test starts scatter: scatter itself, or
    // an interpreter that binfmt_misc hands it to, as a container for
    // another processor hands its programs to qemu-user.  Read from /proc
    // while the run writes (a run of the largest count cannot end first);
    // empty where /proc does not tell.
    run_options probe;
    probe.argv = {"scatter", "2147483647"};
    probe.read_limit = 1;
    const std::string runner = run_program(scatter_path, probe).exe;
    std::error_code not_there;
    if (!runner.empty() && !std::filesystem::equivalent(runner, scatter_path, not_there))
        SCATTER_SKIP() << "the kernel hands scatter to " << runner << " (binfmt_misc): the limit would bound that interpreter's memory, not only the program's";
    // The program needs no more memory for many points than for one, so the
    // least limit under which `scatter 1` works, and so every larger one,
    // must do for a large count too: the whole stream and status 0, never a
    // signal or a message.
    const auto run_under = [](unsigned long limit, const char* count) {
        run_options options;
        options.argv = {"scatter", count};
        options.address_space_limit = limit;
        return run_program(scatter_path, options);
    };
    const auto wrote = [](const run_result& result, const std::string& lines) {
        return result.signal == 0 && result.exit_code == 0 && result.err.empty() && result.out == lines;
    };
    const auto works_under = [&](unsigned long limit, const char* count, const std::string& lines) {
        return wrote(run_under(limit, count), lines);
    };
    // A program needs the same memory on every run.  An emulator that /proc
    // did not show may not: where it places its own memory varies, and a
    // run under one limit fails on some runs and works on others.
    const auto varies = [](unsigned long limit) {
        return "runs under a limit of " + std::to_string(limit) + " bytes worked on some tries and failed on others: "
            "what runs scatter needs more memory on some runs, as an emulator does";
    };
    const std::string one = printf_points(1);
    // No program starts in one page: a limit that the kernel applies stops it.
    unsigned long fails = 4096;
    if (works_under(fails, "1", one))
        SCATTER_SKIP() << "a limit of " << fails << " bytes does not stop `scatter 1`: the limit is not applied, as qemu-user applies none that a program it runs sets";
    unsigned long works = 256ul << 20;
    if (!works_under(works, "1", one)) {
        if (works_under(works, "1", one))
            SCATTER_SKIP() << varies(works);
        FAIL() << "`scatter 1` fails under a limit of " << works << " bytes";
    }
    while (works - fails > 4096) {
        const unsigned long middle = (works + fails) / 2 / 4096 * 4096;
        (works_under(middle, "1", one) ? works : fails) = middle;
    }
    const std::string expected = printf_points(100000);
    const run_result result = run_under(works, "100000");
    if (wrote(result, expected))
        return;
    // The program's own failure is the same on every try.
    for (int round = 0; round < 4; ++round)
        if (!works_under(works, "1", one) || works_under(works, "100000", expected))
            SCATTER_SKIP() << varies(works);
    FAIL() << "under a limit of " << works << " bytes, the least under which `scatter 1` works, "
           << "`scatter 100000` fails on every try: status " << result.exit_code << ", signal " << result.signal << ", "
           << result.out.size() << " of " << expected.size() << " bytes, standard error \"" << result.err << '"';
#endif
}

TEST(Output, EveryWriteEndsAtALineEnd)
{
    // So runs that append to one file interleave whole lines, where the
    // file system takes each write whole.  A sequenced-packet socket keeps
    // each write as one record, which must fit in its send buffer (else the
    // write fails with EMSGSIZE): a write is some 128 KiB and at most a
    // block of lines more, and Linux grants any user up to net.core.wmem_max
    // (208 KiB by default), which it doubles.
    constexpr int room_for_a_write = 256 << 10;
    int probe[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET, 0, probe) != 0)
        SCATTER_SKIP() << "this system has no Unix sequenced-packet sockets: " << std::strerror(errno);
    ::close(probe[0]);
    ::close(probe[1]);
    run_options options;
    options.argv = {"scatter", "20000"};
    options.out = stdout_kind::seqpacket;
    options.send_buffer = 1 << 20;
    const run_result result = run_program(scatter_path, options);
    if (result.send_buffer < room_for_a_write)
        SCATTER_SKIP() << "the system grants a send buffer of " << result.send_buffer << " bytes, not the " << room_for_a_write
                     << " that a write may need (net.core.wmem_max)";
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(result.out == printf_points(20000));
    ASSERT_GE(result.records.size(), 3u) << "20000 points must take several writes";
    std::size_t end = 0;
    for (std::size_t i = 0; i < result.records.size(); ++i) {
        end += result.records[i];
        EXPECT_EQ(result.out[end - 1], '\n') << "write " << i << " of " << result.records.size() << ", "
                                            << result.records[i] << " bytes, ends inside a line";
    }
}

}  // namespace
}  // namespace scatter::testing
