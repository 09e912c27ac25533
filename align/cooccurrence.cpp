#include "align/cooccurrence.h"

#include <algorithm>

#include "align/english_forms.h"
#include "align/english_tokens.h"
#include "files/mapped_file.h"

namespace tamrel {

uint32_t CooccurrenceTable::Id(Ids& ids, std::vector<uint32_t>& counts, std::string_view w) {
  if (const auto it = ids.find(w); it != ids.end()) return it->second;
  ids.emplace(std::string(w), static_cast<uint32_t>(counts.size()));
  counts.push_back(0);
  return static_cast<uint32_t>(counts.size() - 1);
}

void CooccurrenceTable::Add(const std::vector<std::string_view>& chinese, const std::vector<std::string>& english) {
  std::vector<uint32_t> zh, en;
  for (std::string_view w : chinese) zh.push_back(Id(zhIds_, zhCounts_, w));
  for (const std::string& w : english) en.push_back(Id(enIds_, enCounts_, EnglishKey(w)));
  std::sort(zh.begin(), zh.end());
  zh.erase(std::unique(zh.begin(), zh.end()), zh.end());
  std::sort(en.begin(), en.end());
  en.erase(std::unique(en.begin(), en.end()), en.end());
  for (uint32_t z : zh) ++zhCounts_[z];
  for (uint32_t e : en) ++enCounts_[e];
  for (uint32_t z : zh) {
    for (uint32_t e : en) ++together_[(uint64_t{z} << 32) | e];
  }
  ++pairs_;
}

Status CooccurrenceTable::Learn(const std::filesystem::path& file, size_t maxPairs) {
  MappedFile mapped;
  if (Status status = mapped.OpenChecked(file); !status.ok()) return status;
  std::string_view rest = mapped.bytes();
  std::string_view lines[3];
  size_t have = 0;
  size_t counted = 0;
  while (!rest.empty() && counted < maxPairs) {
    const size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines[have++] = line;
    if (have == 3) {
      Add(SplitTokens(lines[0]), SplitEnglish(lines[2]));
      have = 0;
      ++counted;
    }
  }
  return Status::Ok();
}

uint32_t CooccurrenceTable::ChineseId(std::string_view chinese) const {
  const auto it = zhIds_.find(chinese);
  return it == zhIds_.end() ? kUnknown : it->second;
}

uint32_t CooccurrenceTable::EnglishId(std::string_view englishLower) const {
  const auto it = enIds_.find(englishLower);
  return it == enIds_.end() ? kUnknown : it->second;
}

double CooccurrenceTable::Dice(uint32_t chinese, uint32_t english, uint32_t minimum) const {
  if (chinese == kUnknown || english == kUnknown) return 0;
  const auto both = together_.find((uint64_t{chinese} << 32) | english);
  if (both == together_.end() || both->second < minimum) return 0;
  return 2.0 * both->second / (zhCounts_[chinese] + enCounts_[english]);
}
}  // namespace tamrel
