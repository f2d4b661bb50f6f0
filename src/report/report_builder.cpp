// The report built from the capture: each adapter's pages written by the
// page table's writers, the problems, and the Vulkan devices no adapter is.
#include "report/report_builder.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "probe/capture.h"
#include "probe/records.h"
#include "report/page_writer.h"
#include "report/summary_facts.h"

report_page write_page(const page_info& page, const dx_adapter& adapter) {
    report_page written{page.id, {}, {}};
    page_writer writer(written);
    page.writer.directx(writer, adapter);
    return written;
}

adapter_report build_adapter_report(const dx_adapter& adapter, const gl_record* opengl,
                                    const vk_page_source* vulkan) {
    adapter_report report;
    report.description = adapter.info.description;
    report.groups.resize(group_count);
    report_group& directx = report.group(page_group::directx);
    directx.id = page_group::directx;
    directx.read = true;
    for (const page_info& page : pages_of(page_group::directx)) {
        directx.pages.push_back(write_page(page, adapter));
    }
    add_summary_facts(directx);
    report_group& gl = report.group(page_group::opengl);
    gl.id = page_group::opengl;
    gl.read = opengl != nullptr;
    if (opengl != nullptr) {
        for (const page_info& page : pages_of(page_group::opengl)) {
            gl.pages.push_back(write_page(page, *opengl));
        }
    }
    report_group& vk = report.group(page_group::vulkan);
    vk.id = page_group::vulkan;
    vk.read = vulkan != nullptr;
    if (vulkan != nullptr) {
        for (const page_info& page : pages_of(page_group::vulkan)) {
            vk.pages.push_back(write_page(page, *vulkan));
        }
    }
    return report;
}

namespace {

bool same_luid(const dx_adapter& adapter, const vk_device_record& device) {
    return adapter.info.has_luid && device.has_id && device.id.deviceLUIDValid != VK_FALSE &&
           std::equal(adapter.info.luid.begin(), adapter.info.luid.end(), std::begin(device.id.deviceLUID));
}

bool same_ids(const dx_adapter& adapter, const vk_device_record& device) {
    return adapter.info.vendor_id == device.properties.vendorID &&
           adapter.info.device_id == device.properties.deviceID;
}

}  // namespace

std::vector<vk_match> match_vulkan(std::span<const dx_adapter> adapters,
                                   std::span<const vk_device_record> devices) {
    std::vector<vk_match> matches(adapters.size());
    if (devices.empty()) {
        return matches;
    }
    std::vector<bool> claimed(devices.size(), false);
    const auto find = [&](const dx_adapter& adapter, auto same) {
        for (size_t d = 0; d < devices.size(); ++d) {
            if (same(adapter, devices[d])) {
                return static_cast<int>(d);
            }
        }
        return -1;
    };
    for (size_t a = 0; a < adapters.size(); ++a) {
        if (const int d = find(adapters[a], same_luid); d >= 0) {
            matches[a] = {d, "LUID"};
        } else if (const int e = find(adapters[a], same_ids); e >= 0) {
            matches[a] = {e, "vendor and device ID"};
        }
        if (matches[a].device >= 0) {
            claimed[static_cast<size_t>(matches[a].device)] = true;
        }
    }
    // The devices no adapter claims go, in order, to the adapters left.
    size_t next = 0;
    for (vk_match& match : matches) {
        if (match.device >= 0) {
            continue;
        }
        while (next < devices.size() && claimed[next]) {
            ++next;
        }
        if (next < devices.size()) {
            match = {static_cast<int>(next++), "none: a device of no other adapter"};
        } else {
            match = {0, "none: the first device"};
        }
    }
    return matches;
}

