#include "sample_pictures.h"

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace samples {

namespace {
constexpr std::uint8_t kFull = 255;

std::uint8_t Channel(const render::Bitmap& picture, std::int32_t x, std::int32_t y, int shift) {
  return static_cast<std::uint8_t>(picture.PixelAt(x, y) >> shift);
}
std::uint8_t Red(const render::Bitmap& p, std::int32_t x, std::int32_t y) {
  return Channel(p, x, y, 16);
}
std::uint8_t Green(const render::Bitmap& p, std::int32_t x, std::int32_t y) {
  return Channel(p, x, y, 8);
}
std::uint8_t Blue(const render::Bitmap& p, std::int32_t x, std::int32_t y) {
  return Channel(p, x, y, 0);
}

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  Bytes& out = *static_cast<Bytes*>(png_get_io_ptr(png));
  out.insert(out.end(), data, data + length);
}
void NoFlush(png_structp) {}

void PutBigEndian32(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v >> 24);
  p[1] = static_cast<std::uint8_t>(v >> 16);
  p[2] = static_cast<std::uint8_t>(v >> 8);
  p[3] = static_cast<std::uint8_t>(v);
}
}  // namespace

render::Bitmap Gradient(std::int32_t width, std::int32_t height, std::uint8_t tag) {
  render::Bitmap picture;
  picture.SetSize(width, height);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      const auto red = static_cast<std::uint32_t>(width > 1 ? x * kFull / (width - 1) : 0);
      const auto green = static_cast<std::uint32_t>(height > 1 ? y * kFull / (height - 1) : 0);
      picture.SetPixel(x, y, red << 16 | green << 8 | tag);
    }
  }
  return picture;
}

render::Bitmap Numbered(std::int32_t width, std::int32_t height, std::uint8_t tag) {
  render::Bitmap picture;
  picture.SetSize(width, height);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      picture.SetPixel(x, y, static_cast<std::uint32_t>((x & 0xFF) << 16 | (y & 0xFF) << 8 | tag));
    }
  }
  return picture;
}

