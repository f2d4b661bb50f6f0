// The DXGI and Direct3D 10 probe: adapters, identity, memory, outputs and modes.
#include "probe/dxgi_probe.h"

#include <dxgi1_6.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <limits>
#include <string>
#include <vector>

#include "base/platform.h"
#include "base/text.h"
#include "refdata/format_names.h"

namespace {

using create_factory_fn = HRESULT(WINAPI*)(REFIID, void**);
using create_device_fn = HRESULT(WINAPI*)(IDXGIAdapter*, D3D10_DRIVER_TYPE, HMODULE, UINT, UINT,
                                          ID3D10Device**);

constexpr UINT d3d10_sdk_version = 29;
constexpr DWORD shader_model_4 = 0x00000400;

bool same_pci_identity(DWORD vendor, DWORD device, DWORD subsys, DWORD revision,
                       const adapter_identity& info) {
    return vendor == info.vendor_id && device == info.device_id && subsys == info.subsys_id &&
           revision == info.revision;
}

bool same_pci_identity(const D3DADAPTER_IDENTIFIER9& identifier, const adapter_identity& info) {
    return same_pci_identity(identifier.VendorId, identifier.DeviceId, identifier.SubSysId,
                             identifier.Revision, info);
}

bool same_pci_identity(const adapter_identity& a, const adapter_identity& b) {
    return same_pci_identity(a.vendor_id, a.device_id, a.subsys_id, a.revision, b);
}

// The factory every DXGI reading starts from, or why DXGI is missing.
result<Microsoft::WRL::ComPtr<IDXGIFactory>> create_factory(const dx10_entry_points& entry) {
    if (!entry.CreateDXGIFactory) {
        return reason{"DXGI", -1, "CreateDXGIFactory", "dxgi.dll or its CreateDXGIFactory is missing", {}};
    }
    Microsoft::WRL::ComPtr<IDXGIFactory> factory;
    const HRESULT status =
        entry.CreateDXGIFactory(__uuidof(IDXGIFactory), reinterpret_cast<void**>(factory.GetAddressOf()));
    if (status != S_OK || !factory) {
        return call_failed("DXGI", -1, "CreateDXGIFactory", status);
    }
    return factory;
}

}  // namespace

dx10_entry_points load_dx10_entry_points() {
    const auto create_device = get_proc<create_device_fn>(load_library("d3d10.dll"), "D3D10CreateDevice");
    const auto create_factory = get_proc<create_factory_fn>(load_library("dxgi.dll"), "CreateDXGIFactory");
    dx10_entry_points entry;
    if (create_factory != nullptr) {
        entry.CreateDXGIFactory = create_factory;
    }
    if (create_device != nullptr) {
        entry.D3D10CreateDevice = create_device;
    }
    entry.Direct3DCreate9 = default_d3d9_creator();
    entry.direct3d11_12 = load_d3d11_12_entry_points();
    return entry;
}

