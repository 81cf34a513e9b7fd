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
    imgDefault_.SetSize(width, height);
    if (pixels.size() == imgDefault_.ByteSize()) {
      std::copy(pixels.begin(), pixels.end(), imgDefault_.Data());
    }
  }
}

void FaceSet::QueryCaps() { textureCaps_ = QueryTextureCaps(); }

void FaceSet::ShowBareDesktop(const Bitmap& picture) {
  for (std::size_t face = 1; face < faceBitmaps_.size(); ++face) faceBitmaps_[face] = picture;
}

void FaceSet::Refresh(std::int32_t desktop, std::int32_t screenWidth, std::int32_t screenHeight,
                      platform::ScreenCapture& capture, const PicturePaths* reload) {
  // The cube window is not shown yet, so the picture is the desktop as the
  // user left it, layered windows included.
  Bitmap& face = faceBitmaps_[static_cast<std::size_t>(desktop) % faceBitmaps_.size()];
  face.SetSize(screenWidth, screenHeight);
  if (!face.Empty()) capture.CaptureScreen(face.Width(), face.Height(), true, face.Data());

  RefreshFaceTextures(faceBitmaps_, faceTextures_, textureCaps_);
  if (reload == nullptr) return;
  MakeCapPicture(reload->top, imgDefault_, pictures_, textureCaps_.maxSide, &topBitmap_);
  UploadTexture(topBitmap_, topTexture_, textureCaps_, Padding::kRepeatEdges);
  MakeCapPicture(reload->bottom, imgDefault_, pictures_, textureCaps_.maxSide, &bottomBitmap_);
  UploadTexture(bottomBitmap_, bottomTexture_, textureCaps_, Padding::kRepeatEdges);
  MakeBackgroundPicture(reload->background, pictures_, textureCaps_.maxSide, &backgroundBitmap_);
  UploadTexture(backgroundBitmap_, backgroundTexture_, textureCaps_, Padding::kAroundSphere);
}

void FaceSet::Draw(float pitch, float yaw, std::int32_t screenWidth) const {
  DrawBox(faceTextures_, topTexture_, bottomTexture_, screenWidth);
  DrawBackground(pitch, yaw, backgroundTexture_);
}

void FaceSet::Release() {
  for (std::size_t face = 0; face < faceBitmaps_.size(); ++face) {
    faceBitmaps_[face] = Bitmap();
    FreeTexture(faceTextures_[face]);
  }
  FreeTexture(topTexture_);
  FreeTexture(bottomTexture_);
  FreeTexture(backgroundTexture_);
  topBitmap_ = Bitmap();
  bottomBitmap_ = Bitmap();
  backgroundBitmap_ = Bitmap();
}

}  // namespace render
