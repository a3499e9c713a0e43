#!/bin/sh
# Installs what is missing, builds the game (without its home page's server,
# whose libraries a player does not need) and starts it.
set -eu
cd "$(dirname "$0")/.."
. tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSUIRAN_HOMEPAGE=OFF
cmake --build build --target suiranjuku
exec build/suiranjuku
