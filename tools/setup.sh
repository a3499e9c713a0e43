#!/bin/sh
# Installs what building, playing and testing the game need on Debian or
# Ubuntu, then configures and builds it. Sourced by play.sh and test.sh.
set -eu

packages="cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libxcb1-dev
  fonts-ipafont-gothic fonts-ipafont-mincho
  xvfb xauth x11-utils xdotool imagemagick openbox
  desktop-file-utils appstream dpkg-dev file"

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
