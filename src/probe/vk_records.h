// What Vulkan said of the instance and of each physical device: the
// platform's own structures, as they were answered.
#pragma once

#include <vulkan/vulkan_core.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/reason.h"

// An extension and the revision of it that the implementation follows.
struct vk_extension {
    std::string name;
    uint32_t spec_version = 0;

    bool operator==(const vk_extension&) const = default;
};

struct vk_layer {
    std::string name;
    uint32_t spec_version = 0;  // of Vulkan it was written for
    uint32_t implementation_version = 0;
    std::string description;
};

// The format properties of one format: what each tiling and buffers can do.
struct vk_format_support {
    uint32_t format = 0;  // a VkFormat
    VkFormatProperties properties{};
    // The 64-bit flags, where the device has Vulkan 1.3 or
    // VK_KHR_format_feature_flags2; pNext null.
    bool has_properties3 = false;
    VkFormatProperties3 properties3{};
};

// One extension structure as the device answered it: its place in
// vk_extension_structures() and its bytes, pNext null.
struct vk_structure_answer {
    uint32_t structure = 0;
    std::vector<std::byte> bytes;
};

// What the device can present to a window on one monitor: the surface of a
// hidden window there, through VK_KHR_win32_surface.
struct vk_surface_record {
    uintptr_t monitor = 0;               // the HMONITOR
    std::string device_name;             // the monitor's display device, "\\.\DISPLAY1"
    std::string failure;                 // why nothing was read; empty where it was
    std::vector<bool> present_families;  // per queue family: it can present to the surface
    VkSurfaceCapabilitiesKHR capabilities{};
    std::vector<VkSurfaceFormatKHR> formats;
    std::vector<VkPresentModeKHR> present_modes;
};

// One physical device. The chained structures are read where the device's
// API version (and the instance's) has them; each flag says whether it was.
// Every pNext is null: the chain is gone once read.
struct vk_device_record {
    VkPhysicalDeviceProperties properties{};  // with its limits and sparse properties
    bool has_id = false;                      // Vulkan 1.1
    VkPhysicalDeviceIDProperties id{};
    bool has_driver = false;  // Vulkan 1.2
    VkPhysicalDeviceDriverProperties driver{};
    bool has_vulkan11 = false;  // Vulkan 1.2 collects 1.1's properties and features in one structure
    VkPhysicalDeviceVulkan11Properties vulkan11{};
    bool has_vulkan12 = false;
    VkPhysicalDeviceVulkan12Properties vulkan12{};
    bool has_vulkan13 = false;
    VkPhysicalDeviceVulkan13Properties vulkan13{};
    VkPhysicalDeviceFeatures features{};
    VkPhysicalDeviceVulkan11Features features11{};  // read with has_vulkan11
    VkPhysicalDeviceVulkan12Features features12{};  // read with has_vulkan12
    VkPhysicalDeviceVulkan13Features features13{};  // read with has_vulkan13
    std::vector<vk_extension> extensions;
    VkPhysicalDeviceMemoryProperties memory{};
    std::vector<VkQueueFamilyProperties> queue_families;
    std::vector<vk_format_support> formats;  // every core format, in the table's order
    // The structures of the device's extensions it was asked, each alone, in
    // the generated table's order.
    std::vector<vk_structure_answer> extension_structures;
    // A surface on each monitor, where the instance has VK_KHR_win32_surface.
    std::vector<vk_surface_record> surfaces;
};

// The instance: its version and what the loader offers to every device.
struct vk_instance_record {
    uint32_t api_version = 0;  // the version the instance was made at
    std::vector<vk_extension> extensions;
    std::vector<vk_layer> layers;
};

// What the Vulkan probe hands back.
struct vk_records {
    vk_instance_record instance;
    std::vector<vk_device_record> devices;  // in the order Vulkan lists them
    std::vector<reason> reasons;  // "Vulkan: vkCreateInstance failed (VK_ERROR_INCOMPATIBLE_DRIVER)"
};
