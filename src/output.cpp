#include "output.hpp"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "draw_lanes.hpp"
#include "lines.hpp"
#include "pipelines.hpp"

namespace scatter {
namespace {

// The buffer is written once it holds write_size bytes.  Static: no run
// fails for want of memory, and pages a small run never touches cost nothing.
constexpr std::size_t write_size = std::size_t{1} << 17;
alignas(64) char buffer[write_size + block_points * max_line_length + line_slack];

constexpr affine_step block_step = generator_step.power(4 * block_points);

// Waits until fd can take more bytes.  An error or hang-up also ends the
// wait: the next write then reports it.
bool wait_until_writable(int fd)
{
    pollfd request{fd, POLLOUT, 0};
    for (;;) {
        if (::poll(&request, 1, -1) >= 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

}  // namespace

bool write_points(int fd, int count, const pipeline& pipeline)
{
    alignas(64) std::uint16_t draws[4 * block_points + draw_slack];
    std::uint32_t state = initial_state;
    char* end = buffer;
    for (std::size_t left = count > 0 ? static_cast<std::size_t>(count) : 0; left > 0;) {
        const std::size_t points = left < block_points ? left : block_points;
        pipeline.fill_draws(state, draws, 4 * points);
        end = pipeline.format_lines(draws, points, end);
        state = block_step(state);
        left -= points;
        const auto size = static_cast<std::size_t>(end - buffer);
        if (size >= write_size || left == 0) {
            if (!write_all(fd, buffer, size))
                return false;
            end = buffer;
        }
    }
    return true;
}

std::uint64_t max_output_size(int count)
{
    return count > 0 ? static_cast<std::uint64_t>(count) * max_line_length : 0;
}

bool write_all(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written > 0) {
            data += written;
            size -= static_cast<std::size_t>(written);
        } else if (written < 0 && errno == EINTR) {
            continue;
        } else if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!wait_until_writable(fd))
                return false;
        } else {
            return false;  // a real error, or a write that took nothing
        }
    }
    return true;
}

bool close_output(int fd)
{
    return ::close(fd) == 0 || errno == EINTR || errno == EINPROGRESS || errno == EBADF;
}

void widen_pipe(int fd, std::uint64_t output_bytes)
{
#if defined(F_GETPIPE_SZ) && defined(F_SETPIPE_SZ)
    constexpr int wide = 1 << 20;
    const int size = ::fcntl(fd, F_GETPIPE_SZ);
    if (size > 0 && size < wide && output_bytes > static_cast<std::uint64_t>(size))
        ::fcntl(fd, F_SETPIPE_SZ, wide);
#else
    (void)fd;
    (void)output_bytes;
#endif
}

}  // namespace scatter
