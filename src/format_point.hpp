// Writes drawn points exactly as printf("%f %f\n") writes them, without
// printf: no locale, no format string, no varargs, no per-digit division.
//
// The digits: for a single-precision v, |v| * 10^6 is exact in double
// precision (a 24-bit significand times a 20-bit integer stays below 2^53),
// so rounding that product to the nearest integer, ties to even, gives
// exactly the six decimals that printf writes for (double)v.  The compiler
// works them out once for each of the 32768 magnitudes, and a coordinate is
// written from that table.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "draw_point.hpp"

namespace scatter {

// The longest line, "-10.000000 -10.000000\n".
inline constexpr std::size_t max_line_length = 22;

constexpr float absolute(float value)
{
    return std::bit_cast<float>(std::bit_cast<std::uint32_t>(value) & 0x7FFFFFFFu);
}

// |value| * 10^6 rounded to the nearest integer, ties to even, for any
// |value| <= 10: adding 2^52 leaves no bits for a fraction, so the addition
// itself rounds, and the integer is the low bits of the sum.
constexpr std::uint32_t scaled_by_million(float value)
{
    constexpr double shift = 0x1p52;
    const double sum = static_cast<double>(absolute(value)) * 1e6 + shift;
    return static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(sum) - std::bit_cast<std::uint64_t>(shift));
}

// The eight decimal digits of n < 10^8, zero-padded, as ASCII bytes in
// memory order on a little-endian machine (the first digit in the lowest
// byte).  Halves, quarters and digits are split in parallel lanes of one
// 64-bit word, with multiplications standing in for the divisions.
constexpr std::uint64_t eight_digits(std::uint32_t n)
{
    const std::uint64_t high = n / 10000;
    const std::uint64_t low = n % 10000;
    std::uint64_t v = high | (low << 32);                          // two 4-digit lanes
    std::uint64_t q = ((v * 5243) >> 19) & 0x0000007F0000007Full;  // lane / 100
    v = q | ((v - q * 100) << 16);                                 // four 2-digit lanes
    q = ((v * 103) >> 10) & 0x000F000F000F000Full;                 // lane / 10
    v = q | ((v - q * 10) << 8);                                   // eight 1-digit lanes
    return v | 0x3030303030303030ull;
}

// "d.dddddd" for n < 10^7 (a value below 10, times 10^6): eight bytes.
constexpr std::uint64_t fixed_text(std::uint32_t n)
{
    const std::uint64_t digits = eight_digits(n) >> 8;  // drop the leading '0'
    return (digits & 0xFF) | (std::uint64_t{'.'} << 8) | ((digits >> 8) << 16);
}

// fixed_text of every magnitude but the largest, 10, which alone has two
// integer digits; indexed by the magnitude's draw.
inline constexpr std::array<std::uint64_t, draw_count> magnitude_texts = [] {
    std::array<std::uint64_t, draw_count> table{};
    for (std::size_t r = 0; r < draw_max; ++r)
        table[r] = fixed_text(scaled_by_million(magnitudes[r]));
    return table;
}();

// The draw whose magnitude is |value|, for a value that is a magnitude or
// its negation: |value| * 3276.7 lies within 0.01 of the draw, and the
// addition of 2^23 rounds it to that integer.
constexpr std::size_t magnitude_index(float value)
{
    constexpr float shift = 0x1p23f;
    const float sum = absolute(value) * static_cast<float>(draw_max / magnitude_scale) + shift;
    return std::bit_cast<std::uint32_t>(sum) & 0x7FFFu;
}

// A coordinate that draw_point can return, reduced to what its text needs:
// the draw of its magnitude in the low 15 bits, and bit 15 set when it is
// negative.  Branch-free, so that a loop over many coordinates vectorises.
constexpr std::uint32_t coordinate_code(float value)
{
    return static_cast<std::uint32_t>(magnitude_index(value)) | ((std::bit_cast<std::uint32_t>(value) >> 16) & 0x8000u);
}

// Writes "%f" of the coordinate with this code at out and returns the end.
// Up to ten bytes are written.
inline char* format_coordinate_code(char* out, std::uint32_t code)
{
    *out = '-';
    out += code >> 15;
    const std::size_t index = code & 0x7FFFu;
    if (index == draw_max) [[unlikely]] {
        constexpr std::string_view ten = "10.000000";
        return std::copy(ten.begin(), ten.end(), out);
    }
    std::uint64_t text = magnitude_texts[index];
    if constexpr (std::endian::native == std::endian::big)
        text = __builtin_bswap64(text);
    std::memcpy(out, &text, 8);
    return out + 8;
}

// Writes the line "x y\n" of the point with these coordinate codes at out
// and returns the end: at most max_line_length bytes.
inline char* format_point_codes(char* out, std::uint32_t x_code, std::uint32_t y_code)
{
    out = format_coordinate_code(out, x_code);
    *out++ = ' ';
    out = format_coordinate_code(out, y_code);
    *out++ = '\n';
    return out;
}

// Writes the line "x y\n" of p, a point that draw_point can return, at out
// and returns the end.
inline char* format_point(char* out, point p)
{
    return format_point_codes(out, coordinate_code(p.x), coordinate_code(p.y));
}

}  // namespace scatter
