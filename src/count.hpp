// The count of points, read from the first command-line argument.
#pragma once

#include <optional>

namespace scatter {

// The count when no argument is given.
inline constexpr int default_count = 100;

// Reads a count the way atoi does: leading white space of the "C" locale
// (space, \t, \n, \v, \f, \r), an optional '+' or '-', then the ASCII digits
// up to the first other character.  Gives no value when there are no digits,
// when the number is negative, or when it does not fit an int; "-0" is 0.
// Never reads past the terminating NUL.
std::optional<int> parse_count(const char* text);

// The count for a command line: the first argument's, or default_count when
// there is none (an empty argument vector included).  Later arguments are
// ignored.
std::optional<int> count_from_arguments(int argc, const char* const* argv);

}  // namespace scatter
