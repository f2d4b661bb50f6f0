// The eight OpenGL pages from hand-made records.
#include "report/report.h"

#include <gtest/gtest.h>

#include "refdata/pci_names.h"
#include "report/grid_lookup.h"

namespace {

class OpenGLPages : public ::testing::Test {
protected:
    report pages;
    gl_record record;

    OpenGLPages() {
        init_reference_data();
        record.renderer = "Fake Renderer";
        record.vendor = "Fake Vendor";
        record.version_string = "2.1.2 Fake 5.0";
        record.version = "2.1.2";
        record.glu_version_string = "1.2.2.0 Microsoft Corporation";
        record.glu_version = "1.2.2.0";
    }
    void fill() { pages.fill_opengl_pages(record); }
};

TEST_F(OpenGLPages, SummaryShowsVersionNumbersAndDeviceBoth) {
    fill();
    const grid_model& summary = pages.grid(page_id::gl_summary);
    ASSERT_EQ(7, summary.row_count());
    EXPECT_EQ("Renderer", summary.cell(0, 0));
    EXPECT_EQ("2.1.2", value_of(summary, "GL version"));
    EXPECT_EQ("1.2.2.0", value_of(summary, "GLU version"));
    EXPECT_EQ("", value_of(summary, "Shading language version"));
    EXPECT_EQ("", summary.cell(0, 2) + summary.cell(0, 5));
    const grid_model& device = pages.grid(page_id::gl_device);
    EXPECT_EQ("2.1.2", value_of(device, "Version"));
    EXPECT_EQ("2.1.2 Fake 5.0", value_of(device, "Version string"));
    EXPECT_EQ("1.2.2.0 Microsoft Corporation", value_of(device, "GLU version string"));
    EXPECT_EQ("Name of the renderer. This is specific to a hardware.", device.cell(2, 1));
    EXPECT_EQ("", value_of(pages.grid(page_id::gl_rendering), "Shading language version"));
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
    EXPECT_EQ("4096     4096", value_of(pages.grid(page_id::gl_capabilities), "GL_MAX_VIEWPORT_DIMS"));
    EXPECT_EQ("0.125000", value_of(pages.grid(page_id::gl_rendering), "GL_POINT_SIZE_GRANULARITY"));
    EXPECT_EQ("1     64", value_of(pages.grid(page_id::gl_rendering), "GL_POINT_SIZE_RANGE"));
    EXPECT_EQ("yes", value_of(pages.grid(page_id::gl_rendering), "GL_DOUBLEBUFFER"));
    EXPECT_EQ("no", value_of(pages.grid(page_id::gl_rendering), "GL_STEREO"));
    EXPECT_EQ("15", value_of(pages.grid(page_id::gl_textures), "GL_MAX_TEXTURE_LOD_BIAS"));
    EXPECT_EQ("16", value_of(pages.grid(page_id::gl_vertex_shader), "GL_MAX_VERTEX_ATTRIBS"));
    EXPECT_EQ("0", value_of(pages.grid(page_id::gl_vertex_shader), "GL_MAX_VERTEX_UNIFORM_COMPONENTS"));
    const grid_model& rendering = pages.grid(page_id::gl_rendering);
    EXPECT_EQ(rendering.cell(2, find_row(rendering, "GL_LINE_WIDTH_RANGE")),
              rendering.cell(2, find_row(rendering, "GL_SMOOTH_LINE_WIDTH_RANGE")));
    EXPECT_EQ("The smallest and largest supported widths for antialiased lines. See glLineWidth.",
              rendering.cell(2, find_row(rendering, "GL_LINE_WIDTH_RANGE")));
    EXPECT_EQ(32, rendering.row_height(find_row(rendering, "[Points]")));
    EXPECT_EQ("", rendering.cell(2, find_row(rendering, "[Lines]")));
}

TEST_F(OpenGLPages, CompressionRowsFollowTheListedFormats) {
    fill();
    const grid_model& textures = pages.grid(page_id::gl_textures);
    const int section = find_row(textures, "[Compressions]");
    ASSERT_EQ(textures.row_count() - 13, section);
    EXPECT_EQ("0", value_of(textures, "GL_NUM_COMPRESSED_TEXTURE_FORMATS"));
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
        EXPECT_EQ(names[i], textures.cell(0, section + 1 + i));
        EXPECT_EQ("no", textures.cell(1, section + 1 + i));
    }

    record.compressed_texture_formats = {0x83F1, 0x9999, 0x83F2, 0x83F3};
    record.num_compressed_texture_formats = 4;
    fill();
    EXPECT_EQ("4", value_of(textures, "GL_NUM_COMPRESSED_TEXTURE_FORMATS"));
    int yes = 0;
    for (int i = 0; i < 12; ++i) {
        const bool listed = textures.cell(1, section + 1 + i) == "yes";
        yes += listed ? 1 : 0;
        EXPECT_EQ(i >= 9, listed) << names[i];
    }
    EXPECT_EQ(3, yes);
}

}  // namespace
