// The draws of the generator many at a time, in lanes that each jump many
// steps at once: the portable lanes, and the function that every pipeline
// has for its draws.  The lanes of each instruction set are in its own file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "draw_source.hpp"

namespace scatter {

// How many draws past the count any way of making draws may write: each
// writes whole rounds of its lanes, and no round is longer than this.
inline constexpr std::size_t draw_slack = 64;

// The draws of a draw_source, produced many at a time for speed: lane j
// holds the state j steps ahead of lane 0, and every lane jumps `width`
// steps at once, so the multiplies no longer wait on each other.  fill()
// writes the draws in exactly the source's order.
class portable_draw_lanes {
public:
    static constexpr std::size_t width = 16;

    // Starts with the draw that follows state.
    constexpr explicit portable_draw_lanes(std::uint32_t state)
    {
        for (std::uint32_t& lane : next_) {
            state = generator_step(state);
            lane = state;
        }
    }

    // Writes the next rounds * width draws to out.
    constexpr void fill(std::uint16_t* out, std::size_t rounds)
    {
        for (std::size_t round = 0; round < rounds; ++round, out += width) {
            for (std::size_t j = 0; j < width; ++j) {
                out[j] = static_cast<std::uint16_t>(draw_of(next_[j]));
                next_[j] = stride(next_[j]);
            }
        }
    }

private:
    static constexpr affine_step stride = generator_step.power(width);
    std::array<std::uint32_t, width> next_{};
};
static_assert(portable_draw_lanes::width <= draw_slack);

// Writes the `count` draws that follow `state` at out, and up to draw_slack
// more.
inline void fill_draws_portable(std::uint32_t state, std::uint16_t* out, std::size_t count)
{
    portable_draw_lanes(state).fill(out, (count + portable_draw_lanes::width - 1) / portable_draw_lanes::width);
}

}  // namespace scatter
