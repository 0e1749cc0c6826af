// Writes points as printf("%f %f\n") writes them, straight from their draws:
// no float, no division, no printf at run time.
//
// The text of a coordinate depends only on its magnitude draw and on
// whether its sign draw negates it.  The compiler works out the text of
// every magnitude, and the first sign draw that keeps the sign, from the
// rules of draw_point.hpp; a line is then two table lookups.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "cpu_features.hpp"
#include "draw_point.hpp"
#include "draw_source.hpp"

namespace scatter {

// The longest line, "-10.000000 -10.000000\n".
inline constexpr std::size_t max_line_length = 22;

// keeps_sign grows with the draw, so the draws that keep their sign are
// exactly those from this one on.
inline constexpr int first_kept_draw = [] {
    int r = 0;
    while (!keeps_sign(r))
        ++r;
    return r;
}();

// The first eight characters of the text of every magnitude, by its draw:
// "%f" of the magnitude widened to double, as printf writes it.  Every text
// has eight characters but that of 10, "10.000000", whose ninth is a '0'.
// Worked out by the compiler, once, in format.cpp.
struct magnitude_text {
    char chars[8];
};

extern const std::array<magnitude_text, draw_max + 1> magnitude_texts;

// Writes the text of the coordinate with this magnitude draw, negated or
// not, at out and returns its end.  Ten bytes from out may be written; the
// one at the end is a spare '0' that the caller writes over.
inline char* format_coordinate(char* out, unsigned magnitude_draw, bool negated)
{
    *out = '-';
    out += negated;
    std::memcpy(out, magnitude_texts[magnitude_draw].chars, 8);
    out[8] = '0';  // the ninth character of "10.000000"
    return out + 8 + (magnitude_draw == draw_max);
}

// Writes the line of the point of these four draws at out and returns its
// end: at most max_line_length bytes.
inline char* format_line(char* out, const std::uint16_t* draws)
{
    out = format_coordinate(out, draws[0], draws[2] < first_kept_draw);
    *out++ = ' ';
    out = format_coordinate(out, draws[1], draws[3] < first_kept_draw);
    *out++ = '\n';
    return out;
}

// Points are formatted a block at a time: first the block's draws, then
// its lines.
inline constexpr std::size_t block_points = 1024;

// One way of making lines from the generator: lanes that make its draws,
// and the assembly of lines from them.  Each instruction set has its own;
// all write the same bytes.
struct format_path {
    const char* name;
    // The processor features that its instructions need beyond the
    // baseline of its build.
    std::span<const cpu_feature> needs;
    // Writes the `count` draws that follow `state` at out, and perhaps more
    // up to the next multiple of 64.
    void (*fill_draws)(std::uint32_t state, std::uint16_t* out, std::size_t count);
    // Writes the lines of `points` points, four draws each, at out and
    // returns their end.  Up to format_slack bytes past the end may be
    // written too.
    char* (*format_lines)(const std::uint16_t* draws, std::size_t points, char* out);
};

inline constexpr std::size_t format_slack = 64;

// The lines of one point after another, the plain way.
inline char* format_lines(const std::uint16_t* draws, std::size_t points, char* out)
{
    for (std::size_t i = 0; i < points; ++i)
        out = format_line(out, draws + 4 * i);
    return out;
}

// Every path that this build has, the fastest first; whether this
// processor can run a path; and the fastest that it can.
std::span<const format_path* const> format_paths();
bool runs_here(const format_path& path);
const format_path& fastest_path();

}  // namespace scatter
