// scatter_pipelines: each pipeline of this build on its own, for the
// benchmark.
//
//   scatter_pipelines                  the pipelines, the fastest first, which
//                                      of them this processor runs, and the
//                                      one that scatter takes
//   scatter_pipelines time [POINTS]    the draws and the lines of each one that
//                                      runs here, in ns/point: the best of 9
//                                      rounds, the pipelines taking turns
//                                      (POINTS: 10^7 by default)
//   scatter_pipelines write NAME COUNT writes COUNT points by pipeline NAME to
//                                      standard output, as scatter does
//
// Exit status 2 for an unknown pipeline or one that this processor cannot
// run, 1 for a failed write.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "draw_lanes.hpp"
#include "lines.hpp"
#include "output.hpp"
#include "pipelines.hpp"

namespace {

using namespace scatter;

const pipeline* find_pipeline(std::string_view name)
{
    for (const pipeline* candidate : pipelines())
        if (name == candidate->name)
            return candidate;
    return nullptr;
}

int list()
{
    const pipeline& taken = fastest_pipeline();
    for (const pipeline* candidate : pipelines())
        std::printf("%-10s %s%s\n", candidate->name, runs_here(*candidate) ? "runs here" : "does not run here",
                    candidate == &taken ? ", taken by scatter" : "");
    return 0;
}

struct timing {
    const pipeline* path;
    double draws_ns = 1e300;
    double lines_ns = 1e300;
};

// The loop of write_points without its writes, the draws and the lines of
// each block timed apart.
void time_one_round(timing& t, std::size_t points, std::vector<std::uint16_t>& draws, std::vector<char>& lines)
{
    using clock = std::chrono::steady_clock;
    constexpr affine_step block_step = generator_step.power(4 * block_points);
    clock::duration in_draws{};
    clock::duration in_lines{};
    std::uint32_t state = initial_state;
    for (std::size_t done = 0; done < points; done += block_points) {
        const std::size_t count = std::min(block_points, points - done);
        const auto start = clock::now();
        t.path->fill_draws(state, draws.data(), 4 * count);
        const auto drawn = clock::now();
        t.path->format_lines(draws.data(), count, lines.data());
        in_draws += drawn - start;
        in_lines += clock::now() - drawn;
        state = block_step(state);
    }
    const auto per_point = [&](clock::duration d) { return std::chrono::duration<double, std::nano>(d).count() / static_cast<double>(points); };
    t.draws_ns = std::min(t.draws_ns, per_point(in_draws));
    t.lines_ns = std::min(t.lines_ns, per_point(in_lines));
}

int time_all(std::size_t points)
{
    std::vector<timing> timings;
    for (const pipeline* candidate : pipelines())
        if (runs_here(*candidate))
            timings.push_back({candidate});
    std::vector<std::uint16_t> draws(4 * block_points + draw_slack);
    std::vector<char> lines(block_points * max_line_length + line_slack);
    for (int round = 0; round < 9; ++round)
        for (timing& t : timings)
            time_one_round(t, points, draws, lines);
    std::printf("%-10s %12s %12s %12s\n", "pipeline", "draws", "lines", "ns/point");
    for (const timing& t : timings)
        std::printf("%-10s %12.3f %12.3f %12.3f\n", t.path->name, t.draws_ns, t.lines_ns, t.draws_ns + t.lines_ns);
    return 0;
}

int write(const char* name, const char* count_text)
{
    const pipeline* const path = find_pipeline(name);
    if (path == nullptr || !runs_here(*path))
        return 2;
    const int count = std::atoi(count_text);
    widen_pipe(STDOUT_FILENO, max_output_size(count));
    const bool written = write_points(STDOUT_FILENO, count, *path);
    return close_output(STDOUT_FILENO) && written ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 1)
        return list();
    if (std::strcmp(argv[1], "time") == 0)
        return time_all(argc > 2 ? static_cast<std::size_t>(std::strtoull(argv[2], nullptr, 10)) : 10000000);
    if (std::strcmp(argv[1], "write") == 0 && argc == 4)
        return write(argv[2], argv[3]);
    return 2;
}
