// The report of a machine without DirectX, and the page writing both
// platforms share.
#include "report/device_report.h"

#include <algorithm>
#include <string>

#include "probe/gl_records.h"
#include "probe/vk_records.h"
#include "refdata/pci_names.h"
#include "report/page_writer.h"
#include "report/report_builder.h"

report_page write_page(const page_info& page, const gl_record& record) {
    report_page written{page.id, {}, {}};
    page_writer writer(written);
    page.writer.opengl(writer, record);
    return written;
}

report_page write_page(const page_info& page, const vk_page_source& source) {
    report_page written{page.id, {}, {}};
    page_writer writer(written);
    page.writer.vulkan(writer, source);
    return written;
}

void add_problems(report_group& group, const std::vector<reason>& reasons) {
    if (reasons.empty()) {
        return;
    }
    const page_info& summary = pages_of(group.id).front();
    if (group.pages.empty() || group.pages.front().id != summary.id) {
        group.pages.insert(group.pages.begin(), report_page{summary.id, {}, {}});
    }
    report_page& page = group.pages.front();
    page_writer writer(page);
    writer.shown_only_from_here();
    if (!page.rows.empty()) {
        writer.blank();
    }
    writer.section("[Problems]", "What could not be read at all.");
    for (const reason& why : reasons) {
        writer.text(why.part, why.message(), "");
    }
}

namespace {

// "Vendor GPU" from the PCI list, or the driver's own name where the list
// knows neither.
std::string adapter_name(uint32_t vendor_id, uint32_t device_id, const std::string& driver_name) {
    const std::string gpu = gpu_name_of(vendor_id, device_id);
    if (gpu.empty()) {
        return driver_name;
    }
    const std::string vendor = vendor_name_of(vendor_id);
    return vendor.empty() ? gpu : vendor + " " + gpu;
}

adapter_report empty_adapter(std::string description) {
    adapter_report report;
    report.description = std::move(description);
    report.groups.resize(group_count);
    for (size_t g = 0; g < group_count; ++g) {
        report.groups[g].id = static_cast<page_group>(g);
    }
    return report;
}

void write_opengl(adapter_report& report, const gl_record& record) {
    report_group& gl = report.group(page_group::opengl);
    gl.read = true;
    for (const page_info& page : pages_of(page_group::opengl)) {
        gl.pages.push_back(write_page(page, record));
    }
}

}  // namespace

report_document build_device_report(const vk_records& vulkan, const gl_records& opengl) {
    report_document document;
    std::vector<bool> placed(opengl.records.size(), false);
    const auto context_of = [&](const vk_device_record& device) -> int {
        const VkPhysicalDeviceProperties& p = device.properties;
        for (size_t i = 0; i < opengl.records.size(); ++i) {
            const gl_record& gl = opengl.records[i];
            if (!placed[i] && gl.pci_vendor_id != 0 && gl.pci_vendor_id == p.vendorID &&
                gl.pci_device_id == p.deviceID) {
                return static_cast<int>(i);
            }
        }
        for (size_t i = 0; i < opengl.records.size(); ++i) {
            if (!placed[i] && opengl.records[i].pci_vendor_id == 0 &&
                opengl.records[i].renderer == p.deviceName) {
                return static_cast<int>(i);
            }
        }
        return -1;
    };
    for (const vk_device_record& device : vulkan.devices) {
        const VkPhysicalDeviceProperties& p = device.properties;
        adapter_report& report =
            document.adapters.emplace_back(empty_adapter(adapter_name(p.vendorID, p.deviceID, p.deviceName)));
        if (const int gl = context_of(device); gl >= 0) {
            placed[static_cast<size_t>(gl)] = true;
            write_opengl(report, opengl.records[static_cast<size_t>(gl)]);
        }
        const vk_page_source source{device, vulkan.instance, "vendor and device ID", 0};
        report_group& vk = report.group(page_group::vulkan);
        vk.read = true;
        for (const page_info& page : pages_of(page_group::vulkan)) {
            vk.pages.push_back(write_page(page, source));
        }
    }
    for (size_t i = 0; i < opengl.records.size(); ++i) {
        if (!placed[i]) {
            const gl_record& gl = opengl.records[i];
            adapter_report& report = document.adapters.emplace_back(
                empty_adapter(adapter_name(gl.pci_vendor_id, gl.pci_device_id, gl.renderer)));
            write_opengl(report, gl);
        }
    }
    // What could not be read: on every adapter's Summary of its group, and
    // in the document's problems.
    std::vector<reason> gl_problems = opengl.reasons;
    std::vector<reason> vk_problems = vulkan.reasons;
    for (adapter_report& report : document.adapters) {
        add_problems(report.group(page_group::opengl), gl_problems);
        add_problems(report.group(page_group::vulkan), vk_problems);
    }
    document.problems = gl_problems;
    document.problems.insert(document.problems.end(), vk_problems.begin(), vk_problems.end());
    return document;
}
