#include "lang/unitLangFile.h"

#include "lang/lang_text.h"

namespace lang {

namespace {

constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';
constexpr char kComment = ';';
constexpr char kTagOpen = '<';
constexpr char kTagClose = '/';
constexpr char kQuote = '"';
constexpr char kSectionSeparator = '.';
// The text of a key written without one.
constexpr const char* kBareKeyText = "1";

// The name of a tag: from `first` up to, not including, the line's last
// character (whatever that is).
std::string TagName(const std::string& line, std::size_t first) {
  return line.size() > first ? line.substr(first, line.size() - 1 - first) : std::string();
}

void OpenSection(const std::string& name, std::string* path) {
  if (!path->empty()) path->push_back(kSectionSeparator);
  path->append(name);
}

// Leaves the innermost section when the tag names it (exactly); any other
// closing tag, and any closing tag at the outermost level, empties the path.
void CloseSection(const std::string& name, std::string* path) {
  const std::string ending = kSectionSeparator + name;
  if (path->size() >= ending.size() &&
      path->compare(path->size() - ending.size(), ending.size(), ending) == 0) {
    path->erase(path->size() - ending.size());
  } else {
    path->clear();
  }
}

std::string EntryText(const std::string& rest) {
  std::string text = TrimControls(rest);
  // Quotes keep leading or trailing spaces; the last character goes whatever
  // it is, so an unmatched quote only costs the text its last character.
  if (!text.empty() && text.front() == kQuote) {
    text = text.size() >= 2 ? text.substr(1, text.size() - 2) : std::string();
  }
  return ReplaceReferences(text);
}

}  // namespace

bool MemoryStream::ReadByte(std::uint8_t* byte) {
  if (next_ >= bytes_.size()) return false;
  *byte = bytes_[next_++];
  return true;
}

std::string TLineReader::ReadLine() {
  std::string line;
  if (atEnd_) return line;
  std::uint8_t byte = 0;
  while (stream_.ReadByte(&byte)) {
    ++bytesRead_;
    const char c = static_cast<char>(byte);
    if (c == kLineFeed) return line;
    if (c != kCarriageReturn) line.push_back(c);
  }
  atEnd_ = true;
  return line;
}

void TLangFile::LoadFile(platform::FileSystem& files, const std::string& fileName) {
  std::vector<std::uint8_t> bytes;
  switch (files.ReadWholeFile(fileName, kMaxLangFileBytes, /*exclusive=*/true, &bytes)) {
    case platform::FileRead::kMissing:
      return;
    case platform::FileRead::kCannotOpen:
      throw LangFileError("Cannot open file " + fileName);
    case platform::FileRead::kTooLarge:
      throw LangFileError("Language file " + fileName + " is too large");
    case platform::FileRead::kOk:
      break;
  }
  MemoryStream stream(bytes);
  ParseStream(stream);
}

void TLangFile::ParseStream(ByteStream& stream) {
  keys_.clear();
  texts_.clear();
  keyBytes_ = 0;
  dropped_ = 0;
  std::string sectionPath;
  TLineReader reader(stream);
  while (!reader.AtEnd()) {
    const std::string line = TrimControls(reader.ReadLine());
    HandleLine(line, &sectionPath, kKeyBytesPerFileByte * reader.BytesRead());
  }
}

void TLangFile::HandleLine(const std::string& line, std::string* sectionPath,
                           std::size_t keyBudget) {
  if (line.empty() || line.front() == kComment) return;
  if (line.front() == kTagOpen) {
    if (line.size() >= 2 && line[1] == kTagClose) {
      CloseSection(TagName(line, 2), sectionPath);
    } else {
      OpenSection(TagName(line, 1), sectionPath);
    }
    return;
  }
  AddEntry(line, *sectionPath, keyBudget);
}

void TLangFile::AddEntry(const std::string& line, const std::string& sectionPath,
                         std::size_t keyBudget) {
  const std::size_t separator = line.find_first_of(" \t");
  const std::string key = line.substr(0, separator);
  // Measured before it is made, so a dropped key costs no copy of the path.
  const std::size_t keySize =
      sectionPath.empty() ? key.size() : sectionPath.size() + 1 + key.size();
  if (keys_.size() >= kMaxLangEntries || keySize > keyBudget - keyBytes_) {
    ++dropped_;
    return;
  }
  keyBytes_ += keySize;
  const std::string fullKey = sectionPath.empty() ? key : sectionPath + kSectionSeparator + key;
  keys_.push_back(LowerAscii(fullKey));
  texts_.push_back(separator == std::string::npos ? std::string(kBareKeyText)
                                                  : EntryText(line.substr(separator + 1)));
}

std::string TLangFile::Lookup(const std::string& key, const std::string& defaultText) const {
  const std::string wanted = LowerAscii(key);
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    if (SameTextIgnoringCase(keys_[i], wanted)) return texts_[i];
  }
  return defaultText;
}

}  // namespace lang
