// The Vulkan probe's rules, on a fake loader.
#include "probe/vk_probe.h"
#include "probe/vk_structures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "fakes/fake_vulkan.h"
#include "fakes/golden_vulkan.h"
#include "probe/print_reason.h"

namespace {

// A device answered at another version: its record as the fake holds it.
vk_device_record device_of_version(uint32_t version) {
    vk_device_record device = fakes::golden_vulkan_device();
    device.properties.apiVersion = version;
    return device;
}

TEST(VkProbe, EachRuleOfTheLoaderAndTheDevices) {
    struct rule {
        const char* what;
        std::function<void(fakes::vulkan_system&)> set;
        std::vector<said> reasons;
        // Which chained structures the one device's record holds: ID, driver,
        // 1.1 and 1.2 together, 1.3.
        std::array<bool, 4> chained;
    };
    const rule rules[] = {
        {"instance creation fails",
         [](fakes::vulkan_system& vk) { vk.create_result = VK_ERROR_INCOMPATIBLE_DRIVER; },
         {{-1, "Vulkan: vkCreateInstance failed (VK_ERROR_INCOMPATIBLE_DRIVER)"}},
         {}},
        {"no device",
         [](fakes::vulkan_system& vk) { vk.devices.clear(); },
         {{-1, "Vulkan: no physical device"}},
         {}},
        {"a 1.0 loader reads no chained structure",
         [](fakes::vulkan_system& vk) { vk.enumerate_version = false; },
         {},
         {false, false, false, false}},
        {"a 1.0 device on a 1.3 loader",
         [](fakes::vulkan_system& vk) { vk.devices = {device_of_version(VK_API_VERSION_1_0)}; },
         {},
         {false, false, false, false}},
        {"a 1.1 device",
         [](fakes::vulkan_system& vk) { vk.devices = {device_of_version(VK_API_VERSION_1_1)}; },
         {},
         {true, false, false, false}},
        {"a 1.2 device",
         [](fakes::vulkan_system& vk) { vk.devices = {device_of_version(VK_API_VERSION_1_2)}; },
         {},
         {true, true, true, false}},
        {"a 1.3 device", [](fakes::vulkan_system&) {}, {}, {true, true, true, true}},
    };
    for (const rule& r : rules) {
        SCOPED_TRACE(r.what);
        fakes::vulkan_system vk;
        vk.devices = {fakes::golden_vulkan_device()};
        vk.instance_extensions = {{"VK_KHR_surface", 25}};
        r.set(vk);
        const vk_probe probe([&vk] { return vk.loader(); });
        EXPECT_EQ(r.reasons, said_of(probe.reasons));
        EXPECT_EQ(0, vk.instances_alive);
        // The instance is asked at the loader's version.
        EXPECT_EQ(vk.enumerate_version ? VK_API_VERSION_1_3 : VK_API_VERSION_1_0, vk.asked_version);
        if (!r.reasons.empty()) {
            EXPECT_TRUE(probe.devices.empty());
            continue;
        }
        ASSERT_EQ(1u, probe.devices.size());
        const vk_device_record& read = probe.devices[0];
        const vk_device_record& told = vk.devices[0];
        EXPECT_EQ(r.chained,
                  (std::array<bool, 4>{read.has_id, read.has_driver, read.has_vulkan12, read.has_vulkan13}));
        EXPECT_EQ(read.has_vulkan11, read.has_vulkan12);
        // One call for the chain, then one for each extension's property structure alone.
        const auto structures = vk_extension_structures();
        const auto asked =
            std::count_if(read.extension_structures.begin(), read.extension_structures.end(),
                          [&](const vk_structure_answer& a) { return !structures[a.structure].features; });
        EXPECT_EQ(r.chained[0] ? 1 + asked : 0, vk.properties2_calls);
        EXPECT_EQ(0, std::memcmp(&told.properties, &read.properties, sizeof told.properties));
        EXPECT_EQ(0, std::memcmp(&told.features, &read.features, sizeof told.features));
        if (read.has_vulkan13) {
            EXPECT_EQ(told.vulkan13.maxBufferSize, read.vulkan13.maxBufferSize);
            EXPECT_EQ(told.features13.maintenance4, read.features13.maintenance4);
            EXPECT_EQ(told.vulkan12.framebufferIntegerColorSampleCounts,
                      read.vulkan12.framebufferIntegerColorSampleCounts);
            EXPECT_EQ(0, std::memcmp(told.id.deviceLUID, read.id.deviceLUID, VK_LUID_SIZE));
            EXPECT_STREQ(told.driver.driverInfo, read.driver.driverInfo);
            // The chain is gone once read.
            EXPECT_EQ(nullptr, read.vulkan12.pNext);
            EXPECT_EQ(nullptr, read.features11.pNext);
        }
        EXPECT_EQ(told.extensions, read.extensions);
        EXPECT_EQ(told.queue_families.size(), read.queue_families.size());
        EXPECT_EQ(0, std::memcmp(&told.memory, &read.memory, sizeof told.memory));
        ASSERT_EQ(told.formats.size(), read.formats.size());
        EXPECT_EQ(told.formats[7].properties.optimalTilingFeatures,
                  read.formats[7].properties.optimalTilingFeatures);
        EXPECT_EQ((std::vector<vk_extension>{{"VK_KHR_surface", 25}}), probe.instance.extensions);
    }
}

TEST(VkProbe, WithoutTheLoaderItSaysSo) {
    const vk_probe probe([]() -> PFN_vkGetInstanceProcAddr { return nullptr; });
    EXPECT_TRUE(probe.devices.empty());
    EXPECT_EQ((std::vector<said>{{-1, "Vulkan: vulkan-1.dll or its vkGetInstanceProcAddr is missing"}}),
              said_of(probe.reasons));
}

}  // namespace

// A structure a driver answers by writing another one over it is a reason;
// every other structure of the device's extensions is read whole.
TEST(VkProbe, AStructureAnsweredWrongIsAReasonAndTheRestAreRead) {
    fakes::vulkan_system vk;
    vk.devices = {fakes::golden_vulkan_device()};
    vk.spoiled = VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_LINE_RASTERIZATION_PROPERTIES_EXT;
    const vk_probe probe([&vk] { return vk.loader(); });
    ASSERT_EQ(1u, probe.reasons.size());
    EXPECT_EQ(
        "Golden Vulkan Board answered VkPhysicalDeviceLineRasterizationPropertiesEXT with another structure",
        probe.reasons[0].sentence);
    const std::vector<vk_structure_answer>& told = vk.devices[0].extension_structures;
    const std::vector<vk_structure_answer>& read = probe.devices.at(0).extension_structures;
    ASSERT_EQ(told.size() - 1, read.size());
    for (const vk_structure_answer& answer : read) {
        const auto same = std::find_if(told.begin(), told.end(), [&](const vk_structure_answer& t) {
            return t.structure == answer.structure;
        });
        ASSERT_NE(told.end(), same);
        EXPECT_EQ(same->bytes, answer.bytes) << vk_extension_structures()[answer.structure].name;
    }
}
