// What the processor reports, decoded into features: processors and
// operating systems that this machine is not, by the registers they report.

#include <gtest/gtest.h>

#include <cstdint>

#include "cpu_features.hpp"

namespace scatter {
namespace {

// Bits of cpuid leaf 1 ecx and leaf 7 ebx, and of XCR0, as Intel's and
// AMD's manuals number them.
constexpr std::uint32_t ssse3_bit = 1u << 9;
constexpr std::uint32_t osxsave_bit = 1u << 27;
constexpr std::uint32_t avx_bit = 1u << 28;
constexpr std::uint32_t avx2_bit = 1u << 5;
constexpr std::uint64_t xmm_state = 1u << 1;
constexpr std::uint64_t ymm_state = 1u << 2;
constexpr std::uint64_t zmm_states = 0xE0;  // the mask registers and the upper and extra ZMM registers

// A processor with SSSE3 and AVX2 whose operating system saves the AVX
// registers, as a Haswell or a Zen 3 under Linux reports itself.
constexpr cpu_report avx2_machine{7, ssse3_bit | osxsave_bit | avx_bit, avx2_bit, 1 | xmm_state | ymm_state};

struct decode_case {
    const char* name;
    cpu_report report;
    feature_set features;
};

TEST(DecodeCpuFeatures, TakesEachFeatureFromItsBitAndTheSavedRegisters)
{
    using enum cpu_feature;
    cpu_report no_leaf_7 = avx2_machine;
    no_leaf_7.max_leaf = 6;
    cpu_report no_osxsave = avx2_machine;
    no_osxsave.leaf1_ecx &= ~osxsave_bit;
    cpu_report no_avx = avx2_machine;
    no_avx.leaf1_ecx &= ~avx_bit;
    cpu_report no_ymm_saved = avx2_machine;
    no_ymm_saved.xcr0 &= ~ymm_state;
    cpu_report no_xmm_saved = avx2_machine;
    no_xmm_saved.xcr0 &= ~xmm_state;
    cpu_report zmm_saved_too = avx2_machine;
    zmm_saved_too.xcr0 |= zmm_states;
    cpu_report all_other_bits = avx2_machine;
    all_other_bits.leaf1_ecx = ~0u & ~ssse3_bit & ~avx_bit;
    all_other_bits.leaf7_ebx = ~0u & ~avx2_bit;

    const decode_case cases[] = {
        {"nothing", {}, {}},
        {"SSSE3 alone", {1, ssse3_bit, 0, 0}, {ssse3}},
        {"AVX2 and SSSE3, registers saved", avx2_machine, {ssse3, avx2}},
        {"AVX2, and AVX-512 registers saved too", zmm_saved_too, {ssse3, avx2}},
        {"AVX2 bit without leaf 7 (a stale leaf)", no_leaf_7, {ssse3}},
        {"AVX2 bit, OSXSAVE off", no_osxsave, {ssse3}},
        {"AVX2 bit without AVX", no_avx, {ssse3}},
        {"AVX2 bit, YMM state not saved", no_ymm_saved, {ssse3}},
        {"AVX2 bit, XMM state not saved", no_xmm_saved, {ssse3}},
        {"every other bit of both leaves", all_other_bits, {}},
        {"only the AVX2 bit of leaf 7", {7, 0, avx2_bit, 0}, {}},
    };
    for (const decode_case& c : cases)
        EXPECT_TRUE(decode_cpu_features(c.report) == c.features) << c.name;
}

}  // namespace
}  // namespace scatter
