// Every page, and the whole submission text, of the golden platform against
// the reviewed files in tests/golden/. After a deliberate change of the
// pages, run once with CAVIO_UPDATE_GOLDEN=1 to rewrite them, and review the
// difference line by line before committing it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <random>
#include <variant>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "base/text.h"
#include "fakes/fake_d3d11_12.h"
#include "fakes/golden_platform.h"
#include "fakes/golden_vulkan.h"
#include "platform/text_file.h"
#include "probe/capture.h"
#include "probe/d3d11_12_probe.h"
#include "probe/d3d9_probe.h"
#include "probe/gl_probe.h"
#include "refdata/pci_names.h"
#include "report/find.h"
#include "report/compare.h"
#include "report/json_pages.h"
#include "report/report_builder.h"
#include "report/report_json.h"
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
    vk_instance_record instance = fakes::golden_vulkan_instance();
    std::vector<vk_device_record> vulkan = {fakes::golden_vulkan_device()};
    report_document document;

    Golden() {
        init_reference_data();
        fakes::golden_direct3d(d3d);
        fakes::golden_opengl(gl, read_text_file(golden_path("gl_extensions.txt")));
        direct3d = std::make_unique<d3d9_probe>([this](UINT version) { return d3d.create(version); });
        opengl = std::make_unique<gl_probe>(direct3d->adapters, gl.platform());
        // What the fake Direct3D 11 and 12 runtimes say, on the first adapter.
        fakes::d3d11_12_runtime runtime;
        direct3d->adapters[0].d3d11_12 = probe_d3d11_12(nullptr, runtime.entry_points()).record;
        fakes::golden_dxgi(direct3d->adapters[0]);
        document = build_report(direct3d->adapters, opengl->adapters, &instance, vulkan);
    }
};

// All rows of all 32 pages of adapter 0 as the window shows them, header
// rows included: name, value and description under each page's marker.
TEST_F(Golden, EveryRowOfEveryPage) {
    ASSERT_EQ(2u, document.adapters.size());
    ASSERT_TRUE(document.adapters[0].group(page_group::opengl).read);
    std::string text;
    for (const report_group& group : document.adapters[0].groups) {
        for (const report_page& page : group.pages) {
            text += "!" + std::string(page.info().marker) + "!\n";
            if (!page.info().summary) {
                text += std::string(group_caption(group.id)) + " name\tValue\tDescription\n";
            }
            for (const report_row& row : page.rows) {
                text += row.name + "\t" + row.value + "\t" + row.description + "\n";
            }
        }
    }
    expect_golden(text, "pages.txt", 0);
}

// The submission text of both adapters; the second has no OpenGL record.
TEST_F(Golden, TheWholeSubmissionText) {
    const std::string submitted = submission_text(document);
    std::string text;
    for (size_t i = 0; i < submitted.size(); ++i) {
        if (submitted[i] == '\n') {
            ASSERT_TRUE(i > 0 && submitted[i - 1] == '\r') << "a line ends without CR at " << i;
            text.back() = '\n';
        } else {
            text += submitted[i];
        }
    }
    expect_golden(text, "submission.txt", 1);
}

// The capture side by side hands the writers the same records as the chained
// one: the same report, the golden DirectX and OpenGL pages and submission.
TEST_F(Golden, TheSideBySideCaptureWritesTheGoldenPages) {
    fakes::d3d11_12_runtime runtime;
    capture_seams seams;
    seams.direct3d10 = [&] {
        d3d9_probe probe([this](UINT version) { return d3d.create(version); });
        probe.adapters[0].d3d11_12 = probe_d3d11_12(nullptr, runtime.entry_points()).record;
        fakes::golden_dxgi(probe.adapters[0]);
        return probe.take();
    };
    seams.opengl = [this](std::span<const dx_adapter> list) { return gl_probe(list, gl.platform()).take(); };
    const report_document side_by_side = build_report(capture_startup(seams));
    EXPECT_EQ(build_report(capture_chained(seams)), side_by_side);
    // The first adapter's pages are the golden ones; the second has a reason
    // on its OpenGL Summary that the golden document leaves out.
    for (const page_group group : {page_group::directx, page_group::opengl}) {
        EXPECT_EQ(document.adapters[0].group(group), side_by_side.adapters.at(0).group(group));
    }
    EXPECT_EQ(submission_text(document), submission_text(side_by_side));
}

