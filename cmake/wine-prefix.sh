#!/bin/sh
# Creates the build's private Wine prefix once; later runs find it ready.
#   wine-prefix.sh PREFIX
set -e
prefix=$1
if [ -f "$prefix/.cavio-ready" ]; then
    exit 0
fi
rm -rf "$prefix"
mkdir -p "$prefix"
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
# No Mono or Gecko: the tests need neither, and they cannot be downloaded.
export WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i
wineserver -w
touch "$prefix/.cavio-ready"
