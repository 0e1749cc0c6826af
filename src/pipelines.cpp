#include "pipelines.hpp"

#include "draw_lanes.hpp"
#include "kernels.hpp"
#include "lines.hpp"

namespace scatter {
namespace {

const pipeline portable{"portable", {}, fill_draws_portable, format_lines};

#if defined(__SSE2__)
constexpr cpu_feature ssse3_needs[] = {cpu_feature::ssse3};
const pipeline sse2{"sse2", {}, fill_draws_sse2, format_lines};
const pipeline ssse3{"ssse3", ssse3_needs, fill_draws_sse2, format_lines_ssse3};
#endif

#if defined(__x86_64__)
constexpr cpu_feature avx2_needs[] = {cpu_feature::avx2};
const pipeline avx2{"avx2", avx2_needs, fill_draws_avx2, format_lines_avx2};
#endif

}  // namespace

std::span<const pipeline* const> pipelines()
{
    static const pipeline* const all[] = {
#if defined(__x86_64__)
        &avx2,
#endif
#if defined(__SSE2__)
        &ssse3,
        &sse2,
#endif
        &portable,
    };
    return all;
}

bool runs_here(const pipeline& pipeline)
{
    for (const cpu_feature feature : pipeline.needs)
        if (!cpu_supports(feature))
            return false;
    return true;
}

const pipeline& fastest_pipeline()
{
    for (const pipeline* candidate : pipelines())
        if (runs_here(*candidate))
            return *candidate;
    return portable;
}

}  // namespace scatter
