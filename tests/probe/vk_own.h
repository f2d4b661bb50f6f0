// The test's own Vulkan instance, and the check that one adapter's Vulkan
// pages say what Vulkan itself says of its device: every field the tables
// show, every extension, extension structure, memory type, queue family and
// format, each structure asked alone. Shared by the Windows and Linux
// platform tests.
#pragma once

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "probe/vk_records.h"
#include "probe/vk_structures.h"
#include "refdata/format_names.h"
#include "report/document.h"
#include "report/vk_tables.h"

namespace vk_own {

template <typename T>
inline std::vector<std::byte> bytes_of(const T& value) {
    std::vector<std::byte> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

// The test's own instance, at the version the loader offers.
class own_vulkan {
public:
    own_vulkan() {
#ifdef _WIN32
        get_ = reinterpret_cast<PFN_vkGetInstanceProcAddr>(
            reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("vulkan-1.dll"), "vkGetInstanceProcAddr")));
#else
        void* library = dlopen("libvulkan.so.1", RTLD_NOW | RTLD_LOCAL);
        get_ = library != nullptr
                   ? reinterpret_cast<PFN_vkGetInstanceProcAddr>(dlsym(library, "vkGetInstanceProcAddr"))
                   : nullptr;
#endif
        if (get_ == nullptr) {
            return;
        }
        if (const auto enumerate = fn<PFN_vkEnumerateInstanceVersion>("vkEnumerateInstanceVersion")) {
            enumerate(&version);
        }
        VkApplicationInfo application{};
        application.sType = VK_STRUCTURE_TYPE_APPLICATION_INFO;
        application.apiVersion = version;
        VkInstanceCreateInfo info{};
        info.sType = VK_STRUCTURE_TYPE_INSTANCE_CREATE_INFO;
        info.pApplicationInfo = &application;
        if (fn<PFN_vkCreateInstance>("vkCreateInstance")(&info, nullptr, &instance) != VK_SUCCESS) {
            instance = VK_NULL_HANDLE;
            return;
        }
        const auto enumerate = fn<PFN_vkEnumeratePhysicalDevices>("vkEnumeratePhysicalDevices");
        uint32_t count = 0;
        enumerate(instance, &count, nullptr);
        devices.resize(count);
        enumerate(instance, &count, devices.data());
        devices.resize(count);
    }
    ~own_vulkan() {
        if (instance != VK_NULL_HANDLE) {
            fn<PFN_vkDestroyInstance>("vkDestroyInstance")(instance, nullptr);
        }
    }
    own_vulkan(const own_vulkan&) = delete;
    own_vulkan& operator=(const own_vulkan&) = delete;

    template <typename F>
    F fn(const char* name) const {
        return reinterpret_cast<F>(get_(instance, name));
    }

    // One structure of the device, asked alone; empty where the instance
    // and the device do not both have the version that defines it.
    std::vector<std::byte> structure(VkPhysicalDevice device, vk_structure which) const {
        VkPhysicalDeviceProperties properties{};
        fn<PFN_vkGetPhysicalDeviceProperties>("vkGetPhysicalDeviceProperties")(device, &properties);
        VkPhysicalDeviceFeatures features{};
        fn<PFN_vkGetPhysicalDeviceFeatures>("vkGetPhysicalDeviceFeatures")(device, &features);
        struct chained {
            vk_structure which;
            VkStructureType type;
            uint32_t since;
            size_t size;
        };
        static constexpr chained chain[] = {
            {vk_structure::id, VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_ID_PROPERTIES, VK_API_VERSION_1_1,
             sizeof(VkPhysicalDeviceIDProperties)},
            {vk_structure::driver, VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_DRIVER_PROPERTIES, VK_API_VERSION_1_2,
             sizeof(VkPhysicalDeviceDriverProperties)},
            {vk_structure::vulkan11, VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_1_PROPERTIES,
             VK_API_VERSION_1_2, sizeof(VkPhysicalDeviceVulkan11Properties)},
            {vk_structure::vulkan12, VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_2_PROPERTIES,
             VK_API_VERSION_1_2, sizeof(VkPhysicalDeviceVulkan12Properties)},
            {vk_structure::vulkan13, VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_3_PROPERTIES,
             VK_API_VERSION_1_3, sizeof(VkPhysicalDeviceVulkan13Properties)},
            {vk_structure::features11, VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_1_FEATURES,
             VK_API_VERSION_1_2, sizeof(VkPhysicalDeviceVulkan11Features)},
            {vk_structure::features12, VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_2_FEATURES,
             VK_API_VERSION_1_2, sizeof(VkPhysicalDeviceVulkan12Features)},
            {vk_structure::features13, VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_3_FEATURES,
             VK_API_VERSION_1_3, sizeof(VkPhysicalDeviceVulkan13Features)}};
        switch (which) {
            case vk_structure::properties:
                return bytes_of(properties);
            case vk_structure::sparse:
                return bytes_of(properties.sparseProperties);
            case vk_structure::limits:
                return bytes_of(properties.limits);
            case vk_structure::features:
                return bytes_of(features);
            default:
                break;
        }
        const chained& link = *std::find_if(std::begin(chain), std::end(chain),
                                            [&](const chained& c) { return c.which == which; });
        if (std::min(version, properties.apiVersion) < link.since) {
            return {};
        }
        return asked(device, link.type, link.size, which >= vk_structure::features11);
    }

