// The set of faces on its own: which face a session start photographs and
// which textures it sends again, the caps and the background made from the
// chosen files or their fallbacks, how each is padded and where each shows.
#include "render/face_set.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gl_fixture.h"
#include "render/frame.h"
#include "render/gl.h"
#include "render/texture_refresh.h"
#include "sample_pictures.h"
#include "tests/support/fake/fake_desktop.h"

namespace {

constexpr std::int32_t kWidth = 1024;
constexpr std::int32_t kHeight = 768;
constexpr std::uint32_t kMark = 0x332211;

// The fake desktop is the window (with the default cap picture), the files,
// the screen (each capture fills every byte with its number) and the context.
class FaceSetTest : public testing::Test {
 protected:
  FaceSetTest() : faces(desktop, desktop, desktop) {
    desktop.CreateContext();
    render::EnableDepthAndTexturing();
    faces.QueryCaps();
  }

  void Refresh(std::int32_t face, const render::PicturePaths* reload = nullptr) {
    faces.Refresh(face, kWidth, kHeight, desktop, reload);
  }

  void Put(const std::string& path, const samples::Bytes& bytes) {
    desktop.files.insert(path);
    desktop.contents[path] = bytes;
  }
  // Stores the picture as a PNG file; returns its path.
  std::string PutPng(const std::string& path, const render::Bitmap& picture) {
    Put(path, samples::EncodePng(picture, samples::PngStyle::kRgb));
    return path;
  }

  // The top-left texel of a screen-sized face: a capture's number in every
  // byte.
  static std::uint32_t FaceColour(const render::FaceTexture& texture) {
    return GlTest::TexelAt(texture.name, 0, render::NextPowerOfTwo(kHeight) - 1);
  }

  // Writes kMark into the texel FaceColour reads, behind the set's back.
  static void Mark(const render::FaceTexture& texture) {
    const std::uint8_t rgba[] = {0x33, 0x22, 0x11, 0};
    render::BindTexture(texture.name);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, render::NextPowerOfTwo(kHeight) - 1, 1, 1, GL_RGBA,
                    GL_UNSIGNED_BYTE, rgba);
  }

  static render::Bitmap Plain(std::int32_t width, std::int32_t height, std::uint32_t colour) {
    render::Bitmap picture;
    picture.SetSize(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
      for (std::int32_t x = 0; x < width; ++x) picture.SetPixel(x, y, colour);
    }
    return picture;
  }

  platform::FakeDesktop desktop;
  render::FaceSet faces;
};

constexpr std::uint32_t Grey(int capture) {
  return 0x010101u * static_cast<std::uint32_t>(capture);
}

TEST_F(FaceSetTest, EachSessionStartPhotographsItsDesktopAndSendsOnlyThatFaceAgain) {
  render::Bitmap bare;
  bare.SetSize(kWidth, kHeight);
  desktop.CaptureScreen(kWidth, kHeight, false, bare.Data());  // capture 1
  faces.ShowBareDesktop(bare);
  EXPECT_TRUE(faces.FaceBitmaps()[0].Empty());

  Refresh(0);  // capture 2; every face is sent the first time
  std::vector<std::uint32_t> shown = {Grey(2), Grey(1), Grey(1), Grey(1)};
  for (std::size_t k = 0; k < shown.size(); ++k) {
    EXPECT_EQ(FaceColour(faces.FaceTextures()[k]), shown[k]) << "face " << k;
  }
  int capture = 2;
  for (const std::int32_t desktopShown : {2, 3, 1, 0}) {
    // A face that is not sent again keeps this mark in its texture.
    for (const render::FaceTexture& face : faces.FaceTextures()) Mark(face);
    Refresh(desktopShown);
    shown[static_cast<std::size_t>(desktopShown)] = Grey(++capture);
    for (std::size_t k = 0; k < shown.size(); ++k) {
      const bool taken = k == static_cast<std::size_t>(desktopShown);
      EXPECT_EQ(FaceColour(faces.FaceTextures()[k]), taken ? shown[k] : kMark)
          << desktopShown << ", face " << k;
    }
  }
}

