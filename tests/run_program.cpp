#include "run_program.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <stdexcept>
#include <system_error>

namespace scatter::testing {
namespace {

[[noreturn]] void fail(const char* what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

// The capacity of a pipe, or 0 for what is no pipe.
int pipe_size(int fd)
{
#if defined(F_GETPIPE_SZ)
    const int size = ::fcntl(fd, F_GETPIPE_SZ);
    return size > 0 ? size : 0;
#else
    (void)fd;
    return 0;
#endif
}

// Sets the capacity of a pipe, which the kernel rounds up to a power of two
// pages.
void set_pipe_size(int fd, int size)
{
#if defined(F_SETPIPE_SZ)
    if (::fcntl(fd, F_SETPIPE_SZ, size) < 0)
        fail("F_SETPIPE_SZ");
#else
    (void)fd;
    (void)size;
    throw std::invalid_argument("this system cannot set the size of a pipe");
#endif
}

// A connected pair of Unix sockets of this type (SOCK_STREAM or
// SOCK_SEQPACKET), both closed on exec: the test reads fds[0], the child
// writes fds[1].
void make_socket(int type, int fds[2])
{
#if defined(SOCK_CLOEXEC)
    if (::socketpair(AF_UNIX, type | SOCK_CLOEXEC, 0, fds) != 0)
        fail("socketpair");
#else
    if (::socketpair(AF_UNIX, type, 0, fds) != 0)
        fail("socketpair");
    for (int i = 0; i < 2; ++i)
        if (::fcntl(fds[i], F_SETFD, FD_CLOEXEC) != 0)
            fail("FD_CLOEXEC");
#endif
}

void set_send_buffer(int fd, int size)
{
    if (::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &size, sizeof size) != 0)
        fail("SO_SNDBUF");
}

int send_buffer(int fd)
{
    int size = 0;
    socklen_t length = sizeof size;
    if (::getsockopt(fd, SOL_SOCKET, SO_SNDBUF, &size, &length) != 0)
        fail("SO_SNDBUF");
    return size;
}

// The file that the kernel runs as process pid, or empty where /proc does
// not tell.
std::string executable_of(pid_t pid)
{
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    char path[PATH_MAX];
    const ssize_t length = ::readlink(link.c_str(), path, sizeof path);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

// The child side: arranges its descriptors and signals, then becomes the
// program.  Only async-signal-safe calls are made here.
[[noreturn]] void become_child(const std::string& path, const run_options& options,
                               int out_write, int err_write, char* const* argv)
{
    ::dup2(err_write, 2);
    switch (options.out) {
    case stdout_kind::pipe:
    case stdout_kind::socket:
    case stdout_kind::seqpacket:
        ::dup2(out_write, 1);
        break;
    case stdout_kind::file: {
        const int fd = ::open(options.out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            ::_exit(126);
        ::dup2(fd, 1);
        break;
    }
    case stdout_kind::closed:
        ::close(1);
        break;
    }
    struct sigaction action {};
    action.sa_handler = options.ignore_sigpipe ? SIG_IGN : SIG_DFL;
    ::sigaction(SIGPIPE, &action, nullptr);
    if (options.address_space_limit != 0) {
        const rlimit limit{options.address_space_limit, options.address_space_limit};
        ::setrlimit(RLIMIT_AS, &limit);
    }
    ::alarm(options.time_limit_s);  // survives the execve
    char* const no_environment[] = {nullptr};
    ::execve(path.c_str(), argv, no_environment);
    ::_exit(127);
}

// Reads the child's stdout and stderr pipes until both are closed, or until
// the stdout read limit is met.
void collect(pid_t pid, int out_read, int err_read, const run_options& options, run_result& result)
{
    // A pipe of unknown size is taken to hold 64 KiB, as most do.
    const std::size_t pipe_holds = result.initial_pipe_size > 0 ? static_cast<std::size_t>(result.initial_pipe_size) : 65536;
    // A record is read whole only into room for all of it: the writes are
    // far smaller than this.
    constexpr std::size_t record_room = std::size_t{1} << 20;
    std::size_t chunk = options.read_chunk != 0 ? options.read_chunk : pipe_holds;
    if (options.out == stdout_kind::seqpacket)
        chunk = record_room;
    std::string buffer(chunk, '\0');
    pollfd fds[2] = {{out_read, POLLIN, 0}, {err_read, POLLIN, 0}};
    int open_count = (out_read >= 0 ? 1 : 0) + 1;
    if (out_read < 0)
        fds[0].fd = -1;
    while (open_count > 0) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            fail("poll");
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            std::string& sink = i == 0 ? result.out : result.err;
            std::size_t want = buffer.size();
            if (i == 0 && options.read_limit != 0)
                want = std::min(want, options.read_limit - sink.size());
            if (i == 0 && options.read_delay_us != 0)
                ::usleep(options.read_delay_us);
            const ssize_t got = ::read(fds[i].fd, buffer.data(), want);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 && errno != EAGAIN)
                fail("read");
            if (i == 0 && got > 0 && sink.empty())
                result.exe = executable_of(pid);
            if (got > 0)
                sink.append(buffer.data(), static_cast<std::size_t>(got));
            if (i == 0 && got > 0 && options.out == stdout_kind::seqpacket) {
                if (static_cast<std::size_t>(got) == record_room)
                    throw std::length_error("a record may have been cut at the size of the read");
                result.records.push_back(static_cast<std::size_t>(got));
            }
            const bool limit_met = i == 0 && options.read_limit != 0 && sink.size() >= options.read_limit;
            if (i == 0 && (got == 0 || limit_met))
                result.pipe_size = pipe_size(fds[i].fd);
            if (got == 0 || limit_met) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open_count;
            }
        }
    }
}

}  // namespace

