// What the processor can run, and the operating system lets it: the one
// place that asks.
#pragma once

#include <cstdint>

namespace scatter {

enum class cpu_feature : unsigned char {
    ssse3,
    avx2,
};

class feature_set {
public:
    constexpr void add(cpu_feature feature) { bits_ |= bit_of(feature); }
    constexpr bool contains(cpu_feature feature) const { return (bits_ & bit_of(feature)) != 0; }

    constexpr unsigned to_bits() const { return bits_; }
    static constexpr feature_set from_bits(unsigned bits)
    {
        feature_set set;
        set.bits_ = bits;
        return set;
    }

private:
    static constexpr unsigned bit_of(cpu_feature feature) { return 1u << static_cast<unsigned>(feature); }
    unsigned bits_ = 0;
};

// What the processor reports of itself through cpuid, and what the
// operating system saves of its registers (XCR0, through xgetbv).
struct cpu_report {
    std::uint32_t max_leaf = 0;   // cpuid leaf 0, eax: the largest leaf
    std::uint32_t leaf1_ecx = 0;  // cpuid leaf 1, ecx
    std::uint32_t leaf7_ebx = 0;  // cpuid leaf 7 subleaf 0, ebx, where max_leaf >= 7
    std::uint64_t xcr0 = 0;       // where leaf 1 reports OSXSAVE
};

// The features of such a processor, with the bit numbers of Intel's and
// AMD's manuals.  A feature that uses the AVX registers counts only when
// the operating system saves them across a context switch.
feature_set decode_cpu_features(const cpu_report& report);

// Whether this processor has feature, as decode_cpu_features says of what it
// reports.  Always false off x86.
bool cpu_supports(cpu_feature feature);

}  // namespace scatter
