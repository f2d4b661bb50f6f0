#!/bin/sh
# Runs the real-platform test programs on one platform shape: its own X
# server and its own Wine prefix (a wineserver keeps the monitor list of the
# display it first saw), with the shape's Wine settings.
#   run-shape.sh SHAPE BASE_PREFIX WORK_DIR PLATFORM_TEST SHAPE_TEST
# Shapes: three_heads, amd, intel, unknown_vendor, no_direct3d, many_modes.
set -u
shape=$1
base_prefix=$2
work=$3
platform_test=$4
shape_test=$5
here=$(cd "$(dirname "$0")" && pwd)

prefix="$work/wineprefix-$shape"
log="$work/x-$shape.log"
server_pid=""

cleanup() {
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
    rm -rf "$prefix" "$work/display-$shape"
}
trap cleanup EXIT INT TERM

# A copy of the prepared prefix: directories anew, files linked, the
# registry (the only files Wine rewrites) copied.
rm -rf "$prefix"
cp -al "$base_prefix" "$prefix" || exit 1
for hive in "$base_prefix"/*.reg; do
    rm -f "$prefix/$(basename "$hive")"
    cp "$hive" "$prefix/"
done

# The X server picks a free display itself and writes its number when it is
# ready: shapes run side by side with each other and the other tests.
case "$shape" in
three_heads)
    xorg=/usr/lib/xorg/Xorg
    [ -x "$xorg" ] || xorg=Xorg
    "$xorg" -displayfd 3 -config "$here/xorg-dummy.conf" -configdir /nonexistent -logfile "$log" \
        -noreset -nolisten tcp 3>"$work/display-$shape" >/dev/null 2>&1 &
    ;;
no_direct3d)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -extension GLX -nolisten tcp 3>"$work/display-$shape" >"$log" 2>&1 &
    ;;
*)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display-$shape" >"$log" 2>&1 &
    ;;
esac
server_pid=$!
tries=0
until [ -s "$work/display-$shape" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 200 ] || ! kill -0 "$server_pid" 2>/dev/null; then
        echo "the X server of shape $shape did not start; see $log"
        exit 1
    fi
    sleep 0.05
done
display=$(head -n 1 "$work/display-$shape")
export DISPLAY=":$display"
tries=0
until xrandr -q >/dev/null 2>&1; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ]; then
        echo "the X server of shape $shape did not start; see $log"
        exit 1
    fi
    sleep 0.1
done

export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG--all}"
export LIBGL_ALWAYS_SOFTWARE=1
export GALLIUM_DRIVER="${GALLIUM_DRIVER-llvmpipe}"
export CAVIO_SHAPE="$shape"
export CAVIO_TEST_DISPLAY="$shape"

case "$shape" in
three_heads)
    # Three heads: one left of the primary, and a mode only the second offers.
    xrandr --output DUMMY0 --mode 1280x960 &&
        xrandr --addmode DUMMY1 1024x768 &&
        xrandr --output DUMMY1 --mode 1024x768 --right-of DUMMY0 &&
        xrandr --newmode 1232x568_60 55.51 1232 1280 1400 1568 568 571 581 590 -hsync +vsync &&
        xrandr --addmode DUMMY1 1232x568_60 &&
        xrandr --addmode DUMMY2 800x600 &&
        xrandr --output DUMMY2 --mode 800x600 --left-of DUMMY0 || exit 1
    # A full query: Wine reads only the current configuration.
    xrandr -q >/dev/null
    ;;
amd)
    export WINE_D3D_CONFIG="VideoPciVendorID=0x1002,VideoPciDeviceID=0x687f,VideoMemorySize=8192"
    export CAVIO_SHAPE_PCI="1002:687f"
    ;;
intel)
    export WINE_D3D_CONFIG="VideoPciVendorID=0x8086,VideoPciDeviceID=0x5912"
    export CAVIO_SHAPE_PCI="8086:5912"
    ;;
unknown_vendor)
    export WINE_D3D_CONFIG="renderer=vulkan"
    ;;
many_modes)
    # Wine's virtual desktop, for every program of this prefix.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 &&
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1 || exit 1
    wineserver -w
    ;;
no_direct3d) ;;
*)
    echo "unknown shape $shape"
    exit 1
    ;;
esac

wine "$platform_test" --gtest_color=no
platform_rc=$?
case "$shape" in
three_heads) suite=ThreeHeads ;;
amd | intel) suite=OtherGpu ;;
unknown_vendor) suite=UnknownVendor ;;
no_direct3d) suite=NoDirect3D ;;
many_modes) suite=ManyModes ;;
esac
wine "$shape_test" --gtest_color=no --gtest_filter="$suite.*"
shape_rc=$?
[ "$platform_rc" -eq 0 ] && [ "$shape_rc" -eq 0 ]
