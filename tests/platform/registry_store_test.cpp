// The registry-backed store and the settings logic against the real registry
// (run under Wine or on Windows). Values are seeded and checked with the raw
// API so the store's own code is not used to judge itself.
//
// Everything happens below a scratch key, HKCU\Software\RomboDesktopTests\<n>,
// which is handed to RegistryStore as its root; the user's real settings are
// only touched by the RealKey tests, which are disabled and meant to be run by
// test_registry_cli.sh in a throw-away Wine prefix.
#include <windows.h>

#include "platform/win32/registry_store.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "tests/common/settings_checks.h"

namespace {

using namespace settings::testing_support;
using platform::UniqueRegKey;
using settings::Settings;

constexpr char kScratchParent[] = "Software\\RomboDesktopTests";
constexpr char kSettingsPath[] = "Software\\RomboDesktop";

struct RawValue {
  DWORD type = REG_NONE;
  Bytes data;
};

// Known encodings of the floats used below, as little-endian doubles.
const Bytes kBytes03 = {0x00, 0x00, 0x00, 0x40, 0x33, 0x33, 0xD3, 0x3F};
const Bytes kBytes07 = {0x00, 0x00, 0x00, 0x60, 0x66, 0x66, 0xE6, 0x3F};
const Bytes kBytes02 = {0x00, 0x00, 0x00, 0xA0, 0x99, 0x99, 0xC9, 0x3F};
const Bytes kDword = {0x01, 0x00, 0x00, 0x00};

UniqueRegKey OpenRaw(HKEY parent, const std::string& path, REGSAM access) {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(parent, path.c_str(), 0, access, &raw) != ERROR_SUCCESS) {
    return UniqueRegKey();
  }
  return UniqueRegKey(raw);
}

UniqueRegKey CreateRaw(HKEY parent, const std::string& path) {
  HKEY raw = nullptr;
  if (RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &raw, nullptr) != ERROR_SUCCESS) {
    return UniqueRegKey();
  }
  return UniqueRegKey(raw);
}

