// The DXGI and Direct3D 10 probe's rules, on fake DXGI, Direct3D 10 and
// Direct3D 9 objects.
#include "probe/dxgi_probe.h"

#include <gtest/gtest.h>

#include "probe/print_reason.h"

#include <cstring>
#include <deque>
#include <memory>

#include "fakes/fake_d3d10_device.h"
#include "fakes/fake_d3d9.h"
#include "fakes/fake_dxgi.h"

namespace {

constexpr UINT nvidia = 0x10DE;
constexpr DWORD r8g8b8a8_unorm = 28;
constexpr DWORD b8g8r8a8_unorm = 87;

HMONITOR monitor_handle(uintptr_t value) {
    return reinterpret_cast<HMONITOR>(value);
}

class D3d10Probe : public ::testing::Test {
protected:
    fakes::dxgi_factory factory;
    fakes::d3d9 d3d9;
    fakes::d3d10_device device;
    std::deque<fakes::dxgi_adapter> dxgi_adapters;
    std::deque<fakes::dxgi_output> outputs;

    bool dxgi_present = true;
    bool d3d10_present = true;
    bool d3d9_present = true;
    HRESULT factory_status = S_OK;
    int device_attempts = 0;
    int bad_arguments = 0;

    D3d10Probe() { d3d9.adapters.reserve(16); }

    dx10_entry_points entry() {
        dx10_entry_points points;
        if (dxgi_present) {
            points.CreateDXGIFactory = [this](REFIID iid, void** out) {
                bad_arguments += IsEqualGUID(iid, __uuidof(IDXGIFactory)) ? 0 : 1;
                if (factory_status != S_OK) {
                    *out = nullptr;
                    return factory_status;
                }
                factory.AddRef();
                *out = static_cast<IDXGIFactory*>(&factory);
                return S_OK;
            };
        }
        if (d3d10_present) {
            points.D3D10CreateDevice = [this](IDXGIAdapter* adapter, D3D10_DRIVER_TYPE type, HMODULE software,
                                              UINT flags, UINT sdk, ID3D10Device** out) {
                ++device_attempts;
                if (type != D3D10_DRIVER_TYPE_HARDWARE || software != nullptr || flags != 0 || sdk != 29) {
                    ++bad_arguments;
                }
                if (!static_cast<fakes::dxgi_adapter*>(adapter)->device_creatable) {
                    *out = nullptr;
                    return E_FAIL;
                }
                device.AddRef();
                *out = &device;
                return S_OK;
            };
        }
        points.Direct3DCreate9 = [this](UINT version) -> IDirect3D9* {
            return d3d9_present ? d3d9.create(version) : nullptr;
        };
        return points;
    }

    std::unique_ptr<dxgi_probe> probe() { return std::make_unique<dxgi_probe>(entry()); }

    fakes::dxgi_adapter& add_adapter(const std::wstring& description, UINT device_id, UINT subsys = 0x1111,
                                     UINT revision = 0xA1) {
        auto& adapter = dxgi_adapters.emplace_back();
        adapter.describe(description, nvidia, device_id, subsys, revision);
        factory.adapters.push_back(&adapter);
        return adapter;
    }

    fakes::dxgi_output& add_output(fakes::dxgi_adapter& adapter) {
        auto& output = outputs.emplace_back();
        adapter.outputs.push_back(&output);
        return output;
    }

    // A Direct3D 9 ordinal with the given PCI identity; its caps carry
    // shader model 3 and a marker to tell ordinals apart.
    fakes::d3d9_adapter& add_ordinal(const std::string& description, UINT device_id, DWORD marker,
                                     UINT subsys = 0x1111, UINT revision = 0xA1) {
        auto& ordinal = d3d9.adapters.emplace_back();
        ordinal.identifier = fakes::make_identifier(description, nvidia, device_id, subsys, revision, marker);
        ordinal.identifier.DriverVersion.QuadPart = marker;
        ordinal.monitor = monitor_handle(0x1000 + marker);
        ordinal.caps.VertexShaderVersion = D3DVS_VERSION(3, 0);
        ordinal.caps.PixelShaderVersion = D3DPS_VERSION(3, 0);
        ordinal.caps.MaxTextureWidth = marker;
        return ordinal;
    }

