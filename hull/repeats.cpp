// Repeated points: sorted keys, one bit a key past a limit, wide keys past
// 65536 values.

#include "repeats.hpp"

#include <sys/mman.h>

#include <algorithm>
#include <bit>
#include <new>

namespace scatter_hull {
namespace {

constexpr std::uint32_t narrow_values = 1u << 16;
constexpr std::size_t bits_size = std::size_t{1} << 29;  // a bit for each of the 2^32 keys: 512 MiB

// How many keys of a vector equal an earlier one, which it removes.
template <class key>
std::uint64_t remove_repeats(std::vector<key>& keys)
{
    std::sort(keys.begin(), keys.end());
    const auto repeats = std::unique(keys.begin(), keys.end());
    const auto count = static_cast<std::uint64_t>(keys.end() - repeats);
    keys.erase(repeats, keys.end());
    return count;
}

}  // namespace

repeat_counter::repeat_counter(std::size_t key_limit) : key_limit_(key_limit) {}

repeat_counter::~repeat_counter()
{
    if (bits_ != nullptr)
        ::munmap(bits_, bits_size);
}

void repeat_counter::add(std::uint32_t x_index, std::uint32_t y_index)
{
    if (!wide_ && (x_index >= narrow_values || y_index >= narrow_values))
        to_wide_keys();
    if (wide_) {
        wide_keys_.push_back(std::uint64_t{x_index} << 32 | y_index);
        return;
    }
    const std::uint32_t key = x_index << 16 | y_index;
    if (bits_ == nullptr && keys_.size() == key_limit_)
        to_bits();
    if (bits_ == nullptr) {
        keys_.push_back(key);
        return;
    }
    pending_[pending_size_++] = key;
    if (pending_size_ == pending_.size())
        set_pending_bits();
}

std::uint64_t repeat_counter::count()
{
    if (bits_ != nullptr)
        set_pending_bits();
    counted_ += remove_repeats(keys_) + remove_repeats(wide_keys_);
    return counted_;
}

// The keys become bits, in memory that reads as zeros until written; huge
// pages, where the system has them, spare a TLB miss a point.
void repeat_counter::to_bits()
{
    void* bits = ::mmap(nullptr, bits_size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (bits == MAP_FAILED)
        throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    ::madvise(bits, bits_size, MADV_HUGEPAGE);
#endif
    bits_ = static_cast<std::uint64_t*>(bits);
    x_rows_set_.resize(narrow_values);
    for (const std::uint32_t key : keys_)
        counted_ += set_bit(key) ? 1u : 0u;
    std::vector<std::uint32_t>().swap(keys_);
}

// Sets a key's bit; true when it was set already.
bool repeat_counter::set_bit(std::uint32_t key)
{
    x_rows_set_[key >> 16] = true;
    const std::uint64_t bit = std::uint64_t{1} << (key % 64);
    std::uint64_t& word = bits_[key / 64];
    const bool seen = (word & bit) != 0;
    word |= bit;
    return seen;
}

void repeat_counter::set_pending_bits()
{
    for (std::size_t i = 0; i < pending_size_; ++i)
        __builtin_prefetch(&bits_[pending_[i] / 64], 1);
    for (std::size_t i = 0; i < pending_size_; ++i)
        counted_ += set_bit(pending_[i]) ? 1u : 0u;
    pending_size_ = 0;
}

// The keys, or the keys of the bits set, become 64-bit keys.
void repeat_counter::to_wide_keys()
{
    counted_ += remove_repeats(keys_);
    for (const std::uint32_t key : keys_)
        wide_keys_.push_back(std::uint64_t{key >> 16} << 32 | (key & 0xFFFF));
    std::vector<std::uint32_t>().swap(keys_);
    if (bits_ != nullptr) {
        set_pending_bits();
        constexpr std::size_t row_words = narrow_values / 64;
        for (std::uint32_t x_index = 0; x_index < narrow_values; ++x_index) {
            if (!x_rows_set_[x_index])
                continue;
            for (std::size_t word = x_index * row_words; word < (x_index + 1) * row_words; ++word)
                for (std::uint64_t set = bits_[word]; set != 0; set &= set - 1) {
                    const auto y_index = static_cast<std::uint32_t>(word % row_words * 64) + static_cast<std::uint32_t>(std::countr_zero(set));
                    wide_keys_.push_back(std::uint64_t{x_index} << 32 | y_index);
                }
        }
        ::munmap(bits_, bits_size);
        bits_ = nullptr;
    }
    wide_ = true;
}

}  // namespace scatter_hull
