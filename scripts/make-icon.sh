#!/usr/bin/env bash
# Draws the program's icon (app/quorvel.ico) with ImageMagick: a blue tile with a small window
# whose title bar and three colour swatches stand for a desktop theme. The icon is committed;
# run this only to change it.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The master drawing at 256 x 256; the smaller sizes are scaled from it.
convert -size 256x256 xc:none \
    -fill '#1f5fbf' -draw 'roundrectangle 8,8 247,247 40,40' \
    -fill '#3d86e8' -draw 'roundrectangle 8,8 247,180 40,40' \
    -fill white -draw 'roundrectangle 44,56 212,200 10,10' \
    -fill '#1f5fbf' -draw 'rectangle 44,56 212,84' \
    -fill '#d9534f' -draw 'rectangle 62,112 104,182' \
    -fill '#8a63d2' -draw 'rectangle 107,112 149,182' \
    -fill '#26a69a' -draw 'rectangle 152,112 194,182' \
    "$work/master.png"
sizes=()
for size in 16 24 32 48 64 256; do
    convert "$work/master.png" -resize "${size}x${size}" "$work/$size.png"
    sizes+=("$work/$size.png")
done
convert "${sizes[@]}" "$repo/app/quorvel.ico"
echo "make-icon: wrote $repo/app/quorvel.ico"
