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
# On a display of its own where there is none: Wine asks for one.
if [ -n "${DISPLAY-}" ]; then
    wineboot -i
    wineserver -w
else
    xvfb-run -a -s "-screen 0 1280x1024x24" sh -c 'wineboot -i; wineserver -w'
fi
touch "$prefix/.cavio-ready"
