// The Vulkan probe and pages against the real platform: every field the
// tables show, every extension, memory type, queue family and format equals
// what this test asks Vulkan itself through an instance of its own, each
// structure asked alone.
#include <gtest/gtest.h>

#include <string>

#include "platform/shared_capture.h"
#include "probe/capture.h"
#include "probe/vk_own.h"
#include "report/report_builder.h"

namespace {

// Every row of the Device, Limits and Features pages of each adapter, under
// its structure's section, is the field of the device it was matched with,
// as this test reads it; a structure the versions lack has no section. Each
// device's lists are what Vulkan lists.
TEST(VkPlatform, EveryRowIsWhatVulkanSays) {
    const vk_own::own_vulkan vk;
    const startup_capture& capture = shared_capture();
    ASSERT_TRUE(capture.vulkan);
    if (vk.instance == VK_NULL_HANDLE) {
        EXPECT_TRUE(capture.vulkan_devices.empty());
        EXPECT_FALSE(capture.reasons[static_cast<size_t>(capture_part::vulkan)].empty())
            << "no Vulkan, and no reason given";
        GTEST_SKIP() << "no Vulkan instance here";
    }
    EXPECT_EQ(vk.version, capture.vulkan->api_version);
    ASSERT_EQ(vk.devices.size(), capture.vulkan_devices.size());
    const report_document document = build_report(capture);
    const auto matches = match_vulkan(capture.adapters, capture.vulkan_devices);
    ASSERT_EQ(document.adapters.size(), matches.size());
    for (size_t a = 0; a < matches.size(); ++a) {
        SCOPED_TRACE("adapter " + std::to_string(a));
        const auto index = static_cast<size_t>(matches[a].device);
        vk_own::expect_pages_as_vulkan_says(vk, vk.devices[index], capture.vulkan_devices[index],
                                            document.adapters[a]);
    }
}

}  // namespace
