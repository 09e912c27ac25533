#include "explorer/hsk_levels.h"

#include <algorithm>

#include "corpus/key_table_file.h"
#include "files/mapped_file.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

constexpr size_t kHskColumn = 6;

// The bucket of an HSK cell: "1"-"6" or "7-9"; none for anything else.
bool BucketOfCell(std::string_view cell, uint8_t& bucket) {
  if (cell == "7-9") {
    bucket = 6;
    return true;
  }
  if (cell.size() == 1 && cell[0] >= '1' && cell[0] <= '6') {
    bucket = static_cast<uint8_t>(cell[0] - '1');
    return true;
  }
  return false;
}

}  // namespace

HskLevels ParseHskLevels(std::string_view dictionary) {
  HskLevels levels;
  std::string pairs;  // what the digest covers
  size_t start = 0;
  while (start < dictionary.size()) {
    size_t end = dictionary.find('\n', start);
    if (end == std::string_view::npos) end = dictionary.size();
    const std::string_view line = dictionary.substr(start, end - start);
    start = end + 1;
    if (line.empty() || line[0] == '#') continue;
    std::string_view cells[kHskColumn + 1];
    size_t from = 0;
    size_t column = 0;
    for (; column <= kHskColumn; ++column) {
      const size_t tab = line.find('\t', from);
      cells[column] = line.substr(from, tab == std::string_view::npos ? std::string_view::npos : tab - from);
      if (tab == std::string_view::npos) break;
      from = tab + 1;
    }
    uint8_t bucket = 0;
    if (column < kHskColumn || !BucketOfCell(cells[kHskColumn], bucket)) continue;
    const auto [at, isNew] = levels.bucketOf.try_emplace(Utf8ToUtf16(cells[0]), bucket);
    if (!isNew) at->second = std::min(at->second, bucket);
    pairs.append(cells[0]);
    pairs.push_back('\t');
    pairs.push_back(static_cast<char>('1' + bucket));
    pairs.push_back('\n');
  }
  levels.digest = Digest64(pairs);
  return levels;
}

Status ReadHskLevels(const std::filesystem::path& path, HskLevels& levels) {
  MappedFile file;
  if (Status status = file.OpenChecked(path); !status.ok()) return status;
  levels = ParseHskLevels(file.bytes());
  return Status::Ok();
}

}  // namespace tamrel
