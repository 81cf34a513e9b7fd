#pragma once
#include "platform/dialogs.h"

namespace platform::win32 {

// The shell's "open" verb: the user's default browser shows the address.
class Win32Browser : public Browser {
 public:
  void Open(const std::string& address) override;
};

}  // namespace platform::win32
