// The work of each instruction set, one file each: sse2.cpp, ssse3.cpp and
// avx2.cpp define these, and pipelines.cpp pairs them.  Each of these
// functions uses the instructions of its name, and runs only on a processor
// that has them; every file is compiled for the baseline processor.
#pragma once

#include <cstddef>
#include <cstdint>

namespace scatter {

// Draws: write the `count` draws that follow `state` at out, and up to
// draw_slack more (draw_lanes.hpp).
//
// Lines: write the lines of `points` points, four draws each, at out and
// return their end; up to line_slack bytes past it may be written too.

#if defined(__SSE2__)
void fill_draws_sse2(std::uint32_t state, std::uint16_t* out, std::size_t count);
char* format_lines_ssse3(const std::uint16_t* draws, std::size_t points, char* out);
#endif

#if defined(__x86_64__)
void fill_draws_avx2(std::uint32_t state, std::uint16_t* out, std::size_t count);
char* format_lines_avx2(const std::uint16_t* draws, std::size_t points, char* out);
#endif

}  // namespace scatter
