#!/bin/sh
# Installs what is missing, builds, and starts the viewer under Wine: on your
# display when there is one, else on a virtual display, where a screenshot of
# the window is saved.
#   bash tools/run.sh
set -eu

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${CAVIO_BUILD_DIR:-$source_dir/build}
sh "$source_dir/tools/build.sh" imagemagick

# A Wine prefix of the build's own, made on the first run.
export WINEPREFIX="$build_dir/wineprefix"
export WINEDEBUG="${WINEDEBUG--all}"
sh "$source_dir/cmake/wine-prefix.sh" "$WINEPREFIX"

if [ -n "${DISPLAY:-}" ]; then
    exec wine "$build_dir/cavio.exe"
fi

shot="$build_dir/cavio-screenshot.png"
export LIBGL_ALWAYS_SOFTWARE=1
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    wine "$1" &
    sleep "${CAVIO_SHOT_DELAY:-12}"
    import -window root "$2"
    wineserver -k' run "$build_dir/cavio.exe" "$shot"
echo "No display: the viewer ran on a virtual display; its window is in $shot"
