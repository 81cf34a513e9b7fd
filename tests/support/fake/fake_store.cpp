#include "tests/support/fake/fake_store.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ostream>
#include <utility>

namespace platform {

bool FakeStore::NoCaseLess::operator()(const std::string& a, const std::string& b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) <
           std::tolower(static_cast<unsigned char>(y));
  });
}

// Looks values up in the store on every call, so it sees seeding done after
// it was opened and behaves like a handle to a deleted key once its key is
// gone. Must not outlive the store for anything but destruction.
class FakeStore::Key : public StoreKey {
 public:
  Key(FakeStore* store, std::string path)
      : store_(store), path_(std::move(path)), openKeys_(store->openKeys_) {
    ++*openKeys_;
  }
  ~Key() override { --*openKeys_; }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;

  std::optional<ValueInfo> Query(const std::string& name) override {
    store_->Note("store.query " + name);
    const Value* value = Find(name);
    if (value == nullptr) return std::nullopt;
    ValueInfo info;
    info.type = value->type;
    info.size = static_cast<std::uint32_t>(value->data.size());
    return info;
  }

  bool Read(const std::string& name, std::vector<std::uint8_t>* data) override {
    store_->Note("store.read " + name);
    const Value* value = Find(name);
    if (value == nullptr || data == nullptr || store_->failReads_.count(name)) {
      return false;
    }
    *data = value->data;
    return true;
  }

  bool Write(const std::string& name, std::uint32_t type,
             const std::vector<std::uint8_t>& data) override {
    const auto key = store_->keys_.find(path_);
    if (key == store_->keys_.end() || store_->failWrites_.count(name)) {
      return false;
    }
    key->second[name] = Value{type, data};
    store_->writeLog_.push_back(name);
    return true;
  }

 private:
  const Value* Find(const std::string& name) const {
    const auto key = store_->keys_.find(path_);
    if (key == store_->keys_.end()) return nullptr;
    const auto value = key->second.find(name);
    return value == key->second.end() ? nullptr : &value->second;
  }

  FakeStore* store_;
  std::string path_;
  std::shared_ptr<std::size_t> openKeys_;
};

FakeStore::FakeStore() : openKeys_(std::make_shared<std::size_t>(0)) {}
FakeStore::~FakeStore() = default;

std::unique_ptr<StoreKey> FakeStore::Open(const std::string& path, bool create) {
  Note("store.open " + path);
  if (refuseOpen_) return nullptr;
  if (!HasKey(path)) {
    if (!create || refuseCreate_) return nullptr;
    CreateKey(path);
  }
  return std::make_unique<Key>(this, path);
}

void FakeStore::Note(const std::string& event) {
  if (eventLog_ != nullptr) eventLog_->push_back(event);
}

void FakeStore::CreateKey(const std::string& path) { keys_[path]; }

void FakeStore::SetValue(const std::string& path, const std::string& name, std::uint32_t type,
                         std::vector<std::uint8_t> data) {
  keys_[path][name] = Value{type, std::move(data)};
}

void FakeStore::DeleteKey(const std::string& path) { keys_.erase(path); }

bool FakeStore::HasKey(const std::string& path) const { return keys_.count(path) != 0; }

const FakeStore::Values* FakeStore::ValuesOf(const std::string& path) const {
  const auto key = keys_.find(path);
  return key == keys_.end() ? nullptr : &key->second;
}

std::optional<FakeStore::Value> FakeStore::GetValue(const std::string& path,
                                                    const std::string& name) const {
  const Values* values = ValuesOf(path);
  if (values == nullptr) return std::nullopt;
  const auto value = values->find(name);
  if (value == values->end()) return std::nullopt;
  return value->second;
}

void PrintTo(const FakeStore::Value& value, std::ostream* os) {
  *os << "{type " << value.type << ":";
  for (const std::uint8_t byte : value.data) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02X", static_cast<unsigned>(byte));
    *os << hex;
  }
  *os << "}";
}

}  // namespace platform
