// The fields of the Vulkan structures the pages show, as data: each by its
// published name, its place in its structure, how its value reads, and one
// sentence of description. The pages, the tests and the registry check walk
// these tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>

#include "report/document.h"

struct vk_device_record;

// How a field's bytes read.
enum class vk_kind : uint8_t {
    number,               // uint32_t, or an array of them ("a x b x c")
    signed_number,        // int32_t
    real,                 // float, or an array of them
    size,                 // VkDeviceSize, uint64_t or size_t
    yes_no,               // VkBool32
    sample_counts,        // VkSampleCountFlags: "x1 x2 x4"
    shader_stages,        // VkShaderStageFlags
    subgroup_operations,  // VkSubgroupFeatureFlags
    resolve_modes,        // VkResolveModeFlags
    point_clipping,       // VkPointClippingBehavior
    float_controls,       // VkShaderFloatControlsIndependence
    driver_id,            // VkDriverId
    device_type,          // VkPhysicalDeviceType
    api_version,          // a version number made with VK_MAKE_API_VERSION
    driver_version,       // as the device's vendor writes it
    vendor,               // a PCI or Khronos vendor ID, with its name
    device,               // a PCI device ID, with its name
    uuid,                 // 16 bytes
    luid,                 // 8 bytes
    text,                 // a NUL-terminated name
    conformance,          // VkConformanceVersion
};

struct vk_field {
    const char* name;  // the published member name
    vk_kind kind;
    uint32_t offset;  // in its structure
    uint32_t size;    // of the member, in bytes
    const char* description;
};

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

}  // namespace vk_rows
