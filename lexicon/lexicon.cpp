#include "lexicon/lexicon.h"

#include <cmath>
#include <limits>
#include <system_error>

#include "files/text_file.h"
#include "text/code_points.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

// A frequency: 1 to 15 decimal digits, above zero; -1 otherwise.
double ParseFrequency(std::string_view text) {
  if (text.empty() || text.size() > 15) return -1;
  double value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value > 0 ? value : -1;
}

}  // namespace

void Lexicon::Clear() {
  keys_.clear();
  readingText_.clear();
  readings_.clear();
  entries_.clear();
  slots_.clear();
  rootSteps_.clear();
  wordCount_ = 0;
  unknownLogProbability_ = 0;
}

Status Lexicon::Load(const std::filesystem::path& file) {
  Clear();
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return Status::NotFound(file, "the lexicon file is missing");
  // A folder, a FIFO or a device is refused on the opened descriptor, without blocking.
  TextFile in;
  if (Status status = in.OpenChecked(file, TextFile::Mode::kRead); !status.ok()) {
    if (status.kind() == Status::Kind::kNotFound) return Status::IoError(file, "cannot be opened");
    return Status::InvalidInput(file, 0, status.reason());
  }
  const int64_t size = in.GetLength();
  if (size < 0) return Status::IoError(file, "cannot be read");
  std::string bytes(static_cast<size_t>(size), '\0');
  if (in.Read(bytes.data(), bytes.size()) != bytes.size()) return Status::IoError(file, "cannot be read");
  return Parse(bytes, file);
}

Status Lexicon::Parse(std::string_view bytes, const std::filesystem::path& file) {
  Clear();
  size_t lines = 1;
  for (char c : bytes) lines += c == '\n';
  entries_.reserve(lines + lines / 2);
  size_t slotCount = 1024;
  while (slotCount < 2 * lines) slotCount *= 2;
  {
    Step free;
    free.node = kEmpty;
    slots_.assign(slotCount, free);
  }

  std::vector<std::pair<uint32_t, double>> frequencies;  // (entry index, frequency) of each word
  std::u16string word;
  std::u16string reading;
  int64_t lineNumber = 0;
  size_t pos = 0;
  const auto refuse = [&](std::string_view reason) {
    Clear();
    return Status::InvalidInput(file, lineNumber, reason);
  };
  while (pos < bytes.size()) {
    size_t end = bytes.find('\n', pos);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(pos, end - pos);
    pos = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;

    const size_t tab1 = line.find('\t');
    const size_t tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
    if (tab2 == std::string_view::npos || line.find('\t', tab2 + 1) != std::string_view::npos) {
      return refuse("expected WORD<TAB>FREQUENCY<TAB>READINGS");
    }
    if (!StrictUtf8ToUtf16(line.substr(0, tab1), word)) return refuse("the word is not well-formed UTF-8");
    if (word.empty()) return refuse("the word is empty");
    if (word.size() > kMaxWordLength) return refuse("the word is longer than 64 UTF-16 units");
    for (char16_t unit : word) {
      if (unit <= 0x20 || unit == 0x7F) return refuse("the word holds a space or control character");
    }
    const double frequency = ParseFrequency(line.substr(tab1 + 1, tab2 - tab1 - 1));
    if (frequency <= 0) return refuse("the frequency is not a positive whole number");

    // Every proper prefix is a key too, so that a lattice walk can tell when no longer word follows.
    uint32_t node = kRoot;
    for (size_t length = 1; length <= word.size(); ++length) {
      node = Insert(node, word[length - 1], std::u16string_view(word).substr(0, length));
    }
    if (entries_[node].isWord) return refuse("the word is listed twice");
    Entry& entry = entries_[node];
    entry.isWord = true;
    ++wordCount_;
    frequencies.emplace_back(node, frequency);

    entry.firstReading = static_cast<uint32_t>(readings_.size());
    const std::string_view readingField = line.substr(tab2 + 1);
    size_t start = 0;
    while (!readingField.empty() && start <= readingField.size()) {
      size_t comma = readingField.find(',', start);
      if (comma == std::string_view::npos) comma = readingField.size();
      if (!StrictUtf8ToUtf16(readingField.substr(start, comma - start), reading)) {
        return refuse("a reading is not well-formed UTF-8");
      }
      if (reading.empty()) return refuse("a reading is empty");
      if (entry.readingCount == UINT16_MAX) return refuse("the word has too many readings");
      readings_.emplace_back(static_cast<uint32_t>(readingText_.size()), static_cast<uint32_t>(reading.size()));
      readingText_ += reading;
      ++entry.readingCount;
      start = comma + 1;
    }
  }
  if (wordCount_ == 0) {
    lineNumber = 0;  // about the file as a whole
    return refuse("the lexicon holds no words");
  }

  double total = 0;
  for (const auto& [index, frequency] : frequencies) total += frequency;
  const double logTotal = std::log(total);
  for (const auto& [index, frequency] : frequencies) {
    entries_[index].logProbability = static_cast<float>(std::log(frequency) - logTotal);
  }
  std::vector<uint8_t> childFilters(entries_.size(), 0);
  for (const Step& step : slots_) {
    if (step.node != kEmpty && step.parent != kRoot) childFilters[step.parent] |= FilterBit(step.unit);
  }
  Step free;
  free.node = kEmpty;
  std::vector<Step> rootSteps(0x10000, free);
  for (Step& step : slots_) {
    if (step.node == kEmpty) continue;
    step.childFilter = childFilters[step.node];
    step.isWord = entries_[step.node].isWord;
    step.logProbability = entries_[step.node].logProbability;
    if (step.parent == kRoot) rootSteps[step.unit] = step;
  }
  rootSteps_ = std::move(rootSteps);
  unknownLogProbability_ = static_cast<float>(-logTotal);
  FillMissingReadings();
  return Status::Ok();
}

