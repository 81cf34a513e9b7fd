#pragma once
// Byte-level text helpers of the language files: texts are single-byte
// Windows-1252, so nothing here knows about any other character set.
#include <string>

namespace lang {

// Removes bytes 00 to 20 (controls and space) from both ends.
std::string TrimControls(const std::string& text);

// Lower-cases the letters A to Z only; every other byte stays as it is.
std::string LowerAscii(std::string text);

// Equal without regard to letter case, the Windows-1252 letters included
// (as the user's Western locale compares them: "É" equals "é").
bool SameTextIgnoringCase(const std::string& a, const std::string& b);

// Replaces every occurrence of `what` from left to right, never rescanning
// what a replacement put in.
std::string ReplaceAll(std::string text, const std::string& what, const std::string& with);

// Replaces the named character references ("&eacute;", "&dquot;", "&amp;"
// ...) in their fixed order, each row all its occurrences from left to right,
// never rescanning what a replacement put in.
std::string ReplaceReferences(std::string text);

}  // namespace lang
