// The fastest way of producing many draws at once that this processor has.
#pragma once

#include "draw_source.hpp"

#if defined(__SSE2__)
#include "sse2_draw_lanes.hpp"
#endif

namespace scatter {

#if defined(__SSE2__)
using draw_lanes = sse2_draw_lanes;
#else
using draw_lanes = portable_draw_lanes;
#endif

}  // namespace scatter
