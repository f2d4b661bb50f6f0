// The Direct3D 9 probe's rules, on a fake IDirect3D9.
#include "probe/d3d9_probe.h"

#include <gtest/gtest.h>

#include "probe/print_reason.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "fakes/fake_d3d9.h"
#include "report/page_lookup.h"

namespace {

using fakes::make_identifier;

HMONITOR monitor_handle(uintptr_t value) {
    return reinterpret_cast<HMONITOR>(value);
}

class D3d9Probe : public ::testing::Test {
protected:
    fakes::d3d9 d3d;

    // add_adapter hands out references that must survive later additions.
    D3d9Probe() { d3d.adapters.reserve(16); }

    std::unique_ptr<d3d9_probe> probe() {
        return std::make_unique<d3d9_probe>([this](UINT version) { return d3d.create(version); });
    }

    fakes::d3d9_adapter& add_adapter(const std::string& description, DWORD device, DWORD guid_seed) {
        auto& adapter = d3d.adapters.emplace_back();
        adapter.identifier = make_identifier(description, 0x10DE, device, 0x12345678, 0xA1, guid_seed);
        adapter.monitor = monitor_handle(0x1000 + d3d.adapters.size());
        adapter.caps.DeviceType = D3DDEVTYPE_HAL;
        adapter.caps.AdapterOrdinal = static_cast<UINT>(d3d.adapters.size() - 1);
        adapter.caps.MaxTextureWidth = 4096 * static_cast<DWORD>(d3d.adapters.size());
        return adapter;
    }

