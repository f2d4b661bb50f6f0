#!/bin/sh
# A second compiler over the program's sources: clang++ for the same target,
# syntax only, with the MinGW-w64 headers and C++ library, warnings as errors.
# FOLDERS (comma-separated, under SOURCE_DIR) are the sources read; CTest
# runs a few such checks beside the other tests.
#   clang-syntax.sh CLANG GXX SOURCE_DIR GENERATED_DIR GTEST_INCLUDE FOLDERS DEFINITION...
set -u
clang=$1
gxx=$2
source_dir=$3
generated=$4
gtest=$5
folders=$(echo "$6" | tr ',' ' ')
shift 6
defines=""
for definition in "$@"; do
    defines="$defines -D$definition"
done

# The MinGW-w64 compiler's own C++ library folders, as it lists them.
library=""
for dir in $(echo | "$gxx" -x c++ -E -v - 2>&1 |
    sed -n '/#include <...> search starts here:/,/End of search list./p' | grep '^ ' | grep 'c++'); do
    library="$library -isystem $dir"
done
[ -n "$library" ] || { echo "no C++ library folders from $gxx"; exit 1; }

cd "$source_dir" || exit 1
# The site and cavio-report's Linux files (*_linux.cpp) are Linux's: their
# own builds compile them.
# shellcheck disable=SC2086
files=$(find $folders -name '*.cpp' -not -path 'src/site/*' -not -path 'tests/site/*' \
    -not -path 'tests/linux/*' -not -name 'site_*.cpp' -not -name '*_linux.cpp' | sort)
count=$(echo "$files" | wc -l)
# shellcheck disable=SC2086
echo "$files" | xargs -P 1 -I{} "$clang" --target=x86_64-w64-mingw32 -std=c++20 -fsyntax-only \
    -Wall -Wextra -Werror -nostdinc++ $library -isystem "$gtest" -Isrc -Itests -I"$generated" $defines \
    -DCAVIO_GOLDEN_DIR='""' -DCAVIO_KHRONOS_REGISTRY='""' -DCAVIO_PCI_IDS='""' -DCAVIO_VULKAN_REGISTRY='""' {}
rc=$?
echo "clang++ checked $count sources: $([ $rc -eq 0 ] && echo "no error" || echo "errors above")"
exit $rc
