#!/bin/sh
# The home page is a server: it must not pull in Qt Gui or Qt Widgets, not
# even through one of the libraries it links. Usage: nogui.sh <program>
set -u
libraries=$(ldd "$1") || { echo "FAIL: ldd cannot read $1"; exit 1; }
echo "$libraries" | grep -o 'libQt6[A-Za-z]*' | sort -u
if echo "$libraries" | grep -Eq 'libQt6(Gui|Widgets|OpenGL)'; then
    echo "FAIL: $1 links Qt Gui or Widgets"
    exit 1
fi
echo "no Qt Gui, no Qt Widgets"