    // A structure of an extension, asked alone.
    std::vector<std::byte> structure(VkPhysicalDevice device, const vk_extension_structure& which) const {
        return asked(device, static_cast<VkStructureType>(which.s_type), which.size, which.features);
    }

    // One structure of the features' or the properties' chain, alone.
    std::vector<std::byte> asked(VkPhysicalDevice device, VkStructureType type, size_t size,
                                 bool features) const {
        std::vector<uint64_t> buffer((size + 7) / 8);  // aligned as the structures are
        auto* head = reinterpret_cast<VkBaseOutStructure*>(buffer.data());
        head->sType = type;
        if (features) {
            VkPhysicalDeviceFeatures2 chain{VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_FEATURES_2, head, {}};
            fn<PFN_vkGetPhysicalDeviceFeatures2>("vkGetPhysicalDeviceFeatures2")(device, &chain);
        } else {
            VkPhysicalDeviceProperties2 chain{VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_PROPERTIES_2, head, {}};
            fn<PFN_vkGetPhysicalDeviceProperties2>("vkGetPhysicalDeviceProperties2")(device, &chain);
        }
        std::vector<std::byte> bytes(size);
        std::memcpy(bytes.data(), buffer.data(), size);
        return bytes;
    }

    std::vector<vk_extension> extensions(VkPhysicalDevice device) const {
        const auto enumerate =
            fn<PFN_vkEnumerateDeviceExtensionProperties>("vkEnumerateDeviceExtensionProperties");
        uint32_t count = 0;
        enumerate(device, nullptr, &count, nullptr);
        std::vector<VkExtensionProperties> properties(count);
        enumerate(device, nullptr, &count, properties.data());
        std::vector<vk_extension> result;
        for (uint32_t i = 0; i < count; ++i) {
            result.push_back({properties[i].extensionName, properties[i].specVersion});
        }
        return result;
    }

    uint32_t version = VK_API_VERSION_1_0;
    VkInstance instance = VK_NULL_HANDLE;
    std::vector<VkPhysicalDevice> devices;

private:
    PFN_vkGetInstanceProcAddr get_ = nullptr;
};

