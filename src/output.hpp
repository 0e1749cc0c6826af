// Standard output: the points' lines in large writes of whole lines.
#pragma once

#include <cstddef>
#include <cstdint>

namespace scatter {

struct pipeline;

// Points are made a block at a time: first the block's draws, then its
// lines.
inline constexpr std::size_t block_points = 1024;

// Writes the lines of the first count points (none for a count of 0 or
// less) to fd, made by pipeline, in writes of about 128 KiB that each end at
// a line end: several runs that append to one file interleave whole lines
// where the file system takes each write whole.  Allocates nothing.
// Returns false at the first write that fails, having tried nothing after
// it.
bool write_points(int fd, int count, const pipeline& pipeline);

// The most bytes that count points can take.
std::uint64_t max_output_size(int count);

// Writes all size bytes of data to fd.  A partial write goes on with the
// rest; EINTR retries; EAGAIN (a non-blocking descriptor that is full)
// waits with poll(2) until fd takes more.  Returns false at the first other
// failure, after which nothing more is written.
bool write_all(int fd, const char* data, std::size_t size);

// Closes fd, where some file systems (NFS, FUSE) report a failed write:
// false when the close fails.  EINTR and EINPROGRESS have released fd all the
// same, and a descriptor never opened (EBADF) has nothing to report.
bool close_output(int fd);

// Grows fd to 1 MiB (what Linux grants any user) when it is a smaller pipe
// and output_bytes would not fit: a wide pipe wakes its reader less often and
// moves a large output about twice as fast.  Any failure leaves fd as it is.
void widen_pipe(int fd, std::uint64_t output_bytes);

}  // namespace scatter
