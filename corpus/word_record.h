// The record of one key in the word table (data/index1.dat + tag), written by the index build and
// read by the loader through this one encode/decode pair. Layout, 112 bytes, little-endian:
//   0     102  the key as 51 UTF-16 units: the key, U+0000, then zeros
//   102   2    zero
//   104   8    offset of the key's posting block in the posting file
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tamrel {

inline constexpr size_t kMaxKeyUnits = 50;    // prefix included; longer keys are left out
inline constexpr size_t kKeyFieldUnits = 51;  // key plus terminator
inline constexpr size_t kKeyFieldOffset = 0;
inline constexpr size_t kPostingOffsetField = 104;
inline constexpr size_t kWordRecordBytes = 112;

// Appends the record of `key` (at most kMaxKeyUnits units) to `out`.
void EncodeWordRecord(std::u16string_view key, uint64_t postingOffset, std::string& out);

// Reads the record at `record` (kWordRecordBytes readable bytes). False when the key field holds
// no terminator: the record is damaged.
[[nodiscard]] bool DecodeWordRecord(const char* record, std::u16string& key, uint64_t& postingOffset);

}  // namespace tamrel
