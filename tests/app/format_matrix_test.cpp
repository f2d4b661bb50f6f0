// The Formats matrix's marks, read back from a row's text alone, as a saved
// report gives it: a DXGI format's support bits, a Direct3D 9 format's words.
#include "app/format_matrix.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The headers of the columns a row is marked in, each followed by a blank;
// "-" for a row that is not a format's.
std::string marked(const char* name, const char* value, const char* description) {
    const std::optional<uint64_t> marks =
        format_marks(report_row{row_kind::text, name, value, description, {}});
    if (!marks) {
        return "-";
    }
    std::string headers;
    const auto columns = format_capabilities();
    for (size_t c = 0; c < columns.size(); ++c) {
        if ((*marks >> c) & 1) {
            headers += std::string(columns[c].header) + " ";
        }
    }
    return headers;
}

TEST(FormatMatrix, MarksComeFromTheRowsOwnText) {
    struct {
        const char* name;
        const char* value;
        const char* description;
        const char* headers;
    } const rows[] = {
        // Bits, not words: a DXGI row's value is read for its counts only.
        {"DXGI_FORMAT_R8G8B8A8_UNORM", "sample, render target, MSAA x2 x4",
         "DXGI format 28; support bits 0x00006200 and 0x00000080.", "Sample Mip gen Target UAV store x2 x4 "},
        {"DXGI_FORMAT_R8_UNORM", "not supported", "DXGI format 61; the runtime does not support it.", ""},
        // Whole words: "depth texture" is no texture, "MSAA x16" no x2.
        {"D3DFMT_D24S8", "depth stencil, depth texture, MSAA x16", "Direct3D 9 format 75.",
         "Depth Depth tex x16 "},
        {"D3DFMT_A8R8G8B8",
         "texture, cube texture, volume texture, surface, render target, vertex texture, filter, blend, sRGB "
         "read, "
         "sRGB write, mipmap generation, MSAA x2 x4 x8",
         "Direct3D 9 format 21. Quality levels: x2 1, x4 1, x8 1.",
         "2D 3D Cube Surface Filter sRGB read Vertex tex Mip gen Target sRGB write Blend x2 x4 x8 "},
        {"INTZ", "not available", "Direct3D 9 format 1515474505, 'INTZ'.", ""},
        // A row of another page, and a section.
        {"MaxTextureWidth", "4096", "Widest texture.", "-"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.headers, marked(row.name, row.value, row.description)) << row.name;
    }
    EXPECT_FALSE(format_marks(report_row{row_kind::section, "[Direct3D 9]", "", "Direct3D 9 format", {}}));
}

}  // namespace