void make_pipe(int fds[2])
{
#if defined(SCATTER_HAVE_PIPE2)
    if (::pipe2(fds, O_CLOEXEC) != 0)
        fail("pipe2");
#else
    // Another thread's child may inherit the pipe before it is marked; it
    // then holds the pipe open only until it exits.
    if (::pipe(fds) != 0)
        fail("pipe");
    for (int i = 0; i < 2; ++i)
        if (::fcntl(fds[i], F_SETFD, FD_CLOEXEC) != 0)
            fail("FD_CLOEXEC");
#endif
}

const std::vector<std::string>& emulator()
{
#if defined(SCATTER_EMULATOR)
    static const std::vector<std::string> command = {SCATTER_EMULATOR};
#else
    static const std::vector<std::string> command;
#endif
    return command;
}

run_result run_program(const std::string& path, const run_options& options)
{
    std::vector<std::string> command = options.argv;
    if (!emulator().empty()) {
        if (command.empty())
            throw std::invalid_argument("an emulator cannot start a program with no arguments");
        command.front() = path;
        command.insert(command.begin(), emulator().begin(), emulator().end());
    }
    const std::string& program = emulator().empty() ? path : emulator().front();
    std::vector<char*> argv;
    for (const std::string& arg : command)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    int out_pipe[2] = {-1, -1};
    int err_pipe[2];
    run_result result;
    if (options.out == stdout_kind::pipe) {
        make_pipe(out_pipe);
        if (options.pipe_capacity != 0)
            set_pipe_size(out_pipe[1], options.pipe_capacity);
        result.initial_pipe_size = pipe_size(out_pipe[0]);
    }
    if (options.out == stdout_kind::socket || options.out == stdout_kind::seqpacket) {
        make_socket(options.out == stdout_kind::socket ? SOCK_STREAM : SOCK_SEQPACKET, out_pipe);
        if (options.send_buffer != 0)
            set_send_buffer(out_pipe[1], options.send_buffer);
        result.send_buffer = send_buffer(out_pipe[1]);
    }
    if (options.nonblocking && out_pipe[1] >= 0 && ::fcntl(out_pipe[1], F_SETFL, O_NONBLOCK) < 0)
        fail("O_NONBLOCK");
    make_pipe(err_pipe);

    const pid_t pid = ::fork();
    if (pid < 0)
        fail("fork");
    if (pid == 0)
        become_child(program, options, out_pipe[1], err_pipe[1], argv.data());

    if (out_pipe[1] >= 0)
        ::close(out_pipe[1]);
    ::close(err_pipe[1]);

    collect(pid, out_pipe[0], err_pipe[0], options, result);

    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0)
        if (errno != EINTR)
            fail("wait4");
    const auto seconds = [](timeval t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    result.cpu_seconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    if (WIFEXITED(status))
        result.exit_code = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    return result;
}

}  // namespace scatter::testing
