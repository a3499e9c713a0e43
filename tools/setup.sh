#!/bin/sh
# Installs what building and playing the game and running its home page need
# on Debian or Ubuntu: the home page's server needs Boost (Beast and Asio, its
# HTTP and network layer, headers only) and Qt's SQLite and PostgreSQL
# drivers. With
# SUIRAN_SETUP=tests also what the tests, screenshots and benchmarks need: a
# virtual X screen with a window manager, the packaging tools, Chromium and
# Selenium for the browser test, a PostgreSQL server and wrk.
# Sourced by play.sh, homepage.sh, test.sh, screenshots.sh and the benchmarks.
set -eu

packages="cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libxcb1-dev
  fonts-ipafont-gothic fonts-ipafont-mincho
  libboost-dev libqt6sql6-sqlite libqt6sql6-psql"
if [ "${SUIRAN_SETUP:-}" = tests ]; then
  packages="$packages
  xvfb xauth x11-utils xdotool imagemagick openbox
  desktop-file-utils appstream dpkg-dev file
  chromium chromium-driver python3-selenium
  postgresql wrk"
fi

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
