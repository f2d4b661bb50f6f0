// The capture side by side on fake probes: a group reads until its probe
// ends, a probe past its bound is given up and ends alone, and the report is
// the chained capture's.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "fakes/fake_probes.h"
#include "probe/capture.h"
#include "refdata/pci_names.h"
#include "report/report_builder.h"

namespace {

using namespace std::chrono_literals;

// Two boards the list knows first; the DirectX and OpenGL probes each wait
// at a gate the test opens. The token counts the seams' copies.
capture_seams held_seams(std::shared_future<void> directx, std::shared_future<void> opengl,
                         const std::shared_ptr<int>& token) {
    capture_seams seams;
    seams.adapter_list = [] {
        fakes::direct3d_list list;
        list.add("First board", 0x501);
        list.add("Second board", 0x502);
        return std::optional(list.adapters);
    };
    seams.direct3d10 = [directx, token] {
        directx.wait();
        fakes::direct3d_list list;
        list.add("First board", 0x501).caps.MaxTextureWidth = 4096;
        list.add("Second board", 0x502).caps.MaxTextureWidth = 8192;
        return list.take();
    };
    seams.opengl = [opengl, token](std::span<const dx_adapter>) {
        opengl.wait();
        fakes::opengl_list gl;
        gl.add("First renderer", 0x501).max_lights = 8;
        return gl.take();
    };
    return seams;
}

const report_page& page_of(const report_document& document, size_t adapter, page_group group, page_id id) {
    const report_page* page = document.adapters.at(adapter).group(group).page(id);
    EXPECT_NE(nullptr, page);
    static const report_page none{};
    return page != nullptr ? *page : none;
}

std::string first_name(const report_page& page, size_t row = 0) {
    return row < page.rows.size() ? page.rows[row].name : "";
}

TEST(SideBySideCapture, AGroupReadsUntilItsProbeEndsAndTheReportIsTheChainedOne) {
    init_reference_data();
    std::promise<void> directx;
    std::promise<void> opengl;
    const auto token = std::make_shared<int>();
    const capture_seams seams = held_seams(directx.get_future().share(), opengl.get_future().share(), token);
    const long copies = token.use_count();
    {
        capture_run run(seams);
        const report_document reading = build_report(run.capture());
        ASSERT_EQ(2u, reading.adapters.size());
        EXPECT_EQ("Second board", reading.adapters[1].description);
        // The list's own rows on the DirectX Summary; "Reading…" elsewhere.
        const report_page& summary = page_of(reading, 0, page_group::directx, page_id::dx_summary);
        EXPECT_EQ("First board", summary.rows.at(0).value);
        EXPECT_EQ("Reading\u2026", first_name(summary, 4));
        EXPECT_EQ("Reading\u2026",
                  first_name(page_of(reading, 1, page_group::directx, page_id::dx_textures)));
        EXPECT_EQ("Reading\u2026",
                  first_name(page_of(reading, 1, page_group::opengl, page_id::gl_extensions)));
        EXPECT_EQ("DirectX and OpenGL", parts_still_reading(run.capture()));
        // Formats, whose Direct3D 9 section the DirectX probe reads, waits for it too.
        const report_page& formats = page_of(reading, 0, page_group::directx, page_id::dx_formats);
        EXPECT_EQ("Reading\u2026", first_name(formats));
        EXPECT_EQ("DirectX is still being read on this adapter.",
                  formats.rows.empty() ? "" : formats.rows[0].description);

        // The DirectX probe ends first: its pages fill, OpenGL still reads.
        directx.set_value();
        while (run.capture().still_reading(capture_part::directx)) {
            run.wait_until(capture_run::clock::now() + 10ms);
        }
        const report_document half = build_report(run.capture());
        EXPECT_EQ("Driver", first_name(page_of(half, 0, page_group::directx, page_id::dx_summary), 4));
        EXPECT_EQ("[Direct3D 9]", first_name(page_of(half, 0, page_group::directx, page_id::dx_formats)));
        EXPECT_EQ("Reading\u2026", first_name(page_of(half, 0, page_group::opengl, page_id::gl_summary)));
        EXPECT_EQ("OpenGL", parts_still_reading(run.capture()));

        opengl.set_value();
        run.finish();
        EXPECT_TRUE(run.capture().complete());
        EXPECT_FALSE(run.left_running());
        EXPECT_EQ(build_report(capture_chained(seams)), build_report(run.capture()));
    }
    EXPECT_EQ(copies, token.use_count());  // the threads' copies are gone
}

TEST(SideBySideCapture, AProbePastItsBoundIsGivenUpAndEndsAlone) {
    init_reference_data();
    std::promise<void> held;
    const std::shared_future<void> gate = held.get_future().share();
    const auto token = std::make_shared<int>();
    capture_seams seams = held_seams(gate, gate, token);
    seams.bound = 100ms;
    const long copies = token.use_count();
    auto run = std::make_unique<capture_run>(seams);
    run->finish();
    EXPECT_TRUE(run->capture().complete());
    EXPECT_TRUE(run->capture().given_up(capture_part::directx));
    EXPECT_TRUE(run->left_running());
    const report_document document = build_report(run->capture());
    EXPECT_EQ((std::vector<reason>{{"DirectX", -1, "", "no answer within 100 ms", ""},
                                   {"OpenGL", -1, "", "no answer within 100 ms", ""}}),
              document.problems);
    // What the list says, then the reason; nothing from empty records.
    const report_page& summary = page_of(document, 0, page_group::directx, page_id::dx_summary);
    std::vector<std::string> names;
    for (const report_row& row : summary.rows) {
        names.push_back(row.name);
    }
    EXPECT_EQ((std::vector<std::string>{"Device", "Vendor", "GPU", "", "[Problems]", "DirectX"}), names);
    EXPECT_TRUE(page_of(document, 0, page_group::directx, page_id::dx_textures).rows.empty());
    EXPECT_FALSE(document.adapters[0].group(page_group::opengl).read);

    // Let go, the probes end alone and leave nothing behind.
    run.reset();
    held.set_value();
    for (int wait = 0; wait < 500 && token.use_count() > copies; ++wait) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(copies, token.use_count());
}

// A probe that ends in time hands in its records and reasons whole, though
// another is given up beside it.
TEST(SideBySideCapture, WhatEndsInTimeArrivesWholeBesideAProbeGivenUp) {
    init_reference_data();
    std::promise<void> held;
    std::promise<void> open;
    open.set_value();
    const auto token = std::make_shared<int>();
    capture_seams seams = held_seams(held.get_future().share(), open.get_future().share(), token);
    const reason elsewhere{"OpenGL", 1, "", "the adapter shows on no desktop monitor", ""};
    seams.opengl = [elsewhere](std::span<const dx_adapter> adapters) {
        EXPECT_EQ(2u, adapters.size());
        fakes::opengl_list gl;
        gl.add("First renderer", 0x501).max_lights = 8;
        gl.read.reasons.push_back(elsewhere);
        return gl.take();
    };
    seams.bound = 300ms;
    {
        capture_run run(seams);
        run.finish();
        const startup_capture& capture = run.capture();
        EXPECT_TRUE(capture.given_up(capture_part::directx));
        EXPECT_FALSE(capture.given_up(capture_part::opengl));
        ASSERT_EQ(1u, capture.opengl.size());
        EXPECT_EQ(8, capture.opengl[0].max_lights);
        EXPECT_EQ(std::vector<reason>{elsewhere}, capture.reasons[static_cast<size_t>(capture_part::opengl)]);
        const report_document document = build_report(capture);
        EXPECT_EQ("First renderer",
                  page_of(document, 0, page_group::opengl, page_id::gl_summary).rows.at(0).value);
        // The second adapter's Summary says why it has no OpenGL pages.
        const report_page& second = page_of(document, 1, page_group::opengl, page_id::gl_summary);
        ASSERT_FALSE(second.rows.empty());
        EXPECT_EQ("the adapter shows on no desktop monitor", second.rows.back().value);
        EXPECT_EQ(2u, document.problems.size());  // the OpenGL reason and the DirectX probe's silence
    }
    held.set_value();
}

}  // namespace

