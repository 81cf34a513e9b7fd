// The pictures and textures a session start makes: the current desktop's
// screenshot, the side faces, and the caps and background after OK.
#include "render/texture_refresh.h"

#include <gtest/gtest.h>

#include "form_fixture.h"
#include "gl_fixture.h"
#include "render/gl.h"
#include "sample_pictures.h"

namespace {

class TextureRefreshTest : public FormTest {
 protected:
  void SetUp() override { Start(); }

  void Put(const std::string& path, const samples::Bytes& bytes) {
    desktop.files.insert(path);
    desktop.contents[path] = bytes;
  }
  // Stores the picture as a PNG file; returns the path, to be chosen.
  std::string PutPng(const std::string& path, const render::Bitmap& picture) {
    Put(path, samples::EncodePng(picture, samples::PngStyle::kRgb));
    return path;
  }

  void Switch() {
    form.WMHotKey(app::kHotkeyRight);
    RunUntilHidden();
  }

  // The colour of a texel of a face texture, as 0x00RRGGBB.
  static std::uint32_t Texel(const render::FaceTexture& texture, std::int32_t column,
                             std::int32_t row) {
    std::int32_t width = 0;
    const std::vector<std::uint8_t> texels = GlTest::Texels(texture.name, &width);
    const std::uint8_t* t = &texels[(static_cast<std::size_t>(row) * width + column) * 4];
    return static_cast<std::uint32_t>(t[2]) << 16 | t[1] << 8 | t[0];
  }
};

TEST_F(TextureRefreshTest, TheFirstSessionMakesEveryTextureWithTheFallbacks) {
  EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
  EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_TRUE);
  ASSERT_TRUE(form.imagesDirty);
  form.WMHotKey(app::kHotkeyRight);
  EXPECT_FALSE(form.imagesDirty);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4),
            (std::vector<GLint>{0, 0, kWidth, kHeight}));
  for (const render::FaceTexture& face : form.faceTextures) {
    EXPECT_NE(face.name, 0u);
    EXPECT_EQ(face.sMax, 1.0f);
    EXPECT_EQ(face.tMin, 0.25f);
  }
  // Face 0's texture is the screenshot just taken (the fake screen fills
  // every byte with the number of the capture: 1 was start-up's).
  EXPECT_EQ(Texel(form.faceTextures[0], 0, 1023), 0x020202u);
  EXPECT_EQ(Texel(form.faceTextures[1], 0, 1023), 0x010101u);
  // No cap pictures chosen: the default picture, not cut; no background:
  // a small black square.
  EXPECT_EQ(form.topBitmap.Width(), 256);
  EXPECT_EQ(form.topBitmap.PixelAt(10, 20), form.imgDefault.PixelAt(10, 20));
  EXPECT_EQ(form.imgDefault.PixelAt(10, 20), 0x0A1480u);
  EXPECT_EQ(form.bottomBitmap.Height(), 256);
  EXPECT_EQ(Texel(form.topTexture, 10, 255 - 20), 0x0A1480u);
  EXPECT_EQ(form.backgroundBitmap.Width(), render::kFallbackBackgroundSide);
  EXPECT_EQ(form.backgroundBitmap.Height(), render::kFallbackBackgroundSide);
  EXPECT_EQ(Texel(form.backgroundTexture, 5, 5), 0u);
  EXPECT_EQ(form.backgroundTexture.sMax, 1.0f);
}

TEST_F(TextureRefreshTest, ChosenPicturesAreLoadedCapsCutToTheirCentredSquare) {
  const render::Bitmap top = samples::Numbered(300, 200, 1);
  const render::Bitmap bottom = samples::Numbered(200, 301, 2);
  const render::Bitmap background = samples::Gradient(1000, 500, 3);
  form.settings.topPath = PutPng("C:\\pics\\top.png", top);
  form.settings.bottomPath = PutPng("C:\\pics\\bottom.PNG", bottom);
  form.settings.backgroundPath = PutPng("C:\\pics\\sky.png", background);
  Switch();

  ASSERT_EQ(form.topBitmap.Width(), 200);
  ASSERT_EQ(form.topBitmap.Height(), 200);
  EXPECT_EQ(form.topBitmap.PixelAt(0, 0), top.PixelAt(50, 0));
  EXPECT_EQ(form.topBitmap.PixelAt(199, 199), top.PixelAt(249, 199));
  ASSERT_EQ(form.bottomBitmap.Height(), 200);
  EXPECT_EQ(form.bottomBitmap.PixelAt(0, 0), bottom.PixelAt(0, 50));
  EXPECT_EQ(form.topTexture.sMax, 200.0f / 256);
  // The background keeps its shape.
  EXPECT_EQ(form.backgroundBitmap.Width(), 1000);
  EXPECT_EQ(form.backgroundTexture.sMax, 1000.0f / 1024);
  EXPECT_EQ(form.backgroundTexture.tMin, 1.0f - 500.0f / 512);
  EXPECT_EQ(Texel(form.backgroundTexture, 999, 511), background.PixelAt(999, 0));
}

