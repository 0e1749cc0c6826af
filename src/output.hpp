// Standard output: the points' lines in large writes of whole lines.
#pragma once

#include <cstddef>
#include <cstdint>

namespace scatter {

struct format_path;

// Writes the lines of the first count points (none for a count of 0 or
// less) to fd, made by path, in writes of about 128 KiB that each end at a
// line end, so that several runs appending to one file never splice their
// lines.  Allocates nothing.  Returns false at the first write that fails,
// having tried nothing after it.
bool write_points(int fd, int count, const format_path& path);

// The most bytes that count points can take.
std::uint64_t max_output_size(int count);

// Writes all size bytes of data to fd.  A partial write goes on with the
// rest; EINTR retries; EAGAIN (a non-blocking descriptor that is full)
// waits with poll(2) until fd takes more.  Returns false at the first other
// failure, after which nothing more is written.
bool write_all(int fd, const char* data, std::size_t size);

// A pipe holds 64 KiB by default, and its reader then wakes for every
// 64 KiB; a pipe of 1 MiB (what Linux grants any user) moves a large output
// about twice as fast.  Grows fd to that size when it is a smaller pipe and
// output_bytes would not fit in it.  Any failure (not a pipe, over the
// user's limit, not Linux) leaves fd as it is.
void widen_pipe(int fd, std::uint64_t output_bytes);

}  // namespace scatter
