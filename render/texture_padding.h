#pragma once
// What fills a texture beyond its picture. The picture stands in the
// texture's top-left corner; OpenGL 1.1 repeats texture coordinates by
// default, so linear filtering at the picture's right and bottom edges
// blends in the texels just beyond them, and at its left and top edges,
// across the texture's wrap, the texture's last column and first row.
#include <cstdint>

#include "render/bitmap.h"

namespace render {

enum class Padding {
  // Zero bytes: for pictures drawn inset from their edges (the side faces),
  // whose drawing never reaches it.
  kBlack,
  // Beyond each edge that edge again (the caps).
  kRepeatEdges,
  // The left and right edges run on into each other and the top and bottom
  // edges repeat (the background, wrapped once around the sphere).
  kAroundSphere,
};

// Which of a picture's `pictureSide` columns (or rows, counted from the
// top) the padding texel at `position` shows, for pictureSide <= position <
// textureSide. The padding lies after the picture's last column and, across
// the wrap, before its first; each texel shows what lies beyond the nearer
// of those two edges (the last one when both are as near): that edge again,
// or, where the picture goes round, the picture continued from its other
// edge.
std::int32_t PaddingSource(std::int32_t position, std::int32_t pictureSide,
                           std::int32_t textureSide, bool goesRound);

// Fills the bound texture outside the bitmap's picture, whose bottom-up rows
// stand in the texture's last rows from its first column on, as `padding`
// says. `bgra`: the bitmap's bytes are blue, green, red (else red first).
// An empty picture gets black padding, there being nothing to repeat.
void FillPadding(const Bitmap& bitmap, std::int32_t textureWidth, std::int32_t textureHeight,
                 Padding padding, bool bgra);

}  // namespace render
