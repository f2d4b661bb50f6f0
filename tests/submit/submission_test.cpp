// The submission text, built from hand-made probes.
#include "submit/submission.h"

#include <gtest/gtest.h>

#include "fakes/fake_probes.h"
#include "refdata/pci_names.h"
#include "submission_parser.h"

namespace {

using fakes::direct3d_list;
using fakes::opengl_list;

class Submission : public ::testing::Test {
protected:
    report pages;
    direct3d_list direct3d;
    opengl_list opengl;

    Submission() { init_reference_data(); }

    submission::document build(const gl_probe* gl) {
        build_submission_text(pages, direct3d, gl);
        EXPECT_FALSE(pages.echo);
        std::string error;
        submission::document doc = submission::parse(pages.submission_text, error);
        EXPECT_EQ("", error);
        return doc;
    }
};

std::vector<std::string> ids(const std::vector<submission::page>& pages) {
    std::vector<std::string> result;
    for (const auto& page : pages) {
        result.push_back(page.id);
    }
    return result;
}

const std::vector<std::string> directx_ids = {
    "dx_summary",  "dx_device",  "dx_capabilities",  "dx_vertices",     "dx_rendering",  "dx_textures",
    "dx_blending", "dx_buffers", "dx_vertex_shader", "dx_pixel_shader", "dx_resolutions"};
const std::vector<std::string> opengl_ids = {"gl_summary",   "gl_device",       "gl_capabilities",
                                             "gl_rendering", "gl_extensions",   "gl_textures",
                                             "gl_stacks",    "gl_vertex_shader"};

TEST_F(Submission, OneAdapterWithoutOpenGL) {
    direct3d.add("Only board", 0x501);
    const auto doc = build(nullptr);
    EXPECT_EQ(0u, pages.submission_text.find(
                      "%2.00%\r\n|card|\r\n@directx@\r\n\r\n!dx_summary!\r\nDevice\tOnly board\r\n"));
    EXPECT_EQ(std::string::npos, pages.submission_text.find("@opengl@"));
    ASSERT_EQ(1u, doc.cards.size());
    EXPECT_EQ(directx_ids, ids(doc.cards[0].directx));
    EXPECT_FALSE(doc.cards[0].opengl.has_value());
    // No trailer: the text ends with the Resolutions block's marker.
    EXPECT_EQ("\r\n!dx_resolutions!\r\n", pages.submission_text.substr(pages.submission_text.size() - 20));
}

TEST_F(Submission, EachAdapterGetsTheOpenGLRecordOfItsMonitor) {
    direct3d.add("First board", 0x501);
    direct3d.add("Second board", 0x502);
    direct3d.add("Third board", 0x999);
    opengl.add("Second renderer", 0x502);
    opengl.add("First renderer", 0x501);
    opengl.add("Shadowed renderer", 0x501);
    const auto doc = build(&opengl.probe());
    ASSERT_EQ(3u, doc.cards.size());
    EXPECT_EQ("First board", doc.cards[0].directx[0].rows[0].value);
    EXPECT_EQ("Second board", doc.cards[1].directx[0].rows[0].value);
    ASSERT_TRUE(doc.cards[0].opengl.has_value());
    ASSERT_TRUE(doc.cards[1].opengl.has_value());
    EXPECT_FALSE(doc.cards[2].opengl.has_value());
    EXPECT_EQ(opengl_ids, ids(*doc.cards[0].opengl));
    EXPECT_EQ((submission::row{false, "Renderer", "First renderer"}), (*doc.cards[0].opengl)[0].rows[0]);
    EXPECT_EQ((submission::row{false, "Renderer", "Second renderer"}), (*doc.cards[1].opengl)[0].rows[0]);
    // The pages hold the last adapter's report; the OpenGL pages the last
    // record written.
    EXPECT_EQ("Third board", pages.grid(page_id::dx_summary).cell(1, 0));
    EXPECT_EQ("Second renderer", pages.grid(page_id::gl_summary).cell(1, 0));
}

TEST_F(Submission, ResolutionsStandUnsortedAndRowsStayOneLine) {
    dx_adapter& adapter = direct3d.add("Board\twith\r\na break", 0x501);
    for (const uint32_t width : {1024u, 800u}) {
        display_mode& mode = adapter.modes.emplace_back();
        mode.width = width;
        mode.height = 600;
        mode.format = "X8R8G8B8";
    }
    adapter.mode_count = 2;
    opengl.add("Renderer\nwith a line feed", 0x501);
    const auto doc = build(&opengl.probe());
    ASSERT_EQ(1u, doc.cards.size());
    EXPECT_EQ("Board with  a break", doc.cards[0].directx[0].rows[0].value);
    EXPECT_EQ("Renderer with a line feed", (*doc.cards[0].opengl)[0].rows[0].value);
    // The grids show the text unchanged.
    EXPECT_EQ("Board\twith\r\na break", pages.grid(page_id::dx_summary).cell(1, 0));
    const auto& resolutions = doc.cards[0].directx.back().rows;
    ASSERT_EQ(2u, resolutions.size());
    EXPECT_EQ("1024 x  600", resolutions[0].name);
    EXPECT_EQ(" 800 x  600", resolutions[1].name);
    EXPECT_EQ(" 800 x  600", pages.grid(page_id::dx_resolutions).cell(0, 1));
}

TEST_F(Submission, TheEchoEndsAlsoWhenAFillRaises) {
    direct3d.add("Board", 0x501);
    direct3d.count = 2;  // claims an adapter it does not hold
    EXPECT_THROW(build_submission_text(pages, direct3d, nullptr), std::out_of_range);
    EXPECT_FALSE(pages.echo);
    EXPECT_EQ(0u, pages.submission_text.find("%2.00%\r\n|card|\r\n"));
    const size_t kept = pages.submission_text.size();
    pages.fill_directx_pages(direct3d.adapter(0));
    EXPECT_EQ(kept, pages.submission_text.size());
}

TEST(SubmissionEcho, APageStartingWithABlankRowHasOneEmptyLineAfterItsMarker) {
    report pages;
    pages.echo = true;
    pages.setup_opengl_grid(pages.grid(page_id::gl_stacks));
    pages.add_blank_row();
    pages.add_row("Name", "1", "");
    EXPECT_EQ("\r\n!gl_stacks!\r\n\r\nName\t1\r\n", pages.submission_text);
    EXPECT_EQ(4, pages.grid(page_id::gl_stacks).row_count());
}

}  // namespace