int opengl_record_of(const dx_adapter& adapter, std::span<const gl_record> opengl) {
    for (size_t i = 0; i < opengl.size(); ++i) {
        if (opengl[i].monitor == adapter.monitor) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

report_document build_report(std::span<const dx_adapter> adapters, std::span<const gl_record> opengl,
                             const vk_instance_record* instance, std::span<const vk_device_record> devices) {
    report_document document;
    const std::vector<vk_match> matches = match_vulkan(adapters, devices);
    for (size_t i = 0; i < adapters.size(); ++i) {
        const int gl = opengl_record_of(adapters[i], opengl);
        const vk_match& match = matches[i];
        std::optional<vk_page_source> vulkan;
        if (instance != nullptr && match.device >= 0) {
            vulkan.emplace(vk_page_source{devices[static_cast<size_t>(match.device)], *instance, match.by,
                                          reinterpret_cast<uintptr_t>(adapters[i].monitor)});
        }
        document.adapters.push_back(build_adapter_report(
            adapters[i], gl >= 0 ? &opengl[static_cast<size_t>(gl)] : nullptr, vulkan ? &*vulkan : nullptr));
    }
    // Where Vulkan lists a device no adapter shows (a software device, a GPU
    // DXGI lists elsewhere), every device, with the adapter that is it where
    // one is; the window offers them to choose from.
    const bool unshown = std::any_of(devices.begin(), devices.end(), [&](const vk_device_record& device) {
        const auto index = static_cast<int>(&device - devices.data());
        return std::none_of(matches.begin(), matches.end(),
                            [&](const vk_match& m) { return m.device == index; });
    });
    for (size_t d = 0; unshown && instance != nullptr && d < devices.size(); ++d) {
        const auto adapter = std::find_if(matches.begin(), matches.end(), [&](const vk_match& match) {
            return match.device == static_cast<int>(d) && !std::string_view(match.by).starts_with("none");
        });
        const size_t owner = adapter != matches.end() ? static_cast<size_t>(adapter - matches.begin()) : 0;
        const vk_page_source source{
            devices[d], *instance, adapter != matches.end() ? adapter->by : "none: no adapter is this device",
            owner < adapters.size() ? reinterpret_cast<uintptr_t>(adapters[owner].monitor) : 0};
        vk_device_report& shown = document.vulkan_devices.emplace_back();
        shown.name = devices[d].properties.deviceName;
        shown.group.id = page_group::vulkan;
        shown.group.read = true;
        for (const page_info& page : pages_of(page_group::vulkan)) {
            shown.group.pages.push_back(write_page(page, source));
        }
    }
    return document;
}

namespace {

// The part of the capture whose records write the page.
capture_part part_of(const page_info& page) {
    switch (page.group) {
        case page_group::directx:
            return page.id == page_id::dx_d3d11_12 || page.id == page_id::dx_formats
                       ? capture_part::direct3d11_12
                       : capture_part::directx;
        case page_group::opengl:
            return capture_part::opengl;
        case page_group::vulkan:
            break;
    }
    return capture_part::vulkan;
}

// A page whose records are not there: the list's own rows on the DirectX
// Summary, and while its probe reads, a row that says so.
report_page unread_page(const page_info& page, const dx_adapter& listed,
                        std::optional<capture_part> reading) {
    report_page written{page.id, {}, {}};
    page_writer writer(written);
    if (page.id == page_id::dx_summary) {
        directx_pages::identity(writer, listed);
    }
    if (reading) {
        if (!written.rows.empty()) {
            writer.blank();
        }
        writer.text("Reading\u2026", "",
                    std::string(capture_part_name(*reading)) + " is still being read on this adapter.");
    }
    return written;
}

// The pages of the parts still being read, and of a DirectX or Direct3D
// 11/12 probe given up, in place of what their empty records would say.
void mark_unread(report_document& document, const startup_capture& capture) {
    const std::vector<dx_adapter>& adapters = capture.adapters;
    for (size_t i = 0; i < document.adapters.size() && i < adapters.size(); ++i) {
        for (report_group& group : document.adapters[i].groups) {
            for (const page_info& page : pages_of(group.id)) {
                const capture_part part = part_of(page);
                // The Formats page's Direct3D 9 section is the DirectX probe's.
                std::optional<capture_part> reading;
                if (page.id == page_id::dx_formats && capture.still_reading(capture_part::directx)) {
                    reading = capture_part::directx;
                } else if (capture.still_reading(part)) {
                    reading = part;
                }
                const bool given_up = capture.given_up(part) && group.id == page_group::directx;
                if (!reading && !given_up) {
                    continue;
                }
                group.read = true;
                const auto at =
                    std::find_if(group.pages.begin(), group.pages.end(),
                                 [&](const report_page& written) { return written.id == page.id; });
                if (at != group.pages.end()) {
                    *at = unread_page(page, adapters[i], reading);
                } else {
                    group.pages.push_back(unread_page(page, adapters[i], reading));
                }
            }
        }
    }
}

}  // namespace

report_document build_report(const startup_capture& capture) {
    report_document document =
        build_report(capture.adapters, capture.opengl, capture.vulkan ? &*capture.vulkan : nullptr,
                     capture.vulkan_devices);
    // Each adapter's reasons, and those of every adapter, in the order they arose.
    const auto add = [&](page_group group, const std::vector<reason>& reasons) {
        for (size_t i = 0; i < document.adapters.size(); ++i) {
            std::vector<reason> concerned;
            for (const reason& why : reasons) {
                if (why.adapter < 0 || static_cast<size_t>(why.adapter) == i) {
                    concerned.push_back(why);
                }
            }
            add_problems(document.adapters[i].group(group), concerned);
        }
        document.problems.insert(document.problems.end(), reasons.begin(), reasons.end());
    };
    document.platform = capture.platform;
    mark_unread(document, capture);
    for (adapter_report& adapter : document.adapters) {
        add_summary_facts(adapter.group(page_group::directx), capture.platform);
    }
    const auto& reasons = capture.reasons;
    std::vector<reason> directx = reasons[static_cast<size_t>(capture_part::directx)];
    append(directx, reasons[static_cast<size_t>(capture_part::direct3d11_12)]);
    add(page_group::directx, directx);
    add(page_group::opengl, reasons[static_cast<size_t>(capture_part::opengl)]);
    add(page_group::vulkan, reasons[static_cast<size_t>(capture_part::vulkan)]);
    return document;
}
