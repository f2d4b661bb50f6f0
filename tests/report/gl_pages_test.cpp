// The eight OpenGL pages from hand-made records.
#include <gtest/gtest.h>

#include <tuple>

#include "probe/gl_limits.h"
#include "probe/records.h"
#include "refdata/pci_names.h"
#include "report/page_lookup.h"
#include "report/report_builder.h"

namespace {

class OpenGLPages : public ::testing::Test {
protected:
    gl_record record;
    adapter_report report;

    OpenGLPages() {
        init_reference_data();
        record.renderer = "Fake Renderer";
        record.vendor = "Fake Vendor";
        record.version_string = "2.1.2 Fake 5.0";
        record.version = "2.1.2";
        record.glu_version_string = "1.2.2.0 Microsoft Corporation";
        record.glu_version = "1.2.2.0";
    }
    void fill() { report = build_adapter_report(dx_adapter{}, &record); }
    const report_page& page(page_id id) const { return *report.group(page_group::opengl).page(id); }
};

TEST_F(OpenGLPages, SummaryShowsVersionNumbersAndDeviceBoth) {
    fill();
    const report_page& summary = page(page_id::gl_summary);
    // What the core-profile context adds is shown, not sent.
    ASSERT_EQ(10u, summary.rows.size());
    EXPECT_EQ(7u, rows_as_written(summary).size());
    EXPECT_EQ("not available", value_of(summary, "Core profile"));
    EXPECT_EQ("Renderer", summary.rows[0].name);
    EXPECT_EQ("2.1.2", value_of(summary, "GL version"));
    EXPECT_EQ("1.2.2.0", value_of(summary, "GLU version"));
    EXPECT_EQ("", value_of(summary, "Shading language version"));
    EXPECT_EQ(row_kind::blank, summary.rows[2].kind);
    EXPECT_EQ(row_kind::blank, summary.rows[5].kind);
    const report_page& device = page(page_id::gl_device);
    EXPECT_EQ("2.1.2", value_of(device, "Version"));
    EXPECT_EQ("2.1.2 Fake 5.0", value_of(device, "Version string"));
    EXPECT_EQ("1.2.2.0 Microsoft Corporation", value_of(device, "GLU version string"));
    EXPECT_EQ("Name of the renderer. This is specific to a hardware.", device.rows[0].description);
    EXPECT_EQ("", value_of(page(page_id::gl_rendering), "Shading language version"));
}

TEST_F(OpenGLPages, LimitsInTheirFormats) {
    record.max_viewport_dims = {4096, 4096};
    record.point_size_granularity = 0.125f;
    record.point_size_range = {1.0f, 64.0f};
    record.smooth_point_size_range = {1.0f, 64.0f};
    record.line_width_range = {0.5f, 10.0f};
    record.double_buffer = true;
    record.max_texture_lod_bias = 15;
    record.max_vertex_attribs = 16;
    fill();
    EXPECT_EQ("4096     4096", value_of(page(page_id::gl_capabilities), "GL_MAX_VIEWPORT_DIMS"));
    EXPECT_EQ("0.125000", value_of(page(page_id::gl_rendering), "GL_POINT_SIZE_GRANULARITY"));
    EXPECT_EQ("1     64", value_of(page(page_id::gl_rendering), "GL_POINT_SIZE_RANGE"));
    EXPECT_EQ("yes", value_of(page(page_id::gl_rendering), "GL_DOUBLEBUFFER"));
    EXPECT_EQ("no", value_of(page(page_id::gl_rendering), "GL_STEREO"));
    EXPECT_EQ("15", value_of(page(page_id::gl_textures), "GL_MAX_TEXTURE_LOD_BIAS"));
    EXPECT_EQ("16", value_of(page(page_id::gl_vertex_shader), "GL_MAX_VERTEX_ATTRIBS"));
    EXPECT_EQ("0", value_of(page(page_id::gl_vertex_shader), "GL_MAX_VERTEX_UNIFORM_COMPONENTS"));
    // A limit the implementation did not answer is not a zero, though the
    // site still receives the zero it always has.
    record.unanswered = {GL_MAX_VERTEX_UNIFORM_COMPONENTS, GL_POINT_SIZE_RANGE};
    fill();
    for (const auto& [id, name, wire] :
         {std::tuple{page_id::gl_vertex_shader, "GL_MAX_VERTEX_UNIFORM_COMPONENTS", "0"},
          std::tuple{page_id::gl_rendering, "GL_POINT_SIZE_RANGE", "1     64"}}) {
        const report_row& row = page(id).rows.at(static_cast<size_t>(find_row(page(id), name)));
        EXPECT_EQ(row_kind::not_available, row.kind) << name;
        EXPECT_EQ("not available", row.value) << name;
        EXPECT_EQ(wire, row.wire_value.value_or("none")) << name;
    }
    const report_page& rendering = page(page_id::gl_rendering);
    const auto row = [&](const char* name) {
        return rendering.rows.at(static_cast<size_t>(find_row(rendering, name)));
    };
    EXPECT_EQ(row("GL_LINE_WIDTH_RANGE").description, row("GL_SMOOTH_LINE_WIDTH_RANGE").description);
    EXPECT_EQ("The smallest and largest supported widths for antialiased lines. See glLineWidth.",
              row("GL_LINE_WIDTH_RANGE").description);
    EXPECT_EQ(row_kind::section, row("[Points]").kind);
    EXPECT_EQ("", row("[Lines]").description);
}

TEST_F(OpenGLPages, CompressionRowsFollowTheListedFormats) {
    fill();
    const report_page* textures = &page(page_id::gl_textures);
    const int section = find_row(*textures, "[Compressions]");
    ASSERT_EQ(static_cast<int>(textures->rows.size()) - 13, section);
    const auto cell = [&](int column, int row) -> const std::string& {
        const report_row& found = textures->rows.at(static_cast<size_t>(row));
        return column == 0 ? found.name : found.value;
    };
    EXPECT_EQ("0", value_of(*textures, "GL_NUM_COMPRESSED_TEXTURE_FORMATS"));
    const char* names[] = {"GL_COMPRESSED_RGB_FXT1_3DFX",
                           "GL_COMPRESSED_RGBA_FXT1_3DFX",
                           "GL_COMPRESSED_ALPHA_ARB",
                           "GL_COMPRESSED_LUMINANCE_ARB",
                           "GL_COMPRESSED_LUMINANCE_ALPHA_ARB",
                           "GL_COMPRESSED_INTENSITY_ARB",
                           "GL_COMPRESSED_RGB_ARB",
                           "GL_COMPRESSED_RGBA_ARB",
                           "GL_COMPRESSED_RGB_S3TC_DXT1_EXT",
                           "GL_COMPRESSED_RGBA_S3TC_DXT1_EXT",
                           "GL_COMPRESSED_RGBA_S3TC_DXT3_EXT",
                           "GL_COMPRESSED_RGBA_S3TC_DXT5_EXT"};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(names[i], cell(0, section + 1 + i));
        EXPECT_EQ("no", cell(1, section + 1 + i));
    }

    record.compressed_texture_formats = {0x83F1, 0x9999, 0x83F2, 0x83F3};
    record.num_compressed_texture_formats = 4;
    fill();
    textures = &page(page_id::gl_textures);
    EXPECT_EQ("4", value_of(*textures, "GL_NUM_COMPRESSED_TEXTURE_FORMATS"));
    int yes = 0;
    for (int i = 0; i < 12; ++i) {
        const bool listed = cell(1, section + 1 + i) == "yes";
        yes += listed ? 1 : 0;
        EXPECT_EQ(i >= 9, listed) << names[i];
    }
    EXPECT_EQ(3, yes);
}

}  // namespace
