// A deterministic Vulkan device for the golden pages and the fake loader:
// every field the pages show holds a value of its own, readable for its kind.
#pragma once

#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fakes/golden_platform.h"
#include "probe/records.h"
#include "refdata/format_names.h"
#include "report/vk_tables.h"

namespace fakes {

// Writes each field of the tables into the record's structures: numbers
// that differ from field to field, reals with a quarter, yes and no in turn,
// some bits of each set of flags, and the enumerations in turn.
inline void fill_structure(std::byte* base, std::span<const vk_field> fields, uint32_t& index) {
    {
        for (const vk_field& field : fields) {
            std::byte* at = base + field.offset;
            ++index;
            for (uint32_t offset = 0; offset + 4 <= field.size; offset += 4) {
                uint32_t word = index * 16 + offset / 4;
                switch (field.kind) {
                    case vk_kind::real: {
                        const float value = static_cast<float>(word) + 0.25f;
                        std::memcpy(&word, &value, sizeof value);
                        break;
                    }
                    case vk_kind::yes_no:
                        word = index % 2;
                        break;
                    case vk_kind::sample_counts:
                    case vk_kind::flags:
                    case vk_kind::shader_stages:
                    case vk_kind::subgroup_operations:
                    case vk_kind::resolve_modes:
                        word = mixed_word(index) & 0x3F;
                        break;
                    case vk_kind::enumerated:
                        word = index % 2;
                        break;
                    case vk_kind::point_clipping:
                    case vk_kind::float_controls:
                    case vk_kind::device_type:
                        word = index % 3;
                        break;
                    case vk_kind::uuid:
                    case vk_kind::luid:
                    case vk_kind::text:
                    case vk_kind::conformance:
                        word = mixed_word(index + offset);
                        break;
                    default:
                        break;
                }
                if (field.kind != vk_kind::size || offset % 8 == 0) {
                    std::memcpy(at + offset, &word, sizeof word);
                }
            }
        }
    }
}

inline void fill_fields(vk_device_record& device, uint32_t seed) {
    uint32_t index = seed * 1000;
    for (const vk_table& each : vk_rows::page_tables()) {
        const vk_table* table = &each;
        fill_structure(const_cast<std::byte*>(structure_of(device, table->structure)), table->fields, index);
    }
}

// A structure of one of the device's extensions, answered as the probe hands
// it back, its members filled as the core structures' are.
inline void add_extension_structure(vk_device_record& device, std::string_view name, uint32_t& index) {
    const auto structures = vk_extension_structures();
    for (uint32_t i = 0; i < structures.size(); ++i) {
        if (structures[i].name == name) {
            vk_structure_answer& answer = device.extension_structures.emplace_back();
            answer.structure = i;
            answer.bytes.assign(structures[i].size, std::byte{0});
            fill_structure(answer.bytes.data(), structures[i].fields, index);
            std::memcpy(answer.bytes.data(), &structures[i].s_type, sizeof structures[i].s_type);
        }
    }
}

// A Vulkan 1.3 device of NVIDIA's GF100, named, with two extensions, two
// heaps and three memory types, two queue families and every core format.
inline vk_device_record golden_vulkan_device(uint32_t seed = 0) {
    vk_device_record device;
    device.has_id = device.has_driver = device.has_vulkan11 = device.has_vulkan12 = device.has_vulkan13 =
        true;
    fill_fields(device, seed);
    VkPhysicalDeviceProperties& properties = device.properties;
    properties.apiVersion = VK_API_VERSION_1_3 | 240;
    properties.driverVersion = (545u << 22) | (29u << 14) | (6u << 6);
    properties.vendorID = 0x10DE;
    properties.deviceID = 0x06CD;
    properties.deviceType = VK_PHYSICAL_DEVICE_TYPE_DISCRETE_GPU;
    std::strcpy(properties.deviceName, "Golden Vulkan Board");
    device.id.deviceLUIDValid = VK_TRUE;
    device.driver.driverID = VK_DRIVER_ID_NVIDIA_PROPRIETARY;
    std::strcpy(device.driver.driverName, "Golden driver");
    std::strcpy(device.driver.driverInfo, "Golden 545.29.06");
    device.driver.conformanceVersion = {1, 3, 5, 0};
    device.extensions = {{"VK_KHR_swapchain", 70},
                         {"VK_KHR_golden_extension", 3},
                         {"VK_EXT_line_rasterization", 1},
                         {"VK_KHR_fragment_shading_rate", 2}};
    uint32_t index = seed * 1000 + 900;
    for (const char* name :
         {"VkPhysicalDeviceFragmentShadingRateFeaturesKHR", "VkPhysicalDeviceLineRasterizationFeaturesEXT",
          "VkPhysicalDeviceFragmentShadingRatePropertiesKHR",
          "VkPhysicalDeviceLineRasterizationPropertiesEXT"}) {
        add_extension_structure(device, name, index);
    }
    device.memory.memoryHeapCount = 2;
    device.memory.memoryHeaps[0] = {uint64_t{8} << 30, VK_MEMORY_HEAP_DEVICE_LOCAL_BIT};
    device.memory.memoryHeaps[1] = {uint64_t{12} << 20 | 512, 0};
    device.memory.memoryTypeCount = 3;
    device.memory.memoryTypes[0] = {VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT, 0};
    device.memory.memoryTypes[1] = {
        VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT, 1};
    device.memory.memoryTypes[2] = {0x40000001, 0};  // a bit the program does not name
    device.queue_families = {
        {VK_QUEUE_GRAPHICS_BIT | VK_QUEUE_COMPUTE_BIT | VK_QUEUE_TRANSFER_BIT, 16, 64, {1, 1, 1}},
        {VK_QUEUE_TRANSFER_BIT, 2, 0, {8, 8, 1}}};
    // A surface on the first golden adapter's monitor; none could be made on the second's.
    vk_surface_record& surface = device.surfaces.emplace_back();
    surface.monitor = 0x501;
    surface.device_name = "\\\\.\\DISPLAY1";
    surface.present_families = {true, false};
    surface.capabilities = {
        2,
        0,
        {0xFFFFFFFF, 0xFFFFFFFF},
        {1, 1},
        {16384, 16384},
        1,
        VK_SURFACE_TRANSFORM_IDENTITY_BIT_KHR | VK_SURFACE_TRANSFORM_ROTATE_90_BIT_KHR,
        VK_SURFACE_TRANSFORM_IDENTITY_BIT_KHR,
        VK_COMPOSITE_ALPHA_OPAQUE_BIT_KHR,
        VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT | VK_IMAGE_USAGE_TRANSFER_DST_BIT | 0x40000000};
    surface.formats = {{VK_FORMAT_B8G8R8A8_UNORM, VK_COLOR_SPACE_SRGB_NONLINEAR_KHR},
                       {VK_FORMAT_A2B10G10R10_UNORM_PACK32, VK_COLOR_SPACE_HDR10_ST2084_EXT}};
    surface.present_modes = {VK_PRESENT_MODE_FIFO_KHR, VK_PRESENT_MODE_MAILBOX_KHR};
    vk_surface_record& none = device.surfaces.emplace_back();
    none.monitor = 0x502;
    none.device_name = "\\\\.\\DISPLAY2";
    none.failure = "vkCreateWin32SurfaceKHR failed (VK_ERROR_INITIALIZATION_FAILED)";
    for (const vk_format_entry& format : vk_core_formats()) {
        // Some formats support nothing; the others a mix of named features.
        const uint32_t bits = format.value % 5 == 0 ? 0 : mixed_word(format.value) & 0x00FFFFFF;
        vk_format_support& support = device.formats.emplace_back();
        support.format = format.value;
        support.properties = {bits & 0x1FFFF, bits & 0x0F0F, (bits >> 3) & 0x78};
        // The 64-bit flags, with features past the 32-bit ones on some formats.
        support.has_properties3 = true;
        const uint64_t wide = format.value % 7 == 1 ? uint64_t{0x3} << 31 : 0;
        support.properties3 = {
            VK_STRUCTURE_TYPE_FORMAT_PROPERTIES_3, nullptr, support.properties.linearTilingFeatures | wide,
            support.properties.optimalTilingFeatures | (wide << 2), support.properties.bufferFeatures};
    }
    return device;
}

inline vk_instance_record golden_vulkan_instance() {
    vk_instance_record instance;
    instance.api_version = VK_API_VERSION_1_3 | 250;
    instance.extensions = {{"VK_KHR_surface", 25}, {"VK_KHR_win32_surface", 6}};
    instance.layers = {
        {"VK_LAYER_GOLDEN_validation", VK_API_VERSION_1_3 | 250, 1, "Checks what applications ask."}};
    return instance;
}

}  // namespace fakes