namespace {

// The list read aside: making the run returns while the list is read; the
// probes start once it is in, and the report is the chained capture's; a
// list past the bound is the DirectX part's reason.
TEST(SideBySideCapture, AListReadAsideStartsTheProbesWhenItIsIn) {
    init_reference_data();
    std::promise<void> list_held;
    std::promise<void> open;
    open.set_value();
    const std::shared_future<void> opened = open.get_future().share();
    const auto token = std::make_shared<int>();
    capture_seams seams = held_seams(opened, opened, token);
    const std::shared_future<void> list_gate = list_held.get_future().share();
    const auto list = seams.adapter_list;
    seams.adapter_list = [list, list_gate] {
        list_gate.wait();
        return list();
    };
    {
        capture_run run(seams, {}, true);
        EXPECT_TRUE(run.capture().listing);
        EXPECT_FALSE(run.capture().complete());
        EXPECT_EQ("the adapter list", parts_still_reading(run.capture()));
        EXPECT_TRUE(build_report(run.capture()).adapters.empty());
        EXPECT_FALSE(run.collect());
        list_held.set_value();
        run.finish();
        EXPECT_TRUE(run.capture().complete());
        EXPECT_FALSE(run.capture().given_up(capture_part::directx));
        EXPECT_EQ(build_report(capture_chained(seams)), build_report(run.capture()));
    }
    std::promise<void> never;
    seams.adapter_list = [gate = never.get_future().share(), list] {
        gate.wait_for(2s);
        return list();
    };
    seams.bound = 100ms;
    capture_run late(seams, {}, true);
    late.finish();
    EXPECT_TRUE(late.capture().complete());
    EXPECT_TRUE(late.capture().given_up(capture_part::directx));
    EXPECT_TRUE(late.left_running());
    EXPECT_EQ((std::vector<reason>{{"DirectX", -1, "", "no answer within 100 ms", ""}}),
              late.capture().all_reasons());
}

}  // namespace
