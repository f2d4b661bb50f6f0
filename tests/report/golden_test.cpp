// Every page, and the whole submission text, of the golden platform against
// the reviewed files in tests/golden/. After a deliberate change of the
// pages, run once with CAVIO_UPDATE_GOLDEN=1 to rewrite them, and review the
// difference line by line before committing it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/fake_d3d11_12.h"
#include "fakes/golden_platform.h"
#include "report/json_pages.h"
#include "platform/text_file.h"
#include "probe/d3d9_probe.h"
#include "probe/gl_probe.h"
#include "refdata/pci_names.h"
#include "report/find.h"
#include "report/report.h"
#include "submit/submission.h"

namespace {

std::string golden_path(const std::string& name) {
    return std::string(CAVIO_GOLDEN_DIR) + "/" + name;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Compares text with the golden file line by line and names the first
// difference by its card, its page marker and its row: counted from 0 below
// the marker on the pages (the grid's row), from 1 in the submission text.
void expect_golden(const std::string& actual, const std::string& file, int first_row) {
    const std::string path = golden_path(file);
    if (std::getenv("CAVIO_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(path, std::ios::binary) << actual;
        std::printf("rewrote %s\n", path.c_str());
        return;
    }
    const std::vector<std::string> expected = lines_of(read_text_file(path));
    ASSERT_FALSE(expected.empty()) << "no golden file " << path;
    const std::vector<std::string> got = lines_of(actual);
    int card = 0;
    std::string page = "(before the first page)";
    int row = first_row;
    for (size_t i = 0; i < std::max(expected.size(), got.size()); ++i) {
        const std::string want = i < expected.size() ? expected[i] : "<end of file>";
        const std::string have = i < got.size() ? got[i] : "<end of text>";
        if (want != have) {
            FAIL() << file << ": " << (card > 0 ? "card " + std::to_string(card) + ", " : "") << "page "
                   << page << ", row " << row << " (line " << i + 1 << ")\n  expected: " << want
                   << "\n  actual:   " << have;
        }
        if (want == "|card|") {
            ++card;
        }
        if (want.size() > 2 && want.front() == '!' && want.back() == '!') {
            page = want;
            row = first_row;
        } else {
            ++row;
        }
    }
}

class Golden : public ::testing::Test {
protected:
    fakes::d3d9 d3d;
    fakes::gl_system gl;
    std::unique_ptr<d3d9_probe> direct3d;
    std::unique_ptr<gl_probe> opengl;
    report pages;

    Golden() {
        init_reference_data();
        fakes::golden_direct3d(d3d);
        fakes::golden_opengl(gl, read_text_file(golden_path("gl_extensions.txt")));
        direct3d = std::make_unique<d3d9_probe>([this](UINT version) { return d3d.create(version); });
        opengl = std::make_unique<gl_probe>(*direct3d, gl.platform());
        // What the fake Direct3D 11 and 12 runtimes say, on the first adapter.
        fakes::d3d11_12_runtime runtime;
        direct3d->adapters[0].d3d11_12 = probe_d3d11_12(nullptr, runtime.entry_points());
    }
};

// All rows of all 19 grids of adapter 0, header rows included: name, value
// and description under each page's marker.
TEST_F(Golden, EveryRowOfEveryPage) {
    ASSERT_EQ(2, direct3d->count);
    ASSERT_EQ(1, opengl->count);
    pages.fill_directx_pages(direct3d->adapter(0));
    pages.fill_opengl_pages(opengl->adapter(0));
    std::string text;
    const auto add = [&text](const grid_model& grid) {
        text += "!" + grid.name().substr(2) + "!\n";
        for (int r = 0; r < grid.row_count(); ++r) {
            text += grid.cell(0, r) + "\t" + grid.cell(1, r) + "\t" + grid.cell(2, r) + "\n";
        }
    };
    for (const page_info& page : page_table()) {
        add(pages.grid(page.id));
    }
    expect_golden(text, "pages.txt", 0);
}

// The submission text of both adapters; the second has no OpenGL record.
TEST_F(Golden, TheWholeSubmissionText) {
    build_submission_text(pages, *direct3d, opengl.get());
    std::string text;
    for (size_t i = 0; i < pages.submission_text.size(); ++i) {
        if (pages.submission_text[i] == '\n') {
            ASSERT_TRUE(i > 0 && pages.submission_text[i - 1] == '\r') << "a line ends without CR at " << i;
            text.back() = '\n';
        } else {
            text += pages.submission_text[i];
        }
    }
    expect_golden(text, "submission.txt", 1);
}

// The JSON document of both adapters, parsed, against the grids of each.
TEST_F(Golden, TheJsonDocumentHoldsEveryRowOfEveryAdapter) {
    const nlohmann::json document =
        nlohmann::json::parse(report_json(pages, *direct3d, opengl.get(), "cavio-report", "9.8.7.6"));
    EXPECT_EQ("cavio-report", document.at("program"));
    EXPECT_EQ("9.8.7.6", document.at("version"));
    const nlohmann::json& adapters = document.at("adapters");
    ASSERT_EQ(2u, adapters.size());
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE("adapter " + std::to_string(i));
        const nlohmann::json& adapter = adapters.at(static_cast<size_t>(i));
        report expected;
        expected.fill_directx_pages(direct3d->adapter(i));
        EXPECT_EQ(i, adapter.at("index"));
        EXPECT_EQ(direct3d->adapter(i).info.description, adapter.at("description"));
        expect_json_pages_equal_grids(adapter.at("directx"), expected, page_group::directx);
        if (i == 0) {
            expected.fill_opengl_pages(opengl->adapter(0));
            expect_json_pages_equal_grids(adapter.at("opengl"), expected, page_group::opengl);
        } else {
            EXPECT_EQ(nlohmann::json::array(), adapter.at("opengl"));  // no OpenGL record
        }
    }
    // Texts go from the code page to UTF-8.
    if (GetACP() == 1252) {
        EXPECT_EQ("\xC3\x89t\xC3\xA9 \xE2\x82\xAC 3\xC2\xB2", utf8_of("\xC9t\xE9 \x80 3\xB2"));
    }
}

// Finding on the golden pages: any case, names, values and descriptions,
// in tab order, the Summary pages' hidden descriptions included.
TEST_F(Golden, FindsRowsOnEveryPageInTabOrder) {
    pages.fill_directx_pages(direct3d->adapter(0));
    pages.fill_opengl_pages(opengl->adapter(0));
    EXPECT_TRUE(find_rows(pages, "").empty());
    EXPECT_TRUE(find_rows(pages, "no such text anywhere").empty());
    // A value: the GUID of the Device page.
    EXPECT_EQ((std::vector<found_row>{{page_id::dx_device, 11}}), find_rows(pages, "c0ffee-1111"));
    // A name on a page and the same name on another, in tab order.
    const auto units = find_rows(pages, "gl_max_texture_units");
    ASSERT_EQ(1u, units.size());
    EXPECT_EQ(page_id::gl_textures, units[0].page);
    const auto golden = find_rows(pages, "GOLDEN");
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ((found_row{page_id::dx_summary, 0}), golden.front());
    EXPECT_EQ(page_id::gl_rendering, golden.back().page);  // "4.60 Golden", the shading language
    // A description alone.
    EXPECT_EQ(page_id::dx_capabilities, find_rows(pages, "returning the current scan line").at(0).page);
}

}  // namespace