std::optional<RawValue> QueryRaw(HKEY key, const std::string& name) {
  RawValue value;
  DWORD size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.data.resize(size);
  if (RegQueryValueExA(key, name.c_str(), nullptr, &value.type,
                       value.data.empty() ? nullptr : value.data.data(), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.data.resize(size);
  return value;
}

bool SetRaw(HKEY key, const std::string& name, DWORD type, const Bytes& data) {
  return RegSetValueExA(key, name.c_str(), 0, type, data.empty() ? nullptr : data.data(),
                        static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

// A fresh, empty key per test, removed with everything below it afterwards.
class ScratchRoot {
 public:
  ScratchRoot() {
    static unsigned counter = 0;
    path_ = std::string(kScratchParent) + "\\" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());  // leftovers of a crash
    key_ = CreateRaw(HKEY_CURRENT_USER, path_);
  }
  ~ScratchRoot() {
    key_.reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
    // Only succeeds once no other run is using the parent.
    RegDeleteKeyA(HKEY_CURRENT_USER, kScratchParent);
  }
  ScratchRoot(const ScratchRoot&) = delete;
  ScratchRoot& operator=(const ScratchRoot&) = delete;

  HKEY get() const { return key_.get(); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  UniqueRegKey key_;
};

class RegistrySettings : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(root_.get() != nullptr); }

  UniqueRegKey SettingsKey() { return CreateRaw(root_.get(), kSettingsPath); }
  bool SettingsKeyExists() {
    return static_cast<bool>(OpenRaw(root_.get(), kSettingsPath, KEY_READ));
  }

  ScratchRoot root_;
};

struct Seed {
  const char* name;
  DWORD type;
  Bytes data;
};

// A valid stored set and what it loads as.
std::vector<Seed> ValidSeeds() {
  return {
      {"idioma", REG_SZ, TextWithNul("Deutsch")},
      {"velocidad", REG_BINARY, kBytes07},
      {"zoom", REG_BINARY, kBytes03},
      {"fondo", REG_SZ, TextWithNul("C:\\pics\\bg.bmp")},
      {"tapasuperior", REG_SZ, TextWithNul("C:\\pics\\top.jpg")},
      {"tapainferior", REG_SZ, TextWithNul("D:\\bottom.png")},
  };
}

Settings ExpectedAfterReading(int settingsRead) {
  Settings e = Defaults();
  if (settingsRead > 0) e.languageName = "Deutsch";
  if (settingsRead > 1) e.speed = 0.7f;
  if (settingsRead > 2) e.zoom = 0.3f;
  if (settingsRead > 3) e.backgroundPath = "C:\\pics\\bg.bmp";
  if (settingsRead > 4) e.topPath = "C:\\pics\\top.jpg";
  if (settingsRead > 5) e.bottomPath = "D:\\bottom.png";
  return e;
}

TEST_F(RegistrySettings, FirstRunLoadsDefaultsAndCreatesNothing) {
  platform::RegistryStore store(root_.get());
  Settings loaded = Scribbled();
  settings::LoadSettings(store, &loaded);
  ExpectSameSettings(Defaults(), loaded);
  EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(RegistrySettings, LoadStopsAtTheFirstBadValue) {
  struct Case {
    const char* label;
    std::vector<Seed> changes;  // over the valid set; type REG_NONE deletes
    Settings expected;
  };
  std::vector<Case> cases;
  cases.push_back({"all valid", {}, ExpectedAfterReading(6)});
  {
    Settings e = ExpectedAfterReading(6);
    e.languageName = "English";
    cases.push_back({"idioma absent", {{"idioma", REG_NONE, {}}}, e});
  }
  cases.push_back(
      {"velocidad REG_DWORD", {{"velocidad", REG_DWORD, kDword}}, ExpectedAfterReading(1)});
  cases.push_back({"velocidad absent", {{"velocidad", REG_NONE, {}}}, ExpectedAfterReading(1)});
  cases.push_back(
      {"zoom 4 bytes", {{"zoom", REG_BINARY, {0, 0, 0x80, 0x3F}}}, ExpectedAfterReading(2)});
  cases.push_back({"zoom 16 bytes", {{"zoom", REG_BINARY, Bytes(16, 0)}}, ExpectedAfterReading(2)});
  cases.push_back({"fondo REG_DWORD", {{"fondo", REG_DWORD, kDword}}, ExpectedAfterReading(3)});
  cases.push_back({"tapainferior REG_BINARY",
                   {{"tapainferior", REG_BINARY, TextWithNul("x")}},
                   ExpectedAfterReading(5)});
  {
    Settings e = ExpectedAfterReading(6);
    e.languageName = "";
    cases.push_back({"idioma empty REG_SZ", {{"idioma", REG_SZ, {0}}}, e});
    cases.push_back({"idioma REG_SZ without data", {{"idioma", REG_SZ, {}}}, e});
  }
  {
    Settings e = ExpectedAfterReading(6);
    e.backgroundPath = "%TEMP%\\bg.bmp";
    cases.push_back({"REG_EXPAND_SZ taken literally",
                     {{"fondo", REG_EXPAND_SZ, TextWithNul("%TEMP%\\bg.bmp")}},
                     e});
  }
  {
    Settings e = ExpectedAfterReading(6);
    e.topPath = "C:\\no-nul.bmp";
    cases.push_back(
        {"REG_SZ without NUL", {{"tapasuperior", REG_SZ, TextBytes("C:\\no-nul.bmp")}}, e});
  }
  {
    Settings e = ExpectedAfterReading(6);
    e.bottomPath = "C:\\a.bmp";
    Bytes withJunk = TextWithNul("C:\\a.bmp");
    const Bytes junk = TextWithNul("junk");
    withJunk.insert(withJunk.end(), junk.begin(), junk.end());
    cases.push_back({"REG_SZ cut at the first NUL", {{"tapainferior", REG_SZ, withJunk}}, e});
  }

  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    RegDeleteTreeA(root_.get(), kSettingsPath);
    {
      UniqueRegKey key = SettingsKey();
      ASSERT_TRUE(key);
      for (const Seed& seed : ValidSeeds()) {
        ASSERT_TRUE(SetRaw(key.get(), seed.name, seed.type, seed.data));
      }
      for (const Seed& change : c.changes) {
        if (change.type == REG_NONE) {
          ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueA(key.get(), change.name));
        } else {
          ASSERT_TRUE(SetRaw(key.get(), change.name, change.type, change.data));
        }
      }
    }
    platform::RegistryStore store(root_.get());
    Settings loaded = Scribbled();
    settings::LoadSettings(store, &loaded);
    ExpectSameSettings(c.expected, loaded);
  }
}

TEST_F(RegistrySettings, SaveWritesExactBytes) {
  struct Case {
    const char* label;
    Settings settings;
    // name, type, bytes as they must be found afterwards
    std::vector<Seed> stored;
  };
  Settings defaults = Defaults();
  Settings custom;
  custom.languageName = "Deutsch";
  custom.speed = 0.7f;
  custom.zoom = 0.2f;
  custom.backgroundPath = "C:\\Program Files\\fondo azul.bmp";
  custom.topPath = "";
  custom.bottomPath = "%TEMP%\\b.bmp";
  const Case cases[] = {
      {"defaults",
       defaults,
       {{"idioma", REG_SZ, TextWithNul("English")},
        {"velocidad", REG_BINARY, kBytes03},
        {"zoom", REG_BINARY, kBytes02},
        {"fondo", REG_SZ, {0}},
        {"tapasuperior", REG_SZ, {0}},
        {"tapainferior", REG_SZ, {0}}}},
      {"custom",
       custom,
       {{"idioma", REG_SZ, TextWithNul("Deutsch")},
        {"velocidad", REG_BINARY, kBytes07},
        {"zoom", REG_BINARY, kBytes02},
        {"fondo", REG_SZ, TextWithNul("C:\\Program Files\\fondo azul.bmp")},
        {"tapasuperior", REG_SZ, {0}},
        {"tapainferior", REG_SZ, TextWithNul("%TEMP%\\b.bmp")}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    RegDeleteTreeA(root_.get(), kSettingsPath);
    {
      // An old value of the wrong type and a foreign one: the first must be
      // replaced, the second left alone.
      UniqueRegKey key = SettingsKey();
      ASSERT_TRUE(SetRaw(key.get(), "velocidad", REG_DWORD, kDword));
      ASSERT_TRUE(SetRaw(key.get(), "ajeno", REG_DWORD, kDword));
    }
    platform::RegistryStore store(root_.get());
    ASSERT_NO_THROW(settings::SaveSettings(store, c.settings));

    UniqueRegKey key = OpenRaw(root_.get(), kSettingsPath, KEY_READ);
    ASSERT_TRUE(key);
    for (const Seed& want : c.stored) {
      SCOPED_TRACE(want.name);
      const std::optional<RawValue> got = QueryRaw(key.get(), want.name);
      ASSERT_TRUE(got.has_value());
      EXPECT_EQ(want.type, got->type);
      EXPECT_EQ(want.data, got->data);
    }
    const std::optional<RawValue> foreign = QueryRaw(key.get(), "ajeno");
    ASSERT_TRUE(foreign.has_value());
    EXPECT_EQ(kDword, foreign->data);

    Settings loaded = Scribbled();
    settings::LoadSettings(store, &loaded);
    ExpectSameSettings(c.settings, loaded);
  }
}

TEST_F(RegistrySettings, SavingTwiceGivesIdenticalData) {
  const char* const names[] = {"idioma", "velocidad",    "zoom",
                               "fondo",  "tapasuperior", "tapainferior"};
  Settings s = Defaults();
  s.languageName =
      "Fran\xE7"
      "ais";  // a non-ASCII ANSI byte
  s.backgroundPath = "C:\\x.bmp";
  platform::RegistryStore store(root_.get());
  std::vector<RawValue> first;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_NO_THROW(settings::SaveSettings(store, s));
    UniqueRegKey key = OpenRaw(root_.get(), kSettingsPath, KEY_READ);
    ASSERT_TRUE(key);
    for (std::size_t i = 0; i < std::size(names); ++i) {
      const std::optional<RawValue> got = QueryRaw(key.get(), names[i]);
      ASSERT_TRUE(got.has_value()) << names[i];
      if (round == 0) {
        first.push_back(*got);
      } else {
        EXPECT_EQ(first[i].type, got->type) << names[i];
        EXPECT_EQ(first[i].data, got->data) << names[i];
      }
    }
  }
  Settings loaded;
  settings::LoadSettings(store, &loaded);
  ExpectSameSettings(s, loaded);
}

TEST_F(RegistrySettings, KeyThatCannotBeCreatedFailsOnIdioma) {
  // Roots below which the registry refuses to create a lasting key.
  enum class Root { kVolatile, kDeleted };
  struct Case {
    const char* label;
    Root root;
  };
  const Case cases[] = {
      {"volatile parent (children must be volatile too)", Root::kVolatile},
      {"parent deleted while open", Root::kDeleted},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string sub = "parent";
    HKEY raw = nullptr;
    const DWORD options = c.root == Root::kVolatile ? REG_OPTION_VOLATILE : REG_OPTION_NON_VOLATILE;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root_.get(), sub.c_str(), 0, nullptr, options,
                                             KEY_ALL_ACCESS, nullptr, &raw, nullptr));
    UniqueRegKey parent(raw);
    if (c.root == Root::kDeleted) {
      ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(root_.get(), sub.c_str()));
    }
    platform::RegistryStore store(parent.get());
    try {
      settings::SaveSettings(store, Defaults());
      ADD_FAILURE() << "no error thrown";
    } catch (const settings::SaveError& e) {
      EXPECT_STREQ("Failed to set data for 'idioma'", e.what());
    }
    EXPECT_FALSE(OpenRaw(parent.get(), kSettingsPath, KEY_READ));
    Settings loaded = Scribbled();
    settings::LoadSettings(store, &loaded);
    ExpectSameSettings(Defaults(), loaded);
    parent.reset();
    RegDeleteTreeA(root_.get(), sub.c_str());
  }
}

