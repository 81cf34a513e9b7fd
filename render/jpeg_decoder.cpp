#include "render/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>
// After jpeglib.h, which it extends.
#include <jerror.h>

#include "render/bitmap.h"

namespace render {

namespace {
// Bounds what a hostile file can make the decoder do: the memory for its
// coefficient buffers, and the number of scans (each one a pass over the
// whole picture) a progressive file may ask for.
constexpr long kLargestDecoderMemory = 480L << 20;
constexpr int kMostScans = 256;
constexpr unsigned kFull = 255;

// Errors, and warnings of damage, end decoding by a long jump back into the
// picture that is being read; nothing is printed.
struct ErrorHandler {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void Fail(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorHandler*>(info->err)->jump, 1);
}

// Warnings about files that are odd but whole: bytes before a marker (many
// cameras pad so), a JFIF version other than 1, an unknown Adobe colour
// transform, an ICC profile that is not used anyway. Every viewer shows
// such a picture. Any other warning means picture data is missing or
// corrupt (a truncated file, damaged compressed data), and a picture with
// grey or garbled parts is worse than the fallback.
bool LeavesThePictureWhole(int code) {
  return code == JWRN_EXTRANEOUS_DATA || code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM ||
         code == JWRN_BOGUS_ICC;
}

void OnMessage(j_common_ptr info, int level) {
  // Level -1 is a warning; higher levels only trace.
  if (level < 0 && !LeavesThePictureWhole(info->err->msg_code)) Fail(info);
}
void Silent(j_common_ptr) {}

void OnProgress(j_common_ptr info) {
  if (info->is_decompressor &&
      reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMostScans) {
    Fail(info);
  }
}

class JpegPicture : public platform::Picture {
 public:
  JpegPicture() {
    jpeg_std_error(&errors_.manager);
    errors_.manager.error_exit = Fail;
    errors_.manager.emit_message = OnMessage;
    errors_.manager.output_message = Silent;
    progress_.progress_monitor = OnProgress;
  }
  ~JpegPicture() override {
    if (created_) jpeg_destroy_decompress(&info_);
  }
  JpegPicture(const JpegPicture&) = delete;
  JpegPicture& operator=(const JpegPicture&) = delete;

  bool Start(const std::uint8_t* bytes, std::size_t size, std::int32_t maxSide) {
    info_.err = &errors_.manager;
    if (setjmp(errors_.jump)) return false;
    jpeg_create_decompress(&info_);
    created_ = true;
    info_.mem->max_memory_to_use = kLargestDecoderMemory;
    jpeg_mem_src(&info_, bytes, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info_, TRUE) != JPEG_HEADER_OK) return false;
    const auto limit = static_cast<JDIMENSION>(maxSide);
    return info_.image_width > 0 && info_.image_height > 0 && info_.image_width <= limit &&
           info_.image_height <= limit;
  }

  std::int32_t Width() const override { return static_cast<std::int32_t>(info_.image_width); }
  std::int32_t Height() const override { return static_cast<std::int32_t>(info_.image_height); }

  bool DrawOnto(std::uint8_t* pixels) override {
    if (setjmp(errors_.jump)) return false;
    // Colour pictures come out as blue-green-red straight away; ink
    // separations are turned into colours here.
    const bool separations =
        info_.jpeg_color_space == JCS_CMYK || info_.jpeg_color_space == JCS_YCCK;
    info_.out_color_space = separations ? JCS_CMYK : JCS_EXT_BGRX;
    info_.progress = &progress_;
    jpeg_start_decompress(&info_);
    if (info_.output_width != info_.image_width || info_.output_height != info_.image_height ||
        info_.output_components != Bitmap::kBytesPerPixel) {
      Fail(reinterpret_cast<j_common_ptr>(&info_));
    }
    const std::size_t rowBytes =
        static_cast<std::size_t>(info_.output_width) * Bitmap::kBytesPerPixel;
    while (info_.output_scanline < info_.output_height) {
      // Scanlines run top-down; the pixels are bottom-up.
      JSAMPROW row = pixels + (info_.output_height - 1 - info_.output_scanline) * rowBytes;
      jpeg_read_scanlines(&info_, &row, 1);
      if (separations) SeparationsToColours(row);
    }
    jpeg_finish_decompress(&info_);
    return true;
  }

 private:
  // Cyan, magenta, yellow, black to blue, green, red. Adobe's files store
  // the inks inverted, as most CMYK JPEGs do.
  void SeparationsToColours(std::uint8_t* row) const {
    const bool inverted = info_.saw_Adobe_marker;
    for (JDIMENSION x = 0; x < info_.output_width; ++x, row += Bitmap::kBytesPerPixel) {
      // How much light each ink lets through.
      unsigned light[4];
      for (int k = 0; k < 4; ++k) light[k] = inverted ? row[k] : kFull - row[k];
      const unsigned red = light[0] * light[3] / kFull;
      const unsigned green = light[1] * light[3] / kFull;
      const unsigned blue = light[2] * light[3] / kFull;
      row[0] = static_cast<std::uint8_t>(blue);
      row[1] = static_cast<std::uint8_t>(green);
      row[2] = static_cast<std::uint8_t>(red);
      row[3] = 0;
    }
  }

  jpeg_decompress_struct info_{};
  ErrorHandler errors_{};
  jpeg_progress_mgr progress_{};
  bool created_ = false;
};
}  // namespace

std::unique_ptr<platform::Picture> JpegDecoder::Open(const std::uint8_t* bytes, std::size_t size,
                                                     std::int32_t maxSide) {
  if (maxSide <= 0 || size == 0) return nullptr;
  auto picture = std::make_unique<JpegPicture>();
  if (!picture->Start(bytes, size, maxSide)) return nullptr;
  return picture;
}

}  // namespace render
