#include "render/texture_refresh.h"

#include "app/Unit1.h"
#include "desktops/layout.h"

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

namespace app {

void TForm1::RefreshTextures(std::int32_t screenWidth, std::int32_t screenHeight) {
  // The cube window is not shown yet, so the picture is the desktop as the
  // user left it, layered windows included.
  render::Bitmap& face =
      faceBitmaps[static_cast<std::size_t>(desktops::WrapDesktop(currentDesktop))];
  face.SetSize(screenWidth, screenHeight);
  if (!face.Empty()) system_.capture.CaptureScreen(face.Width(), face.Height(), true, face.Data());

  render::RefreshFaceTextures(faceBitmaps, faceTextures, textureCaps);

  if (imagesDirty) {
    render::MakeCapPicture(settings.topPath, imgDefault, pictures_, textureCaps.maxSide,
                           &topBitmap);
    render::UploadTexture(topBitmap, topTexture, textureCaps, render::Padding::kRepeatEdges);
    render::MakeCapPicture(settings.bottomPath, imgDefault, pictures_, textureCaps.maxSide,
                           &bottomBitmap);
    render::UploadTexture(bottomBitmap, bottomTexture, textureCaps, render::Padding::kRepeatEdges);
    render::MakeBackgroundPicture(settings.backgroundPath, pictures_, textureCaps.maxSide,
                                  &backgroundBitmap);
    render::UploadTexture(backgroundBitmap, backgroundTexture, textureCaps,
                          render::Padding::kAroundSphere);
    imagesDirty = false;
  }
}

}  // namespace app
