// What the cube costs, each figure against a baseline measured in the same
// run on Mesa's off-screen OpenGL at 1920 x 1080:
//   - the texture refresh of a session start against the plain recipe (swap
//     red and blue, pad the bitmap, fill the padding of caps and background
//     texel by texel, send the whole padded texture, undo both, for all four
//     faces), with identical textures checked first;
//   - ShowCube up to the first presented frame against the screenshot alone;
//   - a steady frame against one full-screen textured quad;
//   - the bytes of textures and bitmaps held against four screen pictures.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>

#include "app/Unit1.h"
#include "desktops/motion.h"
#include "gl_fixture.h"
#include "ratio_reporter.h"
#include "render/frame.h"
#include "render/gl.h"
#include "render/scene_geometry.h"
#include "render/texture_refresh.h"
#include "sample_pictures.h"
#include "settings/settings_store.h"
#include "tests/support/fake/fake_desktop.h"
#include "tests/support/fake/fake_store.h"

namespace {

constexpr std::int32_t kWidth = 1920;
constexpr std::int32_t kHeight = 1080;
// glibc's default: blocks from this size on are mapped afresh.
constexpr int kFreshBlockThreshold = 128 * 1024;

// Fills the padding of a bitmap already enlarged to its texture's size,
// texel by texel, from the w x h picture in its top-left corner.
void PadInPlace(render::Bitmap& bitmap, std::int32_t w, std::int32_t h, render::Padding padding) {
  if (padding == render::Padding::kBlack || w == 0 || h == 0) return;
  const std::int32_t textureWidth = bitmap.Width();
  const std::int32_t textureHeight = bitmap.Height();
  const bool goesRound = padding == render::Padding::kAroundSphere;
  std::uint8_t* pixels = bitmap.Data();
  const auto at = [&](std::int32_t x, std::int32_t y) {
    return pixels + (static_cast<std::size_t>(textureHeight - 1 - y) * textureWidth + x) * 4;
  };
  for (std::int32_t y = 0; y < textureHeight; ++y) {
    const std::int32_t fromY = y < h ? y : render::PaddingSource(y, h, textureHeight, false);
    for (std::int32_t x = y < h ? w : 0; x < textureWidth; ++x) {
      const std::int32_t fromX = x < w ? x : render::PaddingSource(x, w, textureWidth, goesRound);
      std::memcpy(at(x, y), at(fromX, fromY), 4);
    }
  }
}

// The recipe as written: red and blue swapped in the bitmap, the bitmap
// padded to the texture's size, the whole texture sent from its lowest
// row, then both undone; the old texture freed by the caller first.
void LiteralUpload(render::Bitmap& bitmap, render::FaceTexture& texture,
                   render::Padding padding = render::Padding::kBlack) {
  const std::int32_t w = bitmap.Width();
  const std::int32_t h = bitmap.Height();
  render::SwapRedBlue(bitmap);
  const std::int32_t textureWidth = render::NextPowerOfTwo(w);
  const std::int32_t textureHeight = render::NextPowerOfTwo(h);
  bitmap.SetSize(textureWidth, h);
  bitmap.SetSize(textureWidth, textureHeight);
  PadInPlace(bitmap, w, h, padding);
  texture.sMax = static_cast<float>(w) / static_cast<float>(textureWidth);
  texture.tMin = 1.0f - static_cast<float>(h) / static_cast<float>(textureHeight);
  GLuint name = 0;
  glGenTextures(1, &name);
  texture.name = name;
  glBindTexture(GL_TEXTURE_2D, name);
  glTexImage2D(GL_TEXTURE_2D, 0, render::kFourComponents, textureWidth, textureHeight, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, bitmap.Data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  bitmap.SetSize(w, textureHeight);
  bitmap.SetSize(w, h);
  render::SwapRedBlue(bitmap);
}

// The pictures of a session start: four screenshots, two cap files and a
// background file, held in a fake file system.
struct Scene {
  std::array<render::Bitmap, 4> faces;
  render::Bitmap top, bottom, background, defaultCap;
  platform::FakeDesktop files;
  render::PictureLoader loader{files, files};

  Scene() {
    for (int k = 0; k < 4; ++k)
      faces[k] = samples::Gradient(kWidth, kHeight, static_cast<std::uint8_t>(k));
    defaultCap = samples::Gradient(256, 256, 9);
    Put("top.png", samples::EncodePng(samples::Gradient(600, 400, 1), samples::PngStyle::kRgb));
    Put("bottom.jpg",
        samples::EncodeJpeg(samples::Gradient(512, 512, 2), samples::JpegStyle::kColour));
    // A wallpaper-sized photo, whose texture is padded both ways.
    Put("sky.jpg",
        samples::EncodeJpeg(samples::Gradient(1920, 1080, 3), samples::JpegStyle::kColour));
  }
  void Put(const std::string& name, const samples::Bytes& bytes) {
    files.files.insert(name);
    files.contents[name] = bytes;
  }
  // A new screenshot of one desktop, as each session start takes.
  void Photograph(int face) { faces[face].Data()[0] ^= 1; }
};

struct Refresh {
  std::array<render::FaceTexture, 4> faces;
  render::FaceTexture top, bottom, background;
  void Free() {
    for (auto& t : faces) render::FreeTexture(t);
    render::FreeTexture(top);
    render::FreeTexture(bottom);
    render::FreeTexture(background);
  }
};

void LiteralRefresh(Scene& scene, Refresh& r, bool imagesDirty) {
  for (auto& t : r.faces) render::FreeTexture(t);
  for (int k = 0; k < 4; ++k) LiteralUpload(scene.faces[k], r.faces[k]);
  if (!imagesDirty) return;
  render::FreeTexture(r.top);
  render::FreeTexture(r.bottom);
  render::FreeTexture(r.background);
  render::MakeCapPicture("top.png", scene.defaultCap, scene.loader, 8192, &scene.top);
  LiteralUpload(scene.top, r.top, render::Padding::kRepeatEdges);
  render::MakeCapPicture("bottom.jpg", scene.defaultCap, scene.loader, 8192, &scene.bottom);
  LiteralUpload(scene.bottom, r.bottom, render::Padding::kRepeatEdges);
  render::MakeBackgroundPicture("sky.jpg", scene.loader, 8192, &scene.background);
  LiteralUpload(scene.background, r.background, render::Padding::kAroundSphere);
}

void ProgramRefresh(Scene& scene, Refresh& r, bool imagesDirty, const render::TextureCaps& caps) {
  render::RefreshFaceTextures(scene.faces, r.faces, caps);
  if (!imagesDirty) return;
  render::MakeCapPicture("top.png", scene.defaultCap, scene.loader, 8192, &scene.top);
  render::UploadTexture(scene.top, r.top, caps, render::Padding::kRepeatEdges);
  render::MakeCapPicture("bottom.jpg", scene.defaultCap, scene.loader, 8192, &scene.bottom);
  render::UploadTexture(scene.bottom, r.bottom, caps, render::Padding::kRepeatEdges);
  render::MakeBackgroundPicture("sky.jpg", scene.loader, 8192, &scene.background);
  render::UploadTexture(scene.background, r.background, caps, render::Padding::kAroundSphere);
}

// One context for the whole run.
platform::OffscreenGraphics& Context() {
  static platform::OffscreenGraphics gl(kWidth, kHeight);
  if (!gl.HasContext()) {
    gl.CreateContext();
    render::EnableDepthAndTexturing();
    render::SetViewport(kWidth, kHeight);
  }
  return gl;
}

void ExpectSameTextures(const Refresh& a, const Refresh& b) {
  const render::FaceTexture* left[] = {&a.faces[0], &a.faces[1], &a.faces[2],  &a.faces[3],
                                       &a.top,      &a.bottom,   &a.background};
  const render::FaceTexture* right[] = {&b.faces[0], &b.faces[1], &b.faces[2],  &b.faces[3],
                                        &b.top,      &b.bottom,   &b.background};
  for (int k = 0; k < 7; ++k) {
    if (GlTest::Texels(left[k]->name) != GlTest::Texels(right[k]->name) ||
        left[k]->sMax != right[k]->sMax || left[k]->tMin != right[k]->tMin) {
      throw std::runtime_error("the two refreshes made different textures (" + std::to_string(k) +
                               ")");
    }
  }
}

// Both ways give the same textures; checked once before anything is timed.
void CheckIdentical() {
  Context();
  const render::TextureCaps caps = render::QueryTextureCaps();
  Scene literalScene, programScene;
  Refresh literal, program;
  LiteralRefresh(literalScene, literal, true);
  ProgramRefresh(programScene, program, true, caps);
  ExpectSameTextures(literal, program);
  // And again after a session on another desktop.
  literalScene.Photograph(2);
  programScene.Photograph(2);
  LiteralRefresh(literalScene, literal, false);
  ProgramRefresh(programScene, program, false, caps);
  ExpectSameTextures(literal, program);
  literal.Free();
  program.Free();
}

void BM_RefreshLiteral(benchmark::State& state) {
  Context();
  const bool dirty = state.range(0) != 0;
  Scene scene;
  Refresh r;
  LiteralRefresh(scene, r, true);
  int face = 0;
  for (auto _ : state) {
    scene.Photograph(face++ & 3);
    LiteralRefresh(scene, r, dirty);
    glFinish();
  }
  r.Free();
}
BENCHMARK(BM_RefreshLiteral)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_RefreshProgram(benchmark::State& state) {
  Context();
  const render::TextureCaps caps = render::QueryTextureCaps();
  const bool dirty = state.range(0) != 0;
  Scene scene;
  Refresh r;
  ProgramRefresh(scene, r, true, caps);
  int face = 0;
  for (auto _ : state) {
    scene.Photograph(face++ & 3);
    ProgramRefresh(scene, r, dirty, caps);
    glFinish();
  }
  r.Free();
}
BENCHMARK(BM_RefreshProgram)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A started program on a full-HD fake desktop drawing real frames. Its
// settings pull the camera back by 0.1 when the mouse turns the cube, the
// whole way in one animation step.
struct Program {
  platform::FakeDesktop desktop{kWidth, kHeight, platform::FakeDesktop::FullFrame{}};
  platform::FakeStore store;
  platform::Platform system = desktop.Bundle(store);
  app::TForm1 form{system};
  Program() {
    settings::Settings quick;
    quick.zoom = 0.1f;
    quick.speed = 1.0f;
    settings::SaveSettings(store, quick);
    desktop.onPaint = [this] { form.FormPaint(); };
    desktop.cursor = {kWidth / 2, kHeight / 2};
    form.FormCreate();
  }
  // Ticks until the session has settled and ended.
  void EndSession() {
    while (form.SessionActive()) {
      desktop.tick += desktops::kAnimationStepMs;
      form.Timer1Timer();
    }
  }
};

void BM_ShowCubeToFirstFrame(benchmark::State& state) {
  Program program;
  program.form.ShowCube();  // the first session also loads the pictures
  program.EndSession();
  for (auto _ : state) {
    program.form.ShowCube();
    program.form.FormPaint();
    glFinish();
    state.PauseTiming();
    program.EndSession();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ShowCubeToFirstFrame)->Unit(benchmark::kMillisecond);

void BM_ScreenshotAlone(benchmark::State& state) {
  Program program;
  render::Bitmap face;
  face.SetSize(kWidth, kHeight);
  for (auto _ : state) {
    program.desktop.CaptureScreen(kWidth, kHeight, true, face.Data());
    benchmark::DoNotOptimize(face.Data());
  }
}
BENCHMARK(BM_ScreenshotAlone)->Unit(benchmark::kMillisecond);

void BM_SteadyFrame(benchmark::State& state) {
  Program program;
  // The left button held, the mouse turns the cube to yaw -30 and pitch 15
  // in one tick, which also pulls the camera back; then it stays still.
  program.form.ShowCube();
  program.desktop.leftDown = true;
  program.desktop.cursor.x -= 30 * static_cast<std::int32_t>(desktops::kPixelsPerDegree);
  program.desktop.cursor.y += 15 * static_cast<std::int32_t>(desktops::kPixelsPerDegree);
  program.desktop.tick += desktops::kAnimationStepMs;
  program.form.Timer1Timer();
  for (auto _ : state) {
    program.form.FormPaint();
    glFinish();
  }
}
BENCHMARK(BM_SteadyFrame)->Unit(benchmark::kMillisecond);

void BM_OneTexturedQuad(benchmark::State& state) {
  Program program;
  program.form.ShowCube();
  const render::FaceTexture& face = program.form.Faces().FaceTextures()[0];
  for (auto _ : state) {
    render::BeginFrame(0);
    render::BindTexture(face.name);
    glBegin(GL_QUADS);
    const render::QuadTexCoords t = render::SideTexCoords(face.sMax, face.tMin, 0);
    for (int k = 0; k < 4; ++k) {
      glTexCoord2f(t[k].s, t[k].t);
      glVertex3f(render::kSideFaces[0][k].x, render::kSideFaces[0][k].y,
                 render::kSideFaces[0][k].z);
    }
    glEnd();
    program.desktop.Present();
    glFinish();
  }
}
BENCHMARK(BM_OneTexturedQuad)->Unit(benchmark::kMillisecond);

std::size_t TextureBytes(const render::FaceTexture& t) {
  return static_cast<std::size_t>(t.textureWidth) * static_cast<std::size_t>(t.textureHeight) * 4;
}

}  // namespace

int main(int argc, char** argv) {
  // Large blocks always come fresh from the system, as Windows' heap hands
  // out blocks beyond 512 KiB. glibc would raise its threshold after the
  // first large block is freed, and which refresh freed one first would
  // decide their ratio.
  mallopt(M_MMAP_THRESHOLD, kFreshBlockThreshold);
  benchmark::Initialize(&argc, argv);
  CheckIdentical();
  std::printf("textures: the plain recipe and the program's refresh give identical texels\n");
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  // Memory after a session start with pictures of all kinds.
  Program program;
  program.form.ShowCube();
  const render::FaceSet& f = program.form.Faces();
  std::size_t bytes = f.TopBitmap().ByteSize() + f.BottomBitmap().ByteSize() +
                      f.BackgroundBitmap().ByteSize() + f.DefaultCapPicture().ByteSize() +
                      TextureBytes(f.TopTexture()) + TextureBytes(f.BottomTexture()) +
                      TextureBytes(f.BackgroundTexture());
  for (int k = 0; k < 4; ++k)
    bytes += f.FaceBitmaps()[k].ByteSize() + TextureBytes(f.FaceTextures()[k]);
  const double screen = 4.0 * kWidth * kHeight * 4;

  if (reporter.times.size() < 8) return 0;  // a filter ran only some
  std::printf("\nratios (same run, 1920 x 1080, Mesa off-screen):\n");
  std::printf("  texture refresh, four faces:           plain recipe / program = %.1fx\n",
              reporter.Ratio("BM_RefreshLiteral/0", "BM_RefreshProgram/0"));
  std::printf("  texture refresh, with caps and sky:    plain recipe / program = %.1fx\n",
              reporter.Ratio("BM_RefreshLiteral/1", "BM_RefreshProgram/1"));
  std::printf("  ShowCube to first frame / screenshot alone = %.1fx\n",
              reporter.Ratio("BM_ShowCubeToFirstFrame", "BM_ScreenshotAlone"));
  std::printf("  steady frame / one full-screen textured quad = %.2fx\n",
              reporter.Ratio("BM_SteadyFrame", "BM_OneTexturedQuad"));
  std::printf("  textures and bitmaps held / four screen pictures = %.2fx (%.1f MiB)\n",
              static_cast<double>(bytes) / screen, static_cast<double>(bytes) / (1 << 20));
  return 0;
}
