#include "count.hpp"

#include <climits>

namespace scatter {
namespace {

constexpr bool is_space(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

constexpr bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<int> parse_count(const char* text)
{
    const char* p = text;
    while (is_space(*p))
        ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (!is_digit(*p))
        return std::nullopt;

    // The value is checked digit by digit, so any number of leading zeros is
    // fine and the first digit that would pass INT_MAX ends the scan.
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

std::optional<int> count_from_arguments(int argc, const char* const* argv)
{
    if (argc < 2)
        return default_count;
    return parse_count(argv[1]);
}

}  // namespace scatter
