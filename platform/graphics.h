#pragma once
// What differs by platform in the main window's OpenGL: binding the
// libraries, the pixel format, the rendering context and presenting a
// frame. Everything drawn goes through OpenGL itself (render/).
namespace platform {

class Graphics {
 public:
  virtual ~Graphics() = default;
  // Loads the OpenGL and GLU libraries from the system folder.
  virtual void LoadLibraries() = 0;
  // Chooses and sets the window's pixel format (double-buffered RGBA,
  // 32-bit colour, 16-bit depth, nothing else).
  virtual void SetUpPixelFormat() = 0;
  // Creates the rendering context and makes it current for good.
  virtual void CreateContext() = 0;
  // Shows the frame just drawn.
  virtual void Present() = 0;
  // Makes no context current and deletes the context.
  virtual void DeleteContext() = 0;
};

}  // namespace platform
