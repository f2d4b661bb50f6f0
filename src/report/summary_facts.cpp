// The DirectX Summary's facts: feature levels, shader model, memory and HDR.
#include "report/summary_facts.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "report/page_writer.h"

namespace {

constexpr summary_link links[] = {
    {"Direct3D 12 feature level", page_id::dx_d3d11_12, "Direct3D 12 feature level"},
    {"Direct3D 11 feature level", page_id::dx_d3d11_12, "Direct3D 11 feature level"},
    {"Highest shader model", page_id::dx_d3d11_12, "Highest shader model"},
    {"Dedicated video memory", page_id::dx_device, "Dedicated video memory"},
    {"HDR output", page_id::dx_outputs, "Colour space"},
};

constexpr char reading[] = "Reading\u2026";

const report_row* row_named(const report_page& page, std::string_view name) {
    const auto found = std::find_if(page.rows.begin(), page.rows.end(),
                                    [&](const report_row& row) { return row.name == name; });
    return found == page.rows.end() ? nullptr : &*found;
}

bool still_read(const report_page* page) {
    return page != nullptr && !page->rows.empty() && page->rows.back().name == reading;
}

// Whether an output is in HDR: yes where one of them is, no where every one
// said its colour space and none is; none where none said it.
report_row hdr_row(const report_page* outputs) {
    report_row row{row_kind::not_available, links[4].name, "not available", "", std::nullopt};
    if (outputs == nullptr) {
        return row;
    }
    for (const report_row& space : outputs->rows) {
        if (space.name != links[4].row_name || space.kind == row_kind::not_available) {
            continue;
        }
        const bool hdr = space.value.find("G2084") != std::string::npos;
        if (row.kind == row_kind::not_available || hdr) {
            row.kind = row_kind::yes_no;
            row.value = hdr ? "yes" : "no";
        }
    }
    return row;
}

}  // namespace

std::span<const summary_link> summary_links() {
    return links;
}

const summary_link* summary_link_of(const report_row& row) {
    const auto found = std::find_if(std::begin(links), std::end(links),
                                    [&](const summary_link& link) { return row.name == link.name; });
    return found == std::end(links) ? nullptr : found;
}

void add_summary_facts(report_group& directx, const os_platform& platform) {
    if (directx.pages.empty() || directx.pages.front().id != page_id::dx_summary) {
        return;
    }
    // Nothing to add where the DirectX pages were not read.
    const report_page* device = directx.page(page_id::dx_device);
    if (device == nullptr || device->rows.empty() || still_read(device)) {
        return;
    }
    report_page& summary = directx.pages.front();
    // The Summary as written, without what was shown after it before.
    if (summary.written_order) {
        summary.rows.resize(summary.written_order->size());
        summary.written_order.reset();
    }
    page_writer writer(summary);
    writer.shown_only_from_here();
    writer.blank();
    for (const summary_link& link : links) {
        const report_page* page = directx.page(link.page);
        const std::string description = "As the " + std::string(page_of(link.page).caption) + " page says.";
        if (still_read(page)) {
            writer.text(link.name, reading, description);
            continue;
        }
        report_row row;
        if (link.page == page_id::dx_outputs) {
            row = hdr_row(page);
        } else if (const report_row* source = page != nullptr ? row_named(*page, link.row_name) : nullptr) {
            row = *source;
            row.name = link.name;
        } else {
            row = {row_kind::not_available, link.name, "not available", "", std::nullopt};
        }
        writer.row(row.kind, row.name, row.value, description);
    }
    // The system the report was read on, where the capture says it.
    if (!platform.os.empty()) {
        writer.blank();
        writer.text("Platform",
                    (platform.version.empty() ? platform.os : platform.version) +
                        (platform.kernel.empty() ? "" : " (" + platform.kernel + ")"),
                    "The operating system the report was read on, as it names itself, and its version.");
    }
}
