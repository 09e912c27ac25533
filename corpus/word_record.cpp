#include "corpus/word_record.h"

#include "files/byte_coding.h"

namespace tamrel {

void EncodeWordRecord(std::u16string_view key, uint64_t postingOffset, std::string& out) {
  for (size_t u = 0; u < kKeyFieldUnits; ++u) {
    const char16_t unit = u < key.size() ? key[u] : 0;
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
  }
  out.append(kPostingOffsetField - 2 * kKeyFieldUnits, '\0');
  PutFixed64(out, postingOffset);
}

bool DecodeWordRecord(const char* record, std::u16string& key, uint64_t& postingOffset) {
  key.clear();
  const char* field = record + kKeyFieldOffset;
  for (size_t u = 0; u < kKeyFieldUnits; ++u) {
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(field[2 * u]) |
                                            static_cast<unsigned char>(field[2 * u + 1]) << 8);
    if (unit == 0) {
      postingOffset = GetFixed64(record + kPostingOffsetField);
      return true;
    }
    key.push_back(unit);
  }
  return false;
}

}  // namespace tamrel