// What each row is, as its writer said, agrees with what it shows, on every
// page of both adapters: one rule per kind, and no row of another kind that
// looks like one of them.
TEST_F(Golden, EveryRowIsOfTheKindItsTextsShow) {
    // A number, or numbers joined by " x " ("65535 x 65535 x 65535"), with a
    // unit or without ("512 MiB").
    const auto number = [](const report_row& row) {
        std::string value = row.value;
        for (const std::string unit : {" MiB", " nits"}) {
            if (value.ends_with(unit)) {
                value.resize(value.size() - unit.size());
            }
        }
        for (size_t at = value.find(" x "); at != std::string::npos; at = value.find(" x ")) {
            value.replace(at, 3, "0");
        }
        return !value.empty() && reads_as_number(value);
    };
    const auto yes_no = [](const report_row& row) { return row.value == "yes" || row.value == "no"; };
    const auto section = [](const report_row& row) {
        return row.name.size() > 2 && row.name.front() == '[' && row.name.back() == ']' && row.value.empty();
    };
    const auto blank = [](const report_row& row) {
        return row.name.empty() && row.value.empty() && row.description.empty();
    };
    const auto unavailable = [](const report_row& row) { return row.value == "not available"; };
    const std::vector<std::pair<row_kind, std::function<bool(const report_row&)>>> kinds = {
        {row_kind::number, number},
        {row_kind::yes_no, yes_no},
        {row_kind::section, section},
        {row_kind::blank, blank},
        {row_kind::not_available, unavailable},
    };
    std::map<row_kind, int> seen;
    for (const adapter_report& adapter : document.adapters) {
        for (const report_group& group : adapter.groups) {
            for (const report_page& page : group.pages) {
                for (const report_row& row : page.rows) {
                    ++seen[row.kind];
                    for (const auto& [kind, shows] : kinds) {
                        EXPECT_EQ(row.kind == kind, shows(row))
                            << page.info().marker << ": \"" << row.name << "\" = \"" << row.value << "\"";
                    }
                }
            }
        }
    }
    // The golden pages hold rows of every kind.
    for (const row_kind kind : {row_kind::text, row_kind::number, row_kind::yes_no, row_kind::section,
                                row_kind::blank, row_kind::not_available}) {
        EXPECT_GT(seen[kind], 0) << static_cast<int>(kind);
    }
}

// The JSON document of both adapters, parsed, against their pages.
TEST_F(Golden, TheJsonDocumentHoldsEveryRowOfEveryAdapter) {
    const nlohmann::json written = nlohmann::json::parse(report_json(document, "cavio-report", "9.8.7.6"));
    EXPECT_EQ("cavio-report", written.at("program"));
    EXPECT_EQ("9.8.7.6", written.at("version"));
    const nlohmann::json& adapters = written.at("adapters");
    ASSERT_EQ(2u, adapters.size());
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE("adapter " + std::to_string(i));
        const nlohmann::json& adapter = adapters.at(i);
        EXPECT_EQ(i, adapter.at("index"));
        EXPECT_EQ(document.adapters[i].description, adapter.at("description"));
        expect_json_pages_equal(adapter.at("directx"), document.adapters[i].group(page_group::directx));
        expect_json_pages_equal(adapter.at("opengl"), document.adapters[i].group(page_group::opengl));
        expect_json_pages_equal(adapter.at("vulkan"), document.adapters[i].group(page_group::vulkan));
    }
    EXPECT_EQ(nlohmann::json::array(), adapters.at(1).at("opengl"));  // no OpenGL record
}

