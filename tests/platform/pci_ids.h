// The public PCI ID list (pci.ids), read as the witness of the report's
// vendor and device names.
#pragma once

#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <utility>

#include "platform/text_file.h"

struct pci_id_list {
    std::map<uint32_t, std::string> vendors;
    std::map<std::pair<uint32_t, uint32_t>, std::string> devices;
};

// Vendor lines "vvvv  Name", device lines "\tdddd  Name"; the device class
// list at the end ("C ...") is not read.
inline pci_id_list read_pci_ids(const std::string& path) {
    pci_id_list list;
    std::istringstream lines(read_text_file(path));
    uint32_t vendor = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("C ")) {
            break;
        }
        if (line.empty() || line[0] == '#' || line.starts_with("\t\t") || line.size() < 7) {
            continue;
        }
        if (line[0] != '\t') {
            vendor = static_cast<uint32_t>(std::stoul(line.substr(0, 4), nullptr, 16));
            list.vendors[vendor] = line.substr(6);
        } else {
            const auto device = static_cast<uint32_t>(std::stoul(line.substr(1, 4), nullptr, 16));
            list.devices[{vendor, device}] = line.substr(7);
        }
    }
    return list;
}