TEST_F(FaceSetTest, CapsAreCutToTheirCentredSquareAndTheBackgroundKeepsItsShape) {
  const render::Bitmap top = samples::Numbered(300, 200, 1);
  const render::Bitmap bottom = samples::Numbered(200, 301, 2);
  const render::Bitmap background = samples::Gradient(1000, 500, 3);
  const render::PicturePaths paths{PutPng("C:\\pics\\top.png", top),
                                   PutPng("C:\\pics\\bottom.PNG", bottom),
                                   PutPng("C:\\pics\\sky.png", background)};
  Refresh(0, &paths);

  ASSERT_EQ(faces.TopBitmap().Width(), 200);
  ASSERT_EQ(faces.TopBitmap().Height(), 200);
  EXPECT_EQ(faces.TopBitmap().PixelAt(0, 0), top.PixelAt(50, 0));
  EXPECT_EQ(faces.TopBitmap().PixelAt(199, 199), top.PixelAt(249, 199));
  ASSERT_EQ(faces.BottomBitmap().Width(), 200);
  ASSERT_EQ(faces.BottomBitmap().Height(), 200);
  EXPECT_EQ(faces.BottomBitmap().PixelAt(0, 0), bottom.PixelAt(0, 50));
  EXPECT_EQ(faces.TopTexture().sMax, 200.0f / 256);
  EXPECT_EQ(faces.BackgroundBitmap().Width(), 1000);
  EXPECT_EQ(faces.BackgroundTexture().sMax, 1000.0f / 1024);
  EXPECT_EQ(faces.BackgroundTexture().tMin, 1.0f - 500.0f / 512);
  EXPECT_EQ(GlTest::TexelAt(faces.BackgroundTexture().name, 999, 511), background.PixelAt(999, 0));
}

// Each bad path follows good pictures of the fallbacks' sizes, so a
// fallback that kept the earlier pixels would show.
TEST_F(FaceSetTest, PicturesThatCannotBeHadGiveTheDefaultCapAndABlackBackground) {
  ASSERT_EQ(faces.DefaultCapPicture().PixelAt(10, 20), 0x0A1480u);  // the window's picture
  const render::Bitmap good = samples::Gradient(64, 64, 9);
  const std::string goodPath = PutPng("C:\\pics\\good.png", good);
  const render::PicturePaths goodPaths{goodPath, goodPath, goodPath};
  const samples::Bytes png = desktop.contents[goodPath];
  Put("C:\\pics\\a.gif", png);
  Put("C:\\pics\\broken.png", samples::Bytes(png.begin(), png.begin() + png.size() / 2));
  desktop.directories.insert("C:\\pics\\folder.png");

  for (const std::string path : {"", "C:\\pics\\missing.png", "C:\\pics\\a.gif",
                                 "C:\\pics\\broken.png", "C:\\pics\\folder.png"}) {
    Refresh(0, &goodPaths);
    ASSERT_EQ(faces.BackgroundBitmap().PixelAt(3, 3), good.PixelAt(3, 3));
    const render::PicturePaths paths{path, path, path};
    Refresh(0, &paths);
    for (const render::Bitmap* cap : {&faces.TopBitmap(), &faces.BottomBitmap()}) {
      ASSERT_EQ(cap->Width(), 256) << path;
      EXPECT_EQ(cap->PixelAt(100, 7), faces.DefaultCapPicture().PixelAt(100, 7)) << path;
    }
    EXPECT_EQ(GlTest::TexelAt(faces.TopTexture().name, 10, 255 - 20), 0x0A1480u) << path;
    EXPECT_EQ(faces.BackgroundBitmap().Width(), render::kFallbackBackgroundSide) << path;
    EXPECT_EQ(faces.BackgroundBitmap().Height(), render::kFallbackBackgroundSide) << path;
    EXPECT_EQ(GlTest::TexelAt(faces.BackgroundTexture().name, 3, 3), 0u) << path;
    EXPECT_EQ(faces.BackgroundTexture().sMax, 1.0f) << path;
  }
}

