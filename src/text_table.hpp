// The text of every magnitude, as printf("%f") writes it, worked out by the
// compiler from the rules of draw_point.hpp: the lines are made from it
// with no float, no division and no printf at run time.
#pragma once

#include <array>

#include "draw_point.hpp"
#include "draw_source.hpp"

namespace scatter {

// The first eight characters of the text of every magnitude, by its draw.
// Every text has eight but that of 10, "10.000000", whose ninth is a '0'.
struct magnitude_text {
    char chars[8];
};

extern const std::array<magnitude_text, draw_max + 1> magnitude_texts;

}  // namespace scatter
