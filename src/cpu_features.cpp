#include "cpu_features.hpp"

#include <atomic>

#if defined(__x86_64__)
#include <cpuid.h>

#include <cstdint>
#include <utility>
#endif

namespace scatter {
namespace {

// A set of cpu_feature values, one bit each.
using feature_set = unsigned;

constexpr feature_set bit_of(cpu_feature feature)
{
    return 1u << static_cast<unsigned>(feature);
}

#if defined(__x86_64__)

constexpr bool has_bit(unsigned reg, unsigned bit)
{
    return (reg >> bit & 1u) != 0;
}

// XCR0: the register state that the operating system saves.
std::uint64_t saved_register_state()
{
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    __asm__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return std::uint64_t{high} << 32 | low;
}

// Reads cpuid leaves 1 and 7 and XCR0, with the bit numbers of Intel's and
// AMD's manuals.
feature_set read_features()
{
    unsigned eax = 0;
    unsigned ebx = 0;
    unsigned ecx = 0;
    unsigned edx = 0;
    if (__get_cpuid_max(0, nullptr) < 7)
        return 0;

    __cpuid(1, eax, ebx, ecx, edx);
    const bool popcnt = has_bit(ecx, 23);
    const bool avx = has_bit(ecx, 28);
    // xgetbv exists only where the operating system has enabled XSAVE.
    const std::uint64_t saved = has_bit(ecx, 27) ? saved_register_state() : 0;
    const bool saves_ymm = (saved & 0x06) == 0x06;  // XMM, and the upper halves of YMM
    // and the mask registers, the upper halves of ZMM0-15, and ZMM16-31
    const bool saves_zmm = (saved & 0xE6) == 0xE6;

    __cpuid_count(7, 0, eax, ebx, ecx, edx);
    const bool avx512f = saves_zmm && has_bit(ebx, 16);
    const std::pair<cpu_feature, bool> found[] = {
        {cpu_feature::popcnt, popcnt},
        {cpu_feature::avx2, avx && saves_ymm && has_bit(ebx, 5)},
        {cpu_feature::avx512f, avx512f},
        {cpu_feature::avx512bw, avx512f && has_bit(ebx, 30)},
        {cpu_feature::avx512vl, avx512f && has_bit(ebx, 31)},
        {cpu_feature::avx512vbmi, avx512f && has_bit(ecx, 1)},
        {cpu_feature::avx512vbmi2, avx512f && has_bit(ecx, 6)},
    };
    feature_set features = 0;
    for (const auto& [feature, present] : found)
        if (present)
            features |= bit_of(feature);
    return features;
}

#else

feature_set read_features()
{
    return 0;
}

#endif

// The features once read, or not_read.  Threads that meet not_read at once
// each read the same features, so the cache needs no lock; nor does it need
// the C++ runtime's guard of a static local, which would link the runtime's
// exception support into the program.
constexpr feature_set not_read = ~feature_set{0};
constinit std::atomic<feature_set> known_features{not_read};

}  // namespace

bool cpu_supports(cpu_feature feature)
{
    feature_set features = known_features.load(std::memory_order_relaxed);
    if (features == not_read) {
        features = read_features();
        known_features.store(features, std::memory_order_relaxed);
    }
    return (features & bit_of(feature)) != 0;
}

}  // namespace scatter
