// The DXGI and Direct3D 10 probe against the real platform: every answer is
// compared with what this test asks DXGI, Direct3D 10 and Direct3D 9 itself.
#include "probe/dxgi_probe.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "base/platform.h"
#include "refdata/format_names.h"
#include "platform/platform_shape.h"
#include "platform/shared_capture.h"

namespace {

using Microsoft::WRL::ComPtr;

using create_factory_fn = HRESULT(WINAPI*)(REFIID, void**);
using create_device_fn = HRESULT(WINAPI*)(IDXGIAdapter*, D3D10_DRIVER_TYPE, HMODULE, UINT, UINT,
                                          ID3D10Device**);

std::string utf8(const WCHAR* text) {
    char buffer[512] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

bool has_rate(const dx_adapter& record, uint32_t width, uint32_t height, const std::string& format,
              int32_t rate) {
    for (const display_mode& mode : record.modes) {
        if (mode.width == width && mode.height == height && mode.format == format) {
            return std::count(mode.refresh_rates.begin(), mode.refresh_rates.end(), rate) == 1;
        }
    }
    return false;
}

// Whether this test itself can create a Direct3D 10 hardware device.
bool can_create_device(IDXGIAdapter& adapter) {
    LARGE_INTEGER version{};
    if (adapter.CheckInterfaceSupport(__uuidof(ID3D10Device), &version) != S_OK) {
        return false;
    }
    const auto create = get_proc<create_device_fn>(LoadLibraryA("d3d10.dll"), "D3D10CreateDevice");
    if (create == nullptr) {
        return false;
    }
    ComPtr<ID3D10Device> device;
    return create(&adapter, D3D10_DRIVER_TYPE_HARDWARE, nullptr, 0, 29, device.GetAddressOf()) == S_OK;
}

void expect_dxgi_modes(IDXGIAdapter& adapter, const dx_adapter& record) {
    ComPtr<IDXGIOutput> output;
    int seen = 0;
    for (UINT index = 0; adapter.EnumOutputs(index, output.ReleaseAndGetAddressOf()) == S_OK; ++index) {
        for (UINT format = 0; format < 89; ++format) {
            UINT total = 0;
            output->GetDisplayModeList(static_cast<DXGI_FORMAT>(format), DXGI_ENUM_MODES_INTERLACED, &total,
                                       nullptr);
            std::vector<DXGI_MODE_DESC> modes(total);
            if (total == 0 ||
                output->GetDisplayModeList(static_cast<DXGI_FORMAT>(format), DXGI_ENUM_MODES_INTERLACED,
                                           &total, modes.data()) != S_OK) {
                continue;
            }
            for (const DXGI_MODE_DESC& mode : modes) {
                const DXGI_RATIONAL& hz = mode.RefreshRate;
                const int32_t rate = hz.Denominator == 0
                                         ? 0
                                         : static_cast<int32_t>(std::nearbyint(
                                               static_cast<double>(hz.Numerator) / hz.Denominator));
                EXPECT_TRUE(has_rate(record, mode.Width, mode.Height,
                                     std::string(dxgi_format_name(mode.Format)), rate))
                    << mode.Width << "x" << mode.Height << " format " << mode.Format << " at " << rate;
                ++seen;
            }
        }
    }
    EXPECT_GT(seen, 0) << "no output of this adapter reported a mode";
}

void expect_d3d9_modes(IDirect3D9& d3d, const dx_adapter& record) {
    for (UINT ordinal = 0; ordinal < d3d.GetAdapterCount(); ++ordinal) {
        D3DADAPTER_IDENTIFIER9 id{};
        d3d.GetAdapterIdentifier(ordinal, 0, &id);
        if (id.VendorId != record.info.vendor_id || id.DeviceId != record.info.device_id ||
            id.SubSysId != record.info.subsys_id || id.Revision != record.info.revision) {
            continue;
        }
        for (UINT format = 20; format < 118; ++format) {
            const UINT total = d3d.GetAdapterModeCount(ordinal, static_cast<D3DFORMAT>(format));
            for (UINT index = 0; index < total; ++index) {
                D3DDISPLAYMODE mode{};
                d3d.EnumAdapterModes(ordinal, static_cast<D3DFORMAT>(format), index, &mode);
                EXPECT_TRUE(has_rate(record, mode.Width, mode.Height,
                                     std::string(d3d9_format_name(mode.Format)),
                                     static_cast<int32_t>(mode.RefreshRate)))
                    << mode.Width << "x" << mode.Height << " D3DFORMAT " << mode.Format;
            }
        }
    }
}

TEST(D3d10ProbePlatform, RecordsAgreeWithDxgiAndDirect3D) {
    const auto create_factory = get_proc<create_factory_fn>(LoadLibraryA("dxgi.dll"), "CreateDXGIFactory");
    ASSERT_NE(nullptr, create_factory) << "the platform offers no DXGI";
    ComPtr<IDXGIFactory> factory;
    const HRESULT created =
        create_factory(__uuidof(IDXGIFactory), reinterpret_cast<void**>(factory.GetAddressOf()));
    if (!shape_has_direct3d()) {
        // DXGI is there but offers no factory: the probe gives way to Direct3D 9.
        EXPECT_NE(S_OK, created);
        const dxgi_probe probe;
        EXPECT_FALSE(probe.answered);
        EXPECT_TRUE(probe.adapters.empty());
        EXPECT_FALSE(probe.reasons.empty());
        return;
    }
    ASSERT_EQ(S_OK, created);
    ComPtr<IDirect3D9> d3d;
    adopt(d3d, Direct3DCreate9(D3D_SDK_VERSION));
    ASSERT_TRUE(d3d);

    // What the capture's DXGI probe read (on some shapes a read of the modes
    // takes many seconds; the test reads them once more itself).
    const std::vector<dx_adapter>& records = shared_capture().adapters;

    ComPtr<IDXGIAdapter> adapter;
    int listed = 0;
    for (UINT index = 0; factory->EnumAdapters(index, adapter.ReleaseAndGetAddressOf()) == S_OK; ++index) {
        DXGI_ADAPTER_DESC desc{};
        if (adapter->GetDesc(&desc) != S_OK || utf8(desc.Description) == "NVIDIA PerfHUD") {
            continue;
        }
        SCOPED_TRACE("DXGI adapter " + std::to_string(index));
        ASSERT_LT(static_cast<size_t>(listed), records.size());
        const dx_adapter& record = records[static_cast<size_t>(listed++)];
        EXPECT_EQ(utf8(desc.Description), record.info.description);
        EXPECT_EQ(desc.VendorId, record.info.vendor_id);
        EXPECT_EQ(desc.DeviceId, record.info.device_id);
        EXPECT_EQ(desc.SubSysId, record.info.subsys_id);
        EXPECT_EQ(desc.Revision, record.info.revision);
        EXPECT_EQ(desc.DedicatedVideoMemory, record.info.dedicated_video_memory);
        EXPECT_EQ(desc.DedicatedSystemMemory, record.info.dedicated_system_memory);

        const bool shader_model_4 = can_create_device(*adapter.Get());
        EXPECT_EQ(shader_model_4, record.caps.VertexShaderVersion == 1024);
        EXPECT_EQ(shader_model_4, record.caps.PixelShaderVersion == 1024);

        expect_dxgi_modes(*adapter.Get(), record);
        expect_d3d9_modes(*d3d.Get(), record);
        EXPECT_EQ(static_cast<int32_t>(record.modes.size()), record.mode_count);
    }
    EXPECT_GT(listed, 0) << "DXGI lists no adapter";
    EXPECT_EQ(static_cast<size_t>(listed), records.size());
}

}  // namespace
