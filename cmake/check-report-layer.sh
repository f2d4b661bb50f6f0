#!/bin/sh
# The report document and its readers know no window: no file of the report
# layer includes a Windows header itself, and the headers of the document,
# the page table, the row writers, Find, the readable text and JSON compile
# without one coming in from anywhere.
#   check-report-layer.sh CXX SOURCE_DIR JSON_INCLUDE_DIR
cxx=$1
source_dir=$2
json=$3
cd "$source_dir/src" || exit 1
status=0
direct=$(grep -l -E '#include <(windows|d3d[0-9]*|dxgi|wrl/client|GL/gl)\.h>' report/* 2>/dev/null)
if [ -n "$direct" ]; then
    echo "Windows headers included in: $direct" >&2
    status=1
fi
for header in report/document.h report/page_table.h report/page_writer.h report/find.h report/page_text.h \
    report/report_json.h report/value_format.h; do
    included=$(echo "#include \"$header\"" | "$cxx" -std=c++20 -x c++ -I . -isystem "$json" -E -H - 2>&1 >/dev/null |
        grep -i -E '/(windows|windef|winbase)\.h$')
    if [ -n "$included" ]; then
        echo "$header brings in Windows: $included" >&2
        status=1
    else
        echo "free of Windows: $header"
    fi
done
exit $status
