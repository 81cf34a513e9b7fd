#include "settings/settings_store.h"

#include <cstring>
#include <limits>
#include <memory>

namespace settings {
namespace {

static_assert(std::numeric_limits<double>::is_iec559, "the stored format is an IEEE-754 double");
static_assert(sizeof(double) == kNumberSize, "a double must be 8 bytes");

constexpr unsigned kBitsPerByte = 8;

bool IsTextType(std::uint32_t type) {
  // REG_EXPAND_SZ is accepted but deliberately not expanded: paths are used
  // exactly as the user (or an older version) stored them.
  return type == platform::kTypeString || type == platform::kTypeExpandString;
}

// Outcome of reading one value: whether reading may go on.
enum class Step { kContinue, kStop };

Step ReadText(platform::StoreKey& key, const char* name, std::string* out) {
  const std::optional<platform::ValueInfo> info = key.Query(name);
  if (!info) return Step::kContinue;  // never saved: keep the default
  if (!IsTextType(info->type)) return Step::kStop;
  std::vector<std::uint8_t> data;
  if (!key.Read(name, &data)) return Step::kStop;
  *out = DecodeText(data);
  return Step::kContinue;
}

Step ReadNumber(platform::StoreKey& key, const char* name, float* out) {
  const std::optional<platform::ValueInfo> info = key.Query(name);
  if (!info || info->type != platform::kTypeBinary || info->size != kNumberSize) {
    return Step::kStop;
  }
  std::vector<std::uint8_t> data;
  if (!key.Read(name, &data)) return Step::kStop;
  const std::optional<float> value = DecodeNumber(data);
  if (!value) return Step::kStop;
  *out = *value;
  return Step::kContinue;
}

void ReadAll(platform::StoreKey& key, Settings* s) {
  if (ReadText(key, kLanguageValue, &s->languageName) == Step::kStop) return;
  if (ReadNumber(key, kSpeedValue, &s->speed) == Step::kStop) return;
  if (ReadNumber(key, kZoomValue, &s->zoom) == Step::kStop) return;
  if (ReadText(key, kBackgroundValue, &s->backgroundPath) == Step::kStop) return;
  if (ReadText(key, kTopValue, &s->topPath) == Step::kStop) return;
  ReadText(key, kBottomValue, &s->bottomPath);
}

void WriteValue(platform::StoreKey* key, const char* name, std::uint32_t type,
                const std::vector<std::uint8_t>& data) {
  // A key that could not be opened makes the first write fail, so the caller
  // learns about it the same way as about any other write.
  if (key == nullptr || !key->Write(name, type, data)) throw SaveError(name);
}

}  // namespace

SaveError::SaveError(const std::string& valueName)
    : std::runtime_error("Failed to set data for '" + valueName + "'"), valueName_(valueName) {}

std::vector<std::uint8_t> EncodeNumber(float value) {
  const double widened = value;  // exact: every float is a double
  std::uint64_t bits = 0;
  std::memcpy(&bits, &widened, sizeof bits);
  std::vector<std::uint8_t> data(kNumberSize);
  // Byte by byte so the stored order is little-endian on any host.
  for (std::size_t i = 0; i < kNumberSize; ++i) {
    data[i] = static_cast<std::uint8_t>(bits >> (kBitsPerByte * i));
  }
  return data;
}

std::optional<float> DecodeNumber(const std::vector<std::uint8_t>& data) {
  if (data.size() != kNumberSize) return std::nullopt;
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < kNumberSize; ++i) {
    bits |= static_cast<std::uint64_t>(data[i]) << (kBitsPerByte * i);
  }
  double stored = 0;
  std::memcpy(&stored, &bits, sizeof stored);
  // Round to nearest; out-of-range values are not rejected here by design.
  return static_cast<float>(stored);
}

std::vector<std::uint8_t> EncodeText(const std::string& text) {
  std::vector<std::uint8_t> data(text.begin(), text.end());
  data.push_back(0);
  return data;
}

std::string DecodeText(const std::vector<std::uint8_t>& data) {
  std::string text;
  for (const std::uint8_t byte : data) {
    if (byte == 0) break;
    text.push_back(static_cast<char>(byte));
  }
  return text;
}

void LoadSettings(platform::KeyValueStore& store, Settings* settings) {
  if (settings == nullptr) return;
  *settings = Settings{};
  try {
    const std::unique_ptr<platform::StoreKey> key = store.Open(kKeyPath, /*create=*/false);
    if (key) ReadAll(*key, settings);
  } catch (...) {
    // Bad settings must never keep the program from starting; whatever was
    // read so far stays, the rest keeps its defaults.
  }
}

void SaveSettings(platform::KeyValueStore& store, const Settings& settings) {
  const std::unique_ptr<platform::StoreKey> key = store.Open(kKeyPath, /*create=*/true);
  // Zoom is written before speed, as earlier releases did.
  WriteValue(key.get(), kLanguageValue, platform::kTypeString, EncodeText(settings.languageName));
  WriteValue(key.get(), kZoomValue, platform::kTypeBinary, EncodeNumber(settings.zoom));
  WriteValue(key.get(), kSpeedValue, platform::kTypeBinary, EncodeNumber(settings.speed));
  WriteValue(key.get(), kBackgroundValue, platform::kTypeString,
             EncodeText(settings.backgroundPath));
  WriteValue(key.get(), kTopValue, platform::kTypeString, EncodeText(settings.topPath));
  WriteValue(key.get(), kBottomValue, platform::kTypeString, EncodeText(settings.bottomPath));
}

}  // namespace settings
