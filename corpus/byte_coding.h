// The one little-endian codec of the index files: put and get of 32- and 64-bit values.
// Build and load both go through it, so the byte order is decided in one place.
#pragma once

#include <cstdint>
#include <string>

namespace tamrel {

inline void PutFixed32(std::string& out, uint32_t v) {
  const char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                     static_cast<char>(v >> 24)};
  out.append(b, 4);
}

inline void PutFixed64(std::string& out, uint64_t v) {
  PutFixed32(out, static_cast<uint32_t>(v));
  PutFixed32(out, static_cast<uint32_t>(v >> 32));
}

// Overwrites the four bytes at `pos` (already written) with `v`.
inline void PatchFixed32(std::string& out, size_t pos, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[pos + i] = static_cast<char>(v >> (8 * i));
}

inline uint32_t GetFixed32(const unsigned char* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

inline uint64_t GetFixed64(const unsigned char* p) {
  return uint64_t{GetFixed32(p)} | uint64_t{GetFixed32(p + 4)} << 32;
}

inline uint32_t GetFixed32(const char* p) { return GetFixed32(reinterpret_cast<const unsigned char*>(p)); }
inline uint64_t GetFixed64(const char* p) { return GetFixed64(reinterpret_cast<const unsigned char*>(p)); }

}  // namespace tamrel
