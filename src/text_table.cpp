#include "text_table.hpp"

#include <cstddef>
#include <cstdint>

namespace scatter {
namespace {

constexpr auto largest_draw = static_cast<std::size_t>(draw_max);

// "%f" of a magnitude, as printf writes it for the magnitude widened to
// double: the integer part, '.', and six decimals rounded to nearest, ties
// to even, from the exact binary value.  Run by the compiler only.
struct fixed_text {
    char chars[9] = {};
    std::size_t length = 0;
};

constexpr fixed_text text_of(float magnitude)
{
    // A single-precision magnitude times 10^6 is exact in double precision
    // (a significand of 24 bits times an integer below 2^20 needs at most
    // 44 of the 53 bits), so this rounding to an integer is the only one.
    const double scaled = static_cast<double>(magnitude) * 1e6;
    auto millionths = static_cast<std::uint32_t>(scaled);
    const double fraction = scaled - millionths;
    if (fraction > 0.5 || (fraction == 0.5 && millionths % 2 == 1))
        ++millionths;

    fixed_text text;
    const std::uint32_t whole = millionths / 1000000;
    if (whole >= 10)
        text.chars[text.length++] = static_cast<char>('0' + whole / 10);
    text.chars[text.length++] = static_cast<char>('0' + whole % 10);
    text.chars[text.length++] = '.';
    for (std::uint32_t unit = 100000; unit != 0; unit /= 10)
        text.chars[text.length++] = static_cast<char>('0' + millionths / unit % 10);
    return text;
}

// The table, and whether its texts keep the two rules that the lines rely
// on: eight characters for every magnitude below
// 10, and "10.000000", a ninth character '0', for the largest draw.
struct checked_table {
    std::array<magnitude_text, draw_max + 1> texts{};
    bool eight_characters_below_ten = true;
    bool largest_is_ten = false;
};

constexpr checked_table build_table()
{
    checked_table table;
    for (std::size_t r = 0; r <= largest_draw; ++r) {
        const fixed_text text = text_of(magnitude(static_cast<int>(r)));
        if (r < largest_draw && text.length != 8)
            table.eight_characters_below_ten = false;
        if (r == largest_draw)
            table.largest_is_ten = text.length == 9 && text.chars[0] == '1' && text.chars[1] == '0' && text.chars[8] == '0';
        for (std::size_t i = 0; i < 8; ++i)
            table.texts[r].chars[i] = text.chars[i];
    }
    return table;
}

constexpr checked_table table = build_table();
static_assert(table.eight_characters_below_ten, "the text of a magnitude below 10 is not eight characters long");
static_assert(table.largest_is_ten, "the text of the largest draw's magnitude is not 10.000000");

}  // namespace

constinit const std::array<magnitude_text, draw_max + 1> magnitude_texts = table.texts;

}  // namespace scatter
