#!/bin/sh
# Builds the site (installing what is missing) and serves it on one machine:
#   bash tools/site.sh [--listen 127.0.0.1:8080] [--database sqlite:build/cavio.db]
# With PostgreSQL: bash tools/site.sh --database postgresql://USER@HOST:PORT/NAME
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${CAVIO_BUILD_DIR:-$source_dir/build}
sh "$source_dir/tools/build.sh"
listen=127.0.0.1:8080
database="sqlite:$build_dir/cavio.db"
while [ $# -gt 0 ]; do
    case "$1" in
    --listen) listen=$2; shift 2 ;;
    --database) database=$2; shift 2 ;;
    *) echo "usage: tools/site.sh [--listen ADDRESS:PORT] [--database DATABASE]" >&2; exit 2 ;;
    esac
done
exec "$build_dir/site/cavio-site" --listen "$listen" --database "$database"
