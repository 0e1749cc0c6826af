// Reading points: lines of two numbers, "x y" and a line feed, as scatter
// writes them, read exactly as integers of millionths.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace scatter_hull {

// A coordinate in millionths.  A number is at most 1000 in size, so a
// coordinate is at most 10^9, a difference of two at most 2 * 10^9, a
// product of two differences at most 4 * 10^18, and an orientation test
// (the difference of two such products) or twice the area of a polygon in
// the box [-1000, 1000]^2 at most 8 * 10^18: all exact in int64.
using millionths = std::int64_t;
inline constexpr millionths max_coordinate = 1'000'000'000;

struct point {
    millionths x = 0;
    millionths y = 0;
    friend auto operator<=>(const point&, const point&) = default;
};

// How a field writes its value, so that it can be written again as it
// came: the sign written ('+', '-' or none), the digits before the point
// (leading zeros included) and the digits after it (0: no point).
struct field_form {
    std::uint32_t integer_digits = 1;
    char sign = 0;
    std::uint8_t decimals = 6;
};

struct field {
    millionths value = 0;
    field_form form;
};

struct point_line {
    field x;
    field y;
};

// What is wrong with a line, if anything.
enum class line_fault : unsigned char {
    none,
    empty,
    carriage_return,
    one_number,
    third_field,
    not_a_number,
    too_many_decimals,
    too_large,
    no_line_feed,
    read_failed,
};

const char* fault_message(line_fault fault);

// Reads one line, given without its line feed: optional blanks (space,
// tab), a number, blanks, a number, optional blanks.  A number is an
// optional sign, digits, and optionally a point and one to six digits;
// -0 is 0.
line_fault parse_line(std::string_view line, point_line& out);

// The field as the line wrote it; and the value as printf's "%f" writes
// it, for messages.
std::string field_text(millionths value, field_form form);
std::string plain_text(millionths value);
std::string plain_text(point p);

// Takes the points of the lines read, in order.
class line_sink {
public:
    virtual void add(const point_line& line) = 0;

protected:
    ~line_sink() = default;
};

struct read_result {
    std::uint64_t lines = 0;  // the lines read whole
    std::uint64_t bytes = 0;
    line_fault fault = line_fault::none;  // of the line after those
    int error = 0;        // errno of a failed read
    std::string excerpt;  // the start of the faulty line, escaped
};

// Reads fd to its end in reads of chunk bytes (more for a longer line),
// handing each line to sink, and stops at the first line it cannot read.
inline constexpr std::size_t read_chunk = std::size_t{1} << 20;
read_result read_points(int fd, line_sink& sink, std::size_t chunk = read_chunk);

// "line 7: not a number: \"1,5 2\"": lines counted from 1, as editors count.
std::string fault_report(const read_result& result);

}  // namespace scatter_hull
