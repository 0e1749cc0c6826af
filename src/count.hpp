// The count of points, read from the first command-line argument.
#pragma once

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>

namespace scatter {

// The count when no argument is given.
inline constexpr int default_count = 100;

// Reads a count as strtol reads a decimal number in the "C" locale, which
// the program never leaves: leading white space (space, \t, \n, \v, \f,
// \r), an optional '+' or '-', then the digits up to the first other
// character.  Gives no value when there are no digits, when the number is
// negative, or when it does not fit an int; "-0" is 0.
inline std::optional<int> parse_count(const char* text)
{
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || value < 0 || value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

// The count for a command line: the first argument's, or default_count when
// there is none (an empty argument vector included).  Later arguments are
// ignored.
inline std::optional<int> count_from_arguments(int argc, const char* const* argv)
{
    if (argc < 2)
        return default_count;
    return parse_count(argv[1]);
}

}  // namespace scatter
