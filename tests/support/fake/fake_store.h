#pragma once
// In-memory KeyValueStore for tests. Keys exist only once created (or
// seeded); key paths and value names compare case-insensitively, as in the
// registry. It can be told to refuse opening or creating keys and to fail
// reading or writing given value names, and to note its opens and reads in an
// event log shared with other fakes.
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/key_value_store.h"

namespace platform {

class FakeStore : public KeyValueStore {
 public:
  struct Value {
    std::uint32_t type = kTypeNone;
    std::vector<std::uint8_t> data;
    bool operator==(const Value& other) const { return type == other.type && data == other.data; }
    bool operator!=(const Value& other) const { return !(*this == other); }
  };

  // ASCII case-insensitive ordering, enough for key paths and value names.
  struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const;
  };
  using Values = std::map<std::string, Value, NoCaseLess>;
  using Keys = std::map<std::string, Values, NoCaseLess>;

  FakeStore();
  ~FakeStore() override;
  FakeStore(const FakeStore&) = delete;
  FakeStore& operator=(const FakeStore&) = delete;

  std::unique_ptr<StoreKey> Open(const std::string& path, bool create) override;

  // --- Seeding -------------------------------------------------------------
  void CreateKey(const std::string& path);
  // Creates the key when needed and stores the value as given.
  void SetValue(const std::string& path, const std::string& name, std::uint32_t type,
                std::vector<std::uint8_t> data);
  void DeleteKey(const std::string& path);

  // --- Faults --------------------------------------------------------------
  // Every Open fails, existing key or not.
  void set_refuse_open(bool refuse) { refuseOpen_ = refuse; }
  // Open with create fails for a key that does not exist yet.
  void set_refuse_create(bool refuse) { refuseCreate_ = refuse; }
  // Writes of this value name fail (in any key) and leave it unchanged.
  void FailWritesOf(const std::string& name) { failWrites_.insert(name); }
  // Reads of this value name fail; Query still reports it.
  void FailReadsOf(const std::string& name) { failReads_.insert(name); }

  // Every Open, Query and Read from now on appends "store.open <path>",
  // "store.query <name>" or "store.read <name>" to *log (null: none).
  void set_event_log(std::vector<std::string>* log) { eventLog_ = log; }

  // --- Inspection ----------------------------------------------------------
  const Keys& keys() const { return keys_; }
  bool HasKey(const std::string& path) const;
  // The values of a key, or null when the key does not exist.
  const Values* ValuesOf(const std::string& path) const;
  std::optional<Value> GetValue(const std::string& path, const std::string& name) const;
  // Value names in the order their writes succeeded, across all keys.
  const std::vector<std::string>& write_log() const { return writeLog_; }
  // Keys handed out by Open and not destroyed yet.
  std::size_t open_key_count() const { return *openKeys_; }

 private:
  class Key;

  Keys keys_;
  bool refuseOpen_ = false;
  bool refuseCreate_ = false;
  std::set<std::string, NoCaseLess> failWrites_;
  std::set<std::string, NoCaseLess> failReads_;
  std::vector<std::string> writeLog_;
  std::vector<std::string>* eventLog_ = nullptr;
  void Note(const std::string& event);
  // Shared with open keys so a key outliving the store does not touch freed
  // memory when it is destroyed.
  std::shared_ptr<std::size_t> openKeys_;
};

// Readable test failure output: type and bytes in hex.
void PrintTo(const FakeStore::Value& value, std::ostream* os);

}  // namespace platform
