#include "align/english_tokens.h"

#include <array>

namespace tamrel {

namespace {

// The length of the punctuation mark at the start of `s`, 0 when it starts with none: ASCII
// marks, and the curly quotes, dashes and ellipsis of UTF-8 text.
size_t MarkAt(std::string_view s) {
  static constexpr std::string_view kAscii = ".,!?;:\"'()[]{}<>";
  static constexpr std::array<std::string_view, 8> kWide = {"\xE2\x80\x9C", "\xE2\x80\x9D", "\xE2\x80\x98",
                                                            "\xE2\x80\x99", "\xE2\x80\x94", "\xE2\x80\x93",
                                                            "\xE2\x80\xA6", "\xC2\xA0"};
  if (s.empty()) return 0;
  if (kAscii.find(s[0]) != std::string_view::npos) return 1;
  for (std::string_view w : kWide) {
    if (s.starts_with(w)) return w.size();
  }
  return 0;
}

size_t MarkBefore(std::string_view s) {
  for (size_t n = 1; n <= 3 && n <= s.size(); ++n) {
    if (MarkAt(s.substr(s.size() - n)) == n) return n;
  }
  return 0;
}

}  // namespace

std::vector<std::string_view> SplitTokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

std::vector<std::string> SplitEnglish(std::string_view line) {
  std::vector<std::string> tokens;
  for (std::string_view word : SplitTokens(line)) {
    std::vector<std::string> tail;
    while (size_t n = MarkAt(word)) {
      tokens.emplace_back(word.substr(0, n));
      word.remove_prefix(n);
    }
    while (size_t n = MarkBefore(word)) {
      tail.emplace_back(word.substr(word.size() - n));
      word.remove_suffix(n);
    }
    if (!word.empty()) tokens.emplace_back(word);
    tokens.insert(tokens.end(), tail.rbegin(), tail.rend());
  }
  return tokens;
}

}  // namespace tamrel