TEST_F(FaceSetTest, WithoutADefaultPictureTheCapsGetAnEmptyTexture) {
  desktop.hasDefaultCap = false;
  render::FaceSet bare(desktop, desktop, desktop);
  bare.QueryCaps();
  EXPECT_TRUE(bare.DefaultCapPicture().Empty());
  const render::PicturePaths none;
  bare.Refresh(0, kWidth, kHeight, desktop, &none);
  EXPECT_NE(bare.TopTexture().name, 0u);
  EXPECT_EQ(bare.TopTexture().sMax, 0.0f);
}

// The caps repeat their edges; the background's sides run on into each
// other. Across the wrap, before its first column, a cap holds that column
// and the background its last; after its last, the background its first.
TEST_F(FaceSetTest, TheCapsAndTheBackgroundArePaddedEachTheirWay) {
  const render::Bitmap cap = samples::Numbered(30, 30, 1);
  const render::Bitmap sky = samples::Numbered(100, 50, 2);
  const std::string capPath = PutPng("C:\\pics\\cap.png", cap);
  const render::PicturePaths paths{capPath, capPath, PutPng("C:\\pics\\sky.png", sky)};
  Refresh(0, &paths);
  // Texture row H - 1 is the picture's top row.
  EXPECT_EQ(GlTest::TexelAt(faces.TopTexture().name, 31, 31), cap.PixelAt(0, 0));
  EXPECT_EQ(GlTest::TexelAt(faces.BottomTexture().name, 31, 31), cap.PixelAt(0, 0));
  EXPECT_EQ(GlTest::TexelAt(faces.BackgroundTexture().name, 127, 63), sky.PixelAt(99, 0));
  EXPECT_EQ(GlTest::TexelAt(faces.BackgroundTexture().name, 100, 63), sky.PixelAt(0, 0));
}

// Plain pictures, each its own colour. Pulled back beyond the sphere only the
// sphere is seen, and a plain background must stay plain where its picture
// meets itself (the meridian straight ahead at yaw -90, and the poles); close
// up, pitched a quarter turn, the cap faces the camera in the middle.
struct SightCase {
  float pullBack;
  float pitch;
  float yaw;
  std::uint32_t colour;
  bool wholeFrame;
};

constexpr std::uint32_t kTopColour = 0xC03010;
constexpr std::uint32_t kBottomColour = 0x10C030;
constexpr std::uint32_t kSkyColour = 0x3080C0;

class SightTest : public FaceSetTest, public testing::WithParamInterface<SightCase> {};

TEST_P(SightTest, EachPictureShowsWhereItBelongs) {
  const SightCase& c = GetParam();
  const render::PicturePaths paths{PutPng("C:\\pics\\top.png", Plain(40, 40, kTopColour)),
                                   PutPng("C:\\pics\\bottom.png", Plain(40, 40, kBottomColour)),
                                   PutPng("C:\\pics\\sky.png", Plain(100, 50, kSkyColour))};
  Refresh(0, &paths);
  platform::OffscreenGraphics& frame = desktop.gl();
  render::SetViewport(frame.Width(), frame.Height());
  render::BeginFrame(c.pullBack);
  render::OrientBox(c.pitch, c.yaw);
  faces.Draw(c.pitch, c.yaw, kWidth);
  frame.Present();
  if (!c.wholeFrame) {
    EXPECT_EQ(frame.PixelAt(frame.Width() / 2, frame.Height() / 2), c.colour);
    return;
  }
  int wrong = 0;
  for (std::int32_t y = 0; y < frame.Height(); ++y) {
    for (std::int32_t x = 0; x < frame.Width(); ++x) wrong += frame.PixelAt(x, y) != c.colour;
  }
  EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(Views, SightTest,
                         testing::Values(SightCase{0, 90, 0, kTopColour, false},
                                         SightCase{0, -90, 0, kBottomColour, false},
                                         SightCase{20, 0, -90, kSkyColour, true},
                                         SightCase{20, 90, 0, kSkyColour, true},
                                         SightCase{20, -90, 0, kSkyColour, true}));

}  // namespace
