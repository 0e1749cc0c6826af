// scatter_reference [COUNT]: the plain way to write what scatter writes, one
// printf per point, with scatter's exit statuses.  The benchmark measures
// scatter against it.

#include <cstdio>
#include <optional>

#include "count.hpp"
#include "draw_point.hpp"
#include "draw_source.hpp"

int main(int argc, char** argv)
{
    using namespace scatter;

    const std::optional<int> count = count_from_arguments(argc, argv);
    if (!count)
        return 2;

    draw_source source;
    for (int i = 0; i < *count; ++i) {
        const point p = draw_point(source);
        if (std::printf("%f %f\n", static_cast<double>(p.x), static_cast<double>(p.y)) < 0)
            return 1;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
