#include "write_points.hpp"

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

#include "draw_lanes.hpp"
#include "draw_point.hpp"
#include "format_point.hpp"

namespace scatter {
namespace {

// Points are drawn a block at a time: the block's draws first, from the
// lanes, then its points one by one through draw_point.
constexpr std::size_t block_points = 1024;
constexpr std::size_t block_draws = 4 * block_points;
static_assert(block_draws % draw_lanes::width == 0);

// The buffer fills to exactly output_buffer_size bytes; the lines of the
// block that crosses that mark spill into the slack behind it and move to
// the front once the full buffer is written.  An output that cannot reach
// the mark gets a buffer of its own size, so a small run costs no mapping.
class line_buffer {
public:
    line_buffer(int fd, write_function write, std::uint64_t most)
        : fd_(fd),
          write_(write),
          data_(std::make_unique_for_overwrite<char[]>(most < output_buffer_size ? most : capacity)),
          end_(data_.get())
    {
    }

    // Where the next lines go: room for a block of them.
    char* end() { return end_; }

    // Takes the lines written up to new_end; writes the buffer out when full.
    bool commit(char* new_end)
    {
        end_ = new_end;
        char* const full = data_.get() + output_buffer_size;
        if (end_ < full)
            return true;
        if (!write_all(fd_, data_.get(), output_buffer_size, write_))
            return false;
        const std::size_t spill = static_cast<std::size_t>(end_ - full);
        std::memmove(data_.get(), full, spill);
        end_ = data_.get() + spill;
        return true;
    }

    bool flush()
    {
        const std::size_t size = static_cast<std::size_t>(end_ - data_.get());
        end_ = data_.get();
        return write_all(fd_, data_.get(), size, write_);
    }

private:
    static constexpr std::size_t capacity = output_buffer_size + block_points * max_line_length;
    int fd_;
    write_function write_;
    std::unique_ptr<char[]> data_;
    char* end_;
};

}  // namespace

std::uint64_t max_output_size(int count)
{
    return count > 0 ? static_cast<std::uint64_t>(count) * max_line_length : 0;
}

bool write_points(int fd, int count, draw_source& source, write_function write)
{
    if (count <= 0)
        return true;
    const std::uint32_t start = source.state();
    source = draw_source(generator_step.power(4 * static_cast<std::uint64_t>(count))(start));

    line_buffer buffer(fd, write, max_output_size(count));
    draw_lanes lanes(start);
    std::array<std::uint16_t, block_draws> draws;
    std::array<point, block_points> points;
    std::array<std::uint32_t, 2 * block_points> codes;
    for (std::size_t left = static_cast<std::size_t>(count); left > 0;) {
        const std::size_t block = left < block_points ? left : block_points;
        left -= block;
        // Each stage runs over the whole block, so that the stages with no
        // branches vectorise and the table lookups of one point do not wait
        // on those of the point before.
        lanes.fill(draws.data(), (4 * block + draw_lanes::width - 1) / draw_lanes::width);
        draw_reader reader{draws.data()};
        for (std::size_t i = 0; i < block; ++i)
            points[i] = draw_point(reader);
        for (std::size_t i = 0; i < block; ++i) {
            codes[2 * i] = coordinate_code(points[i].x);
            codes[2 * i + 1] = coordinate_code(points[i].y);
        }
        char* out = buffer.end();
        for (std::size_t i = 0; i < block; ++i)
            out = format_point_codes(out, codes[2 * i], codes[2 * i + 1]);
        if (!buffer.commit(out))
            return false;
    }
    return buffer.flush();
}

}  // namespace scatter
