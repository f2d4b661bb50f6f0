// Which Vulkan device each adapter shows, and what a device of Vulkan 1.0
// leaves unsaid.
#include <gtest/gtest.h>

#include "fakes/golden_vulkan.h"
#include "refdata/pci_names.h"
#include "report/page_lookup.h"
#include "report/report_builder.h"

namespace {

dx_adapter adapter_of(uint32_t vendor, uint32_t device, int luid) {
    dx_adapter adapter;
    adapter.info.vendor_id = vendor;
    adapter.info.device_id = device;
    adapter.info.has_luid = luid >= 0;
    adapter.info.luid[0] = static_cast<uint8_t>(luid);
    return adapter;
}

vk_device_record device_of(uint32_t vendor, uint32_t device, int luid) {
    vk_device_record record = fakes::golden_vulkan_device();
    record.properties.vendorID = vendor;
    record.properties.deviceID = device;
    record.id.deviceLUIDValid = luid >= 0 ? VK_TRUE : VK_FALSE;
    std::fill(std::begin(record.id.deviceLUID), std::end(record.id.deviceLUID), uint8_t{0});
    record.id.deviceLUID[0] = static_cast<uint8_t>(luid);
    return record;
}

TEST(VulkanMatch, ByLuidThenIdsThenADeviceNoOtherAdapterHas) {
    // Two boards of one model, their devices listed the other way round; a
    // board only its IDs match; one Vulkan lists nothing for; a device no
    // adapter matches.
    const std::vector<dx_adapter> adapters = {adapter_of(0x10DE, 0x2684, 7), adapter_of(0x10DE, 0x2684, 9),
                                              adapter_of(0x1002, 0x744C, -1), adapter_of(0x8086, 0xA780, 3),
                                              adapter_of(0x1414, 0x008C, 4)};
    const std::vector<vk_device_record> devices = {device_of(0x10DE, 0x2684, 9), device_of(0x10DE, 0x2684, 7),
                                                   device_of(0x1002, 0x744C, 5), device_of(0x10005, 0, -1)};
    const std::vector<vk_match> matches = match_vulkan(adapters, devices);
    const std::vector<std::pair<int, std::string>> expected = {{1, "LUID"},
                                                               {0, "LUID"},
                                                               {2, "vendor and device ID"},
                                                               {3, "none: a device of no other adapter"},
                                                               {0, "none: the first device"}};
    ASSERT_EQ(expected.size(), matches.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].first, matches[i].device) << i;
        EXPECT_EQ(expected[i].second, matches[i].by) << i;
    }
    EXPECT_EQ(-1, match_vulkan(adapters, {}).at(0).device);
}

TEST(VulkanPages, WhatAVulkan10DeviceLeavesUnsaid) {
    init_reference_data();
    vk_device_record device = fakes::golden_vulkan_device();
    device.has_id = device.has_driver = device.has_vulkan11 = device.has_vulkan12 = device.has_vulkan13 =
        false;
    const vk_instance_record instance = fakes::golden_vulkan_instance();
    const vk_page_source source{device, instance, "LUID"};
    const report_page summary = write_page(page_of(page_id::vk_summary), source);
    EXPECT_EQ("not available", value_of(summary, "Driver"));
    EXPECT_EQ("LUID", value_of(summary, "Matched by"));
    const report_page properties = write_page(page_of(page_id::vk_device), source);
    EXPECT_EQ("not available", value_of(properties, "maxBufferSize"));
    EXPECT_EQ("NVIDIA Corporation (0x10DE)", value_of(properties, "vendorID"));
    const report_page features = write_page(page_of(page_id::vk_features), source);
    EXPECT_EQ("not available", value_of(features, "dynamicRendering"));
    EXPECT_NE("not available", value_of(features, "geometryShader"));
}

}  // namespace
