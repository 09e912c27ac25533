#include "corpus/frequent_keys.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tamrel {

void FrequentKeys::Choose(const StringList& keys, const KeyTable& table, const std::vector<uint32_t>& counts) {
  std::vector<std::pair<uint32_t, uint32_t>> candidates;  // (count, word ID)
  for (size_t k = 0; k < keys.size() && k < counts.size(); ++k) {
    const std::u16string_view key = keys[k];
    if (!key.empty() && key.size() <= kMaxUnits) candidates.emplace_back(counts[k], static_cast<uint32_t>(k));
  }
  const auto higher = [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first : a.second < b.second;
  };
  if (candidates.size() > kMaxKeys) {
    std::nth_element(candidates.begin(), candidates.begin() + kMaxKeys, candidates.end(), higher);
    candidates.resize(kMaxKeys);
  }
  size_t capacity = 16;
  while (capacity < 2 * candidates.size()) capacity *= 2;
  slots_.assign(capacity, Slot{});
  mask_ = capacity - 1;
  size_ = 0;
  for (const auto& [count, k] : candidates) {
    const std::u16string_view key = keys[k];
    const std::optional<uint32_t> id = table.Find(keys, key);  // a repeated key: its last record
    if (!id) continue;
    size_t i = HashKey(key) & mask_;
    while (slots_[i].id != KeyTable::kEmpty && std::u16string_view(slots_[i].units, slots_[i].length) != key) {
      i = (i + 1) & mask_;
    }
    if (slots_[i].id != KeyTable::kEmpty) continue;  // kept already, as another record of the key
    Slot& slot = slots_[i];
    slot.id = *id;
    slot.length = static_cast<uint16_t>(key.size());
    std::copy(key.begin(), key.end(), slot.units);
    ++size_;
  }
}

std::optional<uint32_t> FrequentKeys::Find(const KeyPart& part) const {
  if (size_ == 0 || part.rest.size() + 1 > kMaxUnits) return std::nullopt;
  return FindFrom(HashPart(part) & mask_, part);
}

std::optional<uint32_t> FrequentKeys::FindFrom(size_t home, const KeyPart& part) const {
  const size_t length = part.rest.size() + 1;
  for (size_t i = home; slots_[i].id != KeyTable::kEmpty; i = (i + 1) & mask_) {
    const Slot& s = slots_[i];
    if (s.length == length && s.units[0] == part.prefix &&
        (part.rest.empty() || std::memcmp(s.units + 1, part.rest.data(), part.rest.size() * sizeof(char16_t)) == 0)) {
      return s.id;
    }
  }
  return std::nullopt;
}

void FrequentKeys::FindAll(const std::vector<KeyPart>& parts, std::vector<uint32_t>& ids,
                           std::vector<size_t>& missing) const {
  const size_t n = parts.size();
  ids.resize(n);
  missing.clear();
  // Two passes, so that the cache misses of all parts overlap: hash and fetch the home slots,
  // then compare.
  constexpr size_t kTooLong = SIZE_MAX;
  homes_.resize(n);
  for (size_t t = 0; t < n; ++t) {
    if (size_ == 0 || parts[t].rest.size() + 1 > kMaxUnits) {
      homes_[t] = kTooLong;
      continue;
    }
    homes_[t] = HashPart(parts[t]) & mask_;
    __builtin_prefetch(&slots_[homes_[t]]);
  }
  for (size_t t = 0; t < n; ++t) {
    const std::optional<uint32_t> id = homes_[t] == kTooLong ? std::nullopt : FindFrom(homes_[t], parts[t]);
    if (id) {
      ids[t] = *id;
    } else {
      missing.push_back(t);
    }
  }
}

}  // namespace tamrel