// Finding on the golden pages: any case, names, values and descriptions,
// in tab order, the Summary pages' hidden descriptions included.
// A saved report reads back as the same document, its problems the reasons
// they were, and saves as the same text again; a file of an earlier version,
// with the problems' texts alone, keeps each text whole.
TEST_F(Golden, ASavedReportReadsBackWhole) {
    // The whole report as the viewer saves it: what the site's tests post.
    expect_golden(report_json(document, "cavio", "1.2.3.4"), "report.json", 0);
    document.problems = {
        {"Direct3D 12", 0, "D3D12CreateDevice", "D3D12CreateDevice failed", "0x887A0004"},
        {"OpenGL", -1, "", "OpenGL32.dll is missing", ""},
        {"Vulkan", -1, "", "a \"quoted\" name,\ta tab, a back\\slash, \x01, \x7F and \u00fc", ""}};
    document.platform = {"Linux", "Debian GNU/Linux 12 (bookworm)", "6.1.0-27-amd64"};
    const std::string saved = report_json(document, "cavio", "1.2.3.4");
    const result<report_document> read = read_report_json(saved, "golden.json");
    ASSERT_TRUE(read) << read.why().text();
    EXPECT_TRUE(*read == document);
    EXPECT_EQ(saved, report_json(*read, "cavio", "1.2.3.4"));
    EXPECT_EQ("Linux", platform_os(*read));
    EXPECT_NE(std::string::npos,
              saved.find("\"platform\": {\n    \"os\": \"Linux\",\n    \"version\": \"Debian "
                         "GNU/Linux 12 (bookworm)\",\n    \"kernel\": \"6.1.0-27-amd64\"\n  },"));
    // The same text where a value is not UTF-8 and the slower writer writes it.
    document.platform.version = "Debian \xFF";
    EXPECT_NE(std::string::npos,
              report_json(document, "cavio", "1.2.3.4").find("\"version\": \"Debian \xEF\xBF\xBD\""));

    // A report made before reports said their system is Windows'.
    std::string earlier = saved;
    earlier.erase(earlier.find("  \"platform\""),
                  earlier.find("  \"adapters\"") - earlier.find("  \"platform\""));
    earlier.erase(earlier.find(",\n  \"reasons\""), std::string::npos).append("\n}\n");
    const result<report_document> old = read_report_json(earlier, "golden.json");
    ASSERT_TRUE(old) << old.why().text();
    EXPECT_EQ("Windows", platform_os(*old));
    EXPECT_TRUE(old->platform.os.empty());
    ASSERT_EQ(3u, old->problems.size());
    EXPECT_EQ("Direct3D 12: D3D12CreateDevice failed (0x887A0004)", old->problems[0].text());
    EXPECT_EQ("OpenGL: OpenGL32.dll is missing", old->problems[1].sentence);
}

