#pragma once
// The program's own main window: hidden between sessions, full-screen and on
// top while the cube is shown.
#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace platform {

class MainWindow {
 public:
  virtual ~MainWindow() = default;
  virtual WindowHandle Handle() = 0;
  virtual void Place(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) = 0;
  // Shows the window and brings it to the front.
  virtual void ShowOnTop() = 0;
  virtual void Hide() = 0;
  virtual bool IsVisible() = 0;
  // Paints the window at once, before returning.
  virtual void Repaint() = 0;
  // Asks the window to close, as any close request would.
  virtual void Close() = 0;
  // Starts the window's timer, or changes its interval; each expiry calls the
  // timer handler.
  virtual void SetTickInterval(std::uint32_t milliseconds) = 0;
  // Stops the timer until the next SetTickInterval.
  virtual void StopTicks() = 0;
  // The default cap picture the window holds: its size and its pixels, 32
  // bits each (blue, green, red, unused), rows bottom-up. False when it
  // cannot be had.
  virtual bool DefaultCapPicture(std::int32_t* width, std::int32_t* height,
                                 std::vector<std::uint8_t>* pixels) = 0;
};

}  // namespace platform
