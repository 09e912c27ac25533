#include "cli/standard_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

namespace tamrel::cli {

StandardOutput::StandardOutput() : buffer_(size_t{1} << 16) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  previous_ = std::cout.rdbuf(this);
}

StandardOutput::~StandardOutput() {
  if (previous_ == nullptr) return;
  (void)Drain();
  std::cout.rdbuf(previous_);
}

bool StandardOutput::Drain() {
  const char* at = pbase();
  while (error_ == 0 && at < pptr()) {
    const ssize_t written = ::write(STDOUT_FILENO, at, static_cast<size_t>(pptr() - at));
    if (written > 0) {
      at += written;
    } else if (written < 0 && errno == EINTR) {
      continue;
    } else {
      error_ = written < 0 ? errno : EIO;
    }
  }
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return error_ == 0;
}

StandardOutput::int_type StandardOutput::overflow(int_type c) {
  if (!Drain()) return traits_type::eof();
  if (!traits_type::eq_int_type(c, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
  }
  return traits_type::not_eof(c);
}

int StandardOutput::sync() { return Drain() ? 0 : -1; }

int StandardOutput::Finish(int code) {
  std::cout.flush();
  const bool written = Drain() && std::cout.good();
  std::cout.rdbuf(previous_);
  previous_ = nullptr;
  if (written) return code;
  std::cerr << "tamrel-cli: cannot write the output: "
            << (error_ != 0 ? std::strerror(error_) : "the output stream failed") << '\n';
  return 1;
}

}  // namespace tamrel::cli
