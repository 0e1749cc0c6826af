// write_all through a real pipe: blocking and non-blocking, its writes and
// waits interrupted by a signal, and its wait on a full non-blocking pipe.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>
#include <thread>

#include "output.hpp"

namespace scatter {
namespace {

std::atomic<int> interruptions{0};

struct interrupted_case {
    const char* name;
    bool nonblocking;
};

TEST(WriteAll, GoesOnAfterEveryInterruption)
{
#if defined(SCATTER_EMULATOR)
    // Under qemu-i386 (7.2, Debian 12's) a thread whose signal handler
    // returns goes on with the thread pointer (%gs) of the thread created
    // last: its errno is the reader's, and pthread_join takes it for the
    // reader joining itself and fails with EDEADLK, so that the joinable
    // std::thread aborts the run.  qemu-s390x runs the test as the kernel does.
    const char* const emulator[] = {SCATTER_EMULATOR};
    if (std::string_view(emulator[0]).find("qemu-i386") != std::string_view::npos)
        GTEST_SKIP() << "under qemu-i386 a thread's signal handler leaves it with another thread's thread pointer (%gs)";
#endif
    // A handler without SA_RESTART.  A write blocked on a full pipe returns
    // early, with the bytes it moved or with EINTR.  On a non-blocking pipe
    // a write never blocks: it fails with EAGAIN, and the signal interrupts
    // the wait in poll(2) instead, which then fails with EINTR.
    struct sigaction action {};
    action.sa_handler = [](int) { interruptions.fetch_add(1, std::memory_order_relaxed); };
    struct sigaction old_action {};
    ASSERT_EQ(::sigaction(SIGALRM, &action, &old_action), 0);
    std::string data(1 << 20, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>('a' + i % 23);

    const interrupted_case cases[] = {
        {"blocking pipe, interrupted writes", false},
        {"non-blocking pipe, interrupted waits", true},
    };
    for (const interrupted_case& c : cases) {
        interruptions = 0;
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        if (c.nonblocking) {
            ASSERT_EQ(::fcntl(fds[1], F_SETFL, O_NONBLOCK), 0);
        }

        // The reader must not take the signals: it starts with SIGALRM
        // blocked.  It reads nothing until the writer, with the pipe full,
        // has had a few of them, and then reads slowly.
        sigset_t alarm_only;
        sigemptyset(&alarm_only);
        sigaddset(&alarm_only, SIGALRM);
        ::pthread_sigmask(SIG_BLOCK, &alarm_only, nullptr);
        std::atomic<bool> writer_done{false};
        std::string received;
        std::thread reader([&] {
            while (interruptions.load() < 3 && !writer_done.load())
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            char chunk[4096];
            ssize_t got;
            while ((got = ::read(fds[0], chunk, sizeof chunk)) > 0) {
                received.append(chunk, static_cast<std::size_t>(got));
                std::this_thread::sleep_for(std::chrono::microseconds(5));
            }
        });
        ::pthread_sigmask(SIG_UNBLOCK, &alarm_only, nullptr);

        const itimerval every_200us{{0, 200}, {0, 200}};
        ::setitimer(ITIMER_REAL, &every_200us, nullptr);
        const bool written = write_all(fds[1], data.data(), data.size());
        const itimerval stop{};
        ::setitimer(ITIMER_REAL, &stop, nullptr);
        writer_done = true;
        ::close(fds[1]);
        reader.join();
        ::close(fds[0]);

        EXPECT_TRUE(written) << c.name;
        EXPECT_GE(interruptions.load(), 3) << c.name;
        EXPECT_TRUE(received == data) << c.name;
    }
    ::sigaction(SIGALRM, &old_action, nullptr);
}

// The processor time that this process has used, in seconds.
double process_cpu_seconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

TEST(WriteAll, AFullNonBlockingOutputIsWaitedOnNotSpunOn)
{
    // The pipe is full before write_all starts, and stays full through a
    // pause in which nothing reads it: every write fails with EAGAIN.  A
    // writer that waits in poll(2) uses next to no processor time in the
    // pause; one that retries at once spins through all of it, or through
    // its share of the processor on a busy machine.  Nothing else runs
    // meanwhile: the test only sleeps.  The pause begins a little after the
    // writer has started, when it has met the full pipe.
    constexpr auto settle = std::chrono::milliseconds(20);
    constexpr auto pause = std::chrono::milliseconds(100);
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ASSERT_EQ(::fcntl(fds[1], F_SETFL, O_NONBLOCK), 0);
    std::string sent;
    const auto fill = [&](std::size_t piece) {
        const std::string bytes(piece, 'f');
        ssize_t put;
        while ((put = ::write(fds[1], bytes.data(), bytes.size())) > 0)
            sent.append(bytes, 0, static_cast<std::size_t>(put));
        return errno == EAGAIN || errno == EWOULDBLOCK;
    };
    // Whole pages first, then single bytes into what they leave.
    ASSERT_TRUE(fill(4096) && fill(1)) << std::strerror(errno);

    std::string data(256 << 10, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>('a' + i % 23);
    sent += data;
    bool written = false;
    std::atomic<bool> started{false};
    std::thread writer([&] {
        started = true;
        written = write_all(fds[1], data.data(), data.size());
        ::close(fds[1]);
    });
    while (!started)
        std::this_thread::yield();
    std::this_thread::sleep_for(settle);
    const double before = process_cpu_seconds();
    std::this_thread::sleep_for(pause);
    const double used = process_cpu_seconds() - before;

    std::string received;
    char chunk[65536];
    ssize_t got;
    while ((got = ::read(fds[0], chunk, sizeof chunk)) > 0)
        received.append(chunk, static_cast<std::size_t>(got));
    writer.join();
    ::close(fds[0]);
    EXPECT_TRUE(written);
    EXPECT_TRUE(received == sent);
    const double pause_seconds = std::chrono::duration<double>(pause).count();
    EXPECT_LT(used, pause_seconds / 10) << "processor time " << used << " s in a pause of " << pause_seconds
                                        << " s with the pipe full";
}

}  // namespace
}  // namespace scatter
