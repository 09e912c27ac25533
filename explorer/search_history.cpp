#include "explorer/search_history.h"

namespace tamrel {

void SearchHistory::Add(const std::u16string& query) {
  if (entries_.size() >= kCapacity) entries_.erase(entries_.begin());
  entries_.push_back(query);
  current_ = static_cast<int>(entries_.size()) - 1;
}

std::u16string SearchHistory::First() {
  if (entries_.empty()) return {};
  current_ = 0;
  return entries_[0];
}

std::u16string SearchHistory::Previous() {
  if (current_ <= 0) return {};
  return entries_[--current_];
}

std::u16string SearchHistory::Next() {
  if (current_ < 0 || current_ >= static_cast<int>(entries_.size()) - 1) return {};
  return entries_[++current_];
}

std::u16string SearchHistory::Last() {
  if (entries_.empty()) return {};
  current_ = static_cast<int>(entries_.size()) - 1;
  return entries_.back();
}

}  // namespace tamrel
