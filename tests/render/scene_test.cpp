// Frames of the cube scene, drawn by a real OpenGL and checked pixel by
// pixel against the pictures on its faces.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "gl_fixture.h"
#include "render/frame.h"
#include "render/scene_geometry.h"
#include "sample_pictures.h"
#include "tests/common/colours.h"

namespace {

constexpr int kTolerance = 4;  // per channel: half-texel blending on smooth pictures

using colours::Distance;
int RedOf(std::uint32_t rgb) { return colours::Red(rgb); }
int GreenOf(std::uint32_t rgb) { return colours::Green(rgb); }
int BlueOf(std::uint32_t rgb) { return colours::Blue(rgb); }

// Each face shows a screenshot-sized gradient tagged with its desktop; the
// caps and the background get their own pictures.
class SceneTest : public GlTest {
 protected:
  static std::uint8_t FaceTag(int face) { return static_cast<std::uint8_t>(30 + 60 * face); }
  static constexpr std::uint8_t kTopTag = 200;
  static constexpr std::uint8_t kBottomTag = 220;
  static constexpr std::uint8_t kBackgroundTag = 240;

  void Build(std::int32_t width, std::int32_t height, bool pictureBackground) {
    MakeContext(width, height);
    width_ = width;
    height_ = height;
    render::EnableDepthAndTexturing();
    render::SetViewport(width, height);
    for (int k = 0; k < 4; ++k) {
      faces_[k] = samples::Gradient(width, height, FaceTag(k));
      render::UploadTexture(faces_[k], faceTextures_[k], caps);
    }
    top_ = samples::Gradient(256, 256, kTopTag);
    render::UploadTexture(top_, topTexture_, caps);
    bottom_ = samples::Gradient(256, 256, kBottomTag);
    render::UploadTexture(bottom_, bottomTexture_, caps);
    if (pictureBackground) {
      background_ = samples::Gradient(512, 256, kBackgroundTag);
    } else {
      background_.SetSize(64, 64);
      background_.FillBlack();
    }
    render::UploadTexture(background_, backgroundTexture_, caps);
  }

  void Draw(float pullBack, float pitch, float yaw) {
    render::BeginFrame(pullBack);
    render::OrientBox(pitch, yaw);
    render::DrawBox(faceTextures_, topTexture_, bottomTexture_, width_);
    render::DrawBackground(pitch, yaw, backgroundTexture_);
    gl().Present();
  }

