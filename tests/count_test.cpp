// Reading the count: strtol's grammar of a decimal number, with anything
// that is not a usable count (no digits, negative, beyond an int) turned
// away.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "count.hpp"

namespace scatter {
namespace {

struct count_case {
    std::string text;
    std::optional<int> count;
};

TEST(ParseCount, FollowsAtoiAndRejectsUnusableCounts)
{
    const std::vector<count_case> cases = {
        {"1", 1},
        {"100", 100},
        {"12abc", 12},
        {"00012", 12},
        {"  7", 7},
        {"\t\n\v\f\r 7", 7},
        {"+5", 5},
        {"0", 0},
        {"-0", 0},
        {"+0", 0},
        {"0000", 0},
        {"-0000", 0},
        {"0000000000000000000000005", 5},
        {"2147483647", 2147483647},
        {"2147483647xyz", 2147483647},
        {"02147483647", 2147483647},
        {"5 9", 5},
        {"7\n", 7},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"abc", std::nullopt},
        {"-", std::nullopt},
        {"+", std::nullopt},
        {"+-5", std::nullopt},
        {"-+5", std::nullopt},
        {"--5", std::nullopt},
        {"- 5", std::nullopt},
        {"x5", std::nullopt},
        {"\xd9\xa3", std::nullopt},  // ARABIC-INDIC DIGIT THREE
        {"\xa0" "5", std::nullopt},  // a no-break space is not C-locale space
        {"-1", std::nullopt},
        {"-3", std::nullopt},
        {"-2147483648", std::nullopt},
        {"2147483648", std::nullopt},
        {"4294967296", std::nullopt},
        {"4294967301", std::nullopt},  // 5 modulo 2^32
        {"99999999999", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"-99999999999", std::nullopt},
        {std::string(100000, ' '), std::nullopt},
        {std::string(100000, ' ') + "3", 3},
        {std::string(10000, '9'), std::nullopt},
        {std::string(10000, '0') + "42", 42},
    };
    for (const count_case& c : cases)
        EXPECT_EQ(parse_count(c.text.c_str()), c.count) << '"' << c.text.substr(0, 40) << '"';
}

}  // namespace
}  // namespace scatter
