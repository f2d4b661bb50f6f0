// The Direct3D 9 probe against the real platform: every answer is compared
// with what this test asks Direct3D 9 itself.
#include "probe/d3d9_probe.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "base/platform.h"
#include "base/text.h"
#include "refdata/format_names.h"
#include "platform/platform_shape.h"

namespace {

using Microsoft::WRL::ComPtr;

BOOL CALLBACK collect_monitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    reinterpret_cast<std::vector<HMONITOR>*>(list)->push_back(monitor);
    return TRUE;
}

std::vector<HMONITOR> desktop_monitors() {
    std::vector<HMONITOR> monitors;
    EnumDisplayMonitors(nullptr, nullptr, collect_monitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

// The ordinals the probe is meant to list: master heads, first of each
// device identifier.
std::vector<UINT> listed_ordinals(IDirect3D9& d3d) {
    std::vector<UINT> ordinals;
    std::vector<GUID> seen;
    for (UINT ordinal = 0; ordinal < d3d.GetAdapterCount(); ++ordinal) {
        D3DADAPTER_IDENTIFIER9 id{};
        d3d.GetAdapterIdentifier(ordinal, 0, &id);
        D3DCAPS9 caps{};
        d3d.GetDeviceCaps(ordinal, D3DDEVTYPE_HAL, &caps);
        const bool duplicate = std::any_of(seen.begin(), seen.end(), [&](const GUID& guid) {
            return IsEqualGUID(guid, id.DeviceIdentifier);
        });
        if (caps.AdapterOrdinalInGroup == 0 && !duplicate) {
            ordinals.push_back(ordinal);
            seen.push_back(id.DeviceIdentifier);
        }
    }
    return ordinals;
}

void expect_modes_match(IDirect3D9& d3d, UINT ordinal, const dx_adapter& record) {
    std::set<std::tuple<UINT, UINT, std::string>> platform_modes;
    for (UINT format = 20; format < 118; ++format) {
        const UINT total = d3d.GetAdapterModeCount(ordinal, static_cast<D3DFORMAT>(format));
        for (UINT index = 0; index < total; ++index) {
            D3DDISPLAYMODE mode{};
            ASSERT_EQ(D3D_OK, d3d.EnumAdapterModes(ordinal, static_cast<D3DFORMAT>(format), index, &mode));
            const std::string name(d3d9_format_name(mode.Format));
            platform_modes.emplace(mode.Width, mode.Height, name);
            const auto matches =
                std::count_if(record.modes.begin(), record.modes.end(), [&](const display_mode& m) {
                    return m.width == mode.Width && m.height == mode.Height && m.format == name;
                });
            ASSERT_EQ(1, matches) << mode.Width << "x" << mode.Height << " " << name;
            const display_mode& entry =
                *std::find_if(record.modes.begin(), record.modes.end(), [&](const display_mode& m) {
                    return m.width == mode.Width && m.height == mode.Height && m.format == name;
                });
            EXPECT_EQ(1, std::count(entry.refresh_rates.begin(), entry.refresh_rates.end(),
                                    static_cast<int32_t>(mode.RefreshRate)));
        }
    }
    EXPECT_FALSE(platform_modes.empty()) << "an adapter on a desktop monitor offers display modes";
    EXPECT_EQ(platform_modes.size(), record.modes.size());
    EXPECT_EQ(static_cast<int32_t>(record.modes.size()), record.mode_count);
    for (const display_mode& mode : record.modes) {
        EXPECT_EQ(static_cast<int32_t>(mode.refresh_rates.size()), mode.refresh_count);
        const std::set<int32_t> distinct(mode.refresh_rates.begin(), mode.refresh_rates.end());
        EXPECT_EQ(distinct.size(), mode.refresh_rates.size());
    }
}

TEST(D3d9ProbePlatform, RecordsAgreeWithDirect3D9) {
    ComPtr<IDirect3D9> d3d;
    adopt(d3d, Direct3DCreate9(D3D_SDK_VERSION));
    const d3d9_probe probe;
    if (!shape_has_direct3d()) {
        EXPECT_FALSE(d3d) << "this shape has no Direct3D";
        EXPECT_EQ(0, probe.count());
        return;
    }
    ASSERT_TRUE(d3d) << "the platform offers no Direct3D 9";

    const std::vector<UINT> ordinals = listed_ordinals(*d3d.Get());
    ASSERT_FALSE(ordinals.empty()) << "the platform lists no Direct3D 9 adapter";
    ASSERT_EQ(static_cast<int32_t>(ordinals.size()), probe.count());
    ASSERT_EQ(ordinals.size(), probe.adapters.size());

    const std::vector<HMONITOR> monitors = desktop_monitors();
    for (size_t i = 0; i < ordinals.size(); ++i) {
        SCOPED_TRACE("ordinal " + std::to_string(ordinals[i]));
        const dx_adapter record = probe.adapter(static_cast<int>(i));
        D3DADAPTER_IDENTIFIER9 id{};
        ASSERT_EQ(D3D_OK, d3d->GetAdapterIdentifier(ordinals[i], 0, &id));
        EXPECT_EQ(utf8_of_ansi(id.Description), record.info.description);
        EXPECT_EQ(std::string(id.Driver), record.info.driver);
        EXPECT_EQ(std::string(id.DeviceName), record.info.device_name);
        EXPECT_EQ(id.DriverVersion.QuadPart, record.info.driver_version);
        EXPECT_EQ(id.VendorId, record.info.vendor_id);
        EXPECT_EQ(id.DeviceId, record.info.device_id);
        EXPECT_EQ(id.SubSysId, record.info.subsys_id);
        EXPECT_EQ(id.Revision, record.info.revision);
        EXPECT_TRUE(IsEqualGUID(id.DeviceIdentifier, record.info.device_identifier));
        EXPECT_EQ(id.WHQLLevel, record.info.whql_level);

        D3DCAPS9 caps{};
        d3d->GetDeviceCaps(ordinals[i], D3DDEVTYPE_HAL, &caps);
        EXPECT_EQ(0, std::memcmp(&caps, &record.caps, sizeof caps)) << "caps differ";

        EXPECT_EQ(d3d->GetAdapterMonitor(ordinals[i]), record.monitor);
        EXPECT_NE(monitors.end(), std::find(monitors.begin(), monitors.end(), record.monitor))
            << "monitor is not one of the desktop's";

        expect_modes_match(*d3d.Get(), ordinals[i], record);
    }
}

}  // namespace
