// KeyTable: the key -> word ID lookup of a corpus, an open-addressing hash table over the keys of
// a StringList. A repeated key maps to its last record, as a map filled in record order would.
// The same table serves queries (one key at a time) and the index build (every token of many
// sentence lines in one batch, with the memory reads of all of them overlapped).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "corpus/string_list.h"

namespace tamrel {

// A key given as its prefix unit and the rest, so that sentence tokens need no copy.
struct KeyPart {
  char16_t prefix;
  std::u16string_view rest;
};

// The hash of a key, whole or as its prefix and the rest (the same value for the same key).
uint64_t HashKey(std::u16string_view key);
uint64_t HashPart(const KeyPart& part);

class KeyTable {
 public:
  // Indexes every key of `keys`. Lookups must pass the same, unchanged list.
  void Rebuild(const StringList& keys);
  void clear();
  size_t size() const { return distinct_; }  // distinct keys

  std::optional<uint32_t> Find(const StringList& keys, std::u16string_view key) const;

  // The word IDs of every key part, 0 for a key that is not in the table.
  void FindAll(const StringList& keys, const std::vector<KeyPart>& parts, std::vector<uint32_t>& ids) const;

  struct Slot {
    uint32_t id = kEmpty;
    uint32_t start = 0;   // where the key's units begin in the list
    uint16_t length = 0;  // keys of a loaded or built table are at most 51 units
    uint16_t check = 0;   // high hash bits, to pass over most other keys without reading them
  };
  static constexpr uint32_t kEmpty = UINT32_MAX;

  // The number of slots Rebuild gives a list of `keyCount` keys.
  static size_t CapacityFor(size_t keyCount);
  // The slots, as a key table file stores them.
  const std::vector<Slot>& slotList() const { return slots_; }
  // Takes slots that Rebuild made over `keys` and a file kept. False, and the table unchanged,
  // when they cannot be such slots: a count other than CapacityFor, no empty slot (a lookup would
  // never end), or a slot whose ID, start or length is not that of a key of `keys`. Lookups stay
  // inside `keys` whatever else the slots hold.
  bool Adopt(const StringList& keys, std::vector<Slot> kept);

 private:
  size_t Home(uint64_t hash) const { return hash & mask_; }
  size_t Next(size_t i) const { return (i + 1) & mask_; }
  static uint16_t Check(uint64_t hash) { return static_cast<uint16_t>(hash >> 48); }

  std::vector<Slot> slots_;
  size_t mask_ = 0;
  size_t distinct_ = 0;
  mutable std::vector<uint64_t> hashes_;  // scratch of FindAll
};

}  // namespace tamrel
