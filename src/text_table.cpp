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

// The first eight characters of the text of every magnitude, by its draw.
constexpr std::array<magnitude_text, draw_max + 1> build_texts()
{
    std::array<magnitude_text, draw_max + 1> texts{};
    for (std::size_t r = 0; r <= largest_draw; ++r) {
        const fixed_text text = text_of(magnitude(static_cast<int>(r)));
        for (std::size_t i = 0; i < 8; ++i)
            texts[r].chars[i] = text.chars[i];
    }
    return texts;
}

}  // namespace

// Declared extern in text_table.hpp; constexpr here, so that the checks
// below read the very texts that the program gets, and no build, optimised
// or not, keeps a second table beside them.
constexpr std::array<magnitude_text, draw_max + 1> magnitude_texts = build_texts();

namespace {

constexpr bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

// The two rules on the texts that the lines rely on.  The text of every
// magnitude below 10 has one digit before the point and its last decimal
// in the eighth place: eight characters, all in the table.
constexpr bool eight_characters_below_ten()
{
    for (std::size_t r = 0; r < largest_draw; ++r)
        if (magnitude_texts[r].chars[1] != '.' || !is_digit(magnitude_texts[r].chars[7]))
            return false;
    return true;
}

// The largest draw's magnitude is 10, whose text "10.000000" has nine
// characters: the table holds the first eight, and the lines add the '0'.
constexpr bool largest_is_ten()
{
    constexpr char ten[] = "10.000000";
    const fixed_text text = text_of(magnitude(draw_max));
    if (text.length != 9)
        return false;
    for (std::size_t i = 0; i < 9; ++i)
        if (text.chars[i] != ten[i] || (i < 8 && magnitude_texts[largest_draw].chars[i] != ten[i]))
            return false;
    return true;
}

static_assert(eight_characters_below_ten(), "the text of a magnitude below 10 is not eight characters long");
static_assert(largest_is_ten(), "the text of the largest draw's magnitude is not 10.000000");

}  // namespace

}  // namespace scatter
