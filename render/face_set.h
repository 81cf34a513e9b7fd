#pragma once
// The pictures the cube is made of and their textures: the four desktops'
// screenshots on the side faces, the two caps and the background, with the
// default cap picture and what the context allows.
#include <array>
#include <cstdint>
#include <string>

#include "platform/main_window.h"
#include "platform/picture_decoder.h"
#include "platform/screen_capture.h"
#include "platform/system.h"
#include "render/bitmap.h"
#include "render/picture_file.h"
#include "render/texture.h"

namespace render {

// The picture files the settings name for the caps and the background.
struct PicturePaths {
  std::string top;
  std::string bottom;
  std::string background;
};

class FaceSet {
 public:
  // Takes the default cap picture from the window's resources. Pictures
  // that do not load are logged in `log`, when there is one.
  FaceSet(platform::MainWindow& window, platform::FileSystem& files,
          platform::PictureDecoder& decoder, platform::Log* log = nullptr);

  // What the rendering context allows, once it is current.
  void QueryCaps();
  // The picture of the bare desktop, shown by every face but desktop 0's
  // until a session takes that desktop's own.
  void ShowBareDesktop(const Bitmap& picture);
  // At a session start, before the cube is shown: the screenshot of
  // `desktop`, the side faces whose pictures changed, and with `reload` the
  // caps and the background made again from those files.
  void Refresh(std::int32_t desktop, std::int32_t screenWidth, std::int32_t screenHeight,
               platform::ScreenCapture& capture, const PicturePaths* reload);
  // The box and the sphere as the angles turn them.
  void Draw(float pitch, float yaw, std::int32_t screenWidth) const;
  // Frees every texture, while the context is still current, and the
  // pictures.
  void Release();

  // What a frame draws and what a session made, for reading.
  const std::array<Bitmap, 4>& FaceBitmaps() const { return faceBitmaps_; }
  const std::array<FaceTexture, 4>& FaceTextures() const { return faceTextures_; }
  const Bitmap& TopBitmap() const { return topBitmap_; }
  const FaceTexture& TopTexture() const { return topTexture_; }
  const Bitmap& BottomBitmap() const { return bottomBitmap_; }
  const FaceTexture& BottomTexture() const { return bottomTexture_; }
  const Bitmap& BackgroundBitmap() const { return backgroundBitmap_; }
  const FaceTexture& BackgroundTexture() const { return backgroundTexture_; }
  // The default cap picture, never changed.
  const Bitmap& DefaultCapPicture() const { return imgDefault_; }

 private:
  std::array<Bitmap, 4> faceBitmaps_;
  std::array<FaceTexture, 4> faceTextures_;
  Bitmap topBitmap_;
  FaceTexture topTexture_;
  Bitmap bottomBitmap_;
  FaceTexture bottomTexture_;
  Bitmap backgroundBitmap_;
  FaceTexture backgroundTexture_;
  Bitmap imgDefault_;
  TextureCaps textureCaps_;
  PictureLoader pictures_;
};

}  // namespace render
