// Every language file that ships beside the program: it is read by the
// program's own parser, defines all interface texts, and holds only
// Windows-1252 text.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "lang/interface_texts.h"
#include "lang/lang_text.h"
#include "lang/unitLangFile.h"

namespace {

std::vector<std::string> ShippedFiles() {
  // Paths separated by "|".
  std::vector<std::string> paths;
  std::stringstream list(ROMBO_SHIPPED_LANGUAGES);
  std::string path;
  while (std::getline(list, path, '|')) paths.push_back(path);
  return paths;
}

std::vector<std::uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
}

class ShippedLanguageTest : public testing::TestWithParam<std::string> {};

TEST_P(ShippedLanguageTest, DefinesEveryInterfaceTextOnce) {
  const std::vector<std::uint8_t> bytes = ReadAll(GetParam());
  ASSERT_FALSE(bytes.empty()) << GetParam();
  lang::MemoryStream stream(bytes);
  lang::TLangFile file;
  file.ParseStream(stream);
  std::set<std::string> wanted;
  for (const lang::InterfaceText& row : lang::kInterfaceTexts) {
    const std::string text = file.Lookup(row.key, "");
    EXPECT_FALSE(text.empty()) << GetParam() << ": " << row.key;
    // A misspelt reference would show as written.
    EXPECT_EQ(text.find("&amp;"), std::string::npos) << row.key;
    EXPECT_EQ(text.find(';'), std::string::npos) << row.key << ": " << text;
    wanted.insert(lang::LowerAscii(row.key));
  }
  EXPECT_EQ(wanted.size(), 17u);  // "Common.OK" serves both dialogs
  // The balloons' texts name the combinations and the window where "%s"
  // stands, once; the tray icon's tip the desktop's number.
  const std::pair<lang::MessageText, std::string> messages[] = {
      {lang::kHotkeysTaken, lang::kCombinationPlaceholder},
      {lang::kTrayDesktop, lang::kDesktopNumberPlaceholder},
      {lang::kRunAsAdministrator, lang::kWindowTitlePlaceholder}};
  for (const auto& [message, mark] : messages) {
    const std::string taken = file.Lookup(message.key, "");
    const std::size_t placeholder = taken.find(mark);
    EXPECT_NE(placeholder, std::string::npos) << GetParam() << ": " << taken;
    EXPECT_EQ(taken.find(mark, placeholder + 1), std::string::npos);
    EXPECT_EQ(taken.find(';'), std::string::npos) << taken;
    wanted.insert(lang::LowerAscii(message.key));
  }
  const std::string elevated = file.Lookup(lang::kRunsElevated.key, "");
  EXPECT_FALSE(elevated.empty()) << GetParam();
  EXPECT_EQ(elevated.find(';'), std::string::npos) << elevated;
  wanted.insert(lang::LowerAscii(lang::kRunsElevated.key));
  // Nothing else, and nothing twice: a second entry would be ignored.
  EXPECT_EQ(std::set<std::string>(file.Keys().begin(), file.Keys().end()), wanted);
  EXPECT_EQ(file.Keys().size(), wanted.size());
}

TEST_P(ShippedLanguageTest, IsWindows1252WithoutAByteOrderMark) {
  const std::vector<std::uint8_t> bytes = ReadAll(GetParam());
  ASSERT_GE(bytes.size(), 3u);
  EXPECT_FALSE(bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF);
  // Bytes that Windows-1252 leaves undefined, and controls other than
  // the line ends.
  for (const std::uint8_t byte : bytes) {
    EXPECT_TRUE(byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D)
        << std::hex << int{byte};
    EXPECT_TRUE(byte >= 0x20 || byte == '\r' || byte == '\n') << std::hex << int{byte};
  }
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedLanguageTest, testing::ValuesIn(ShippedFiles()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           const std::size_t slash = info.param.find_last_of('/');
                           const std::size_t dot = info.param.find_last_of('.');
                           return info.param.substr(slash + 1, dot - slash - 1);
                         });

TEST(ShippedLanguagesTest, AreTheFourLanguages) {
  std::set<std::string> names;
  for (const std::string& path : ShippedFiles())
    names.insert(path.substr(path.find_last_of('/') + 1));
  EXPECT_EQ(names, (std::set<std::string>{"Deutsch.lang", "English.lang", "Espanol.lang",
                                          "Francais.lang"}));
}

// The shipped file of that name, read by the program's parser.
lang::TLangFile ParseShipped(const std::string& name) {
  std::string found;
  for (const std::string& path : ShippedFiles()) {
    if (path.find(name) != std::string::npos) found = path;
  }
  const std::vector<std::uint8_t> bytes = ReadAll(found);
  lang::MemoryStream stream(bytes);
  lang::TLangFile file;
  file.ParseStream(stream);
  return file;
}

TEST(ShippedLanguagesTest, SpanishAccentsComeOutAsWindows1252) {
  const lang::TLangFile file = ParseShipped("Espanol.lang");
  EXPECT_EQ(file.Lookup("Settings.Caption", ""), "Configuraci\xF3n");
  EXPECT_EQ(file.Lookup("Settings.SpeedFast", ""), "R\xE1pido");
  EXPECT_EQ(file.Lookup("TrayMenu.Settings", ""), "&Configuraci\xF3n");
}

TEST(ShippedLanguagesTest, EnglishSaysWhatTheBuiltInTextsSay) {
  const lang::TLangFile file = ParseShipped("English.lang");
  for (const lang::InterfaceText& row : lang::kInterfaceTexts) {
    EXPECT_EQ(file.Lookup(row.key, ""), row.defaultText) << row.key;
  }
  EXPECT_EQ(file.Lookup(lang::kHotkeysTaken.key, ""), lang::kHotkeysTaken.defaultText);
  EXPECT_EQ(file.Lookup(lang::kRunsElevated.key, ""), lang::kRunsElevated.defaultText);
  EXPECT_EQ(file.Lookup(lang::kTrayDesktop.key, ""), lang::kTrayDesktop.defaultText);
  EXPECT_EQ(file.Lookup(lang::kRunAsAdministrator.key, ""), lang::kRunAsAdministrator.defaultText);
}

}  // namespace
