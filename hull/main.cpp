// scatter-hull [--vertices | --check ANSWER [--either-direction]]: reads
// points, "x y" a line, on standard input and works out their convex hull
// exactly, on integers of millionths.  Without an option it prints one row
// of the table of known answers: lines, bytes, repeats, x values, lines on
// ±10, vertices, other points on the boundary, area.  --vertices prints the
// vertices counter-clockwise from the lowest, each as its first line (from
// 0) and its fields.  --check reads a hull code's answer from ANSWER first
// and says whether it is the hull, or names its first difference.
//
// Everything, messages included, goes to standard output.  Exit status: 0
// done, or the answer is the hull; 1 the answer is not the hull; 2 the
// points, the answer or the command line cannot be read (or the output
// cannot be written).

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "answer.hpp"
#include "convex_hull.hpp"
#include "point_set.hpp"
#include "read_points.hpp"
#include "report.hpp"

namespace {

using namespace scatter_hull;

enum exit_status : unsigned char {
    exit_ok = 0,
    exit_not_the_hull = 1,
    exit_unreadable = 2,
};

enum class mode : unsigned char { row, vertices, check };

struct options {
    mode what = mode::row;
    const char* answer_path = nullptr;
    bool either_direction = false;
};

constexpr const char* usage = "usage: scatter-hull [--vertices | --check ANSWER [--either-direction]] < POINTS\n";

std::optional<options> options_from(int argc, char** argv)
{
    options o;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--vertices" && o.what == mode::row)
            o.what = mode::vertices;
        else if (arg == "--check" && o.what == mode::row && i + 1 < argc) {
            o.what = mode::check;
            o.answer_path = argv[++i];
        } else if (arg == "--either-direction" && !o.either_direction)
            o.either_direction = true;
        else
            return std::nullopt;
    }
    if (o.either_direction && o.what != mode::check)
        return std::nullopt;
    return o;
}

// Prints text; false when standard output takes it not.
bool print(const std::string& text)
{
    return std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0;
}

int say(const std::string& text, exit_status status)
{
    return print(text) ? status : exit_unreadable;
}

bool read_file(const char* path, std::string& text)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        return false;
    char block[65536];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) != 0)
        text.append(block, got);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    (void)std::fclose(file);  // read only: nothing to lose
    errno = error;
    return !failed;
}

int hull_of_input(const options& o)
{
    answer a;
    if (o.what == mode::check) {
        std::string text;
        if (!read_file(o.answer_path, text))
            return say(std::string("cannot read the answer ") + o.answer_path + ": " + std::strerror(errno) + '\n',
                exit_unreadable);
        answer_reading reading = parse_answer(text);
        if (!reading.error.empty())
            return say(std::string(o.answer_path) + ", " + reading.error + '\n', exit_unreadable);
        a = std::move(reading.value);
    }

    point_set points;
    watch(a, points);
    const read_result input = read_points(STDIN_FILENO, points);
    if (input.fault != line_fault::none)
        return say(fault_report(input) + '\n', exit_unreadable);
    if (o.what == mode::row)
        return say(row_text(row_of(input, points)), exit_ok);
    const convex_hull hull = hull_of(points.columns());
    if (o.what == mode::vertices)
        return say(vertex_lines(hull), exit_ok);
    const verdict v = judge(a, points, hull, o.either_direction);
    return say(v.message + '\n', v.status == 0 ? exit_ok : exit_not_the_hull);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::optional<options> o = options_from(argc, argv);
    if (!o)
        return say(usage, exit_unreadable);
    try {
        return hull_of_input(*o);
    } catch (const std::bad_alloc&) {
        return say("out of memory\n", exit_unreadable);
    }
}
