#!/usr/bin/env sh
# Renders the program's own pictures from their SVG sources (needs rsvg-convert).
set -e
cd "$(dirname "$0")"
rsvg-convert -w 256 -h 256 logo.svg -o logo.png
rsvg-convert banner.svg -o banner.png
