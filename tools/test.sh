#!/bin/sh
# Installs what is missing, configures, builds and runs every test.
# Run from anywhere, as root or as a user with sudo, on Debian 12:
#   bash tools/test.sh
set -eu

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${CAVIO_BUILD_DIR:-$source_dir/build}

packages="cmake make g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
binutils-mingw-w64-x86-64 googletest wine wine64 xvfb xauth libgl1-mesa-dri libglx-mesa0 python3 pci.ids"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f '${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo=sudo
    fi
    $sudo apt-get update
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
fi

cmake -S "$source_dir" -B "$build_dir" \
    -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCAVIO_WARNINGS_AS_ERRORS=ON
cmake --build "$build_dir" --parallel "$(nproc)"

# One private X display for the whole run, with Mesa's software OpenGL;
# the prefix's server is ended with it.
export CAVIO_TEST_DISPLAY=xvfb
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" \
    sh -c 'ctest --test-dir "$1" --output-on-failure; rc=$?; WINEPREFIX="$1/wineprefix" wineserver -k 2>/dev/null; exit $rc' \
    test "$build_dir" || status=$?
exit $status
