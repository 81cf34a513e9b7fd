#!/usr/bin/env bash
# Makes the program's two picture resources with ImageMagick: the 16 x 16
# tray and window icon (32 bits per pixel, a rhombus), and the 256 x 256
# 24-bit default cap picture with the product name in script lettering.
# The results are committed; run this only to change them.
set -euo pipefail
cd "$(dirname "$0")"
font=$(fc-list : file | grep -iE 'Z003|Chancery' | head -n1 | cut -d: -f1)
[ -n "$font" ] || font=$(fc-list : file | grep -i 'Italic' | head -n1 | cut -d: -f1)

convert -size 16x16 xc:none \
  \( -size 16x16 gradient:'#7aa7ff'-'#3a1f9a' \) \
  \( -size 16x16 xc:black -fill white -draw 'polygon 8,0 15,8 8,15 0,8' \) \
  -delete 0 -alpha off -compose CopyOpacity -composite \
  -define icon:auto-resize=16 -depth 8 PNG32:mainicon.png
convert mainicon.png -define icon:auto-resize=16 mainicon.ico
rm -f mainicon.png

convert -size 256x256 xc:'#f3efe2' \
  -fill '#dfe7f2' -draw 'polygon 0,256 256,0 256,256' \
  -fill '#c9d3e6' -draw 'polygon 128,40 216,128 128,216 40,128' \
  -font "$font" -fill '#1d2340' -gravity center \
  -pointsize 54 -annotate +0-28 'Rombo' \
  -pointsize 46 -annotate +0+30 'Desktop' \
  -type TrueColor -alpha off BMP3:imgdefault.bmp
