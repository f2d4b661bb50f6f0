// The record the benchmarks measure with: one adapter with 1,000 display
// modes in two formats, four rates each, and some capability bits set.
#pragma once

#include "probe/records.h"

inline dx_adapter large_record() {
    dx_adapter adapter;
    adapter.info.description = "Benchmark board";
    adapter.info.vendor_id = 0x10DE;
    adapter.info.device_id = 0x2684;
    adapter.caps.DevCaps = 0xFFFFFFFF;
    adapter.caps.TextureCaps = 0x55555555;
    adapter.caps.PixelShaderVersion = 1024;
    for (int i = 0; i < 1000; ++i) {
        display_mode mode;
        mode.width = 640 + static_cast<uint32_t>((i * 37) % 3200);
        mode.height = 480 + static_cast<uint32_t>((i * 53) % 1800);
        mode.format = i % 2 == 0 ? "X8R8G8B8" : "R8G8B8A8_UNORM";
        mode.refresh_rates = {60, 75, 120, 144};
        mode.refresh_count = 4;
        adapter.modes.push_back(mode);
    }
    adapter.mode_count = static_cast<int32_t>(adapter.modes.size());
    return adapter;
}
