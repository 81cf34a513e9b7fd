#include "render/face_set.h"

#include <algorithm>
#include <vector>

#include "render/frame.h"
#include "render/texture_refresh.h"

namespace render {

FaceSet::FaceSet(platform::MainWindow& window, platform::FileSystem& files,
                 platform::PictureDecoder& decoder, platform::Log* log)
    : pictures_(files, decoder, log) {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> pixels;
  if (window.DefaultCapPicture(&width, &height, &pixels)) {
    imgDefault.SetSize(width, height);
    if (pixels.size() == imgDefault.ByteSize()) {
      std::copy(pixels.begin(), pixels.end(), imgDefault.Data());
    }
  }
}

void FaceSet::QueryCaps() { textureCaps = QueryTextureCaps(); }

void FaceSet::ShowBareDesktop(const Bitmap& picture) {
  for (std::size_t face = 1; face < faceBitmaps.size(); ++face) faceBitmaps[face] = picture;
}

void FaceSet::Refresh(std::int32_t desktop, std::int32_t screenWidth, std::int32_t screenHeight,
                      platform::ScreenCapture& capture, const PicturePaths* reload) {
  // The cube window is not shown yet, so the picture is the desktop as the
  // user left it, layered windows included.
  Bitmap& face = faceBitmaps[static_cast<std::size_t>(desktop) % faceBitmaps.size()];
  face.SetSize(screenWidth, screenHeight);
  if (!face.Empty()) capture.CaptureScreen(face.Width(), face.Height(), true, face.Data());

  RefreshFaceTextures(faceBitmaps, faceTextures, textureCaps);
  if (reload == nullptr) return;
  MakeCapPicture(reload->top, imgDefault, pictures_, textureCaps.maxSide, &topBitmap);
  UploadTexture(topBitmap, topTexture, textureCaps, Padding::kRepeatEdges);
  MakeCapPicture(reload->bottom, imgDefault, pictures_, textureCaps.maxSide, &bottomBitmap);
  UploadTexture(bottomBitmap, bottomTexture, textureCaps, Padding::kRepeatEdges);
  MakeBackgroundPicture(reload->background, pictures_, textureCaps.maxSide, &backgroundBitmap);
  UploadTexture(backgroundBitmap, backgroundTexture, textureCaps, Padding::kAroundSphere);
}

void FaceSet::Draw(float pitch, float yaw, std::int32_t screenWidth) const {
  DrawBox(faceTextures, topTexture, bottomTexture, screenWidth);
  DrawBackground(pitch, yaw, backgroundTexture);
}

void FaceSet::Release() {
  for (std::size_t face = 0; face < faceBitmaps.size(); ++face) {
    faceBitmaps[face] = Bitmap();
    FreeTexture(faceTextures[face]);
  }
  FreeTexture(topTexture);
  FreeTexture(bottomTexture);
  FreeTexture(backgroundTexture);
  topBitmap = Bitmap();
  bottomBitmap = Bitmap();
  backgroundBitmap = Bitmap();
}

}  // namespace render
