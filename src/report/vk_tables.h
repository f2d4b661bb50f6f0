// The Vulkan structures the Device, Limits and Features pages show: the
// members the registry gives each (probe/vk_structures.h), each with one
// sentence of description. The pages, the tests and the registry check walk
// these tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "probe/vk_structures.h"
#include "report/document.h"

struct vk_device_record;

// The structures the tables read, in a device record.
enum class vk_structure : uint8_t {
    properties,
    sparse,
    limits,
    id,
    driver,
    vulkan11,
    vulkan12,
    vulkan13,
    features,
    features11,
    features12,
    features13,
};

struct vk_table {
    const char* section;  // "[VkPhysicalDeviceLimits]": the structure's published name
    const char* description;
    vk_structure structure;
    std::span<const vk_field> fields;
};

// The structure's bytes in a record, or null where the device did not
// answer it.
const std::byte* structure_of(const vk_device_record& device, vk_structure structure);

// A bitmask by the names of its bits, a bit without a name as its value
// ("SAMPLE_ZERO, AVERAGE, 0x40"), or "none"; an enum's value by its name, or
// "unknown (N)".
std::string vk_flag_names(uint64_t bits, std::span<const vk_name> names);
std::string vk_enum_name(int64_t value, std::span<const vk_name> names);

// A member's sentence of description where the program has one for its
// name (a promoted extension member shares its core member's), else the
// member's C type.
const char* vk_description_of(const vk_field& field);
// The members that have a sentence, in the order the sentences stand.
std::vector<std::string_view> vk_described_members();

// A field's value as the pages show it, and the kind of its row.
std::pair<row_kind, std::string> vk_field_value(const vk_field& field, const std::byte* structure,
                                                const vk_device_record& device);

namespace vk_rows {

// The Device page: the properties, each structure a section.
std::span<const vk_table> device_tables();
// The Limits page: VkPhysicalDeviceLimits.
const vk_table& limits_table();
// The Features page: core, then 1.1, 1.2 and 1.3.
std::span<const vk_table> feature_tables();
// Every table of the three pages, in page order.
std::span<const vk_table> page_tables();

}  // namespace vk_rows
