// The Vulkan pages' sections, the tables of their members, and where a
// record holds each structure.
#include "report/vk_tables.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <unordered_map>
#include <vector>

#include "base/text.h"
#include "probe/vk_records.h"
#include "refdata/pci_names.h"
#include "report/value_format.h"

#include "report/vk_descriptions.h"

namespace {

// The sections of the Device, Limits and Features pages, in page order:
// each structure's name, what it is, and where a record holds it.
struct vk_section {
    const char* name;
    const char* description;
    vk_structure structure;
};

constexpr vk_section sections[] = {
    {"VkPhysicalDeviceProperties", "What every Vulkan device says of itself.", vk_structure::properties},
    {"VkPhysicalDeviceIDProperties", "Identifiers shared with other APIs and processes (Vulkan 1.1).",
     vk_structure::id},
    {"VkPhysicalDeviceDriverProperties", "The driver (Vulkan 1.2).", vk_structure::driver},
    {"VkPhysicalDeviceVulkan11Properties", "Properties of Vulkan 1.1.", vk_structure::vulkan11},
    {"VkPhysicalDeviceVulkan12Properties", "Properties of Vulkan 1.2.", vk_structure::vulkan12},
    {"VkPhysicalDeviceVulkan13Properties", "Properties of Vulkan 1.3.", vk_structure::vulkan13},
    {"VkPhysicalDeviceSparseProperties", "How sparse resources behave.", vk_structure::sparse},
    {"VkPhysicalDeviceLimits", "The limits of the device.", vk_structure::limits},
    {"VkPhysicalDeviceFeatures", "Features of Vulkan 1.0.", vk_structure::features},
    {"VkPhysicalDeviceVulkan11Features", "Features of Vulkan 1.1.", vk_structure::features11},
    {"VkPhysicalDeviceVulkan12Features", "Features of Vulkan 1.2.", vk_structure::features12},
    {"VkPhysicalDeviceVulkan13Features", "Features of Vulkan 1.3.", vk_structure::features13},
};
constexpr size_t device_sections = 7;  // then the limits, then the features

// The tables of the sections: the members the registry gives each structure,
// each with its description.
const std::vector<vk_table>& every_table() {
    static const auto storage = [] {
        struct built {
            std::vector<std::string> names;
            std::vector<std::vector<vk_field>> fields;
            std::vector<vk_table> tables;
        } made;
        for (const vk_section& section : sections) {
            made.names.push_back("[" + std::string(section.name) + "]");
            auto& fields = made.fields.emplace_back();
            for (vk_field field : vk_core_fields(section.name)) {
                field.description = vk_description_of(field);
                fields.push_back(field);
            }
        }
        for (size_t i = 0; i < std::size(sections); ++i) {
            made.tables.push_back(
                {made.names[i].c_str(), sections[i].description, sections[i].structure, made.fields[i]});
        }
        return made;
    }();
    return storage.tables;
}

}  // namespace

const std::byte* structure_of(const vk_device_record& device, vk_structure structure) {
    const auto bytes = [](const auto& value) { return reinterpret_cast<const std::byte*>(&value); };
    switch (structure) {
        case vk_structure::properties:
            return bytes(device.properties);
        case vk_structure::sparse:
            return bytes(device.properties.sparseProperties);
        case vk_structure::limits:
            return bytes(device.properties.limits);
        case vk_structure::id:
            return device.has_id ? bytes(device.id) : nullptr;
        case vk_structure::driver:
            return device.has_driver ? bytes(device.driver) : nullptr;
        case vk_structure::vulkan11:
            return device.has_vulkan11 ? bytes(device.vulkan11) : nullptr;
        case vk_structure::vulkan12:
            return device.has_vulkan12 ? bytes(device.vulkan12) : nullptr;
        case vk_structure::vulkan13:
            return device.has_vulkan13 ? bytes(device.vulkan13) : nullptr;
        case vk_structure::features:
            return bytes(device.features);
        case vk_structure::features11:
            return device.has_vulkan11 ? bytes(device.features11) : nullptr;
        case vk_structure::features12:
            return device.has_vulkan12 ? bytes(device.features12) : nullptr;
        case vk_structure::features13:
            return device.has_vulkan13 ? bytes(device.features13) : nullptr;
    }
    return nullptr;
}

const char* vk_description_of(const vk_field& field) {
    static const auto by_member = [] {
        std::unordered_map<std::string_view, const char*> map;
        for (const auto list : vk_member_descriptions()) {
            for (const vk_description& description : list) {
                map.emplace(description.member, description.text);
            }
        }
        return map;
    }();
    const auto found = by_member.find(field.name);
    return found != by_member.end() ? found->second : field.description;
}

std::vector<std::string_view> vk_described_members() {
    std::vector<std::string_view> members;
    for (const auto list : vk_member_descriptions()) {
        for (const vk_description& description : list) {
            members.push_back(description.member);
        }
    }
    return members;
}

namespace vk_rows {

std::span<const vk_table> device_tables() {
    return std::span(every_table()).first(device_sections);
}

const vk_table& limits_table() {
    return every_table()[device_sections];
}

std::span<const vk_table> feature_tables() {
    return std::span(every_table()).subspan(device_sections + 1);
}

std::span<const vk_table> page_tables() {
    return every_table();
}

}  // namespace vk_rows
