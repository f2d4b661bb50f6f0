#!/bin/sh
# Installs what is missing, configures, builds and runs every test.
# Run from anywhere, as root or as a user with sudo, on Debian 12:
#   bash tools/test.sh
set -eu

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${CAVIO_BUILD_DIR:-$source_dir/build}
sh "$source_dir/tools/build.sh"

# Every test program makes its own X display and Wine prefix (see
# cmake/wine-run.sh and tests/shapes/run-shape.sh), so they run side by side:
# most of their time is spent waiting on Wine and the X servers, so one more
# than there are cores keeps both busy.
# The site's tests (a real SQLite file, a PostgreSQL server they start,
# the site on loopback, a crowd of connections, Chromium) run beside them,
# at a lower priority: the viewer's captures bound their probes' time, and
# the site's tests bound nothing that a busy machine would miss.
jobs=$(($(nproc) + 1))
# cavio-report for Linux first: native, against this machine's Vulkan and
# EGL, in seconds.
status=0
ctest --test-dir "$build_dir/linux" --output-on-failure || status=1
nice -n 10 ctest --test-dir "$build_dir/site" --output-on-failure >"$build_dir/site-tests.log" 2>&1 &
site=$!
ctest --test-dir "$build_dir" --output-on-failure --parallel "$jobs" || status=1
wait "$site" || status=1
echo "The site's tests:"
cat "$build_dir/site-tests.log"
exit $status
