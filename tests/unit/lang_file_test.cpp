// The language file reader: lines, trimming, sections, entries, quotes and
// references, lookups, and loading from the file system.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lang/unitLangFile.h"
#include "tests/support/fake/fake_desktop.h"

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

lang::TLangFile Parse(const std::string& text) {
  const std::vector<std::uint8_t> bytes = Bytes(text);
  lang::MemoryStream stream(bytes);
  lang::TLangFile file;
  file.ParseStream(stream);
  return file;
}

constexpr const char* kMissing = "<missing>";

struct LookupCase {
  const char* what;
  std::string file;
  std::string key;
  std::string expected;  // kMissing: the default comes back
};

class LookupTest : public testing::TestWithParam<LookupCase> {};

TEST_P(LookupTest, FindsTheTextOrTheDefault) {
  const LookupCase& c = GetParam();
  EXPECT_EQ(Parse(c.file).Lookup(c.key, kMissing), c.expected) << c.what;
}

const std::string kExample =
    "<Common>\n"
    "OK OK\n"
    "Cancel Cancel\n"
    "</Common>\n"
    "<Settings>\n"
    "Caption Settings\n"
    "Language \"Language:\"\n"
    "; any remark\n"
    "</Settings>\n";

INSTANTIATE_TEST_SUITE_P(
    Example, LookupTest,
    testing::Values(LookupCase{"section entry", kExample, "Common.OK", "OK"},
                    LookupCase{"second entry", kExample, "Common.Cancel", "Cancel"},
                    LookupCase{"second section", kExample, "Settings.Caption", "Settings"},
                    LookupCase{"quotes removed", kExample, "Settings.Language", "Language:"},
                    LookupCase{"no such key", kExample, "Settings.Speed", kMissing},
                    LookupCase{"section name alone", kExample, "Common", kMissing},
                    LookupCase{"comment is no entry", kExample, "Settings.;", kMissing}));

INSTANTIATE_TEST_SUITE_P(
    Keys, LookupTest,
    testing::Values(
        LookupCase{"lookup blind to case", "<Common>\nOK Fine\n</Common>\n", "cOMMON.ok", "Fine"},
        LookupCase{"file in capitals", "<COMMON>\nOK Fine\n</COMMON>\n", "Common.Ok", "Fine"},
        LookupCase{"first duplicate wins", "A first\nA second\n", "A", "first"},
        LookupCase{"dotted key equals section entry", "<S>\nK one\n</S>\nS.K two\n", "s.k", "one"},
        LookupCase{"dotted key at outermost level", "Settings.Caption Title\n", "Settings.Caption",
                   "Title"},
        LookupCase{"bare key", "OK\n", "OK", "1"},
        LookupCase{"no = syntax", "Caption=Settings\n", "Caption=Settings", "1"},
        LookupCase{"= line has no key Caption", "Caption=Settings\n", "Caption", kMissing},
        LookupCase{"tab separates", "K\tvalue\n", "K", "value"},
        LookupCase{"first space separates", "K a b\n", "K", "a b"},
        LookupCase{"text trimmed", "K \t  spaced out \t\n", "K", "spaced out"},
        LookupCase{"line trimmed of control bytes", std::string("\x01\x1f K v \x02\n", 9), "K",
                   "v"},
        LookupCase{"NUL bytes trimmed", std::string("\0K v\0\n", 6), "K", "v"},
        LookupCase{"semicolon inside text", "K a;b\n", "K", "a;b"},
        LookupCase{"indented comment", "  ;K v\n", ";K", kMissing},
        LookupCase{"only A-Z lowered, others folded on lookup", "\xD1U v\n", "\xF1u", "v"},
        LookupCase{"other bytes kept in the key", "\xC9t\xE9 summer\n", "\xC9T\xC9", "summer"}));

