#!/usr/bin/env bash
# Renders the program's icon into the PNG sizes that the window and the desktop's icon theme
# use, and the Windows .ico, from desktop/icons/solvarn-printersjekk.svg (and its own 16 px
# drawing). Run it after changing a drawing and commit the PNGs and the .ico: the build itself
# needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/../desktop/icons"
command -v rsvg-convert >/dev/null || { echo "render-icons: apt-get install librsvg2-bin" >&2; exit 1; }
rsvg-convert -w 16 -h 16 solvarn-printersjekk-16.svg -o solvarn-printersjekk-16.png
for size in 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" solvarn-printersjekk.svg -o "solvarn-printersjekk-$size.png"
done
# The Windows icon (the window's .exe, the installer's Start-menu entry): every size in one .ico.
command -v convert >/dev/null || { echo "render-icons: apt-get install imagemagick" >&2; exit 1; }
convert solvarn-printersjekk-{16,32,48,64,128,256}.png solvarn-printersjekk.ico
