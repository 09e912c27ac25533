#include "bench/bench_config.h"

#include <cstdlib>
#include <iostream>
#include <sstream>

namespace tamrel::bench {

namespace {

std::string EnvOr(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : fallback;
}

}  // namespace

std::filesystem::path DataRoot() {
  return std::filesystem::absolute(EnvOr("TAMREL_BENCH_DATA", TAMREL_BENCH_DEFAULT_DATA)).lexically_normal();
}

std::filesystem::path QueryFile() {
  return std::filesystem::absolute(EnvOr("TAMREL_BENCH_QUERIES", TAMREL_BENCH_DEFAULT_QUERIES)).lexically_normal();
}

int QueryRepetitions() {
  const int reps = std::atoi(EnvOr("TAMREL_BENCH_REPS", "5").c_str());
  return reps > 0 ? reps : 5;
}

std::vector<BenchCorpus> BenchCorpora() {
  std::vector<BenchCorpus> corpora;
  std::istringstream names(EnvOr("TAMREL_BENCH_CORPORA", "tatoeba syn1M"));
  std::string name;
  while (names >> name) {
    BenchCorpus corpus{name, DataRoot() / name};
    std::error_code error;
    const auto size = std::filesystem::file_size(corpus.SentenceFile(), error);
    if (error) {
      std::cerr << "skipping corpus " << name << ": no " << corpus.SentenceFile() << " (run bench/prepare_data.sh)\n";
      continue;
    }
    corpus.sentenceBytes = static_cast<int64_t>(size);
    corpora.push_back(std::move(corpus));
  }
  return corpora;
}

}  // namespace tamrel::bench
