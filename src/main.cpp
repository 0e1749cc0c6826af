// scatter [COUNT]: writes COUNT pseudo-random points of the box [-10, 10]^2
// to standard output, one "x y" line each, 100 when no count is given.
//
// Exit status: 0 when every line was written, 1 when standard output
// refused a write or failed to close, 2 when the argument is not a usable
// count.  Nothing is ever written to standard error.

#include <unistd.h>

#include <optional>

#include "count.hpp"
#include "output.hpp"
#include "pipelines.hpp"

namespace {

enum exit_status : unsigned char {
    exit_ok = 0,
    exit_write_failed = 1,
    exit_bad_count = 2,
};

}  // namespace

int main(int argc, char** argv)
{
    using namespace scatter;

    const std::optional<int> count = count_from_arguments(argc, argv);
    if (!count)
        return exit_bad_count;

    widen_pipe(STDOUT_FILENO, max_output_size(*count));
    const bool written = write_points(STDOUT_FILENO, *count, fastest_pipeline());
    // Some file systems report a failed write only when it is closed.
    if (!close_output(STDOUT_FILENO) || !written)
        return exit_write_failed;
    return exit_ok;
}
