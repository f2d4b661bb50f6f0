// The Vulkan probe and pages against the real platform: every field the
// tables show, every extension, memory type, queue family and format equals
// what this test asks Vulkan itself through an instance of its own, each
// structure asked alone.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/platform.h"
#include "probe/capture.h"
#include "refdata/format_names.h"
#include "report/report_builder.h"
#include "report/vk_tables.h"

namespace {

template <typename T>
std::vector<std::byte> bytes_of(const T& value) {
    std::vector<std::byte> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

// The test's own instance, at the version the loader offers.
class own_vulkan {
public:
    own_vulkan() {
        get_ = get_proc<PFN_vkGetInstanceProcAddr>(LoadLibraryA("vulkan-1.dll"), "vkGetInstanceProcAddr");
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
        const uint32_t both = std::min(version, properties.apiVersion);
        const auto chained = [&](auto link, VkStructureType type, uint32_t since, bool feature) {
            if (both < since) {
                return std::vector<std::byte>();
            }
            link.sType = type;
            if (feature) {
                VkPhysicalDeviceFeatures2 head{VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_FEATURES_2, &link, {}};
                fn<PFN_vkGetPhysicalDeviceFeatures2>("vkGetPhysicalDeviceFeatures2")(device, &head);
            } else {
                VkPhysicalDeviceProperties2 head{VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_PROPERTIES_2, &link, {}};
                fn<PFN_vkGetPhysicalDeviceProperties2>("vkGetPhysicalDeviceProperties2")(device, &head);
            }
            return bytes_of(link);
        };
        switch (which) {
            case vk_structure::properties:
                return bytes_of(properties);
            case vk_structure::sparse:
                return bytes_of(properties.sparseProperties);
            case vk_structure::limits:
                return bytes_of(properties.limits);
            case vk_structure::id:
                return chained(VkPhysicalDeviceIDProperties{},
                               VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_ID_PROPERTIES, VK_API_VERSION_1_1, false);
            case vk_structure::driver:
                return chained(VkPhysicalDeviceDriverProperties{},
                               VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_DRIVER_PROPERTIES, VK_API_VERSION_1_2,
                               false);
            case vk_structure::vulkan11:
                return chained(VkPhysicalDeviceVulkan11Properties{},
                               VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_1_PROPERTIES, VK_API_VERSION_1_2,
                               false);
            case vk_structure::vulkan12:
                return chained(VkPhysicalDeviceVulkan12Properties{},
                               VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_2_PROPERTIES, VK_API_VERSION_1_2,
                               false);
            case vk_structure::vulkan13:
                return chained(VkPhysicalDeviceVulkan13Properties{},
                               VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_3_PROPERTIES, VK_API_VERSION_1_3,
                               false);
            case vk_structure::features: {
                VkPhysicalDeviceFeatures features{};
                fn<PFN_vkGetPhysicalDeviceFeatures>("vkGetPhysicalDeviceFeatures")(device, &features);
                return bytes_of(features);
            }
            case vk_structure::features11:
                return chained(VkPhysicalDeviceVulkan11Features{},
                               VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_1_FEATURES, VK_API_VERSION_1_2,
                               true);
            case vk_structure::features12:
                return chained(VkPhysicalDeviceVulkan12Features{},
                               VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_2_FEATURES, VK_API_VERSION_1_2,
                               true);
            case vk_structure::features13:
                return chained(VkPhysicalDeviceVulkan13Features{},
                               VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_3_FEATURES, VK_API_VERSION_1_3,
                               true);
        }
        return {};
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

std::vector<const vk_table*> every_table() {
    std::vector<const vk_table*> tables;
    for (const vk_table& table : vk_rows::device_tables()) {
        tables.push_back(&table);
    }
    tables.push_back(&vk_rows::limits_table());
    for (const vk_table& table : vk_rows::feature_tables()) {
        tables.push_back(&table);
    }
    return tables;
}

TEST(VkPlatform, EveryDeviceRecordIsWhatVulkanSays) {
    const own_vulkan vk;
    const startup_capture capture = capture_startup();
    ASSERT_NE(nullptr, capture.vulkan);
    if (vk.instance == VK_NULL_HANDLE) {
        EXPECT_TRUE(capture.vulkan->devices.empty());
        EXPECT_FALSE(capture.vulkan_reasons.empty()) << "no Vulkan, and no reason given";
        GTEST_SKIP() << "no Vulkan instance here";
    }
    EXPECT_EQ(vk.version, capture.vulkan->instance.api_version);
    ASSERT_EQ(vk.devices.size(), capture.vulkan->devices.size());
    int fields = 0;
    for (size_t d = 0; d < vk.devices.size(); ++d) {
        SCOPED_TRACE("device " + std::to_string(d));
        const VkPhysicalDevice device = vk.devices[d];
        const vk_device_record& record = capture.vulkan->devices[d];
        for (const vk_table* table : every_table()) {
            SCOPED_TRACE(table->section);
            const std::vector<std::byte> own = vk.structure(device, table->structure);
            const std::byte* read = structure_of(record, table->structure);
            ASSERT_EQ(own.empty(), read == nullptr)
                << "read where the versions lack it, or not where they have it";
            for (const vk_field& field : own.empty() ? std::span<const vk_field>() : table->fields) {
                EXPECT_EQ(0, std::memcmp(own.data() + field.offset, read + field.offset, field.size))
                    << field.name;
                ++fields;
            }
        }
        EXPECT_EQ(vk.extensions(device), record.extensions);

        VkPhysicalDeviceMemoryProperties memory{};
        vk.fn<PFN_vkGetPhysicalDeviceMemoryProperties>("vkGetPhysicalDeviceMemoryProperties")(device,
                                                                                              &memory);
        ASSERT_EQ(memory.memoryHeapCount, record.memory.memoryHeapCount);
        ASSERT_EQ(memory.memoryTypeCount, record.memory.memoryTypeCount);
        for (uint32_t i = 0; i < memory.memoryHeapCount; ++i) {
            EXPECT_EQ(memory.memoryHeaps[i].size, record.memory.memoryHeaps[i].size);
            EXPECT_EQ(memory.memoryHeaps[i].flags, record.memory.memoryHeaps[i].flags);
        }
        for (uint32_t i = 0; i < memory.memoryTypeCount; ++i) {
            EXPECT_EQ(memory.memoryTypes[i].heapIndex, record.memory.memoryTypes[i].heapIndex);
            EXPECT_EQ(memory.memoryTypes[i].propertyFlags, record.memory.memoryTypes[i].propertyFlags);
        }

        const auto queue_families =
            vk.fn<PFN_vkGetPhysicalDeviceQueueFamilyProperties>("vkGetPhysicalDeviceQueueFamilyProperties");
        uint32_t count = 0;
        queue_families(device, &count, nullptr);
        std::vector<VkQueueFamilyProperties> families(count);
        queue_families(device, &count, families.data());
        ASSERT_EQ(count, record.queue_families.size());
        for (uint32_t i = 0; i < count; ++i) {
            EXPECT_EQ(0, std::memcmp(&families[i], &record.queue_families[i], sizeof families[i])) << i;
        }

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
    EXPECT_GT(fields, 100);
}

// Each adapter's Limits and Features pages show, row for row, the device it
// was matched with, as this test reads it.
TEST(VkPlatform, EachAdapterShowsItsMatchedDevice) {
    const own_vulkan vk;
    if (vk.devices.empty()) {
        GTEST_SKIP() << "no Vulkan device here";
    }
    const startup_capture capture = capture_startup();
    const report_document document = build_report(capture);
    const auto matches =
        match_vulkan(capture.direct3d ? std::span<const dx_adapter>(capture.direct3d->adapters)
                                      : std::span<const dx_adapter>(),
                     capture.vulkan->devices);
    ASSERT_EQ(document.adapters.size(), matches.size());
    for (size_t a = 0; a < matches.size(); ++a) {
        SCOPED_TRACE("adapter " + std::to_string(a));
        const vk_device_record& record = capture.vulkan->devices[static_cast<size_t>(matches[a].device)];
        const report_group& group = document.adapters[a].group(page_group::vulkan);
        ASSERT_TRUE(group.read);
        for (const auto& [id, tables] :
             {std::pair{page_id::vk_limits, std::vector<const vk_table*>{&vk_rows::limits_table()}},
              std::pair{page_id::vk_features, std::vector<const vk_table*>()}}) {
            const report_page* page = group.page(id);
            ASSERT_NE(nullptr, page);
            std::vector<const vk_table*> shown = tables;
            if (shown.empty()) {
                for (const vk_table& table : vk_rows::feature_tables()) {
                    shown.push_back(&table);
                }
            }
            size_t row = 0;
            for (const vk_table* table : shown) {
                const std::vector<std::byte> own =
                    vk.structure(vk.devices[static_cast<size_t>(matches[a].device)], table->structure);
                if (own.empty()) {
                    continue;
                }
                while (row < page->rows.size() && page->rows[row].name != table->section) {
                    ++row;
                }
                ASSERT_LT(row, page->rows.size()) << table->section << " is not on the page";
                for (const vk_field& field : table->fields) {
                    ASSERT_LT(++row, page->rows.size());
                    EXPECT_EQ(field.name, page->rows[row].name);
                    EXPECT_EQ(vk_field_value(field, own.data(), record).second, page->rows[row].value)
                        << field.name;
                }
            }
        }
    }
}

}  // namespace
