// Settings logic against the in-memory store: codec, loading rules, saving
// order and error reporting.
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "tests/common/settings_checks.h"
#include "tests/support/fake/fake_store.h"

namespace settings {

namespace {

using namespace testing_support;
using platform::FakeStore;

// --- Codec -----------------------------------------------------------------

struct NumberVector {
  float value;
  Bytes bytes;
};

TEST(SettingsCodec, NumbersUseTheWidenedDoubleLittleEndian) {
  const NumberVector vectors[] = {
      {0.3f, {0x00, 0x00, 0x00, 0x40, 0x33, 0x33, 0xD3, 0x3F}},
      {0.7f, {0x00, 0x00, 0x00, 0x60, 0x66, 0x66, 0xE6, 0x3F}},
      {0.2f, {0x00, 0x00, 0x00, 0xA0, 0x99, 0x99, 0xC9, 0x3F}},
      {1.0f, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F}},
      {-2.0f, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0}},
      {0.0f, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  };
  for (const NumberVector& v : vectors) {
    SCOPED_TRACE(v.value);
    EXPECT_EQ(v.bytes, EncodeNumber(v.value));
    const std::optional<float> decoded = DecodeNumber(v.bytes);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(BitsOf(v.value), BitsOf(*decoded));
  }
}

TEST(SettingsCodec, DecodingRoundsDoublesToNearestFloat) {
  struct Case {
    Bytes bytes;
    float expected;
  };
  const Case cases[] = {
      // 0.1 and 0.7 written as full doubles by some other tool.
      {{0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xB9, 0x3F}, 0.1f},
      {{0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0xE6, 0x3F}, 0.7f},
      // 1 + 2^-52: far below float precision.
      {{0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F}, 1.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    const std::optional<float> decoded = DecodeNumber(c.bytes);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(BitsOf(c.expected), BitsOf(*decoded));
  }
}

TEST(SettingsCodec, NumbersOfAnyOtherLengthAreRejected) {
  for (const std::size_t size : {0u, 1u, 4u, 7u, 9u, 16u}) {
    SCOPED_TRACE(size);
    EXPECT_FALSE(DecodeNumber(Bytes(size, 0x3F)).has_value());
  }
}

TEST(SettingsCodec, TextIsRawBytesEndingAtTheFirstNul) {
  struct Case {
    const char* label;
    Bytes stored;
    std::string text;
    bool encodesToStored;  // whether EncodeText(text) must give `stored`
  };
  const Case cases[] = {
      {"empty", {0x00}, "", true},
      {"plain", {'a', 'b', 'c', 0x00}, "abc", true},
      {"latin-1 bytes kept", {0xC9, 'p', 0xE9, 0x00}, "\xC9p\xE9", true},
      {"no data", {}, "", false},
      {"no NUL", {'a', 'b', 'c'}, "abc", false},
      {"stops at first NUL", {'a', 0x00, 'b', 0x00}, "a", false},
      {"two NULs", {'x', 0x00, 0x00}, "x", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(c.text, DecodeText(c.stored));
    if (c.encodesToStored) {
      EXPECT_EQ(c.stored, EncodeText(c.text));
    }
  }
}

// --- Loading ---------------------------------------------------------------

struct Seed {
  std::string name;
  std::uint32_t type;
  Bytes data;
};

// A complete, valid set of stored values and what it loads as.
// The key and value names are written out here rather than taken from the
// header, so a typo there cannot hide from these tests.
constexpr char kPath[] = "Software\\RomboDesktop";

const Settings& StoredSettings() {
  static const Settings s = [] {
    Settings v;
    v.languageName = "Deutsch";
    v.speed = 0.7f;
    v.zoom = 0.45f;
    v.backgroundPath = "C:\\pics\\bg.bmp";
    v.topPath = "C:\\pics\\top.jpg";
    v.bottomPath = "D:\\bottom.png";
    return v;
  }();
  return s;
}

std::map<std::string, Seed> StoredSeeds() {
  const Settings& s = StoredSettings();
  const Seed seeds[] = {
      {"idioma", platform::kTypeString, TextWithNul(s.languageName)},
      {"velocidad", platform::kTypeBinary, EncodeNumber(s.speed)},
      {"zoom", platform::kTypeBinary, EncodeNumber(s.zoom)},
      {"fondo", platform::kTypeString, TextWithNul(s.backgroundPath)},
      {"tapasuperior", platform::kTypeString, TextWithNul(s.topPath)},
      {"tapainferior", platform::kTypeString, TextWithNul(s.bottomPath)},
  };
  std::map<std::string, Seed> byName;
  for (const Seed& seed : seeds) byName[seed.name] = seed;
  return byName;
}

// How many settings, in read order, are expected to come from the store;
// the rest must hold defaults.
Settings ExpectedAfterReading(int settingsRead) {
  const Settings& stored = StoredSettings();
  Settings e = Defaults();
  if (settingsRead > 0) e.languageName = stored.languageName;
  if (settingsRead > 1) e.speed = stored.speed;
  if (settingsRead > 2) e.zoom = stored.zoom;
  if (settingsRead > 3) e.backgroundPath = stored.backgroundPath;
  if (settingsRead > 4) e.topPath = stored.topPath;
  if (settingsRead > 5) e.bottomPath = stored.bottomPath;
  return e;
}

struct LoadCase {
  const char* label;
  bool createKey;
  // Applied over the complete valid set; kRemove as type removes the value.
  std::vector<Seed> changes;
  Settings expected;
  bool failReadOfSpeed = false;
  bool refuseOpen = false;
};

constexpr std::uint32_t kRemove = 0xFFFFFFFFu;
const Bytes kDword = {0x01, 0x00, 0x00, 0x00};

std::vector<LoadCase> LoadCases() {
  std::vector<LoadCase> cases;
  cases.push_back({"first run, no key", false, {}, Defaults()});
  cases.push_back({"all values valid", true, {}, ExpectedAfterReading(6)});
  {
    Settings e = ExpectedAfterReading(6);
    e.languageName = "English";
    cases.push_back({"idioma absent", true, {{"idioma", kRemove, {}}}, e});
  }
  cases.push_back({"velocidad as REG_DWORD",
                   true,
                   {{"velocidad", platform::kTypeDword, kDword}},
                   ExpectedAfterReading(1)});
  cases.push_back(
      {"velocidad absent", true, {{"velocidad", kRemove, {}}}, ExpectedAfterReading(1)});
  cases.push_back({"velocidad of 7 bytes",
                   true,
                   {{"velocidad", platform::kTypeBinary, Bytes(7, 0)}},
                   ExpectedAfterReading(1)});
  cases.push_back({"zoom of 4 bytes",
                   true,
                   {{"zoom", platform::kTypeBinary, {0, 0, 0x80, 0x3F}}},
                   ExpectedAfterReading(2)});
  cases.push_back({"zoom of 16 bytes",
                   true,
                   {{"zoom", platform::kTypeBinary, Bytes(16, 0)}},
                   ExpectedAfterReading(2)});
  cases.push_back({"zoom as text",
                   true,
                   {{"zoom", platform::kTypeString, TextWithNul("0.5")}},
                   ExpectedAfterReading(2)});
  cases.push_back({"fondo as REG_DWORD",
                   true,
                   {{"fondo", platform::kTypeDword, kDword}},
                   ExpectedAfterReading(3)});
  cases.push_back({"tapasuperior as REG_BINARY",
                   true,
                   {{"tapasuperior", platform::kTypeBinary, TextWithNul("x")}},
                   ExpectedAfterReading(4)});
  cases.push_back({"tapainferior as REG_DWORD",
                   true,
                   {{"tapainferior", platform::kTypeDword, kDword}},
                   ExpectedAfterReading(5)});
  cases.push_back({"idioma as REG_DWORD",
                   true,
                   {{"idioma", platform::kTypeDword, kDword}},
                   ExpectedAfterReading(0)});
  {
    Settings e = ExpectedAfterReading(6);
    e.backgroundPath = "";
    cases.push_back({"fondo absent", true, {{"fondo", kRemove, {}}}, e});
  }
  {
    Settings e = ExpectedAfterReading(6);
    e.languageName = "";
    cases.push_back({"idioma empty REG_SZ", true, {{"idioma", platform::kTypeString, {0x00}}}, e});
    cases.push_back(
        {"idioma REG_SZ without data", true, {{"idioma", platform::kTypeString, {}}}, e});
  }
  {
    Settings e = ExpectedAfterReading(6);
    e.backgroundPath = "%TEMP%\\bg.bmp";
    cases.push_back({"REG_EXPAND_SZ kept literally",
                     true,
                     {{"fondo", platform::kTypeExpandString, TextWithNul("%TEMP%\\bg.bmp")}},
                     e});
  }
  {
    Settings e = ExpectedAfterReading(6);
    e.topPath = "C:\\no-nul.bmp";
    cases.push_back({"text without NUL",
                     true,
                     {{"tapasuperior", platform::kTypeString, TextBytes("C:\\no-nul.bmp")}},
                     e});
  }
  {
    Settings e = ExpectedAfterReading(6);
    e.bottomPath = "C:\\a.bmp";
    Bytes withJunk = TextWithNul("C:\\a.bmp");
    const Bytes junk = TextWithNul("junk");
    withJunk.insert(withJunk.end(), junk.begin(), junk.end());
    cases.push_back({"text cut at the first NUL",
                     true,
                     {{"tapainferior", platform::kTypeString, withJunk}},
                     e});
  }
  {
    LoadCase c{"velocidad unreadable", true, {}, ExpectedAfterReading(1)};
    c.failReadOfSpeed = true;
    cases.push_back(c);
  }
  {
    LoadCase c{"key cannot be opened", true, {}, Defaults()};
    c.refuseOpen = true;
    cases.push_back(c);
  }
  return cases;
}

TEST(LoadSettings, ReadsUntilTheFirstBadValue) {
  for (const LoadCase& c : LoadCases()) {
    SCOPED_TRACE(c.label);
    FakeStore store;
    if (c.createKey) {
      std::map<std::string, Seed> seeds = StoredSeeds();
      for (const Seed& change : c.changes) {
        if (change.type == kRemove) {
          seeds.erase(change.name);
        } else {
          seeds[change.name] = change;
        }
      }
      store.CreateKey(kPath);
      for (const auto& [name, seed] : seeds) {
        store.SetValue(kPath, name, seed.type, seed.data);
      }
    }
    if (c.failReadOfSpeed) store.FailReadsOf("velocidad");
    store.set_refuse_open(c.refuseOpen);
    const FakeStore::Keys before = store.keys();

    Settings loaded = Scribbled();
    LoadSettings(store, &loaded);

    ExpectSameSettings(c.expected, loaded);
    EXPECT_EQ(before, store.keys()) << "loading must not change the store";
    EXPECT_TRUE(store.write_log().empty());
    EXPECT_EQ(0u, store.open_key_count()) << "key left open";
  }
}

TEST(LoadSettings, FirstRunCreatesNoKey) {
  FakeStore store;
  Settings loaded = Scribbled();
  LoadSettings(store, &loaded);
  ExpectSameSettings(Defaults(), loaded);
  EXPECT_FALSE(store.HasKey(kPath));
  EXPECT_TRUE(store.keys().empty());
}

TEST(LoadSettings, KeyPathIsTheProgramsKey) {
  // Values under a similarly named key must not be picked up.
  FakeStore store;
  store.SetValue("Software\\RomboDesktop2", "idioma", platform::kTypeString, TextWithNul("Other"));
  store.SetValue("software\\rombodesktop", "idioma", platform::kTypeString,
                 TextWithNul("Same key, other case"));
  Settings loaded;
  LoadSettings(store, &loaded);
  EXPECT_EQ("Same key, other case", loaded.languageName);
}

// --- Saving ----------------------------------------------------------------

const std::vector<std::string>& WriteOrder() {
  static const std::vector<std::string> order = {"idioma", "zoom",         "velocidad",
                                                 "fondo",  "tapasuperior", "tapainferior"};
  return order;
}

// The six values a Settings must be stored as.
FakeStore::Values ExpectedValues(const Settings& s) {
  FakeStore::Values v;
  v["idioma"] = {platform::kTypeString, TextWithNul(s.languageName)};
  v["velocidad"] = {platform::kTypeBinary, EncodeNumber(s.speed)};
  v["zoom"] = {platform::kTypeBinary, EncodeNumber(s.zoom)};
  v["fondo"] = {platform::kTypeString, TextWithNul(s.backgroundPath)};
  v["tapasuperior"] = {platform::kTypeString, TextWithNul(s.topPath)};
  v["tapainferior"] = {platform::kTypeString, TextWithNul(s.bottomPath)};
  return v;
}

TEST(SaveSettings, WritesAllSixValuesInOrder) {
  struct Case {
    const char* label;
    Settings settings;
  };
  Settings speedy;
  speedy.speed = 0.7f;
  Settings odd;
  odd.languageName = "Espa\xF1ol";
  odd.speed = -0.0f;
  odd.zoom = std::numeric_limits<float>::infinity();
  odd.backgroundPath = "C:\\Program Files\\fondo azul.bmp";
  odd.topPath = "%TEMP%\\top.png";
  const Case cases[] = {
      {"defaults, empty paths", Settings{}},
      {"speed 0.7", speedy},
      {"unusual values", odd},
      {"stored set", StoredSettings()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FakeStore store;
    SaveSettings(store, c.settings);
    ASSERT_TRUE(store.HasKey(kPath));
    EXPECT_EQ(ExpectedValues(c.settings), *store.ValuesOf(kPath));
    EXPECT_EQ(WriteOrder(), store.write_log());
    EXPECT_EQ(0u, store.open_key_count()) << "key left open";

    Settings loaded = Scribbled();
    LoadSettings(store, &loaded);
    ExpectSameSettings(c.settings, loaded);
  }
}

TEST(SaveSettings, SpeedSevenTenthsIsStoredAsKnownBytes) {
  FakeStore store;
  Settings s;
  s.speed = 0.7f;
  SaveSettings(store, s);
  const std::optional<FakeStore::Value> v = store.GetValue(kPath, "velocidad");
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(static_cast<std::uint32_t>(platform::kTypeBinary), v->type);
  EXPECT_EQ((Bytes{0x00, 0x00, 0x00, 0x60, 0x66, 0x66, 0xE6, 0x3F}), v->data);
  const std::optional<FakeStore::Value> empty = store.GetValue(kPath, "fondo");
  ASSERT_TRUE(empty.has_value());
  EXPECT_EQ(Bytes{0x00}, empty->data) << "empty path must be a single NUL";
}

TEST(SaveSettings, ReplacesOldValuesAndLeavesOthersAlone) {
  FakeStore store;
  store.SetValue(kPath, "velocidad", platform::kTypeDword, kDword);
  store.SetValue(kPath, "fondo", platform::kTypeString, TextWithNul("old.bmp"));
  store.SetValue(kPath, "unrelated", platform::kTypeDword, kDword);
  Settings s;  // empty background: must overwrite, not delete
  SaveSettings(store, s);

  FakeStore::Values expected = ExpectedValues(s);
  expected["unrelated"] = {platform::kTypeDword, kDword};
  EXPECT_EQ(expected, *store.ValuesOf(kPath));
}

TEST(SaveSettings, SavingTwiceGivesIdenticalData) {
  FakeStore store;
  SaveSettings(store, StoredSettings());
  const FakeStore::Keys first = store.keys();
  SaveSettings(store, StoredSettings());
  EXPECT_EQ(first, store.keys());
  EXPECT_EQ(2 * WriteOrder().size(), store.write_log().size());
}

TEST(SaveSettings, WriteFailureNamesTheValueAndStopsThere) {
  struct Case {
    const char* failing;
    const char* message;
    std::vector<std::string> written;
  };
  const Case cases[] = {
      {"idioma", "Failed to set data for 'idioma'", {}},
      {"zoom", "Failed to set data for 'zoom'", {"idioma"}},
      {"velocidad", "Failed to set data for 'velocidad'", {"idioma", "zoom"}},
      {"fondo", "Failed to set data for 'fondo'", {"idioma", "zoom", "velocidad"}},
      {"tapasuperior",
       "Failed to set data for 'tapasuperior'",
       {"idioma", "zoom", "velocidad", "fondo"}},
      {"tapainferior",
       "Failed to set data for 'tapainferior'",
       {"idioma", "zoom", "velocidad", "fondo", "tapasuperior"}},
  };
  const Settings& s = StoredSettings();
  const FakeStore::Values all = ExpectedValues(s);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failing);
    FakeStore store;
    store.FailWritesOf(c.failing);
    try {
      SaveSettings(store, s);
      ADD_FAILURE() << "no error thrown";
    } catch (const SaveError& e) {
      EXPECT_STREQ(c.message, e.what());
      EXPECT_EQ(c.failing, e.valueName());
    }
    EXPECT_EQ(c.written, store.write_log());
    FakeStore::Values expected;
    for (const std::string& name : c.written) expected[name] = all.at(name);
    EXPECT_EQ(expected, *store.ValuesOf(kPath));
    EXPECT_EQ(0u, store.open_key_count()) << "key left open after error";
  }
}

TEST(SaveSettings, KeyThatCannotBeHadFailsOnTheFirstValue) {
  struct Case {
    const char* label;
    bool refuseOpen;
    bool refuseCreate;
    bool keyExists;
    bool expectError;
  };
  const Case cases[] = {
      {"cannot create missing key", false, true, false, true},
      {"cannot open at all", true, false, false, true},
      {"cannot open existing key", true, false, true, true},
      {"existing key needs no creation", false, true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FakeStore store;
    if (c.keyExists) store.CreateKey(kPath);
    store.set_refuse_open(c.refuseOpen);
    store.set_refuse_create(c.refuseCreate);
    bool thrown = false;
    try {
      SaveSettings(store, Settings{});
    } catch (const std::runtime_error& e) {  // SaveError is one
      thrown = true;
      EXPECT_STREQ("Failed to set data for 'idioma'", e.what());
    }
    EXPECT_EQ(c.expectError, thrown);
    EXPECT_EQ(c.keyExists, store.HasKey(kPath));
    EXPECT_EQ(c.expectError ? 0u : WriteOrder().size(), store.write_log().size());
  }
}

}  // namespace
}  // namespace settings
