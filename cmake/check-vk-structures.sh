#!/bin/sh
# Regenerates the extension structures' tables from the installed Vulkan
# registry and compares them with the committed file, byte for byte.
#   check-vk-structures.sh PYTHON SOURCE_DIR OUTPUT
python=$1
source_dir=$2
output=$3
registry=/usr/share/vulkan/registry/vk.xml
committed="$source_dir/src/probe/vk_structures.cpp"
if [ ! -f "$registry" ]; then
    echo "no $registry: install Debian's libvulkan-dev package"
    exit 77
fi
installed=$(sed -n 's/.*#define <name>VK_HEADER_VERSION<\/name> \([0-9]*\).*/\1/p' "$registry" | head -1)
if ! head -1 "$committed" | grep -q "header version $installed\.$"; then
    echo "the installed registry is header version $installed; the committed tables were made from another"
    exit 77
fi
"$python" "$source_dir/tools/gen_vk_structures.py" "$registry" "$output" || exit 1
cmp "$committed" "$output"
