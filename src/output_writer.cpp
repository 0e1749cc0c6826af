#include "output_writer.hpp"

#include <fcntl.h>
#include <poll.h>

#include <cerrno>

namespace scatter {
namespace {

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

bool write_all(int fd, const char* data, std::size_t size, write_function write)
{
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
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
