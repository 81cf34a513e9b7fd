#pragma once
// OpenGL 1.1 and GLU: the same calls on Windows and on Mesa. On Windows the
// headers want three macros from <windows.h>; defining them here keeps the
// whole Windows API out of the drawing code.
#if defined(_WIN32) && !(defined(WINGDIAPI) && defined(APIENTRY))
#define APIENTRY __stdcall
#define WINGDIAPI __declspec(dllimport)
#endif
#if defined(_WIN32) && !defined(CALLBACK)
#define CALLBACK __stdcall
#endif
#include <GL/gl.h>
#include <GL/glu.h>

namespace render {
// Blue, green, red, alpha byte order (GL_EXT_bgra, part of Windows' OpenGL
// 1.1 and of every Mesa).
constexpr GLenum kBgraFormat = 0x80E1;
// The internal format of every texture: four components.
constexpr GLint kFourComponents = 4;
}  // namespace render
