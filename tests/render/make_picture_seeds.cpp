// Writes the fuzzers' seed corpus of pictures: every PNG and JPEG variant
// the decoders handle, small, into the directory given.
#include <cstdio>
#include <string>

#include "sample_pictures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
    return 2;
  }
  const std::string directory = argv[1];
  const render::Bitmap picture = samples::Gradient(23, 17, 0x42);
  const samples::PngStyle pngStyles[] = {
      samples::PngStyle::kRgb,       samples::PngStyle::kRgbaHalfLeft,
      samples::PngStyle::kRgbaHalf,  samples::PngStyle::kPalette,
      samples::PngStyle::kGray,      samples::PngStyle::kGrayOneBit,
      samples::PngStyle::kGrayAlpha, samples::PngStyle::kSixteenBit,
      samples::PngStyle::kInterlaced};
  int count = 0;
  for (const samples::PngStyle style : pngStyles) {
    samples::WriteFile(directory, "seed" + std::to_string(count++) + ".png",
                       samples::EncodePng(picture, style));
  }
  const samples::JpegStyle jpegStyles[] = {
      samples::JpegStyle::kColour, samples::JpegStyle::kGray, samples::JpegStyle::kProgressive,
      samples::JpegStyle::kCmyk, samples::JpegStyle::kCmykPlain};
  for (const samples::JpegStyle style : jpegStyles) {
    samples::WriteFile(directory, "seed" + std::to_string(count++) + ".jpg",
                       samples::EncodeJpeg(picture, style, 75));
  }
  std::printf("%d seeds in %s\n", count, directory.c_str());
  return 0;
}
