// scatter [COUNT]: writes COUNT pseudo-random points of the box [-10, 10]^2
// to standard output, one "x y" line each, 100 when no count is given.

#include <cstdio>
#include <optional>

#include "count.hpp"
#include "draw_point.hpp"
#include "draw_source.hpp"
#include "exit_status.hpp"

int main(int argc, char** argv)
{
    using namespace scatter;

    const std::optional<int> count = count_from_arguments(argc, argv);
    if (!count)
        return exit_bad_count;

    draw_source source;
    for (int i = 0; i < *count; ++i) {
        const point p = draw_point(source);
        if (std::printf("%f %f\n", static_cast<double>(p.x), static_cast<double>(p.y)) < 0)
            return exit_write_failed;
    }
    if (std::fflush(stdout) != 0)
        return exit_write_failed;
    return exit_ok;
}
