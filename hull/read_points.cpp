// Reading points: a hand parser over large reads, a line at a time.

#include "read_points.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace scatter_hull {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

const char* skip_blanks(const char* p, const char* end)
{
    while (p != end && is_blank(*p))
        ++p;
    return p;
}

// What a character that does not belong at p makes of the line.
line_fault unexpected(const char* p, const char* end, line_fault otherwise)
{
    return p != end && *p == '\r' ? line_fault::carriage_return : otherwise;
}

// Reads a number at p and moves p past it.
line_fault parse_number(const char*& p, const char* end, field& out)
{
    field_form form{0, 0, 0};
    if (p != end && (*p == '+' || *p == '-'))
        form.sign = *p++;
    millionths whole = 0;
    for (; p != end && is_digit(*p); ++p, ++form.integer_digits)
        whole = std::min<millionths>(whole * 10 + (*p - '0'), 1001);  // past 1000 it is too large anyway
    if (form.integer_digits == 0)
        return unexpected(p, end, line_fault::not_a_number);
    millionths fraction = 0;
    if (p != end && *p == '.') {
        for (++p; p != end && is_digit(*p); ++p, ++form.decimals) {
            if (form.decimals == 6)
                return line_fault::too_many_decimals;
            fraction = fraction * 10 + (*p - '0');
        }
        if (form.decimals == 0)
            return unexpected(p, end, line_fault::not_a_number);
    }
    for (int scale = form.decimals; scale < 6; ++scale)
        fraction *= 10;
    const millionths magnitude = whole * 1'000'000 + fraction;
    if (magnitude > max_coordinate)
        return line_fault::too_large;
    out.value = form.sign == '-' ? -magnitude : magnitude;
    out.form = form;
    return line_fault::none;
}

ssize_t read_some(int fd, char* data, std::size_t size)
{
    ssize_t got = 0;
    do
        got = ::read(fd, data, size);
    while (got < 0 && errno == EINTR);
    return got;
}

// The start of a line for a message: printable ASCII as it is, the rest
// escaped.
std::string escaped(std::string_view text)
{
    constexpr std::size_t shown = 40;
    std::string out;
    for (const char c : text.substr(0, shown)) {
        if (c == '"' || c == '\\')
            out += {'\\', c};
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (c >= ' ' && c <= '~')
            out += c;
        else {
            char hex[8];
            (void)std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned char>(c));
            out += hex;
        }
    }
    if (text.size() > shown)
        out += "...";
    return out;
}

read_result failed(read_result result, line_fault fault, std::string_view line)
{
    result.fault = fault;
    result.excerpt = escaped(line);
    return result;
}

}  // namespace

const char* fault_message(line_fault fault)
{
    switch (fault) {
    case line_fault::none: return "read";
    case line_fault::empty: return "an empty line, no number";
    case line_fault::carriage_return: return "a carriage return (a line ends in a line feed alone)";
    case line_fault::one_number: return "one number only";
    case line_fault::third_field: return "a third field";
    case line_fault::not_a_number: return "not a number (an optional sign, digits, and up to six decimals after a point)";
    case line_fault::too_many_decimals: return "more than six decimals";
    case line_fault::too_large: return "a number larger than 1000 in size";
    case line_fault::no_line_feed: return "no line feed at the end of the input";
    case line_fault::read_failed: return "cannot read the input";
    }
    return "unknown fault";
}

line_fault parse_line(std::string_view line, point_line& out)
{
    const char* p = line.data();
    const char* const end = p + line.size();
    p = skip_blanks(p, end);
    if (p == end)
        return line_fault::empty;
    if (const line_fault fault = parse_number(p, end, out.x); fault != line_fault::none)
        return fault;
    const char* const x_end = p;
    p = skip_blanks(p, end);
    if (p == end)
        return line_fault::one_number;
    if (p == x_end)
        return unexpected(p, end, line_fault::not_a_number);
    if (const line_fault fault = parse_number(p, end, out.y); fault != line_fault::none)
        return fault;
    const char* const y_end = p;
    p = skip_blanks(p, end);
    if (p == end)
        return line_fault::none;
    return unexpected(p, end, p == y_end ? line_fault::not_a_number : line_fault::third_field);
}

std::string field_text(millionths value, field_form form)
{
    const std::string plain = plain_text(value < 0 ? -value : value);  // "12.345600"
    const std::size_t point = plain.find('.');
    std::string out;
    if (form.sign != 0)
        out += form.sign;
    if (form.integer_digits > point)
        out.append(form.integer_digits - point, '0');
    out.append(plain, 0, point);
    if (form.decimals != 0)
        out.append(plain, point, std::size_t{1} + form.decimals);
    return out;
}

std::string plain_text(millionths value)
{
    const std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    char text[32];
    (void)std::snprintf(text, sizeof text, "%s%llu.%06llu", value < 0 ? "-" : "",
        static_cast<unsigned long long>(magnitude / 1'000'000), static_cast<unsigned long long>(magnitude % 1'000'000));
    return text;
}

std::string plain_text(point p)
{
    return plain_text(p.x) + ' ' + plain_text(p.y);
}

read_result read_points(int fd, line_sink& sink, std::size_t chunk)
{
    read_result result;
    std::vector<char> buffer(chunk);
    std::size_t kept = 0;  // an unfinished line, at the front of the buffer
    for (;;) {
        if (kept == buffer.size())
            buffer.resize(buffer.size() * 2);
        const ssize_t got = read_some(fd, buffer.data() + kept, buffer.size() - kept);
        if (got < 0) {
            result.error = errno;
            return failed(result, line_fault::read_failed, {});
        }
        if (got == 0)
            break;
        result.bytes += static_cast<std::uint64_t>(got);
        const char* line = buffer.data();
        const char* const end = line + kept + static_cast<std::size_t>(got);
        while (const void* found = std::memchr(line, '\n', static_cast<std::size_t>(end - line))) {
            const char* const feed = static_cast<const char*>(found);
            const std::string_view text(line, static_cast<std::size_t>(feed - line));
            point_line parsed;
            if (const line_fault fault = parse_line(text, parsed); fault != line_fault::none)
                return failed(result, fault, text);
            sink.add(parsed);
            ++result.lines;
            line = feed + 1;
        }
        kept = static_cast<std::size_t>(end - line);
        std::memmove(buffer.data(), line, kept);
    }
    if (kept != 0)
        return failed(result, line_fault::no_line_feed, {buffer.data(), kept});
    return result;
}

std::string fault_report(const read_result& result)
{
    std::string report = "line " + std::to_string(result.lines + 1) + ": " + fault_message(result.fault);
    if (result.fault == line_fault::read_failed)
        return report + ": " + std::strerror(result.error);
    if (!result.excerpt.empty())
        report += ": \"" + result.excerpt + '"';
    return report;
}

}  // namespace scatter_hull
