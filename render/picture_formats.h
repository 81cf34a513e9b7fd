#pragma once
// The picture files the cube's caps and background can be made from. The
// extension alone picks the decoder; the descriptions name the formats
// wherever a list of them is shown (the picture dialog's file types).
#include <array>
#include <string>

namespace render {

enum class PictureKind {
  kBitmap,
  kIcon,
  kMetafile,
  kEnhancedMetafile,
  kJpeg,
  kPng,
};

struct PictureFormat {
  const char* extension;  // lower case, without the dot
  PictureKind kind;
  const char* description;
};

inline constexpr std::array<PictureFormat, 7> kPictureFormats = {{
    {"bmp", PictureKind::kBitmap, "Bitmaps"},
    {"ico", PictureKind::kIcon, "Icons"},
    {"wmf", PictureKind::kMetafile, "Metafiles"},
    {"emf", PictureKind::kEnhancedMetafile, "Enhanced Metafiles"},
    {"jpg", PictureKind::kJpeg, "JPEG Image File"},
    {"jpeg", PictureKind::kJpeg, "JPEG Image File"},
    {"png", PictureKind::kPng, "Portable Network Graphics"},
}};

// The format a file name's extension (after its last dot, compared without
// regard to case) stands for, or null when it names none.
const PictureFormat* FormatOfFileName(const std::string& fileName);

}  // namespace render
