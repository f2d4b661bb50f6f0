#include "refdata/format_names.h"

#include <algorithm>
#include <array>

namespace {

using d3d9_table = std::array<std::string_view, d3d9_format_slots>;

// Direct3D 9 names bound to their D3DFORMAT values; every other slot is empty.
constexpr d3d9_table make_d3d9_names() {
    struct named {
        uint32_t value;
        std::string_view name;
    };
    constexpr named names[] = {
        {0, "UNKNOWN"},
        {20, "R8G8B8"},
        {21, "A8R8G8B8"},
        {22, "X8R8G8B8"},
        {23, "R5G6B5"},
        {24, "X1R5G5B5"},
        {25, "A1R5G5B5"},
        {26, "A4R4G4B4"},
        {27, "R3G3B2"},
        {28, "A8"},
        {29, "A8R3G3B2"},
        {30, "X4R4G4B4"},
        {31, "A2B10G10R10"},
        {32, "A8B8G8R8"},
        {33, "X8B8G8R8"},
        {34, "G16R16"},
        {35, "A2R10G10B10"},
        {36, "A16B16G16R16"},
        {40, "A8P8"},
        {41, "P8"},
        {50, "L8"},
        {51, "A8L8"},
        {52, "A4L4"},
        {60, "V8U8"},
        {61, "L6V5U5"},
        {62, "X8L8V8U8"},
        {63, "Q8W8V8U8"},
        {64, "V16U16"},
        {67, "A2W10V10U10"},
        {68, "A8X8V8U8"},
        {69, "L8X8V8U8"},
        {70, "D16_LOCKABLE"},
        {71, "D32"},
        {73, "D15S1"},
        {75, "D24S8"},
        {77, "D24X8"},
        {79, "D24X4S4"},
        {80, "D16"},
        {81, "L16"},
        {82, "D32F_LOCKABLE"},
        {83, "D24FS8"},
        {100, "VERTEXDATA"},
        {101, "INDEX16"},
        {102, "INDEX32"},
        {110, "Q16W16V16U16"},
        {111, "R16F"},
        {112, "G16R16F"},
        {113, "A16B16G16R16F"},
        {114, "R32F"},
        {115, "G32R32F"},
        {116, "A32B32G32R32F"},
        {117, "CxV8U8"},
    };
    static_assert(std::size(names) == 52);
    d3d9_table table{};
    for (const auto& entry : names) {
        table[entry.value] = entry.name;
    }
    return table;
}

constexpr d3d9_table d3d9_names = make_d3d9_names();

// DXGI_FORMAT names for the values 0 to 88, without gaps.
constexpr std::array<std::string_view, dxgi_format_slots> dxgi_names = {
    "UNKNOWN",
    "R32G32B32A32_TYPELESS",
    "R32G32B32A32_FLOAT",
    "R32G32B32A32_UINT",
    "R32G32B32A32_SINT",
    "R32G32B32_TYPELESS",
    "R32G32B32_FLOAT",
    "R32G32B32_UINT",
    "R32G32B32_SINT",
    "R16G16B16A16_TYPELESS",
    "R16G16B16A16_FLOAT",
    "R16G16B16A16_UNORM",
    "R16G16B16A16_UINT",
    "R16G16B16A16_SNORM",
    "R16G16B16A16_SINT",
    "R32G32_TYPELESS",
    "R32G32_FLOAT",
    "R32G32_UINT",
    "R32G32_SINT",
    "R32G8X24_TYPELESS",
    "D32_FLOAT_S8X24_UINT",
    "R32_FLOAT_X8X24_TYPELESS",
    "X32_TYPELESS_G8X24_UINT",
    "R10G10B10A2_TYPELESS",
    "R10G10B10A2_UNORM",
    "R10G10B10A2_UINT",
    "R11G11B10_FLOAT",
    "R8G8B8A8_TYPELESS",
    "R8G8B8A8_UNORM",
    "R8G8B8A8_UNORM_SRGB",
    "R8G8B8A8_UINT",
    "R8G8B8A8_SNORM",
    "R8G8B8A8_SINT",
    "R16G16_TYPELESS",
    "R16G16_FLOAT",
    "R16G16_UNORM",
    "R16G16_UINT",
    "R16G16_SNORM",
    "R16G16_SINT",
    "R32_TYPELESS",
    "D32_FLOAT",
    "R32_FLOAT",
    "R32_UINT",
    "R32_SINT",
    "R24G8_TYPELESS",
    "D24_UNORM_S8_UINT",
    "R24_UNORM_X8_TYPELESS",
    "X24_TYPELESS_G8_UINT",
    "R8G8_TYPELESS",
    "R8G8_UNORM",
    "R8G8_UINT",
    "R8G8_SNORM",
    "R8G8_SINT",
    "R16_TYPELESS",
    "R16_FLOAT",
    "D16_UNORM",
    "R16_UNORM",
    "R16_UINT",
    "R16_SNORM",
    "R16_SINT",
    "R8_TYPELESS",
    "R8_UNORM",
    "R8_UINT",
    "R8_SNORM",
    "R8_SINT",
    "A8_UNORM",
    "R1_UNORM",
    "R9G9B9E5_SHAREDEXP",
    "R8G8_B8G8_UNORM",
    "G8R8_G8B8_UNORM",
    "BC1_TYPELESS",
    "BC1_UNORM",
    "BC1_UNORM_SRGB",
    "BC2_TYPELESS",
    "BC2_UNORM",
    "BC2_UNORM_SRGB",
    "BC3_TYPELESS",
    "BC3_UNORM",
    "BC3_UNORM_SRGB",
    "BC4_TYPELESS",
    "BC4_UNORM",
    "BC4_SNORM",
    "BC5_TYPELESS",
    "BC5_UNORM",
    "BC5_SNORM",
    "B5G6R5_UNORM",
    "B5G5R5A1_UNORM",
    "B8G8R8A8_UNORM",
    "B8G8R8X8_UNORM",
};

static_assert(dxgi_names[88] == "B8G8R8X8_UNORM");
static_assert(std::ranges::none_of(dxgi_names, [](std::string_view name) { return name.empty(); }));

// Report order, not numeric order: FXT1 first, S3TC last.
constexpr compressed_format compressed_list[] = {
    {0x86B0, "GL_COMPRESSED_RGB_FXT1_3DFX"},
    {0x86B1, "GL_COMPRESSED_RGBA_FXT1_3DFX"},
    {0x84E9, "GL_COMPRESSED_ALPHA_ARB"},
    {0x84EA, "GL_COMPRESSED_LUMINANCE_ARB"},
    {0x84EB, "GL_COMPRESSED_LUMINANCE_ALPHA_ARB"},
    {0x84EC, "GL_COMPRESSED_INTENSITY_ARB"},
    {0x84ED, "GL_COMPRESSED_RGB_ARB"},
    {0x84EE, "GL_COMPRESSED_RGBA_ARB"},
    {0x83F0, "GL_COMPRESSED_RGB_S3TC_DXT1_EXT"},
    {0x83F1, "GL_COMPRESSED_RGBA_S3TC_DXT1_EXT"},
    {0x83F2, "GL_COMPRESSED_RGBA_S3TC_DXT3_EXT"},
    {0x83F3, "GL_COMPRESSED_RGBA_S3TC_DXT5_EXT"},
};

}  // namespace

std::string_view d3d9_format_name(uint32_t value) {
    return value < d3d9_names.size() ? d3d9_names[value] : std::string_view{};
}

std::string_view dxgi_format_name(uint32_t value) {
    return value < dxgi_names.size() ? dxgi_names[value] : std::string_view{};
}

std::span<const compressed_format> compressed_formats() {
    return compressed_list;
}
