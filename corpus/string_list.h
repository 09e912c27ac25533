// StringList: an append-only list of UTF-16 strings kept in one buffer, so that a word table of
// hundreds of thousands of keys costs a few bytes per key instead of one allocation each.
// KeyIndex: the key -> word ID lookup over such a list, ordered by code units.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamrel {

class StringList {
 public:
  // Positions are 32-bit to keep the list small: it holds at most 2^32 - 1 units in all.
  static constexpr size_t kMaxUnits = UINT32_MAX;

  // Appends `s`; false (and nothing appended) when the list would exceed kMaxUnits.
  bool push_back(std::u16string_view s) {
    if (s.size() > kMaxUnits - units_.size()) return false;
    units_.append(s);
    ends_.push_back(static_cast<uint32_t>(units_.size()));
    return true;
  }
  std::u16string_view operator[](size_t i) const {
    const size_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::u16string_view(units_).substr(begin, ends_[i] - begin);
  }
  // Asks the processor to fetch where string i ends (and so where the next begins), ahead of
  // reading it; i must be below size().
  void PrefetchEnd(size_t i) const { __builtin_prefetch(&ends_[i]); }
  // Asks for the first units of string i, once its end is at hand.
  void PrefetchUnits(size_t i) const { __builtin_prefetch(units_.data() + (i == 0 ? 0 : ends_[i - 1])); }
  size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  void clear() {
    units_.clear();
    ends_.clear();
  }
  void reserve(size_t count, size_t units) {
    ends_.reserve(count);
    units_.reserve(units);
  }
  std::vector<std::u16string> ToVector() const;

 private:
  std::u16string units_;
  std::vector<uint32_t> ends_;
};

// Sorted word IDs of a StringList, one per distinct key. A repeated key maps to its last record,
// as a map filled in record order would.
class KeyIndex {
 public:
  void Rebuild(const StringList& keys);
  std::optional<uint32_t> Find(const StringList& keys, std::u16string_view key) const;
  void clear() { ids_.clear(); }
  size_t size() const { return ids_.size(); }

 private:
  std::vector<uint32_t> ids_;
};

}  // namespace tamrel
