// The checks the system's picture kinds pass before the system decodes
// them: the kind by the first bytes, the cap per kind, and the size a
// bitmap's or an icon's header claims.
#include "platform/picture_checks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using platform::SystemPicture;
constexpr std::int32_t kMaxSide = 8192;

void Put(Bytes* out, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) out->push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// The headers of a bitmap file, with an info header (40 bytes) or a core
// header (12 bytes); no pixels: the check reads no further.
Bytes BitmapHeader(std::int32_t width, std::int32_t height, bool core = false) {
  Bytes out{'B', 'M'};
  Put(&out, 0, 12);
  if (core) {
    Put(&out, 12, 4);
    Put(&out, static_cast<std::uint32_t>(width), 2);
    Put(&out, static_cast<std::uint32_t>(height), 2);
    Put(&out, 0x00180001, 4);
  } else {
    Put(&out, 40, 4);
    Put(&out, static_cast<std::uint32_t>(width), 4);
    Put(&out, static_cast<std::uint32_t>(height), 4);
    Put(&out, 0, 28);
  }
  return out;
}

Bytes CutShort(Bytes bytes) {
  bytes.pop_back();
  return bytes;
}

// An icon file of one picture: a bitmap with the given info header size, or
// a PNG's signature and header.
Bytes IconFile(std::uint32_t width, std::uint32_t height, bool png, std::uint32_t claimedLength) {
  Bytes out;
  Put(&out, 0, 2);
  Put(&out, 1, 2);
  Put(&out, 1, 2);
  Put(&out, 0, 8);
  Put(&out, claimedLength, 4);
  Put(&out, 22, 4);
  if (png) {
    out.insert(out.end(), {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R'});
    for (std::uint32_t side : {width, height}) {
      for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(side >> shift));
    }
  } else {
    Put(&out, 40, 4);
    Put(&out, width, 4);
    Put(&out, height, 4);
    Put(&out, 0, 28);
  }
  return out;
}

struct HeaderCase {
  const char* what;
  Bytes bytes;
  bool fits;
};

class HeaderTest : public testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderTest, ChecksTheClaimedSize) {
  const HeaderCase& c = GetParam();
  EXPECT_EQ(platform::SystemPictureHeaderFits(c.bytes.data(), c.bytes.size(), kMaxSide), c.fits)
      << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Headers, HeaderTest,
    testing::Values(HeaderCase{"bitmap at the limit", BitmapHeader(8192, 8192), true},
                    HeaderCase{"bitmap one wider", BitmapHeader(8193, 1), false},
                    HeaderCase{"bitmap one taller", BitmapHeader(1, 8193), false},
                    HeaderCase{"top-down bitmap", BitmapHeader(10, -8192), true},
                    HeaderCase{"most negative height", BitmapHeader(10, INT32_MIN), false},
                    HeaderCase{"no width", BitmapHeader(0, 10), false},
                    HeaderCase{"core header", BitmapHeader(300, 200, true), true},
                    HeaderCase{"core header, negative", BitmapHeader(-3, 200, true), false},
                    HeaderCase{"header cut short", CutShort(BitmapHeader(10, 10)), false},
                    HeaderCase{"icon of 256", IconFile(256, 512, false, 40), true},
                    HeaderCase{"icon bitmap too wide", IconFile(257, 2, false, 40), false},
                    HeaderCase{"icon bitmap too tall", IconFile(16, 513, false, 40), false},
                    HeaderCase{"icon PNG of 256", IconFile(256, 256, true, 24), true},
                    HeaderCase{"icon PNG too large", IconFile(100000, 16, true, 24), false},
                    HeaderCase{"icon picture past the end", IconFile(16, 32, false, 41), false},
                    HeaderCase{"GIF", Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0},
                               false}));

TEST(PictureCapTest, EachKindHasItsCap) {
  // A 32-bit bitmap at the limit, headers included, passes; one the size of
  // two does not.
  const std::size_t largest = 54 + std::size_t{8192} * 8192 * 4;
  EXPECT_GE(platform::SystemPictureByteCap(SystemPicture::kBitmap, kMaxSide), largest);
  EXPECT_LT(platform::SystemPictureByteCap(SystemPicture::kBitmap, kMaxSide), 2 * largest);
  EXPECT_EQ(platform::SystemPictureByteCap(SystemPicture::kBitmap, 2048),
            platform::kBitmapHeaderRoom + std::size_t{2048} * 2048 * 4);
  EXPECT_EQ(platform::SystemPictureByteCap(SystemPicture::kIcon, kMaxSide), 4u << 20);
  EXPECT_EQ(platform::SystemPictureByteCap(SystemPicture::kMetafile, kMaxSide), 16u << 20);
  EXPECT_EQ(platform::SystemPictureByteCap(SystemPicture::kEnhancedMetafile, kMaxSide), 16u << 20);
  EXPECT_EQ(platform::SystemPictureByteCap(SystemPicture::kNone, kMaxSide), 0u);
}

TEST(PictureKindTest, TellsTheKindByTheFirstBytes) {
  Bytes emf(44, 0);
  emf[0] = 1;
  emf[40] = ' ';
  emf[41] = 'E';
  emf[42] = 'M';
  emf[43] = 'F';
  const Bytes placeable{0xD7, 0xCD, 0xC6, 0x9A};
  const Bytes plain{1, 0, 9, 0};
  const Bytes bitmap = BitmapHeader(1, 1);
  const Bytes icon = IconFile(16, 32, false, 40);
  EXPECT_EQ(platform::SystemPictureOf(bitmap.data(), bitmap.size()), SystemPicture::kBitmap);
  EXPECT_EQ(platform::SystemPictureOf(icon.data(), icon.size()), SystemPicture::kIcon);
  EXPECT_EQ(platform::SystemPictureOf(emf.data(), emf.size()), SystemPicture::kEnhancedMetafile);
  EXPECT_EQ(platform::SystemPictureOf(placeable.data(), 4), SystemPicture::kMetafile);
  EXPECT_EQ(platform::SystemPictureOf(plain.data(), 4), SystemPicture::kMetafile);
  EXPECT_EQ(platform::SystemPictureOf(bitmap.data(), 13), SystemPicture::kNone);
}

}  // namespace
