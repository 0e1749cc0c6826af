// What the processor can run, and the operating system lets it: the one
// place that asks.
#pragma once

namespace scatter {

enum class cpu_feature {
    popcnt,
    avx2,
    avx512f,
    avx512bw,
    avx512vl,
    avx512vbmi,
    avx512vbmi2,
};

// Whether the processor has the instructions of feature and, for those that
// use the AVX or AVX-512 registers, the operating system saves those
// registers across a context switch.  Always false off x86-64.
bool cpu_supports(cpu_feature feature);

}  // namespace scatter
