#pragma once
// Helpers shared by the tests of the settings store, against the fake store
// and against the real registry.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace settings {

// Lets gtest print a Settings on failure instead of a byte dump.
inline void PrintTo(const Settings& s, std::ostream* os) {
  *os << "{language=\"" << s.languageName << "\" speed=" << s.speed << " zoom=" << s.zoom
      << " background=\"" << s.backgroundPath << "\" top=\"" << s.topPath << "\" bottom=\""
      << s.bottomPath << "\"}";
}

namespace testing_support {

using Bytes = std::vector<std::uint8_t>;

inline Bytes TextBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

inline Bytes TextWithNul(const std::string& s) {
  Bytes b = TextBytes(s);
  b.push_back(0);
  return b;
}

inline std::uint32_t BitsOf(float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// Exact comparison, bit for bit, so -0.0f and 0.0f are told apart.
inline void ExpectSameSettings(const Settings& expected, const Settings& actual) {
  EXPECT_EQ(expected.languageName, actual.languageName);
  EXPECT_EQ(BitsOf(expected.speed), BitsOf(actual.speed))
      << "speed " << expected.speed << " vs " << actual.speed;
  EXPECT_EQ(BitsOf(expected.zoom), BitsOf(actual.zoom))
      << "zoom " << expected.zoom << " vs " << actual.zoom;
  EXPECT_EQ(expected.backgroundPath, actual.backgroundPath);
  EXPECT_EQ(expected.topPath, actual.topPath);
  EXPECT_EQ(expected.bottomPath, actual.bottomPath);
}

// What a program that has never saved starts with, written out independently
// of the member initialisers.
inline Settings Defaults() {
  Settings d;
  d.languageName = "English";
  d.speed = 0.3f;
  d.zoom = 0.2f;
  d.backgroundPath = d.topPath = d.bottomPath = "";
  return d;
}

// Filled with non-defaults so that a load which forgets to reset shows up.
inline Settings Scribbled() {
  Settings s;
  s.languageName = "stale";
  s.speed = 9.0f;
  s.zoom = 9.0f;
  s.backgroundPath = s.topPath = s.bottomPath = "stale";
  return s;
}

}  // namespace testing_support
}  // namespace settings