TEST_F(RegistrySettings, QueryAndReadReportTypeAndSize) {
  struct Case {
    const char* name;
    DWORD type;
    Bytes data;
  };
  const Case cases[] = {
      {"binary", REG_BINARY, kBytes07},
      {"dword", REG_DWORD, kDword},
      {"empty binary", REG_BINARY, {}},
      {"text", REG_SZ, TextWithNul("abc")},
      {"expand", REG_EXPAND_SZ, TextWithNul("%PATH%")},
  };
  {
    UniqueRegKey key = SettingsKey();
    for (const Case& c : cases) ASSERT_TRUE(SetRaw(key.get(), c.name, c.type, c.data));
  }
  platform::RegistryStore store(root_.get());
  std::unique_ptr<platform::StoreKey> key = store.Open(kSettingsPath, false);
  ASSERT_TRUE(key);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<platform::ValueInfo> info = key->Query(c.name);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(c.type, info->type);
    Bytes data = {0xEE};  // must be replaced, not appended to
    ASSERT_TRUE(key->Read(c.name, &data));
    EXPECT_EQ(c.data, data);
    if (c.type == REG_BINARY || c.type == REG_DWORD) {
      EXPECT_EQ(c.data.size(), info->size);
    }
  }
  EXPECT_FALSE(key->Query("missing").has_value());
  Bytes data;
  EXPECT_FALSE(key->Read("missing", &data));
}

// --- Against the real key, for test_registry_cli.sh only --------------------

// The values this writes are what the script expects `reg query` to show.
TEST(RealKey, DISABLED_Save) {
  Settings s;
  s.languageName = "Deutsch";
  s.speed = 0.7f;
  s.zoom = 0.2f;
  s.backgroundPath = "C:\\fondo azul.bmp";
  s.topPath = "";
  s.bottomPath = "%TEMP%\\b.bmp";
  platform::RegistryStore store;
  ASSERT_NO_THROW(settings::SaveSettings(store, s));
}

// Expects what the script seeded with `reg add`.
TEST(RealKey, DISABLED_Load) {
  Settings expected = Defaults();
  expected.languageName = "Francais";
  expected.speed = 0.7f;
  expected.zoom = 0.3f;
  expected.backgroundPath = "%TEMP%\\x.bmp";
  expected.topPath = "";
  expected.bottomPath = "C:\\b.bmp";
  platform::RegistryStore store;
  Settings loaded = Scribbled();
  settings::LoadSettings(store, &loaded);
  ExpectSameSettings(expected, loaded);
}

}  // namespace
