#!/bin/sh
# The site and the viewer stay apart: no file of src/site includes a Windows
# layer (probe, submit, app) or a Windows-only part of base, and no file
# outside src/site (and tests/site) includes the site's.
#   check-site-apart.sh SOURCE_DIR
cd "$1/src" || exit 1
status=0
windows=$(grep -n -E '#include [<"](probe|submit|app)/|#include [<"]base/(platform|win_handles|text|file_version)\.h|#include <(windows|d3d[0-9]*|dxgi)\.h>' site/* 2>/dev/null)
if [ -n "$windows" ]; then
    echo "the site includes Windows code:" >&2
    echo "$windows" >&2
    status=1
fi
site=$(grep -rn -E '#include [<"]site/' --exclude-dir=site . ../tests 2>/dev/null | grep -v '^\.\./tests/site/')
if [ -n "$site" ]; then
    echo "the viewer includes site code:" >&2
    echo "$site" >&2
    status=1
fi
[ $status -eq 0 ] && echo "the site and the viewer are apart"
exit $status
