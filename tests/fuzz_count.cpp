// libFuzzer target: the count parser against the strtol model, on any text.
// Build with the fuzz preset; run as build/fuzz/fuzz_count.

#include <cstddef>
#include <cstdint>
#include <string>

#include "count.hpp"
#include "count_model.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));  // an argument ends at NUL
    if (scatter::parse_count(text.c_str()) != scatter::testing::model_count(text.c_str()))
        __builtin_trap();
    return 0;
}
