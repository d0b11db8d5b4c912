#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Pictures of the three windows into docs/screenshots/, drawn on a virtual X display
# at 96 dpi so one pixel is 15 twips as the layout expects.
#   scripts/screenshots.sh [build folder, default build/dev]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build/dev"}

cmake --build "$build" --target orvalin_screenshots
mkdir -p "$root/docs/screenshots"
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
  env QT_QPA_PLATFORM=xcb "$build/tools/screenshots/orvalin_screenshots" "$root/docs/screenshots"
