// The Vulkan structures' members as data: each by its published name, its
// place in its structure and how its value reads. The core structures and the
// feature and property structures that device extensions bring are generated
// from the Vulkan registry by tools/gen_vk_structures.py into
// vk_structures.cpp, which the build checks against the installed registry;
// the probe asks them, the pages show them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

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
    signed_size,          // int64_t
    flags,                // a bitmask, by the names of its bits
    enumerated,           // an enum, by the name of its value
    bytes,                // bytes in hexadecimal
};

// A value of an enum, or a bit of a bitmask, and its name.
struct vk_name {
    int64_t value;
    const char* name;
};

struct vk_field {
    const char* name;  // the published member name
    vk_kind kind;
    uint32_t offset;                 // in its structure
    uint32_t size;                   // of the member, in bytes
    const char* description;         // its C type ("VkBool32") where generated
    std::span<const vk_name> names;  // of a flags or enumerated member
};

struct vk_extension_structure {
    const char* name;       // "VkPhysicalDeviceCustomBorderColorFeaturesEXT"
    uint32_t s_type;        // a VkStructureType
    bool features;          // extends VkPhysicalDeviceFeatures2; else VkPhysicalDeviceProperties2
    const char* extension;  // the device extension that brings it
    // The core version it is part of, where a version took it in (then the
    // core pages show it on a device of that version); 0 where none did.
    uint32_t core_version;
    uint32_t size;  // of the structure, in bytes
    std::span<const vk_field> fields;
};

// The names of an enum's values or a bitmask's bits the pages name beside
// the structures' own, by the type's published name ("VkPresentModeKHR");
// none for another type.
std::span<const vk_name> vk_enum_names(std::string_view type);

// The members of a core structure the Device, Limits and Features pages show
// ("VkPhysicalDeviceLimits"), in the registry's order; none for another name.
// A member that an earlier section shows (Vulkan 1.1's deviceUUID is the ID
// structure's) or that is a structure of its own (the limits) is left out.
std::span<const vk_field> vk_core_fields(std::string_view structure);

extern const vk_extension_structure vk_extension_structures_table[];
extern const size_t vk_extension_structure_count;

inline std::span<const vk_extension_structure> vk_extension_structures() {
    return {vk_extension_structures_table, vk_extension_structure_count};
}
