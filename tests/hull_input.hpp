// Input for the tests of scatter-hull's core: text handed to read_points
// through a pipe, as standard input hands it, and scatter's own lines.
#pragma once

#include <unistd.h>

#include <stdexcept>
#include <string>
#include <thread>

#include "output.hpp"
#include "pipelines.hpp"
#include "point_set.hpp"
#include "read_points.hpp"
#include "report.hpp"

namespace scatter_hull::testing {

inline void open_pipe(int fds[2])
{
    if (::pipe(fds) != 0)
        throw std::runtime_error("pipe failed");
}

// Reads text as scatter-hull reads its standard input, in reads of chunk
// bytes.
inline read_result read_text(const std::string& text, line_sink& sink, std::size_t chunk = read_chunk)
{
    int fds[2];
    open_pipe(fds);
    std::thread writer([&] {
        scatter::write_all(fds[1], text.data(), text.size());
        ::close(fds[1]);
    });
    const read_result result = read_points(fds[0], sink, chunk);
    char rest[4096];  // what is left after a faulty line, so that the writer ends
    while (::read(fds[0], rest, sizeof rest) > 0) {
    }
    writer.join();
    ::close(fds[0]);
    return result;
}

// The lines of scatter count.
inline std::string scatter_text(int count)
{
    int fds[2];
    open_pipe(fds);
    std::thread writer([&] {
        scatter::write_points(fds[1], count, scatter::fastest_pipeline());
        ::close(fds[1]);
    });
    std::string text;
    char block[65536];
    ssize_t got = 0;
    while ((got = ::read(fds[0], block, sizeof block)) > 0)
        text.append(block, static_cast<std::size_t>(got));
    writer.join();
    ::close(fds[0]);
    return text;
}

// The points of text, read whole.
struct read_points_of {
    explicit read_points_of(const std::string& text) : input(read_text(text, points)) {}
    point_set points;
    read_result input;
};

}  // namespace scatter_hull::testing
