// An adapter's facts as the store keeps them beside its pages: its identity,
// the device it is, its driver and API versions, read from its pages.
#pragma once

#include <cstdint>
#include <string>

#include "report/document.h"

struct adapter_facts {
    std::string description;
    uint32_t vendor_id = 0;
    uint32_t device_id = 0;
    // The device the adapter is: "10de:06cd", or "name:" and the
    // description for a report without the IDs.
    std::string device_key;
    std::string device_name;  // the PCI list's, else the GPU row's, else the description
    std::string
        vendor_name;  // the PCI list's, else the Vendor row's: "NVIDIA Corporation"; empty where unknown
    std::string driver_version;
    std::string driver_order;  // the driver version, each number zero-padded: sorts as versions do
    std::string d3d_level;     // the higher of the Direct3D 11 and 12 feature levels: "12_1"
    std::string gl_version;    // "4.6.0"
    std::string vk_version;    // "1.3.240"
    uint64_t page_mask = 0;    // bit i: the adapter has the page of id i
};

// Reads the facts from the adapter's pages (the DirectX Summary and Device
// pages, the Direct3D 11/12 page, the OpenGL and Vulkan Summaries).
adapter_facts adapter_facts_of(const adapter_report& adapter);
