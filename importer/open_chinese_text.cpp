#include "importer/open_chinese_text.h"

#include <mutex>
#include <system_error>

#include "lexicon/lexicon.h"
#include "lexicon/pinyin.h"
#include "lexicon/segmenter.h"
#include "lexicon/simplify.h"

namespace tamrel {

namespace {

// The language tools of the lexicon: OpenCC's simplification, the lattice segmenter and the
// lexicon's readings. The segmenter keeps working memory, so calls are serialised; the words of
// the last segmentation are kept, so that their pinyin comes from the same tokens.
class LexiconText : public ChineseText {
 public:
  Status Open(const std::filesystem::path& lexiconFile) {
    if (Status loaded = lexicon_.Load(lexiconFile); !loaded.ok()) return loaded;
    return simplifier_.Open();
  }

  std::u16string ToSimplified(std::u16string_view text) const override { return simplifier_.ToSimplified(text); }

  std::vector<std::u16string> Segment(std::u16string_view text) const override {
    std::lock_guard<std::mutex> hold(mutex_);
    lastText_.assign(text);
    lastTokens_.clear();
    std::vector<std::u16string> words;
    for (const Token& token : segmenter_.Segment(lastText_)) {
      if (token.kind == TokenKind::kSpace) continue;  // words are separated by single spaces
      lastTokens_.push_back(token);
      words.emplace_back(std::u16string_view(lastText_).substr(token.begin, token.length));
    }
    return words;
  }

  std::vector<std::u16string> Pinyin(const std::vector<std::u16string>& words) const override {
    std::lock_guard<std::mutex> hold(mutex_);
    // The words of the last segmentation are read together, as one line, so that a word's
    // reading may depend on its neighbours (很长 hěn cháng, 长了 zhǎng le).
    if (SameAsLastTokens(words)) return tamrel::Pinyin(lexicon_, lastText_, lastTokens_);
    std::vector<std::u16string> readings;
    readings.reserve(words.size());
    for (size_t i = 0; i < words.size(); ++i) {
      // Words that did not come from the last segmentation: each read on its own, its tokens'
      // readings run together so that it keeps one pinyin token.
      std::u16string reading;
      for (const Token& token : segmenter_.Segment(words[i])) reading += TokenPinyin(lexicon_, words[i], token);
      readings.push_back(reading.empty() ? words[i] : reading);
    }
    return readings;
  }

 private:
  bool SameAsLastTokens(const std::vector<std::u16string>& words) const {
    if (words.size() != lastTokens_.size()) return false;
    for (size_t i = 0; i < words.size(); ++i) {
      if (std::u16string_view(lastText_).substr(lastTokens_[i].begin, lastTokens_[i].length) != words[i]) return false;
    }
    return true;
  }

  Lexicon lexicon_;
  Simplifier simplifier_;
  mutable std::mutex mutex_;
  mutable Segmenter segmenter_{lexicon_};
  mutable std::u16string lastText_;
  mutable std::vector<Token> lastTokens_;
};

}  // namespace

std::unique_ptr<ChineseText> OpenChineseText(const std::filesystem::path& root, Status& status) {
  auto text = std::make_unique<LexiconText>();
  status = text->Open(FindLexicon(root));
  if (!status.ok()) return nullptr;
  return text;
}

}  // namespace tamrel
