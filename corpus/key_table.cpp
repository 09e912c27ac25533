#include "corpus/key_table.h"

namespace tamrel {

namespace {

constexpr uint64_t kFnvOffset = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;

// FNV-1a over code units, continued from `h`.
uint64_t Mix(uint64_t h, std::u16string_view units) {
  for (char16_t c : units) h = (h ^ c) * kFnvPrime;
  return h;
}

uint64_t Finish(uint64_t h) { return h ^ (h >> 29); }

}  // namespace

uint64_t HashKey(std::u16string_view key) { return Finish(Mix(kFnvOffset, key)); }

uint64_t HashPart(const KeyPart& part) { return Finish(Mix((kFnvOffset ^ part.prefix) * kFnvPrime, part.rest)); }

void KeyTable::clear() {
  slots_.clear();
  mask_ = 0;
  distinct_ = 0;
}

size_t KeyTable::CapacityFor(size_t keyCount) {
  size_t capacity = 16;
  while (capacity < 2 * keyCount) capacity *= 2;
  return capacity;
}

bool KeyTable::Adopt(const StringList& keys, std::vector<Slot> kept) {
  if (kept.size() != CapacityFor(keys.size())) return false;
  size_t used = 0;
  for (const Slot& s : kept) {
    if (s.id == kEmpty) continue;
    if (s.id >= keys.size() || s.start != keys.StartOf(s.id) || s.length != keys[s.id].size()) return false;
    ++used;
  }
  if (used == kept.size()) return false;
  slots_ = std::move(kept);
  mask_ = slots_.size() - 1;
  distinct_ = used;
  return true;
}

void KeyTable::Rebuild(const StringList& keys) {
  const size_t capacity = CapacityFor(keys.size());
  slots_.assign(capacity, Slot{});
  mask_ = capacity - 1;
  distinct_ = 0;
  for (size_t k = 0; k < keys.size(); ++k) {
    const std::u16string_view key = keys[k];
    if (key.size() > UINT16_MAX) continue;  // cannot come from a word table; never found
    const uint64_t h = HashKey(key);
    size_t i = Home(h);
    while (slots_[i].id != kEmpty && keys[slots_[i].id] != key) i = Next(i);
    if (slots_[i].id == kEmpty) ++distinct_;
    // A repeated key takes the slot over: the later record wins.
    slots_[i] = Slot{static_cast<uint32_t>(k), keys.StartOf(k), static_cast<uint16_t>(key.size()), Check(h)};
  }
}

std::optional<uint32_t> KeyTable::Find(const StringList& keys, std::u16string_view key) const {
  if (slots_.empty()) return std::nullopt;
  const uint64_t h = HashKey(key);
  for (size_t i = Home(h); slots_[i].id != kEmpty; i = Next(i)) {
    const Slot& s = slots_[i];
    if (s.check == Check(h) && s.length == key.size() && keys.Units(s.start, s.length) == key) return s.id;
  }
  return std::nullopt;
}

void KeyTable::FindAll(const StringList& keys, const std::vector<KeyPart>& parts, std::vector<uint32_t>& ids) const {
  const size_t n = parts.size();
  ids.assign(n, 0);
  if (slots_.empty()) return;
  // Three passes, so that the cache misses of all parts overlap: hash and fetch the home slots,
  // fetch the keys they point at, then compare.
  hashes_.resize(n);
  for (size_t t = 0; t < n; ++t) {
    hashes_[t] = HashPart(parts[t]);
    __builtin_prefetch(&slots_[Home(hashes_[t])]);
  }
  for (size_t t = 0; t < n; ++t) {
    const Slot& s = slots_[Home(hashes_[t])];
    if (s.id != kEmpty) __builtin_prefetch(keys.Units(s.start, 0).data());
  }
  for (size_t t = 0; t < n; ++t) {
    const KeyPart& part = parts[t];
    for (size_t i = Home(hashes_[t]); slots_[i].id != kEmpty; i = Next(i)) {
      const Slot& s = slots_[i];
      if (s.check != Check(hashes_[t]) || s.length != part.rest.size() + 1) continue;
      const std::u16string_view key = keys.Units(s.start, s.length);
      if (key[0] == part.prefix && key.substr(1) == part.rest) {
        ids[t] = s.id;
        break;
      }
    }
  }
}

}  // namespace tamrel
