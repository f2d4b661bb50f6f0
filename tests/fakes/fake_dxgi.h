// Fake DXGI objects: a factory with adapters, adapters with outputs, and
// outputs with display modes. Each counts its references and every call a
// probe must never make.
#pragma once

#include <windows.h>
#include <d3d10.h>
#include <dxgi.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace fakes {

// IUnknown and IDXGIObject for the fakes below.
template <typename Interface>
class dxgi_object : public Interface {
public:
    ULONG references = 0;
    int unexpected_calls = 0;

    // An older runtime: none of the later interfaces.
    HRESULT WINAPI QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG WINAPI AddRef() override { return ++references; }
    ULONG WINAPI Release() override { return --references; }
    HRESULT WINAPI SetPrivateData(REFGUID, UINT, const void*) override { return unexpected(); }
    HRESULT WINAPI SetPrivateDataInterface(REFGUID, const IUnknown*) override { return unexpected(); }
    HRESULT WINAPI GetPrivateData(REFGUID, UINT*, void*) override { return unexpected(); }
    HRESULT WINAPI GetParent(REFIID, void**) override { return unexpected(); }

protected:
    HRESULT unexpected() {
        ++unexpected_calls;
        return E_NOTIMPL;
    }
};

class dxgi_output final : public dxgi_object<IDXGIOutput> {
public:
    // The modes listed for each DXGI_FORMAT value that is asked for.
    std::map<UINT, std::vector<DXGI_MODE_DESC>> modes;
    // The second call of GetDisplayModeList claims this many more modes than
    // it was given room for.
    UINT overstated_count = 0;
    bool throws = false;
    int bad_flags = 0;

    void add_mode(UINT format, UINT width, UINT height, UINT numerator, UINT denominator) {
        DXGI_MODE_DESC mode{};
        mode.Width = width;
        mode.Height = height;
        mode.RefreshRate = {numerator, denominator};
        mode.Format = static_cast<DXGI_FORMAT>(format);
        modes[format].push_back(mode);
    }

    DXGI_OUTPUT_DESC desc{};

    HRESULT WINAPI GetDesc(DXGI_OUTPUT_DESC* out) override {
        *out = desc;
        return S_OK;
    }
    HRESULT WINAPI GetDisplayModeList(DXGI_FORMAT format, UINT flags, UINT* count,
                                      DXGI_MODE_DESC* out) override {
        if (throws) {
            throw std::runtime_error("output failed");
        }
        if (flags != DXGI_ENUM_MODES_INTERLACED) {
            ++bad_flags;
        }
        const auto found = modes.find(static_cast<UINT>(format));
        const UINT total = found != modes.end() ? static_cast<UINT>(found->second.size()) : 0;
        if (out == nullptr) {
            *count = total;
            return S_OK;
        }
        const UINT copied = std::min(*count, total);
        for (UINT i = 0; i < copied; ++i) {
            out[i] = found->second[i];
        }
        *count = copied + overstated_count;
        return copied < total ? DXGI_ERROR_MORE_DATA : S_OK;
    }
    HRESULT WINAPI FindClosestMatchingMode(const DXGI_MODE_DESC*, DXGI_MODE_DESC*, IUnknown*) override {
        return unexpected();
    }
    HRESULT WINAPI WaitForVBlank() override { return unexpected(); }
    HRESULT WINAPI TakeOwnership(IUnknown*, BOOL) override { return unexpected(); }
    void WINAPI ReleaseOwnership() override { ++unexpected_calls; }
    HRESULT WINAPI GetGammaControlCapabilities(DXGI_GAMMA_CONTROL_CAPABILITIES*) override {
        return unexpected();
    }
    HRESULT WINAPI SetGammaControl(const DXGI_GAMMA_CONTROL*) override { return unexpected(); }
    HRESULT WINAPI GetGammaControl(DXGI_GAMMA_CONTROL*) override { return unexpected(); }
    HRESULT WINAPI SetDisplaySurface(IDXGISurface*) override { return unexpected(); }
    HRESULT WINAPI GetDisplaySurfaceData(IDXGISurface*) override { return unexpected(); }
    HRESULT WINAPI GetFrameStatistics(DXGI_FRAME_STATISTICS*) override { return unexpected(); }
};

class dxgi_adapter final : public dxgi_object<IDXGIAdapter> {
public:
    DXGI_ADAPTER_DESC desc{};
    HRESULT desc_status = S_OK;
    HRESULT interface_status = S_OK;  // CheckInterfaceSupport for ID3D10Device
    bool device_creatable = true;     // the fake D3D10CreateDevice succeeds
    std::vector<dxgi_output*> outputs;

    void describe(const std::wstring& description, UINT vendor, UINT device, UINT subsys, UINT revision) {
        description.copy(desc.Description, 128);
        desc.VendorId = vendor;
        desc.DeviceId = device;
        desc.SubSysId = subsys;
        desc.Revision = revision;
    }

    HRESULT WINAPI EnumOutputs(UINT index, IDXGIOutput** out) override {
        if (index >= outputs.size()) {
            *out = nullptr;
            return DXGI_ERROR_NOT_FOUND;
        }
        outputs[index]->AddRef();
        *out = outputs[index];
        return S_OK;
    }
    HRESULT WINAPI GetDesc(DXGI_ADAPTER_DESC* out) override {
        if (desc_status == S_OK) {
            *out = desc;
        }
        return desc_status;
    }
    HRESULT WINAPI CheckInterfaceSupport(REFGUID guid, LARGE_INTEGER* version) override {
        if (!IsEqualGUID(guid, __uuidof(ID3D10Device))) {
            return unexpected();
        }
        version->QuadPart = 0x0008001100120013LL;
        return interface_status;
    }
};

class dxgi_factory final : public dxgi_object<IDXGIFactory> {
public:
    std::vector<dxgi_adapter*> adapters;

    HRESULT WINAPI EnumAdapters(UINT index, IDXGIAdapter** out) override {
        if (index >= adapters.size()) {
            *out = nullptr;
            return DXGI_ERROR_NOT_FOUND;
        }
        adapters[index]->AddRef();
        *out = adapters[index];
        return S_OK;
    }
    HRESULT WINAPI MakeWindowAssociation(HWND, UINT) override { return unexpected(); }
    HRESULT WINAPI GetWindowAssociation(HWND*) override { return unexpected(); }
    HRESULT WINAPI CreateSwapChain(IUnknown*, DXGI_SWAP_CHAIN_DESC*, IDXGISwapChain**) override {
        return unexpected();
    }
    HRESULT WINAPI CreateSoftwareAdapter(HMODULE, IDXGIAdapter**) override { return unexpected(); }
};

}  // namespace fakes
