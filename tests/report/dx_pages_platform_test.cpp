// The DirectX pages of the real platform's first adapter, checked against
// what this test asks Direct3D 9 itself.
#include <gtest/gtest.h>

#include <cstdio>
#include <wrl/client.h>

#include <set>
#include <tuple>

#include "base/platform.h"
#include "probe/d3d9_probe.h"
#include "refdata/pci_names.h"
#include "base/text.h"
#include "probe/records.h"
#include "report/page_lookup.h"
#include "platform/platform_shape.h"

namespace {

TEST(DirectXPagesPlatform, FirstAdapterAgreesWithDirect3D9) {
    init_reference_data();
    Microsoft::WRL::ComPtr<IDirect3D9> d3d;
    adopt(d3d, Direct3DCreate9(D3D_SDK_VERSION));
    const d3d9_probe probe;
    if (!shape_has_direct3d()) {
        EXPECT_EQ(0, probe.count());
        return;
    }
    ASSERT_TRUE(d3d);
    ASSERT_GT(probe.count(), 0);

    const dx_adapter adapter = probe.adapter(0);

    D3DADAPTER_IDENTIFIER9 id{};
    d3d->GetAdapterIdentifier(0, 0, &id);
    D3DCAPS9 caps{};
    d3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps);
    EXPECT_EQ(utf8_of_ansi(id.Description), value_of(page_from(adapter, page_id::dx_summary), "Device"));
    EXPECT_EQ(utf8_of_ansi(id.Description), value_of(page_from(adapter, page_id::dx_device), "Description"));
    char device_id[16];
    std::snprintf(device_id, sizeof device_id, "0x%04lX", id.DeviceId);
    EXPECT_EQ(device_id, value_of(page_from(adapter, page_id::dx_device), "Device ID"));
    EXPECT_EQ(std::to_string(caps.MaxTextureWidth),
              value_of(page_from(adapter, page_id::dx_textures), "MaxTextureWidth"));
    EXPECT_EQ((caps.RasterCaps & D3DPRASTERCAPS_ZTEST) != 0 ? "yes" : "no",
              value_of(page_from(adapter, page_id::dx_rendering), "D3DPRASTERCAPS_ZTEST"));
    EXPECT_EQ((caps.TextureCaps & D3DPTEXTURECAPS_MIPMAP) != 0 ? "yes" : "no",
              value_of(page_from(adapter, page_id::dx_textures), "D3DPTEXTURECAPS_MIPMAP"));

    size_t modes = 0;
    std::set<std::tuple<UINT, UINT, D3DFORMAT>> distinct;
    for (UINT format = 20; format < 118; ++format) {
        const UINT total = d3d->GetAdapterModeCount(0, static_cast<D3DFORMAT>(format));
        for (UINT index = 0; index < total; ++index) {
            D3DDISPLAYMODE mode{};
            d3d->EnumAdapterModes(0, static_cast<D3DFORMAT>(format), index, &mode);
            distinct.emplace(mode.Width, mode.Height, mode.Format);
        }
    }
    modes = distinct.size();
    ASSERT_GT(modes, 0u);
    EXPECT_EQ(modes, page_from(adapter, page_id::dx_resolutions).rows.size());
}

}  // namespace
