// cpuid and XCR0, read once and decoded into the features of cpu_features.hpp.
#include "cpu_features.hpp"

#include <atomic>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace scatter {
namespace {

constexpr bool has_bit(std::uint64_t reg, unsigned bit)
{
    return (reg >> bit & 1u) != 0;
}

#if defined(__x86_64__) || defined(__i386__)

cpu_report read_cpu_report()
{
    cpu_report report;
    unsigned eax = 0;
    unsigned ebx = 0;
    unsigned ecx = 0;
    unsigned edx = 0;
    // 0 also where there is no cpuid at all, as on a 486.
    report.max_leaf = static_cast<std::uint32_t>(__get_cpuid_max(0, nullptr));
    if (report.max_leaf < 1)
        return report;
    __cpuid(1, eax, ebx, ecx, edx);
    report.leaf1_ecx = ecx;
    if (report.max_leaf >= 7) {
        __cpuid_count(7, 0, eax, ebx, ecx, edx);
        report.leaf7_ebx = ebx;
    }
    // xgetbv exists only where the operating system has enabled XSAVE.
    if (has_bit(report.leaf1_ecx, 27)) {
        std::uint32_t low = 0;
        std::uint32_t high = 0;
        __asm__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
        report.xcr0 = std::uint64_t{high} << 32 | low;
    }
    return report;
}

#else

cpu_report read_cpu_report()
{
    return {};
}

#endif

// The features once read, or not_read.  Threads that race each read the
// same features, so no lock is needed; nor a guarded static local, whose
// guard is a call into the C++ runtime (__cxa_guard_acquire).
constexpr unsigned not_read = ~0u;
constinit std::atomic<unsigned> known_features{not_read};

}  // namespace

feature_set decode_cpu_features(const cpu_report& report)
{
    feature_set features;
    if (has_bit(report.leaf1_ecx, 9))
        features.add(cpu_feature::ssse3);
    // OSXSAVE, then XCR0's XMM state and the upper halves of the YMM
    // registers.
    const bool saves_ymm = has_bit(report.leaf1_ecx, 27) && (report.xcr0 & 0x6) == 0x6;
    const bool avx = has_bit(report.leaf1_ecx, 28);
    if (saves_ymm && avx && report.max_leaf >= 7 && has_bit(report.leaf7_ebx, 5))
        features.add(cpu_feature::avx2);
    return features;
}

bool cpu_supports(cpu_feature feature)
{
    unsigned bits = known_features.load(std::memory_order_relaxed);
    if (bits == not_read) {
        bits = decode_cpu_features(read_cpu_report()).to_bits();
        known_features.store(bits, std::memory_order_relaxed);
    }
    return feature_set::from_bits(bits).contains(feature);
}

}  // namespace scatter
