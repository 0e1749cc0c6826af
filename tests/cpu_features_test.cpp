// What the processor reports, decoded into features: real processors that
// this machine is not, by the registers that they report, and this one
// against the features that the kernel lists for it.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "cpu_features.hpp"
#include "pipelines.hpp"
#include "skip.hpp"

namespace scatter {
namespace {

struct processor_case {
    const char* name;
    cpu_report report;
    bool ssse3;
    bool avx2;
};

TEST(DecodeCpuFeatures, RealProcessorsUnderTheirOperatingSystems)
{
    // cpuid leaf 0 eax, leaf 1 ecx and leaf 7 ebx as these processors
    // report them (dumps of VBoxCpuReport, rust-cpuid and cpuid_dump_rs),
    // and XCR0 as Linux sets it on them: x87, SSE and, where there is AVX,
    // AVX state (0x7), and the AVX-512 states too (0xE7).  Where a
    // processor has no XSAVE, nothing can read XCR0.
    const processor_case processors[] = {
        {"AMD Athlon 64 3200+ (K8)", {0x1, 0x00000000, 0, 0}, false, false},
        {"AMD Phenom II X6 1100T (K10)", {0x6, 0x00802009, 0, 0}, false, false},
        {"Intel Core 2 X6800 (Conroe)", {0xA, 0x0000E3BD, 0, 0}, true, false},
        {"Intel Xeon X5482 (Penryn)", {0xA, 0x000CE3BD, 0, 0}, true, false},
        {"Intel Pentium N3530 (Silvermont)", {0xB, 0x41D8E3BF, 0x00002282, 0}, true, false},
        {"Intel Core i7-2635QM (Sandy Bridge)", {0xD, 0x1FBAE3BF, 0, 0x7}, true, false},
        {"Intel Core i5-3570 (Ivy Bridge)", {0xD, 0x7FBAE3FF, 0x00000281, 0x7}, true, false},
        {"Intel Core i7-5600U (Broadwell)", {0x14, 0x7FFAFBFF, 0x021C2FBB, 0x7}, true, true},
        {"Intel Core i7-6700K (Skylake)", {0x16, 0x7FFAFBBF, 0x029C6FBF, 0x7}, true, true},
        {"AMD Ryzen 5 3600X (Zen 2)", {0x10, 0x7ED8320B, 0x219C91A9, 0x7}, true, true},
        {"AMD Ryzen 5 5600G (Zen 3)", {0x10, 0x7EF8320B, 0x219C97A9, 0x7}, true, true},
        {"Intel Xeon Gold 6252 (Cascade Lake)", {0x16, 0x7FFEFBFF, 0xD39FF7EB, 0xE7}, true, true},
        // The Skylake under systems that do not save its AVX registers: one
        // that enables XSAVE for the SSE state alone, and one that leaves
        // XSAVE off, whose leaf 1 then reports no OSXSAVE.
        {"Skylake, XSAVE of x87 and SSE state only", {0x16, 0x7FFAFBBF, 0x029C6FBF, 0x3}, true, false},
        {"Skylake, XSAVE off", {0x16, 0x77FAFBBF, 0x029C6FBF, 0}, true, false},
    };
    for (const processor_case& c : processors) {
        const feature_set features = decode_cpu_features(c.report);
        EXPECT_EQ(features.contains(cpu_feature::ssse3), c.ssse3) << c.name;
        EXPECT_EQ(features.contains(cpu_feature::avx2), c.avx2) << c.name;
    }
}

// The processor's features as the kernel lists them in /proc/cpuinfo, a
// source apart from cpuid; nothing where there is no such file.
std::optional<std::set<std::string>> kernel_cpu_flags()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("flags", 0) != 0 || line.find(':') == std::string::npos)
            continue;
        std::istringstream words(line.substr(line.find(':') + 1));
        return std::set<std::string>(std::istream_iterator<std::string>(words), std::istream_iterator<std::string>());
    }
    return std::nullopt;
}

#if defined(__x86_64__) || defined(__i386__)
constexpr bool reads_cpuid = true;
#else
constexpr bool reads_cpuid = false;
#endif
#if defined(SCATTER_EMULATOR)
constexpr bool emulated = true;
#else
constexpr bool emulated = false;
#endif

TEST(CpuSupports, HasTheFeaturesThatTheKernelListsForThisProcessor)
{
    std::string ran;
    for (const pipeline* path : pipelines())
        ran += std::string(" ") + path->name + (runs_here(*path) ? "" : " (not here)");
    std::cout << "[ PATHS    ]" << ran << '\n';
    if (!reads_cpuid)
        GTEST_SKIP() << "only x86 processors are asked for their features";
    if (emulated)
        GTEST_SKIP() << "the emulator's processor is not the one that /proc/cpuinfo describes";
    const auto flags = kernel_cpu_flags();
    if (!flags)
        SCATTER_SKIP() << "no /proc/cpuinfo to learn the processor's features from";
    // Linux lists a feature only where it saves the registers it needs.
    const std::pair<cpu_feature, std::string> features[] = {{cpu_feature::ssse3, "ssse3"}, {cpu_feature::avx2, "avx2"}};
    for (const auto& [feature, kernel_name] : features)
        EXPECT_EQ(cpu_supports(feature), flags->count(kernel_name) != 0) << kernel_name;
}

}  // namespace
}  // namespace scatter