INSTANTIATE_TEST_SUITE_P(
    Quotes, LookupTest,
    testing::Values(LookupCase{"spaces kept inside quotes", "K \"  two  \"\n", "K", "  two  "},
                    LookupCase{"unmatched quote loses last char", "K \"open\n", "K", "ope"},
                    LookupCase{"lone quote is empty", "K \"\n", "K", ""},
                    LookupCase{"two quotes are empty", "K \"\"\n", "K", ""},
                    LookupCase{"quotes after spaces", "K    \"x\"\n", "K", "x"},
                    LookupCase{"inner quotes stay", "K a\"b\"\n", "K", "a\"b\""},
                    LookupCase{"quoted reference", "K \"&amp; \"\n", "K", "& "}));

INSTANTIATE_TEST_SUITE_P(
    References, LookupTest,
    testing::Values(
        LookupCase{"all sixteen",
                   "K &Aacute;&Eacute;&Iacute;&Oacute;&Uacute;&aacute;&eacute;&iacute;&oacute;"
                   "&uacute;&Ntilde;&ntilde;&dquot;&lt;&gt;&amp;\n",
                   "K", "\xC1\xC9\xCD\xD3\xDA\xE1\xE9\xED\xF3\xFA\xD1\xF1\"<>&"},
        LookupCase{"N tilde", "K Espa&ntilde;ol &Ntilde;\n", "K", "Espa\xF1ol \xD1"},
        LookupCase{"other capitals unchanged", "K &NTILDE;&ntilDe;\n", "K", "&NTILDE;&ntilDe;"},
        LookupCase{"html quot is not one", "K &quot;\n", "K", "&quot;"},
        LookupCase{"dquot", "K say &dquot;hi&dquot;\n", "K", "say \"hi\""},
        LookupCase{"escaped reference", "K &amp;eacute;\n", "K", "&eacute;"},
        LookupCase{"escaped ampersand reference", "K &amp;amp;\n", "K", "&amp;"},
        LookupCase{"tags", "K &lt;b&gt;\n", "K", "<b>"},
        LookupCase{"repeated", "K &aacute;&aacute;&aacute;\n", "K", "\xE1\xE1\xE1"},
        LookupCase{"bare ampersand passes", "K &Settings\n", "K", "&Settings"},
        LookupCase{"unterminated reference", "K &eacute\n", "K", "&eacute"},
        LookupCase{"reference in key kept", "&amp; v\n", "&amp;", "v"}));

INSTANTIATE_TEST_SUITE_P(
    Sections, LookupTest,
    testing::Values(
        LookupCase{"nested sections", "<A>\n<B>\nK v\n", "A.B.K", "v"},
        LookupCase{"closing inner returns to outer", "<A>\n<B>\n</B>\nK v\n", "A.K", "v"},
        LookupCase{"inner closed in other capitals empties", "<A>\n<B>\n</b>\nK v\n", "K", "v"},
        LookupCase{"... so not in the outer", "<A>\n<B>\n</b>\nK v\n", "A.K", kMissing},
        LookupCase{"outermost closing empties", "<Common>\n</Common>\nK v\n", "K", "v"},
        LookupCase{"any other name empties", "<Common>\n</Other>\nK v\n", "K", "v"},
        LookupCase{"closing outer of two empties", "<A>\n<B>\n</A>\nK v\n", "K", "v"},
        LookupCase{"closing a dotted name", "<A>\n<B.C>\n</B.C>\nK v\n", "A.K", "v"},
        LookupCase{"suffix must follow a dot", "<A>\n<XB>\n</B>\nK v\n", "K", "v"},
        LookupCase{"last character dropped", "<Common\nK v\n", "Commo.K", "v"},
        LookupCase{"only the last character dropped", "<A>>\nK v\n", "A>.K", "v"},
        LookupCase{"closing tag without bracket", "<A>\n<B>\n</BX\nK v\n", "A.K", "v"},
        LookupCase{"bare opening bracket", "<\nK v\n", "K", "v"},
        LookupCase{"bare closing bracket", "<A>\n</\nK v\n", "K", "v"},
        LookupCase{"unbalanced closing at start", "</A>\n<B>\nK v\n", "B.K", "v"}));

