#include "corpus/string_list.h"

#include <algorithm>

namespace tamrel {

std::vector<std::u16string> StringList::ToVector() const {
  std::vector<std::u16string> out;
  out.reserve(size());
  for (size_t i = 0; i < size(); ++i) out.emplace_back((*this)[i]);
  return out;
}

void KeyIndex::Rebuild(const StringList& keys) {
  ids_.resize(keys.size());
  for (size_t i = 0; i < keys.size(); ++i) ids_[i] = static_cast<uint32_t>(i);
  // Equal keys stay in record order, so the last of each run is the record that wins.
  std::stable_sort(ids_.begin(), ids_.end(), [&](uint32_t a, uint32_t b) { return keys[a] < keys[b]; });
  size_t out = 0;
  for (size_t i = 0; i < ids_.size(); ++i) {
    if (i + 1 < ids_.size() && keys[ids_[i]] == keys[ids_[i + 1]]) continue;
    ids_[out++] = ids_[i];
  }
  ids_.resize(out);
}

std::optional<uint32_t> KeyIndex::Find(const StringList& keys, std::u16string_view key) const {
  const auto it =
      std::lower_bound(ids_.begin(), ids_.end(), key, [&](uint32_t id, std::u16string_view k) { return keys[id] < k; });
  if (it == ids_.end() || keys[*it] != key) return std::nullopt;
  return *it;
}

}  // namespace tamrel
