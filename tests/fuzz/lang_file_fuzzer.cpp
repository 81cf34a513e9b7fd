// libFuzzer target for the language file reader: any bytes must parse
// without a crash, a sanitizer report or a broken table, within the table's
// bounds, and every lookup must agree with the table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "lang/interface_texts.h"
#include "lang/lang_text.h"
#include "lang/unitLangFile.h"

namespace {

constexpr std::size_t kLookupsChecked = 64;

void Check(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);
  lang::MemoryStream stream(bytes);
  lang::TLangFile file;
  file.ParseStream(stream);

  Check(file.Keys().size() == file.Texts().size());
  // Within the bounds, whatever the nesting: a few bytes of key per byte of
  // file, a bounded number of entries.
  std::size_t keyBytes = 0;
  for (const std::string& key : file.Keys()) keyBytes += key.size();
  Check(keyBytes <= lang::kKeyBytesPerFileByte * size);
  Check(file.Keys().size() <= lang::kMaxLangEntries);
  // No entry without a key, no key with a capital, no text longer than its line.
  for (std::size_t i = 0; i < file.Keys().size(); ++i) {
    const std::string& key = file.Keys()[i];
    Check(!key.empty());
    Check(lang::LowerAscii(key) == key);
    Check(file.Texts()[i].size() <= size);
    // The first entry of a key is the one a lookup finds (for the first
    // entries: every one would make a full table cost seconds a run).
    if (i >= kLookupsChecked) continue;
    std::size_t first = 0;
    while (!lang::SameTextIgnoringCase(file.Keys()[first], key)) ++first;
    Check(file.Lookup(key, "\x01") == file.Texts()[first]);
  }
  for (const lang::InterfaceText& row : lang::kInterfaceTexts)
    file.Lookup(row.key, row.defaultText);
  return 0;
}