    void TearDown() override {
        EXPECT_EQ(0u, factory.references);
        EXPECT_EQ(0u, d3d9.references);
        EXPECT_EQ(0u, device.references);
        EXPECT_EQ(0, device.calls);
        EXPECT_EQ(0, factory.unexpected_calls);
        EXPECT_EQ(0, d3d9.unexpected_calls);
        EXPECT_EQ(0, d3d9.bad_arguments);
        EXPECT_EQ(0, bad_arguments);
        for (const auto& adapter : dxgi_adapters) {
            EXPECT_EQ(0u, adapter.references);
            EXPECT_EQ(0, adapter.unexpected_calls);
        }
        for (const auto& output : outputs) {
            EXPECT_EQ(0u, output.references);
            EXPECT_EQ(0, output.unexpected_calls);
            EXPECT_EQ(0, output.bad_flags);
        }
    }
};

const display_mode* find_mode(const dx_adapter& record, uint32_t width, uint32_t height,
                              const std::string& format) {
    for (const auto& mode : record.modes) {
        if (mode.width == width && mode.height == height && mode.format == format) {
            return &mode;
        }
    }
    return nullptr;
}

void expect_no_dxgi(const dx10_entry_points& points, const char* why) {
    const dxgi_probe list(points);
    EXPECT_FALSE(list.answered);
    EXPECT_TRUE(list.adapters.empty());
    EXPECT_EQ((std::vector<said>{{-1, std::string("DXGI: ") + why}}), said_of(list.reasons));
}

TEST_F(D3d10Probe, RaisesWithoutDxgiOrFactory) {
    add_ordinal("Board", 0x0100, 1);
    dxgi_present = false;
    expect_no_dxgi(entry(), "dxgi.dll or its CreateDXGIFactory is missing");
    dxgi_present = true;
    factory_status = DXGI_ERROR_UNSUPPORTED;
    expect_no_dxgi(entry(), "CreateDXGIFactory failed (0x887A0004)");
}

TEST_F(D3d10Probe, DxgiWithoutAdaptersListsNothing) {
    add_ordinal("Board", 0x0100, 1);
    auto list = probe();
    EXPECT_EQ(0, list->count());
    EXPECT_TRUE(list->adapters.empty());
}

TEST_F(D3d10Probe, SkipsPerfHudAndAdaptersWithoutDescription) {
    add_adapter(L"NVIDIA PerfHUD", 0x0100);
    add_adapter(L"nvidia perfhud", 0x0200);
    add_adapter(L"Broken", 0x0300).desc_status = E_FAIL;
    add_adapter(L"After the broken one", 0x0400);

    auto list = probe();
    ASSERT_EQ(2, list->count());
    EXPECT_EQ("nvidia perfhud", list->adapter(0).info.description);
    EXPECT_EQ("After the broken one", list->adapter(1).info.description);
    EXPECT_EQ(0x0400u, list->adapter(1).info.device_id);
}

TEST_F(D3d10Probe, CompletesIdentityFromTheFirstMatchingOrdinal) {
    auto& adapter = add_adapter(L"DXGI name", 0x2684, 0x16F310DE, 0xA1);
    adapter.desc.DedicatedVideoMemory = SIZE_T{24} << 30;
    adapter.desc.DedicatedSystemMemory = (SIZE_T{5} << 32) + 7;
    adapter.device_creatable = false;
    add_ordinal("Other board", 0x2684, 5, 0x16F310DE, 0xA2);  // another revision
    auto& match = add_ordinal("Direct3D 9 name", 0x2684, 6, 0x16F310DE, 0xA1);
    std::fill(std::begin(match.identifier.Driver), std::end(match.identifier.Driver), 'D');

    auto list = probe();
    ASSERT_EQ(1, list->count());
    const dx_adapter record = list->adapter(0);
    EXPECT_EQ("DXGI name", record.info.description);
    EXPECT_EQ(std::string(512, 'D'), record.info.driver);
    EXPECT_EQ("\\\\.\\DISPLAY1", record.info.device_name);
    EXPECT_EQ(6, record.info.driver_version);
    EXPECT_TRUE(IsEqualGUID(match.identifier.DeviceIdentifier, record.info.device_identifier));
    EXPECT_EQ(1u, record.info.whql_level);
    EXPECT_EQ(nvidia, record.info.vendor_id);
    EXPECT_EQ(0x2684u, record.info.device_id);
    EXPECT_EQ(0x16F310DEu, record.info.subsys_id);
    EXPECT_EQ(0xA1u, record.info.revision);
    EXPECT_EQ(0, std::memcmp(&match.caps, &record.caps, sizeof(D3DCAPS9)));
    EXPECT_EQ(monitor_handle(0x1006), record.monitor);
    // Whole 64-bit byte counts.
    EXPECT_EQ(uint64_t{24} << 30, record.info.dedicated_video_memory);
    EXPECT_EQ((uint64_t{5} << 32) + 7, record.info.dedicated_system_memory);
}

TEST_F(D3d10Probe, WithoutMatchingOrdinalTheDirect3D9FieldsStayZero) {
    add_output(add_adapter(L"Lonely", 0x0100)).add_mode(r8g8b8a8_unorm, 1024, 768, 60, 1);
    add_ordinal("Another board", 0x0200, 1).add_mode(D3DFMT_X8R8G8B8, 800, 600, 60);

    auto list = probe();
    ASSERT_EQ(1, list->count());
    dx_adapter record = list->adapter(0);
    EXPECT_EQ("", record.info.driver);
    EXPECT_EQ("", record.info.device_name);
    EXPECT_EQ(0, record.info.driver_version);
    EXPECT_TRUE(IsEqualGUID(GUID{}, record.info.device_identifier));
    EXPECT_EQ(0u, record.info.whql_level);
    EXPECT_EQ(nullptr, record.monitor);
    // A creatable Direct3D 10 device still marks shader model 4.0.
    EXPECT_EQ(1024u, record.caps.VertexShaderVersion);
    EXPECT_EQ(1024u, record.caps.PixelShaderVersion);
    record.caps.VertexShaderVersion = record.caps.PixelShaderVersion = 0;
    const D3DCAPS9 zero{};
    EXPECT_EQ(0, std::memcmp(&zero, &record.caps, sizeof zero));
    ASSERT_EQ(1, record.mode_count);
    EXPECT_EQ("R8G8B8A8_UNORM", record.modes[0].format);
}

TEST_F(D3d10Probe, ShaderModel4WhereADirect3D10DeviceCanBeCreated) {
    add_adapter(L"Creatable", 0x0100);
    add_adapter(L"Not creatable", 0x0200).device_creatable = false;
    add_adapter(L"No interface", 0x0300).interface_status = DXGI_ERROR_UNSUPPORTED;
    add_ordinal("Creatable", 0x0100, 1);
    add_ordinal("Not creatable", 0x0200, 2);
    add_ordinal("No interface", 0x0300, 3);

    auto list = probe();
    ASSERT_EQ(3, list->count());
    EXPECT_EQ(1024u, list->adapter(0).caps.VertexShaderVersion);
    EXPECT_EQ(1024u, list->adapter(0).caps.PixelShaderVersion);
    EXPECT_EQ(1u, list->adapter(0).caps.MaxTextureWidth);  // the rest is Direct3D 9's
    for (int i : {1, 2}) {
        EXPECT_EQ(D3DVS_VERSION(3, 0), list->adapter(i).caps.VertexShaderVersion) << i;
        EXPECT_EQ(D3DPS_VERSION(3, 0), list->adapter(i).caps.PixelShaderVersion) << i;
    }
    // No trial device where the interface is not supported.
    EXPECT_EQ(2, device_attempts);
}

TEST_F(D3d10Probe, WithoutD3d10DllTheShaderVersionsAreDirect3D9s) {
    d3d10_present = false;
    add_adapter(L"Board", 0x0100);
    add_ordinal("Board", 0x0100, 1);
    auto list = probe();
    ASSERT_EQ(1, list->count());
    EXPECT_EQ(D3DVS_VERSION(3, 0), list->adapter(0).caps.VertexShaderVersion);
    EXPECT_EQ(D3DPS_VERSION(3, 0), list->adapter(0).caps.PixelShaderVersion);
}

TEST_F(D3d10Probe, TwoIdenticalBoards) {
    add_output(add_adapter(L"Twin", 0x0100)).add_mode(r8g8b8a8_unorm, 1920, 1080, 60, 1);
    add_output(add_adapter(L"Twin", 0x0100)).add_mode(r8g8b8a8_unorm, 2560, 1440, 60, 1);
    add_ordinal("Twin", 0x0100, 1).add_mode(D3DFMT_X8R8G8B8, 1920, 1080, 60);
    add_ordinal("Twin", 0x0100, 2).add_mode(D3DFMT_X8R8G8B8, 2560, 1440, 144);

    auto list = probe();
    ASSERT_EQ(2, list->count());
    for (int i : {0, 1}) {
        SCOPED_TRACE(i);
        const dx_adapter record = list->adapter(i);
        EXPECT_EQ(1, record.info.driver_version);
        EXPECT_EQ(1u, record.caps.MaxTextureWidth);
        EXPECT_EQ(monitor_handle(0x1002), record.monitor);
        ASSERT_EQ(3, record.mode_count);
        EXPECT_EQ("R8G8B8A8_UNORM", record.modes[0].format);
        EXPECT_NE(nullptr, find_mode(record, 1920, 1080, "X8R8G8B8"));
        EXPECT_NE(nullptr, find_mode(record, 2560, 1440, "X8R8G8B8"));
    }
    EXPECT_EQ(1920u, list->adapter(0).modes[0].width);
    EXPECT_EQ(2560u, list->adapter(1).modes[0].width);
}

TEST_F(D3d10Probe, TwoHeadCardIsOneRecordWithBothHeadsModes) {
    auto& card = add_adapter(L"Two heads", 0x0100);
    add_output(card).add_mode(b8g8r8a8_unorm, 1920, 1080, 60, 1);
    add_output(card).add_mode(b8g8r8a8_unorm, 1280, 1024, 75, 1);
    add_ordinal("Two heads", 0x0100, 1).add_mode(D3DFMT_X8R8G8B8, 1920, 1080, 60);
    auto& second = add_ordinal("Two heads", 0x0100, 2);
    second.caps.AdapterOrdinalInGroup = 1;
    second.add_mode(D3DFMT_X8R8G8B8, 1280, 1024, 75);

    auto list = probe();
    ASSERT_EQ(1, list->count());
    const dx_adapter record = list->adapter(0);
    EXPECT_EQ(1, record.info.driver_version);
    EXPECT_EQ(1u, record.caps.MaxTextureWidth);
    EXPECT_EQ(0u, record.caps.AdapterOrdinalInGroup);
    EXPECT_EQ(monitor_handle(0x1002), record.monitor);
    ASSERT_EQ(4, record.mode_count);
    // DXGI first, by output; then Direct3D 9, by ordinal.
    EXPECT_EQ(1920u, record.modes[0].width);
    EXPECT_EQ("B8G8R8A8_UNORM", record.modes[0].format);
    EXPECT_EQ(1280u, record.modes[1].width);
    EXPECT_EQ("B8G8R8A8_UNORM", record.modes[1].format);
    EXPECT_EQ(1920u, record.modes[2].width);
    EXPECT_EQ("X8R8G8B8", record.modes[2].format);
    EXPECT_EQ(1280u, record.modes[3].width);
    EXPECT_EQ("X8R8G8B8", record.modes[3].format);
    // Both outputs, as an older runtime describes them: without
    // IDXGIOutput6, IDXGIAdapter3 or IDXGIFactory5.
    ASSERT_EQ(2u, record.outputs.size());
    EXPECT_FALSE(record.outputs[1].has_desc1 || record.has_budget || record.tearing.has_value());
}

TEST(DxgiRefreshRate, RoundsHalvesToEven) {
    EXPECT_EQ(60, dxgi_refresh_rate({60000, 1001}));
    EXPECT_EQ(60, dxgi_refresh_rate({59950, 1000}));
    EXPECT_EQ(30, dxgi_refresh_rate({30, 1}));
    EXPECT_EQ(60, dxgi_refresh_rate({119, 2}));
    EXPECT_EQ(60, dxgi_refresh_rate({121, 2}));
    EXPECT_EQ(62, dxgi_refresh_rate({123, 2}));
    EXPECT_EQ(0, dxgi_refresh_rate({60, 0}));
    EXPECT_EQ(0, dxgi_refresh_rate({0, 1}));
    EXPECT_EQ(2147483647, dxgi_refresh_rate({0xFFFFFFFF, 1}));
}

TEST_F(D3d10Probe, ModesFromAllOutputsAndFormatsMergeByNameAndRate) {
    auto& adapter = add_adapter(L"Board", 0x0100);
    auto& first = add_output(adapter);
    first.add_mode(r8g8b8a8_unorm, 1920, 1080, 60000, 1001);
    first.add_mode(r8g8b8a8_unorm, 1920, 1080, 60, 1);  // the same rate again
    first.add_mode(r8g8b8a8_unorm, 1920, 1080, 119, 2);
    first.add_mode(r8g8b8a8_unorm, 1920, 1080, 50, 1);
    first.add_mode(r8g8b8a8_unorm, 1280, 720, 60, 0);   // no denominator
    first.add_mode(b8g8r8a8_unorm, 1920, 1080, 60, 1);  // another format
    auto& second = add_output(adapter);
    second.add_mode(r8g8b8a8_unorm, 1920, 1080, 60, 1);
    second.add_mode(r8g8b8a8_unorm, 1920, 1080, 75, 1);
    add_ordinal("Board", 0x0100, 1).add_mode(D3DFMT_X8R8G8B8, 1920, 1080, 60);

    auto list = probe();
    ASSERT_EQ(1, list->count());
    const dx_adapter record = list->adapter(0);
    ASSERT_EQ(4, record.mode_count);
    EXPECT_EQ(1920u, record.modes[0].width);
    EXPECT_EQ("R8G8B8A8_UNORM", record.modes[0].format);
    EXPECT_EQ((std::vector<int32_t>{60, 50, 75}), record.modes[0].refresh_rates);
    EXPECT_EQ(3, record.modes[0].refresh_count);
    EXPECT_EQ(1280u, record.modes[1].width);
    EXPECT_EQ(std::vector<int32_t>{0}, record.modes[1].refresh_rates);
    EXPECT_EQ("B8G8R8A8_UNORM", record.modes[2].format);
    // The same size from Direct3D 9 stays an entry of its own.
    EXPECT_EQ("X8R8G8B8", record.modes[3].format);
    EXPECT_EQ(1920u, record.modes[3].width);
}

TEST_F(D3d10Probe, AdapterWithoutOutputsHasOnlyDirect3D9Modes) {
    add_adapter(L"Headless", 0x0100);
    add_ordinal("Headless", 0x0100, 1).add_mode(D3DFMT_R5G6B5, 800, 600, 60);
    auto list = probe();
    ASSERT_EQ(1, list->count());
    ASSERT_EQ(1, list->adapter(0).mode_count);
    EXPECT_EQ("R5G6B5", list->adapter(0).modes[0].format);
}

TEST_F(D3d10Probe, OverstatedModeCountIsReadOnlyAsFarAsTheBuffer) {
    auto& output = add_output(add_adapter(L"Board", 0x0100));
    output.add_mode(r8g8b8a8_unorm, 1920, 1080, 60, 1);
    output.add_mode(r8g8b8a8_unorm, 1280, 720, 60, 1);
    output.overstated_count = 1000;
    auto list = probe();
    ASSERT_EQ(1, list->count());
    EXPECT_EQ(2, list->adapter(0).mode_count);
}

TEST_F(D3d10Probe, WithoutDirect3D9TheDxgiPartStaysComplete) {
    d3d9_present = false;
    auto& adapter = add_adapter(L"Board", 0x0100);
    adapter.desc.DedicatedVideoMemory = SIZE_T{8} << 30;
    add_output(adapter).add_mode(r8g8b8a8_unorm, 1920, 1080, 60, 1);
    auto list = probe();
    ASSERT_EQ(1, list->count());
    const dx_adapter record = list->adapter(0);
    EXPECT_EQ("Board", record.info.description);
    EXPECT_EQ(0x0100u, record.info.device_id);
    EXPECT_EQ(uint64_t{8} << 30, record.info.dedicated_video_memory);
    EXPECT_EQ("", record.info.driver);
    EXPECT_EQ(1024u, record.caps.PixelShaderVersion);
    EXPECT_EQ(1, record.mode_count);
    EXPECT_FALSE(list->d3d);
}

TEST_F(D3d10Probe, ReferencesAreReleasedWhenConstructionRaises) {
    auto& adapter = add_adapter(L"Board", 0x0100);
    add_output(adapter).throws = true;
    add_ordinal("Board", 0x0100, 1);
    EXPECT_THROW(dxgi_probe list(entry()), std::runtime_error);
    // TearDown checks that every fake is back to zero references.
}

// What cannot be read at all is a reason of its adapter, or of every adapter;
// an adapter without Direct3D 10 is none. (Direct3D 11 and 12, not given
// here, have tests of their own.)
TEST_F(D3d10Probe, WhatCannotBeReadIsAReason) {
    add_adapter(L"Not creatable", 0x0100).device_creatable = false;
    add_ordinal("Not creatable", 0x0100, 1);
    add_adapter(L"Lonely", 0x0200).interface_status = DXGI_ERROR_UNSUPPORTED;
    add_adapter(L"Undescribed", 0x0300).desc_status = E_FAIL;
    const auto reasons = [this] {
        std::vector<said> texts;
        const auto list = probe();
        for (const said& reason : said_of(list->reasons)) {
            if (!reason.text.starts_with("Direct3D 11:") && !reason.text.starts_with("Direct3D 12:")) {
                texts.push_back(reason);
            }
        }
        return texts;
    };
    EXPECT_EQ((std::vector<said>{{0, "Direct3D 10: D3D10CreateDevice failed (0x80004005)"},
                                 {1, "Direct3D 9: no adapter of this PCI identity"},
                                 {-1, "DXGI: GetDesc failed on adapter 2 (0x80004005)"}}),
              reasons());
    d3d9_present = false;
    d3d10_present = false;
    EXPECT_EQ((std::vector<said>{{-1, "Direct3D 9: Direct3DCreate9 failed"},
                                 {0, "Direct3D 10: d3d10.dll or its D3D10CreateDevice is missing"},
                                 {-1, "DXGI: GetDesc failed on adapter 2 (0x80004005)"}}),
              reasons());
}

TEST_F(D3d10Probe, DescriptionsKeepEveryCharacter) {
    // Whatever the code page holds or not, in UTF-8; a character outside the
    // basic plane too.
    add_adapter(L"Radeon\u2122 \u56FE\u5F62 \U0001F5A5", 0x0100);
    add_adapter(std::wstring(128, L'A'), 0x0200);  // fills the array, no NUL
    auto list = probe();
    ASSERT_EQ(2, list->count());
    EXPECT_EQ("Radeon\xE2\x84\xA2 \xE5\x9B\xBE\xE5\xBD\xA2 \xF0\x9F\x96\xA5",
              list->adapter(0).info.description);
    EXPECT_EQ(std::string(128, 'A'), list->adapter(1).info.description);
}

}  // namespace
