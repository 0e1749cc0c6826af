// The ways of making the stream, and the choice among them.  A pipeline
// makes a block of draws with the lanes of one instruction set, then the
// block's lines with the line assembly of one instruction set; all write the
// same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "cpu_features.hpp"

namespace scatter {

struct pipeline {
    const char* name;
    // The processor features that its instructions need beyond the
    // baseline of its build.
    std::span<const cpu_feature> needs;
    // Writes the `count` draws that follow `state` at out, and up to
    // draw_slack more.
    void (*fill_draws)(std::uint32_t state, std::uint16_t* out, std::size_t count);
    // Writes the lines of `points` points, four draws each, at out and
    // returns their end.  Up to line_slack bytes past the end may be
    // written too.
    char* (*format_lines)(const std::uint16_t* draws, std::size_t points, char* out);
};

// Every pipeline that this build has, the fastest first; whether this
// processor can run one; and the fastest that it can.
std::span<const pipeline* const> pipelines();
bool runs_here(const pipeline& pipeline);
const pipeline& fastest_pipeline();

}  // namespace scatter
