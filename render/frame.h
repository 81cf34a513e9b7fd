#pragma once
// The steps of one frame of the cube scene that draw; the session logic
// runs its mouse turning and cursor wrapping between them.
#include <array>
#include <cstdint>

#include "render/texture.h"

namespace render {

// The projection: a vertical field of view whose half-angle tangent is just
// over 0.75, so a face 1.5 high seen from distance 1 fills the window; the
// aspect is fixed at 4:3 and the viewport stretches it to the window.
constexpr double kFieldOfView = 73.75;
constexpr double kAspect = 4.0 / 3.0;
constexpr double kNearPlane = 0.1;
constexpr double kFarPlane = 100.0;
// The box centre's distance from the camera at rest: the facing side is
// then 1 away.
constexpr float kRestDistance = 2.0f;

// Turns depth testing and texturing on, once, right after the context is
// made; no other state ever leaves its default.
void EnableDepthAndTexturing();
void SetViewport(std::int32_t width, std::int32_t height);

// Clears the buffers, sets the projection and places the camera `pullBack`
// units further back than at rest.
void BeginFrame(float pullBack);
// Turns the box by pitch about x, then yaw about its own vertical axis.
void OrientBox(float pitch, float yaw);
// The four side faces in desktop order, then the top and bottom caps.
void DrawBox(const std::array<FaceTexture, 4>& faces, const FaceTexture& top,
             const FaceTexture& bottom, std::int32_t screenWidth);
// The background sphere, turned with the box but never moved by the zoom.
void DrawBackground(float pitch, float yaw, const FaceTexture& background);

}  // namespace render
