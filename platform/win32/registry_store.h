#pragma once
// KeyValueStore over the Windows registry.
#include <windows.h>

#include <memory>
#include <string>

#include "platform/key_value_store.h"

namespace platform {

// Owns an opened registry key and closes it once. Predefined roots such as
// HKEY_CURRENT_USER are never wrapped, so they are never closed.
class UniqueRegKey {
 public:
  UniqueRegKey() = default;
  explicit UniqueRegKey(HKEY key) : key_(key) {}
  ~UniqueRegKey() { reset(); }
  UniqueRegKey(UniqueRegKey&& other) noexcept : key_(other.release()) {}
  UniqueRegKey& operator=(UniqueRegKey&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueRegKey(const UniqueRegKey&) = delete;
  UniqueRegKey& operator=(const UniqueRegKey&) = delete;

  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }
  HKEY release() {
    HKEY key = key_;
    key_ = nullptr;
    return key;
  }
  void reset(HKEY key = nullptr) {
    if (key_ != nullptr) RegCloseKey(key_);
    key_ = key;
  }

 private:
  HKEY key_ = nullptr;
};

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
