// The submission text, built from hand-made probes.
#include "submit/submission.h"
#include "submit/site_address.h"

#include <gtest/gtest.h>

#include "fakes/fake_probes.h"
#include "refdata/pci_names.h"
#include "report/page_writer.h"
#include "report/report_builder.h"
#include "submission_parser.h"

namespace {

using fakes::direct3d_list;
using fakes::opengl_list;

class Submission : public ::testing::Test {
protected:
    direct3d_list direct3d;
    opengl_list opengl;
    report_document document;
    std::string text;

    Submission() { init_reference_data(); }

    submission::document build(const gl_records* gl) {
        document = build_report(direct3d.adapters, gl != nullptr ? std::span<const gl_record>(gl->records)
                                                                 : std::span<const gl_record>());
        text = submission_text(document);
        std::string error;
        submission::document doc = submission::parse(text, error);
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
    EXPECT_EQ(0u, text.find("%2.00%\r\n|card|\r\n@directx@\r\n\r\n!dx_summary!\r\nDevice\tOnly board\r\n"));
    EXPECT_EQ(std::string::npos, text.find("@opengl@"));
    ASSERT_EQ(1u, doc.cards.size());
    EXPECT_EQ(directx_ids, ids(doc.cards[0].directx));
    EXPECT_FALSE(doc.cards[0].opengl.has_value());
    // No trailer: the text ends with the Resolutions block's marker.
    EXPECT_EQ("\r\n!dx_resolutions!\r\n", text.substr(text.size() - 20));
}

TEST_F(Submission, EachAdapterGetsTheOpenGLRecordOfItsMonitor) {
    direct3d.add("First board", 0x501);
    direct3d.add("Second board", 0x502);
    direct3d.add("Third board", 0x999);
    opengl.add("Second renderer", 0x502);
    opengl.add("First renderer", 0x501);
    opengl.add("Shadowed renderer", 0x501);
    const auto doc = build(&opengl.read);
    ASSERT_EQ(3u, doc.cards.size());
    EXPECT_EQ("First board", doc.cards[0].directx[0].rows[0].value);
    EXPECT_EQ("Second board", doc.cards[1].directx[0].rows[0].value);
    ASSERT_TRUE(doc.cards[0].opengl.has_value());
    ASSERT_TRUE(doc.cards[1].opengl.has_value());
    EXPECT_FALSE(doc.cards[2].opengl.has_value());
    EXPECT_EQ(opengl_ids, ids(*doc.cards[0].opengl));
    EXPECT_EQ((submission::row{false, "Renderer", "First renderer"}), (*doc.cards[0].opengl)[0].rows[0]);
    EXPECT_EQ((submission::row{false, "Renderer", "Second renderer"}), (*doc.cards[1].opengl)[0].rows[0]);
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
    const auto doc = build(&opengl.read);
    ASSERT_EQ(1u, doc.cards.size());
    EXPECT_EQ("Board with  a break", doc.cards[0].directx[0].rows[0].value);
    EXPECT_EQ("Renderer with a line feed", (*doc.cards[0].opengl)[0].rows[0].value);
    // The pages show the text unchanged.
    EXPECT_EQ("Board\twith\r\na break",
              document.adapters[0].group(page_group::directx).pages[0].rows[0].value);
    const auto& resolutions = doc.cards[0].directx.back().rows;
    ASSERT_EQ(2u, resolutions.size());
    EXPECT_EQ("1024 x  600", resolutions[0].name);
    EXPECT_EQ(" 800 x  600", resolutions[1].name);
    EXPECT_EQ(" 800 x  600",
              document.adapters[0].group(page_group::directx).page(page_id::dx_resolutions)->rows[0].name);
}

// Rows go as they were written: blank rows as empty lines, what a page adds
// for the reader (a Problems section) left out, and the value the site has
// always received where the page shows another.
TEST(SubmissionRows, AsWrittenWithTheirWireValues) {
    report_document document;
    adapter_report& adapter = document.adapters.emplace_back();
    adapter.groups.resize(group_count);
    report_page stacks{page_id::gl_stacks, {}, {}};
    page_writer rows(stacks);
    rows.blank();
    rows.number("Name", 1, "");
    rows.not_available("GL_MAX_LIGHTS", "", "0");
    rows.section("[Problems]", "");
    stacks.written_order = std::vector<uint32_t>{0, 1, 2};
    adapter.group(page_group::opengl) = {page_group::opengl, true, {stacks}};
    EXPECT_EQ(
        "%2.00%\r\n|card|\r\n@directx@\r\n@opengl@\r\n\r\n!gl_stacks!\r\n\r\nName\t1\r\nGL_MAX_LIGHTS\t0\r\n",
        submission_text(document));
}

}  // namespace

// The site's address as the Submit button names it and as --submit accepts it.
TEST(SiteAddress, AuthorityAndWhatThePostCanGoTo) {
    EXPECT_EQ("127.0.0.1:8197", authority_of("http://127.0.0.1:8197/submitter.php"));
    EXPECT_EQ("cavio.example", authority_of("http://cavio.example/"));
    EXPECT_EQ("[::1]:80", authority_of("http://[::1]:80"));
    for (const char* good :
         {"http://cavio.example/", "HTTP://cavio.example", "http://[::1]:8197/x", "http://a:65535"}) {
        EXPECT_TRUE(is_plain_http_address(good)) << good;
    }
    for (const char* bad : {"notaurl", "https://cavio.example/", "http://", "http://:80/", "http://a:/",
                            "http://a:65536", "http://a:8o", "ftp://a"}) {
        EXPECT_FALSE(is_plain_http_address(bad)) << bad;
    }
}
