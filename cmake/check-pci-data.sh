#!/bin/sh
# Regenerates the PCI name data from the installed PCI ID list and compares
# it with the committed file, byte for byte.
#   check-pci-data.sh PYTHON SOURCE_DIR OUTPUT
python=$1
source_dir=$2
output=$3
list=/usr/share/misc/pci.ids
committed="$source_dir/src/refdata/pci_data.cpp"
if [ ! -f "$list" ]; then
    echo "no $list: install Debian's pci.ids package"
    exit 77
fi
installed=$(sed -n 's/^#[[:space:]]*Version:[[:space:]]*//p' "$list" | head -1)
if ! head -1 "$committed" | grep -q "version $installed "; then
    echo "the installed list is version $installed; the committed data was made from another"
    exit 77
fi
"$python" "$source_dir/tools/gen_pci_names.py" "$list" "$output" || exit 1
cmp "$committed" "$output"
