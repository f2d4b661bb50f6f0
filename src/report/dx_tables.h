// The D3DCAPS9 rows of the DirectX pages as data: flag groups with their
// masks and descriptions, and number rows bound to their fields.
#pragma once

#include <span>

#include "probe/records.h"  // D3DCAPS9 and its shader records

// One flag row: shown "yes" when the group's field holds any bit of mask.
struct flag_row {
    const char* name;
    DWORD mask;
    const char* description;
};

// A section row naming a D3DCAPS9 field, then its flag rows.
struct flag_group {
    const char* section;
    const char* description;
    DWORD D3DCAPS9::*field;
    std::span<const flag_row> rows;
};

enum class value_kind { dword32, uint32, float32 };

// A row showing one D3DCAPS9 field as a number; the kind says which of the
// three member pointers is set.
struct number_row {
    const char* name;
    value_kind kind;
    DWORD D3DCAPS9::*dword_field = nullptr;
    UINT D3DCAPS9::*uint_field = nullptr;
    float D3DCAPS9::*float_field = nullptr;
    const char* description = "";
};

constexpr number_row caps_number(const char* name, DWORD D3DCAPS9::*field, const char* description) {
    return {name, value_kind::dword32, field, nullptr, nullptr, description};
}
constexpr number_row caps_number(const char* name, UINT D3DCAPS9::*field, const char* description) {
    return {name, value_kind::uint32, nullptr, field, nullptr, description};
}
constexpr number_row caps_number(const char* name, float D3DCAPS9::*field, const char* description) {
    return {name, value_kind::float32, nullptr, nullptr, field, description};
}

// A signed field of the shader 2.0 capability records.
template <typename Caps>
struct shader_caps_row {
    const char* name;
    INT Caps::*field;
    const char* description;
};

namespace dx_rows {

// Device page.
extern const std::span<const number_row> adapter_group;
extern const flag_group dev_caps;
extern const flag_group dev_caps2;

// Capabilities page.
extern const std::span<const number_row> capabilities;
extern const std::span<const flag_group> capability_groups;

// Vertices page.
extern const std::span<const number_row> vertices;
extern const std::span<const flag_group> vertex_groups;

// Rendering page.
extern const std::span<const number_row> rendering;
extern const std::span<const number_row> rendering_filtering;
extern const std::span<const flag_group> rendering_groups;

// Textures page.
extern const std::span<const number_row> texture_sizes;
extern const std::span<const number_row> guard_band;
extern const std::span<const flag_group> texture_groups;

// Blending and Buffers pages.
extern const std::span<const flag_group> blending_groups;
extern const std::span<const flag_group> buffer_groups;

// Vertex Shader page.
extern const char* const vertex_shader_version;
extern const std::span<const number_row> vertex_shader;
extern const char* const vs20_section;
extern const char* const vs20_caps;
extern const std::span<const shader_caps_row<D3DVSHADERCAPS2_0>> vs20_rows;
extern const flag_group vertex_texture_filter;

// Pixel Shader page.
extern const char* const pixel_shader_version;
extern const std::span<const number_row> pixel_shader;
extern const char* const ps20_section;
extern const char* const ps20_caps;
extern const std::span<const shader_caps_row<D3DPSHADERCAPS2_0>> ps20_rows;

}  // namespace dx_rows
