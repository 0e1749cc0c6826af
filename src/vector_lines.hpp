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
// y-text], and makes the line with a byte shuffle by its shape's mask and
// an OR with its shape's fill (one of each with 32-byte registers, one for
// each 16-byte half of the line with 16-byte ones): the mask picks each
// text byte to its place in the line and zeroes the others, and the fill
// puts '-', '0', ' ' and '\n' into the zeroed places.
#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "lines.hpp"

namespace scatter {

// The bits of a shape.
inline constexpr unsigned shape_negated_x = 1;
inline constexpr unsigned shape_negated_y = 2;
inline constexpr unsigned shape_ten_x = 4;
inline constexpr unsigned shape_ten_y = 8;
inline constexpr std::size_t shape_count = 16;

// The bytes of each shape in the tables of masks and fills: a line fits in
// 32.
inline constexpr std::size_t shape_bytes = 32;

struct line_shapes {
    // For each shape, for each byte of the line, the byte of [x-text,
    // y-text] that it takes, or 0x80, which a shuffle turns into a zero.
    alignas(64) std::array<std::uint8_t, shape_count * shape_bytes> masks;
    // For each shape, the bytes that the texts do not give, zero elsewhere.
    alignas(64) std::array<std::uint8_t, shape_count * shape_bytes> fills;
    // The length of the line of each shape.
    std::array<std::uint64_t, shape_count> lengths;
};

inline constexpr line_shapes shapes = [] {
    line_shapes table{};
    table.masks.fill(0x80);
    for (unsigned shape = 0; shape < shape_count; ++shape) {
        std::uint8_t* const mask = table.masks.data() + shape * shape_bytes;
        std::uint8_t* const fill = table.fills.data() + shape * shape_bytes;
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
        table.lengths[shape] = length;
    }
    return table;
}();
static_assert(max_line_length <= shape_bytes, "a line must fit in its shape's mask and fill");

// A kernel finds the shapes of its points with vector compares: each of a
// point's four draws (magnitude of x, of y, sign of x, of y) is tested,
// every test giving a 16-bit lane of all ones or zero; the tests are masked
// by these weights, and a sum of the eight bytes of the point's 64-bit lane
// (psadbw) gives the point's slot, shape_slot_bytes times its shape.
inline constexpr std::size_t shape_slot_bytes = sizeof(std::uint64_t);

template <unsigned shape_bit, unsigned draw>
constexpr std::uint64_t draw_weight()
{
    constexpr std::size_t weight = shape_bit * shape_slot_bytes;
    static_assert(weight < 256, "a weight must fit in the low byte of its lane, or it would add to the next byte's");
    static_assert(draw < 4, "a point has four draws");
    return std::uint64_t{weight} << (16 * draw);
}

// For the tests that a magnitude draw is draw_max (a text of 10)...
inline constexpr std::uint64_t ten_weights = draw_weight<shape_ten_x, 0>() | draw_weight<shape_ten_y, 1>();
// ... and that a sign draw negates.
inline constexpr std::uint64_t negated_weights = draw_weight<shape_negated_x, 2>() | draw_weight<shape_negated_y, 3>();

// The slot is the offset in bytes of the shape's length in shapes.lengths,
// and a quarter of that of its mask and fill: each an offset that an x86
// address takes as it is or scaled, with no instruction to compute it.
static_assert(sizeof(line_shapes::lengths[0]) == shape_slot_bytes && shape_bytes % shape_slot_bytes == 0);
inline constexpr std::size_t slot_to_table = shape_bytes / shape_slot_bytes;

inline const std::uint8_t* shape_mask(std::size_t slot)
{
    return shapes.masks.data() + slot_to_table * slot;
}

inline const std::uint8_t* shape_fill(std::size_t slot)
{
    return shapes.fills.data() + slot_to_table * slot;
}

// shapes.lengths[slot / shape_slot_bytes], read at the slot's byte offset
// as it stands.
inline std::size_t shape_line_length(std::size_t slot)
{
    std::uint64_t length = 0;
    std::memcpy(&length, reinterpret_cast<const unsigned char*>(shapes.lengths.data()) + slot, sizeof length);
    return static_cast<std::size_t>(length);
}

// The register work of one instruction set: the lines of group_points
// points at a time.  format_group writes them at out and returns their end.
// It stores each line as line_store_bytes bytes from the line's start, the
// last line's beyond the end of the group.
template <class Kernel>
concept line_kernel = requires(const Kernel kernel, const std::uint16_t* draws, char* out) {
    { Kernel::group_points } -> std::convertible_to<std::size_t>;
    { Kernel::line_store_bytes } -> std::convertible_to<std::size_t>;
    { kernel.format_group(draws, out) } -> std::same_as<char*>;
};

// The lines of `points` points with Kernel, a group at a time, and the
// points after the last whole group the plain way.  The kernel's functions
// carry the target attribute of its instruction set; a caller with the same
// attribute and `flatten` makes this one loop with the kernel's work inline.
template <line_kernel Kernel>
char* assemble_lines(const std::uint16_t* draws, std::size_t points, char* out)
{
    static_assert(Kernel::line_store_bytes >= max_line_length, "the stores of a line must cover the longest line");
    static_assert(Kernel::line_store_bytes - min_line_length <= line_slack,
                  "the stores after the shortest line must end within line_slack bytes of it");
    const Kernel kernel;
    std::size_t i = 0;
    for (; i + Kernel::group_points <= points; i += Kernel::group_points)
        out = kernel.format_group(draws + 4 * i, out);
    return format_lines(draws + 4 * i, points - i, out);
}

}  // namespace scatter