TEST_F(TextureRefreshTest, PicturesThatCannotBeHadFallBack) {
  // A background of the fallback's size first, so a fallback that kept its
  // pixels would show.
  const samples::Bytes good =
      samples::EncodePng(samples::Gradient(64, 64, 9), samples::PngStyle::kRgb);
  Put("C:\\pics\\good.png", good);
  form.settings.backgroundPath = "C:\\pics\\good.png";
  Switch();
  ASSERT_EQ(form.backgroundBitmap.PixelAt(3, 3), samples::Gradient(64, 64, 9).PixelAt(3, 3));
  Put("C:\\pics\\a.gif", good);
  samples::Bytes truncated(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
  Put("C:\\pics\\broken.png", truncated);
  desktop.directories.insert("C:\\pics\\folder.png");
  const struct {
    std::string path;
  } cases[] = {{""},
               {"C:\\pics\\missing.png"},
               {"C:\\pics\\a.gif"},
               {"C:\\pics\\broken.png"},
               {"C:\\pics\\folder.png"}};
  for (const auto& c : cases) {
    form.settings.topPath = c.path;
    form.settings.backgroundPath = c.path;
    form.imagesDirty = true;
    Switch();
    EXPECT_EQ(form.topBitmap.Width(), 256) << c.path;
    EXPECT_EQ(form.topBitmap.PixelAt(100, 7), form.imgDefault.PixelAt(100, 7)) << c.path;
    EXPECT_EQ(form.backgroundBitmap.Width(), 64) << c.path;
    EXPECT_EQ(form.backgroundBitmap.PixelAt(3, 3), 0u) << c.path;
  }
}

TEST_F(TextureRefreshTest, FramesShowTheTopPictureOnTopAndTheBottomOneBelow) {
  Put("C:\\pics\\top.png",
      samples::EncodePng(samples::Gradient(64, 64, 0x11), samples::PngStyle::kRgb));
  Put("C:\\pics\\bottom.png",
      samples::EncodePng(samples::Gradient(64, 64, 0xEE), samples::PngStyle::kRgb));
  form.settings.topPath = "C:\\pics\\top.png";
  form.settings.bottomPath = "C:\\pics\\bottom.png";
  for (const int dy : {450, -450}) {
    desktop.files.insert(desktop.tempPath + app::kSignalFileName);
    desktop.leftDown = true;
    desktop.cursor = {512, 300};
    form.Timer1Timer();
    ASSERT_TRUE(form.mouseTurning);
    desktop.cursor = {512, 300 + dy};
    form.FormMouseMove();
    ASSERT_FLOAT_EQ(form.shownPitch, dy > 0 ? 90 : -90);
    const std::vector<std::uint8_t> painted = desktop.gl().Pixels();
    EXPECT_TRUE(painted == ReferenceFrame(0, form.shownPitch, form.shownYaw)) << dy;
    EXPECT_FALSE(painted == ReferenceFrame(0, form.shownPitch, form.shownYaw, true)) << dy;
    desktop.leftDown = false;
    RunUntilHidden();
  }
}

// Where the background's picture meets itself around the sphere and at its
// poles, linear filtering blends in the texels beyond the picture's edges:
// a plain picture must stay plain there.
TEST_F(TextureRefreshTest, APlainBackgroundShowsItsColourOnTheMeridianAndAtThePoles) {
  constexpr std::uint32_t kColour = 0x3080C0;
  render::Bitmap sky;
  sky.SetSize(100, 50);
  for (std::int32_t y = 0; y < sky.Height(); ++y) {
    for (std::int32_t x = 0; x < sky.Width(); ++x) sky.SetPixel(x, y, kColour);
  }
  form.settings.backgroundPath = PutPng("C:\\pics\\sky.png", sky);
  Switch();
  // The whole scene in the test's frame; pulled back beyond the sphere, only
  // the sphere is seen: the meridian where the picture's sides meet straight
  // ahead, then each pole.
  render::SetViewport(desktop.gl().Width(), desktop.gl().Height());
  for (const auto& [pitch, yaw] : {std::pair{0.0f, -90.0f}, {90.0f, 0.0f}, {-90.0f, 0.0f}}) {
    const std::vector<std::uint8_t> frame = ReferenceFrame(20, pitch, yaw);
    int wrong = 0;
    for (std::size_t k = 0; k < frame.size(); k += 4) {
      wrong += (frame[k + 2] << 16 | frame[k + 1] << 8 | frame[k]) != kColour ? 1 : 0;
    }
    EXPECT_EQ(wrong, 0) << "pitch " << pitch << ", yaw " << yaw;
  }
}

// The caps repeat their edges; the background's sides run on into each
// other. Across the wrap, before its first column, a cap holds that column
// and the background its last; after its last, the background its first.
TEST_F(TextureRefreshTest, TheCapsAndTheBackgroundArePaddedEachTheirWay) {
  const render::Bitmap cap = samples::Numbered(30, 30, 1);
  const render::Bitmap sky = samples::Numbered(100, 50, 2);
  form.settings.topPath = PutPng("C:\\pics\\cap.png", cap);
  form.settings.bottomPath = form.settings.topPath;
  form.settings.backgroundPath = PutPng("C:\\pics\\sky.png", sky);
  Switch();
  // Texture row H - 1 is the picture's top row.
  EXPECT_EQ(Texel(form.topTexture, 31, 31), cap.PixelAt(0, 0));
  EXPECT_EQ(Texel(form.bottomTexture, 31, 31), cap.PixelAt(0, 0));
  EXPECT_EQ(Texel(form.backgroundTexture, 127, 63), sky.PixelAt(99, 0));
  EXPECT_EQ(Texel(form.backgroundTexture, 100, 63), sky.PixelAt(0, 0));
}

TEST_F(TextureRefreshTest, ASecondSessionWithoutOkMakesOnlyTheFaceTexturesAgain) {
  Put("C:\\pics\\top.png",
      samples::EncodePng(samples::Gradient(64, 64, 1), samples::PngStyle::kRgb));
  form.settings.topPath = "C:\\pics\\top.png";
  Switch();  // 0 -> 1; its start photographed desktop 0
  const render::FaceTexture top = form.topTexture;
  const render::FaceTexture background = form.backgroundTexture;
  const std::array<render::FaceTexture, 4> faces = form.faceTextures;
  const int reads = desktop.fileReads;

  Switch();  // 1 -> 2, photographing desktop 1
  EXPECT_EQ(desktop.fileReads, reads);
  EXPECT_EQ(form.topTexture.name, top.name);
  EXPECT_EQ(form.topTexture.sourceGeneration, top.sourceGeneration);
  EXPECT_EQ(form.backgroundTexture.sourceGeneration, background.sourceGeneration);
  // Only desktop 1's texture took the new picture (capture number 3).
  EXPECT_EQ(Texel(form.faceTextures[1], 0, 1023), 0x030303u);
  EXPECT_NE(form.faceTextures[1].sourceGeneration, faces[1].sourceGeneration);
  for (const int k : {0, 2, 3}) {
    EXPECT_EQ(form.faceTextures[k].sourceGeneration, faces[k].sourceGeneration) << k;
  }
  EXPECT_EQ(Texel(form.faceTextures[0], 0, 1023), 0x020202u);

  // After OK the pictures are loaded again, also when nothing changed.
  form.imagesDirty = true;
  Switch();
  EXPECT_GT(desktop.fileReads, reads);
  EXPECT_NE(form.topTexture.sourceGeneration, top.sourceGeneration);
}

TEST_F(TextureRefreshTest, AScreenOfAnotherSizeGetsTexturesOfItsSize) {
  Switch();
  desktop.screenWidth = 1280;
  desktop.screenHeight = 1024;
  Switch();
  EXPECT_EQ(form.faceBitmaps[1].Width(), 1280);
  EXPECT_EQ(form.faceTextures[1].sMax, 0.625f);
  EXPECT_EQ(form.faceTextures[1].tMin, 0.0f);
  std::int32_t width = 0;
  GlTest::Texels(form.faceTextures[1].name, &width);
  EXPECT_EQ(width, 2048);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 1280);
  EXPECT_EQ(viewport[3], 1024);
}