    void TearDown() override {
        EXPECT_EQ(0, d3d.unexpected_calls);
        EXPECT_EQ(0, d3d.bad_arguments);
        EXPECT_EQ(0u, d3d.references);
    }
};

TEST_F(D3d9Probe, NoAdapterGivesAnEmptyList) {
    auto list = probe();
    EXPECT_EQ(0x80000020u, d3d.last_sdk_version);
    EXPECT_EQ(0, list->count());
    EXPECT_TRUE(list->adapters.empty());
}

TEST_F(D3d9Probe, CopiesIdentityCapsAndMonitor) {
    auto& first = add_adapter("First board", 0x06CD, 1);
    // Texts that fill their arrays completely have no NUL to stop at.
    std::fill(std::begin(first.identifier.DeviceName), std::end(first.identifier.DeviceName), 'N');
    first.caps.PixelShaderVersion = D3DPS_VERSION(3, 0);
    first.caps.MaxSimultaneousTextures = 8;
    add_adapter("Second board", 0x0DE1, 2);

    auto list = probe();
    ASSERT_EQ(2, list->count());
    ASSERT_EQ(2u, list->adapters.size());
    const dx_adapter record = list->adapter(0);
    EXPECT_EQ("First board", record.info.description);
    EXPECT_EQ("driver.dll", record.info.driver);
    EXPECT_EQ(std::string(32, 'N'), record.info.device_name);
    EXPECT_EQ(0x0008001100120013LL, record.info.driver_version);
    EXPECT_EQ(0x10DEu, record.info.vendor_id);
    EXPECT_EQ(0x06CDu, record.info.device_id);
    EXPECT_EQ(0x12345678u, record.info.subsys_id);
    EXPECT_EQ(0xA1u, record.info.revision);
    EXPECT_TRUE(IsEqualGUID(first.identifier.DeviceIdentifier, record.info.device_identifier));
    EXPECT_EQ(1u, record.info.whql_level);
    EXPECT_EQ(0u, record.info.dedicated_video_memory);
    EXPECT_EQ(0u, record.info.dedicated_system_memory);
    EXPECT_EQ(monitor_handle(0x1001), record.monitor);
    EXPECT_EQ(0, std::memcmp(&first.caps, &record.caps, sizeof(D3DCAPS9)));
    EXPECT_EQ("Second board", list->adapter(1).info.description);
    EXPECT_EQ(8192u, list->adapter(1).caps.MaxTextureWidth);
}

TEST_F(D3d9Probe, SkipsSubordinateHeadsAndDuplicateIdentifiers) {
    add_adapter("Two-head card", 0x0100, 1);
    add_adapter("Two-head card, second head", 0x0100, 9).caps.AdapterOrdinalInGroup = 1;
    add_adapter("Twin board A", 0x0200, 2).add_mode(D3DFMT_X8R8G8B8, 800, 600, 60);
    add_adapter("Twin board B", 0x0200, 2).add_mode(D3DFMT_X8R8G8B8, 1024, 768, 60);
    add_adapter("Last board", 0x0300, 3);

    auto list = probe();
    ASSERT_EQ(3, list->count());
    EXPECT_EQ("Two-head card", list->adapter(0).info.description);
    // Of two boards with one identifier, the lower ordinal is kept, with
    // its own modes and monitor.
    const dx_adapter twin = list->adapter(1);
    EXPECT_EQ("Twin board A", twin.info.description);
    EXPECT_EQ(monitor_handle(0x1003), twin.monitor);
    ASSERT_EQ(1, twin.mode_count);
    EXPECT_EQ(800u, twin.modes[0].width);
    EXPECT_EQ("Last board", list->adapter(2).info.description);
}

TEST_F(D3d9Probe, ModesByFirstAppearanceWithRatesListedOnce) {
    auto& adapter = add_adapter("Board", 0x0100, 1);
    adapter.add_mode(D3DFMT_X8R8G8B8, 1024, 768, 60);
    adapter.add_mode(D3DFMT_X8R8G8B8, 800, 600, 60);
    adapter.add_mode(D3DFMT_X8R8G8B8, 1024, 768, 75);
    adapter.add_mode(D3DFMT_X8R8G8B8, 1024, 768, 60);
    adapter.add_mode(D3DFMT_R5G6B5, 1024, 768, 60);
    // Asked for 37 (a slot without a name) and reported as 37.
    adapter.add_mode(37, 640, 480, 60);
    // A format outside the table, reported under an asked value.
    adapter.add_mode(D3DFMT_A8R8G8B8, 320, 240, 70, 0x31545844);
    // Values the probe never asks for.
    adapter.add_mode(19, 1, 1, 1);
    adapter.add_mode(118, 2, 2, 2);

    auto list = probe();
    ASSERT_EQ(1, list->count());
    const dx_adapter record = list->adapter(0);
    ASSERT_EQ(5, record.mode_count);
    ASSERT_EQ(5u, record.modes.size());
    // By format value first (21, 22, 23, 37), then in enumeration order.
    EXPECT_EQ("", record.modes[0].format);
    EXPECT_EQ(320u, record.modes[0].width);
    EXPECT_EQ(std::vector<int32_t>{70}, record.modes[0].refresh_rates);

    EXPECT_EQ("X8R8G8B8", record.modes[1].format);
    EXPECT_EQ(1024u, record.modes[1].width);
    EXPECT_EQ(768u, record.modes[1].height);
    EXPECT_EQ((std::vector<int32_t>{60, 75}), record.modes[1].refresh_rates);
    EXPECT_EQ(2, record.modes[1].refresh_count);

    EXPECT_EQ("X8R8G8B8", record.modes[2].format);
    EXPECT_EQ(800u, record.modes[2].width);
    EXPECT_EQ(1, record.modes[2].refresh_count);

    // One size in two formats is two entries.
    EXPECT_EQ("R5G6B5", record.modes[3].format);
    EXPECT_EQ(1024u, record.modes[3].width);

    EXPECT_EQ("", record.modes[4].format);
    EXPECT_EQ(640u, record.modes[4].width);
}

TEST_F(D3d9Probe, FailingReadsLeaveZerosNotThePreviousAdapter) {
    auto& good = add_adapter("Good board", 0x0100, 1);
    good.caps.MaxTextureHeight = 2048;
    good.add_mode(D3DFMT_X8R8G8B8, 1024, 768, 60);
    auto& bad = add_adapter("Bad board", 0x0200, 2);
    bad.failing = true;
    bad.add_mode(D3DFMT_X8R8G8B8, 800, 600, 75);

    auto list = probe();
    ASSERT_EQ(2, list->count());
    const dx_adapter record = list->adapter(1);
    EXPECT_EQ("", record.info.description);
    EXPECT_EQ("", record.info.driver);
    EXPECT_EQ(0u, record.info.device_id);
    EXPECT_TRUE(IsEqualGUID(GUID{}, record.info.device_identifier));
    const D3DCAPS9 zero{};
    EXPECT_EQ(0, std::memcmp(&zero, &record.caps, sizeof zero));
    // The mode that could not be read is all zeros, never the last one read.
    ASSERT_EQ(1, record.mode_count);
    EXPECT_EQ(0u, record.modes[0].width);
    EXPECT_EQ("UNKNOWN", record.modes[0].format);
    EXPECT_EQ(std::vector<int32_t>{0}, record.modes[0].refresh_rates);
    // And says so, for that adapter.
    EXPECT_EQ((std::vector<said>{{1, "Direct3D 9: GetAdapterIdentifier failed on adapter 1 (0x8876086C)"},
                                 {1, "Direct3D 9: GetDeviceCaps failed on adapter 1 (0x8876086C)"}}),
              said_of(list->reasons));
}

TEST_F(D3d9Probe, AdapterWithoutModes) {
    add_adapter("Board", 0x0100, 1);
    auto list = probe();
    ASSERT_EQ(1, list->count());
    EXPECT_EQ(0, list->adapter(0).mode_count);
    EXPECT_TRUE(list->adapter(0).modes.empty());
}

TEST_F(D3d9Probe, CopyOutlivesTheProbe) {
    add_adapter("Board", 0x0100, 1).add_mode(D3DFMT_X8R8G8B8, 1024, 768, 60);
    auto list = probe();
    dx_adapter copy = list->adapter(0);
    list->adapters[0].info.description = "changed";
    list.reset();
    EXPECT_EQ(0u, d3d.references);
    EXPECT_EQ("Board", copy.info.description);
    ASSERT_EQ(1, copy.mode_count);
    EXPECT_EQ("X8R8G8B8", copy.modes[0].format);
}

// What each format can be used for, as the Formats page shows it: a use
// refused, a mipmap generation answered D3DOK_NOAUTOGEN, a call that fails,
// sample counts with their levels, the depth-stencil matches, a format of
// which nothing could be asked, and an adapter Direct3D 9 was never asked of.
TEST_F(D3d9Probe, FormatsSayWhatEachUseAnswered) {
    const D3DFORMAT intz = static_cast<D3DFORMAT>(MAKEFOURCC('I', 'N', 'T', 'Z'));
    auto& board = add_adapter("Board", 0x0100, 1);
    board.format_answer = [&](D3DFORMAT format, DWORD usage, D3DRESOURCETYPE resource) -> HRESULT {
        if (format == D3DFMT_DXT1) {
            return E_FAIL;
        }
        if (format == D3DFMT_A8R8G8B8) {
            if (usage == D3DUSAGE_QUERY_VERTEXTEXTURE) {
                return D3DERR_DRIVERINTERNALERROR;
            }
            if (usage == D3DUSAGE_AUTOGENMIPMAP) {
                return D3DOK_NOAUTOGEN;
            }
            const bool surface_only = usage == D3DUSAGE_RENDERTARGET;
            return usage == D3DUSAGE_DEPTHSTENCIL || (surface_only && resource != D3DRTYPE_SURFACE)
                       ? D3DERR_NOTAVAILABLE
                       : D3D_OK;
        }
        if (format == D3DFMT_R16F) {
            return usage == D3DUSAGE_AUTOGENMIPMAP && resource == D3DRTYPE_TEXTURE ? D3D_OK
                                                                                   : D3DERR_NOTAVAILABLE;
        }
        if (format == D3DFMT_D24S8 && usage == D3DUSAGE_DEPTHSTENCIL) {
            return D3D_OK;
        }
        if (format == intz && usage == D3DUSAGE_DEPTHSTENCIL) {
            return resource == D3DRTYPE_TEXTURE ? D3D_OK : D3DERR_INVALIDCALL;
        }
        return D3DERR_NOTAVAILABLE;
    };
    board.samples_answer = [](D3DFORMAT format, D3DMULTISAMPLE_TYPE samples, DWORD* levels) -> HRESULT {
        if (format == D3DFMT_DXT1) {
            return E_FAIL;
        }
        if (format != D3DFMT_A8R8G8B8 || (samples != 2 && samples != 4 && samples != 16)) {
            return D3DERR_NOTAVAILABLE;
        }
        *levels = samples == 4 ? 8 : 1;
        return D3D_OK;
    };
    board.depth_answer = [&](D3DFORMAT target, D3DFORMAT depth) -> HRESULT {
        if (depth == intz) {
            return target == D3DFMT_X8R8G8B8 ? D3D_OK : E_FAIL;
        }
        return target == D3DFMT_X8R8G8B8 ? D3D_OK : D3DERR_NOTAVAILABLE;
    };

    auto list = probe();
    ASSERT_EQ(1, list->count());
    const dx_adapter record = list->adapter(0);
    ASSERT_EQ(72u, record.formats9.size());
    // Thirteen uses and fifteen sample counts of each format, and two matches of each depth format.
    EXPECT_EQ(72 * 28 + 2 * 2, d3d.format_questions);
    EXPECT_TRUE(list->reasons.empty());

    const report_page page = page_from(record, page_id::dx_formats);
    const auto row = [&](const std::string& name) {
        const int at = find_row(page, name);
        return at < 0 ? report_row{} : page.rows[static_cast<size_t>(at)];
    };
    EXPECT_EQ("[Direct3D 9]", page.rows[0].name);
    EXPECT_EQ("D3DFMT_R8G8B8", page.rows[1].name);
    EXPECT_EQ("R2VB", page.rows[72].name);
    EXPECT_EQ(
        "texture, cube texture, volume texture, surface, render target, filter, blend, sRGB read, sRGB "
        "write, MSAA x2 x4 x16",
        row("D3DFMT_A8R8G8B8").value);
    EXPECT_EQ(
        "Direct3D 9 format 21. Quality levels: x2 1, x4 8, x16 1. 1 of 28 questions were not answered: "
        "CheckDeviceFormat failed (0x88760827).",
        row("D3DFMT_A8R8G8B8").description);
    EXPECT_EQ("mipmap generation", row("D3DFMT_R16F").value);
    EXPECT_EQ("depth stencil, depth texture", row("D3DFMT_D24S8").value);
    EXPECT_EQ(
        "Direct3D 9 format 75. Depth-stencil match with an X8R8G8B8 render target: yes; with an A8R8G8B8 "
        "one: no.",
        row("D3DFMT_D24S8").description);
    EXPECT_EQ("depth texture", row("INTZ").value);
    EXPECT_EQ(
        "Direct3D 9 format 1515474505, 'INTZ'. Depth-stencil match with an X8R8G8B8 render target: yes; "
        "with an A8R8G8B8 one: not answered. 1 of 30 questions were not answered: CheckDepthStencilMatch "
        "failed (0x80004005).",
        row("INTZ").description);
    EXPECT_EQ("not supported", row("D3DFMT_L8").value);
    EXPECT_EQ("Direct3D 9 format 50.", row("D3DFMT_L8").description);
    EXPECT_EQ(row_kind::not_available, row("D3DFMT_DXT1").kind);
    EXPECT_EQ(
        "Direct3D 9 format 827611204, 'DXT1'. 28 of 28 questions were not answered: CheckDeviceFormat "
        "failed (0x80004005).",
        row("D3DFMT_DXT1").description);

    // An adapter Direct3D 9 could not be asked of: every format not available.
    const report_page unasked = page_from(dx_adapter{}, page_id::dx_formats);
    EXPECT_EQ("not available", value_of(unasked, "D3DFMT_A8R8G8B8"));
    EXPECT_EQ("not available", value_of(unasked, "NVDB"));
    EXPECT_EQ("Direct3D 9 format 21.",
              unasked.rows[static_cast<size_t>(find_row(unasked, "D3DFMT_A8R8G8B8"))].description);
}

TEST(D3d9ProbeWithoutDirect3D, ListsNothingWhenNoObjectIsCreated) {
    d3d9_probe list([](UINT) -> IDirect3D9* { return nullptr; });
    EXPECT_EQ(0, list.count());
    EXPECT_TRUE(list.adapters.empty());
    EXPECT_FALSE(list.d3d);
    EXPECT_EQ((std::vector<said>{{-1, "Direct3D 9: Direct3DCreate9 failed"}}), said_of(list.reasons));
}

}  // namespace
