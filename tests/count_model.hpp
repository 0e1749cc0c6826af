// The count rule told the plain way, for differential tests of the parser:
// strtol in the "C" locale (which the program never leaves), then the range
// of an int and the sign.
#pragma once

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>

namespace scatter::testing {

inline std::optional<int> model_count(const char* text)
{
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text)
        return std::nullopt;  // no digits
    if (errno == ERANGE || value < 0 || value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace scatter::testing
