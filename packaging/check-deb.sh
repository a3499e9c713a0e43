#!/bin/sh
# Builds the .deb files from a finished build and checks what a player's
# machine would get from the game's: the program, its menu entry and icons,
# the metainfo and the licences, all under /usr, and the packages it pulls in
# (never the home page's server); then the home page's package
# (check-homepage-deb.sh).
# Usage: check-deb.sh <build dir> <application id> <version> "<icon sizes>" [homepage|game-only]
set -eu
build=$1
id=$2
version=$3
sizes=${4:-}
withHomepage=${5:-homepage}

scratch="$build/deb-check"
rm -rf "$scratch"
mkdir -p "$scratch"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; exit 1; }

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The package matching $1 (a name under $scratch), unpacked into $root.
unpack() {
  deb=$(ls "$scratch"/$1)
  root="$scratch/root-$(basename "$deb" .deb)"
  mkdir -p "$root"
  dpkg-deb -x "$deb" "$root"
}
expect_file() {
  [ -f "$root/$1" ] || fail "missing /$1"
}
expect_program() {
  expect_file "$1"
  [ -x "$root/$1" ] || fail "/$1 is not executable"
  file -b "$root/$1" | grep -q ELF || fail "/$1 is no program"
}
depends_on() {
  dpkg-deb -f "$deb" Depends | grep -Eq "(^|, )$1( |,|$)"
}
# What $deb must pull in, and what it must not.
expect_depends() {
  for package; do
    depends_on "$package" || fail "Depends lacks $package: $(dpkg-deb -f "$deb" Depends)"
  done
}
refuse_depends() {
  for package; do
    if depends_on "$package"; then fail "Depends pulls in $package: $(dpkg-deb -f "$deb" Depends)"; fi
  done
}

unpack 'suiranjuku_*.deb'
expect_program usr/bin/suiranjuku
expect_file "usr/share/applications/$id.desktop"
expect_file "usr/share/metainfo/$id.metainfo.xml"
expect_file usr/share/doc/suiranjuku/LICENSE
expect_file usr/share/doc/suiranjuku/LICENSE-artwork

entry="$root/usr/share/applications/$id.desktop"
if [ -f "$entry" ]; then
  desktop-file-validate "$entry" || fail "desktop entry does not validate"
  grep -qx "Exec=suiranjuku" "$entry" || fail "desktop entry does not start /usr/bin/suiranjuku"
  grep -qx "Icon=$id" "$entry" || fail "desktop entry names another icon"
fi

for size in $sizes; do
  icon="usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
  expect_file "$icon"
  [ -f "$root/$icon" ] && ! file -b "$root/$icon" | grep -q "PNG image data, $size x $size," &&
    fail "/$icon is not a $size px PNG"
done

# Nothing outside /usr, and nothing of the build (libraries, headers, tests).
stray=$(cd "$root" && find . -type f | grep -v \
  -e '^\./usr/bin/suiranjuku$' \
  -e '^\./usr/share/applications/' \
  -e '^\./usr/share/metainfo/' \
  -e '^\./usr/share/icons/hicolor/' \
  -e '^\./usr/share/doc/suiranjuku/' || true)
[ -z "$stray" ] || fail "unexpected files: $stray"

expect_depends fonts-ipafont-gothic fonts-ipafont-mincho qt6-qpa-plugins libqt6widgets6
refuse_depends suiranjuku-homepage libqt6sql6 libqt6httpserver6
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"

if [ "$withHomepage" = homepage ]; then
  . "$(dirname "$0")/check-homepage-deb.sh"
fi

[ "$failures" -eq 0 ] || exit 1
echo "ok:" "$scratch"/*.deb
