// The adapter list that both Direct3D probes fill, and the capture steps
// they share.
#pragma once

#include <d3d9.h>

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "probe/records.h"

// Base of the Direct3D probes. A probe fills the list, and says what it
// could not read, in its constructor and never changes either afterwards;
// the capture moves both out and destroys the probe, with its platform
// objects, on the thread that made it.
class direct3d_probe {
public:
    direct3d_probe() = default;
    virtual ~direct3d_probe() = default;

    direct3d_probe(const direct3d_probe&) = delete;
    direct3d_probe& operator=(const direct3d_probe&) = delete;

    // A copy of record i (0 <= i < count()), the caller's own.
    dx_adapter adapter(int i) const;
    int32_t count() const { return static_cast<int32_t>(adapters.size()); }

    std::vector<dx_adapter> adapters;
    std::vector<reason> reasons;  // in the order they arose
    bool answered = true;         // false: the API itself is missing

    // The records and reasons, moved out.
    adapter_records take() { return {answered, std::move(adapters), std::move(reasons)}; }
};

// The version passed to Direct3DCreate9: SDK 32 with the debug-information
// marker bit set.
inline constexpr UINT d3d9_sdk_version = 0x80000020;

// Text of a fixed character array: up to its first NUL, or all of it when
// there is none.
std::string array_text(const char* chars, size_t size);

template <size_t N>
std::string array_text(const char (&chars)[N]) {
    return array_text(chars, N);
}

// A fixed character array in the ANSI code page, as Direct3D 9 fills its
// identifier, in UTF-8.
template <size_t N>
std::string ansi_array_text(const char (&chars)[N]) {
    return utf8_of_ansi(array_text(chars, N));
}

// Finds the entry for (width, height, format) in modes, appending it when
// missing, and adds rate to it unless already listed.
void add_mode(std::vector<display_mode>& modes, uint32_t width, uint32_t height, std::string_view format,
              int32_t rate);

// Appends the Direct3D 9 modes of one ordinal, for the D3DFORMAT values 20 to
// 117, named with the Direct3D 9 format table.
void add_d3d9_modes(IDirect3D9& d3d, UINT ordinal, std::vector<display_mode>& modes);

// What one ordinal accepts of every format of d3d9_resource_formats(), in
// its order: a use, the sample counts and, for depth formats, the
// depth-stencil matches; about 2,000 calls.
std::vector<d3d9_format_support> read_d3d9_formats(IDirect3D9& d3d, UINT ordinal);

// Upper-case hex: Data1 with at least four digits, Data2 and Data3 with four,
// then the eight Data4 bytes unseparated; three hyphens, no braces.
std::string guid_text(const GUID& guid);

// The identifier of one ordinal, or why GetAdapterIdentifier gave none.
result<D3DADAPTER_IDENTIFIER9> read_identifier(IDirect3D9& d3d, UINT ordinal);

// A reason of a Direct3D call that failed with status: "GetDeviceCaps failed
// on adapter 0 (0x8876086C)", where is " on adapter 0" or empty.
reason call_failed(const char* part, int adapter, const char* call, HRESULT status,
                   const std::string& where = {});

// Held while a probe makes, uses and frees a Direct3D device or an OpenGL
// context on the display: the probes run side by side, and under Wine an
// OpenGL context made while another thread makes a Direct3D device over
// Vulkan can deadlock in the X client library.
std::mutex& display_device_lock();
