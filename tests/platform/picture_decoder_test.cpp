// The system's own picture kinds through OLE's picture objects, and the
// default cap picture held in the program's resources.
#include <windows.h>

#include "platform/win32/picture_decoder.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/main_window.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::int32_t kMaxSide = 8192;

template <typename T>
void Append(Bytes* out, const T& value) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(&value);
  out->insert(out->end(), p, p + sizeof(value));
}

// A 24-bit bitmap file whose pixel (x, y) is red x * 8, green y * 8, blue 99.
Bytes BitmapFile(int width, int height, bool topDown = false) {
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = topDown ? -height : height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  Bytes out;
  Append(&out, file);
  Append(&out, info);
  for (int row = 0; row < height; ++row) {
    const int y = topDown ? row : height - 1 - row;
    for (int x = 0; x < width; ++x) {
      out.push_back(99);
      out.push_back(static_cast<std::uint8_t>(y * 8));
      out.push_back(static_cast<std::uint8_t>(x * 8));
    }
    out.resize(out.size() + static_cast<std::size_t>(stride - width * 3), 0);
  }
  return out;
}

// A 32-bit icon with an alpha channel: its left half clear, its right half
// opaque green.
Bytes IconFile(int side) {
  Bytes out;
  const WORD header[3] = {0, 1, 1};  // reserved, type icon, one image
  for (WORD w : header) Append(&out, w);
  const DWORD maskStride = ((side + 31) / 32) * 4;
  const DWORD imageBytes = sizeof(BITMAPINFOHEADER) + side * side * 4 + maskStride * side;
  const std::uint8_t entry[8] = {
      static_cast<std::uint8_t>(side), static_cast<std::uint8_t>(side), 0, 0, 1, 0, 32, 0};
  out.insert(out.end(), entry, entry + 8);
  Append(&out, imageBytes);
  const DWORD offset = 6 + 16;
  Append(&out, offset);
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = side;
  info.biHeight = side * 2;  // colour and mask
  info.biPlanes = 1;
  info.biBitCount = 32;
  Append(&out, info);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const bool opaque = x >= side / 2;
      const std::uint8_t pixel[4] = {0, static_cast<std::uint8_t>(opaque ? 200 : 0), 0,
                                     static_cast<std::uint8_t>(opaque ? 255 : 0)};
      out.insert(out.end(), pixel, pixel + 4);
    }
  }
  for (int y = 0; y < side; ++y) {
    for (DWORD b = 0; b < maskStride; ++b) {
      std::uint8_t bits = 0;
      for (int k = 0; k < 8; ++k) {
        const int x = static_cast<int>(b) * 8 + k;
        if (x < side / 2) bits |= static_cast<std::uint8_t>(0x80 >> k);  // transparent
      }
      out.push_back(bits);
    }
  }
  return out;
}

// An enhanced metafile of the given frame (0.01 mm units) filled blue.
Bytes EnhancedMetafile(int himetricWidth, int himetricHeight) {
  const RECT frame{0, 0, himetricWidth, himetricHeight};
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
  HDC screen = GetDC(nullptr);
  const int width = MulDiv(himetricWidth, GetDeviceCaps(screen, LOGPIXELSX), 2540);
  const int height = MulDiv(himetricHeight, GetDeviceCaps(screen, LOGPIXELSY), 2540);
  ReleaseDC(nullptr, screen);
  const RECT all{0, 0, width, height};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  HENHMETAFILE metafile = CloseEnhMetaFile(dc);
  Bytes out(GetEnhMetaFileBits(metafile, 0, nullptr));
  GetEnhMetaFileBits(metafile, static_cast<UINT>(out.size()), out.data());
  DeleteEnhMetaFile(metafile);
  return out;
}

// A placeable Windows metafile, one inch by half an inch, filled red.
Bytes PlaceableMetafile() {
  constexpr WORD kUnitsPerInch = 1440;
  HDC dc = CreateMetaFileA(nullptr);
  SetWindowExtEx(dc, kUnitsPerInch, kUnitsPerInch / 2, nullptr);
  HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
  const RECT all{0, 0, kUnitsPerInch, kUnitsPerInch / 2};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  HMETAFILE metafile = CloseMetaFile(dc);
  Bytes body(GetMetaFileBitsEx(metafile, 0, nullptr));
  GetMetaFileBitsEx(metafile, static_cast<UINT>(body.size()), body.data());
  DeleteMetaFile(metafile);
  // The placeable header: key, handle, bounds, units per inch, reserved,
  // and the XOR of the ten words before the checksum.
  WORD header[11] = {0xCDD7,        0x9AC6, 0, 0, 0, kUnitsPerInch, kUnitsPerInch / 2,
                     kUnitsPerInch, 0,      0, 0};
  for (int k = 0; k < 10; ++k) header[10] ^= header[k];
  Bytes out;
  for (WORD w : header) Append(&out, w);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

struct Decoded {
  bool opened = false;
  bool drawn = false;
  std::int32_t width = 0, height = 0;
  std::vector<std::uint8_t> pixels;
  // 0x00RRGGBB of (x, y) counted from the top.
  std::uint32_t At(std::int32_t x, std::int32_t y) const {
    const std::uint8_t* p = &pixels[(static_cast<std::size_t>(height - 1 - y) * width + x) * 4];
    return static_cast<std::uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
  }
};

Decoded Decode(const Bytes& bytes, std::uint32_t under = 0x404040,
               std::int32_t maxSide = kMaxSide) {
  platform::win32::Win32PictureDecoder decoder;
  Decoded result;
  auto picture = decoder.Open(bytes.data(), bytes.size(), maxSide);
  if (picture == nullptr) return result;
  result.opened = true;
  result.width = picture->Width();
  result.height = picture->Height();
  result.pixels.resize(static_cast<std::size_t>(result.width) * result.height * 4);
  for (std::size_t i = 0; i < result.pixels.size(); i += 4) {
    result.pixels[i] = static_cast<std::uint8_t>(under);
    result.pixels[i + 1] = static_cast<std::uint8_t>(under >> 8);
    result.pixels[i + 2] = static_cast<std::uint8_t>(under >> 16);
  }
  result.drawn = picture->DrawOnto(result.pixels.data());
  return result;
}

// A metafile one inch by half an inch shows at the screen's resolution,
// filled with its colour.
void ExpectInchByHalfAnInch(const Decoded& d, std::uint32_t colour) {
  ASSERT_TRUE(d.opened);
  ASSERT_TRUE(d.drawn);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  EXPECT_NEAR(d.width, dpi, 1);
  EXPECT_NEAR(d.height, dpi / 2, 1);
  EXPECT_EQ(d.At(d.width / 2, d.height / 2), colour);
}

TEST(Win32PictureDecoderTest, DecodesBitmapsEitherWayUp) {
  for (const bool topDown : {false, true}) {
    const Decoded d = Decode(BitmapFile(10, 6, topDown));
    ASSERT_TRUE(d.opened) << topDown;
    ASSERT_TRUE(d.drawn);
    EXPECT_EQ(d.width, 10);
    EXPECT_EQ(d.height, 6);
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(d.At(x, y), static_cast<std::uint32_t>((x * 8) << 16 | (y * 8) << 8 | 99))
            << x << "," << y << " top-down " << topDown;
      }
    }
  }
}