// Each rule of the reader, then truncations and flipped bytes: every file is
// read or refused with a sentence that names it, and none crashes.
TEST_F(Golden, ASavedReportIsReadStrictly) {
    const std::string saved = report_json(document, "cavio", "1.2.3.4");
    const auto changed = [&saved](const std::string& from, const std::string& to) {
        std::string text = saved;
        return text.replace(text.find(from), from.size(), to);
    };
    const std::pair<std::string, std::string> refused[] = {
        {saved.substr(0, 40), "golden.json is not JSON: it ends too soon, at line 4, column "},
        {"hello", "golden.json is not JSON: it goes wrong at line 1, column 1."},
        {"{\"format\": 1} x", "golden.json is not JSON: it goes wrong at line 1, column 15."},
        {changed("Golden Board", "Golden \xFF"), "golden.json is not UTF-8 text (byte "},
        {changed("\"format\": 1", "\"format\": 2"),
         "golden.json is not a Cavio report: it is a report of format 2; this Cavio reads format 1."},
        {changed("\"format\": 1", "\"format\": \"1\""),
         "golden.json is not a Cavio report: its \"format\" is not a number."},
        {changed("\"version\": \"1.2.3.4\",", "\"version\": \"1.2.3.4\", \"platform\": \"Linux\","),
         "golden.json is not a Cavio report: platform is not an object."},
        {changed("\"version\": \"1.2.3.4\",", "\"version\": \"1.2.3.4\", \"platform\": {\"os\": \"Linux\"},"),
         "golden.json is not a Cavio report: platform has no \"version\"."},
        {changed("\"problems\"", "\"trouble\""),
         "golden.json is not a Cavio report: the document has no \"problems\"."},
        {changed("\"value\": \"Golden", "\"value\": 5, \"x\": \"Golden"),
         "golden.json is not a Cavio report: adapters[0].directx[0].rows[0].value is not a string."},
        {changed("\"dx_device\"", "\"gl_device\""),
         "golden.json is not a Cavio report: adapters[0].directx[1].marker \"gl_device\" is no page of its "
         "group."},
        {changed("\"kind\": \"text\"", "\"kind\": \"colour\""),
         "golden.json is not a Cavio report: adapters[0].directx[0].rows[0].kind \"colour\" is no kind of "
         "row."},
        {changed("\"written_order\": [", "\"written_order\": [99999, "),
         "golden.json is not a Cavio report: adapters[0].directx[0].written_order holds 99999, which is no "
         "row"},
        {std::string(100, '[') + std::string(100, ']'), "golden.json is not a Cavio report: it nests deeper"},
        {std::string((64 << 20) + 1, ' '), "golden.json is larger than 64 MiB."},
    };
    for (const auto& [text, sentence] : refused) {
        const result<report_document> read = read_report_json(text, "golden.json");
        ASSERT_FALSE(read) << sentence;
        EXPECT_EQ(0u, read.why().sentence.find(sentence)) << read.why().sentence;
    }
    std::mt19937 random(23);
    for (int i = 0; i < 60; ++i) {
        std::string text = saved.substr(0, random() % saved.size());
        std::string flipped = saved;
        flipped[random() % saved.size()] ^= static_cast<char>(1 + random() % 255);
        for (const std::string* damaged : {&text, &flipped}) {
            const result<report_document> read = read_report_json(*damaged, "golden.json");
            if (!read) {
                EXPECT_EQ(0u, read.why().sentence.find("golden.json ")) << read.why().sentence;
            }
        }
    }
}

// Two reports that differ in a known set of rows: a changed value, a row only
// in the first, a row only in the second, and an adapter only in the first.
TEST_F(Golden, ComparesTwoReportsRowByRow) {
    EXPECT_TRUE(report_differences(document, document).empty());
    // Values that differ in letter case alone differ.
    report_page lower{page_id::dx_summary, {{row_kind::text, "Driver", "nvd3dum.dll", "", {}}}, {}};
    report_page upper = lower;
    upper.rows[0].value = "NVD3DUM.DLL";
    EXPECT_TRUE(compare_pages(&lower, &upper).at(0).differs());
    report_document other = document;
    auto& directx = other.adapters[0].group(page_group::directx).pages;
    directx[1].rows[5].value = "9.9.9.9";  // Driver version
    auto& stacks = other.adapters[0].group(page_group::opengl).pages[5].rows;
    stacks.erase(stacks.begin() + 1);
    other.adapters[0]
        .group(page_group::vulkan)
        .pages[0]
        .rows.push_back({row_kind::text, "Extra", "1", "", {}});
    other.adapters.pop_back();
    const auto differences = report_differences(document, other);
    EXPECT_EQ(2u, differences.size());
    const std::string text = differences_text(differences);
    EXPECT_EQ(0u, text.find("Adapter 1: Golden Board 470\r\n"
                            "  DirectX - Device\r\n"
                            "    Driver version: 8.17.18.19 -> 9.9.9.9\r\n"
                            "  OpenGL - Stacks\r\n"
                            "    " +
                            document.adapters[0].groups[1].pages[5].rows[1].name + ": " +
                            document.adapters[0].groups[1].pages[5].rows[1].value +
                            " -> (none)\r\n"
                            "  Vulkan - Summary\r\n"
                            "    Extra: (none) -> 1\r\n"
                            "Adapter 2: Second Golden Board -> (none)\r\n"))
        << text;
    const difference_count count = count_differences(differences);
    EXPECT_EQ(3u + differences[1].pages.size(), count.pages);
}

