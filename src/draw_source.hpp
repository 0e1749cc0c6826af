// The source of draws: the portable pseudo-random generator given as an
// example in the C language standard.  Every draw is a value from 0 to
// draw_max; the state starts at 1 and is never seeded, so every run sees the
// same sequence, on every platform and compiler.
//
// draw_lanes.hpp makes the same draws many at a time.
#pragma once

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
// lanes of draw_lanes.hpp produce many at a time.
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

}  // namespace scatter
