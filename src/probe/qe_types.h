// The records every Direct3D probe fills and every Direct3D page reads.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <cstdint>
#include <string>
#include <vector>

// One display resolution in one pixel format, with the refresh rates seen
// for it. Entries are the same mode when width, height and format are equal.
struct Tqmode {
    uint32_t width = 0;
    uint32_t height = 0;
    std::string format;                  // a name from the format-name tables
    std::vector<int32_t> refresh_rates;  // each rate once, first-seen order
    int32_t refresh_count = 0;           // always refresh_rates.size()
};

// The identity of an adapter: D3DADAPTER_IDENTIFIER9's fields in its order,
// then the two memory sizes of DXGI_ADAPTER_DESC.
struct tqinfo {
    std::string driver;
    std::string description;
    std::string device_name;
    int64_t driver_version = 0;
    uint32_t vendor_id = 0;
    uint32_t device_id = 0;
    uint32_t subsys_id = 0;
    uint32_t revision = 0;
    GUID device_identifier{};
    uint32_t whql_level = 0;
    // Whole byte counts: today's adapters have more than 4 GiB.
    uint64_t dedicated_video_memory = 0;
    uint64_t dedicated_system_memory = 0;
};

// Everything known about one Direct3D adapter. A new record is all zeros.
struct Tqdx_adapter {
    HMONITOR monitor = nullptr;
    tqinfo info;
    int32_t mode_count = 0;  // always modes.size()
    std::vector<Tqmode> modes;
    D3DCAPS9 caps{};
};
