#!/bin/sh
# Installs what is missing, then builds and runs every test headless: once as
# a plain build with warnings as errors, once under AddressSanitizer and
# UndefinedBehaviorSanitizer (any report fails the run).
set -eu
cd "$(dirname "$0")/.."
SUIRAN_SETUP=tests
. tools/setup.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSUIRAN_WERROR=ON -DSUIRAN_HOMEPAGE=ON
cmake --build build
ctest --test-dir build --output-on-failure -j "$jobs"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions="$PWD/tools/lsan.supp"
cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSUIRAN_WERROR=ON -DSUIRAN_SANITIZE=ON -DSUIRAN_HOMEPAGE=ON
cmake --build build-san
ctest --test-dir build-san --output-on-failure -j "$jobs"
