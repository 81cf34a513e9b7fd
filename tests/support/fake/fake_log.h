#pragma once
// The log in memory: keeps every line, so a test can assert that a failure
// was recorded, and with which system error.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/log.h"

namespace platform {

class FakeLog : public Log {
 public:
  // "what" alone, or "what (error N)" where a system error was given.
  const std::vector<std::string>& lines() const { return lines_; }
  bool Has(const std::string& part) const {
    for (const std::string& line : lines_) {
      if (line.find(part) != std::string::npos) return true;
    }
    return false;
  }

 protected:
  void Append(const std::string& what, std::uint32_t systemError) override {
    lines_.push_back(systemError == 0 ? what
                                      : what + " (error " + std::to_string(systemError) + ")");
  }

 private:
  std::vector<std::string> lines_;
};

}  // namespace platform
