#!/bin/sh
# Retakes the README's pictures (docs/screenshots/) from the real windows of
# the game, on a virtual screen of its own with a window manager for the frames.
# Usage: sh tools/screenshots.sh [display number, default 99]
set -eu
cd "$(dirname "$0")/.."
SUIRAN_SETUP=tests
. tools/setup.sh
display=":${1:-99}"
out=docs/screenshots

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target suiran_screenshots

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $wm $xvfb 2>/dev/null || true' EXIT INT TERM
wm=""
export DISPLAY="$display"
sleep 1
# A display already taken would leave us photographing someone else's screen.
kill -0 "$xvfb" 2>/dev/null || { echo "display $display is in use; pass another number" >&2; exit 1; }
for _ in 1 2 3 4 5 6 7 8 9 10; do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.5
done
openbox >/dev/null 2>&1 &
wm=$!
sleep 1

mkdir -p "$out"
unset QT_QPA_PLATFORM QT_SCALE_FACTOR LANGUAGE LC_ALL LC_MESSAGES
# The game in its own language whatever the caller's desktop speaks...
LANG=C.UTF-8 build/tools/screenshots/suiran_screenshots "$out"
# The slot machine once more, as a screen at twice the density shows it.
LANG=C.UTF-8 QT_SCALE_FACTOR=2 build/tools/screenshots/suiran_screenshots "$out" -2x spin
# ...and as an English desktop shows it (the locale need not be installed).
LANGUAGE=en LANG=en_US.UTF-8 build/tools/screenshots/suiran_screenshots "$out" -en
