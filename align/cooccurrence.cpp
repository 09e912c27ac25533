#include "align/cooccurrence.h"

#include <algorithm>

#include "align/english_forms.h"
#include "align/english_tokens.h"
#include "files/mapped_file.h"

namespace tamrel {

uint32_t CooccurrenceTable::Id(std::unordered_map<std::string, uint32_t>& ids, std::vector<uint32_t>& counts,
                               std::string_view w) {
  auto [it, added] = ids.try_emplace(std::string(w), static_cast<uint32_t>(counts.size()));
  if (added) counts.push_back(0);
  return it->second;
}

void CooccurrenceTable::Add(const std::vector<std::string_view>& chinese, const std::vector<std::string>& english) {
  std::vector<uint32_t> zh, en;
  for (std::string_view w : chinese) zh.push_back(Id(zhIds_, zhCounts_, w));
  for (const std::string& w : english) en.push_back(Id(enIds_, enCounts_, LowerAscii(w)));
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

Status CooccurrenceTable::Learn(const std::filesystem::path& file) {
  MappedFile mapped;
  if (Status status = mapped.OpenChecked(file); !status.ok()) return status;
  std::string_view rest = mapped.bytes();
  std::string_view lines[3];
  size_t have = 0;
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines[have++] = line;
    if (have == 3) {
      Add(SplitTokens(lines[0]), SplitEnglish(lines[2]));
      have = 0;
    }
  }
  return Status::Ok();
}

double CooccurrenceTable::Dice(std::string_view chinese, std::string_view englishLower, uint32_t minimum) const {
  const auto z = zhIds_.find(std::string(chinese));
  const auto e = enIds_.find(std::string(englishLower));
  if (z == zhIds_.end() || e == enIds_.end()) return 0;
  const auto both = together_.find((uint64_t{z->second} << 32) | e->second);
  if (both == together_.end() || both->second < minimum) return 0;
  return 2.0 * both->second / (zhCounts_[z->second] + enCounts_[e->second]);
}

}  // namespace tamrel
