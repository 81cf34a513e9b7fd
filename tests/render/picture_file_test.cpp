// Loading picture files: the decoder the extension picks, every PNG and
// JPEG variant, and files that are damaged, truncated or lie about their
// size.
#include "render/picture_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "sample_pictures.h"
#include "tests/common/colours.h"
#include "tests/support/fake/fake_desktop.h"
#include "tests/support/fake/fake_log.h"

namespace {

constexpr std::int32_t kMaxSide = 8192;

class PictureFileTest : public testing::Test {
 protected:
  PictureFileTest() : loader(desktop, desktop) {}

  void Put(const std::string& path, const samples::Bytes& bytes) {
    desktop.files.insert(path);
    desktop.contents[path] = bytes;
  }

  // Loads into a bitmap that holds a known picture beforehand.
  bool Load(const std::string& path, render::Bitmap* bitmap, std::int32_t maxSide = kMaxSide) {
    *bitmap = samples::Numbered(3, 2, 0x77);
    return loader.LoadPictureFile(path, bitmap, maxSide);
  }

  platform::FakeDesktop desktop;
  render::PictureLoader loader;
};

int Largest(const render::Bitmap& a, const render::Bitmap& b) {
  int largest = 0;
  for (std::int32_t y = 0; y < a.Height(); ++y) {
    for (std::int32_t x = 0; x < a.Width(); ++x) {
      largest = std::max(largest, colours::Distance(a.PixelAt(x, y), b.PixelAt(x, y)));
    }
  }
  return largest;
}

TEST_F(PictureFileTest, TheExtensionAlonePicksTheDecoder) {
  const render::Bitmap picture = samples::Numbered(12, 7, 9);
  const samples::Bytes png = samples::EncodePng(picture, samples::PngStyle::kRgb);
  const samples::Bytes jpeg = samples::EncodeJpeg(picture, samples::JpegStyle::kColour);
  const struct {
    std::string name;
    const samples::Bytes* bytes;
    bool loads;
  } cases[] = {
      {"C:\\p\\a.png", &png, true},   {"C:\\p\\b.PNG", &png, true},
      {"C:\\p\\c.Png", &png, true},   {"C:\\p\\d.jpg", &jpeg, true},
      {"C:\\p\\e.JPG", &jpeg, true},  {"C:\\p\\f.jpeg", &jpeg, true},
      {"C:\\p\\g.JPEG", &jpeg, true}, {"C:\\p\\h.gif", &png, false},
      {"C:\\p\\i", &png, false},      {"C:\\p\\j.png.txt", &png, false},
      {"C:\\p.png\\k", &png, false},  {"C:\\p\\l.jpg", &png, false},
      {"C:\\p\\m.png", &jpeg, false}, {"C:\\p\\n.", &png, false},
  };
  for (const auto& c : cases) {
    Put(c.name, *c.bytes);
    render::Bitmap bitmap;
    EXPECT_EQ(Load(c.name, &bitmap), c.loads) << c.name;
    if (c.loads) {
      EXPECT_EQ(bitmap.Width(), 12) << c.name;
      EXPECT_EQ(bitmap.Height(), 7) << c.name;
    }
  }
  // The system's own kinds go to the platform, which decodes none here.
  for (const char* name : {"C:\\p\\o.bmp", "C:\\p\\p.ICO", "C:\\p\\q.wmf", "C:\\p\\r.emf"}) {
    Put(name, png);
    render::Bitmap bitmap;
    const int before = desktop.systemPictureOpens;
    EXPECT_FALSE(Load(name, &bitmap)) << name;
    EXPECT_EQ(desktop.systemPictureOpens, before + 1) << name;
  }
}

struct PngCase {
  samples::PngStyle style;
  const char* what;
};

class PngVariantTest : public PictureFileTest, public testing::WithParamInterface<PngCase> {};

TEST_P(PngVariantTest, DecodesToBlueGreenRedDrawnOverTheBitmap) {
  const PngCase c = GetParam();
  const render::Bitmap picture = samples::Gradient(33, 19, 0x40);
  Put("C:\\p.png", samples::EncodePng(picture, c.style));
  render::Bitmap bitmap;
  bitmap.SetSize(33, 19);
  for (std::int32_t y = 0; y < 19; ++y) {
    for (std::int32_t x = 0; x < 33; ++x) bitmap.SetPixel(x, y, 0x102030);
  }
  ASSERT_TRUE(loader.LoadPictureFile("C:\\p.png", &bitmap, kMaxSide)) << c.what;
  ASSERT_EQ(bitmap.Width(), 33);
  ASSERT_EQ(bitmap.Height(), 19);
  for (std::int32_t y = 0; y < 19; ++y) {
    for (std::int32_t x = 0; x < 33; ++x) {
      const std::uint32_t p = picture.PixelAt(x, y);
      const std::uint32_t g = p >> 8 & 0xFF;
      std::uint32_t expected = p;
      switch (c.style) {
        case samples::PngStyle::kGray:
        case samples::PngStyle::kGrayAlpha:
          expected = g << 16 | g << 8 | g;
          break;
        case samples::PngStyle::kPalette:
          // Grey level 0 is the transparent entry: the bitmap shows.
          expected = g == 0 ? 0x102030 : (g << 16 | g << 8 | g);
          break;
        case samples::PngStyle::kGrayOneBit:
          expected = g >= 128 ? 0xFFFFFF : 0;
          break;
        case samples::PngStyle::kRgbaHalfLeft:
          expected = x < 33 / 2 ? 0x102030 : p;
          break;
        case samples::PngStyle::kRgbaHalf: {
          // Half way between the picture and what the bitmap held.
          const std::uint32_t under[3] = {0x30, 0x20, 0x10};
          expected = 0;
          for (int k = 0; k < 3; ++k) {
            const std::uint32_t over = p >> (8 * k) & 0xFF;
            expected |= ((over * 128 + under[k] * 127 + 127) / 255) << (8 * k);
          }
          break;
        }
        default:
          break;
      }
      ASSERT_EQ(bitmap.PixelAt(x, y), expected) << c.what << " at " << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Styles, PngVariantTest,
                         testing::Values(PngCase{samples::PngStyle::kRgb, "rgb"},
                                         PngCase{samples::PngStyle::kRgbaHalfLeft,
                                                 "rgba, left half clear"},
                                         PngCase{samples::PngStyle::kRgbaHalf, "rgba, half alpha"},
                                         PngCase{samples::PngStyle::kPalette, "palette with tRNS"},
                                         PngCase{samples::PngStyle::kGray, "grey"},
                                         PngCase{samples::PngStyle::kGrayOneBit, "1-bit grey"},
                                         PngCase{samples::PngStyle::kGrayAlpha, "grey and alpha"},
                                         PngCase{samples::PngStyle::kSixteenBit, "16 bits"},
                                         PngCase{samples::PngStyle::kInterlaced, "interlaced"}));

TEST_F(PictureFileTest, JpegVariantsDecodeCloseToThePicture) {
  const render::Bitmap picture = samples::Gradient(64, 48, 0x60);
  const struct {
    samples::JpegStyle style;
    int tolerance;
  } cases[] = {{samples::JpegStyle::kColour, 10},
               {samples::JpegStyle::kProgressive, 10},
               {samples::JpegStyle::kGray, 3},
               {samples::JpegStyle::kCmyk, 10},
               {samples::JpegStyle::kCmykPlain, 10}};
  for (const auto& c : cases) {
    Put("C:\\p.jpg", samples::EncodeJpeg(picture, c.style));
    render::Bitmap bitmap;
    ASSERT_TRUE(Load("C:\\p.jpg", &bitmap)) << static_cast<int>(c.style);
    ASSERT_EQ(bitmap.Width(), 64);
    ASSERT_EQ(bitmap.Height(), 48);
    render::Bitmap expected = picture;
    if (c.style == samples::JpegStyle::kGray) {
      for (std::int32_t y = 0; y < 48; ++y) {
        for (std::int32_t x = 0; x < 64; ++x) {
          const std::uint32_t g = picture.PixelAt(x, y) >> 8 & 0xFF;
          expected.SetPixel(x, y, g << 16 | g << 8 | g);
        }
      }
    }
    EXPECT_LE(Largest(bitmap, expected), c.tolerance) << static_cast<int>(c.style);
  }
}

TEST_F(PictureFileTest, JpegFilesThatAreOddButWholeLoad) {
  const render::Bitmap picture = samples::Gradient(64, 48, 0x31);
  const samples::Bytes jpeg = samples::EncodeJpeg(picture, samples::JpegStyle::kColour);
  for (const samples::JpegQuirk quirk :
       {samples::JpegQuirk::kPaddingBeforeEnd, samples::JpegQuirk::kBytesBetweenSegments,
        samples::JpegQuirk::kUnknownAppMarker, samples::JpegQuirk::kJfifVersionTwo}) {
    Put("C:\\photo.jpg", samples::WithJpegQuirk(jpeg, quirk));
    render::Bitmap bitmap;
    ASSERT_TRUE(Load("C:\\photo.jpg", &bitmap)) << static_cast<int>(quirk);
    ASSERT_EQ(bitmap.Width(), 64);
    EXPECT_LE(Largest(bitmap, picture), 10) << static_cast<int>(quirk);
  }
}

// A damaged file fails to load, or loads some picture; it never crashes,
// hangs or asks for more memory than its stated size allows.
class HostilePictureTest : public PictureFileTest {
 protected:
  void ExpectFails(const std::string& path, const samples::Bytes& bytes, const char* what,
                   std::int32_t maxSide = kMaxSide) {
    Put(path, bytes);
    render::Bitmap bitmap;
    EXPECT_FALSE(Load(path, &bitmap, maxSide)) << what << " " << path;
  }
};

TEST_F(HostilePictureTest, TruncatedAnywhereFails) {
  const render::Bitmap picture = samples::Gradient(40, 30, 1);
  const samples::Bytes png = samples::EncodePng(picture, samples::PngStyle::kRgb);
  const samples::Bytes interlaced = samples::EncodePng(picture, samples::PngStyle::kInterlaced);
  const samples::Bytes jpeg = samples::EncodeJpeg(picture, samples::JpegStyle::kColour);
  const samples::Bytes progressive = samples::EncodeJpeg(picture, samples::JpegStyle::kProgressive);
  for (const auto& [name, bytes] : {std::pair{"a.png", &png}, std::pair{"b.png", &interlaced},
                                    std::pair{"c.jpg", &jpeg}, std::pair{"d.jpg", &progressive}}) {
    for (const double share : {0.0, 0.01, 0.1, 0.3, 0.5, 0.7, 0.9, 0.99}) {
      const auto keep = static_cast<std::size_t>(static_cast<double>(bytes->size()) * share);
      ExpectFails(name, samples::Bytes(bytes->begin(), bytes->begin() + keep), "truncated");
    }
    ExpectFails(name, samples::Bytes(bytes->begin(), bytes->end() - 1), "one byte short");
  }
}

TEST_F(HostilePictureTest, DamagedJpegDataFails) {
  const render::Bitmap picture = samples::Gradient(64, 48, 2);
  for (const samples::JpegStyle style :
       {samples::JpegStyle::kColour, samples::JpegStyle::kProgressive}) {
    const samples::Bytes jpeg = samples::EncodeJpeg(picture, style);
    ExpectFails("bad.jpg", samples::WithJpegDamage(jpeg, samples::JpegDamage::kBadCodes),
                "codes no table holds");
    ExpectFails("short.jpg", samples::WithJpegDamage(jpeg, samples::JpegDamage::kCutShort),
                "data cut short");
  }
}

TEST_F(HostilePictureTest, AHeaderThatClaimsAHugePictureIsRefusedBeforeAnythingIsAllocated) {
  const render::Bitmap picture = samples::Gradient(40, 30, 1);
  const samples::Bytes png = samples::EncodePng(picture, samples::PngStyle::kRgb);
  const samples::Bytes jpeg = samples::EncodeJpeg(picture, samples::JpegStyle::kColour);
  const struct {
    std::uint32_t width, height;
  } sizes[] = {{60000, 60000}, {8193, 10}, {10, 8193}, {0, 30}, {40, 0}, {0x7FFFFFFF, 1}};
  for (const auto& size : sizes) {
    ExpectFails("big.png", samples::WithPngSize(png, size.width, size.height), "png size");
    if (size.width <= 0xFFFF && size.height <= 0xFFFF) {
      ExpectFails("big.jpg",
                  samples::WithJpegSize(jpeg, static_cast<std::uint16_t>(size.width),
                                        static_cast<std::uint16_t>(size.height)),
                  "jpeg size");
    }
    // The bitmap was never resized for it.
    render::Bitmap bitmap;
    Load("big.png", &bitmap);
    EXPECT_EQ(bitmap.Width(), 3);
  }
  // The limit is the caller's: what a texture can hold.
  ExpectFails("small.png", png, "beyond the limit", 32);
  ExpectFails("small.jpg", jpeg, "beyond the limit", 32);
  Put("fits.png", png);
  render::Bitmap bitmap;
  EXPECT_TRUE(Load("fits.png", &bitmap, 40));
}

TEST_F(HostilePictureTest, EmptyGarbageAndUnreadableFilesFail) {
  ExpectFails("empty.png", {}, "zero bytes");
  ExpectFails("empty.jpg", {}, "zero bytes");
  ExpectFails("noise.png", samples::Bytes(4096, 0xA5), "noise");
  ExpectFails("noise.jpg", samples::Bytes(4096, 0xA5), "noise");
  const samples::Bytes signatureOnly = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  ExpectFails("sig.png", signatureOnly, "signature only");
  ExpectFails("soi.jpg", {0xFF, 0xD8, 0xFF}, "start marker only");
  // Locked by another program, or not there at all.
  Put("locked.png", samples::EncodePng(samples::Gradient(4, 4, 0), samples::PngStyle::kRgb));
  desktop.locked.insert("locked.png");
  render::Bitmap bitmap;
  EXPECT_FALSE(Load("locked.png", &bitmap));
  EXPECT_FALSE(Load("absent.png", &bitmap));
}

// A picture that does not load is logged with why, so that a cap left at the
// default picture on a stranger's machine can be explained.
TEST_F(PictureFileTest, APictureThatDoesNotLoadIsLoggedWithWhy) {
  platform::FakeLog log;
  render::PictureLoader logged(desktop, desktop, &log);
  Put("locked.png", {});
  desktop.locked.insert("locked.png");
  Put("noise.jpg", samples::Bytes(64, 0xA5));
  const std::pair<const char*, const char*> cases[] = {
      {"a.gif", "the program reads"},
      {"absent.png", "no such file"},
      {"locked.png", "cannot be read"},
      {"noise.jpg", "larger than the program draws"}};
  render::Bitmap bitmap;
  for (const auto& [path, why] : cases) {
    EXPECT_FALSE(logged.LoadPictureFile(path, &bitmap, kMaxSide));
    EXPECT_TRUE(log.Has(std::string(why) + ": " + path)) << path;
  }
  EXPECT_FALSE(logged.Exists("gone.png"));
  EXPECT_TRUE(log.Has("no such file: gone.png"));
  EXPECT_FALSE(logged.Exists(""));  // none chosen: nothing to log
  EXPECT_EQ(log.lines().size(), 5u);
}

TEST_F(HostilePictureTest, FlippedBitsNeverCrash) {
  const render::Bitmap picture = samples::Gradient(24, 16, 3);
  const samples::Bytes files[] = {samples::EncodePng(picture, samples::PngStyle::kRgb),
                                  samples::EncodePng(picture, samples::PngStyle::kInterlaced),
                                  samples::EncodePng(picture, samples::PngStyle::kPalette),
                                  samples::EncodeJpeg(picture, samples::JpegStyle::kColour),
                                  samples::EncodeJpeg(picture, samples::JpegStyle::kProgressive)};
  const char* names[] = {"f.png", "g.png", "h.png", "i.jpg", "j.jpg"};
  std::mt19937 random(20071107);
  int loaded = 0, refused = 0;
  for (int f = 0; f < 5; ++f) {
    for (int round = 0; round < 300; ++round) {
      samples::Bytes damaged = files[f];
      const int flips = 1 + static_cast<int>(random() % 8);
      for (int k = 0; k < flips; ++k) {
        damaged[random() % damaged.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
      }
      Put(names[f], damaged);
      render::Bitmap bitmap;
      if (Load(names[f], &bitmap)) {
        ++loaded;
        EXPECT_LE(bitmap.Width(), kMaxSide);
      } else {
        ++refused;
      }
    }
  }
  // Checksums and markers catch most damage.
  EXPECT_GT(refused, loaded);
}

}  // namespace