  std::uint32_t At(std::int32_t x, std::int32_t y) { return gl().PixelAt(x, y); }

  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::array<render::Bitmap, 4> faces_;
  std::array<render::FaceTexture, 4> faceTextures_;
  render::Bitmap top_, bottom_, background_;
  render::FaceTexture topTexture_, bottomTexture_, backgroundTexture_;
};

struct WindowShape {
  std::int32_t width, height;
};

class RestTest : public SceneTest, public testing::WithParamInterface<WindowShape> {};

TEST_P(RestTest, EachFaceCoversTheWindowExactlyAtItsRestYaw) {
  const WindowShape shape = GetParam();
  Build(shape.width, shape.height, true);
  for (int k = 0; k < 4; ++k) {
    Draw(0, 0, -90.0f * static_cast<float>(k));
    int worst = 0;
    int wrong = 0;
    for (std::int32_t y = 0; y < shape.height; ++y) {
      for (std::int32_t x = 0; x < shape.width; ++x) {
        const int d = Distance(At(x, y), faces_[k].PixelAt(x, y));
        worst = std::max(worst, d);
        if (d > kTolerance) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0) << "face " << k << ", worst difference " << worst;
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, RestTest,
                         testing::Values(WindowShape{400, 300}, WindowShape{400, 320},
                                         WindowShape{480, 270}));

TEST_F(SceneTest, ZoomedOutTheFaceShrinksByTheZoomAndTheBackgroundShowsAround) {
  constexpr std::int32_t kWidth = 480, kHeight = 360;
  constexpr float kZoom = 0.2f;
  Build(kWidth, kHeight, false);
  Draw(kZoom * 1.0f, 0, 0);
  // At distance 1.2 the face covers 1/1.2 of the window each way.
  const double halfWidth = kWidth / 2.0 / 1.2;
  const double halfHeight = kHeight / 2.0 / 1.2;
  int wrong = 0;
  for (std::int32_t y = 0; y < kHeight; ++y) {
    for (std::int32_t x = 0; x < kWidth; ++x) {
      const double dx = std::fabs(x + 0.5 - kWidth / 2.0);
      const double dy = std::fabs(y + 0.5 - kHeight / 2.0);
      if (dx > halfWidth + 1 || dy > halfHeight + 1) {
        if (At(x, y) != 0) ++wrong;  // the black fallback background
      } else if (dx < halfWidth - 2 && dy < halfHeight - 2) {
        // The face's picture, scaled down about the centre.
        const auto px = static_cast<std::int32_t>((x + 0.5 - kWidth / 2.0) * 1.2 + kWidth / 2.0);
        const auto py = static_cast<std::int32_t>((y + 0.5 - kHeight / 2.0) * 1.2 + kHeight / 2.0);
        if (Distance(At(x, y), faces_[0].PixelAt(px, py)) > kTolerance + 2) ++wrong;
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(SceneTest, ZoomNeverMovesTheBackgroundButTurningDoes) {
  Build(320, 240, true);
  const std::int32_t corners[4][2] = {{2, 2}, {317, 2}, {2, 237}, {317, 237}};
  Draw(0.5f * 0.4f, 10, 20);
  std::uint32_t before[4];
  for (int c = 0; c < 4; ++c) before[c] = At(corners[c][0], corners[c][1]);
  Draw(0.5f * 1.0f, 10, 20);
  for (int c = 0; c < 4; ++c) EXPECT_EQ(At(corners[c][0], corners[c][1]), before[c]) << c;
  Draw(0.5f * 1.0f, 10, 35);
  int changed = 0;
  for (int c = 0; c < 4; ++c) changed += At(corners[c][0], corners[c][1]) != before[c] ? 1 : 0;
  EXPECT_EQ(changed, 4);
  // The corners show the background picture, not the cleared black.
  for (int c = 0; c < 4; ++c) EXPECT_EQ(BlueOf(before[c]), kBackgroundTag) << c;
}

TEST_F(SceneTest, PitchedUpTheTopCapShowsUprightCentredAndCut) {
  constexpr std::int32_t kWidth = 400, kHeight = 300;
  Build(kWidth, kHeight, false);
  for (const float pitch : {90.0f, -90.0f}) {
    const std::uint8_t tag = pitch > 0 ? kTopTag : kBottomTag;
    Draw(0, pitch, 0);
    // At distance 1.25 the cap covers the middle 80% of the width and more
    // than the height: background at the sides, cap at the top and bottom.
    EXPECT_EQ(At(kWidth * 7 / 100, kHeight / 2), 0u) << pitch;
    EXPECT_EQ(At(kWidth * 93 / 100, kHeight / 2), 0u) << pitch;
    for (const std::int32_t y : {0, kHeight / 2, kHeight - 1}) {
      EXPECT_EQ(BlueOf(At(kWidth / 2, y)), tag) << pitch << " row " << y;
    }
    // Upright and unmirrored: the picture's top row towards the window's
    // top, its left column on the left; the middle shows its middle.
    EXPECT_LT(GreenOf(At(kWidth / 2, 0)), 30) << pitch;
    EXPECT_GT(GreenOf(At(kWidth / 2, kHeight - 1)), 225) << pitch;
    EXPECT_NEAR(GreenOf(At(kWidth / 2, kHeight / 2)), 128, 3) << pitch;
    EXPECT_LT(RedOf(At(kWidth * 12 / 100, kHeight / 2)), 15) << pitch;
    EXPECT_GT(RedOf(At(kWidth * 88 / 100, kHeight / 2)), 240) << pitch;
    EXPECT_NEAR(RedOf(At(kWidth / 2, kHeight / 2)), 128, 3) << pitch;
  }
}

// Pitched and turned at once: the box turns about its own upright axis
// first and is then tipped towards the viewer, so the cap stays in front,
// turned a quarter in its plane. The other order would tip the cap up first
// and then swing it aside, showing a side face in the middle.
TEST_F(SceneTest, PitchedAndTurnedTheCapTurnsInItsPlane) {
  constexpr std::int32_t kWidth = 400, kHeight = 300;
  Build(kWidth, kHeight, false);
  Draw(0, 90.0f, 90.0f);
  const std::int32_t left = kWidth * 20 / 100, right = kWidth * 80 / 100;
  const std::int32_t top = kHeight * 5 / 100, bottom = kHeight * 95 / 100;
  for (const std::int32_t x : {left, kWidth / 2, right}) {
    EXPECT_EQ(BlueOf(At(x, kHeight / 2)), kTopTag) << "column " << x;
  }
  // The picture's rows (green) now run across the window, its columns
  // (red) down it.
  EXPECT_NEAR(GreenOf(At(kWidth / 2, top)), GreenOf(At(kWidth / 2, bottom)), kTolerance);
  EXPECT_GT(std::abs(GreenOf(At(left, kHeight / 2)) - GreenOf(At(right, kHeight / 2))), 100);
  EXPECT_NEAR(RedOf(At(left, kHeight / 2)), RedOf(At(right, kHeight / 2)), kTolerance);
  EXPECT_GT(std::abs(RedOf(At(kWidth / 2, top)) - RedOf(At(kWidth / 2, bottom))), 100);
}

TEST_F(SceneTest, FromInsideTheBackgroundRunsLeftToRightUnmirrored) {
  constexpr std::int32_t kWidth = 320, kHeight = 240;
  Build(kWidth, kHeight, true);
  // Pulled back beyond the sphere, the box is hidden and only the
  // background is seen, straight ahead the end of its first quarter.
  Draw(20, 0, 0);
  const std::uint32_t centre = At(kWidth / 2, kHeight / 2);
  EXPECT_EQ(BlueOf(centre), kBackgroundTag);
  EXPECT_NEAR(RedOf(centre), 255 / 4, 4);
  EXPECT_NEAR(GreenOf(centre), 128, 4);
  EXPECT_LT(RedOf(At(20, kHeight / 2)), RedOf(centre) - 10);
  EXPECT_GT(RedOf(At(kWidth - 20, kHeight / 2)), RedOf(centre) + 10);
  // Up on the screen is towards the picture's top row.
  EXPECT_LT(GreenOf(At(kWidth / 2, 20)), GreenOf(centre) - 10);
  EXPECT_GT(GreenOf(At(kWidth / 2, kHeight - 20)), GreenOf(centre) + 10);
}

TEST(SceneGeometryTest, SideFacesSampleHalfAScreenPixelInside) {
  EXPECT_EQ(render::EdgeInset(1024), 0.00048828125f);
  EXPECT_EQ(render::EdgeInset(0), 0.0f);
  const float e = render::EdgeInset(1024);
  const render::QuadTexCoords side = render::SideTexCoords(1.0f, 0.25f, e);
  const render::QuadTexCoords expected = {
      {{e, 1 - e}, {1 - e, 1 - e}, {1 - e, 0.25f + e}, {e, 0.25f + e}}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(side[k].s, expected[k].s) << k;
    EXPECT_EQ(side[k].t, expected[k].t) << k;
  }
  const render::QuadTexCoords cap = render::CapTexCoords(0.625f, 0.375f);
  const render::QuadTexCoords capExpected = {{{0, 1}, {0.625f, 1}, {0.625f, 0.375f}, {0, 0.375f}}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(cap[k].s, capExpected[k].s) << k;
    EXPECT_EQ(cap[k].t, capExpected[k].t) << k;
  }
}

TEST(SceneGeometryTest, TheSphereWrapsThePictureOnceAroundFromPoleToPole) {
  const float s = 0.75f, t = 0.25f;
  const render::SphereQuad first = render::SphereQuadAt(0, 0, s, t);
  EXPECT_FLOAT_EQ(first.texCoords[0].s, 0);
  EXPECT_FLOAT_EQ(first.texCoords[0].t, t);
  EXPECT_FLOAT_EQ(first.texCoords[2].s, s / 32);
  EXPECT_FLOAT_EQ(first.texCoords[2].t, t + (1 - t) / 16);
  const render::SphereQuad last = render::SphereQuadAt(31, 15, s, t);
  EXPECT_FLOAT_EQ(last.texCoords[2].s, s);
  EXPECT_FLOAT_EQ(last.texCoords[2].t, 1);
  // The lower pole, the left edge towards -x, a quarter round straight ahead.
  EXPECT_NEAR(first.vertices[0].y, -10, 1e-5);
  const render::SphereQuad west = render::SphereQuadAt(0, 8, s, t);
  EXPECT_NEAR(west.vertices[0].x, -10, 1e-5);
  EXPECT_NEAR(west.vertices[0].z, 0, 1e-5);
  const render::SphereQuad ahead = render::SphereQuadAt(8, 8, s, t);
  EXPECT_NEAR(ahead.vertices[0].z, -10, 1e-5);
  EXPECT_NEAR(ahead.vertices[0].x, 0, 1e-5);
  EXPECT_FLOAT_EQ(ahead.texCoords[0].s, s / 4);
  // Every corner on the radius; neighbours share their edges.
  for (int i = 0; i < render::kSphereSlices; ++i) {
    for (int j = 0; j < render::kSphereStacks; ++j) {
      const render::SphereQuad quad = render::SphereQuadAt(i, j, s, t);
      for (const render::Vertex& v : quad.vertices) {
        EXPECT_NEAR(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 10, 1e-4);
      }
      if (j + 1 < render::kSphereStacks) {
        const render::SphereQuad above = render::SphereQuadAt(i, j + 1, s, t);
        EXPECT_EQ(quad.vertices[3].x, above.vertices[0].x);
        EXPECT_EQ(quad.texCoords[3].t, above.texCoords[0].t);
      }
    }
  }
}

}  // namespace
