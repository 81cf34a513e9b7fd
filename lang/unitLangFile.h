#pragma once
// Language files: a table of keyed texts read from a small tag-and-entry
// text format (sections in angle-bracket tags, "key text" entries, a few
// named character references). Bytes are Windows-1252 and are kept as they
// stand.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/system.h"

namespace lang {

// Where the lines come from: a source of bytes, read one at a time.
class ByteStream {
 public:
  virtual ~ByteStream() = default;
  // The next byte, or false when there is none left.
  virtual bool ReadByte(std::uint8_t* byte) = 0;
};

class MemoryStream : public ByteStream {
 public:
  explicit MemoryStream(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
  bool ReadByte(std::uint8_t* byte) override;

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t next_ = 0;
};

// Cuts a stream into lines at line feeds; carriage returns are dropped
// wherever they stand. It does not own the stream.
class TLineReader {
 public:
  explicit TLineReader(ByteStream& stream) : stream_(stream) {}
  bool AtEnd() const { return atEnd_; }
  // The next line without its line feed; once the stream is used up, the
  // text gathered last (and from then on the empty text).
  std::string ReadLine();
  // Bytes taken from the stream so far, line ends included.
  std::size_t BytesRead() const { return bytesRead_; }

 private:
  ByteStream& stream_;
  bool atEnd_ = false;
  std::size_t bytesRead_ = 0;
};

// A language file that exists but cannot be read.
class LangFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Language files hold a few dozen lines; anything this large is not one, and
// reading it would only cost memory.
inline constexpr std::size_t kMaxLangFileBytes = 1u << 20;

// Every entry's key repeats its whole section path, so a deep nesting of
// sections would make a small file take gigabytes. The keys may take at most
// this many bytes for every byte read so far (a real file's keys take less
// than its bytes), and the table holds at most this many entries (a real one
// holds a few dozen); entries beyond either bound are dropped, the rest load.
inline constexpr std::size_t kKeyBytesPerFileByte = 4;
inline constexpr std::size_t kMaxLangEntries = 4096;

class TLangFile {
 public:
  // Reads the named file when it exists (a directory does not count) and
  // leaves the table as it is when it does not. The file is opened without
  // sharing. Throws LangFileError "Cannot open file <name>" when it exists
  // but cannot be opened, and another LangFileError when it is too large.
  void LoadFile(platform::FileSystem& files, const std::string& fileName);
  // Empties the table, then reads every line of the stream into it, within
  // the bounds above.
  void ParseStream(ByteStream& stream);
  // The text of the first entry whose full key equals `key` without regard to
  // letter case, or `defaultText` when there is none.
  std::string Lookup(const std::string& key, const std::string& defaultText) const;

  // Full keys (lower case) and texts, in file order, duplicates included.
  const std::vector<std::string>& Keys() const { return keys_; }
  const std::vector<std::string>& Texts() const { return texts_; }
  // Entries of the last parse dropped by the bounds above.
  std::size_t Dropped() const { return dropped_; }

 private:
  void HandleLine(const std::string& line, std::string* sectionPath, std::size_t keyBudget);
  void AddEntry(const std::string& line, const std::string& sectionPath, std::size_t keyBudget);

  std::vector<std::string> keys_;
  std::vector<std::string> texts_;
  std::size_t keyBytes_ = 0;
  std::size_t dropped_ = 0;
};

}  // namespace lang
