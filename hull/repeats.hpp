// Counting repeated points in bounded memory.  A point is a pair of value
// indices (the order in which its coordinates' values first came).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace scatter_hull {

class repeat_counter {
public:
    // Up to 65536 distinct values a point is a 32-bit key of two 16-bit
    // indices, kept in a vector and counted by sorting; once there would be
    // more than key_limit keys, a bit for each possible key, 512 MiB, which
    // the system gives as it is first touched, so that the memory stays
    // bounded whatever the count.  Beyond 65536 values a key takes 64 bits:
    // 8 bytes a point.
    explicit repeat_counter(std::size_t key_limit = std::size_t{1} << 26);
    ~repeat_counter();
    repeat_counter(const repeat_counter&) = delete;
    repeat_counter& operator=(const repeat_counter&) = delete;

    void add(std::uint32_t x_index, std::uint32_t y_index);
    // The points added that equal one added before (sorts the keys).
    std::uint64_t count();

private:
    void to_bits();
    bool set_bit(std::uint32_t key);
    void set_pending_bits();
    void to_wide_keys();

    std::size_t key_limit_;
    std::vector<std::uint32_t> keys_;
    std::uint64_t* bits_ = nullptr;  // once the keys pass key_limit
    std::vector<bool> x_rows_set_;   // the x indices whose 65536 bits have one set
    // Keys whose bits are fetched together, so that their cache misses overlap.
    std::array<std::uint32_t, 256> pending_{};
    std::size_t pending_size_ = 0;
    std::vector<std::uint64_t> wide_keys_;
    bool wide_ = false;
    std::uint64_t counted_ = 0;  // repeats no longer among the keys
};

}  // namespace scatter_hull
