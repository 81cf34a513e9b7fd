#pragma once
// The cube scene in OpenGL units (right-handed, y up, the camera looking
// along -z): a box 2 wide, 1.5 high and 2 deep centred on the origin, with
// the desktops on its side faces and pictures on its caps, inside a sphere
// of radius 10 that carries the background picture.
#include <array>
#include <cstdint>

namespace render {

struct Vertex {
  float x, y, z;
};
struct TexCoord {
  float s, t;
};
using Quad = std::array<Vertex, 4>;
using QuadTexCoords = std::array<TexCoord, 4>;

// Side faces by desktop: 0 in z = +1, 1 in x = +1, 2 in z = -1, 3 in
// x = -1. Each runs top-left, top-right, bottom-right, bottom-left as seen
// from outside, so its picture shows upright and unmirrored when in front.
inline constexpr std::array<Quad, 4> kSideFaces = {{
    {{{-1, 0.75f, 1}, {1, 0.75f, 1}, {1, -0.75f, 1}, {-1, -0.75f, 1}}},
    {{{1, 0.75f, 1}, {1, 0.75f, -1}, {1, -0.75f, -1}, {1, -0.75f, 1}}},
    {{{1, 0.75f, -1}, {-1, 0.75f, -1}, {-1, -0.75f, -1}, {1, -0.75f, -1}}},
    {{{-1, 0.75f, -1}, {-1, 0.75f, 1}, {-1, -0.75f, 1}, {-1, -0.75f, -1}}},
}};

// The caps: the top picture's upper edge lies along face 2 and its lower
// edge along face 0; the bottom picture's upper edge along face 0.
inline constexpr Quad kTopCap = {{{-1, 0.75f, -1}, {1, 0.75f, -1}, {1, 0.75f, 1}, {-1, 0.75f, 1}}};
inline constexpr Quad kBottomCap = {
    {{-1, -0.75f, 1}, {1, -0.75f, 1}, {1, -0.75f, -1}, {-1, -0.75f, -1}}};

// How far side faces sample inside their picture, in texture coordinates
// (the same for s and t): half a screen pixel, 0.5 / screen width.
float EdgeInset(std::int32_t screenWidth);

// The texture coordinates of a side face, inset by e on all four sides,
// in the order of its vertices.
QuadTexCoords SideTexCoords(float sMax, float tMin, float inset);
// A cap's texture coordinates reach its picture's edges.
QuadTexCoords CapTexCoords(float sMax, float tMin);

// The background sphere: slices around the vertical axis, stacks from the
// lower pole to the upper one.
constexpr int kSphereSlices = 32;
constexpr int kSphereStacks = 16;
constexpr double kSphereRadius = 10.0;

struct SphereQuad {
  Quad vertices;
  QuadTexCoords texCoords;
};
// The quad of slice i and stack j, with the picture wrapped once around:
// its left edge towards -x, its first quarter ending straight ahead (-z),
// its bottom edge at the lower pole.
SphereQuad SphereQuadAt(int slice, int stack, float sMax, float tMin);

}  // namespace render
