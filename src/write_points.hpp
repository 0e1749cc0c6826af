// The fast path from draws to bytes on a file descriptor.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>

#include "draw_source.hpp"
#include "output_writer.hpp"

namespace scatter {

// Every write but the last hands over exactly this many bytes.
inline constexpr std::size_t output_buffer_size = std::size_t{1} << 17;

// Writes count points drawn from source to fd, one "%f %f\n" line each, in
// drawing order, and advances source past the draws of all count points, as
// a point-by-point loop would.  Returns false at the first write that fails,
// having tried nothing after it.  A count of 0 or less writes nothing.
bool write_points(int fd, int count, draw_source& source, write_function write = ::write);

// The most bytes that write_points can write for count points.
std::uint64_t max_output_size(int count);

}  // namespace scatter
