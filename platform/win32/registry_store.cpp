#include "platform/win32/registry_store.h"

#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace platform {
namespace {

// A value can change size between asking for its size and reading it;
// retry a few times rather than loop forever against a busy writer.
constexpr int kReadAttempts = 4;

class RegistryKey : public StoreKey {
 public:
  explicit RegistryKey(UniqueRegKey key) : key_(std::move(key)) {}

  std::optional<ValueInfo> Query(const std::string& name) override {
    DWORD type = REG_NONE;
    DWORD size = 0;
    const LSTATUS status =
        RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
    ValueInfo info;
    if (status == ERROR_SUCCESS) {
      info.type = type;
      info.size = size;
    }
    // Otherwise the value exists but cannot be examined: report it as a
    // typeless, empty value so that readers treat it as unusable rather
    // than as never saved.
    return info;
  }

  bool Read(const std::string& name, std::vector<std::uint8_t>* data) override {
    if (data == nullptr) return false;
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
      DWORD size = 0;
      LSTATUS status = RegQueryValueExA(key_.get(), name.c_str(), nullptr, nullptr, nullptr, &size);
      if (status != ERROR_SUCCESS) return false;
      data->resize(size);
      // The ANSI call may report more bytes than it finally delivers (and,
      // for text, with or without the NUL), so the second size is the truth.
      status = RegQueryValueExA(key_.get(), name.c_str(), nullptr, nullptr,
                                data->empty() ? nullptr : data->data(), &size);
      if (status == ERROR_SUCCESS) {
        data->resize(size);
        return true;
      }
      if (status != ERROR_MORE_DATA) return false;
    }
    return false;
  }

  bool Write(const std::string& name, std::uint32_t type,
             const std::vector<std::uint8_t>& data) override {
    if (data.size() > std::numeric_limits<DWORD>::max()) return false;
    return RegSetValueExA(key_.get(), name.c_str(), 0, type, data.empty() ? nullptr : data.data(),
                          static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
  }

 private:
  UniqueRegKey key_;
};

}  // namespace

std::unique_ptr<StoreKey> RegistryStore::Open(const std::string& path, bool create) {
  HKEY raw = nullptr;
  const LSTATUS status =
      create ? RegCreateKeyExA(root_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, &raw, nullptr)
             : RegOpenKeyExA(root_, path.c_str(), 0, KEY_ALL_ACCESS, &raw);
  if (status != ERROR_SUCCESS) return nullptr;
  UniqueRegKey key(raw);  // owned from here even if allocation below throws
  return std::make_unique<RegistryKey>(std::move(key));
}

}  // namespace platform
