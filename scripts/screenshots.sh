#!/usr/bin/env bash
# Takes a picture of every window of Volmara into the folder given (the help page's are in
# docs/help): builds volmara-screenshots when needed and runs it on a virtual X display, or on
# Qt's offscreen platform when xvfb-run is missing.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ $# -ne 1 ]; then
  echo "usage: $0 <folder>" >&2
  exit 2
fi
out="$1"
build="${VOLMARA_BUILD_DIR:-$here/build}"

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOLMARA_WERROR=ON
fi
cmake --build "$build" --target volmara-screenshots -j"$(nproc)"
tool="$build/tools/screenshots/volmara-screenshots"

# The same look on every machine: no desktop theme, no scaling, and the DejaVu fonts alone, so
# that no other installed font stands in for a missing glyph.
fonts="$(mktemp -d)"
trap 'rm -rf "$fonts"' EXIT
cat > "$fonts/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <cachedir>$fonts/cache</cachedir>
</fontconfig>
CONF
export FONTCONFIG_FILE="$fonts/fonts.conf"
unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_FONT_DPI
export QT_ENABLE_HIGHDPI_SCALING=0
export LC_ALL=C.UTF-8

if command -v xvfb-run > /dev/null; then
  unset QT_QPA_PLATFORM
  xvfb-run -a -s "-screen 0 1600x1200x24 -dpi 96 -nolisten tcp" "$tool" "$out"
else
  echo "screenshots: xvfb-run is missing; using the offscreen platform" >&2
  QT_QPA_PLATFORM=offscreen "$tool" "$out"
fi
