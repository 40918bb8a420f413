#!/bin/sh
# Renders the application icon from its drawings in window/icons: the desktop's images
# hicolor/NxN/apps/ID.png at 16 ... 256 pixels, and zurevavud.ico, the window's icon, with the
# 16, 32, 48 and 256 pixel images. The master is the scalable hicolor/scalable/apps/ID.svg;
# the 16 pixel images come from zurevavud-16.svg, the same icon redrawn on that pixel grid.
# The rendered files are committed, so that the build needs neither tool used here:
# rsvg-convert (librsvg2-bin) and ImageMagick's convert.
# Usage: tools/make-icon.sh
set -eu

icons=$(dirname "$0")/../window/icons
id=io.github.zurevavud.Zurevavud
master=$icons/hicolor/scalable/apps/$id.svg
small=$icons/zurevavud-16.svg

for size in 16 32 48 64 128 256; do
    drawing=$master
    [ "$size" -gt 16 ] || drawing=$small
    mkdir -p "$icons/hicolor/${size}x$size/apps"
    rsvg-convert --width "$size" --height "$size" --output "$icons/hicolor/${size}x$size/apps/$id.png" "$drawing"
done

# The images as they are, 32-bit with alpha; no time stamps, so that the same drawings
# give the same bytes.
png() { printf '%s' "$icons/hicolor/$1x$1/apps/$id.png"; }
convert "$(png 16)" "$(png 32)" "$(png 48)" "$(png 256)" -strip "$icons/zurevavud.ico"
