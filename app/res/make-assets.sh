#!/usr/bin/env bash
# Regenerates the program's pictures with ImageMagick 6:
#   mainicon.ico   one 16x16 image, 32 bits per pixel with alpha: a
#                  blue-violet diamond (the product's rhombus)
#   imgdefault.bmp 256x256, 24 bits per pixel, bottom-up BMP3: the product
#                  name in dark script lettering on two light tones
# The outputs are kept in the repository; run this only to change them.
# Script lettering uses URW Chancery (Debian: fonts-urw-base35), else an
# italic serif (fonts-dejavu-core).
set -euo pipefail
cd "$(dirname "$0")"

ICON_SIZE=16
# Drawn larger and scaled down, so the diamond's edges are smoothed.
ICON_DRAW_SIZE=128
ICON_TOP_COLOUR='#6a8cff'      # light blue at the top point
ICON_BOTTOM_COLOUR='#5b1fa8'   # deep violet at the bottom point
ICON_EDGE_COLOUR='#2a0f5c'

CAP_SIZE=256
CAP_TOP_COLOUR='#fbf3df'       # warm cream
CAP_BOTTOM_COLOUR='#dde9f6'    # pale sky blue
CAP_INK_COLOUR='#1c1838'       # near-black indigo
CAP_POINT_SIZE=58
BMP_BYTES=$((54 + CAP_SIZE * CAP_SIZE * 3))  # header + rows of 768 bytes

pick_font() {
  local font
  for font in Z003-Medium-Italic Z003-MediumItalic DejaVu-Serif-Italic; do
    if convert -list font | grep -qx "  Font: $font"; then
      echo "$font"
      return
    fi
  done
  echo "make-assets: no script or italic serif font found" >&2
  exit 1
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# --- icon --------------------------------------------------------------------
d=$ICON_DRAW_SIZE
m=$((d / 2))
inset=$((d / 16))
convert -size "${d}x${d}" "gradient:${ICON_TOP_COLOUR}-${ICON_BOTTOM_COLOUR}" \
  "$tmp/fill.png"
convert -size "${d}x${d}" xc:black -fill white -stroke white \
  -draw "polygon $m,$inset $((d - inset)),$m $m,$((d - inset)) $inset,$m" \
  "$tmp/mask.png"
convert "$tmp/fill.png" \
  -fill none -stroke "$ICON_EDGE_COLOUR" -strokewidth $((d / 16)) \
  -draw "polygon $m,$inset $((d - inset)),$m $m,$((d - inset)) $inset,$m" \
  "$tmp/mask.png" -alpha off -compose CopyOpacity -composite \
  -filter Lanczos -resize "${ICON_SIZE}x${ICON_SIZE}" \
  -define png:color-type=6 "$tmp/icon16.png"
convert "$tmp/icon16.png" -define icon:auto-resize="$ICON_SIZE" mainicon.ico

# --- default cap picture -----------------------------------------------------
font=$(pick_font)
half=$((CAP_SIZE / 2))
convert -size "${CAP_SIZE}x${half}" "xc:${CAP_TOP_COLOUR}" \
  -size "${CAP_SIZE}x${half}" "xc:${CAP_BOTTOM_COLOUR}" -append \
  -font "$font" -pointsize "$CAP_POINT_SIZE" -fill "$CAP_INK_COLOUR" \
  -gravity center -annotate +0-34 'Rombo' -annotate +0+34 'Desktop' \
  -alpha off -type TrueColor -depth 8 -strip BMP3:imgdefault.bmp

# --- checks ------------------------------------------------------------------
[[ "$(identify -format '%w %h' mainicon.ico)" == "$ICON_SIZE $ICON_SIZE" ]]
# ICONDIRENTRY.wBitCount (bytes 12-13, little-endian) must say 32.
[[ "$(od -An -tu2 -j12 -N2 mainicon.ico | tr -d ' ')" == 32 ]]
[[ "$(stat -c %s imgdefault.bmp)" == "$BMP_BYTES" ]]
# BITMAPINFOHEADER: positive height (bottom-up), 24 bits per pixel.
[[ "$(od -An -td4 -j22 -N4 imgdefault.bmp | tr -d ' ')" == "$CAP_SIZE" ]]
[[ "$(od -An -tu2 -j28 -N2 imgdefault.bmp | tr -d ' ')" == 24 ]]
echo "make-assets: mainicon.ico and imgdefault.bmp written (font $font)"
