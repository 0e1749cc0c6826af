// scatter [COUNT]: writes COUNT pseudo-random points of the box [-10, 10]^2
// to standard output, one "x y" line each, 100 when no count is given.
//
// Exit status: 0 when every line was written, 1 when standard output
// refused a write, 2 when the argument is not a usable count.  Nothing is
// ever written to standard error.

#include <unistd.h>

#include <optional>

#include "count.hpp"
#include "draw_source.hpp"
#include "exit_status.hpp"
#include "output_writer.hpp"
#include "write_points.hpp"

int main(int argc, char** argv)
{
    using namespace scatter;

    const std::optional<int> count = count_from_arguments(argc, argv);
    if (!count)
        return exit_bad_count;

    widen_pipe(STDOUT_FILENO, max_output_size(*count));
    draw_source source;
    if (!write_points(STDOUT_FILENO, *count, source))
        return exit_write_failed;
    return exit_ok;
}
