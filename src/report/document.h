// The report as one document: for each adapter its groups, for each group
// its pages in tab order, for each page its rows. Every output reads it: the
// window's grids, the submission text, JSON, the readable text and Find. All
// texts are UTF-8; nothing here knows a window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/os_platform.h"
#include "base/reason.h"
#include "report/page_table.h"

// What a row is, as its writer knew it.
enum class row_kind : uint8_t {
    text,           // a name with a text value, or a value the platform gave as text
    section,        // a heading, "[Caps]", over the rows below it
    blank,          // an empty line between blocks
    yes_no,         // the value is "yes" or "no"
    number,         // the value is a number the writer formatted: a count, a size, a version
    not_available,  // the platform did not answer the query behind the value
};

struct report_row {
    row_kind kind = row_kind::text;
    std::string name;
    std::string value;
    std::string description;
    // What the submission sends instead of the value, where the two differ:
    // a limit the driver did not answer goes as the zero the server has
    // always received for it.
    std::optional<std::string> wire_value;

    bool operator==(const report_row&) const = default;
};

struct report_page {
    page_id id = page_id::dx_summary;
    std::vector<report_row> rows;  // in the order shown
    // Where the page shows its rows otherwise than its writer wrote them
    // (sorted, or followed by a Problems section): the written rows, as
    // indices into rows, in the order written. None: the rows as shown.
    std::optional<std::vector<uint32_t>> written_order;

    const page_info& info() const { return page_of(id); }
    bool operator==(const report_page&) const = default;
};

struct report_group {
    page_group id = page_group::directx;
    // Whether the group's record was read. A group without one holds no
    // pages, or only a Summary page that says what went wrong.
    bool read = false;
    std::vector<report_page> pages;  // in tab order

    // The group's page of that id, or null.
    const report_page* page(page_id wanted) const;
    bool operator==(const report_group&) const = default;
};

struct adapter_report {
    std::string description;
    std::vector<report_group> groups;  // in the order of page_group

    const report_group& group(page_group id) const { return groups[static_cast<size_t>(id)]; }
    report_group& group(page_group id) { return groups[static_cast<size_t>(id)]; }
    bool operator==(const adapter_report&) const = default;
};

// One Vulkan device and its pages, whichever adapter shows it.
struct vk_device_report {
    std::string name;
    report_group group;  // the Vulkan group
    bool operator==(const vk_device_report&) const = default;
};

struct report_document {
    std::vector<adapter_report> adapters;
    // Every Vulkan device, in the order Vulkan lists them, where one of them
    // is no adapter's (a software device, a second GPU that DXGI lists
    // elsewhere); none where every device is an adapter's.
    std::vector<vk_device_report> vulkan_devices;
    // What the capture could not read at all, in the order it happened:
    // "OpenGL: no pixel format on \\.\DISPLAY2".
    std::vector<reason> problems;
    // The operating system it was read on; empty in a report made before
    // reports said it, which was Windows (see platform_os).
    os_platform platform;

    bool operator==(const report_document&) const = default;
};

// The rows of a page in the order its writer wrote them, without what the
// page adds for the reader.
std::vector<const report_row*> rows_as_written(const report_page& page);

// The operating system a report was read on: "Windows" for one that does
// not say (every report before Linux's).
inline std::string platform_os(const report_document& document) {
    return document.platform.os.empty() ? std::string("Windows") : document.platform.os;
}