uint32_t Lexicon::Insert(uint32_t parent, char16_t unit, std::u16string_view key) {
  if (const Step* found = Next(parent, unit)) return found->node;
  if (10 * (entries_.size() + 1) > 7 * slots_.size()) {  // at most 70% full
    std::vector<Step> old;
    old.swap(slots_);
    Step free;
    free.node = kEmpty;
    slots_.assign(old.empty() ? 1024 : 2 * old.size(), free);
    for (const Step& step : old) {
      if (step.node != kEmpty) Place(step);
    }
  }
  Entry entry;
  entry.keyOffset = static_cast<uint32_t>(keys_.size());
  entry.keyLength = static_cast<uint16_t>(key.size());
  keys_ += key;
  entries_.push_back(entry);
  Step step;
  step.parent = parent;
  step.unit = unit;
  step.node = static_cast<uint32_t>(entries_.size() - 1);
  Place(step);
  return step.node;
}

void Lexicon::Place(const Step& step) {
  const size_t mask = slots_.size() - 1;
  size_t slot = SlotOf(step.parent, step.unit) & mask;
  while (slots_[slot].node != kEmpty) slot = (slot + 1) & mask;
  slots_[slot] = step;
}

const Lexicon::Entry* Lexicon::Find(std::u16string_view key) const {
  if (key.empty()) return nullptr;
  uint32_t node = kRoot;
  for (char16_t unit : key) {
    const Step* step = Next(node, unit);
    if (step == nullptr) return nullptr;
    node = step->node;
  }
  return &entries_[node];
}

const Lexicon::Entry* Lexicon::FindWord(std::u16string_view word) const {
  const Entry* entry = Find(word);
  return entry != nullptr && entry->isWord ? entry : nullptr;
}

std::u16string_view Lexicon::Reading(const Entry& entry, size_t index) const {
  if (index >= entry.readingCount) return {};
  const auto [offset, length] = readings_[entry.firstReading + index];
  return std::u16string_view(readingText_).substr(offset, length);
}

// A word listed without readings gets the common readings of the words it is made of, joined:
// the most probable split into shorter words that the file gives readings (晚上好 reads as 晚上
// wǎnshang and 好 hǎo, not as the characters 晚 上 好; 做作业 as 做 and 作业, not 做作 and 业).
// It keeps none when one of its characters has no reading of its own.
void Lexicon::FillMissingReadings() {
  const size_t fileReadings = readings_.size();
  const auto readFromFile = [&](const Entry& e) {
    return e.isWord && e.readingCount > 0 && e.firstReading < fileReadings;
  };
  std::vector<float> best;     // log probability of the best split of the rest, from each unit
  std::vector<uint32_t> part;  // the entry of the first word of that split
  std::vector<size_t> ends;
  std::u16string composed;
  for (Entry& entry : entries_) {
    if (!entry.isWord || entry.readingCount > 0) continue;
    const std::u16string_view key = std::u16string_view(keys_).substr(entry.keyOffset, entry.keyLength);
    if (key.size() == 1) continue;
    constexpr float kNone = -std::numeric_limits<float>::infinity();
    best.assign(key.size() + 1, kNone);
    part.assign(key.size() + 1, 0);
    ends.assign(key.size() + 1, 0);
    best[key.size()] = 0;
    for (size_t at = key.size(); at-- > 0;) {
      uint32_t node = kRoot;
      for (size_t end = at; end < key.size() && end - at + 1 < key.size(); ++end) {
        const Step* step = Next(node, key[end]);
        if (step == nullptr) break;
        node = step->node;
        const Entry& reached = entries_[node];
        if (!readFromFile(reached) || best[end + 1] == kNone) continue;
        const float score = reached.logProbability + best[end + 1];
        if (score > best[at]) {
          best[at] = score;
          part[at] = node;
          ends[at] = end + 1;
        }
      }
    }
    if (best[0] == kNone) continue;
    composed.clear();
    for (size_t at = 0; at < key.size(); at = ends[at]) composed += Reading(entries_[part[at]]);
    entry.firstReading = static_cast<uint32_t>(readings_.size());
    entry.readingCount = 1;
    readings_.emplace_back(static_cast<uint32_t>(readingText_.size()), static_cast<uint32_t>(composed.size()));
    readingText_ += composed;
  }
}

std::filesystem::path FindLexicon(const std::filesystem::path& root) {
  std::vector<std::filesystem::path> candidates;
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    candidates.push_back(executable.parent_path() / "lexicon.tsv");
    candidates.push_back(executable.parent_path().parent_path() / "share/tamrel/lexicon.tsv");  // installed
  }
  candidates.push_back(root / "resources/lexicon/lexicon.tsv");
  for (const std::filesystem::path& file : candidates) {
    if (std::filesystem::is_regular_file(file, error)) return file;
  }
  return candidates.back();
}

}  // namespace tamrel
