// The DirectX pages of the real platform's first adapter, checked against
// what this test asks Direct3D 9 itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <wrl/client.h>

#include <set>
#include <string>
#include <vector>
#include <tuple>

#include "base/platform.h"
#include "probe/d3d9_probe.h"
#include "refdata/format_names.h"
#include "refdata/pci_names.h"
#include "base/text.h"
#include "probe/records.h"
#include "report/page_lookup.h"
#include "platform/platform_shape.h"
#include "platform/shared_capture.h"
#include "report/report_builder.h"

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

// Every Direct3D 9 format's row against what this test asks Direct3D 9 of
// the first adapter: the words of the uses it accepts, in the page's order,
// then the sample counts it accepts in a window.
TEST(DirectXPagesPlatform, Direct3D9FormatsAgreeWithDirect3D9) {
    init_reference_data();
    Microsoft::WRL::ComPtr<IDirect3D9> d3d;
    adopt(d3d, Direct3DCreate9(D3D_SDK_VERSION));
    const d3d9_probe probe;
    if (!shape_has_direct3d()) {
        return;
    }
    ASSERT_TRUE(d3d);
    ASSERT_GT(probe.count(), 0);
    const report_page page = page_from(probe.adapter(0), page_id::dx_formats);
    struct use {
        const char* word;
        DWORD usage;
        D3DRESOURCETYPE resource;
    };
    const use uses[] = {
        {"texture", 0, D3DRTYPE_TEXTURE},
        {"cube texture", 0, D3DRTYPE_CUBETEXTURE},
        {"volume texture", 0, D3DRTYPE_VOLUMETEXTURE},
        {"surface", 0, D3DRTYPE_SURFACE},
        {"render target", D3DUSAGE_RENDERTARGET, D3DRTYPE_SURFACE},
        {"depth stencil", D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE},
        {"depth texture", D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_TEXTURE},
        {"vertex texture", D3DUSAGE_QUERY_VERTEXTEXTURE, D3DRTYPE_TEXTURE},
        {"filter", D3DUSAGE_QUERY_FILTER, D3DRTYPE_TEXTURE},
        {"blend", D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING, D3DRTYPE_TEXTURE},
        {"sRGB read", D3DUSAGE_QUERY_SRGBREAD, D3DRTYPE_TEXTURE},
        {"sRGB write", D3DUSAGE_QUERY_SRGBWRITE, D3DRTYPE_TEXTURE},
        {"mipmap generation", D3DUSAGE_AUTOGENMIPMAP, D3DRTYPE_TEXTURE},
    };
    size_t accepted = 0;
    for (const d3d9_format_entry& format : d3d9_resource_formats()) {
        const auto asked = static_cast<D3DFORMAT>(format.value);
        std::vector<std::string> words;
        for (const use& question : uses) {
            if (d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, question.usage, question.resource,
                                       asked) == D3D_OK) {
                words.push_back(question.word);
            }
        }
        std::string msaa;
        for (int samples = 2; samples <= 16; ++samples) {
            if (d3d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, asked, TRUE,
                                                static_cast<D3DMULTISAMPLE_TYPE>(samples),
                                                nullptr) == D3D_OK) {
                msaa += " x" + std::to_string(samples);
            }
        }
        if (!msaa.empty()) {
            words.push_back("MSAA" + msaa);
        }
        std::string expected;
        for (const std::string& word : words) {
            expected += (expected.empty() ? "" : ", ") + word;
        }
        accepted += words.empty() ? 0 : 1;
        EXPECT_EQ(expected.empty() ? "not supported" : expected, value_of(page, format.name)) << format.name;
    }
    // A Direct3D 9 that accepts no format at all is no Direct3D 9.
    EXPECT_GT(accepted, 0u);
}

}  // namespace

namespace {

std::string current_version_text(const wchar_t* name) {
    wchar_t value[256] = {};
    DWORD size = sizeof value;
    RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", name, RRF_RT_REG_SZ,
                 nullptr, value, &size);
    return utf8_of(value);
}

// The system the report was read on, as Windows says it: its product's name,
// its build (beside the registry's own record of it), on the Summary too.
TEST(DirectXPagesPlatform, ThePlatformIsWhatWindowsSays) {
    const startup_capture& capture = shared_capture();
    EXPECT_EQ("Windows", capture.platform.os);
    EXPECT_EQ(0u, capture.platform.version.find(current_version_text(L"ProductName")));
    const std::string build = current_version_text(L"CurrentBuildNumber");
    ASSERT_FALSE(build.empty());
    EXPECT_EQ("." + build, capture.platform.kernel.substr(capture.platform.kernel.rfind('.')));
    const report_document document = build_report(capture);
    EXPECT_EQ(capture.platform, document.platform);
    if (document.adapters.empty()) {
        return;  // a shape without Direct3D: no Summary to show it on
    }
    const report_page* summary = document.adapters[0].group(page_group::directx).page(page_id::dx_summary);
    ASSERT_NE(nullptr, summary);
    const auto row = std::find_if(summary->rows.begin(), summary->rows.end(),
                                  [](const report_row& r) { return r.name == "Platform"; });
    ASSERT_NE(summary->rows.end(), row);
    EXPECT_EQ(capture.platform.version + " (" + capture.platform.kernel + ")", row->value);
}

}  // namespace
