// The Formats matrix: capability columns, marks read back from each row, the filter.
#include "app/format_matrix.h"

#include <charconv>
#include <iterator>
#include <string>

namespace {

// D3D11_FORMAT_SUPPORT (and D3D12_FORMAT_SUPPORT1, the same bits), then
// FORMAT_SUPPORT2, then the sample counts CheckMultisampleQualityLevels found.
constexpr format_capability capabilities[] = {
    {"Buffer", "be a buffer", "FORMAT_SUPPORT_BUFFER", 1, 0x1},
    {"Vertex", "be a vertex buffer", "FORMAT_SUPPORT_IA_VERTEX_BUFFER", 1, 0x2},
    {"2D", "be a 2D texture", "FORMAT_SUPPORT_TEXTURE2D", 1, 0x20},
    {"3D", "be a 3D texture", "FORMAT_SUPPORT_TEXTURE3D", 1, 0x40},
    {"Cube", "be a cube texture", "FORMAT_SUPPORT_TEXTURECUBE", 1, 0x80},
    {"Load", "be loaded by a shader", "FORMAT_SUPPORT_SHADER_LOAD", 1, 0x100},
    {"Sample", "be sampled", "FORMAT_SUPPORT_SHADER_SAMPLE", 1, 0x200},
    {"Compare", "be sampled with a comparison", "FORMAT_SUPPORT_SHADER_SAMPLE_COMPARISON", 1, 0x400},
    {"Gather", "be gathered", "FORMAT_SUPPORT_SHADER_GATHER", 1, 0x800000},
    {"Mips", "have mipmaps", "FORMAT_SUPPORT_MIP", 1, 0x1000},
    {"Target", "be a render target", "FORMAT_SUPPORT_RENDER_TARGET", 1, 0x4000},
    {"Blend", "be blended", "FORMAT_SUPPORT_BLENDABLE", 1, 0x8000},
    {"Depth", "be a depth-stencil target", "FORMAT_SUPPORT_DEPTH_STENCIL", 1, 0x10000},
    {"Display", "be displayed", "FORMAT_SUPPORT_DISPLAY", 1, 0x80000},
    {"UAV", "be a typed UAV", "FORMAT_SUPPORT_TYPED_UNORDERED_ACCESS_VIEW", 1, 0x2000000},
    {"UAV load", "be loaded from a typed UAV", "FORMAT_SUPPORT2_UAV_TYPED_LOAD", 2, 0x40},
    {"UAV store", "be stored to a typed UAV", "FORMAT_SUPPORT2_UAV_TYPED_STORE", 2, 0x80},
    {"Atomics", "take UAV atomics",
     "FORMAT_SUPPORT2_UAV_ATOMIC_ADD, _BITWISE_OPS, _COMPARE_STORE_OR_COMPARE_EXCHANGE, _EXCHANGE, "
     "_SIGNED_MIN_OR_MAX, _UNSIGNED_MIN_OR_MAX",
     2, 0x3F},
    {"Resolve", "be resolved from MSAA", "FORMAT_SUPPORT_MULTISAMPLE_RESOLVE", 1, 0x40000},
    {"x2", "take MSAA x2", "2 samples: CheckMultisampleQualityLevels answers a quality level", 0, 2},
    {"x4", "take MSAA x4", "4 samples: CheckMultisampleQualityLevels answers a quality level", 0, 4},
    {"x8", "take MSAA x8", "8 samples: CheckMultisampleQualityLevels answers a quality level", 0, 8},
    {"x16", "take MSAA x16", "16 samples: CheckMultisampleQualityLevels answers a quality level", 0, 16},
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

}  // namespace

std::span<const format_capability> format_capabilities() {
    return capabilities;
}

std::optional<uint64_t> format_marks(const report_row& row) {
    if (row.kind == row_kind::section || row.kind == row_kind::blank ||
        !row.name.starts_with("DXGI_FORMAT_")) {
        return std::nullopt;
    }
    // "DXGI format 28; support bits 0x10000400 and 0x00000800."
    const std::string_view description = row.description;
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
        const bool has = column.word == 0   ? has_samples(row.value, column.bits)
                         : column.word == 1 ? first && (*first & column.bits) != 0
                                            : second && (*second & column.bits) != 0;
        if (has) {
            marks |= uint64_t{1} << c;
        }
    }
    return marks;
}
