// The text of every magnitude, as printf("%f") writes it: the table from
// which the lines are made, with no float, no division and no printf at run
// time.
//
// The text of a coordinate depends only on its magnitude draw and on
// whether its sign draw negates it.  The compiler works out the text of
// every magnitude, and the first sign draw that keeps the sign, from the
// rules of draw_point.hpp.
#pragma once

#include <array>

#include "draw_point.hpp"
#include "draw_source.hpp"

namespace scatter {

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
// Worked out by the compiler, once, in text_table.cpp.
struct magnitude_text {
    char chars[8];
};

extern const std::array<magnitude_text, draw_max + 1> magnitude_texts;

}  // namespace scatter
