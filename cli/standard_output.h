// The standard output of tamrel-cli. Every command prints its answer through std::cout; this
// buffer writes it to file descriptor 1 and keeps the reason of the first write that failed (a
// full disk, a closed pipe), so that the program can say its answer was lost and exit 1 rather
// than report success.
#pragma once

#include <streambuf>
#include <vector>

namespace tamrel::cli {

class StandardOutput final : public std::streambuf {
 public:
  // Takes the place of std::cout's buffer until Finish or the destructor.
  StandardOutput();
  ~StandardOutput() override;
  StandardOutput(const StandardOutput&) = delete;
  StandardOutput& operator=(const StandardOutput&) = delete;

  // Writes what is buffered and gives std::cout its own buffer back. `code` when every byte of the
  // output was written; otherwise 1, after saying on standard error why the output was lost.
  int Finish(int code);

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  // Writes the buffered bytes; false once any write has failed (later bytes are dropped).
  bool Drain();

  std::vector<char> buffer_;
  std::streambuf* previous_ = nullptr;
  int error_ = 0;  // errno of the first write that failed
};

}  // namespace tamrel::cli
