// What the vector line kernels share: the shapes of a line, and the loop
// that hands a kernel its groups of points.
//
// A line is
//
//     ['-'] x-text ['0'] ' ' ['-'] y-text ['0'] '\n'
//
// where each text is the eight bytes of the text table, a '-' is there when
// the coordinate is negated, and a '0' when its magnitude is 10 (the ninth
// character of "10.000000").  Which of the four are there is the line's
// shape, one of 16.  A kernel holds both texts in a register, [x-text,
// y-text], and makes the line with one byte shuffle by its shape's mask and
// one OR with its shape's fill: the mask picks each text byte to its place
// in the line and zeroes the others, and the fill puts '-', '0', ' ' and
// '\n' into the zeroed places.
#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>

#include "lines.hpp"

namespace scatter {

// The bits of a shape.
inline constexpr unsigned shape_negated_x = 1;
inline constexpr unsigned shape_negated_y = 2;
inline constexpr unsigned shape_ten_x = 4;
inline constexpr unsigned shape_ten_y = 8;
inline constexpr std::size_t shape_count = 16;

// The bytes of each shape in each table: a line fits in 32.
inline constexpr std::size_t shape_bytes = 32;

struct line_shapes {
    // For each byte of the line, the byte of [x-text, y-text] that it
    // takes, or 0x80, which a shuffle turns into a zero.
    alignas(64) std::array<std::array<std::uint8_t, shape_bytes>, shape_count> masks;
    // The bytes that the texts do not give, zero elsewhere; the last byte,
    // beyond every line, holds the length of the line.
    alignas(64) std::array<std::array<std::uint8_t, shape_bytes>, shape_count> fills;
};

inline constexpr std::size_t shape_length_byte = shape_bytes - 1;

inline constexpr line_shapes shapes = [] {
    line_shapes table{};
    for (unsigned shape = 0; shape < shape_count; ++shape) {
        std::array<std::uint8_t, shape_bytes>& mask = table.masks[shape];
        std::array<std::uint8_t, shape_bytes>& fill = table.fills[shape];
        mask.fill(0x80);
        std::size_t length = 0;
        const auto text = [&](std::uint8_t first) {
            for (std::uint8_t i = 0; i < 8; ++i)
                mask[length++] = static_cast<std::uint8_t>(first + i);
        };
        const auto character = [&](char c) { fill[length++] = static_cast<std::uint8_t>(c); };
        if ((shape & shape_negated_x) != 0)
            character('-');
        text(0);
        if ((shape & shape_ten_x) != 0)
            character('0');
        character(' ');
        if ((shape & shape_negated_y) != 0)
            character('-');
        text(8);
        if ((shape & shape_ten_y) != 0)
            character('0');
        character('\n');
        fill[shape_length_byte] = static_cast<std::uint8_t>(length);
    }
    return table;
}();
static_assert(max_line_length < shape_length_byte, "a line must end before the byte that holds its length");

// A kernel finds the shapes of its points with vector compares: each of a
// point's four draws (magnitude of x, of y, sign of x, of y) is tested,
// every test giving a 16-bit lane of all ones or zero; the tests are masked
// by these weights, and a sum of the eight bytes of the point's 64-bit lane
// (psadbw) gives shape * shape_bytes, the offset of its shape in each table.
// A weight of 256 fits no byte, so it is 128 in each byte of its lane.
constexpr std::uint64_t draw_weight(unsigned shape_bit, unsigned draw)
{
    const unsigned weight = shape_bit * static_cast<unsigned>(shape_bytes);
    const std::uint64_t lane = weight < 256 ? weight : (weight / 2) * 0x0101u;
    return lane << (16 * draw);
}

// For the tests that a magnitude draw is draw_max (a text of 10)...
inline constexpr std::uint64_t ten_weights = draw_weight(shape_ten_x, 0) | draw_weight(shape_ten_y, 1);
// ... and that a sign draw negates.
inline constexpr std::uint64_t negated_weights = draw_weight(shape_negated_x, 2) | draw_weight(shape_negated_y, 3);

// The register work of one instruction set: the lines of group_points
// points at a time.  format_group writes them at out and returns their end,
// and may write up to line_slack bytes beyond.
template <class Kernel>
concept line_kernel = requires(const Kernel kernel, const std::uint16_t* draws, char* out) {
    { Kernel::group_points } -> std::convertible_to<std::size_t>;
    { kernel.format_group(draws, out) } -> std::same_as<char*>;
};

// The lines of `points` points with Kernel, a group at a time, and the
// points after the last whole group the plain way.  The kernel's functions
// carry the target attribute of its instruction set; a caller with the same
// attribute and `flatten` makes this one loop with the kernel's work inline.
template <line_kernel Kernel>
char* assemble_lines(const std::uint16_t* draws, std::size_t points, char* out)
{
    const Kernel kernel;
    std::size_t i = 0;
    for (; i + Kernel::group_points <= points; i += Kernel::group_points)
        out = kernel.format_group(draws + 4 * i, out);
    return format_lines(draws + 4 * i, points - i, out);
}

}  // namespace scatter
