#include "format.hpp"

namespace scatter {

#if defined(__x86_64__)
extern const format_path avx512_path;
extern const format_path avx2_path;
#endif
#if defined(__SSE2__)
extern const format_path sse2_path;
#endif

namespace {

void fill_draws(std::uint32_t state, std::uint16_t* out, std::size_t count)
{
    portable_draw_lanes(state).fill(out, (count + portable_draw_lanes::width - 1) / portable_draw_lanes::width);
}

const format_path portable_path{"portable", [] { return true; }, fill_draws, format_lines};

}  // namespace

std::span<const format_path* const> format_paths()
{
    static const format_path* const paths[] = {
#if defined(__x86_64__)
        &avx512_path,
        &avx2_path,
#endif
#if defined(__SSE2__)
        &sse2_path,
#endif
        &portable_path,
    };
    return paths;
}

const format_path& fastest_path()
{
    for (const format_path* path : format_paths())
        if (path->runs_here())
            return *path;
    return portable_path;
}

}  // namespace scatter
