#!/bin/sh
# Installs what is missing, builds the game's home page and serves it on the
# embedded default database (SQLite, under $XDG_DATA_HOME). Options are
# passed on to the server: sh tools/homepage.sh --listen 0.0.0.0:8080
set -eu
cd "$(dirname "$0")/.."
SUIRAN_SETUP=homepage
. tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSUIRAN_HOMEPAGE=ON
cmake --build build --target suiranjuku-homepage
exec build/homepage/suiranjuku-homepage "$@"