Bytes EncodePng(const render::Bitmap& picture, PngStyle style) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("png encoding failed");
  }
  png_set_write_fn(png, &out, AppendBytes, NoFlush);
  const auto w = static_cast<png_uint_32>(picture.Width());
  const auto h = static_cast<png_uint_32>(picture.Height());
  int colourType = PNG_COLOR_TYPE_RGB;
  int depth = 8;
  int channels = 3;
  switch (style) {
    case PngStyle::kRgbaHalfLeft:
    case PngStyle::kRgbaHalf:
      colourType = PNG_COLOR_TYPE_RGB_ALPHA;
      channels = 4;
      break;
    case PngStyle::kPalette:
      colourType = PNG_COLOR_TYPE_PALETTE;
      channels = 1;
      break;
    case PngStyle::kGray:
      colourType = PNG_COLOR_TYPE_GRAY;
      channels = 1;
      break;
    case PngStyle::kGrayOneBit:
      colourType = PNG_COLOR_TYPE_GRAY;
      channels = 1;
      depth = 1;
      break;
    case PngStyle::kGrayAlpha:
      colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
      channels = 2;
      break;
    case PngStyle::kSixteenBit:
      depth = 16;
      break;
    default:
      break;
  }
  png_set_IHDR(png, info, w, h, depth, colourType,
               style == PngStyle::kInterlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (style == PngStyle::kPalette) {
    // Entry i is grey level i; entry 0 is fully transparent.
    png_color palette[256];
    for (int i = 0; i < 256; ++i) {
      palette[i].red = palette[i].green = palette[i].blue = static_cast<png_byte>(i);
    }
    png_set_PLTE(png, info, palette, 256);
    png_byte transparency[1] = {0};
    png_set_tRNS(png, info, transparency, 1, nullptr);
  }
  png_write_info(png, info);
  const std::size_t rowBytes =
      depth == 1 ? (w + 7) / 8 : static_cast<std::size_t>(w) * channels * (depth / 8);
  std::vector<std::vector<png_byte>> rows(h, std::vector<png_byte>(rowBytes, 0));
  for (png_uint_32 y = 0; y < h; ++y) {
    png_byte* row = rows[y].data();
    for (png_uint_32 x = 0; x < w; ++x) {
      const auto px = static_cast<std::int32_t>(x);
      const auto py = static_cast<std::int32_t>(y);
      const std::uint8_t r = Red(picture, px, py), g = Green(picture, px, py),
                         b = Blue(picture, px, py);
      switch (style) {
        case PngStyle::kRgb:
        case PngStyle::kInterlaced:
          row[x * 3] = r, row[x * 3 + 1] = g, row[x * 3 + 2] = b;
          break;
        case PngStyle::kRgbaHalfLeft:
        case PngStyle::kRgbaHalf:
          row[x * 4] = r, row[x * 4 + 1] = g, row[x * 4 + 2] = b;
          row[x * 4 + 3] = style == PngStyle::kRgbaHalf ? 128 : (x < w / 2 ? 0 : kFull);
          break;
        case PngStyle::kPalette:
        case PngStyle::kGray:
          row[x] = g;
          break;
        case PngStyle::kGrayOneBit:
          if (g >= 128) row[x / 8] |= static_cast<png_byte>(0x80 >> (x % 8));
          break;
        case PngStyle::kGrayAlpha:
          row[x * 2] = g, row[x * 2 + 1] = kFull;
          break;
        case PngStyle::kSixteenBit:
          row[x * 6] = r, row[x * 6 + 1] = 0x7F;
          row[x * 6 + 2] = g, row[x * 6 + 3] = 0x7F;
          row[x * 6 + 4] = b, row[x * 6 + 5] = 0x7F;
          break;
      }
    }
  }
  std::vector<png_bytep> pointers(h);
  for (png_uint_32 y = 0; y < h; ++y) pointers[y] = rows[y].data();
  png_write_image(png, pointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

Bytes EncodeJpeg(const render::Bitmap& picture, JpegStyle style, int quality) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(picture.Width());
  info.image_height = static_cast<JDIMENSION>(picture.Height());
  switch (style) {
    case JpegStyle::kGray:
      info.input_components = 1;
      info.in_color_space = JCS_GRAYSCALE;
      break;
    case JpegStyle::kCmyk:
    case JpegStyle::kCmykPlain:
      info.input_components = 4;
      info.in_color_space = JCS_CMYK;
      break;
    default:
      info.input_components = 3;
      info.in_color_space = JCS_RGB;
  }
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (style == JpegStyle::kCmykPlain) info.write_Adobe_marker = FALSE;
  if (style == JpegStyle::kProgressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(picture.Width()) * info.input_components);
  while (info.next_scanline < info.image_height) {
    const auto y = static_cast<std::int32_t>(info.next_scanline);
    for (std::int32_t x = 0; x < picture.Width(); ++x) {
      const std::uint8_t r = Red(picture, x, y), g = Green(picture, x, y), b = Blue(picture, x, y);
      JSAMPLE* p = row.data() + static_cast<std::size_t>(x) * info.input_components;
      if (style == JpegStyle::kGray) {
        p[0] = g;
      } else if (style == JpegStyle::kCmyk) {
        // As Adobe's programs write it (libjpeg marks the file so): each
        // ink stored inverted, so cyan's value is the red let through;
        // no black ink.
        p[0] = r;
        p[1] = g;
        p[2] = b;
        p[3] = kFull;
      } else if (style == JpegStyle::kCmykPlain) {
        p[0] = static_cast<JSAMPLE>(kFull - r);
        p[1] = static_cast<JSAMPLE>(kFull - g);
        p[2] = static_cast<JSAMPLE>(kFull - b);
        p[3] = 0;
      } else {
        p[0] = r, p[1] = g, p[2] = b;
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

Bytes WithPngSize(Bytes png, std::uint32_t width, std::uint32_t height) {
  // Signature (8), IHDR length (4) and type (4), then width and height.
  constexpr std::size_t kIhdrType = 12;
  constexpr std::size_t kIhdrData = 16;
  constexpr std::size_t kIhdrLength = 13;
  if (png.size() < kIhdrData + kIhdrLength + 4 || std::memcmp(&png[kIhdrType], "IHDR", 4) != 0) {
    throw std::runtime_error("not a PNG with IHDR first");
  }
  PutBigEndian32(&png[kIhdrData], width);
  PutBigEndian32(&png[kIhdrData + 4], height);
  const auto crc =
      static_cast<std::uint32_t>(crc32(0, &png[kIhdrType], static_cast<uInt>(4 + kIhdrLength)));
  PutBigEndian32(&png[kIhdrData + kIhdrLength], crc);
  return png;
}

Bytes WithJpegSize(Bytes jpeg, std::uint16_t width, std::uint16_t height) {
  // The frame header: FF C0 (baseline) or FF C2 (progressive), length (2),
  // precision (1), height (2), width (2).
  for (std::size_t i = 0; i + 9 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
      jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
      jpeg[i + 6] = static_cast<std::uint8_t>(height);
      jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
      jpeg[i + 8] = static_cast<std::uint8_t>(width);
      return jpeg;
    }
  }
  throw std::runtime_error("no frame header");
}

namespace {
constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::size_t kSoiLength = 2;
// The JFIF header: FF E0, length (2), "JFIF\0", major and minor version.
constexpr std::size_t kJfifMajorVersion = kSoiLength + 2 + 2 + 5;

// Where the segment at `at` ends: marker (2) and its stated length.
std::size_t SegmentEnd(const Bytes& jpeg, std::size_t at) {
  return at + 2 + (static_cast<std::size_t>(jpeg.at(at + 2)) << 8 | jpeg.at(at + 3));
}

// The compressed data of the first scan: from after its header to the
// end marker.
std::pair<std::size_t, std::size_t> ScanData(const Bytes& jpeg) {
  std::size_t at = kSoiLength;
  while (jpeg.at(at) == kMarker && jpeg.at(at + 1) != kStartOfScan) at = SegmentEnd(jpeg, at);
  if (jpeg.at(at) != kMarker) throw std::runtime_error("no start of scan");
  return {SegmentEnd(jpeg, at), jpeg.size() - 2};
}
}  // namespace

Bytes WithJpegQuirk(Bytes jpeg, JpegQuirk quirk) {
  const std::size_t afterFirstSegment = SegmentEnd(jpeg, kSoiLength);
  switch (quirk) {
    case JpegQuirk::kPaddingBeforeEnd:
      jpeg.insert(jpeg.end() - 2, {0x00, 0x00, 0x00, 0x00});
      break;
    case JpegQuirk::kBytesBetweenSegments:
      jpeg.insert(jpeg.begin() + static_cast<std::ptrdiff_t>(afterFirstSegment),
                  {0x00, 0x17, 0x00});
      break;
    case JpegQuirk::kUnknownAppMarker:
      jpeg.insert(jpeg.begin() + static_cast<std::ptrdiff_t>(afterFirstSegment),
                  {kMarker, 0xEB, 0x00, 0x0A, 'M', 'a', 'k', 'e', 'r', 0x00, 0x01, 0x02});
      break;
    case JpegQuirk::kJfifVersionTwo:
      if (jpeg.at(kSoiLength + 1) != 0xE0) throw std::runtime_error("no JFIF header first");
      jpeg.at(kJfifMajorVersion) = 2;
      break;
  }
  return jpeg;
}

Bytes WithJpegDamage(Bytes jpeg, JpegDamage damage) {
  const auto [begin, end] = ScanData(jpeg);
  const std::size_t middle = begin + (end - begin) / 2;
  switch (damage) {
    case JpegDamage::kBadCodes:
      // All ones (FF, stuffed with a 00) is no code of any table.
      for (std::size_t at = middle; at + 1 < end && at < middle + 16; at += 2) {
        jpeg[at] = kMarker;
        jpeg[at + 1] = 0x00;
      }
      break;
    case JpegDamage::kCutShort:
      jpeg.erase(jpeg.begin() + static_cast<std::ptrdiff_t>(middle),
                 jpeg.begin() + static_cast<std::ptrdiff_t>(end));
      break;
  }
  return jpeg;
}

std::string WriteFile(const std::string& directory, const std::string& name, const Bytes& bytes) {
  const std::string path = directory + "/" + name;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return path;
}

}  // namespace samples
