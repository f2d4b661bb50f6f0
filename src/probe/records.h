// The records the probes fill and the report's pages read, and what each
// probe hands back.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/reason.h"
#include "probe/d3d_features.h"
#include "probe/gl_records.h"
#include "probe/vk_records.h"

// One display resolution in one pixel format, with the refresh rates seen
// for it. Entries are the same mode when width, height and format are equal.
struct display_mode {
    uint32_t width = 0;
    uint32_t height = 0;
    std::string format;                  // a name from the format-name tables
    std::vector<int32_t> refresh_rates;  // each rate once, first-seen order
    int32_t refresh_count = 0;           // always refresh_rates.size()
};

// The identity of an adapter: D3DADAPTER_IDENTIFIER9's fields in its order,
// then the two memory sizes of DXGI_ADAPTER_DESC.
struct adapter_identity {
    std::string driver;
    std::string description;
    std::string device_name;
    int64_t driver_version = 0;
    uint32_t vendor_id = 0;
    uint32_t device_id = 0;
    uint32_t subsys_id = 0;
    uint32_t revision = 0;
    GUID device_identifier{};
    uint32_t whql_level = 0;
    // Whole byte counts: today's adapters have more than 4 GiB.
    uint64_t dedicated_video_memory = 0;
    uint64_t dedicated_system_memory = 0;
    uint64_t shared_system_memory = 0;
    // DXGI's locally unique identifier of the adapter, as its eight bytes lie
    // in memory; none on the Direct3D 9 path.
    bool has_luid = false;
    std::array<uint8_t, 8> luid{};
};

// One DXGI output of an adapter: what IDXGIOutput::GetDesc says, and what
// IDXGIOutput6::GetDesc1 adds where the runtime has it.
struct dxgi_output_record {
    std::string device_name;           // "\\.\DISPLAY1", UTF-8
    std::array<int32_t, 4> desktop{};  // left, top, right, bottom
    bool attached = false;             // part of the desktop
    uint32_t rotation = 0;             // a DXGI_MODE_ROTATION
    std::string monitor_name;          // the monitor's description; empty where none is known
    bool has_desc1 = false;            // GetDesc1 answered: the fields below are read
    uint32_t bits_per_color = 0;
    uint32_t color_space = 0;          // a DXGI_COLOR_SPACE_TYPE
    std::array<float, 8> primaries{};  // x and y of red, green, blue and the white point
    std::array<float, 3> luminance{};  // minimum, maximum and full-frame maximum, in nits
};

// What IDXGIAdapter3::QueryVideoMemoryInfo says of one segment group.
struct video_memory_info {
    uint64_t budget = 0;
    uint64_t usage = 0;
};

// What Direct3D 9 may use a format for: one bit each, in the order the
// Formats page lists them.
enum d3d9_format_use : uint32_t {
    d3d9_use_texture = 1u << 0,
    d3d9_use_cube_texture = 1u << 1,
    d3d9_use_volume_texture = 1u << 2,
    d3d9_use_surface = 1u << 3,
    d3d9_use_render_target = 1u << 4,
    d3d9_use_depth_stencil = 1u << 5,
    d3d9_use_depth_texture = 1u << 6,
    d3d9_use_vertex_texture = 1u << 7,
    d3d9_use_filter = 1u << 8,
    d3d9_use_blend = 1u << 9,
    d3d9_use_srgb_read = 1u << 10,
    d3d9_use_srgb_write = 1u << 11,
    d3d9_use_mipmap_generation = 1u << 12,
};
inline constexpr int d3d9_format_use_count = 13;
inline constexpr uint32_t d3d9_most_samples = 16;

// What IDirect3D9 accepts of one format on an adapter: a HAL device on an
// X8R8G8B8 desktop, multisampled in a window.
struct d3d9_format_support {
    uint32_t format = 0;  // a D3DFORMAT
    uint32_t uses = 0;    // d3d9_format_use bits accepted
    // Bit n: n samples accepted (2 to 16), with quality_levels[n] levels.
    uint32_t sample_counts = 0;
    std::array<uint32_t, d3d9_most_samples + 1> quality_levels{};
    // CheckDepthStencilMatch with an X8R8G8B8 and an A8R8G8B8 render target,
    // asked of a format accepted as a depth stencil; none where not asked or
    // where the call failed.
    std::optional<bool> depth_match_x8r8g8b8;
    std::optional<bool> depth_match_a8r8g8b8;
    // Calls that failed rather than refused (neither D3D_OK, D3DOK_NOAUTOGEN,
    // D3DERR_NOTAVAILABLE nor D3DERR_INVALIDCALL): how many, and the first.
    int asked = 0;
    int failed = 0;
    std::string failed_call;
    int32_t failed_status = 0;
};

// Everything known about one Direct3D adapter. A new record is all zeros.
struct dx_adapter {
    HMONITOR monitor = nullptr;
    adapter_identity info;
    int32_t mode_count = 0;  // always modes.size()
    std::vector<display_mode> modes;
    D3DCAPS9 caps{};
    // Every format of d3d9_resource_formats(), in its order; empty where
    // Direct3D 9 could not be asked on this adapter.
    std::vector<d3d9_format_support> formats9;
    // The rest is read on the DXGI path only.
    bool read_through_dxgi = false;  // the memory sizes and outputs were read
    d3d11_12_record d3d11_12;
    std::vector<dxgi_output_record> outputs;
    bool has_budget = false;  // the runtime has IDXGIAdapter3: local and non-local are read
    video_memory_info local;
    video_memory_info non_local;
    std::optional<bool> tearing;  // IDXGIFactory5's ALLOW_TEARING; none where the runtime lacks it
};

// What the DirectX probe (or its Direct3D 9 fallback) hands back: values
// only, its platform objects released on its own thread.
struct adapter_records {
    bool answered = false;  // the API was there; false where it is missing or its probe raised
                            // (the fallback is asked then)
    std::vector<dx_adapter> adapters;
    // What could not be read at all: a library, a device, an adapter's
    // identity, never a single query the platform does not answer.
    std::vector<reason> reasons;
};
