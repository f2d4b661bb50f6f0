// The Direct3D 9 probe: adapters, identity, D3DCAPS9 and display modes.
#include "probe/d3d9_probe.h"

#include "base/platform.h"

d3d9_creator default_d3d9_creator() {
    // Loaded when first asked, not at the program's start: loading Direct3D 9
    // starts its runtime, which the window need not wait for.
    return [](UINT sdk_version) -> IDirect3D9* {
        using create_fn = IDirect3D9*(WINAPI*)(UINT);
        const auto create = get_proc<create_fn>(load_library("d3d9.dll"), "Direct3DCreate9");
        return create != nullptr ? create(sdk_version) : nullptr;
    };
}

d3d9_probe::d3d9_probe(const d3d9_creator& create) {
    adopt(d3d, create(d3d9_sdk_version));
    capture();
}

d3d9_probe::~d3d9_probe() {
    d3d.Reset();
}

void d3d9_probe::capture() {
    // Without Direct3D 9 there is nothing to list.
    if (!d3d) {
        reasons.push_back({"Direct3D 9", -1, "Direct3DCreate9", "Direct3DCreate9 failed", {}});
        return;
    }
    const UINT total = d3d->GetAdapterCount();
    for (UINT ordinal = 0; static_cast<int>(total) > 0 && ordinal < total; ++ordinal) {
        const result<D3DADAPTER_IDENTIFIER9> identified = read_identifier(*d3d.Get(), ordinal);
        const D3DADAPTER_IDENTIFIER9 identifier = identified ? *identified : D3DADAPTER_IDENTIFIER9{};
        D3DCAPS9 caps{};
        const HRESULT described = d3d->GetDeviceCaps(ordinal, D3DDEVTYPE_HAL, &caps);
        // A subordinate head of a multi-head card is part of its master.
        if (caps.AdapterOrdinalInGroup != 0) {
            continue;
        }
        // Another output or board with the same driver and chip.
        if (is_listed(identifier.DeviceIdentifier)) {
            continue;
        }
        // What could not be read stays zero; the reason says so.
        if (!identified) {
            reasons.push_back(identified.why());
            reasons.back().adapter = count();
        }
        if (described != S_OK) {
            reasons.push_back(call_failed("Direct3D 9", count(), "GetDeviceCaps", described,
                                          " on adapter " + std::to_string(ordinal)));
        }
        dx_adapter& record = adapters.emplace_back();
        record.monitor = d3d->GetAdapterMonitor(ordinal);
        record.caps = caps;
        adapter_identity& info = record.info;
        info.driver = ansi_array_text(identifier.Driver);
        info.description = ansi_array_text(identifier.Description);
        info.device_name = ansi_array_text(identifier.DeviceName);
        info.driver_version = identifier.DriverVersion.QuadPart;
        info.vendor_id = identifier.VendorId;
        info.device_id = identifier.DeviceId;
        info.subsys_id = identifier.SubSysId;
        info.revision = identifier.Revision;
        info.device_identifier = identifier.DeviceIdentifier;
        info.whql_level = identifier.WHQLLevel;
        add_d3d9_modes(*d3d.Get(), ordinal, record.modes);
        record.formats9 = read_d3d9_formats(*d3d.Get(), ordinal);
        record.mode_count = static_cast<int32_t>(record.modes.size());
    }
}

bool d3d9_probe::is_listed(const GUID& device_identifier) const {
    for (const auto& record : adapters) {
        if (IsEqualGUID(record.info.device_identifier, device_identifier)) {
            return true;
        }
    }
    return false;
}
