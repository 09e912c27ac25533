// KeyNumbering: gives every distinct key a dense number, in the order keys are first added, for
// the dictionary preparation, which counts millions of keys. The keys sit one after the other in
// a StringList and the lookup is an open-addressing table of 8-byte slots, so that a key costs
// some 30 bytes instead of a hash node and a string allocation of its own.
#pragma once

#include <cstdint>
#include <vector>

#include "corpus/key_table.h"
#include "corpus/string_list.h"

namespace tamrel {

class KeyNumbering {
 public:
  static constexpr uint32_t kNone = UINT32_MAX;

  // The number of the key `part` stands for, added when new; kNone when the key text would not
  // fit the list (more than StringList::kMaxUnits units in all) or the numbers run out.
  uint32_t Add(const KeyPart& part);
  // The number of the key, or kNone when it was never added.
  uint32_t Find(const KeyPart& part) const;

  // Every key added, by number, prefix included.
  const StringList& keys() const { return keys_; }
  size_t size() const { return keys_.size(); }
  // Frees the lookup table; the keys stay, Add and Find must not be called again.
  void ReleaseLookup() { std::vector<Slot>().swap(slots_); }

 private:
  struct Slot {
    uint32_t number = kNone;
    uint32_t check = 0;  // the hash's high bits, to pass over most other keys without reading them
  };
  // Where `part` is, or the empty slot where it would go.
  size_t Locate(const KeyPart& part, uint64_t hash) const;
  void Grow();

  StringList keys_;
  std::vector<Slot> slots_;
  size_t mask_ = 0;
};

}  // namespace tamrel
