#include "lexicon/simplify.h"

#include <Config.hpp>
#include <Conversion.hpp>
#include <ConversionChain.hpp>
#include <Converter.hpp>
#include <Dict.hpp>
#include <DictEntry.hpp>
#include <Exception.hpp>
#include <Lexicon.hpp>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <system_error>

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

// The folders OpenCC's data is installed to: Debian's and most distributions' packages, a build
// installed under /usr/local, Homebrew. The library tells its users none of them.
constexpr const char* kOpenCCDataFolders[] = {"/usr/share/opencc", "/usr/local/share/opencc",
                                              "/opt/homebrew/share/opencc"};

// The file of OpenCC's configuration `config`: a path as it is, a bare name in the first of OpenCC's
// data folders that holds it. Never the current folder, where OpenCC itself would look first, so
// that a file there of the same name cannot take the place of OpenCC's own. Empty when no folder
// holds it, `status` then NotFound naming the folders.
std::filesystem::path FindConfiguration(const std::string& config, Status& status) {
  const std::filesystem::path given(config);
  if (given.has_parent_path()) return given;
  std::string folders;
  for (const char* folder : kOpenCCDataFolders) {
    const std::filesystem::path file = std::filesystem::path(folder) / given;
    std::error_code error;
    if (std::filesystem::is_regular_file(file, error)) return file;
    folders += (folders.empty() ? "" : ", ") + std::string(folder);
  }
  status = Status::NotFound(config, "OpenCC's configuration is in none of its data folders (" + folders + ")");
  return {};
}

// Makes every dictionary file a configuration names ("file": "TSPhrases.ocd2") a path in `folder`:
// OpenCC looks for a bare name in the current folder before the configuration's own.
void AnchorDictionaries(nlohmann::json& node, const std::filesystem::path& folder) {
  if (node.is_object()) {
    for (auto& [key, value] : node.items()) {
      if (key == "file" && value.is_string() && std::filesystem::path(value.get<std::string>()).is_relative()) {
        value = (folder / value.get<std::string>()).string();
      } else {
        AnchorDictionaries(value, folder);
      }
    }
  } else if (node.is_array()) {
    for (nlohmann::json& element : node) AnchorDictionaries(element, folder);
  }
}

}  // namespace

Status Simplifier::Open(const std::string& config) {
  converter_.reset();
  changedUnit_.assign(0x10000, false);
  Status found;
  const std::filesystem::path file = FindConfiguration(config, found);
  if (!found.ok()) return found;
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  if (!in) return Status::NotFound(file, "OpenCC's configuration cannot be read");
  nlohmann::json json = nlohmann::json::parse(text.str(), nullptr, /*allow_exceptions=*/false);
  if (json.is_discarded()) return Status::NotFound(file, "OpenCC cannot load it: it is not JSON");
  std::error_code noCurrentFolder;
  const std::filesystem::path folder = std::filesystem::absolute(file, noCurrentFolder).parent_path();
  AnchorDictionaries(json, folder);
  try {
    opencc::Config loader;
    const opencc::ConverterPtr converter = loader.NewFromString(json.dump(), folder.string() + "/");
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
    return Status::NotFound(file, std::string("OpenCC cannot load it: ") + error.what());
  } catch (const std::exception& error) {
    converter_.reset();
    return Status::NotFound(file, std::string("OpenCC cannot load it: ") + error.what());
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
