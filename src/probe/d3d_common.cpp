// What both Direct3D probes share: identity, modes, GUIDs and failed calls as reasons.
#include "probe/d3d_common.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "refdata/format_names.h"

dx_adapter direct3d_probe::adapter(int i) const {
    return adapters.at(static_cast<size_t>(i));
}

std::string array_text(const char* chars, size_t size) {
    const auto* end = static_cast<const char*>(std::memchr(chars, 0, size));
    return std::string(chars, end != nullptr ? end : chars + size);
}

void add_mode(std::vector<display_mode>& modes, uint32_t width, uint32_t height, std::string_view format,
              int32_t rate) {
    auto entry = std::find_if(modes.begin(), modes.end(), [&](const display_mode& mode) {
        return mode.width == width && mode.height == height && mode.format == format;
    });
    if (entry == modes.end()) {
        display_mode mode;
        mode.width = width;
        mode.height = height;
        mode.format = std::string(format);
        modes.push_back(std::move(mode));
        entry = std::prev(modes.end());
    }
    auto& rates = entry->refresh_rates;
    if (std::find(rates.begin(), rates.end(), rate) == rates.end()) {
        rates.push_back(rate);
        entry->refresh_count = static_cast<int32_t>(rates.size());
    }
}

void add_d3d9_modes(IDirect3D9& d3d, UINT ordinal, std::vector<display_mode>& modes) {
    // 118 is the size of the Direct3D 9 name table; values that are no
    // display format simply report no modes.
    for (UINT format = 20; format < d3d9_format_slots; ++format) {
        const UINT mode_total = d3d.GetAdapterModeCount(ordinal, static_cast<D3DFORMAT>(format));
        if (static_cast<int>(mode_total) < 1) {
            continue;
        }
        for (UINT index = 0; index < mode_total; ++index) {
            D3DDISPLAYMODE mode{};
            d3d.EnumAdapterModes(ordinal, static_cast<D3DFORMAT>(format), index, &mode);
            add_mode(modes, mode.Width, mode.Height, d3d9_format_name(static_cast<uint32_t>(mode.Format)),
                     static_cast<int32_t>(mode.RefreshRate));
        }
    }
}

result<D3DADAPTER_IDENTIFIER9> read_identifier(IDirect3D9& d3d, UINT ordinal) {
    D3DADAPTER_IDENTIFIER9 identifier{};
    if (const HRESULT status = d3d.GetAdapterIdentifier(ordinal, 0, &identifier); status != S_OK) {
        return call_failed("Direct3D 9", -1, "GetAdapterIdentifier", status,
                           " on adapter " + std::to_string(ordinal));
    }
    return identifier;
}

reason call_failed(const char* part, int adapter, const char* call, HRESULT status,
                   const std::string& where) {
    return {part, adapter, call, std::string(call) + " failed" + where, status_code_text(status)};
}

std::string guid_text(const GUID& guid) {
    char text[64];
    std::snprintf(text, sizeof text, "%04lX-%04X-%04X-%02X%02X%02X%02X%02X%02X%02X%02X",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6],
                  guid.Data4[7]);
    return text;
}

std::mutex& display_device_lock() {
    static std::mutex lock;
    return lock;
}
