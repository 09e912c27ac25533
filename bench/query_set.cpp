#include "bench/query_set.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace tamrel::bench {

std::vector<BenchQuery> LoadQueries(const std::filesystem::path& path) {
  std::vector<BenchQuery> queries;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t tab = line.find('\t');
    if (line.empty() || tab == std::string::npos) continue;
    const size_t end = line.find('\t', tab + 1);
    queries.push_back({line.substr(0, tab), line.substr(tab + 1, end == std::string::npos ? end : end - tab - 1)});
  }
  return queries;
}

std::vector<BenchQuery> QueriesOfKind(const std::vector<BenchQuery>& all, const std::string& kind) {
  std::vector<BenchQuery> chosen;
  std::copy_if(all.begin(), all.end(), std::back_inserter(chosen), [&](const BenchQuery& q) { return q.kind == kind; });
  return chosen;
}

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<ptrdiff_t>(std::ceil(p / 100 * static_cast<double>(values.size()))) - 1;
  return values[static_cast<size_t>(std::clamp<ptrdiff_t>(rank, 0, static_cast<ptrdiff_t>(values.size()) - 1))];
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t mid = values.size() / 2;
  return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

}  // namespace tamrel::bench
