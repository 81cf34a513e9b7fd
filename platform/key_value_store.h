#pragma once
// A typed key-value store with the shape of the per-user registry: keys by
// path, values with a numeric type and raw bytes.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Value types, numbered as the registry numbers them.
enum ValueType : std::uint32_t {
  kTypeNone = 0,
  kTypeString = 1,        // REG_SZ
  kTypeExpandString = 2,  // REG_EXPAND_SZ
  kTypeBinary = 3,        // REG_BINARY
  kTypeDword = 4,         // REG_DWORD
};

struct ValueInfo {
  std::uint32_t type = kTypeNone;
  std::uint32_t size = 0;
};

// An open key; closing happens when the object is destroyed.
class StoreKey {
 public:
  virtual ~StoreKey() = default;
  // Type and size of a value, or nothing when the value is absent.
  virtual std::optional<ValueInfo> Query(const std::string& name) = 0;
  // Reads the value's bytes; false when it cannot be read.
  virtual bool Read(const std::string& name, std::vector<std::uint8_t>* data) = 0;
  // Writes (creates or replaces) a value; false when it cannot be written.
  virtual bool Write(const std::string& name, std::uint32_t type,
                     const std::vector<std::uint8_t>& data) = 0;
};

class KeyValueStore {
 public:
  virtual ~KeyValueStore() = default;
  // Opens a key below the per-user root with full access. With create set,
  // a missing key is created. Returns null when the key cannot be had.
  virtual std::unique_ptr<StoreKey> Open(const std::string& path, bool create) = 0;
};

}  // namespace platform
