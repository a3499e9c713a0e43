#!/bin/sh
# Installs what building, playing and testing the game and its home page
# need on Debian or Ubuntu (the home page's server needs Qt HttpServer, which
# needs Qt WebSockets to configure, and Qt's SQLite driver; its browser test
# Chromium and Selenium). Sourced by play.sh, homepage.sh and test.sh.
set -eu

packages="cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libxcb1-dev
  fonts-ipafont-gothic fonts-ipafont-mincho
  xvfb xauth x11-utils xdotool imagemagick openbox
  desktop-file-utils appstream dpkg-dev file
  qt6-httpserver-dev qt6-websockets-dev libqt6sql6-sqlite
  chromium chromium-driver python3-selenium"

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done

if [ -n "$missing" ]; then
  echo "Installing:$missing"
  if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
  $sudo apt-get update
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
fi
