// cavio-report.exe on the real platform: its output parses, has a card per
// Direct3D adapter, and every page block equals, row for row, the grid that
// the same page fill produces here.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "probe/capture.h"
#include "refdata/pci_names.h"
#include "report/report.h"
#include "platform/platform_shape.h"
#include "platform/report_program.h"
#include "report/json_pages.h"
#include "submission_parser.h"
#include "submit/submission.h"

namespace {

// The lines the grid's rows give in the text: the description left out, a
// blank row as an empty line, TABs and line breaks as blanks.
std::vector<submission::row> grid_rows(const grid_model& grid) {
    const auto one_line = [](std::string text) {
        std::replace_if(
            text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
        return text;
    };
    std::vector<submission::row> rows;
    for (int r = grid.fixed_rows(); r < grid.row_count(); ++r) {
        const bool blank = grid.cell(0, r).empty() && grid.cell(1, r).empty() && grid.cell(2, r).empty();
        rows.push_back(blank ? submission::row{true, "", ""}
                             : submission::row{false, one_line(grid.cell(0, r)), one_line(grid.cell(1, r))});
    }
    return rows;
}

void expect_block_equals_grid(const submission::page& block, grid_model& grid) {
    SCOPED_TRACE(block.id);
    EXPECT_EQ(grid.name().substr(2), block.id);
    std::vector<submission::row> expected = grid_rows(grid);
    std::vector<submission::row> written = block.rows;
    if (block.id == "dx_resolutions") {
        // Sorted on screen, unsorted in the text.
        const auto by_text = [](const submission::row& a, const submission::row& b) {
            return a.name + "\t" + a.value < b.name + "\t" + b.value;
        };
        std::sort(expected.begin(), expected.end(), by_text);
        std::sort(written.begin(), written.end(), by_text);
    }
    if (written.empty() && expected.size() == 1 && expected[0].blank) {
        return;  // an empty page: the row the set-up leaves is not written
    }
    EXPECT_EQ(expected, written);
}

TEST(ReportProgramPlatform, PrintsTheWholeReportOfThisMachine) {
    init_reference_data();
    const auto [direct3d, opengl] = capture_startup();
    const program_result run = run_report_program("");
    if (!shape_has_direct3d()) {
        // Nothing to report: says so, and prints no report.
        EXPECT_EQ(0, direct3d->count);
        EXPECT_EQ(1u, run.exit_code);
        EXPECT_EQ("", run.output);
        // Standard error is a text stream: "\r\n" on Windows.
        EXPECT_EQ("cavio-report: no Direct3D adapter could be read",
                  run.errors.substr(0, run.errors.find_last_not_of("\r\n") + 1));
        return;
    }
    ASSERT_EQ(0u, run.exit_code) << report_program() << ": " << run.errors;
    std::string error;
    const submission::document doc = submission::parse(run.output, error);
    ASSERT_EQ("", error);
    ASSERT_GT(direct3d->count, 0);
    ASSERT_EQ(static_cast<size_t>(direct3d->count), doc.cards.size());

    report pages;
    // The blocks stand in the fill order, which the golden text pins.
    // The Direct3D 11/12 page is not part of the submission.
    std::vector<const page_info*> directx;
    for (const page_info* page : fill_order(page_group::directx)) {
        if (page->submitted) {
            directx.push_back(page);
        }
    }
    const auto gl = fill_order(page_group::opengl);
    for (int i = 0; i < direct3d->count; ++i) {
        SCOPED_TRACE("card " + std::to_string(i));
        const dx_adapter adapter = direct3d->adapter(i);
        const submission::card& card = doc.cards[static_cast<size_t>(i)];
        pages.fill_directx_pages(adapter);
        ASSERT_EQ(11u, card.directx.size());
        for (size_t p = 0; p < directx.size(); ++p) {
            expect_block_equals_grid(card.directx[p], pages.grid(directx[p]->id));
        }
        const int record = opengl_record_index(opengl.get(), adapter.monitor);
        ASSERT_EQ(record >= 0, card.opengl.has_value());
        if (record >= 0) {
            pages.fill_opengl_pages(opengl->adapter(record));
            ASSERT_EQ(8u, card.opengl->size());
            for (size_t p = 0; p < gl.size(); ++p) {
                expect_block_equals_grid((*card.opengl)[p], pages.grid(gl[p]->id));
            }
        }
    }
}

TEST(ReportProgramPlatform, PrintsTheReportAsJson) {
    init_reference_data();
    const auto [direct3d, opengl] = capture_startup();
    const program_result run = run_report_program("--json");
    if (!shape_has_direct3d()) {
        EXPECT_EQ(1u, run.exit_code);
        EXPECT_EQ("", run.output);
        return;
    }
    ASSERT_EQ(0u, run.exit_code) << run.errors;
    const nlohmann::json document = nlohmann::json::parse(run.output);
    EXPECT_EQ("cavio-report", document.at("program"));
    EXPECT_NE("", document.at("version"));
    const nlohmann::json& adapters = document.at("adapters");
    ASSERT_EQ(static_cast<size_t>(direct3d->count), adapters.size());
    for (int i = 0; i < direct3d->count; ++i) {
        SCOPED_TRACE("adapter " + std::to_string(i));
        const dx_adapter adapter = direct3d->adapter(i);
        report pages;
        pages.fill_directx_pages(adapter);
        expect_json_pages_equal_grids(adapters[static_cast<size_t>(i)].at("directx"), pages,
                                      page_group::directx);
        const int record = opengl_record_index(opengl.get(), adapter.monitor);
        if (record >= 0) {
            pages.fill_opengl_pages(opengl->adapter(record));
            expect_json_pages_equal_grids(adapters[static_cast<size_t>(i)].at("opengl"), pages,
                                          page_group::opengl);
        } else {
            EXPECT_EQ(nlohmann::json::array(), adapters[static_cast<size_t>(i)].at("opengl"));
        }
    }
}

TEST(ReportProgramPlatform, TakesJsonAndHelpAndNothingElse) {
    const program_result help = run_report_program("--help");
    EXPECT_EQ(0u, help.exit_code);
    EXPECT_NE(std::string::npos, help.output.find("Usage: cavio-report [--json] [--help]"));
    EXPECT_NE(std::string::npos, help.output.find("--json"));
    const program_result unknown = run_report_program("--json --verbose");
    EXPECT_EQ(2u, unknown.exit_code);
    EXPECT_EQ("", unknown.output);
    EXPECT_NE(std::string::npos, unknown.errors.find("Usage: cavio-report"));
}

}  // namespace
