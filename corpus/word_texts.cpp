#include "corpus/word_texts.h"

#include <algorithm>

namespace tamrel {

void WordTexts::Rebuild(const StringList& words) {
  slots_.clear();
  slots_.reserve(words.size());
  for (size_t id = 0; id < words.size(); ++id) Add(words, id);
}

void WordTexts::Add(const StringList& words, size_t id) {
  const std::u16string_view key = words[id];
  Slot& slot = slots_.emplace_back();
  if (key.empty()) return;  // shown as nothing, like a key of its prefix alone
  // Keys of the index files hold at most 50 units; a longer one still shows whole.
  slot.length = static_cast<uint16_t>(std::min<size_t>(key.size() - 1, kLongText));
  if (slot.length <= kInlineUnits) {
    std::memcpy(slot.units, key.data() + 1, sizeof(char16_t) * slot.length);
  } else {
    const uint32_t start = words.StartOf(id) + 1;
    std::memcpy(slot.units, &start, sizeof start);
  }
}

}  // namespace tamrel