TEST_F(TextureRefreshTest, ShutdownDeletesTheTexturesWhileTheContextIsCurrent) {
  Switch();
  std::vector<std::uint32_t> names = {form.topTexture.name, form.bottomTexture.name,
                                      form.backgroundTexture.name};
  for (const render::FaceTexture& face : form.faceTextures) names.push_back(face.name);
  for (std::uint32_t name : names) ASSERT_EQ(glIsTexture(name), GL_TRUE);
  int alive = -1;
  desktop.onDeleteContext = [&] {
    alive = 0;
    for (std::uint32_t name : names) alive += glIsTexture(name) == GL_TRUE ? 1 : 0;
  };
  form.FormClose();
  form.FormDestroy();
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(form.topTexture.name, 0u);
  EXPECT_TRUE(form.faceBitmaps[1].Empty());
}

TEST(CapPictureTest, TheDefaultPictureIsUsedWhenTheWindowHasNone) {
  platform::FakeDesktop desktop;
  desktop.hasDefaultCap = false;
  platform::FakeStore store;
  platform::Platform system = desktop.Bundle(store);
  app::TForm1 form(system);
  EXPECT_TRUE(form.imgDefault.Empty());
  form.FormCreate();
  form.WMHotKey(app::kHotkeyRight);
  // An empty cap still gets a texture: the smallest, with nothing inside.
  EXPECT_NE(form.topTexture.name, 0u);
  EXPECT_EQ(form.topTexture.sMax, 0.0f);
}

}  // namespace