INSTANTIATE_TEST_SUITE_P(
    Lines, LookupTest,
    testing::Values(LookupCase{"CR LF line ends", "A one\r\nB two\r\n", "B", "two"},
                    LookupCase{"CR dropped inside a line", "K t\rex\rt\n", "K", "text"},
                    LookupCase{"CR-only file is one line", "A one\rB two\r", "A", "oneB two"},
                    LookupCase{"... with one entry", "A one\rB two\r", "B", kMissing},
                    LookupCase{"last line without line end", "A one\nB two", "B", "two"},
                    LookupCase{"blank lines", "\n\n   \n\t\nK v", "K", "v"},
                    LookupCase{"BOM makes the tag an entry",
                               "\xEF\xBB\xBF<Common>\nOK Yes\n</Common>\n", "\xEF\xBB\xBF<Common>",
                               "1"},
                    LookupCase{"... so the section never opens",
                               "\xEF\xBB\xBF<Common>\nOK Yes\n</Common>\n", "Common.OK", kMissing},
                    LookupCase{"... and entries are outermost",
                               "\xEF\xBB\xBF<Common>\nOK Yes\n</Common>\n", "OK", "Yes"}));

TEST(LangFileTest, KeepsEveryEntryInFileOrderLowerCased) {
  const lang::TLangFile file = Parse("<Main>\nB x\nA y\nb z\n</Main>\nTop\n");
  EXPECT_EQ(file.Keys(), (std::vector<std::string>{"main.b", "main.a", "main.b", "top"}));
  EXPECT_EQ(file.Texts(), (std::vector<std::string>{"x", "y", "z", "1"}));
}

TEST(LangFileTest, AFileWithoutEntriesGivesEveryDefault) {
  const lang::TLangFile file = Parse("; remark\n<Common>\n\n</Common>\n   \n");
  EXPECT_TRUE(file.Keys().empty());
  EXPECT_EQ(file.Lookup("Common.OK", "OK"), "OK");
  EXPECT_EQ(Parse("").Lookup("", "default"), "default");
}

TEST(LangFileTest, ParsingAgainStartsFromAnEmptyTable) {
  lang::TLangFile file = Parse("A one\n");
  const std::vector<std::uint8_t> second = Bytes("B two\n");
  lang::MemoryStream stream(second);
  file.ParseStream(stream);
  EXPECT_EQ(file.Lookup("A", kMissing), kMissing);
  EXPECT_EQ(file.Lookup("B", kMissing), "two");
}

TEST(LineReaderTest, CutsAtLineFeedsAndStaysAtTheEnd) {
  const std::vector<std::uint8_t> bytes = Bytes("one\r\n\ntwo\rthree");
  lang::MemoryStream stream(bytes);
  lang::TLineReader reader(stream);
  EXPECT_FALSE(reader.AtEnd());
  EXPECT_EQ(reader.ReadLine(), "one");
  EXPECT_EQ(reader.ReadLine(), "");
  EXPECT_FALSE(reader.AtEnd());
  EXPECT_EQ(reader.ReadLine(), "twothree");
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.ReadLine(), "");
  EXPECT_TRUE(reader.AtEnd());
}

// Keys repeat their section path: however deep the nesting, the table stays
// within a few bytes of key per byte of file and a bounded number of entries,
// and what fits still loads.
struct NestingCase {
  const char* what;
  int openings;
  int entries;
};

class NestingTest : public testing::TestWithParam<NestingCase> {};

TEST_P(NestingTest, KeysStayWithinTheirShareOfTheFile) {
  const NestingCase& c = GetParam();
  std::string text;
  for (int i = 0; i < c.openings; ++i) text += "<section" + std::to_string(i) + ">\n";
  text += "First one\n";
  for (int i = 0; i < c.entries; ++i) text += "k" + std::to_string(i % 10) + "\n";
  const lang::TLangFile file = Parse(text);
  std::size_t keyBytes = 0;
  for (const std::string& key : file.Keys()) keyBytes += key.size();
  EXPECT_LE(keyBytes, lang::kKeyBytesPerFileByte * text.size()) << c.what;
  EXPECT_LE(file.Keys().size(), lang::kMaxLangEntries) << c.what;
  EXPECT_EQ(file.Texts().size(), file.Keys().size()) << c.what;
  std::string firstKey;
  for (int i = 0; i < c.openings; ++i) firstKey += "section" + std::to_string(i) + ".";
  EXPECT_EQ(file.Lookup(firstKey + "first", kMissing), "one") << c.what;
}

