#include "tests/support/test_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#include "corpus/corpus_files.h"
#include "corpus/index_build.h"
#include "files/fault_injection.h"

namespace tamrel::test {

RuntimeFolder::RuntimeFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tamrel-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
  path_ = pattern;
  std::filesystem::create_directory(path_ / "BDict");
  std::filesystem::create_directory(path_ / "data");
}

RuntimeFolder::~RuntimeFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void MakeFifo(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  ASSERT_EQ(mkfifo(path.c_str(), 0644), 0) << "cannot make a FIFO at " << path;
}

bool ReturnsWithin(double seconds, const std::vector<std::filesystem::path>& fifos, const std::function<void()>& work) {
  std::promise<void> done;
  std::future<void> finished = done.get_future();
  std::thread worker([&] {
    work();
    done.set_value();
  });
  const bool inTime = finished.wait_for(std::chrono::duration<double>(seconds)) == std::future_status::ready;
  if (!inTime) {
    ADD_FAILURE() << "did not return within " << seconds << " s: blocked on a FIFO?";
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (finished.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
      if (std::chrono::steady_clock::now() > giveUp) {
        std::fprintf(stderr, "still blocked after the FIFOs were released: giving up\n");
        std::abort();
      }
      for (const auto& fifo : fifos) {
        const int fd = open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) close(fd);
      }
    }
  }
  worker.join();
  return inTime;
}

void BuildSmallCorpus(const std::filesystem::path& root, std::u16string_view tag, std::string_view dictionary,
                      std::string_view sentences) {
  WriteBytes(CorpusFileName(root, CorpusFile::kDictionary, tag), dictionary);
  WriteBytes(CorpusFileName(root, CorpusFile::kSentences, tag), sentences);
  const Status status = BuildCorpus(root, tag);
  ASSERT_TRUE(status.ok()) << status.ToString();
}

// Spelled out by hand rather than through the index codec, so a fault in the codec cannot
// appear on both sides of a comparison.
std::string U32(uint32_t v) {
  std::string s;
  for (int shift = 0; shift < 32; shift += 8) s += static_cast<char>((v >> shift) & 0xFF);
  return s;
}

std::string U64(uint64_t v) {
  std::string s;
  for (int shift = 0; shift < 64; shift += 8) s += static_cast<char>((v >> shift) & 0xFF);
  return s;
}

std::vector<std::u16string> StringsOf(const StringList& list) {
  std::vector<std::u16string> out;
  for (size_t i = 0; i < list.size(); ++i) out.emplace_back(list[i]);
  return out;
}

std::filesystem::path SharedTatoebaFolder() {
  // Tests run from the build tree; the shared folder sits beside the checkout.
  for (auto dir = std::filesystem::path(TAMREL_SOURCE_DIR); !dir.empty() && dir != dir.root_path();
       dir = dir.parent_path()) {
    const auto candidate = dir / "shared" / "corpora" / "tatoeba" / "BDict";
    if (std::filesystem::exists(candidate / "word.dictBI")) return candidate;
  }
  return {};
}

const Simplifier& OpenedSimplifier() {
  static const Simplifier simplifier = [] {
    Simplifier opened;
    const Status status = opened.Open();
    if (!status.ok()) ADD_FAILURE() << status.ToString();
    return opened;
  }();
  return simplifier;
}

int64_t ForEachFileFault(const std::function<Status()>& operation,
                         const std::function<void(const Status& status, const std::string& failed)>& check, int error) {
  for (int64_t n = 1; n < 100000; ++n) {
    InjectNthFileFault(n, error);
    const Status status = operation();
    const std::string failed = FailedFileOperation();
    const int64_t operations = CountedFileOperations();
    ClearFileFaults();
    if (failed.empty()) {
      EXPECT_TRUE(status.ok()) << status.ToString();
      return operations;
    }
    SCOPED_TRACE("run " + std::to_string(n) + ", failing: " + failed);
    check(status, failed);
    if (::testing::Test::HasFailure()) return -1;
  }
  ADD_FAILURE() << "no run without a fault";
  return -1;
}

void ExpectToldTheDiskIsFull(const Status& status, const std::string& failed) {
  const std::string file = failed.substr(failed.find(' ') + 1);
  EXPECT_NE(status.ToString().find(file), std::string::npos) << status.ToString();
  EXPECT_NE(status.ToString().find("the disk is full"), std::string::npos) << status.ToString();
}

}  // namespace tamrel::test
