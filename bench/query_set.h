// The benchmark queries and the statistics reported over their latencies. A query list has one
// query per line, KIND<TAB>QUERY[<TAB>anything]; the kinds are en1 (one English word), en2 (two
// English words), zh1 (one Chinese word) and zhN (several Chinese words, separated by spaces),
// and those of kTypedReadingKinds.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tamrel::bench {

inline constexpr const char* kQueryKinds[] = {"en1", "en2", "zh1", "zhN"};

// Kinds run through the whole search command, Tamrel alone: pinyin typed in any notation, and
// text that finds nothing as typed (spaces around it, traditional characters, inflected English,
// nothing at all), which goes on to the other readings.
inline constexpr const char* kTypedReadingKinds[] = {"pinyin", "fallback"};

struct BenchQuery {
  std::string kind;
  std::string text;  // UTF-8, as in the file
};

// The queries of `path` in file order; empty lines are skipped. Empty when the file cannot be read.
std::vector<BenchQuery> LoadQueries(const std::filesystem::path& path);

// The queries of one kind, in file order.
std::vector<BenchQuery> QueriesOfKind(const std::vector<BenchQuery>& all, const std::string& kind);

// Nearest-rank percentile (p in 0..100) of a non-empty list; 0 for an empty one.
double Percentile(std::vector<double> values, double p);

// The median as the middle value, or the mean of the two middle values.
double Median(std::vector<double> values);

}  // namespace tamrel::bench
