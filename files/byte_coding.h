// The one little-endian codec of the index files: put and get of 32- and 64-bit values.
// Build and load both go through it, so the byte order is decided in one place.
#pragma once

#include <cstdint>
#include <string>

namespace tamrel {

inline void EncodeFixed32(char* dst, uint32_t v) {
  dst[0] = static_cast<char>(v);
  dst[1] = static_cast<char>(v >> 8);
  dst[2] = static_cast<char>(v >> 16);
  dst[3] = static_cast<char>(v >> 24);
}

inline void PutFixed32(std::string& out, uint32_t v) {
  char b[4];
  EncodeFixed32(b, v);
  out.append(b, 4);
}

inline void PutFixed64(std::string& out, uint64_t v) {
  PutFixed32(out, static_cast<uint32_t>(v));
  PutFixed32(out, static_cast<uint32_t>(v >> 32));
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
