// scatter_reference [COUNT]: the plain way to write what scatter writes, one
// printf per point.  The tests hold scatter's fast writer to it byte for
// byte, and the benchmark measures scatter against it.

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
