#!/bin/sh
# Installs what is missing on Debian or Ubuntu. By itself: what building and
# playing the game needs, nothing of its home page. With SUIRAN_SETUP=homepage
# also the home page's server: Boost (Beast and Asio, its HTTP and network
# layer, headers only), Qt's SQLite and PostgreSQL drivers and libsystemd (the
# service tells systemd when it is ready). With SUIRAN_SETUP=tests both, and
# what the tests, screenshots and benchmarks need: a virtual X screen with a
# window manager, the packaging tools, Chromium and Selenium for the browser
# test, a PostgreSQL server, wrk, and a D-Bus session with the accessibility
# registry and its Python client for the screen-reader test.
# Sourced by play.sh, homepage.sh, test.sh, screenshots.sh and the benchmarks;
# `SUIRAN_SETUP=homepage sh tools/setup.sh` runs it alone.
set -eu

packages="cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libxcb1-dev
  qt6-tools-dev qt6-l10n-tools
  fonts-ipafont-gothic fonts-ipafont-mincho"
case "${SUIRAN_SETUP:-}" in homepage | tests)
  packages="$packages
  libboost-dev libqt6sql6-sqlite libqt6sql6-psql
  libsystemd-dev" ;;
esac
if [ "${SUIRAN_SETUP:-}" = tests ]; then
  packages="$packages
  xvfb xauth x11-utils xdotool imagemagick openbox
  desktop-file-utils appstream dpkg-dev file
  chromium chromium-driver python3-selenium
  postgresql wrk
  dbus-daemon at-spi2-core python3-pyatspi"
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