int32_t dxgi_refresh_rate(const DXGI_RATIONAL& rate) {
    if (rate.Denominator == 0) {
        return 0;
    }
    // The default rounding mode rounds halves to even.
    const double hertz = std::nearbyint(static_cast<double>(rate.Numerator) / rate.Denominator);
    if (hertz > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(hertz);
}

std::string description_text(const WCHAR (&description)[128]) {
    return utf8_of(std::wstring_view(description, wcsnlen(description, 128)));
}

namespace {

// An adapter of DXGI's list as its description gives it; none for what is
// not a board.
std::optional<dx_adapter> listed_adapter(const DXGI_ADAPTER_DESC& desc) {
    std::string description = description_text(desc.Description);
    // A performance tool's pseudo-adapter, not a board.
    if (description == "NVIDIA PerfHUD") {
        return std::nullopt;
    }
    dx_adapter record;
    record.info.description = std::move(description);
    record.info.vendor_id = desc.VendorId;
    record.info.device_id = desc.DeviceId;
    record.info.subsys_id = desc.SubSysId;
    record.info.revision = desc.Revision;
    record.info.dedicated_video_memory = desc.DedicatedVideoMemory;
    record.info.dedicated_system_memory = desc.DedicatedSystemMemory;
    record.info.shared_system_memory = desc.SharedSystemMemory;
    record.read_through_dxgi = true;
    record.info.has_luid = true;
    std::memcpy(record.info.luid.data(), &desc.AdapterLuid, record.info.luid.size());
    return record;
}

}  // namespace

dxgi_probe::dxgi_probe(const dx10_entry_points& entry) {
    result<Microsoft::WRL::ComPtr<IDXGIFactory>> made = create_factory(entry);
    if (!made) {
        answered = false;
        reasons.push_back(made.why());
        return;
    }
    factory = std::move(*made);
    if (entry.Direct3DCreate9) {
        adopt(d3d, entry.Direct3DCreate9(d3d9_sdk_version));
    }
    if (!d3d) {
        reasons.push_back({"Direct3D 9", -1, "Direct3DCreate9", "Direct3DCreate9 failed", {}});
    }
    Microsoft::WRL::ComPtr<IDXGIFactory5> factory5;
    if (factory.As(&factory5) == S_OK) {
        BOOL allowed = FALSE;
        if (factory5->CheckFeatureSupport(DXGI_FEATURE_PRESENT_ALLOW_TEARING, &allowed, sizeof allowed) ==
            S_OK) {
            tearing = allowed != FALSE;
        }
    }
    capture(entry);
}

dxgi_probe::~dxgi_probe() {
    factory.Reset();
    d3d.Reset();
    output.Reset();
    device.Reset();
    dxgi_adapter.Reset();
}

void dxgi_probe::capture(const dx10_entry_points& entry) {
    for (UINT index = 0;; ++index) {
        if (factory->EnumAdapters(index, dxgi_adapter.ReleaseAndGetAddressOf()) != S_OK || !dxgi_adapter) {
            break;
        }
        DXGI_ADAPTER_DESC desc{};
        if (const HRESULT status = dxgi_adapter->GetDesc(&desc); status != S_OK) {
            reasons.push_back(
                call_failed("DXGI", -1, "GetDesc", status, " on adapter " + std::to_string(index)));
            continue;
        }
        std::optional<dx_adapter> listed = listed_adapter(desc);
        if (!listed) {
            continue;
        }
        dx_adapter& record = adapters.emplace_back(std::move(*listed));
        record.tearing = tearing;

        complete_identity(record);
        test_shader_model(entry, record);
        if (entry.read_d3d11_12) {
            d3d11_12_probed probed = probe_d3d11_12(dxgi_adapter.Get(), entry.direct3d11_12);
            record.d3d11_12 = std::move(probed.record);
            for (reason& why : probed.reasons) {
                why.adapter = count() - 1;
                reasons.push_back(std::move(why));
            }
        }
        read_budget(record);
        add_dxgi_modes(record);
        add_matching_d3d9_modes(record);

        record.mode_count = static_cast<int32_t>(record.modes.size());
        dxgi_adapter.Reset();
    }
    dxgi_adapter.Reset();
}

// Calls visit with each Direct3D 9 ordinal of the record's PCI identity and
// its identifier, in ordinal order, until visit returns false.
template <typename Visit>
void dxgi_probe::each_matching_ordinal(const adapter_identity& info, Visit visit) {
    if (!d3d) {
        return;
    }
    const UINT total = d3d->GetAdapterCount();
    for (UINT ordinal = 0; ordinal < total; ++ordinal) {
        const result<D3DADAPTER_IDENTIFIER9> identifier = read_identifier(*d3d.Get(), ordinal);
        if (identifier && same_pci_identity(*identifier, info) && !visit(ordinal, *identifier)) {
            return;
        }
    }
}

void dxgi_probe::complete_identity(dx_adapter& record) {
    // The first matching ordinal only.
    bool matched = false;
    each_matching_ordinal(record.info, [&](UINT ordinal, const D3DADAPTER_IDENTIFIER9& identifier) {
        record.info.driver = ansi_array_text(identifier.Driver);
        record.info.device_name = ansi_array_text(identifier.DeviceName);
        record.info.driver_version = identifier.DriverVersion.QuadPart;
        record.info.device_identifier = identifier.DeviceIdentifier;
        record.info.whql_level = identifier.WHQLLevel;
        if (const HRESULT status = d3d->GetDeviceCaps(ordinal, D3DDEVTYPE_HAL, &record.caps);
            status != S_OK) {
            reasons.push_back(call_failed("Direct3D 9", count() - 1, "GetDeviceCaps", status,
                                          " on adapter " + std::to_string(ordinal)));
        }
        record.formats9 = read_d3d9_formats(*d3d.Get(), ordinal);
        matched = true;
        return false;
    });
    // Its driver, capabilities and Direct3D 9 modes stay empty.
    if (d3d && !matched) {
        reasons.push_back({"Direct3D 9", count() - 1, {}, "no adapter of this PCI identity", {}});
    }
}

void dxgi_probe::test_shader_model(const dx10_entry_points& entry, dx_adapter& record) {
    LARGE_INTEGER driver_version{};
    // An adapter without Direct3D 10 is no trouble: it keeps its Direct3D 9 shaders.
    if (dxgi_adapter->CheckInterfaceSupport(__uuidof(ID3D10Device), &driver_version) != S_OK) {
        return;
    }
    if (!entry.D3D10CreateDevice) {
        reasons.push_back({"Direct3D 10",
                           count() - 1,
                           "D3D10CreateDevice",
                           "d3d10.dll or its D3D10CreateDevice is missing",
                           {}});
        return;
    }
    const std::lock_guard<std::mutex> one_at_a_time(display_device_lock());
    const HRESULT status = entry.D3D10CreateDevice(dxgi_adapter.Get(), D3D10_DRIVER_TYPE_HARDWARE, nullptr, 0,
                                                   d3d10_sdk_version, device.ReleaseAndGetAddressOf());
    if (status == S_OK) {
        // Overrides what Direct3D 9 reported: the adapter runs shader model 4.0.
        record.caps.VertexShaderVersion = shader_model_4;
        record.caps.PixelShaderVersion = shader_model_4;
    } else {
        reasons.push_back(call_failed("Direct3D 10", count() - 1, "D3D10CreateDevice", status));
    }
    device.Reset();
}

void dxgi_probe::add_dxgi_modes(dx_adapter& record) {
    std::vector<DXGI_MODE_DESC> buffer;
    for (UINT index = 0;; ++index) {
        if (dxgi_adapter->EnumOutputs(index, output.ReleaseAndGetAddressOf()) != S_OK || !output) {
            break;
        }
        read_output(record);
        for (UINT format = 0; format < dxgi_format_slots; ++format) {
            UINT total = 0;
            output->GetDisplayModeList(static_cast<DXGI_FORMAT>(format), DXGI_ENUM_MODES_INTERLACED, &total,
                                       nullptr);
            if (total == 0) {
                continue;
            }
            buffer.assign(total, DXGI_MODE_DESC{});
            UINT returned = total;
            output->GetDisplayModeList(static_cast<DXGI_FORMAT>(format), DXGI_ENUM_MODES_INTERLACED,
                                       &returned, buffer.data());
            if (static_cast<int>(returned) < 1) {
                continue;
            }
            // Never past the buffer, whatever the second call claims.
            const size_t readable = std::min<size_t>(returned, buffer.size());
            for (size_t i = 0; i < readable; ++i) {
                const DXGI_MODE_DESC& mode = buffer[i];
                add_mode(record.modes, mode.Width, mode.Height,
                         dxgi_format_name(static_cast<uint32_t>(mode.Format)),
                         dxgi_refresh_rate(mode.RefreshRate));
            }
        }
        output.Reset();
    }
    output.Reset();
}

void dxgi_probe::add_matching_d3d9_modes(dx_adapter& record) {
    // Every matching ordinal; a later one overwrites an earlier one's monitor.
    each_matching_ordinal(record.info, [&](UINT ordinal, const D3DADAPTER_IDENTIFIER9&) {
        record.monitor = d3d->GetAdapterMonitor(ordinal);
        add_d3d9_modes(*d3d.Get(), ordinal, record.modes);
        return true;
    });
}

void dxgi_probe::read_budget(dx_adapter& record) {
    Microsoft::WRL::ComPtr<IDXGIAdapter3> adapter3;
    if (dxgi_adapter.As(&adapter3) != S_OK) {
        return;
    }
    DXGI_QUERY_VIDEO_MEMORY_INFO local{};
    DXGI_QUERY_VIDEO_MEMORY_INFO non_local{};
    if (adapter3->QueryVideoMemoryInfo(0, DXGI_MEMORY_SEGMENT_GROUP_LOCAL, &local) == S_OK &&
        adapter3->QueryVideoMemoryInfo(0, DXGI_MEMORY_SEGMENT_GROUP_NON_LOCAL, &non_local) == S_OK) {
        record.has_budget = true;
        record.local = {local.Budget, local.CurrentUsage};
        record.non_local = {non_local.Budget, non_local.CurrentUsage};
    }
}

void dxgi_probe::read_output(dx_adapter& record) {
    DXGI_OUTPUT_DESC desc{};
    if (output->GetDesc(&desc) != S_OK) {
        return;
    }
    dxgi_output_record& read = record.outputs.emplace_back();
    read.device_name = utf8_of(std::wstring_view(desc.DeviceName, wcsnlen(desc.DeviceName, 32)));
    const RECT& at = desc.DesktopCoordinates;
    read.desktop = {static_cast<int32_t>(at.left), static_cast<int32_t>(at.top),
                    static_cast<int32_t>(at.right), static_cast<int32_t>(at.bottom)};
    read.attached = desc.AttachedToDesktop != FALSE;
    read.rotation = static_cast<uint32_t>(desc.Rotation);
    // The first monitor on the output's display device.
    DISPLAY_DEVICEW monitor{};
    monitor.cb = sizeof monitor;
    const std::wstring device(desc.DeviceName, wcsnlen(desc.DeviceName, 32));
    if (!device.empty() && EnumDisplayDevicesW(device.c_str(), 0, &monitor, 0)) {
        read.monitor_name =
            utf8_of(std::wstring_view(monitor.DeviceString, wcsnlen(monitor.DeviceString, 128)));
    }
    Microsoft::WRL::ComPtr<IDXGIOutput6> output6;
    DXGI_OUTPUT_DESC1 desc1{};
    if (output.As(&output6) != S_OK || output6->GetDesc1(&desc1) != S_OK) {
        return;
    }
    read.has_desc1 = true;
    read.bits_per_color = desc1.BitsPerColor;
    read.color_space = static_cast<uint32_t>(desc1.ColorSpace);
    read.primaries = {desc1.RedPrimary[0],   desc1.RedPrimary[1],  desc1.GreenPrimary[0],
                      desc1.GreenPrimary[1], desc1.BluePrimary[0], desc1.BluePrimary[1],
                      desc1.WhitePoint[0],   desc1.WhitePoint[1]};
    read.luminance = {desc1.MinLuminance, desc1.MaxLuminance, desc1.MaxFullFrameLuminance};
}

std::vector<d3d11_12_reading> probe_d3d11_12_everywhere(const dx10_entry_points& entry) {
    std::vector<d3d11_12_reading> readings;
    const result<Microsoft::WRL::ComPtr<IDXGIFactory>> factory = create_factory(entry);
    if (!factory) {
        return readings;  // the list says why
    }
    Microsoft::WRL::ComPtr<IDXGIAdapter> adapter;
    for (UINT index = 0; (*factory)->EnumAdapters(index, adapter.ReleaseAndGetAddressOf()) == S_OK && adapter;
         ++index) {
        DXGI_ADAPTER_DESC desc{};
        if (adapter->GetDesc(&desc) != S_OK) {
            continue;
        }
        d3d11_12_reading& reading = readings.emplace_back();
        std::memcpy(reading.luid.data(), &desc.AdapterLuid, reading.luid.size());
        d3d11_12_probed probed = probe_d3d11_12(adapter.Get(), entry.direct3d11_12);
        reading.record = std::move(probed.record);
        reading.reasons = std::move(probed.reasons);
    }
    return readings;
}

std::optional<std::vector<dx_adapter>> list_dxgi_adapters(const dx10_entry_points& entry) {
    const result<Microsoft::WRL::ComPtr<IDXGIFactory>> factory = create_factory(entry);
    if (!factory) {
        return std::nullopt;  // the DirectX probe says why
    }
    std::vector<dx_adapter> adapters;
    std::vector<HMONITOR> last_heads;  // the monitor of each adapter's last output
    Microsoft::WRL::ComPtr<IDXGIAdapter> adapter;
    for (UINT index = 0; (*factory)->EnumAdapters(index, adapter.ReleaseAndGetAddressOf()) == S_OK && adapter;
         ++index) {
        DXGI_ADAPTER_DESC desc{};
        std::optional<dx_adapter> listed;
        if (adapter->GetDesc(&desc) != S_OK || !(listed = listed_adapter(desc))) {
            continue;
        }
        HMONITOR last_head = nullptr;
        Microsoft::WRL::ComPtr<IDXGIOutput> output;
        for (UINT at = 0; adapter->EnumOutputs(at, output.ReleaseAndGetAddressOf()) == S_OK && output; ++at) {
            DXGI_OUTPUT_DESC described{};
            if (output->GetDesc(&described) == S_OK) {
                last_head = described.Monitor;
            }
        }
        adapters.push_back(std::move(*listed));
        last_heads.push_back(last_head);
    }
    // Direct3D 9 numbers every head of every board in this order and gives
    // the boards of one PCI identity the monitor of the last such head: the
    // DXGI probe's monitor, without a Direct3D 9 of its own.
    for (dx_adapter& record : adapters) {
        for (size_t other = 0; other < adapters.size(); ++other) {
            if (last_heads[other] != nullptr && same_pci_identity(adapters[other].info, record.info)) {
                record.monitor = last_heads[other];
            }
        }
    }
    return adapters;
}
