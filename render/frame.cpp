#include "render/frame.h"

#include "render/gl.h"
#include "render/scene_geometry.h"

namespace render {

namespace {
void Emit(const QuadTexCoords& texCoords, const Quad& vertices) {
  for (std::size_t k = 0; k < vertices.size(); ++k) {
    glTexCoord2f(texCoords[k].s, texCoords[k].t);
    glVertex3f(vertices[k].x, vertices[k].y, vertices[k].z);
  }
}

void DrawQuad(std::uint32_t texture, const QuadTexCoords& texCoords, const Quad& vertices) {
  BindTexture(texture);
  glBegin(GL_QUADS);
  Emit(texCoords, vertices);
  glEnd();
}

void Orient(float pitch, float yaw) {
  glRotatef(pitch, 1.0f, 0.0f, 0.0f);
  glRotatef(yaw, 0.0f, 1.0f, 0.0f);
}
}  // namespace

void EnableDepthAndTexturing() {
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_TEXTURE_2D);
}

void SetViewport(std::int32_t width, std::int32_t height) { glViewport(0, 0, width, height); }

void BeginFrame(float pullBack) {
  glClear(GL_DEPTH_BUFFER_BIT);
  glClear(GL_COLOR_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(kFieldOfView, kAspect, kNearPlane, kFarPlane);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -kRestDistance - pullBack);
}

void OrientBox(float pitch, float yaw) { Orient(pitch, yaw); }

void DrawBox(const std::array<FaceTexture, 4>& faces, const FaceTexture& top,
             const FaceTexture& bottom, std::int32_t screenWidth) {
  const float e = EdgeInset(screenWidth);
  for (std::size_t k = 0; k < faces.size(); ++k) {
    DrawQuad(faces[k].name, SideTexCoords(faces[k].sMax, faces[k].tMin, e), kSideFaces[k]);
  }
  DrawQuad(top.name, CapTexCoords(top.sMax, top.tMin), kTopCap);
  DrawQuad(bottom.name, CapTexCoords(bottom.sMax, bottom.tMin), kBottomCap);
}

void DrawBackground(float pitch, float yaw, const FaceTexture& background) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  Orient(pitch, yaw);
  BindTexture(background.name);
  glBegin(GL_QUADS);
  for (int i = 0; i < kSphereSlices; ++i) {
    for (int j = 0; j < kSphereStacks; ++j) {
      const SphereQuad quad = SphereQuadAt(i, j, background.sMax, background.tMin);
      Emit(quad.texCoords, quad.vertices);
    }
  }
  glEnd();
}

}  // namespace render
