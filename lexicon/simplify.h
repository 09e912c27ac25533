// Traditional to simplified Chinese with OpenCC (its t2s configuration), applied to text before
// segmentation so that traditional sentences find the simplified words of the lexicon.
#pragma once

#include <string>
#include <string_view>

#include "corpus/status.h"

namespace tamrel {

class Simplifier {
 public:
  Simplifier() = default;
  ~Simplifier();
  Simplifier(const Simplifier&) = delete;
  Simplifier& operator=(const Simplifier&) = delete;

  // Opens OpenCC's configuration `config` (a name OpenCC finds in its data folder, or a path);
  // NotFound naming it when OpenCC cannot load it.
  [[nodiscard]] Status Open(const std::string& config = "t2s.json");
  bool isOpen() const { return handle_ != nullptr; }

  // `text` in simplified characters. Only runs of Han characters go through OpenCC; everything
  // else, unpaired surrogates included, is copied as it stands. A run OpenCC cannot convert, or
  // any text while the converter is not open, is copied unchanged.
  std::u16string ToSimplified(std::u16string_view text) const;

 private:
  void* handle_ = nullptr;  // opencc_t
};

}  // namespace tamrel
