#include "tests/support/corpus_writer.h"

#include <map>
#include <sstream>

#include "corpus/corpus_files.h"
#include "corpus/index_build.h"
#include "tests/support/test_support.h"
#include "text/text_utils.h"

namespace tamrel::test {

namespace {

class Dictionary {
 public:
  void Add(const std::string& key, size_t sentenceId) {
    auto [it, added] = postings_.try_emplace(key);
    if (added) order_.push_back(key);
    if (it->second.empty() || it->second.back() != sentenceId) it->second.push_back(sentenceId);
  }
  void Reserve(const std::string& key) {
    if (postings_.try_emplace(key).second) order_.push_back(key);
  }
  std::string Text() const {
    std::ostringstream out;
    for (const std::string& key : order_) {
      const std::vector<size_t>& ids = postings_.at(key);
      if (ids.empty()) continue;
      out << key << '\t';
      for (size_t i = 0; i < ids.size(); ++i) out << (i ? " " : "") << ids[i] << ":1";
      out << '\n';
    }
    return out.str();
  }

 private:
  std::vector<std::string> order_;
  std::map<std::string, std::vector<size_t>> postings_;
};

std::vector<std::string> Tokens(const std::string& line) {
  std::vector<std::string> tokens;
  std::istringstream in(line);
  for (std::string token; in >> token;) tokens.push_back(token);
  return tokens;
}

}  // namespace

Status WriteCorpus(const std::filesystem::path& root, std::u16string_view tag, const std::vector<SentenceGroup>& groups,
                   const std::vector<std::string>& chineseFirst) {
  Dictionary chinese;
  Dictionary others;
  Dictionary english;
  for (const std::string& word : chineseFirst) chinese.Reserve("0" + word);
  std::string sentences;
  for (size_t id = 0; id < groups.size(); ++id) {
    const SentenceGroup& group = groups[id];
    sentences += group.chinese + "\n" + group.pinyin + "\n" + group.english + "\n";
    for (const std::string& token : Tokens(group.chinese)) chinese.Add("0" + token, id);
    for (const std::string& token : Tokens(group.pinyin)) others.Add("1" + token, id);
    for (const std::string& token : Tokens(group.english)) {
      english.Add("3" + token, id);
      std::u16string search = Utf8ToUtf16(token);
      NormaliseWord(search);
      if (!search.empty()) english.Add("2" + Utf16ToUtf8(search), id);
    }
  }
  WriteBytes(CorpusFileName(root, CorpusFile::kDictionary, tag), chinese.Text() + others.Text() + english.Text());
  WriteBytes(CorpusFileName(root, CorpusFile::kSentences, tag), sentences);
  return BuildCorpus(root, tag);
}

}  // namespace tamrel::test
