// ScopedEnvironment: sets or unsets environment variables for one test and puts back what was
// there when it goes, so that the runtime folder tests see exactly the environment they describe.
#pragma once

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace tamrel::test {

class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  void Set(const std::string& name, const std::string& value) {
    Save(name);
    setenv(name.c_str(), value.c_str(), 1);
  }
  void Unset(const std::string& name) {
    Save(name);
    unsetenv(name.c_str());
  }

 private:
  void Save(const std::string& name) {
    if (saved_.count(name) > 0) return;
    const char* value = std::getenv(name.c_str());
    saved_[name] = value == nullptr ? std::nullopt : std::optional<std::string>(value);
  }
  std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace tamrel::test