// About 1 MiB each: the attack of deep openings and short entries, and a
// flat file of more entries than any language needs.
INSTANTIATE_TEST_SUITE_P(Bounds, NestingTest,
                         testing::Values(NestingCase{"1,000 openings", 1000, 260000},
                                         NestingCase{"10,000 openings", 10000, 200000},
                                         NestingCase{"flat", 0, 300000}));

TEST(LangFileTest, EntriesOverTheBoundAreDroppedAndLaterOnesLoad) {
  // Each entry in the section costs 54 bytes of key for 4 of file; the
  // tenth takes the last byte of the bound.
  const std::string deep(52, 'd');
  std::string text = "<" + deep + ">\n";
  for (int i = 0; i < 20; ++i) text += "A " + std::to_string(i % 10) + "\n";
  const lang::TLangFile file = Parse(text + "</" + deep + ">\nB 2\n");
  EXPECT_EQ(file.Lookup(deep + ".a", kMissing), "0");
  EXPECT_EQ(file.Keys().size(), 11u);  // 10 of the 20, and B
  EXPECT_EQ(file.Lookup("b", kMissing), "2");
}

TEST(LineReaderTest, AFinalLineFeedLeavesOneEmptyLine) {
  const std::vector<std::uint8_t> bytes = Bytes("a\n");
  lang::MemoryStream stream(bytes);
  lang::TLineReader reader(stream);
  EXPECT_EQ(reader.ReadLine(), "a");
  EXPECT_FALSE(reader.AtEnd());
  EXPECT_EQ(reader.ReadLine(), "");
  EXPECT_TRUE(reader.AtEnd());
}

class LoadFileTest : public testing::Test {
 protected:
  const std::string path = "C:\\Program Files\\RomboDesktop\\Deutsch.lang";
  platform::FakeDesktop desktop;
  lang::TLangFile file;
};

TEST_F(LoadFileTest, ReadsAnExistingFile) {
  desktop.files.insert(path);
  desktop.contents[path] = Bytes("<Common>\nOK Gut\n</Common>\n");
  file.LoadFile(desktop, path);
  EXPECT_EQ(file.Lookup("Common.OK", "OK"), "Gut");
}

TEST_F(LoadFileTest, AMissingFileLeavesTheTableAsItWas) {
  desktop.files.insert(path);
  desktop.contents[path] = Bytes("K kept\n");
  file.LoadFile(desktop, path);
  file.LoadFile(desktop, path + ".old");
  EXPECT_EQ(file.Lookup("K", kMissing), "kept");
}

TEST_F(LoadFileTest, ADirectoryOfThatNameIsNoFile) {
  desktop.directories.insert(path);
  EXPECT_NO_THROW(file.LoadFile(desktop, path));
  EXPECT_TRUE(file.Keys().empty());
}

TEST_F(LoadFileTest, AFileThatCannotBeOpenedIsAnError) {
  desktop.files.insert(path);
  desktop.locked.insert(path);
  try {
    file.LoadFile(desktop, path);
    FAIL() << "no error";
  } catch (const lang::LangFileError& error) {
    EXPECT_STREQ(error.what(), ("Cannot open file " + path).c_str());
  }
}

TEST_F(LoadFileTest, AHugeFileIsRefusedWithoutReadingIt) {
  desktop.files.insert(path);
  desktop.contents[path] = std::vector<std::uint8_t>(lang::kMaxLangFileBytes + 1, 'x');
  EXPECT_THROW(file.LoadFile(desktop, path), lang::LangFileError);
  EXPECT_TRUE(file.Keys().empty());
  // One byte less is still a language file.
  desktop.contents[path].resize(lang::kMaxLangFileBytes);
  EXPECT_NO_THROW(file.LoadFile(desktop, path));
  EXPECT_EQ(file.Keys().size(), 1u);
}

}  // namespace
