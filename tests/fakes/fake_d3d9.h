// A fake IDirect3D9: adapters with identifiers, caps, monitors and modes that
// a test writes, reference counting, and a record of every unexpected call.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace fakes {

struct d3d9_adapter {
    D3DADAPTER_IDENTIFIER9 identifier{};
    D3DCAPS9 caps{};
    HMONITOR monitor = nullptr;
    // The modes listed for each D3DFORMAT value that is asked for.
    std::map<UINT, std::vector<D3DDISPLAYMODE>> modes;
    // Identifier, caps and mode reads fail without writing anything.
    bool failing = false;
    // What CheckDeviceFormat, CheckDeviceMultiSampleType (which may write
    // levels) and CheckDepthStencilMatch answer; unset: D3DERR_NOTAVAILABLE.
    std::function<HRESULT(D3DFORMAT format, DWORD usage, D3DRESOURCETYPE resource)> format_answer;
    std::function<HRESULT(D3DFORMAT format, D3DMULTISAMPLE_TYPE samples, DWORD* levels)> samples_answer;
    std::function<HRESULT(D3DFORMAT target, D3DFORMAT depth)> depth_answer;

    void add_mode(UINT asked_format, UINT width, UINT height, UINT rate, UINT reported_format) {
        modes[asked_format].push_back({width, height, rate, static_cast<D3DFORMAT>(reported_format)});
    }
    void add_mode(UINT format, UINT width, UINT height, UINT rate) {
        add_mode(format, width, height, rate, format);
    }
};

// An identifier with the given PCI identity and a device identifier GUID
// whose first field is guid_seed.
inline D3DADAPTER_IDENTIFIER9 make_identifier(const std::string& description, DWORD vendor, DWORD device,
                                              DWORD subsys, DWORD revision, DWORD guid_seed) {
    D3DADAPTER_IDENTIFIER9 id{};
    description.copy(id.Description, sizeof id.Description - 1);
    std::string("driver.dll").copy(id.Driver, sizeof id.Driver - 1);
    std::string("\\\\.\\DISPLAY1").copy(id.DeviceName, sizeof id.DeviceName - 1);
    id.DriverVersion.QuadPart = 0x0008001100120013LL;
    id.VendorId = vendor;
    id.DeviceId = device;
    id.SubSysId = subsys;
    id.Revision = revision;
    id.DeviceIdentifier = GUID{guid_seed, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};
    id.WHQLLevel = 1;
    return id;
}

// Lives on the test's stack: the reference count starts at 0, the creator
// hands out the first reference, and a correct user brings it back to 0.
class d3d9 final : public IDirect3D9 {
public:
    std::vector<d3d9_adapter> adapters;
    ULONG references = 0;
    int unexpected_calls = 0;  // methods a probe must never call
    int bad_arguments = 0;     // flags other than 0, device types other than HAL

    IDirect3D9* create(UINT sdk_version) {
        last_sdk_version = sdk_version;
        AddRef();
        return this;
    }
    UINT last_sdk_version = 0;

    COM_DECLSPEC_NOTHROW HRESULT WINAPI QueryInterface(REFIID, void** object) override {
        ++unexpected_calls;
        *object = nullptr;
        return E_NOINTERFACE;
    }
    COM_DECLSPEC_NOTHROW ULONG WINAPI AddRef() override { return ++references; }
    COM_DECLSPEC_NOTHROW ULONG WINAPI Release() override { return --references; }

