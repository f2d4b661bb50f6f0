// cavio-report.exe on the real platform: its output parses, has a card per
// Direct3D adapter, and every page block equals, row for row, the grid that
// the same page fill produces here.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "probe/probes.h"
#include "refdata/_consts.h"
#include "report/report.h"
#include "submission_parser.h"
#include "submit/submission.h"

namespace {

// cavio-report.exe lies one folder above the test programs.
std::string report_program() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.erase(folder.find_last_of("\\/"));
    return folder.substr(0, folder.find_last_of("\\/")) + "\\cavio-report.exe";
}

// Runs the program with arguments; returns its exit code and standard output.
DWORD run(const std::string& arguments, std::string& output) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read_end = nullptr;
    HANDLE write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inherit, 0)) {
        return 0xFFFFFFFF;
    }
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write_end;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string command = "\"" + report_program() + "\" " + arguments;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &process);
    CloseHandle(write_end);
    if (!started) {
        CloseHandle(read_end);
        return 0xFFFFFFFF;
    }
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        output.append(buffer, got);
    }
    CloseHandle(read_end);
    WaitForSingleObject(process.hProcess, 120000);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

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
    std::string output;
    ASSERT_EQ(0u, run("", output)) << report_program();
    std::string error;
    const submission::document doc = submission::parse(output, error);
    ASSERT_EQ("", error);

    InitConsts();
    const auto direct3d = capture_direct3d();
    const auto opengl = capture_opengl(*direct3d);
    ASSERT_GT(direct3d->count, 0);
    ASSERT_EQ(static_cast<size_t>(direct3d->count), doc.cards.size());

    report pages;
    const std::array<grid_model*, 11> directx = {
        &pages.SGdx_summary,       &pages.SGdx_device,       &pages.SGdx_capabilities, &pages.SGdx_vertices,
        &pages.SGdx_rendering,     &pages.SGdx_textures,     &pages.SGdx_blending,     &pages.SGdx_buffers,
        &pages.SGdx_vertex_shader, &pages.SGdx_pixel_shader, &pages.SGdx_resolutions};
    const std::array<grid_model*, 8> gl = {
        &pages.SGgl_summary,    &pages.SGgl_device,   &pages.SGgl_capabilities, &pages.SGgl_rendering,
        &pages.SGgl_extensions, &pages.SGgl_textures, &pages.SGgl_stacks,       &pages.SGgl_vertex_shader};
    for (int i = 0; i < direct3d->count; ++i) {
        SCOPED_TRACE("card " + std::to_string(i));
        const Tqdx_adapter adapter = direct3d->adapter(i);
        const submission::card& card = doc.cards[static_cast<size_t>(i)];
        pages.FillDirect3DPages(adapter);
        ASSERT_EQ(11u, card.directx.size());
        for (size_t p = 0; p < directx.size(); ++p) {
            expect_block_equals_grid(card.directx[p], *directx[p]);
        }
        const int record = opengl_record_index(opengl.get(), adapter.monitor);
        ASSERT_EQ(record >= 0, card.opengl.has_value());
        if (record >= 0) {
            pages.FillOpenGLPages(opengl->adapter(record));
            ASSERT_EQ(8u, card.opengl->size());
            for (size_t p = 0; p < gl.size(); ++p) {
                expect_block_equals_grid((*card.opengl)[p], *gl[p]);
            }
        }
    }
}

TEST(ReportProgramPlatform, TakesNoOptionButHelp) {
    std::string output;
    EXPECT_EQ(0u, run("--help", output));
    EXPECT_NE(std::string::npos, output.find("Usage: cavio-report"));
    output.clear();
    EXPECT_EQ(2u, run("--verbose", output));
    EXPECT_EQ("", output);
}

}  // namespace
