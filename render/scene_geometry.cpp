#include "render/scene_geometry.h"

#include <cmath>

namespace render {

namespace {
constexpr float kHalfPixel = 0.5f;
constexpr double kPi = 3.14159265358979323846;

// P(longitude, latitude) on the sphere, computed once for all grid points.
struct SpherePoints {
  std::array<std::array<Vertex, kSphereStacks + 1>, kSphereSlices + 1> at;
  SpherePoints() {
    for (int i = 0; i <= kSphereSlices; ++i) {
      const double longitude = 2 * kPi * i / kSphereSlices;
      for (int j = 0; j <= kSphereStacks; ++j) {
        const double latitude = kPi * j / kSphereStacks - kPi / 2;
        at[i][j] =
            Vertex{static_cast<float>(-kSphereRadius * std::cos(latitude) * std::cos(longitude)),
                   static_cast<float>(kSphereRadius * std::sin(latitude)),
                   static_cast<float>(-kSphereRadius * std::cos(latitude) * std::sin(longitude))};
      }
    }
  }
};

const SpherePoints& Points() {
  static const SpherePoints points;
  return points;
}
}  // namespace

float EdgeInset(std::int32_t screenWidth) {
  // No screen to measure by: sample the picture's edges as they are.
  if (screenWidth <= 0) return 0;
  return kHalfPixel / static_cast<float>(screenWidth);
}

QuadTexCoords SideTexCoords(float sMax, float tMin, float e) {
  return {{{e, 1 - e}, {sMax - e, 1 - e}, {sMax - e, tMin + e}, {e, tMin + e}}};
}

QuadTexCoords CapTexCoords(float sMax, float tMin) {
  return {{{0, 1}, {sMax, 1}, {sMax, tMin}, {0, tMin}}};
}

SphereQuad SphereQuadAt(int slice, int stack, float sMax, float tMin) {
  const auto& at = Points().at;
  const double sStep = static_cast<double>(sMax) / kSphereSlices;
  const double tStep = (1.0 - tMin) / kSphereStacks;
  const float s0 = static_cast<float>(sStep * slice);
  const float s1 = static_cast<float>(sStep * (slice + 1));
  const float t0 = static_cast<float>(tMin + tStep * stack);
  const float t1 = static_cast<float>(tMin + tStep * (stack + 1));
  SphereQuad quad;
  quad.vertices = {at[slice][stack], at[slice + 1][stack], at[slice + 1][stack + 1],
                   at[slice][stack + 1]};
  quad.texCoords = {{{s0, t0}, {s1, t0}, {s1, t1}, {s0, t1}}};
  return quad;
}

}  // namespace render
