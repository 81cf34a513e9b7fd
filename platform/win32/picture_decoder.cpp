#include <windows.h>

#include "platform/win32/picture_decoder.h"
// After windows.h: the OLE picture object and its interfaces.
#include <ocidl.h>
#include <olectl.h>

#include <cstring>

#include "platform/picture_checks.h"
#include "platform/win32/handles.h"

namespace platform::win32 {

namespace {
constexpr int kHimetricPerInch = 2540;
constexpr int kBytesPerPixel = 4;

template <typename T>
struct ComRelease {
  void operator()(T* object) const { object->Release(); }
};
template <typename T>
using ComPtr = std::unique_ptr<T, ComRelease<T>>;

int HimetricToPixels(OLE_XSIZE_HIMETRIC himetric, int pixelsPerInch) {
  return MulDiv(himetric, pixelsPerInch, kHimetricPerInch);
}

class OlePicture : public Picture {
 public:
  explicit OlePicture(IPicture* picture) : picture_(picture) {}

  // Works out the size in pixels; false when there is none.
  bool Measure() {
    SHORT type = PICTYPE_UNINITIALIZED;
    picture_->get_Type(&type);
    picture_->get_Width(&himetricWidth_);
    picture_->get_Height(&himetricHeight_);
    OLE_HANDLE handle = 0;
    picture_->get_Handle(&handle);
    const auto object = reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(handle));
    if (type == PICTYPE_BITMAP) {
      BITMAP bitmap;
      if (GetObjectA(object, sizeof(bitmap), &bitmap) == 0) return false;
      width_ = bitmap.bmWidth;
      height_ = bitmap.bmHeight;
    } else if (type == PICTYPE_ICON) {
      ICONINFO icon;
      if (!GetIconInfo(static_cast<HICON>(object), &icon)) return false;
      GdiObject colour(icon.hbmColor);
      GdiObject mask(icon.hbmMask);
      BITMAP bitmap;
      if (GetObjectA(icon.hbmMask, sizeof(bitmap), &bitmap) == 0) return false;
      width_ = bitmap.bmWidth;
      // A monochrome icon's mask holds the AND and the XOR halves.
      height_ = icon.hbmColor != nullptr ? bitmap.bmHeight : bitmap.bmHeight / 2;
    } else if (type == PICTYPE_METAFILE || type == PICTYPE_ENHMETAFILE) {
      WindowDc screen(nullptr, GetDC(nullptr));
      width_ = HimetricToPixels(himetricWidth_, GetDeviceCaps(screen.get(), LOGPIXELSX));
      height_ = HimetricToPixels(himetricHeight_, GetDeviceCaps(screen.get(), LOGPIXELSY));
    } else {
      return false;
    }
    return width_ > 0 && height_ > 0;
  }

  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }

  bool DrawOnto(std::uint8_t* pixels) override {
    WindowDc screen(nullptr, GetDC(nullptr));
    MemoryDc memory(CreateCompatibleDC(screen.get()));
    void* bits = nullptr;
    GdiObject section(CreatePixelSection(screen.get(), width_, height_, &bits));
    if (section.get() == nullptr || bits == nullptr) return false;
    const std::size_t bytes =
        static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * kBytesPerPixel;
    // Drawn over what the bitmap holds, so transparent parts keep it.
    std::memcpy(bits, pixels, bytes);
    HRESULT result;
    {
      Selection selected(memory.get(), section.get());
      // HIMETRIC runs bottom-up: start at the top and go down.
      result = picture_->Render(memory.get(), 0, 0, width_, height_, 0, himetricHeight_,
                                himetricWidth_, -himetricHeight_, nullptr);
    }
    GdiFlush();
    if (FAILED(result)) return false;
    std::memcpy(pixels, bits, bytes);
    return true;
  }

 private:
  ComPtr<IPicture> picture_;
  OLE_XSIZE_HIMETRIC himetricWidth_ = 0;
  OLE_YSIZE_HIMETRIC himetricHeight_ = 0;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
};
}  // namespace

std::unique_ptr<Picture> Win32PictureDecoder::Open(const std::uint8_t* bytes, std::size_t size,
                                                   std::int32_t maxSide) {
  if (size == 0 || size > MAXLONG || maxSide <= 0) return nullptr;
  // Only the kinds this decoder is for (OLE would also read GIF and JPEG),
  // within their caps, and with the size their headers claim checked before
  // the system makes room for it.
  const SystemPicture kind = SystemPictureOf(bytes, size);
  if (kind == SystemPicture::kNone || size > SystemPictureByteCap(kind, maxSide) ||
      !SystemPictureHeaderFits(bytes, size, maxSide)) {
    return nullptr;
  }

  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (memory == nullptr) return nullptr;
  void* copy = GlobalLock(memory);
  if (copy == nullptr) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(copy, bytes, size);
  GlobalUnlock(memory);
  IStream* rawStream = nullptr;
  // The stream frees the memory when it is released.
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &rawStream))) {
    GlobalFree(memory);
    return nullptr;
  }
  ComPtr<IStream> stream(rawStream);
  IPicture* rawPicture = nullptr;
  if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                            reinterpret_cast<void**>(&rawPicture))) ||
      rawPicture == nullptr) {
    return nullptr;
  }
  auto picture = std::make_unique<OlePicture>(rawPicture);
  if (!picture->Measure() || picture->Width() > maxSide || picture->Height() > maxSide) {
    return nullptr;
  }
  return picture;
}

}  // namespace platform::win32