// The adapter's Device, Limits, Features, Extension features and Extension
// properties pages, and its record's lists, against what vk asks of device.
inline void expect_pages_as_vulkan_says(const own_vulkan& vk, VkPhysicalDevice device,
                                        const vk_device_record& record, const adapter_report& adapter) {
    std::vector<report_row> rows;
    for (const page_id id : {page_id::vk_device, page_id::vk_limits, page_id::vk_features}) {
        const report_page* page = adapter.group(page_group::vulkan).page(id);
        ASSERT_NE(nullptr, page);
        rows.insert(rows.end(), page->rows.begin(), page->rows.end());
    }
    for (const vk_table& each : vk_rows::page_tables()) {
        const vk_table* table = &each;
        const std::vector<std::byte> own = vk.structure(device, table->structure);
        const auto section = std::find_if(rows.begin(), rows.end(),
                                          [&](const report_row& row) { return row.name == table->section; });
        ASSERT_EQ(own.empty(), section == rows.end()) << table->section << " shown without its version";
        for (size_t i = 0; !own.empty() && i < table->fields.size(); ++i) {
            const vk_field& field = table->fields[i];
            ASSERT_LT(i + 1, static_cast<size_t>(rows.end() - section));
            EXPECT_EQ(field.name, section[i + 1].name);
            EXPECT_EQ(vk_field_value(field, own.data(), record).second, section[i + 1].value) << field.name;
        }
    }
    EXPECT_EQ(vk.extensions(device), record.extensions);

    // Every structure of the device's extensions that no core structure
    // of its version shows is on the Extension pages, as asked here.
    VkPhysicalDeviceProperties properties{};
    vk.fn<PFN_vkGetPhysicalDeviceProperties>("vkGetPhysicalDeviceProperties")(device, &properties);
    const uint32_t version = std::min(vk.version, properties.apiVersion);
    size_t shown = 0;
    for (const vk_extension_structure& structure : vk_extension_structures()) {
        const bool listed = std::any_of(record.extensions.begin(), record.extensions.end(),
                                        [&](const vk_extension& e) { return e.name == structure.extension; });
        const bool in_core = structure.core_version != 0 && version >= structure.core_version;
        const report_page* page =
            adapter.group(page_group::vulkan)
                .page(structure.features ? page_id::vk_extension_features : page_id::vk_extension_properties);
        ASSERT_NE(nullptr, page);
        const auto section = std::find_if(page->rows.begin(), page->rows.end(), [&](const report_row& row) {
            return row.name == "[" + std::string(structure.name) + "]";
        });
        ASSERT_EQ(listed && !in_core && version >= VK_API_VERSION_1_1, section != page->rows.end())
            << structure.name;
        if (section == page->rows.end()) {
            continue;
        }
        ++shown;
        const std::vector<std::byte> own = vk.structure(device, structure);
        ASSERT_LE(structure.fields.size(), static_cast<size_t>(page->rows.end() - section - 1));
        for (size_t i = 0; i < structure.fields.size(); ++i) {
            EXPECT_EQ(structure.fields[i].name, section[i + 1].name);
            EXPECT_EQ(vk_field_value(structure.fields[i], own.data(), record).second, section[i + 1].value)
                << structure.name << "." << structure.fields[i].name;
        }
    }
    std::printf("%s: %zu extension structures shown\n", adapter.description.c_str(), shown);

    VkPhysicalDeviceMemoryProperties memory{};
    vk.fn<PFN_vkGetPhysicalDeviceMemoryProperties>("vkGetPhysicalDeviceMemoryProperties")(device, &memory);
    ASSERT_EQ(memory.memoryHeapCount, record.memory.memoryHeapCount);
    for (uint32_t i = 0; i < memory.memoryHeapCount; ++i) {
        EXPECT_EQ(memory.memoryHeaps[i].size, record.memory.memoryHeaps[i].size);
        EXPECT_EQ(memory.memoryHeaps[i].flags, record.memory.memoryHeaps[i].flags);
    }
    ASSERT_EQ(memory.memoryTypeCount, record.memory.memoryTypeCount);
    EXPECT_EQ(0, std::memcmp(memory.memoryTypes, record.memory.memoryTypes,
                             memory.memoryTypeCount * sizeof memory.memoryTypes[0]));

    const auto queue_families =
        vk.fn<PFN_vkGetPhysicalDeviceQueueFamilyProperties>("vkGetPhysicalDeviceQueueFamilyProperties");
    uint32_t count = 0;
    queue_families(device, &count, nullptr);
    std::vector<VkQueueFamilyProperties> families(count);
    queue_families(device, &count, families.data());
    ASSERT_EQ(count, record.queue_families.size());
    EXPECT_EQ(0, std::memcmp(families.data(), record.queue_families.data(), count * sizeof families[0]));

    const auto format_properties =
        vk.fn<PFN_vkGetPhysicalDeviceFormatProperties>("vkGetPhysicalDeviceFormatProperties");
    const auto formats = vk_core_formats();
    ASSERT_EQ(formats.size(), record.formats.size());
    for (size_t i = 0; i < formats.size(); ++i) {
        VkFormatProperties own{};
        format_properties(device, static_cast<VkFormat>(formats[i].value), &own);
        const VkFormatProperties& read = record.formats[i].properties;
        EXPECT_EQ(formats[i].value, record.formats[i].format);
        EXPECT_EQ(own.linearTilingFeatures, read.linearTilingFeatures) << formats[i].name;
        EXPECT_EQ(own.optimalTilingFeatures, read.optimalTilingFeatures) << formats[i].name;
        EXPECT_EQ(own.bufferFeatures, read.bufferFeatures) << formats[i].name;
    }
}

}  // namespace vk_own
