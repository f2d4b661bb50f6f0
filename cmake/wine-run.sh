#!/bin/sh
# CTest's emulator: runs one Windows program under Wine in the build's own
# prefix, never the user's ~/.wine or display.
#   wine-run.sh PREFIX PROGRAM [ARGS...]
prefix=$1
shift
export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG--all}"
# Mesa's software rasteriser: the same answers on every machine.
export LIBGL_ALWAYS_SOFTWARE=1
export GALLIUM_DRIVER="${GALLIUM_DRIVER-llvmpipe}"

if [ -z "$CAVIO_TEST_DISPLAY" ]; then
    # Not started by tools/test.sh: give this program an X display of its own
    # and wait for the prefix's server to go, so the next program can start
    # its own display.
    export CAVIO_TEST_DISPLAY=private
    exec xvfb-run -a -s "-screen 0 1280x1024x24" \
        sh -c 'wine "$@"; rc=$?; wineserver -w; exit $rc' wine-run "$@"
fi
exec wine "$@"
