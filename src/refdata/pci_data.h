// The generated PCI name data (pci_data.cpp, made by tools/gen_pci_names.py).
#pragma once

#include <cstddef>
#include <cstdint>

struct pci_vendor {
    uint16_t id;
    const char* name;
};

// Every vendor of the PCI ID list, ascending by identifier.
extern const pci_vendor pci_vendors[];
extern const size_t pci_vendor_count;

// The device database text: TAB-terminated records; "@" vendor records of
// hex="Name" pairs separated by "," open a block, and hex=Name device
// records follow.
extern const char pci_device_database[];
extern const size_t pci_device_database_size;
