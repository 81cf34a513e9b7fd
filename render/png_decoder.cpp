#include "render/png_decoder.h"

#include <png.h>

#include <cstring>
#include <vector>

#include "render/bitmap.h"
#include "render/picture_blend.h"

namespace render {

namespace {
// Text and other ancillary chunks a cap picture never needs beyond this.
constexpr png_alloc_size_t kLargestChunk = 8u << 20;
constexpr png_uint_32 kMostAncillaryChunks = 256;
constexpr png_byte kOpaque = 0xFF;

struct Source {
  const std::uint8_t* bytes;
  std::size_t size;
  std::size_t offset;
};

void ReadFromSource(png_structp png, png_bytep out, png_size_t length) {
  Source& source = *static_cast<Source*>(png_get_io_ptr(png));
  if (length > source.size - source.offset) png_error(png, "truncated");
  std::memcpy(out, source.bytes + source.offset, length);
  source.offset += length;
}

// Errors leave libpng by its own long jump; nothing is printed.
void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

class PngPicture : public platform::Picture {
 public:
  PngPicture(const std::uint8_t* bytes, std::size_t size) : source_{bytes, size, 0} {}
  ~PngPicture() override { png_destroy_read_struct(&png_, &info_, nullptr); }
  PngPicture(const PngPicture&) = delete;
  PngPicture& operator=(const PngPicture&) = delete;

  // Reads everything up to the pixels; false for no PNG or one too large.
  bool Start(std::int32_t maxSide) {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (png_ == nullptr) return false;
    info_ = png_create_info_struct(png_);
    if (info_ == nullptr) return false;
    if (setjmp(png_jmpbuf(png_))) return false;
    png_set_read_fn(png_, &source_, ReadFromSource);
    // The header is checked against these before any row is allocated.
    png_set_user_limits(png_, static_cast<png_uint_32>(maxSide), static_cast<png_uint_32>(maxSide));
    png_set_chunk_malloc_max(png_, kLargestChunk);
    png_set_chunk_cache_max(png_, kMostAncillaryChunks);
    png_read_info(png_, info_);
    width_ = static_cast<std::int32_t>(png_get_image_width(png_, info_));
    height_ = static_cast<std::int32_t>(png_get_image_height(png_, info_));
    return width_ > 0 && height_ > 0 && width_ <= maxSide && height_ <= maxSide;
  }

  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }

  bool DrawOnto(std::uint8_t* pixels) override {
    // Everything with a destructor exists before the jump point, so a long
    // jump out of libpng skips none.
    const std::size_t rowBytes = static_cast<std::size_t>(width_) * Bitmap::kBytesPerPixel;
    const bool interlaced = png_get_interlace_type(png_, info_) != PNG_INTERLACE_NONE;
    // An interlaced picture arrives in passes over the whole image; a plain
    // one row by row.
    const std::size_t bufferRows = interlaced ? static_cast<std::size_t>(height_) : 1;
    std::vector<png_byte> buffer(rowBytes * bufferRows);
    std::vector<png_bytep> rows(bufferRows);
    for (std::size_t y = 0; y < bufferRows; ++y) rows[y] = buffer.data() + y * rowBytes;

    if (setjmp(png_jmpbuf(png_))) return false;
    ExpandToBgra();
    png_read_update_info(png_, info_);
    if (png_get_rowbytes(png_, info_) != rowBytes) png_error(png_, "unexpected row size");
    if (interlaced) {
      png_read_image(png_, rows.data());
      for (std::int32_t y = 0; y < height_; ++y) BlendRow(rows[y], RowOf(pixels, y), width_);
    } else {
      for (std::int32_t y = 0; y < height_; ++y) {
        png_read_row(png_, rows[0], nullptr);
        BlendRow(rows[0], RowOf(pixels, y), width_);
      }
    }
    png_read_end(png_, nullptr);
    return true;
  }

 private:
  // Every colour type and depth becomes 8-bit blue, green, red, alpha.
  void ExpandToBgra() {
    const png_byte colourType = png_get_color_type(png_, info_);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png_);
    if (colourType == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png_, info_) < 8) {
      png_set_expand_gray_1_2_4_to_8(png_);
    }
    if (png_get_valid(png_, info_, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png_);
    png_set_strip_16(png_);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
      png_set_gray_to_rgb(png_);
    }
    png_set_bgr(png_);
    png_set_filler(png_, kOpaque, PNG_FILLER_AFTER);
    png_set_interlace_handling(png_);
  }

  // Row y counted from the top, in bottom-up pixels.
  std::uint8_t* RowOf(std::uint8_t* pixels, std::int32_t y) const {
    return pixels + static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(width_) *
                        Bitmap::kBytesPerPixel;
  }

  Source source_;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
};
}  // namespace

std::unique_ptr<platform::Picture> PngDecoder::Open(const std::uint8_t* bytes, std::size_t size,
                                                    std::int32_t maxSide) {
  constexpr std::size_t kSignatureBytes = 8;
  if (maxSide <= 0 || size < kSignatureBytes || png_sig_cmp(bytes, 0, kSignatureBytes) != 0) {
    return nullptr;
  }
  auto picture = std::make_unique<PngPicture>(bytes, size);
  if (!picture->Start(maxSide)) return nullptr;
  return picture;
}

}  // namespace render
