#!/bin/sh
# Installs whatever is missing (Debian 12, as root or with sudo), then
# configures and builds the programs: the viewer and cavio-report for Windows
# with MinGW-w64 in build/, the site for Linux with the host compiler in
# build/site/, and cavio-report for Linux with the host compiler in
# build/linux/.
# Extra Debian packages may be named as arguments.
#   bash tools/build.sh [PACKAGE...]
set -eu

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${CAVIO_BUILD_DIR:-$source_dir/build}

packages="cmake make g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
binutils-mingw-w64-x86-64 googletest wine wine64 xvfb xauth libgl1-mesa-dri libglx-mesa0 python3 pci.ids
khronos-api clang xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils mesa-vulkan-drivers libvulkan1 libvulkan-dev nlohmann-json3-dev
g++ pkg-config libboost1.81-dev libcpp-httplib-dev libsqlite3-dev libpqxx-dev libssl-dev zlib1g-dev postgresql chromium curl
libegl-dev libgl-dev libopengl-dev libx11-dev libegl-mesa0 libglu1-mesa vulkan-tools mesa-utils groff-base $*"

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
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
fi

cmake -S "$source_dir" -B "$build_dir" \
    -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCAVIO_WARNINGS_AS_ERRORS=ON
cmake --build "$build_dir" --parallel "$(nproc)"
cmake -S "$source_dir/src/site" -B "$build_dir/site" -DCMAKE_BUILD_TYPE=Release -DCAVIO_WARNINGS_AS_ERRORS=ON
cmake --build "$build_dir/site" --parallel "$(nproc)"
cmake -S "$source_dir/src/cli" -B "$build_dir/linux" -DCMAKE_BUILD_TYPE=Release -DCAVIO_WARNINGS_AS_ERRORS=ON
cmake --build "$build_dir/linux" --parallel "$(nproc)"
