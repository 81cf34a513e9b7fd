#include "lang/lang_text.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace lang {

namespace {

constexpr unsigned char kLastControl = 0x20;  // space and every byte below it

struct Reference {
  const char* name;
  char replacement;
};

// The order matters: the ampersand comes last, so an ampersand it produces
// never starts another reference, and "&amp;eacute;" stays "&eacute;".
constexpr std::array<Reference, 16> kReferences = {{
    {"&Aacute;", '\xC1'},
    {"&Eacute;", '\xC9'},
    {"&Iacute;", '\xCD'},
    {"&Oacute;", '\xD3'},
    {"&Uacute;", '\xDA'},
    {"&aacute;", '\xE1'},
    {"&eacute;", '\xE9'},
    {"&iacute;", '\xED'},
    {"&oacute;", '\xF3'},
    {"&uacute;", '\xFA'},
    {"&Ntilde;", '\xD1'},
    {"&ntilde;", '\xF1'},
    {"&dquot;", '"'},
    {"&lt;", '<'},
    {"&gt;", '>'},
    {"&amp;", '&'},
}};

bool IsControl(char c) { return static_cast<unsigned char>(c) <= kLastControl; }

// Windows-1252 upper-case letters and their lower-case partners.
constexpr std::uint8_t kCaseDistance = 0x20;
constexpr std::uint8_t kLatinUpperFirst = 0xC0;  // À
constexpr std::uint8_t kLatinUpperLast = 0xDE;   // Þ
constexpr std::uint8_t kMultiplySign = 0xD7;     // ×, not a letter
constexpr std::uint8_t kScaronUpper = 0x8A, kScaronLower = 0x9A;
constexpr std::uint8_t kOeUpper = 0x8C, kOeLower = 0x9C;
constexpr std::uint8_t kZcaronUpper = 0x8E, kZcaronLower = 0x9E;
constexpr std::uint8_t kYdiaeresisUpper = 0x9F, kYdiaeresisLower = 0xFF;

std::uint8_t FoldCase(std::uint8_t c) {
  if (c >= 'A' && c <= 'Z') return static_cast<std::uint8_t>(c + kCaseDistance);
  if (c >= kLatinUpperFirst && c <= kLatinUpperLast && c != kMultiplySign) {
    return static_cast<std::uint8_t>(c + kCaseDistance);
  }
  switch (c) {
    case kScaronUpper:
      return kScaronLower;
    case kOeUpper:
      return kOeLower;
    case kZcaronUpper:
      return kZcaronLower;
    case kYdiaeresisUpper:
      return kYdiaeresisLower;
    default:
      return c;
  }
}

}  // namespace

std::string TrimControls(const std::string& text) {
  std::size_t first = 0;
  std::size_t end = text.size();
  while (first < end && IsControl(text[first])) ++first;
  while (end > first && IsControl(text[end - 1])) --end;
  return text.substr(first, end - first);
}

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(static_cast<std::uint8_t>(a[i])) != FoldCase(static_cast<std::uint8_t>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with) {
  if (what.empty()) return text;
  // Built anew rather than replaced in place, which would move the rest of
  // the text at every occurrence: a long line of references stays linear.
  std::size_t at = text.find(what);
  if (at == std::string::npos) return text;
  std::string result;
  result.reserve(text.size());
  std::size_t from = 0;
  while (at != std::string::npos) {
    result.append(text, from, at - from).append(with);
    from = at + what.size();
    at = text.find(what, from);
  }
  result.append(text, from, std::string::npos);
  return result;
}

std::string ReplaceReferences(std::string text) {
  for (const Reference& reference : kReferences) {
    text = ReplaceAll(std::move(text), reference.name, std::string(1, reference.replacement));
  }
  return text;
}

}  // namespace lang
