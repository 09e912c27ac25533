// PostingIds: the sentence IDs of one posting block seen in place in the mapped posting file,
// without a copy, for searches that read a block only in part.
#pragma once

#include <cstddef>
#include <cstdint>

#include "files/byte_coding.h"

namespace tamrel {

struct PostingIds {
  const char* bytes = nullptr;  // the first ID (corpus/index_records.h gives the block layout)
  uint32_t count = 0;
  int32_t operator[](size_t i) const { return static_cast<int32_t>(GetFixed32(bytes + 4 * i)); }
};

}  // namespace tamrel
