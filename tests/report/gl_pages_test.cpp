// The eight OpenGL pages from hand-made records.
#include "report/report.h"

#include <gtest/gtest.h>

#include <cstring>

#include "probe/gl_extensions.h"
#include "refdata/_consts.h"
#include "report/grid_lookup.h"

namespace {

class OpenGLPages : public ::testing::Test {
protected:
    report pages;
    tqgl_adapter record;

    OpenGLPages() {
        InitConsts();
        record.renderer = "Fake Renderer";
        record.vendor = "Fake Vendor";
        record.version_string = "2.1.2 Fake 5.0";
        record.version = "2.1.2";
        record.glu_version_string = "1.2.2.0 Microsoft Corporation";
        record.glu_version = "1.2.2.0";
    }
    void fill() { pages.FillOpenGLPages(record); }
};

TEST_F(OpenGLPages, SummaryShowsVersionNumbersAndDeviceBoth) {
    fill();
    const grid_model& summary = pages.SGgl_summary;
    ASSERT_EQ(7, summary.row_count());
    EXPECT_EQ("Renderer", summary.cell(0, 0));
    EXPECT_EQ("2.1.2", value_of(summary, "GL version"));
    EXPECT_EQ("1.2.2.0", value_of(summary, "GLU version"));
    EXPECT_EQ("", value_of(summary, "Shading language version"));
    EXPECT_EQ("", summary.cell(0, 2) + summary.cell(0, 5));
    const grid_model& device = pages.SGgl_device;
    EXPECT_EQ("2.1.2", value_of(device, "Version"));
    EXPECT_EQ("2.1.2 Fake 5.0", value_of(device, "Version string"));
    EXPECT_EQ("1.2.2.0 Microsoft Corporation", value_of(device, "GLU version string"));
    EXPECT_EQ("Name of the renderer. This is specific to a hardware.", device.cell(2, 1));
    EXPECT_EQ("", value_of(pages.SGgl_rendering, "Shading language version"));
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
    EXPECT_EQ("4096     4096", value_of(pages.SGgl_capabilities, "GL_MAX_VIEWPORT_DIMS"));
    EXPECT_EQ("0.125000", value_of(pages.SGgl_rendering, "GL_POINT_SIZE_GRANULARITY"));
    EXPECT_EQ("1     64", value_of(pages.SGgl_rendering, "GL_POINT_SIZE_RANGE"));
    EXPECT_EQ("yes", value_of(pages.SGgl_rendering, "GL_DOUBLEBUFFER"));
    EXPECT_EQ("no", value_of(pages.SGgl_rendering, "GL_STEREO"));
    EXPECT_EQ("15", value_of(pages.SGgl_textures, "GL_MAX_TEXTURE_LOD_BIAS"));
    EXPECT_EQ("16", value_of(pages.SGgl_vertex_shader, "GL_MAX_VERTEX_ATTRIBS"));
    EXPECT_EQ("0", value_of(pages.SGgl_vertex_shader, "GL_MAX_VERTEX_UNIFORM_COMPONENTS"));
    const grid_model& rendering = pages.SGgl_rendering;
    EXPECT_EQ(rendering.cell(2, find_row(rendering, "GL_LINE_WIDTH_RANGE")),
              rendering.cell(2, find_row(rendering, "GL_SMOOTH_LINE_WIDTH_RANGE")));
    EXPECT_EQ("The smallest and largest supported widths for antialiased lines. See glLineWidth.",
              rendering.cell(2, find_row(rendering, "GL_LINE_WIDTH_RANGE")));
    EXPECT_EQ(32, rendering.row_height(find_row(rendering, "[Points]")));
    EXPECT_EQ("", rendering.cell(2, find_row(rendering, "[Lines]")));
}

TEST_F(OpenGLPages, PageShapesAndDescriptions) {
    fill();
    const std::pair<grid_model report::*, int> sizes[] = {
        {&report::SGgl_summary, 7},       {&report::SGgl_device, 9},       {&report::SGgl_capabilities, 10},
        {&report::SGgl_rendering, 24},    {&report::SGgl_textures, 28},    {&report::SGgl_stacks, 10},
        {&report::SGgl_vertex_shader, 4}, {&report::SGgl_extensions, 331},
    };
    for (const auto& [page, rows] : sizes) {
        const grid_model& grid = pages.*page;
        SCOPED_TRACE(grid.name());
        EXPECT_EQ(rows, grid.row_count());
        if (&grid == &pages.SGgl_summary || &grid == &pages.SGgl_extensions) {
            continue;
        }
        const int compressions = find_row(grid, "[Compressions]");
        for (int r = 1; r < grid.row_count(); ++r) {
            const std::string& name = grid.cell(0, r);
            if (name.empty() || name[0] == '[' || (compressions > 0 && r > compressions)) {
                EXPECT_EQ("", grid.cell(2, r)) << name;
                continue;
            }
            EXPECT_FALSE(grid.cell(2, r).empty()) << name << " needs a description";
            if (name.rfind("GL_", 0) == 0 && name != "GL_DOUBLEBUFFER" && name != "GL_STEREO") {
                EXPECT_NE(std::string::npos, grid.cell(2, r).find(" See gl")) << name;
            }
        }
    }
    EXPECT_EQ(
        "The maximum number of application-defined clipping planes. The value must be at least 6. See "
        "glClipPlane.",
        pages.SGgl_capabilities.cell(2, find_row(pages.SGgl_capabilities, "GL_MAX_CLIP_PLANES")));
}

TEST_F(OpenGLPages, CompressionRowsFollowTheListedFormats) {
    fill();
    const grid_model& textures = pages.SGgl_textures;
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

TEST_F(OpenGLPages, ExtensionsPageHasItsSectionsAndDisplayNames) {
    const auto known = known_extensions();
    for (size_t i = 0; i < known.size(); ++i) {
        record.extension_flags[i] = std::strcmp(known[i].name, "GL_EXT_texture3D") == 0 ||
                                    std::strcmp(known[i].name, "WIN_swap_hint") == 0;
    }
    fill();
    const grid_model& grid = pages.SGgl_extensions;
    ASSERT_EQ(331, grid.row_count());
    std::vector<std::string> sections;
    int blanks = 0;
    int rows = 0;
    int yes = 0;
    for (int r = 1; r < grid.row_count(); ++r) {
        const std::string& name = grid.cell(0, r);
        if (name.empty()) {
            ++blanks;
            EXPECT_EQ("[", grid.cell(0, r + 1).substr(0, 1)) << "a blank row stands only before a section";
        } else if (name[0] == '[') {
            sections.push_back(name);
            EXPECT_EQ(32, grid.row_height(r));
        } else {
            ++rows;
            EXPECT_TRUE(grid.cell(1, r) == "yes" || grid.cell(1, r) == "no");
            yes += grid.cell(1, r) == "yes" ? 1 : 0;
        }
    }
    EXPECT_EQ((std::vector<std::string>{"[3DFX]", "[APPLE]", "[ARB]",  "[ATI]",   "[EXT]",  "[HP]",
                                        "[I3D]",  "[IBM]",   "[INGR]", "[INTEL]", "[MESA]", "[NV]",
                                        "[OML]",  "[PGI]",   "[REND]", "[S3]",    "[SGI]",  "[SGIS]",
                                        "[SGIX]", "[SUN]",   "[SUNX]", "[WIN]"}),
              sections);
    EXPECT_EQ(21, blanks);
    EXPECT_EQ(287, rows);
    EXPECT_EQ(2, yes);
    EXPECT_EQ("yes", value_of(grid, "GL_EXT_texture3d"));
    EXPECT_EQ("no", value_of(grid, "GL_EXT_texture"));
    EXPECT_EQ("yes", value_of(grid, "WIN_swap_hint"));
    EXPECT_EQ(-1, find_row(grid, "GL_EXT_texture3D"));
    EXPECT_EQ("no", value_of(grid, "GL_FfdMaskSGIx"));
    EXPECT_EQ("no", value_of(grid, "GL_SGIS_texture4d"));
    EXPECT_EQ("Extensions agreed upon by multiple OpenGL vendors", grid.cell(2, find_row(grid, "[EXT]")));
    EXPECT_EQ("", grid.cell(2, find_row(grid, "[I3D]")));
    EXPECT_FALSE(grid.cell(2, find_row(grid, "[MESA]")).empty());
}

TEST_F(OpenGLPages, FillOrderPutsExtensionsFifth) {
    pages.FEcho = true;
    fill();
    expect_markers_in_order(pages.FSubmission,
                            {"!gl_summary!", "!gl_device!", "!gl_capabilities!", "!gl_rendering!",
                             "!gl_extensions!", "!gl_textures!", "!gl_stacks!", "!gl_vertex_shader!"});
    EXPECT_EQ(0u, pages.FSubmission.find(
                      "\r\n!gl_summary!\r\nRenderer\tFake Renderer\r\nVendor\tFake Vendor\r\n\r\n"
                      "GL version\t2.1.2\r\n"));
}

}  // namespace
