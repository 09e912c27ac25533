// FrequentKeys: the word IDs of the keys that sentence lines hold most often, in a small table
// whose slots keep each key inline. The index build looks every token up here first: in a corpus
// of millions of sentences some tens of thousands of words make up most tokens, and this table
// (1.5 MB) stays mostly in the processor's caches, while the full key table (corpus/key_table.h)
// spreads its slots and key text over tens of megabytes, so that most of its lookups wait for
// memory. A token not
// found here is looked up in the full table, and every ID found here is the one the full table
// gives, so the word IDs of a build are the same either way.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "corpus/key_table.h"
#include "corpus/string_list.h"

namespace tamrel {

class FrequentKeys {
 public:
  static constexpr size_t kMaxUnits = 9;        // of a key kept, prefix included
  static constexpr size_t kMaxKeys = 1u << 15;  // kept at most

  // Keeps the keys of `keys` with the highest `counts` (by word ID; the lower ID first among
  // equal counts) that fit a slot, each with the word ID that `table` finds for it.
  void Choose(const StringList& keys, const KeyTable& table, const std::vector<uint32_t>& counts);

  // The word ID of `part` when it is one of the keys kept.
  std::optional<uint32_t> Find(const KeyPart& part) const;
  // The same for many parts at once, with the memory reads of all of them overlapped: sets
  // ids[t] for each part t kept, and lists the others in `missing`, in order.
  void FindAll(const std::vector<KeyPart>& parts, std::vector<uint32_t>& ids, std::vector<size_t>& missing) const;

  size_t size() const { return size_; }

 private:
  struct Slot {
    uint32_t id = KeyTable::kEmpty;
    uint16_t length = 0;  // units, prefix included
    char16_t units[kMaxUnits] = {};
  };
  std::optional<uint32_t> FindFrom(size_t home, const KeyPart& part) const;

  std::vector<Slot> slots_;
  size_t mask_ = 0;
  size_t size_ = 0;
  mutable std::vector<size_t> homes_;  // scratch of FindAll
};

}  // namespace tamrel
