#pragma once
// KeyValueStore over the Windows registry.
#include <windows.h>

#include <memory>
#include <string>

#include "platform/key_value_store.h"
#include "platform/win32/handles.h"

namespace platform {

// An opened registry key, closed once.
using UniqueRegKey = win32::RegKey;

class RegistryStore : public KeyValueStore {
 public:
  // Paths are taken below root, which is borrowed, not owned: it must stay
  // open while this store and the keys it hands out are in use. Tests pass a
  // scratch key here so they never touch the user's real settings.
  explicit RegistryStore(HKEY root = HKEY_CURRENT_USER) : root_(root) {}

  // Opens (or creates) with KEY_ALL_ACCESS, non-volatile, default security.
  std::unique_ptr<StoreKey> Open(const std::string& path, bool create) override;

 private:
  HKEY root_;
};

}  // namespace platform
