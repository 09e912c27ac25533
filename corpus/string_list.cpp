#include "corpus/string_list.h"

namespace tamrel {

std::vector<std::u16string> StringList::ToVector() const {
  std::vector<std::u16string> out;
  out.reserve(size());
  for (size_t i = 0; i < size(); ++i) out.emplace_back((*this)[i]);
  return out;
}

}  // namespace tamrel
