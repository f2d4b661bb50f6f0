// An adapter's facts read from its pages, names from the PCI list first.
#include "site/adapter_facts.h"

#include <charconv>
#include <cstdio>

#include "refdata/pci_names.h"

namespace {

// The value of the first row of that name on a page, or empty.
std::string value_of(const adapter_report& adapter, page_group group, page_id id, std::string_view name) {
    const report_page* page = adapter.group(group).page(id);
    if (page == nullptr) {
        return {};
    }
    for (const report_row& row : page->rows) {
        if (row.name == name) {
            return row.value;
        }
    }
    return {};
}

// The identifier in "NVIDIA Corporation (0x10DE)" or "0x06CD", or in the
// decimal form the legacy text sends, "NVIDIA Corporation (4318)" or
// "1741"; 0 where there is none.
uint32_t pci_id(std::string_view text) {
    const size_t open = text.rfind('(');
    if (open != std::string_view::npos && text.ends_with(')')) {
        text = text.substr(open + 1, text.size() - open - 2);
    }
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size() && value <= 0xFFFF ? value : 0;
}

// "NVIDIA Corporation (0x10DE)" without its identifier.
std::string without_id(const std::string& text) {
    const size_t at = text.rfind(" (");
    return at == std::string::npos || !text.ends_with(')') ||
                   pci_id(std::string_view(text).substr(at + 1)) == 0
               ? text
               : text.substr(0, at);
}

// Each run of digits padded to ten places: "8.17.18.19" sorts below "10.0".
std::string version_order(std::string_view version) {
    std::string order;
    std::string digits;
    const auto flush = [&] {
        if (!digits.empty()) {
            order += std::string(digits.size() < 10 ? 10 - digits.size() : 0, '0') + digits;
            digits.clear();
        }
    };
    for (const char c : version) {
        if (c >= '0' && c <= '9') {
            digits += c;
        } else {
            flush();
            order += c;
        }
    }
    flush();
    return order;
}

bool is_level(const std::string& level) {
    return level.size() >= 4 && level[0] >= '0' && level[0] <= '9' && level.find('_') != std::string::npos;
}

}  // namespace

adapter_facts adapter_facts_of(const adapter_report& adapter) {
    using enum page_id;
    constexpr page_group dx = page_group::directx;
    adapter_facts facts;
    facts.description = adapter.description;
    std::string vendor = value_of(adapter, dx, dx_device, "Vendor");
    std::string device = value_of(adapter, dx, dx_device, "Device ID");
    std::string gpu = value_of(adapter, dx, dx_summary, "GPU");
    if (vendor.empty()) {
        vendor = value_of(adapter, dx, dx_summary, "Vendor");
    }
    if (pci_id(vendor) == 0) {
        vendor = value_of(adapter, page_group::vulkan, vk_summary, "Vendor");
        device = value_of(adapter, page_group::vulkan, vk_summary, "GPU");
    }
    facts.vendor_id = pci_id(vendor);
    facts.device_id = pci_id(device);
    // The PCI list names what it knows: then no report names the device.
    const std::string listed_vendor = facts.vendor_id != 0 ? vendor_name_of(facts.vendor_id) : std::string();
    const std::string listed_device =
        facts.vendor_id != 0 ? gpu_name_of(facts.vendor_id, facts.device_id) : std::string();
    facts.vendor_name = listed_vendor.empty() ? without_id(vendor) : listed_vendor;
    // The viewer writes "unknown" for a GPU the PCI list does not name.
    facts.device_name = !listed_device.empty()            ? listed_device
                        : gpu.empty() || gpu == "unknown" ? adapter.description
                                                          : without_id(gpu);
    if (facts.vendor_id != 0) {
        char key[24];
        std::snprintf(key, sizeof key, "%04x:%04x", facts.vendor_id, facts.device_id);
        facts.device_key = key;
    } else {
        facts.device_key = "name:" + adapter.description;
    }
    facts.driver_version = value_of(adapter, dx, dx_summary, "Driver version");
    if (facts.driver_version.empty()) {
        facts.driver_version = value_of(adapter, page_group::vulkan, vk_summary, "Driver version");
    }
    facts.driver_order = version_order(facts.driver_version);
    const std::string level12 = value_of(adapter, dx, dx_d3d11_12, "Direct3D 12 feature level");
    const std::string level11 = value_of(adapter, dx, dx_d3d11_12, "Direct3D 11 feature level");
    facts.d3d_level =
        is_level(level12) && (!is_level(level11) || version_order(level12) >= version_order(level11))
            ? level12
        : is_level(level11) ? level11
                            : std::string();
    facts.gl_version = value_of(adapter, page_group::opengl, gl_summary, "GL version");
    facts.vk_version = value_of(adapter, page_group::vulkan, vk_summary, "API version");
    for (const report_group& group : adapter.groups) {
        for (const report_page& page : group.pages) {
            facts.page_mask |= uint64_t{1} << static_cast<int>(page.id);
        }
    }
    return facts;
}