    COM_DECLSPEC_NOTHROW HRESULT WINAPI RegisterSoftwareDevice(void*) override { return unexpected(); }
    COM_DECLSPEC_NOTHROW UINT WINAPI GetAdapterCount() override { return static_cast<UINT>(adapters.size()); }
    COM_DECLSPEC_NOTHROW HRESULT WINAPI GetAdapterIdentifier(UINT adapter, DWORD flags,
                                                             D3DADAPTER_IDENTIFIER9* out) override {
        if (flags != 0) {
            ++bad_arguments;
        }
        if (adapter >= adapters.size() || adapters[adapter].failing) {
            return D3DERR_INVALIDCALL;
        }
        *out = adapters[adapter].identifier;
        return D3D_OK;
    }
    COM_DECLSPEC_NOTHROW UINT WINAPI GetAdapterModeCount(UINT adapter, D3DFORMAT format) override {
        const auto* list = mode_list(adapter, format);
        return list != nullptr ? static_cast<UINT>(list->size()) : 0;
    }
    COM_DECLSPEC_NOTHROW HRESULT WINAPI EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT index,
                                                         D3DDISPLAYMODE* out) override {
        const auto* list = mode_list(adapter, format);
        if (list == nullptr || index >= list->size() || adapters[adapter].failing) {
            return D3DERR_INVALIDCALL;
        }
        *out = (*list)[index];
        return D3D_OK;
    }
    COM_DECLSPEC_NOTHROW HRESULT WINAPI GetAdapterDisplayMode(UINT, D3DDISPLAYMODE*) override {
        return unexpected();
    }
    COM_DECLSPEC_NOTHROW HRESULT WINAPI CheckDeviceType(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT,
                                                        BOOL) override {
        return unexpected();
    }
    COM_DECLSPEC_NOTHROW HRESULT WINAPI CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT desktop,
                                                          DWORD usage, D3DRESOURCETYPE resource,
                                                          D3DFORMAT format) override {
        ++format_questions;
        if (!asked_as_on_the_desktop(adapter, type, desktop)) {
            return D3DERR_INVALIDCALL;
        }
        const auto& answer = adapters[adapter].format_answer;
        return answer ? answer(format, usage, resource) : D3DERR_NOTAVAILABLE;
    }
    COM_DECLSPEC_NOTHROW HRESULT WINAPI CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE type,
                                                                   D3DFORMAT format, BOOL windowed,
                                                                   D3DMULTISAMPLE_TYPE samples,
                                                                   DWORD* levels) override {
        ++format_questions;
        if (!windowed) {
            ++bad_arguments;
        }
        if (!asked_as_on_the_desktop(adapter, type, D3DFMT_X8R8G8B8)) {
            return D3DERR_INVALIDCALL;
        }
        const auto& answer = adapters[adapter].samples_answer;
        return answer ? answer(format, samples, levels) : D3DERR_NOTAVAILABLE;
    }
    COM_DECLSPEC_NOTHROW HRESULT WINAPI CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type,
                                                               D3DFORMAT desktop, D3DFORMAT target,
                                                               D3DFORMAT depth) override {
        ++format_questions;
        if (!asked_as_on_the_desktop(adapter, type, desktop)) {
            return D3DERR_INVALIDCALL;
        }
        const auto& answer = adapters[adapter].depth_answer;
        return answer ? answer(target, depth) : D3DERR_NOTAVAILABLE;
    }
    COM_DECLSPEC_NOTHROW HRESULT WINAPI CheckDeviceFormatConversion(UINT, D3DDEVTYPE, D3DFORMAT,
                                                                    D3DFORMAT) override {
        return unexpected();
    }
    COM_DECLSPEC_NOTHROW HRESULT WINAPI GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* out) override {
        if (type != D3DDEVTYPE_HAL) {
            ++bad_arguments;
        }
        if (adapter >= adapters.size() || adapters[adapter].failing) {
            return D3DERR_INVALIDCALL;
        }
        *out = adapters[adapter].caps;
        return D3D_OK;
    }
    COM_DECLSPEC_NOTHROW HMONITOR WINAPI GetAdapterMonitor(UINT adapter) override {
        return adapter < adapters.size() ? adapters[adapter].monitor : nullptr;
    }
    COM_DECLSPEC_NOTHROW HRESULT WINAPI CreateDevice(UINT, D3DDEVTYPE, HWND, DWORD, D3DPRESENT_PARAMETERS*,
                                                     IDirect3DDevice9**) override {
        return unexpected();
    }

    int format_questions = 0;  // CheckDeviceFormat, CheckDeviceMultiSampleType, CheckDepthStencilMatch

private:
    // A question about an adapter there is, of a HAL device on an X8R8G8B8 desktop.
    bool asked_as_on_the_desktop(UINT adapter, D3DDEVTYPE type, D3DFORMAT desktop) {
        if (type != D3DDEVTYPE_HAL || desktop != D3DFMT_X8R8G8B8) {
            ++bad_arguments;
        }
        return adapter < adapters.size();
    }
    HRESULT unexpected() {
        ++unexpected_calls;
        return E_NOTIMPL;
    }
    const std::vector<D3DDISPLAYMODE>* mode_list(UINT adapter, D3DFORMAT format) const {
        if (adapter >= adapters.size()) {
            return nullptr;
        }
        const auto found = adapters[adapter].modes.find(static_cast<UINT>(format));
        return found != adapters[adapter].modes.end() ? &found->second : nullptr;
    }
};

}  // namespace fakes
