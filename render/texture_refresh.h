#pragma once
// The pictures the cube is made of at a session start.
#include <array>
#include <string>

#include "render/bitmap.h"
#include "render/picture_file.h"
#include "render/texture.h"

namespace render {

// The background when no picture could be had: a small black square.
constexpr std::int32_t kFallbackBackgroundSide = 64;

// A cap's picture: the file's, cut to its centred square, or when there is
// none (no path, no such file, it cannot be loaded) a copy of the default
// picture, not cut.
void MakeCapPicture(const std::string& path, const Bitmap& defaultPicture, PictureLoader& loader,
                    std::int32_t maxSide, Bitmap* cap);

// The background's picture: the file's as it is, or a 64 x 64 black square.
void MakeBackgroundPicture(const std::string& path, PictureLoader& loader, std::int32_t maxSide,
                           Bitmap* background);

// Makes each side face's texture show its bitmap. Only faces whose bitmaps
// changed since their texture was made are sent again.
void RefreshFaceTextures(std::array<Bitmap, 4>& bitmaps, std::array<FaceTexture, 4>& textures,
                         const TextureCaps& caps);

}  // namespace render
