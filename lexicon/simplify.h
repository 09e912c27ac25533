// Traditional to simplified Chinese with OpenCC (its t2s configuration), applied to text before
// segmentation so that traditional sentences find the simplified words of the lexicon.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "files/status.h"

namespace opencc {
class Converter;
}

namespace tamrel {

class Simplifier {
 public:
  // Opens OpenCC's configuration `config`: a name is looked for in the folders OpenCC's data is
  // installed to (/usr/share/opencc first), never in the current folder; a path with a folder is
  // used as it is. NotFound naming the file, or the name and the folders looked in, when it is
  // not there or OpenCC cannot load it.
  [[nodiscard]] Status Open(const std::string& config = "t2s.json");
  bool isOpen() const { return converter_ != nullptr; }

  // `text` in simplified characters. Only runs of Han characters that hold a character one of
  // OpenCC's dictionary entries replaces go through OpenCC (most text is simplified already, and OpenCC is
  // slow next to the segmenter); everything else, unpaired surrogates included, is copied as it
  // stands. A run OpenCC cannot convert, or any text while nothing is open, is copied unchanged.
  std::u16string ToSimplified(std::u16string_view text) const;

 private:
  bool MayChange(std::u16string_view run) const;

  std::shared_ptr<const opencc::Converter> converter_;
  std::vector<bool> changedUnit_;  // per UTF-16 unit: some dictionary entry replaces it
};

}  // namespace tamrel
