// SearchHistory: the last 20 queries searched, oldest first, and the position of the entry last
// added or recalled (-1 while empty). The four navigation operations return the entry moved to,
// or an empty string when they cannot move.
#pragma once

#include <string>
#include <vector>

namespace tamrel {

class SearchHistory {
 public:
  static constexpr size_t kCapacity = 20;

  void Add(const std::u16string& query);
  std::u16string First();
  std::u16string Previous();
  std::u16string Next();
  std::u16string Last();

  const std::vector<std::u16string>& entries() const { return entries_; }
  int current() const { return current_; }

 private:
  std::vector<std::u16string> entries_;
  int current_ = -1;
};

}  // namespace tamrel
