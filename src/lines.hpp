// The lines of points, the plain way: printf("%f %f\n") of each point, made
// from its four draws and the text table.  Every faster way of making lines
// writes the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "text_table.hpp"

namespace scatter {

// The longest line, "-10.000000 -10.000000\n".
inline constexpr std::size_t max_line_length = 22;

// The shortest line, "0.000000 0.000000\n".
inline constexpr std::size_t min_line_length = 2 * sizeof(magnitude_text::chars) + 2;

// How many bytes past the end of its lines any way of making lines may
// write.  The plain way writes none.  A line kernel (vector_lines.hpp)
// stores every line as one run of bytes from its start, 32 at the most,
// and so writes this many after the shortest line.
inline constexpr std::size_t line_slack = 32 - min_line_length;

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

// Writes the lines of `points` points, four draws each, at out and returns
// their end.
inline char* format_lines(const std::uint16_t* draws, std::size_t points, char* out)
{
    for (std::size_t i = 0; i < points; ++i)
        out = format_line(out, draws + 4 * i);
    return out;
}

}  // namespace scatter
