#include "corpus/key_numbering.h"

namespace tamrel {

namespace {

uint32_t CheckBits(uint64_t hash) { return static_cast<uint32_t>(hash >> 32); }

bool SameKey(std::u16string_view key, const KeyPart& part) {
  return key.size() == part.rest.size() + 1 && key[0] == part.prefix && key.substr(1) == part.rest;
}

}  // namespace

size_t KeyNumbering::Locate(const KeyPart& part, uint64_t hash) const {
  const uint32_t check = CheckBits(hash);
  size_t i = hash & mask_;
  while (slots_[i].number != kNone && (slots_[i].check != check || !SameKey(keys_[slots_[i].number], part))) {
    i = (i + 1) & mask_;
  }
  return i;
}

uint32_t KeyNumbering::Find(const KeyPart& part) const {
  if (slots_.empty()) return kNone;
  return slots_[Locate(part, HashPart(part))].number;
}

uint32_t KeyNumbering::Add(const KeyPart& part) {
  // At most half the slots in use keeps the probes short.
  if (2 * (keys_.size() + 1) > slots_.size()) Grow();
  const uint64_t hash = HashPart(part);
  Slot& slot = slots_[Locate(part, hash)];
  if (slot.number != kNone) return slot.number;
  if (keys_.size() >= kNone - 1 || part.rest.size() + 1 > StringList::kMaxUnits - keys_.AllUnits().size()) {
    return kNone;
  }
  // One append of the prefix and the rest, so that the list never holds half a key.
  std::u16string key;
  key.reserve(part.rest.size() + 1);
  key += part.prefix;
  key += part.rest;
  (void)keys_.push_back(key);
  slot = Slot{static_cast<uint32_t>(keys_.size() - 1), CheckBits(hash)};
  return slot.number;
}

void KeyNumbering::Grow() {
  const size_t capacity = slots_.empty() ? 1024 : 2 * slots_.size();
  std::vector<Slot> old;
  old.swap(slots_);
  slots_.assign(capacity, Slot{});
  mask_ = capacity - 1;
  for (const Slot& s : old) {
    if (s.number == kNone) continue;
    size_t i = HashKey(keys_[s.number]) & mask_;
    while (slots_[i].number != kNone) i = (i + 1) & mask_;
    slots_[i] = s;
  }
}

}  // namespace tamrel
