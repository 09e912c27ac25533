// WordTexts: the text of every word of a word table as result sentences show it (the key without
// its prefix), one 16-byte slot per word ID: the text itself when it has at most 7 units, else
// where it lies in the word list. A result sentence of some 25 words of a large corpus reads one
// slot per word instead of the end of its key and then its units, two memory reads that wait on
// each other: that wait was most of the time of a one-word query.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "corpus/string_list.h"

namespace tamrel {

class WordTexts {
 public:
  static constexpr size_t kInlineUnits = 7;

  // Makes the slots of `words` (each key's text starts after its first unit).
  void Rebuild(const StringList& words);
  void Add(const StringList& words, size_t id);  // the slot of words[id], appended as slot id
  void Clear() { slots_.clear(); }
  void Reserve(size_t count) { slots_.reserve(count); }
  size_t size() const { return slots_.size(); }

  size_t Length(const StringList& words, uint32_t id) const {
    const uint16_t length = slots_[id].length;
    return length != kLongText ? length : words[id].size() - 1;
  }
  // Whether the text of `id` lies in the word list rather than in its slot.
  bool Outside(uint32_t id) const { return slots_[id].length > kInlineUnits; }
  void PrefetchSlot(uint32_t id) const { __builtin_prefetch(&slots_[id]); }
  // Writes the text of `id` at `out` and returns the end of it. `out` must have room for
  // kInlineUnits units even when the text is shorter: a short text is copied as a whole slot.
  // `words` is the list the slots were made from.
  char16_t* Copy(const StringList& words, uint32_t id, char16_t* out) const {
    const Slot& slot = slots_[id];
    if (slot.length <= kInlineUnits) {
      std::memcpy(out, slot.units, sizeof slot.units);
      return out + slot.length;
    }
    const size_t length = Length(words, id);
    std::memcpy(out, words.Units(Start(id), length).data(), sizeof(char16_t) * length);
    return out + length;
  }

 private:
  static constexpr uint16_t kLongText = UINT16_MAX;  // the length is that of the key, less one

  struct Slot {
    uint16_t length = 0;                // units of the text, or kLongText
    char16_t units[kInlineUnits] = {};  // the text, or its start in the word list (2 units)
  };
  static_assert(sizeof(Slot) == 16);

  uint32_t Start(uint32_t id) const {
    uint32_t start;
    std::memcpy(&start, slots_[id].units, sizeof start);
    return start;
  }

  std::vector<Slot> slots_;
};

}  // namespace tamrel
