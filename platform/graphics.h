#pragma once
// The OpenGL side of the main window: context set-up and teardown, and the
// fixed parts of a frame that the session logic sequences.
#include <cstdint>

namespace platform {

class Graphics {
 public:
  virtual ~Graphics() = default;
  // Binds the OpenGL and GLU libraries by name.
  virtual void LoadLibraries() = 0;
  // Chooses and sets the window's pixel format (double-buffered RGBA,
  // 32-bit colour, 16-bit depth).
  virtual void SetUpPixelFormat() = 0;
  // Creates the rendering context and makes it current for good.
  virtual void CreateContext() = 0;
  virtual void EnableDepthAndTexturing() = 0;
  virtual void SetViewport(std::int32_t width, std::int32_t height) = 0;
  // Clears the buffers and sets projection and camera; the camera stands
  // `pullBack` units further back than at rest.
  virtual void BeginFrame(float pullBack) = 0;
  // Turns the scene by pitch about x, then yaw about y (degrees).
  virtual void OrientBox(float pitch, float yaw) = 0;
  virtual void Present() = 0;
  // Makes no context current and deletes the context.
  virtual void DeleteContext() = 0;
};

}  // namespace platform
