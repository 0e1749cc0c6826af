// The fast writer against the plain one, through every way a write(2) can
// answer: in pieces, interrupted, would-block, and failed.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "draw_source.hpp"
#include "output_writer.hpp"
#include "printf_oracle.hpp"
#include "write_points.hpp"

namespace scatter {
namespace {

using testing::printf_points;

// A scripted stand-in for write(2): every call takes at most `piece` bytes,
// and the calls listed in `interrupted` and `would_block` fail with EINTR and
// EAGAIN; after `fail_after` bytes every call fails with EIO.
struct fake_device {
    std::string written;
    std::size_t piece = SIZE_MAX;
    std::size_t fail_after = SIZE_MAX;
    int calls = 0;
    int calls_after_failure = 0;
    bool failed = false;
    std::vector<int> interrupted;
    std::vector<int> would_block;
};

fake_device* device = nullptr;

ssize_t fake_write(int, const void* data, std::size_t size)
{
    const int call = device->calls++;
    if (device->failed)
        ++device->calls_after_failure;
    for (const int n : device->interrupted)
        if (n == call) {
            errno = EINTR;
            return -1;
        }
    for (const int n : device->would_block)
        if (n == call) {
            errno = EAGAIN;
            return -1;
        }
    if (device->written.size() >= device->fail_after) {
        device->failed = true;
        errno = EIO;
        return -1;
    }
    std::size_t take = std::min({size, device->piece, device->fail_after - device->written.size()});
    device->written.append(static_cast<const char*>(data), take);
    return static_cast<ssize_t>(take);
}

// poll(2) needs a real descriptor; /dev/null is always writable.
struct null_fd {
    int fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    ~null_fd() { ::close(fd); }
};

struct writer_case {
    const char* name;
    int count;
    std::size_t piece;
    std::vector<int> interrupted;
    std::vector<int> would_block;
};

TEST(WritePoints, WritesWhatPrintfWritesHoweverTheDeviceTakesIt)
{
    const std::size_t lines_in_buffer = output_buffer_size / 19;
    const std::vector<writer_case> cases = {
        {"one point", 1, SIZE_MAX, {}, {}},
        {"whole writes", 100000, SIZE_MAX, {}, {}},
        {"single bytes", 3000, 1, {}, {}},
        {"odd pieces", 50000, 4093, {}, {}},
        {"interrupted", 50000, SIZE_MAX, {0, 1, 3}, {}},
        {"would block", 50000, 7777, {}, {0, 2, 5, 6}},
        {"both", 20000, 999, {1, 4}, {2, 3}},
        {"about one buffer", static_cast<int>(lines_in_buffer), 65536, {}, {}},
    };
    const null_fd out;
    for (const writer_case& c : cases) {
        fake_device fake;
        fake.piece = c.piece;
        fake.interrupted = c.interrupted;
        fake.would_block = c.would_block;
        device = &fake;
        draw_source source;
        EXPECT_TRUE(write_points(out.fd, c.count, source, fake_write)) << c.name;
        EXPECT_TRUE(fake.written == printf_points(c.count)) << c.name;
    }
}

TEST(WritePoints, LeavesTheSourceAfterTheLastDraw)
{
    const null_fd out;
    for (const int count : {0, 1, 5, 1023, 1024, 1025, 70000}) {
        fake_device fake;
        device = &fake;
        draw_source fast;
        draw_source plain;
        ASSERT_TRUE(write_points(out.fd, count, fast, fake_write));
        for (int i = 0; i < 4 * count; ++i)
            plain();
        EXPECT_EQ(fast.state(), plain.state()) << count;
        EXPECT_EQ(fast(), plain()) << count;
    }
}

TEST(WritePoints, StopsAtTheFirstFailedWrite)
{
    const null_fd out;
    for (const std::size_t fail_after : {std::size_t{0}, std::size_t{1}, output_buffer_size - 1,
                                         output_buffer_size, 3 * output_buffer_size + 5}) {
        fake_device fake;
        fake.fail_after = fail_after;
        device = &fake;
        draw_source source;
        EXPECT_FALSE(write_points(out.fd, 1000000, source, fake_write)) << fail_after;
        EXPECT_EQ(fake.written.size(), fail_after);
        EXPECT_EQ(fake.calls_after_failure, 0) << fail_after;
    }
}

TEST(WritePoints, NothingForACountOfZeroOrLess)
{
    const null_fd out;
    for (const int count : {0, -1, -2147483647 - 1}) {
        fake_device fake;
        device = &fake;
        draw_source source;
        EXPECT_TRUE(write_points(out.fd, count, source, fake_write));
        EXPECT_EQ(fake.calls, 0);
        EXPECT_EQ(source.state(), initial_state);
    }
}

TEST(WritePoints, ANonBlockingOnePagePipeWithASlowReaderGetsEverything)
{
    int fds[2];
    ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    ASSERT_EQ(::fcntl(fds[1], F_SETPIPE_SZ, 4096), 4096);
    ASSERT_EQ(::fcntl(fds[1], F_SETFL, O_NONBLOCK), 0);
    std::string received;
    std::thread reader([&] {
        char chunk[1000];
        ssize_t got;
        while ((got = ::read(fds[0], chunk, sizeof chunk)) > 0) {
            received.append(chunk, static_cast<std::size_t>(got));
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        }
    });
    draw_source source;
    const bool written = write_points(fds[1], 20000, source);
    ::close(fds[1]);
    reader.join();
    ::close(fds[0]);
    EXPECT_TRUE(written);
    EXPECT_TRUE(received == printf_points(20000));
}

TEST(WidenPipe, GrowsOnlyAPipeTooSmallForTheOutput)
{
    int fds[2];
    ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    widen_pipe(fds[1], 65536);
    EXPECT_EQ(::fcntl(fds[1], F_GETPIPE_SZ), 65536);
    widen_pipe(fds[1], 65537);
    EXPECT_EQ(::fcntl(fds[1], F_GETPIPE_SZ), 1 << 20);
    ::close(fds[0]);
    ::close(fds[1]);
    const null_fd not_a_pipe;
    widen_pipe(not_a_pipe.fd, 1 << 30);  // no effect, no failure
}

TEST(WriteAll, AWriteThatTakesNothingIsAFailure)
{
    const null_fd out;
    const write_function takes_nothing = [](int, const void*, std::size_t) -> ssize_t { return 0; };
    EXPECT_FALSE(write_all(out.fd, "x", 1, takes_nothing));
    EXPECT_TRUE(write_all(out.fd, "", 0, takes_nothing));
}

}  // namespace
}  // namespace scatter
