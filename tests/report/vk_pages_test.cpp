// Which Vulkan device each adapter shows, and what a device of Vulkan 1.0
// leaves unsaid.
#include <gtest/gtest.h>

#include "fakes/golden_vulkan.h"
#include "refdata/pci_names.h"
#include "report/page_lookup.h"
#include "report/report_builder.h"
#include <cstring>
#include "report/report_json.h"

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

// A device no adapter is (the software one beside a GPU): the report holds
// every device, each with its pages, and keeps them through JSON; where every
// device is an adapter's, the adapters hold them all.
TEST(VulkanMatch, ADeviceNoAdapterIsIsHeldWithEveryOther) {
    init_reference_data();
    const std::vector<dx_adapter> adapters = {adapter_of(0x10DE, 0x2684, 7)};
    std::vector<vk_device_record> devices = {device_of(0x10DE, 0x2684, 7), device_of(0x10005, 0, -1)};
    std::strcpy(devices[1].properties.deviceName, "llvmpipe");
    const vk_instance_record instance = fakes::golden_vulkan_instance();
    const report_document document = build_report(adapters, {}, &instance, devices);
    ASSERT_EQ(2u, document.vulkan_devices.size());
    EXPECT_EQ("llvmpipe", document.vulkan_devices[1].name);
    EXPECT_EQ(*document.adapters[0].group(page_group::vulkan).page(page_id::vk_device),
              *document.vulkan_devices[0].group.page(page_id::vk_device));
    const result<report_document> read = read_report_json(report_json(document, "cavio", "1"), "two.json");
    ASSERT_TRUE(read);
    EXPECT_EQ(document, *read);
    devices.pop_back();
    EXPECT_TRUE(build_report(adapters, {}, &instance, devices).vulkan_devices.empty());
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