TEST(Win32PictureDecoderTest, IconsDrawOverWhatTheBitmapHeld) {
  const Decoded d = Decode(IconFile(16), 0x112233);
  ASSERT_TRUE(d.opened);
  ASSERT_TRUE(d.drawn);
  EXPECT_EQ(d.width, 16);
  EXPECT_EQ(d.height, 16);
  EXPECT_EQ(d.At(2, 8), 0x112233u);
  EXPECT_EQ(d.At(12, 8), 0x00C800u);
}

TEST(Win32PictureDecoderTest, EnhancedMetafilesTakeTheirFrameSize) {
  ExpectInchByHalfAnInch(Decode(EnhancedMetafile(2540, 1270)), 0x0000FFu);
}

TEST(Win32PictureDecoderTest, PlaceableMetafilesTakeTheirBoundsSize) {
  ExpectInchByHalfAnInch(Decode(PlaceableMetafile()), 0xFF0000u);
}

TEST(Win32PictureDecoderTest, LyingDamagedAndOversizedFilesAreRefused) {
  Bytes lying = BitmapFile(4, 4);
  BITMAPINFOHEADER info;
  std::memcpy(&info, lying.data() + sizeof(BITMAPFILEHEADER), sizeof(info));
  info.biWidth = 60000;
  info.biHeight = 60000;
  std::memcpy(lying.data() + sizeof(BITMAPFILEHEADER), &info, sizeof(info));
  EXPECT_FALSE(Decode(lying).opened);
  EXPECT_FALSE(Decode(BitmapFile(40, 10), 0, 32).opened);  // wider than allowed
  const Bytes bitmap = BitmapFile(8, 8);
  EXPECT_FALSE(Decode(Bytes(bitmap.begin(), bitmap.begin() + 20)).opened);  // header cut
  EXPECT_FALSE(Decode(Bytes(512, 0xA5)).opened);
  EXPECT_FALSE(Decode(Bytes{}).opened);
  const Bytes truncated(bitmap.begin(), bitmap.begin() + static_cast<long>(bitmap.size() / 2));
  const Decoded d = Decode(truncated);
  EXPECT_TRUE(!d.opened || d.width == 8);  // refused, or read as far as it goes
  // An icon whose picture claims more than an icon can hold.
  Bytes bigIcon = IconFile(16);
  const LONG wide = 30000;
  std::memcpy(bigIcon.data() + 22 + offsetof(BITMAPINFOHEADER, biWidth), &wide, sizeof(wide));
  EXPECT_FALSE(Decode(bigIcon).opened);
  // Beyond the icons' cap, whatever it holds.
  Bytes paddedIcon = IconFile(16);
  paddedIcon.resize((4u << 20) + 1);
  EXPECT_FALSE(Decode(paddedIcon).opened);
  EXPECT_TRUE(Decode(IconFile(16)).opened);
  // A GIF, which OLE would read, is none of the system kinds here.
  const Bytes gif{'G',  'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0,   0, 0, 0xFF, 0xFF,
                  0xFF, ',', 0,   0,   0,   0,   1, 0, 1, 0, 0,    2, 2, 'D', 1, 0, ';'};
  EXPECT_FALSE(Decode(gif).opened);
}

TEST(Win32MainWindowTest, HoldsTheDefaultCapPicture) {
  platform::win32::Win32MainWindow window(GetModuleHandleA(nullptr), DefWindowProcA, nullptr);
  std::int32_t width = 0, height = 0;
  std::vector<std::uint8_t> pixels;
  ASSERT_TRUE(window.DefaultCapPicture(&width, &height, &pixels));
  EXPECT_EQ(width, 256);
  EXPECT_EQ(height, 256);
  ASSERT_EQ(pixels.size(), 256u * 256u * 4u);
  // Light tones with dark lettering: both are there.
  int light = 0, dark = 0;
  for (std::size_t i = 0; i < pixels.size(); i += 4) {
    const int sum = pixels[i] + pixels[i + 1] + pixels[i + 2];
    light += sum > 600 ? 1 : 0;
    dark += sum < 200 ? 1 : 0;
  }
  EXPECT_GT(light, 256 * 256 / 2);
  EXPECT_GT(dark, 500);
}

}  // namespace
