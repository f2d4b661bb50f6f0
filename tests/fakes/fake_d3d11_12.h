// Direct3D 11 and 12 runtimes for the probe: creators that hand out counted
// devices, and feature queries answered from a rule and a list of failures.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "probe/d3d11_12_probe.h"

namespace fakes {

class counted_unknown final : public IUnknown {
public:
    ULONG references = 0;
    HRESULT WINAPI QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG WINAPI AddRef() override { return ++references; }
    ULONG WINAPI Release() override { return --references; }
};

struct d3d11_12_runtime {
    counted_unknown device11;
    counted_unknown device12;
    bool rejects_11_1 = false;  // an older runtime: a list starting at 11_1 is E_INVALIDARG
    bool device11_fails = false;
    bool device12_fails = false;
    bool knows_12_2 = true;
    uint32_t level11 = 0xB100;  // the highest level a device is created at
    uint32_t level12 = 0xC100;
    uint32_t newest_known_model = 0x67;  // models above it are E_INVALIDARG
    uint32_t shader_model = 0x62;
    std::set<std::pair<d3d_runtime, uint32_t>> failing;  // feature queries that fail
    bool formats_fail = false;                           // every format query fails
    std::vector<std::string> calls;

    // The answer in each word of a structure: a value no other word of any
    // structure shares; D3D12_OPTIONS12's first word, a tri-state, unknown.
    static uint32_t word_value(d3d_runtime runtime, uint32_t feature, uint32_t word) {
        if (runtime == d3d_runtime::d3d12 && feature == 41 && word == 0) {
            return 0xFFFFFFFF;
        }
        return (runtime == d3d_runtime::d3d12 ? 5000 : 1000) + feature * 16 + word;
    }

    // What each format supports: every fifth format nothing, the others one
    // or two uses, a use of the second word, and up to x8 samples.
    static bool format_known(uint32_t format) { return format % 5 != 0; }
    static uint32_t support1(uint32_t format) { return 1u << (format % 31) | 1u << (format * 7 % 31); }
    static uint32_t support2(uint32_t format) { return 1u << (format % 17); }
    static uint32_t quality_levels(uint32_t format, uint32_t samples) {
        return format % 3 == 0 || samples > (format % 4 == 0 ? 8u : 4u) ? 0 : samples / 2;
    }

    HRESULT check(d3d_runtime runtime, uint32_t feature, void* data, uint32_t size) {
        calls.push_back(std::string(runtime == d3d_runtime::d3d11 ? "check11 " : "check12 ") +
                        std::to_string(feature));
        if (failing.count({runtime, feature}) != 0) {
            return E_INVALIDARG;
        }
        auto* words = static_cast<uint32_t*>(data);
        if (runtime == d3d_runtime::d3d12 && feature == 2) {  // FEATURE_LEVELS
            struct levels {
                UINT count;
                const uint32_t* requested;
                uint32_t highest;
            }* asked = static_cast<levels*>(data);
            uint32_t highest = 0;
            for (UINT i = 0; i < asked->count; ++i) {
                if (asked->requested[i] == 0xC200 && !knows_12_2) {
                    return E_INVALIDARG;
                }
                if (asked->requested[i] <= level12 && asked->requested[i] > highest) {
                    highest = asked->requested[i];
                }
            }
            asked->highest = highest;
            return S_OK;
        }
        if (runtime == d3d_runtime::d3d12 && feature == 7) {  // SHADER_MODEL
            if (words[0] > newest_known_model) {
                return E_INVALIDARG;
            }
            words[0] = std::min(words[0], shader_model);
            return S_OK;
        }
        if (feature == 3) {  // D3D11's FORMAT_SUPPORT2, D3D12's FORMAT_SUPPORT
            if (formats_fail || !format_known(words[0])) {
                return runtime == d3d_runtime::d3d11 ? E_FAIL : E_INVALIDARG;
            }
            words[1] = runtime == d3d_runtime::d3d11 ? support2(words[0]) : support1(words[0]);
            if (runtime == d3d_runtime::d3d12) {
                words[2] = support2(words[0]);
            }
            return S_OK;
        }
        if (runtime == d3d_runtime::d3d12 && feature == 4) {  // MULTISAMPLE_QUALITY_LEVELS
            words[3] = quality_levels(words[0], words[1]);
            return S_OK;
        }
        if (runtime == d3d_runtime::d3d12 && feature == 12) {  // ROOT_SIGNATURE
            words[0] = std::min<uint32_t>(words[0], 2);
            return S_OK;
        }
        for (uint32_t i = 0; i < size / 4; ++i) {
            words[i] = word_value(runtime, feature, i);
        }
        return S_OK;
    }

    d3d11_12_entry_points entry_points() {
        d3d11_12_entry_points entry;
        entry.create11 = [this](IDXGIAdapter*, const uint32_t* levels, uint32_t count, uint32_t* level,
                                feature_device* device) {
            calls.push_back("create11 from " + std::to_string(levels[0]));
            if (device11_fails) {
                return E_FAIL;
            }
            if (rejects_11_1 && levels[0] == 0xB100) {
                return E_INVALIDARG;
            }
            for (uint32_t i = 0; i < count; ++i) {
                if (levels[i] <= level11) {
                    *level = levels[i];
                    device->device = &device11;
                    device->check = [this](uint32_t feature, void* data, uint32_t size) {
                        return check(d3d_runtime::d3d11, feature, data, size);
                    };
                    device->format_support = [this](uint32_t format, uint32_t* support) {
                        *support = formats_fail || !format_known(format) ? 0 : support1(format);
                        return *support != 0 ? S_OK : E_FAIL;
                    };
                    device->quality_levels = [](uint32_t format, uint32_t samples, uint32_t* levels) {
                        *levels = quality_levels(format, samples);
                        return S_OK;
                    };
                    return S_OK;
                }
            }
            return E_FAIL;
        };
        entry.create12 = [this](IDXGIAdapter*, uint32_t minimum, feature_device* device) {
            calls.push_back("create12 at " + std::to_string(minimum));
            if (device12_fails) {
                return E_FAIL;
            }
            device->device = &device12;
            device->check = [this](uint32_t feature, void* data, uint32_t size) {
                return check(d3d_runtime::d3d12, feature, data, size);
            };
            return S_OK;
        };
        return entry;
    }
};

}  // namespace fakes
