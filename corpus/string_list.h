// StringList: an append-only list of UTF-16 strings kept in one buffer, so that a word table of
// hundreds of thousands of keys costs a few bytes per key instead of one allocation each.
#pragma once

#include <cstdint>
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
    const size_t begin = StartOf(i);
    return std::u16string_view(units_).substr(begin, ends_[i] - begin);
  }
  size_t size() const { return ends_.size(); }
  // Where string i begins in the buffer, and a stretch of the buffer, for tables that refer to
  // strings by position (positions stay valid when the list is moved).
  uint32_t StartOf(size_t i) const { return i == 0 ? 0 : ends_[i - 1]; }
  std::u16string_view Units(uint32_t start, size_t length) const {
    return std::u16string_view(units_).substr(start, length);
  }
  bool empty() const { return ends_.empty(); }
  void clear() {
    units_.clear();
    ends_.clear();
  }
  void reserve(size_t count, size_t units) {
    ends_.reserve(count);
    units_.reserve(units);
  }

  // The whole buffer and where each string ends, as a key table file stores them.
  std::u16string_view AllUnits() const { return units_; }
  const std::vector<uint32_t>& Ends() const { return ends_; }
  // Replaces the list by one read back from such a file; false (and the list unchanged) when the
  // ends do not rise step by step to the end of `units`.
  bool Assign(std::u16string units, std::vector<uint32_t> ends) {
    if (units.size() > kMaxUnits || (ends.empty() ? !units.empty() : ends.back() != units.size())) return false;
    for (size_t i = 1; i < ends.size(); ++i) {
      if (ends[i] < ends[i - 1]) return false;
    }
    units_ = std::move(units);
    ends_ = std::move(ends);
    return true;
  }

 private:
  std::u16string units_;
  std::vector<uint32_t> ends_;
};

}  // namespace tamrel
