#!/bin/sh
# The site's load benchmark: a store of COUNT reports (as tools/site_bench.sh
# makes them), served by cavio-site on loopback, then 20 visitors alone and
# beside 1,000 idle or slow connections from 100 addresses (bench/site_load.cpp).
#   bash tools/site_load.sh [COUNT] [SECONDS]
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${CAVIO_BUILD_DIR:-$source_dir/build}
count=${1:-1000}
seconds=${2:-10}
work=$(mktemp -d /tmp/cavio-load-XXXXXX)
port=15497
site=""
cleanup() {
    [ -n "$site" ] && kill "$site" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
"$build_dir/site/site_bench" "$source_dir/tests/golden/report.json" "$count" "sqlite:$work/load.db" >/dev/null
# Every visitor here comes from loopback: no address is slowed.
"$build_dir/site/cavio-site" --listen "127.0.0.1:$port" --database "sqlite:$work/load.db" \
    --requests-per-second 0 2>/dev/null &
site=$!
sleep 1
"$build_dir/site/site_load" "$port" "$seconds" "/reports/$((count / 2))?page=vk_features"
