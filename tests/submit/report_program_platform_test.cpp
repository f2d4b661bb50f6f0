// cavio-report.exe on the real platform: its output parses, has a card per
// Direct3D adapter, and every page block equals, row for row, the page that
// the same capture gives here.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/platform.h"

#include <algorithm>
#include <set>
#include <string>
#include <variant>

#include "platform/shared_capture.h"
#include "probe/capture.h"
#include "refdata/pci_names.h"
#include "report/compare.h"
#include "report/report_builder.h"
#include "platform/platform_shape.h"
#include "platform/report_program.h"
#include "platform/text_file.h"
#include "report/json_pages.h"
#include "report/page_text.h"
#include "report/report_json.h"
#include "submission_parser.h"

namespace {

// The lines a page's rows give in the text: the rows as written (without
// what the page shows for the reader alone), the description left out, a
// blank row as an empty line, TABs and line breaks as blanks, and what the
// site has always received where the page shows "not available".
std::vector<submission::row> text_rows(const report_page& page) {
    const auto one_line = [](std::string text) {
        std::replace_if(
            text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
        return text;
    };
    std::vector<submission::row> rows;
    for (const report_row* row : rows_as_written(page)) {
        rows.push_back(row->kind == row_kind::blank
                           ? submission::row{true, "", ""}
                           : submission::row{false, one_line(row->name),
                                             one_line(row->wire_value.value_or(row->value))});
    }
    return rows;
}

// The page a block names, of the group; every block names one.
void expect_block_equals_page(const submission::page& block, const report_group& group) {
    SCOPED_TRACE(block.id);
    const auto named = std::find_if(group.pages.begin(), group.pages.end(),
                                    [&](const report_page& page) { return block.id == page.info().marker; });
    ASSERT_NE(group.pages.end(), named);
    std::vector<submission::row> expected = text_rows(*named);
    std::vector<submission::row> written = block.rows;
    if (block.id == "dx_resolutions") {
        // Sorted on screen, unsorted in the text.
        const auto by_text = [](const submission::row& a, const submission::row& b) {
            return a.name + "\t" + a.value < b.name + "\t" + b.value;
        };
        std::sort(expected.begin(), expected.end(), by_text);
        std::sort(written.begin(), written.end(), by_text);
    }
    EXPECT_EQ(expected, written);
}

TEST(ReportProgramPlatform, PrintsTheWholeReportOfThisMachine) {
    init_reference_data();
    const report_document document = build_report(shared_capture());
    const program_result run = run_report_program("--submission");
    if (!shape_has_direct3d()) {
        // Nothing to report: says so, and prints no report.
        EXPECT_TRUE(document.adapters.empty());
        EXPECT_EQ(1u, run.exit_code);
        EXPECT_EQ("", run.output);
        // Standard error is a text stream: "\r\n" on Windows. It says why first.
        EXPECT_NE(std::string::npos, run.errors.find("cavio-report: no Direct3D adapter could be read\r\n"));
        EXPECT_NE(std::string::npos, run.errors.find("cavio-report: Direct3D 9: Direct3DCreate9 failed\r\n"))
            << run.errors;
        return;
    }
    ASSERT_EQ(0u, run.exit_code) << report_program() << ": " << run.errors;
    std::string error;
    const submission::document doc = submission::parse(run.output, error);
    ASSERT_EQ("", error);
    ASSERT_FALSE(document.adapters.empty());
    ASSERT_EQ(document.adapters.size(), doc.cards.size());
    for (size_t i = 0; i < document.adapters.size(); ++i) {
        SCOPED_TRACE("card " + std::to_string(i));
        const adapter_report& adapter = document.adapters[i];
        const submission::card& card = doc.cards[i];
        // The Direct3D 11/12 page is not part of the submission.
        ASSERT_EQ(11u, card.directx.size());
        for (const submission::page& block : card.directx) {
            expect_block_equals_page(block, adapter.group(page_group::directx));
        }
        const report_group& gl = adapter.group(page_group::opengl);
        ASSERT_EQ(gl.read, card.opengl.has_value());
        if (gl.read) {
            ASSERT_EQ(8u, card.opengl->size());
            for (const submission::page& block : *card.opengl) {
                expect_block_equals_page(block, gl);
            }
        }
    }
    // By default, the readable text of the window's Copy report.
    const program_result text = run_report_program("");
    EXPECT_EQ(0u, text.exit_code);
    const std::string heading = "Adapter 1 of " + std::to_string(document.adapters.size()) + ": " +
                                document.adapters[0].description + "\r\n\r\n";
    EXPECT_EQ(
        heading + page_text(document.adapters[0].group(page_group::directx).pages[0]),
        text.output.substr(0, heading.size() + page_text(document.adapters[0].groups[0].pages[0]).size()));
}

TEST(ReportProgramPlatform, PrintsTheReportAsJson) {
    init_reference_data();
    const report_document expected = build_report(shared_capture());
    const program_result run = run_report_program("--json");
    if (!shape_has_direct3d()) {
        EXPECT_EQ(1u, run.exit_code);
        EXPECT_EQ("", run.output);
        return;
    }
    ASSERT_EQ(0u, run.exit_code) << run.errors;
    const nlohmann::json document = nlohmann::json::parse(run.output);
    EXPECT_EQ(1, document.at("format"));
    EXPECT_TRUE(read_report_json(run.output, "printed.json"));
    EXPECT_EQ("cavio-report", document.at("program"));
    EXPECT_NE("", document.at("version"));
    const nlohmann::json& adapters = document.at("adapters");
    ASSERT_EQ(expected.adapters.size(), adapters.size());
    for (size_t i = 0; i < expected.adapters.size(); ++i) {
        SCOPED_TRACE("adapter " + std::to_string(i));
        expect_json_pages_equal(adapters[i].at("directx"), expected.adapters[i].group(page_group::directx));
        expect_json_pages_equal(adapters[i].at("opengl"), expected.adapters[i].group(page_group::opengl));
    }
}

// The options, and --compare's exit status: 0 equal, 1 different, 2 a file
// it refuses, said on standard error.
TEST(ReportProgramPlatform, OptionsAndComparisons) {
    for (const char* help : {"--help", "-h", "/?"}) {
        const program_result run = run_report_program(help);
        EXPECT_EQ(0u, run.exit_code);
        EXPECT_EQ(0u, run.output.find("Usage: cavio-report [--json | --submission] [--output FILE]"));
    }
    EXPECT_EQ(0u, run_report_program("--version").output.find("cavio-report "));
    // A wrong argument is named in one line, and a refused file in one plain
    // sentence; exit 2 for both.
    char temporary[MAX_PATH];
    GetTempPathA(MAX_PATH, temporary);
    const std::string not_json = std::string(temporary) + "cavio-not-json.json";
    write_text_file(not_json, "hello");
    const std::string compare_not_json = "--compare \"" + not_json + "\" \"" + not_json + "\"";
    const std::pair<std::string, std::string> wrong[] = {
        {"--json --verbose", "cavio-report: unknown option --verbose; see --help\r\n"},
        {"--json --json", "cavio-report: --json is given twice; see --help\r\n"},
        {"--compare a.json b.json c.json", "cavio-report: unexpected argument c.json; see --help\r\n"},
        {"--submit notaurl",
         "cavio-report: --submit needs an address that starts http://, not notaurl; see --help\r\n"},
        {"--submit https://cavio.example/",
         "cavio-report: --submit needs an address that starts http://, not https://cavio.example/; see "
         "--help\r\n"},
        {"--submit http://cavio.example:99999/",
         "cavio-report: --submit needs an address that starts http://, not http://cavio.example:99999/; see "
         "--help\r\n"},
        {compare_not_json,
         "cavio-report: cavio-not-json.json is not JSON: it goes wrong at line 1, column 1\r\n"},
    };
    for (const auto& [arguments, said] : wrong) {
        const program_result run = run_report_program(arguments);
        EXPECT_EQ(2u, run.exit_code) << arguments;
        EXPECT_EQ("", run.output);
        EXPECT_EQ(said, run.errors);
    }
    DeleteFileA(not_json.c_str());

    if (!shape_has_direct3d()) {
        return;
    }
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string a = std::string(folder) + "cavio-compare-a.json";
    const std::string b = std::string(folder) + "cavio-compare-b.json";
    ASSERT_EQ(0u, run_report_program("--json --output \"" + a + "\"").exit_code);
    std::string saved = read_text_file(a);
    const size_t value = saved.find("\"value\": \"", saved.find("\"Driver\""));
    ASSERT_NE(std::string::npos, value);
    const std::string driver = saved.substr(value + 10, saved.find('"', value + 10) - value - 10);
    saved.insert(value + 10, "new ");
    write_text_file(b, saved);
    const program_result same = run_report_program("--compare \"" + a + "\" \"" + a + "\"");
    EXPECT_EQ(0u, same.exit_code);
    EXPECT_EQ("", same.output);
    const program_result differ = run_report_program("--compare \"" + a + "\" \"" + b + "\"");
    EXPECT_EQ(1u, differ.exit_code);
    EXPECT_NE(std::string::npos,
              differ.output.find("  DirectX - Summary\r\n    Driver: " + driver + " -> new " + driver));
    // Output that cannot be written: exit 2, with the system's reason.
    const program_result unwritten = run_report_program("--compare \"" + a + "\" \"" + a + "\" --output \"" +
                                                        std::string(folder) + "no such folder\\r.txt\"");
    EXPECT_EQ(2u, unwritten.exit_code);
    EXPECT_NE(std::string::npos,
              unwritten.errors.find("r.txt cannot be written: " + system_error_words(ERROR_PATH_NOT_FOUND)))
        << unwritten.errors;
    write_text_file(b, "{\"format\": 2}");
    const program_result refused = run_report_program("--compare \"" + a + "\" \"" + b + "\"");
    EXPECT_EQ(2u, refused.exit_code);
    EXPECT_NE(std::string::npos,
              refused.errors.find("cavio-compare-b.json is not a Cavio report: it is a report of format 2"));
    DeleteFileA(a.c_str());
    DeleteFileA(b.c_str());
}

}  // namespace

TEST(ReportProgramPlatform, SideBySideReadsWhatTheChainedCaptureReads) {
    init_reference_data();
    const report_document chained = build_report(capture_chained());
    const report_document side_by_side = build_report(shared_capture());
    EXPECT_EQ(chained.problems, side_by_side.problems);
    // Only this moment's memory budget and usage may have changed between the two.
    const std::set<std::string> of_the_moment = {"Local budget", "Local usage", "Non-local budget",
                                                 "Non-local usage"};
    for (const adapter_differences& adapter : report_differences(chained, side_by_side)) {
        for (const page_differences& page : adapter.pages) {
            for (const compared_row& row : page.rows) {
                const report_row* either = row.a != nullptr ? row.a : row.b;
                EXPECT_EQ(1u, of_the_moment.count(either->name)) << either->name;
            }
        }
    }
}
