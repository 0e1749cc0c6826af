// The count of points, read from the first command-line argument.
#pragma once

#include <climits>
#include <optional>

namespace scatter {

// The count when no argument is given.
inline constexpr int default_count = 100;

// Reads a count the way atoi does: leading white space of the "C" locale
// (space, \t, \n, \v, \f, \r), an optional '+' or '-', then the ASCII digits
// up to the first other character.  Gives no value when there are no digits,
// when the number is negative, or when it does not fit an int; "-0" is 0.
// Never reads past the terminating NUL.
constexpr std::optional<int> parse_count(const char* text)
{
    const auto is_space = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    const auto is_digit = [](char c) { return c >= '0' && c <= '9'; };

    const char* p = text;
    while (is_space(*p))
        ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (!is_digit(*p))
        return std::nullopt;

    // Checked digit by digit, so any number of leading zeros is fine and the
    // first digit that would pass INT_MAX ends the scan.
    int value = 0;
    for (; is_digit(*p); ++p) {
        const int digit = *p - '0';
        if (value > (INT_MAX - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    if (negative && value != 0)
        return std::nullopt;
    return value;
}

// The count for a command line: the first argument's, or default_count when
// there is none (an empty argument vector included).  Later arguments are
// ignored.
constexpr std::optional<int> count_from_arguments(int argc, const char* const* argv)
{
    if (argc < 2)
        return default_count;
    return parse_count(argv[1]);
}

}  // namespace scatter