// Several pages side by side: rows paired by section, name and repeat; a
// row the first page lacks stands after the row it follows where it is.
TEST(CompareMany, PairsRowsAcrossPagesInOrder) {
    const auto page = [](std::vector<std::pair<std::string, std::string>> rows) {
        report_page made{page_id::vk_limits, {}, {}};
        for (auto& [name, value] : rows) {
            made.rows.push_back(
                {name.starts_with("[") ? row_kind::section : row_kind::text, name, value, "", {}});
        }
        return made;
    };
    const report_page first = page({{"[A]", ""}, {"x", "1"}, {"y", "2"}, {"[B]", ""}, {"x", "3"}});
    const report_page second =
        page({{"[A]", ""}, {"x", "1"}, {"new", "9"}, {"y", "2"}, {"[B]", ""}, {"x", "4"}});
    const report_page third = page({{"[A]", ""}, {"x", "1"}, {"y", "2"}});
    const std::vector<row_across> rows = compare_many_pages({&first, &second, &third});
    std::vector<std::string> seen;
    for (const row_across& row : rows) {
        std::string line = row.named().name + (row.differs() ? " differs:" : ":");
        for (const report_row* each : row.rows) {
            line += " " + (each != nullptr ? each->value : std::string("-"));
        }
        seen.push_back(line);
    }
    EXPECT_EQ((std::vector<std::string>{"[A]:   ", "x: 1 1 1", "new differs: - 9 -", "y: 2 2 2", "[B]:   -",
                                        "x differs: 3 4 -"}),
              seen);
    // A report without the page lacks every row of it.
    const std::vector<row_across> lacking = compare_many_pages({&third, nullptr});
    EXPECT_EQ(3u, lacking.size());
    EXPECT_FALSE(lacking[0].differs());  // a section
    EXPECT_TRUE(lacking[1].differs());
    EXPECT_TRUE(compare_many_pages({nullptr, nullptr}).empty());
}

TEST_F(Golden, FindsRowsOnEveryPageInTabOrder) {
    const adapter_report& pages = document.adapters[0];
    EXPECT_TRUE(find_rows(pages, "").empty());
    EXPECT_TRUE(find_rows(pages, "no such text anywhere").empty());
    // A value: the GUID of the Device page.
    EXPECT_EQ((std::vector<found_row>{{page_id::dx_device, 10}}), find_rows(pages, "c0ffee-1111"));
    // A name on a page and the same name on another, in tab order.
    const auto units = find_rows(pages, "gl_max_texture_units");
    ASSERT_EQ(1u, units.size());
    EXPECT_EQ(page_id::gl_textures, units[0].page);
    const auto golden = find_rows(pages, "GOLDEN");
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ((found_row{page_id::dx_summary, 0}), golden.front());
    // The last of OpenGL's: "4.60 Golden", the shading language; then Vulkan's layer.
    EXPECT_TRUE(std::any_of(golden.begin(), golden.end(),
                            [](const found_row& row) { return row.page == page_id::gl_rendering; }));
    EXPECT_EQ(page_id::vk_extensions, golden.back().page);
    // A description alone.
    EXPECT_EQ(page_id::dx_capabilities, find_rows(pages, "returning the current scan line").at(0).page);
    // Every page is searched, the last of each group too: each page's first
    // named row is found where it is.
    for (const report_group& group : pages.groups) {
        for (const report_page& page : group.pages) {
            const auto named = std::find_if(page.rows.begin(), page.rows.end(),
                                            [](const report_row& row) { return !row.name.empty(); });
            if (named != page.rows.end()) {
                const found_row wanted{page.id, static_cast<int>(named - page.rows.begin())};
                const std::vector<found_row> found = find_rows(pages, named->name);
                EXPECT_NE(found.end(), std::find(found.begin(), found.end(), wanted)) << page.info().marker;
            }
        }
    }
    // A PCI identifier as developers write it: the vendor rows of the
    // DirectX and Vulkan Summary and Device pages.
    EXPECT_EQ((std::vector<found_row>{{page_id::dx_summary, 1},
                                      {page_id::dx_device, 6},
                                      {page_id::vk_summary, 5},
                                      {page_id::vk_device, 3}}),
              find_rows(pages, "0x10de"));
}

}  // namespace
