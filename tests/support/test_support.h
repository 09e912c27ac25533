// Helpers shared by the core's tests: a temporary runtime folder that the test runs in, and
// reading and writing whole files as bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tamrel::test {

// Creates a fresh folder with BDict/ and data/, makes it the current directory, and on
// destruction goes back and removes it.
class RuntimeFolder {
 public:
  RuntimeFolder();
  ~RuntimeFolder();
  RuntimeFolder(const RuntimeFolder&) = delete;
  RuntimeFolder& operator=(const RuntimeFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& path);

// Writes BDict/word.dict<tag> and BDict/sents.final<tag> and builds the corpus; fails the test
// when the build fails.
void BuildSmallCorpus(std::u16string_view tag, std::string_view dictionary, std::string_view sentences);

// Little-endian byte strings, for spelling out expected file contents.
std::string U32(uint32_t v);
std::string U64(uint64_t v);

// The folder of the shared Tatoeba corpus, or empty when it is not there.
std::filesystem::path SharedTatoebaFolder();

}  // namespace tamrel::test
