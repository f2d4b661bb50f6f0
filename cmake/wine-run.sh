#!/bin/sh
# CTest's emulator: runs one Windows program under Wine, never in the user's
# ~/.wine or on the user's display.
#   wine-run.sh PREFIX PROGRAM [ARGS...]
# Each program gets an X display and a Wine prefix of its own (a copy of the
# build's prepared PREFIX: directories anew, files linked, the registry
# copied), so that test programs can run side by side: a wineserver keeps
# the monitor list of the display it first saw, and windows on one display
# would take each other's focus. Where CAVIO_TEST_DISPLAY is set, the caller
# made both, and the program runs in PREFIX on DISPLAY as it is.
base=$(cd "$1" && pwd) || exit 1
shift
export WINEDEBUG="${WINEDEBUG--all}"
# Mesa's software rasteriser: the same answers on every machine.
export LIBGL_ALWAYS_SOFTWARE=1
export GALLIUM_DRIVER="${GALLIUM_DRIVER-llvmpipe}"

if [ -n "${CAVIO_TEST_DISPLAY-}" ]; then
    export WINEPREFIX="$base"
    exec wine "$@"
fi

work=$(mktemp -d "$base.run-XXXXXX") || exit 1
server=""
cleanup() {
    WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null
    [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' INT TERM

cp -al "$base" "$work/prefix" || exit 1
for hive in "$base"/*.reg; do
    rm -f "$work/prefix/${hive##*/}"
    cp "$hive" "$work/prefix/" || exit 1
done

# The X server picks a free display itself and writes its number when it is
# ready: no race with the servers of the programs beside this one.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/x.log" 2>&1 &
server=$!
tries=0
until [ -s "$work/display" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 200 ] || ! kill -0 "$server" 2>/dev/null; then
        echo "wine-run.sh: no X server; see $work/x.log" >&2
        cat "$work/x.log" >&2
        exit 1
    fi
    sleep 0.05
done
export DISPLAY=":$(head -n 1 "$work/display")"
export CAVIO_TEST_DISPLAY=private
export WINEPREFIX="$work/prefix"
wine "$@"
exit $?
