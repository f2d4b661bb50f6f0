// The DXGI and Direct3D 10 probe: adapters, identity and memory from DXGI,
// completed from the Direct3D 9 ordinal with the same PCI identity.
#pragma once

#include <d3d10.h>
#include <d3d9.h>
#include <dxgi.h>
#include <wrl/client.h>

#include <array>
#include <functional>
#include <string>
#include <optional>
#include <vector>

#include "probe/d3d_common.h"
#include "probe/d3d9_probe.h"
#include "probe/d3d11_12_probe.h"

// The three entry points the probe calls. An empty CreateDXGIFactory or
// D3D10CreateDevice means the library or its symbol is missing.
struct dx10_entry_points {
    using factory_creator = std::function<HRESULT(REFIID riid, void** factory)>;
    factory_creator CreateDXGIFactory;
    std::function<HRESULT(IDXGIAdapter* adapter, D3D10_DRIVER_TYPE driver_type, HMODULE software, UINT flags,
                          UINT sdk_version, ID3D10Device** device)>
        D3D10CreateDevice;
    d3d9_creator Direct3DCreate9;
    d3d11_12_entry_points direct3d11_12;  // empty: Direct3D 11 and 12 are not read
    // False: the enumeration leaves Direct3D 11 and 12 to a probe of their
    // own (probe_d3d11_12_everywhere), which the capture runs beside it.
    bool read_d3d11_12 = true;
};

// Loads "d3d10.dll", then "dxgi.dll", and looks their entry points up by
// name, then those of Direct3D 11 and 12; the libraries stay loaded until
// the process ends.
dx10_entry_points load_dx10_entry_points();

class dxgi_probe : public direct3d_probe {
public:
    // Lists the adapters. Where DXGI is not available, the list is empty,
    // answered is false and a reason says why.
    explicit dxgi_probe(const dx10_entry_points& entry = load_dx10_entry_points());
    ~dxgi_probe() override;

    Microsoft::WRL::ComPtr<IDXGIFactory> factory;
    Microsoft::WRL::ComPtr<IDirect3D9> d3d;
    // Working references, held only while one output, trial device or
    // adapter is being read.
    Microsoft::WRL::ComPtr<IDXGIOutput> output;
    Microsoft::WRL::ComPtr<ID3D10Device> device;
    Microsoft::WRL::ComPtr<IDXGIAdapter> dxgi_adapter;

private:
    void capture(const dx10_entry_points& entry);
    template <typename Visit>
    void each_matching_ordinal(const adapter_identity& info, Visit visit);
    void complete_identity(dx_adapter& record);
    void test_shader_model(const dx10_entry_points& entry, dx_adapter& record);
    void add_dxgi_modes(dx_adapter& record);
    void read_budget(dx_adapter& record);
    void read_output(dx_adapter& record);
    std::optional<bool> tearing;
    void add_matching_d3d9_modes(dx_adapter& record);
};

// What Direct3D 11 and 12 say of one DXGI adapter, found by its LUID.
struct d3d11_12_reading {
    std::array<uint8_t, 8> luid{};
    d3d11_12_record record;
    std::vector<reason> reasons;  // for the adapter of that LUID
};

// Direct3D 11 and 12 on every DXGI adapter, through a factory of its own,
// so that it can run beside the other probes; nothing where DXGI is missing
// (the enumeration says so).
std::vector<d3d11_12_reading> probe_d3d11_12_everywhere(const dx10_entry_points& entry);

// The adapters DXGI lists, with what their descriptions say and the
// monitor the DXGI probe would give them: the list the window shows first.
// None where DXGI is missing.
std::optional<std::vector<dx_adapter>> list_dxgi_adapters(const dx10_entry_points& entry);

// A DXGI refresh rate in whole hertz: the quotient rounded half to even;
// 0 when the denominator is 0.
int32_t dxgi_refresh_rate(const DXGI_RATIONAL& rate);

// A DXGI description (UTF-16, up to the first NUL or all 128 units) in
// UTF-8, every character kept.
std::string description_text(const WCHAR (&description)[128]);
