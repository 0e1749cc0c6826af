// Hands bytes to a file descriptor whole, with write(2).
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>

namespace scatter {

// write(2), or a stand-in with its contract (tests use one that writes a few
// bytes at a time and fails with EINTR and EAGAIN now and then).
using write_function = ssize_t (*)(int fd, const void* data, std::size_t size);

// Writes all size bytes of data to fd.  A partial write goes on with the
// rest; EINTR retries; EAGAIN (a non-blocking descriptor that is full)
// waits with poll(2) until fd takes more.  Returns false at the first other
// failure, after which nothing more is written.
bool write_all(int fd, const char* data, std::size_t size, write_function write);

// A pipe holds 64 KiB by default, and its reader then wakes for every
// 64 KiB; a pipe of 1 MiB (what Linux grants any user) moves a large output
// about twice as fast.  Grows fd to that size when it is a smaller pipe and
// output_bytes would not fit in it.  Any failure (not a pipe, over the
// user's limit, not Linux) leaves fd as it is.
void widen_pipe(int fd, std::uint64_t output_bytes);

}  // namespace scatter
