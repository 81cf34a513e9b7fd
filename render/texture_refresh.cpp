#include "render/texture_refresh.h"

namespace render {

void MakeCapPicture(const std::string& path, const Bitmap& defaultPicture, PictureLoader& loader,
                    std::int32_t maxSide, Bitmap* cap) {
  if (loader.Exists(path) && loader.LoadPictureFile(path, cap, maxSide)) {
    CropToSquare(*cap);
  } else {
    *cap = defaultPicture;
  }
}

void MakeBackgroundPicture(const std::string& path, PictureLoader& loader, std::int32_t maxSide,
                           Bitmap* background) {
  if (loader.Exists(path) && loader.LoadPictureFile(path, background, maxSide)) return;
  background->SetSize(kFallbackBackgroundSide, kFallbackBackgroundSide);
  background->FillBlack();
}

void RefreshFaceTextures(std::array<Bitmap, 4>& bitmaps, std::array<FaceTexture, 4>& textures,
                         const TextureCaps& caps) {
  for (std::size_t face = 0; face < bitmaps.size(); ++face) {
    if (OutOfDate(bitmaps[face], textures[face]))
      UploadTexture(bitmaps[face], textures[face], caps);
  }
}

}  // namespace render
