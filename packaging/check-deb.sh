#!/bin/sh
# Builds the .deb files from a finished build and checks what a player's
# machine would get from the game's: the program, its menu entry and icons,
# the metainfo and the licences, all under /usr, and the packages it pulls in
# (never the home page's server); then the home page's package
# (check-homepage-deb.sh).
# Usage: check-deb.sh <build dir> <application id> <version> "<icon sizes>"
set -eu
build=$1
id=$2
version=$3
sizes=${4:-}

scratch="$build/deb-check"
rm -rf "$scratch"
mkdir -p "$scratch/root"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; exit 1; }
deb=$(ls "$scratch"/suiranjuku_*.deb)
dpkg-deb -x "$deb" "$scratch/root"
root="$scratch/root"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

expect_file() {
  [ -f "$root/$1" ] || fail "missing /$1"
}

expect_file usr/bin/suiranjuku
[ -x "$root/usr/bin/suiranjuku" ] || fail "/usr/bin/suiranjuku is not executable"
file -b "$root/usr/bin/suiranjuku" | grep -q ELF || fail "/usr/bin/suiranjuku is no program"
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

depends=$(dpkg-deb -f "$deb" Depends)
for package in fonts-ipafont-gothic fonts-ipafont-mincho qt6-qpa-plugins libqt6widgets6; do
  echo "$depends" | grep -Eq "(^|, )$package( |,|$)" || fail "Depends lacks $package: $depends"
done
for package in suiranjuku-homepage libqt6sql6 libqt6httpserver6; do
  echo "$depends" | grep -Eq "(^|, )$package( |,|$)" && fail "Depends pulls in $package: $depends"
done
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
sh "$(dirname "$0")/check-homepage-deb.sh" "$scratch" || failures=$((failures + 1))

[ "$failures" -eq 0 ] || exit 1
echo "ok: $deb"
