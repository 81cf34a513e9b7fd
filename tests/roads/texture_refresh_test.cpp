// What a session start does to the pictures, seen through the program: the
// screenshot of the desktop being left, the pictures the settings name loaded
// at the first session and again only after OK, textures and viewport of the
// screen's size, and the textures gone before the context at shutdown. The
// set of faces' own rules are tested in tests/render/face_set_test.cpp.
#include <gtest/gtest.h>

#include "dialogs_fixture.h"
#include "gl_fixture.h"
#include "render/gl.h"
#include "sample_pictures.h"
#include "settings/settings_store.h"

namespace {

class TextureRefreshTest : public DialogsTest {
 protected:
  // Stores the picture as a PNG file; returns its path.
  std::string PutPng(const std::string& path, const render::Bitmap& picture) {
    desktop.files.insert(path);
    desktop.contents[path] = samples::EncodePng(picture, samples::PngStyle::kRgb);
    return path;
  }

  // The colour of a face texture's top-left texel: the capture's number in
  // every byte.
  static std::uint32_t FaceColour(const render::FaceTexture& texture) {
    return GlTest::TexelAt(texture.name, 0, render::NextPowerOfTwo(kHeight) - 1);
  }

  static std::vector<GLint> Viewport() {
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    return std::vector<GLint>(viewport, viewport + 4);
  }
};

TEST_F(TextureRefreshTest, PicturesAreLoadedAtTheFirstSessionAndAgainOnlyAfterOk) {
  const render::Bitmap top = samples::Numbered(40, 40, 1);
  const render::Bitmap bottom = samples::Numbered(50, 50, 2);
  const render::Bitmap sky = samples::Numbered(100, 50, 3);
  settings::Settings chosen;
  chosen.topPath = PutPng("C:\\pics\\top.png", top);
  chosen.bottomPath = PutPng("C:\\pics\\bottom.png", bottom);
  chosen.backgroundPath = PutPng("C:\\pics\\sky.png", sky);
  settings::SaveSettings(store, chosen);  // read at start-up
  StartAll();
  EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
  EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_TRUE);
  ASSERT_TRUE(form.ImagesDirty());

  form.WMHotKey(app::kHotkeyRight);
  const render::FaceSet& faces = form.Faces();
  EXPECT_FALSE(form.ImagesDirty());
  EXPECT_EQ(Viewport(), (std::vector<GLint>{0, 0, kWidth, kHeight}));
  // Desktop 0's own picture (the second capture; start-up's bare desktop was
  // the first, and the others show it still).
  EXPECT_EQ(FaceColour(faces.FaceTextures()[0]), 0x020202u);
  for (const int k : {1, 2, 3}) EXPECT_EQ(FaceColour(faces.FaceTextures()[k]), 0x010101u) << k;
  ASSERT_EQ(faces.TopBitmap().Width(), 40);
  EXPECT_EQ(faces.TopBitmap().PixelAt(39, 0), top.PixelAt(39, 0));
  ASSERT_EQ(faces.BottomBitmap().Width(), 50);
  EXPECT_EQ(faces.BottomBitmap().PixelAt(49, 0), bottom.PixelAt(49, 0));
  ASSERT_EQ(faces.BackgroundBitmap().Width(), 100);
  EXPECT_EQ(faces.BackgroundBitmap().PixelAt(99, 0), sky.PixelAt(99, 0));
  RunUntilHidden();
  const std::uint64_t topSent = faces.TopTexture().sourceGeneration;
  const std::uint64_t skySent = faces.BackgroundTexture().sourceGeneration;
  const int reads = desktop.fileReads;

  Switch();  // 1 -> 2, photographing desktop 1 (the third capture)
  EXPECT_EQ(desktop.fileReads, reads);
  EXPECT_EQ(faces.TopTexture().sourceGeneration, topSent);
  EXPECT_EQ(faces.BackgroundTexture().sourceGeneration, skySent);
  EXPECT_EQ(FaceColour(faces.FaceTextures()[1]), 0x030303u);
  EXPECT_EQ(FaceColour(faces.FaceTextures()[0]), 0x020202u);

  // OK marks the pictures, also when nothing changed.
  OpenSettings([] { return platform::ModalResult::kOk; });
  EXPECT_TRUE(form.ImagesDirty());
  Switch();
  EXPECT_FALSE(form.ImagesDirty());
  EXPECT_GT(desktop.fileReads, reads);
  EXPECT_NE(faces.TopTexture().sourceGeneration, topSent);
}

TEST_F(TextureRefreshTest, AScreenOfAnotherSizeGetsTexturesAndAViewportOfItsSize) {
  StartAll();
  Switch();
  desktop.screenWidth = 1280;
  desktop.screenHeight = 1024;
  Switch();
  const render::FaceTexture& face = form.Faces().FaceTextures()[1];
  EXPECT_EQ(form.Faces().FaceBitmaps()[1].Width(), 1280);
  EXPECT_EQ(face.sMax, 0.625f);
  EXPECT_EQ(face.tMin, 0.0f);
  std::int32_t width = 0;
  GlTest::Texels(face.name, &width);
  EXPECT_EQ(width, 2048);
  EXPECT_EQ(Viewport(), (std::vector<GLint>{0, 0, 1280, 1024}));
}

TEST_F(TextureRefreshTest, ShutdownDeletesEveryTextureWhileTheContextIsCurrent) {
  StartAll();
  Switch();
  const render::FaceSet& faces = form.Faces();
  std::vector<std::uint32_t> names = {faces.TopTexture().name, faces.BottomTexture().name,
                                      faces.BackgroundTexture().name};
  for (const render::FaceTexture& face : faces.FaceTextures()) names.push_back(face.name);
  for (std::uint32_t name : names) ASSERT_EQ(glIsTexture(name), GL_TRUE);
  int alive = -1;
  desktop.onDeleteContext = [&] {
    alive = 0;
    for (std::uint32_t name : names) alive += glIsTexture(name) == GL_TRUE ? 1 : 0;
  };
  form.FormClose();
  form.FormDestroy();
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(faces.TopTexture().name, 0u);
  for (const render::Bitmap& bitmap : faces.FaceBitmaps()) EXPECT_TRUE(bitmap.Empty());
  EXPECT_TRUE(faces.TopBitmap().Empty());
}

}  // namespace
