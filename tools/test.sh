#!/bin/sh
# Installs what is missing, configures, builds and runs every test.
# Run from anywhere, as root or as a user with sudo, on Debian 12:
#   bash tools/test.sh
set -eu

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${CAVIO_BUILD_DIR:-$source_dir/build}
sh "$source_dir/tools/build.sh"

# One private X display for the whole run, with Mesa's software OpenGL;
# the prefix's server is ended with it.
export CAVIO_TEST_DISPLAY=xvfb
xvfb-run -a -s "-screen 0 1280x1024x24" \
    sh -c 'ctest --test-dir "$1" --output-on-failure; rc=$?; WINEPREFIX="$1/wineprefix" wineserver -k 2>/dev/null; exit $rc' \
    test "$build_dir"
