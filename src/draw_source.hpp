// The source of draws: the portable pseudo-random generator given as an
// example in the C language standard.  Every draw is a value from 0 to
// draw_max; the state starts at 1 and is never seeded, so every run sees the
// same sequence, on every platform and compiler.
//
// Besides the one-at-a-time source, lanes produce the same draws many at a
// time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace scatter {

// The largest draw.  The point draw divides by it, so the range of the
// source and the arithmetic of a point are tied together.
inline constexpr int draw_max = 32767;

// One step of the generator, state' = a * state + c (mod 2^32), and the
// composition of such steps: k steps are again one affine map.
struct affine_step {
    std::uint32_t multiplier;
    std::uint32_t increment;

    constexpr std::uint32_t operator()(std::uint32_t state) const
    {
        return multiplier * state + increment;
    }

    // The map that applies *this and then next.
    constexpr affine_step then(affine_step next) const
    {
        return {next.multiplier * multiplier, next.multiplier * increment + next.increment};
    }

    // The map that applies *this k times.
    constexpr affine_step power(std::uint64_t k) const
    {
        affine_step result{1, 0};
        affine_step square = *this;
        for (; k != 0; k >>= 1) {
            if (k & 1)
                result = result.then(square);
            square = square.then(square);
        }
        return result;
    }
};

inline constexpr affine_step generator_step{1103515245u, 12345u};
inline constexpr std::uint32_t initial_state = 1;

// The draw that a state yields: bits 16 to 30.
constexpr int draw_of(std::uint32_t state)
{
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

// The draws one at a time: the plain statement of the sequence that the
// lanes below produce many at a time.
class draw_source {
public:
    constexpr draw_source() = default;
    constexpr explicit draw_source(std::uint32_t state) : state_(state) {}

    constexpr int operator()()
    {
        state_ = generator_step(state_);
        return draw_of(state_);
    }

private:
    std::uint32_t state_ = initial_state;
};

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

}  // namespace scatter
