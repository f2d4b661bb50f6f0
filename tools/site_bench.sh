#!/bin/sh
# The site's benchmark on both engines: a new SQLite file, and a private
# PostgreSQL server in a temporary folder (as the postgres user), stopped after.
#   bash tools/site_bench.sh [COUNT] [SQLITE_COUNT]
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${CAVIO_BUILD_DIR:-$source_dir/build}
count=${1:-10000}
sqlite_count=${2:-$count}
bench="$build_dir/site/site_bench"
report="$source_dir/tests/golden/report.json"
work=$(mktemp -d /tmp/cavio-bench-XXXXXX)
chown postgres "$work"
pg=/usr/lib/postgresql/15/bin
port=15499
cleanup() {
    runuser -u postgres -- "$pg/pg_ctl" -D "$work/data" -m fast stop >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
runuser -u postgres -- "$pg/initdb" -D "$work/data" -A trust -U postgres >/dev/null
runuser -u postgres -- "$pg/pg_ctl" -D "$work/data" -w -o "-p $port -k $work -c listen_addresses=127.0.0.1" \
    -l "$work/log" start >/dev/null
runuser -u postgres -- psql -q -h 127.0.0.1 -p "$port" -U postgres -c "CREATE DATABASE bench" postgres
"$bench" "$report" "$sqlite_count" "sqlite:$work/bench.db"
# The pages people read, served from that store: median and slowest of 21.
"$build_dir/site/cavio-site" --listen 127.0.0.1:15498 --database "sqlite:$work/bench.db" 2>/dev/null &
site=$!
sleep 1
device=$(curl -s 'http://127.0.0.1:15498/api/devices?vendor=10de' | sed -n 's/.*"device": "\([^"]*\)".*/\1/p' | head -n 1)
for page in "/" "/?vendor=10de&page=3" "/devices/$device" "/reports/$((sqlite_count / 2))?page=vk_formats" \
    "/coverage?page=gl_extensions&name=GL_ARB_multitexture" "/coverage?page=vk_features&name=geometryShader" \
    "/listing?page=vk_formats" "/listing?page=gl_all_extensions" "/statistics"; do
    times=$(for run in $(seq 21); do
        curl -s -o /dev/null -w '%{time_total}\n' "http://127.0.0.1:15498$page"
    done | sort -n)
    size=$(curl -s -o /dev/null -w '%{size_download}' -H 'Accept-Encoding: gzip' "http://127.0.0.1:15498$page")
    whole=$(curl -s -o /dev/null -w '%{size_download}' "http://127.0.0.1:15498$page")
    echo "  page $page: median $(echo "$times" | sed -n 11p) s, slowest $(echo "$times" | tail -n 1) s, $whole bytes, $size gzipped"
done
kill "$site"
# Eight posters at once, as the site's pool of eight takes posts.
"$bench" "$report" "$count" --posters 8 "postgresql://postgres@127.0.0.1:$port/bench"
