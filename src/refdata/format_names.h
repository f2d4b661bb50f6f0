// The format-name tables: Direct3D 9 and DXGI formats by value, and the
// OpenGL compressed texture formats the report names. Compile-time tables.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

inline constexpr uint32_t d3d9_format_slots = 118;
inline constexpr uint32_t dxgi_format_slots = 89;

// Name of a D3DFORMAT value without its D3DFMT_ prefix; empty for an unnamed
// value and for any value outside the 118 slots.
std::string_view d3d9_format_name(uint32_t value);

// Name of a DXGI_FORMAT value without its DXGI_FORMAT_ prefix; empty for any
// value outside the 89 slots.
std::string_view dxgi_format_name(uint32_t value);

// Name of any published DXGI_FORMAT value up to 191 without its prefix:
// the 89 slots and the formats published after them; empty for a value
// without a name.
std::string_view published_dxgi_format_name(uint32_t value);

// A Direct3D 9 format of the Formats page: its D3DFORMAT value and its name,
// "D3DFMT_A8R8G8B8" or, for a vendor's four-character format, "INTZ".
struct d3d9_format_entry {
    uint32_t value;
    const char* name;
};

// Every D3DFORMAT of d3d9types.h a resource can have, in the header's order
// (not UNKNOWN, VERTEXDATA, INDEX16, INDEX32, BINARYBUFFER or FORCE_DWORD),
// then the vendors' four-character formats that engines ask for.
std::span<const d3d9_format_entry> d3d9_resource_formats();

// An OpenGL compressed texture format: its enumerant and published name.
struct compressed_format {
    uint32_t value;
    const char* name;
};

// The compressed texture formats the report names, in report order.
std::span<const compressed_format> compressed_formats();

// A core Vulkan format: its value, published name and the Vulkan version
// that made it core (10, 11 or 13).
struct vk_format_entry {
    uint32_t value;
    const char* name;
    int since;
};

// Every core format of Vulkan 1.0 to 1.3, by version and then by value
// (the 1.3 formats in the order the version added them).
std::span<const vk_format_entry> vk_core_formats();
