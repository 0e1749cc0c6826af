// Hands bytes to a file descriptor whole, with write(2).
#pragma once

#include <sys/types.h>

#include <cstddef>

namespace scatter {

// write(2), or a stand-in with its contract (tests use one that writes a few
// bytes at a time and fails with EINTR and EAGAIN now and then).
using write_function = ssize_t (*)(int fd, const void* data, std::size_t size);

// Writes all size bytes of data to fd.  A partial write goes on with the
// rest; EINTR retries; EAGAIN (a non-blocking descriptor that is full)
// waits with poll(2) until fd takes more.  Returns false at the first other
// failure, after which nothing more is written.
bool write_all(int fd, const char* data, std::size_t size, write_function write);

}  // namespace scatter
