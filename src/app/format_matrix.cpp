// The Formats matrix: capability columns, marks read back from each row, the filter.
#include "app/format_matrix.h"

#include <charconv>
#include <iterator>
#include <string>

namespace {

// D3D11_FORMAT_SUPPORT (and D3D12_FORMAT_SUPPORT1, the same bits), then
// FORMAT_SUPPORT2, then the sample counts; beside each, Direct3D 9's use of
// the same meaning, and the uses only Direct3D 9 asks about.
constexpr format_capability capabilities[] = {
    {"Buffer", "be a buffer", "FORMAT_SUPPORT_BUFFER", nullptr, 1, 0x1, nullptr},
    {"Vertex", "be a vertex buffer", "FORMAT_SUPPORT_IA_VERTEX_BUFFER", nullptr, 1, 0x2, nullptr},
    {"2D", "be a 2D texture", "FORMAT_SUPPORT_TEXTURE2D", "usage 0 on a D3DRTYPE_TEXTURE", 1, 0x20,
     "texture"},
    {"3D", "be a 3D texture", "FORMAT_SUPPORT_TEXTURE3D", "usage 0 on a D3DRTYPE_VOLUMETEXTURE", 1, 0x40,
     "volume texture"},
    {"Cube", "be a cube texture", "FORMAT_SUPPORT_TEXTURECUBE", "usage 0 on a D3DRTYPE_CUBETEXTURE", 1, 0x80,
     "cube texture"},
    {"Surface", "be a plain surface", nullptr, "usage 0 on a D3DRTYPE_SURFACE", 0, 0, "surface"},
    {"Load", "be loaded by a shader", "FORMAT_SUPPORT_SHADER_LOAD", nullptr, 1, 0x100, nullptr},
    {"Sample", "be sampled", "FORMAT_SUPPORT_SHADER_SAMPLE", nullptr, 1, 0x200, nullptr},
    {"Filter", "be filtered", nullptr, "D3DUSAGE_QUERY_FILTER", 0, 0, "filter"},
    {"sRGB read", "be read as sRGB", nullptr, "D3DUSAGE_QUERY_SRGBREAD", 0, 0, "sRGB read"},
    {"Compare", "be sampled with a comparison", "FORMAT_SUPPORT_SHADER_SAMPLE_COMPARISON", nullptr, 1, 0x400,
     nullptr},
    {"Gather", "be gathered", "FORMAT_SUPPORT_SHADER_GATHER", nullptr, 1, 0x800000, nullptr},
    {"Vertex tex", "be read by a vertex shader", nullptr, "D3DUSAGE_QUERY_VERTEXTEXTURE", 0, 0,
     "vertex texture"},
    {"Mips", "have mipmaps", "FORMAT_SUPPORT_MIP", nullptr, 1, 0x1000, nullptr},
    {"Mip gen", "have its mipmaps made", "FORMAT_SUPPORT_MIP_AUTOGEN",
     "D3DUSAGE_AUTOGENMIPMAP answers D3D_OK", 1, 0x2000, "mipmap generation"},
    {"Target", "be a render target", "FORMAT_SUPPORT_RENDER_TARGET",
     "D3DUSAGE_RENDERTARGET on a D3DRTYPE_SURFACE", 1, 0x4000, "render target"},
    {"sRGB write", "be written as sRGB", nullptr, "D3DUSAGE_QUERY_SRGBWRITE", 0, 0, "sRGB write"},
    {"Blend", "be blended", "FORMAT_SUPPORT_BLENDABLE", "D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING", 1, 0x8000,
     "blend"},
    {"Depth", "be a depth-stencil target", "FORMAT_SUPPORT_DEPTH_STENCIL",
     "D3DUSAGE_DEPTHSTENCIL on a D3DRTYPE_SURFACE", 1, 0x10000, "depth stencil"},
    {"Depth tex", "be a depth texture", nullptr, "D3DUSAGE_DEPTHSTENCIL on a D3DRTYPE_TEXTURE", 0, 0,
     "depth texture"},
    {"Display", "be displayed", "FORMAT_SUPPORT_DISPLAY", nullptr, 1, 0x80000, nullptr},
    {"UAV", "be a typed UAV", "FORMAT_SUPPORT_TYPED_UNORDERED_ACCESS_VIEW", nullptr, 1, 0x2000000, nullptr},
    {"UAV load", "be loaded from a typed UAV", "FORMAT_SUPPORT2_UAV_TYPED_LOAD", nullptr, 2, 0x40, nullptr},
    {"UAV store", "be stored to a typed UAV", "FORMAT_SUPPORT2_UAV_TYPED_STORE", nullptr, 2, 0x80, nullptr},
    {"Atomics", "take UAV atomics",
     "FORMAT_SUPPORT2_UAV_ATOMIC_ADD, _BITWISE_OPS, _COMPARE_STORE_OR_COMPARE_EXCHANGE, _EXCHANGE, "
     "_SIGNED_MIN_OR_MAX, _UNSIGNED_MIN_OR_MAX",
     nullptr, 2, 0x3F, nullptr},
    {"Resolve", "be resolved from MSAA", "FORMAT_SUPPORT_MULTISAMPLE_RESOLVE", nullptr, 1, 0x40000, nullptr},
    {"x2", "take MSAA x2", "2 samples: CheckMultisampleQualityLevels answers a quality level",
     "CheckDeviceMultiSampleType accepts 2 samples in a window", 0, 2, nullptr},
    {"x4", "take MSAA x4", "4 samples: CheckMultisampleQualityLevels answers a quality level",
     "CheckDeviceMultiSampleType accepts 4 samples in a window", 0, 4, nullptr},
    {"x8", "take MSAA x8", "8 samples: CheckMultisampleQualityLevels answers a quality level",
     "CheckDeviceMultiSampleType accepts 8 samples in a window", 0, 8, nullptr},
    {"x16", "take MSAA x16", "16 samples: CheckMultisampleQualityLevels answers a quality level",
     "CheckDeviceMultiSampleType accepts 16 samples in a window", 0, 16, nullptr},
};
static_assert(std::size(capabilities) <= 64);

// The hexadecimal number after "0x" at text[at], or none.
std::optional<uint32_t> hex_at(std::string_view text, size_t at) {
    if (at == std::string_view::npos || text.substr(at, 2) != "0x") {
        return std::nullopt;
    }
    uint32_t value = 0;
    const char* first = text.data() + at + 2;
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), value, 16);
    return error == std::errc() && end != first ? std::optional(value) : std::nullopt;
}

