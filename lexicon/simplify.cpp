#include "lexicon/simplify.h"

#include <Config.hpp>
#include <Conversion.hpp>
#include <ConversionChain.hpp>
#include <Converter.hpp>
#include <Dict.hpp>
#include <DictEntry.hpp>
#include <Exception.hpp>
#include <Lexicon.hpp>

#include "lexicon/segmenter.h"
#include "text/code_points.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

// The length of the run of Han characters (surrogate pairs whole) that starts at `at`; 0 when
// the text there is not Han.
size_t HanRunLength(std::u16string_view text, size_t at) {
  size_t end = at;
  while (end < text.size()) {
    const CodePoint c = CodePointAt(text, end);
    if (c.lone || !IsHan(c.value)) break;
    end += c.units;
  }
  return end - at;
}

}  // namespace

Status Simplifier::Open(const std::string& config) {
  converter_.reset();
  changedUnit_.assign(0x10000, false);
  try {
    opencc::Config loader;
    const opencc::ConverterPtr converter = loader.NewFromFile(config);
    // The units that some dictionary entry replaces: where a value differs from its key (all of
    // the key when their lengths differ). An entry that changes a run changes one of them, so
    // OpenCC leaves a run that holds none as it is, and it need not be asked.
    for (const opencc::ConversionPtr& conversion : converter->GetConversionChain()->GetConversions()) {
      const opencc::LexiconPtr entries = conversion->GetDict()->GetLexicon();
      for (const auto& entry : *entries) {
        const std::u16string key = Utf8ToUtf16(entry->Key());
        for (const std::string& value : entry->Values()) {
          const std::u16string replacement = Utf8ToUtf16(value);
          for (size_t i = 0; i < key.size(); ++i) {
            if (replacement.size() != key.size() || replacement[i] != key[i]) changedUnit_[key[i]] = true;
          }
        }
      }
    }
    converter_ = converter;
  } catch (const opencc::Exception& error) {  // OpenCC's exceptions are not std::exception
    converter_.reset();
    return Status::NotFound(config, std::string("OpenCC cannot load it: ") + error.what());
  } catch (const std::exception& error) {
    converter_.reset();
    return Status::NotFound(config, std::string("OpenCC cannot load it: ") + error.what());
  }
  return Status::Ok();
}

bool Simplifier::MayChange(std::u16string_view run) const {
  for (char16_t unit : run) {
    if (changedUnit_[unit]) return true;
  }
  return false;
}

std::u16string Simplifier::ToSimplified(std::u16string_view text) const {
  if (converter_ == nullptr) return std::u16string(text);
  std::u16string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const size_t run = HanRunLength(text, at);
    if (run == 0) {
      out.push_back(text[at]);
      ++at;
      continue;
    }
    const std::u16string_view han = text.substr(at, run);
    at += run;
    if (!MayChange(han)) {
      out += han;
      continue;
    }
    try {
      AppendUtf8AsUtf16(converter_->Convert(Utf16ToUtf8(han)), out);
    } catch (...) {  // OpenCC refused the run (it throws its own exception types): keep it
      out += han;
    }
  }
  return out;
}

}  // namespace tamrel
