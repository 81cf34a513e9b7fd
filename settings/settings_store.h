#pragma once
// The user's preferences and how they are kept between runs: six values in
// one key of the per-user store. Reading is forgiving (a damaged or missing
// value leaves defaults in place); writing reports the first value that could
// not be stored.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/key_value_store.h"

namespace settings {

// Where the settings live, relative to the per-user root.
inline constexpr char kKeyPath[] = "Software\\RomboDesktop";

// Value names. They are Spanish because earlier releases used these names and
// existing installations must keep reading their settings.
inline constexpr char kLanguageValue[] = "idioma";
inline constexpr char kSpeedValue[] = "velocidad";
inline constexpr char kZoomValue[] = "zoom";
inline constexpr char kBackgroundValue[] = "fondo";
inline constexpr char kTopValue[] = "tapasuperior";
inline constexpr char kBottomValue[] = "tapainferior";

inline constexpr char kDefaultLanguage[] = "English";
inline constexpr float kDefaultSpeed = 0.3f;
inline constexpr float kDefaultZoom = 0.2f;

// Numbers are stored as a little-endian IEEE-754 double, whatever the width
// of the float in memory.
inline constexpr std::size_t kNumberSize = 8;

struct Settings {
  std::string languageName = kDefaultLanguage;
  float speed = kDefaultSpeed;
  float zoom = kDefaultZoom;
  std::string backgroundPath;
  std::string topPath;
  std::string bottomPath;
};

// Thrown by SaveSettings when a value cannot be stored.
class SaveError : public std::runtime_error {
 public:
  explicit SaveError(const std::string& valueName);
  const std::string& valueName() const { return valueName_; }

 private:
  std::string valueName_;
};

// The float widened exactly to a double, as 8 little-endian bytes.
std::vector<std::uint8_t> EncodeNumber(float value);
// The stored double rounded to float; nothing unless exactly 8 bytes.
std::optional<float> DecodeNumber(const std::vector<std::uint8_t>& data);

// The text's bytes (ANSI, not converted) followed by one NUL.
std::vector<std::uint8_t> EncodeText(const std::string& text);
// The bytes up to the first NUL, or all of them when there is none.
std::string DecodeText(const std::vector<std::uint8_t>& data);

// Resets *settings to the defaults, then overlays what the store holds.
// Never creates the key and never throws: the first unreadable value stops
// reading, and it and every later setting keep their defaults.
void LoadSettings(platform::KeyValueStore& store, Settings* settings);

// Writes all six values, creating the key when needed. Throws SaveError for
// the first value that cannot be written; earlier values stay written and
// later ones are not attempted.
void SaveSettings(platform::KeyValueStore& store, const Settings& settings);

}  // namespace settings