// Whether the value's "MSAA x2 x4 x8" item holds "x" + count.
bool has_samples(std::string_view value, uint32_t count) {
    const size_t msaa = value.rfind("MSAA x");
    if (msaa == std::string_view::npos || (msaa != 0 && value.substr(msaa - 2, 2) != ", ")) {
        return false;
    }
    std::string_view counts = value.substr(msaa + 4);
    counts = counts.substr(0, counts.find(','));
    const std::string wanted = "x" + std::to_string(count);
    for (size_t at = counts.find(wanted); at != std::string_view::npos; at = counts.find(wanted, at + 1)) {
        const size_t end = at + wanted.size();
        if (end == counts.size() || counts[end] == ' ') {
            return true;
        }
    }
    return false;
}

// Whether a comma-separated value has the item word.
bool has_item(std::string_view value, std::string_view word) {
    for (size_t at = value.find(word); at != std::string_view::npos; at = value.find(word, at + 1)) {
        const size_t end = at + word.size();
        if ((at == 0 || value.substr(at - 2, 2) == ", ") && (end == value.size() || value[end] == ',')) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::span<const format_capability> format_capabilities() {
    return capabilities;
}

bool is_sample_count(const format_capability& column) {
    return column.word == 0 && column.bits != 0;
}

std::optional<uint64_t> format_marks(const report_row& row) {
    if (row.kind == row_kind::section || row.kind == row_kind::blank) {
        return std::nullopt;
    }
    const std::string_view description = row.description;
    // "Direct3D 9 format 21." before the row's words.
    if (description.starts_with("Direct3D 9 format ")) {
        uint64_t marks = 0;
        for (size_t c = 0; c < std::size(capabilities); ++c) {
            const format_capability& column = capabilities[c];
            const bool has = is_sample_count(column)
                                 ? has_samples(row.value, column.bits)
                                 : column.d3d9_word != nullptr && has_item(row.value, column.d3d9_word);
            marks |= has ? uint64_t{1} << c : 0;
        }
        return marks;
    }
    if (!row.name.starts_with("DXGI_FORMAT_")) {
        return std::nullopt;
    }
    // "DXGI format 28; support bits 0x10000400 and 0x00000800."
    const size_t bits_at = description.find("support bits ");
    const std::optional<uint32_t> first =
        bits_at == std::string_view::npos ? std::nullopt : hex_at(description, bits_at + 13);
    const std::optional<uint32_t> second =
        first ? hex_at(description, description.find(" and 0x", bits_at) == std::string_view::npos
                                        ? std::string_view::npos
                                        : description.find(" and 0x", bits_at) + 5)
              : std::nullopt;
    uint64_t marks = 0;
    for (size_t c = 0; c < std::size(capabilities); ++c) {
        const format_capability& column = capabilities[c];
        const bool has = is_sample_count(column) ? has_samples(row.value, column.bits)
                         : column.word == 1      ? first && (*first & column.bits) != 0
                         : column.word == 2      ? second && (*second & column.bits) != 0
                                                 : false;
        if (has) {
            marks |= uint64_t{1} << c;
        }
    }
    return marks;
}
