#!/bin/sh
# The round trip, real: a Cavio site (the Linux build's cavio-site, SQLite) on
# loopback; the window's Submit button under Wine sends this machine's report
# to it, then cavio-report --submit does (and hears that the site has it),
# and the site must hold the whole report (its Vulkan, Direct3D 11/12 and
# OpenGL core pages equal to cavio-report --json's) with the legacy text
# byte for byte as --submission prints it.
#   round_trip.sh SITE_PROGRAM EMULATOR PREFIX REPORT_PROGRAM WINDOW_TEST
set -u
site_program=$1
emulator=$2
prefix=$3
report=$4
window_test=$5
work=$(mktemp -d /tmp/cavio-round-trip-XXXXXX)
site=""
cleanup() {
    [ -n "$site" ] && kill "$site" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
[ -x "$site_program" ] || { echo "no cavio-site at $site_program: tools/build.sh builds it"; exit 1; }
port=$((20000 + $$ % 20000))
"$site_program" --listen "127.0.0.1:$port" --database "sqlite:$work/site.db" 2>"$work/site.log" &
site=$!
url="http://127.0.0.1:$port/"
tries=0
until curl -s -o /dev/null "${url}api/devices"; do
    tries=$((tries + 1))
    [ "$tries" -gt 100 ] && { echo "the site did not start"; cat "$work/site.log"; exit 1; }
    sleep 0.1
done

# The window's Submit first, to the empty site: the whole report arrives.
CAVIO_SITE_URL="$url" sh "$emulator" "$prefix" "$window_test" --gtest_color=no || exit 1
grep -q "POST /api/reports/1/whole 200" "$work/site.log" || { echo "no whole report arrived"; exit 1; }

# Then cavio-report: the same machine's report, which the site has now.
run() { sh "$emulator" "$prefix" "$report" "$@"; }
# Its lines end in CR LF.
address=$( { run --submit "$url" 2>"$work/submit.err"; echo $? >"$work/status"; } | tr -d '\r')
status=$(cat "$work/status")
echo "cavio-report --submit $url: exit $status, $address, $(cat "$work/submit.err")"
[ "$status" -eq 0 ] && [ "$address" = "${url}reports/1" ] || { cat "$work/submit.err"; exit 1; }
grep -q "already had this report" "$work/submit.err" || { echo "the site did not say it had the report"; exit 1; }
run --json >"$work/report.json" 2>/dev/null || exit 1
run --submission >"$work/submission.txt" 2>/dev/null || exit 1
id=${address##*/}
curl -s "${url}api/reports/$id" >"$work/kept.json"
curl -s "${url}api/reports/$id/submission" >"$work/kept.txt"
cmp "$work/submission.txt" "$work/kept.txt" || { echo "the legacy text differs from --submission's"; exit 1; }
python3 - "$work/report.json" "$work/kept.json" <<'PY' || exit 1
import json, sys
sent, kept = (json.load(open(path)) for path in sys.argv[1:3])
wanted = [("vulkan", None), ("directx", "dx_d3d11_12"), ("opengl", "gl_core_limits"), ("opengl", "gl_all_extensions")]
for adapter, back in zip(sent["adapters"], kept["adapters"]):
    for group, marker in wanted:
        pages = {p["marker"]: p["rows"] for p in adapter[group] if marker in (None, p["marker"])}
        held = {p["marker"]: p["rows"] for p in back[group] if marker in (None, p["marker"])}
        if pages != held:
            print("the site's", group, marker or "pages", "differ from cavio-report --json's")
            sys.exit(1)
print("the site holds", len(kept["adapters"]), "adapter(s) whole: Vulkan, Direct3D 11/12, OpenGL core pages equal")
PY
echo "round trip done"
