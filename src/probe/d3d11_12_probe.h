// The Direct3D 11 and 12 probe of one DXGI adapter: the highest feature
// levels, the highest shader model, and the answers of CheckFeatureSupport.
#pragma once

#include <dxgi.h>
#include <wrl/client.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/reason.h"
#include "probe/d3d_features.h"

// A created device as the probe uses it: a reference that keeps it alive,
// its CheckFeatureSupport, and for Direct3D 11 its CheckFormatSupport and
// CheckMultisampleQualityLevels (Direct3D 12 answers both through
// CheckFeatureSupport).
struct feature_device {
    Microsoft::WRL::ComPtr<IUnknown> device;
    std::function<HRESULT(uint32_t feature, void* data, uint32_t size)> check;
    std::function<HRESULT(uint32_t format, uint32_t* support)> format_support;
    std::function<HRESULT(uint32_t format, uint32_t samples, uint32_t* levels)> quality_levels;
};

// The two creators the probe calls; empty when the library or its entry
// point is missing.
struct d3d11_12_entry_points {
    // D3D11CreateDevice on the adapter, levels in the order given; on S_OK
    // the level created and the device.
    std::function<HRESULT(IDXGIAdapter* adapter, const uint32_t* levels, uint32_t count, uint32_t* level,
                          feature_device* device)>
        create11;
    // D3D12CreateDevice on the adapter at the minimum level given.
    std::function<HRESULT(IDXGIAdapter* adapter, uint32_t minimum_level, feature_device* device)> create12;
};

// Loads "d3d11.dll" and "d3d12.dll" and looks their entry points up by name;
// the libraries stay loaded until the process ends.
d3d11_12_entry_points load_d3d11_12_entry_points();

// What the probe read of one adapter, and why each part it could not read
// is missing.
struct d3d11_12_probed {
    d3d11_12_record record;
    std::vector<reason> reasons;
};

// Creates one device of each runtime on the adapter, reads it (its feature
// structures and what it can do with each DXGI format), and releases it at
// once. Never raises: what cannot be read stays empty, and a runtime
// whose library is missing or whose device cannot be made is a reason
// ("Direct3D 12: D3D12CreateDevice failed (0x887A0004)"). Without
// with_formats the format tables stay empty (for the benchmark).
d3d11_12_probed probe_d3d11_12(IDXGIAdapter* adapter, const d3d11_12_entry_points& entry,
                               bool with_formats = true);
