// A fake Vulkan loader behind the probe's seam: vkGetInstanceProcAddr and
// the instance-level functions the probe calls, answering from device
// records as a driver would, and counting what the probe did.
#pragma once

#include <vulkan/vulkan_core.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "probe/records.h"

namespace fakes {

class vulkan_system {
public:
    // --- what the fake offers -------------------------------------------
    bool enumerate_version = true;  // vkEnumerateInstanceVersion is there (a 1.1 loader or newer)
    uint32_t loader_version = VK_API_VERSION_1_3;
    VkResult create_result = VK_SUCCESS;
    std::vector<vk_device_record> devices;  // what each physical device answers
    std::vector<vk_extension> instance_extensions;

    // --- what the probe did ---------------------------------------------
    int instances_alive = 0;
    uint32_t asked_version = 0;  // the apiVersion of the instance asked for
    int properties2_calls = 0;
    // A structure the driver answers by writing another one over it.
    std::optional<VkStructureType> spoiled;

    // The seam: this system's vkGetInstanceProcAddr.
    PFN_vkGetInstanceProcAddr loader() {
        active = this;
        return &get_proc;
    }

    static inline vulkan_system* active = nullptr;

private:
    static const vk_device_record& device(VkPhysicalDevice handle) {
        return active->devices.at(reinterpret_cast<uintptr_t>(handle) - 1);
    }

    template <typename F>
    static PFN_vkVoidFunction entry(F function) {
        return reinterpret_cast<PFN_vkVoidFunction>(reinterpret_cast<void*>(function));
    }

    static PFN_vkVoidFunction VKAPI_CALL get_proc(VkInstance, const char* name) {
        const std::map<std::string, PFN_vkVoidFunction> entries = {
            {"vkCreateInstance", entry(&create_instance)},
            {"vkDestroyInstance", entry(&destroy_instance)},
            {"vkEnumerateInstanceExtensionProperties", entry(&instance_extension_list)},
            {"vkEnumeratePhysicalDevices", entry(&enumerate_devices)},
            {"vkGetPhysicalDeviceProperties", entry(&properties)},
            {"vkGetPhysicalDeviceProperties2", entry(&properties2)},
            {"vkGetPhysicalDeviceFeatures", entry(&features)},
            {"vkGetPhysicalDeviceFeatures2", entry(&features2)},
            {"vkEnumerateDeviceExtensionProperties", entry(&device_extension_list)},
            {"vkGetPhysicalDeviceMemoryProperties", entry(&memory)},
            {"vkGetPhysicalDeviceQueueFamilyProperties", entry(&queue_families)},
            {"vkGetPhysicalDeviceFormatProperties", entry(&format_properties)},
        };
        if (std::strcmp(name, "vkEnumerateInstanceVersion") == 0) {
            return active->enumerate_version ? entry(&instance_version) : nullptr;
        }
        const auto found = entries.find(name);
        return found != entries.end() ? found->second : nullptr;
    }

    static VkResult VKAPI_CALL instance_version(uint32_t* version) {
        *version = active->loader_version;
        return VK_SUCCESS;
    }
    static VkResult VKAPI_CALL create_instance(const VkInstanceCreateInfo* info, const VkAllocationCallbacks*,
                                               VkInstance* out) {
        active->asked_version = info->pApplicationInfo->apiVersion;
        if (active->create_result != VK_SUCCESS) {
            return active->create_result;
        }
        ++active->instances_alive;
        *out = reinterpret_cast<VkInstance>(uintptr_t{0x1000});
        return VK_SUCCESS;
    }
    static void VKAPI_CALL destroy_instance(VkInstance, const VkAllocationCallbacks*) {
        --active->instances_alive;
    }

    // The "count, then fill" protocol of Vulkan's lists.
    template <typename T>
    static VkResult fill(const std::vector<T>& items, uint32_t* count, T* out) {
        if (out == nullptr) {
            *count = static_cast<uint32_t>(items.size());
            return VK_SUCCESS;
        }
        const uint32_t copied = std::min<uint32_t>(*count, static_cast<uint32_t>(items.size()));
        std::copy_n(items.begin(), copied, out);
        *count = copied;
        return copied < items.size() ? VK_INCOMPLETE : VK_SUCCESS;
    }
    static std::vector<VkExtensionProperties> listed(const std::vector<vk_extension>& extensions) {
        std::vector<VkExtensionProperties> list;
        for (const vk_extension& extension : extensions) {
            VkExtensionProperties& item = list.emplace_back();
            std::strncpy(item.extensionName, extension.name.c_str(), sizeof item.extensionName - 1);
            item.specVersion = extension.spec_version;
        }
        return list;
    }
    static VkResult VKAPI_CALL instance_extension_list(const char*, uint32_t* count,
                                                       VkExtensionProperties* out) {
        return fill(listed(active->instance_extensions), count, out);
    }
    static VkResult VKAPI_CALL enumerate_devices(VkInstance, uint32_t* count, VkPhysicalDevice* out) {
        std::vector<VkPhysicalDevice> handles;
        for (uintptr_t i = 1; i <= active->devices.size(); ++i) {
            handles.push_back(reinterpret_cast<VkPhysicalDevice>(i));
        }
        return fill(handles, count, out);
    }
    static void VKAPI_CALL properties(VkPhysicalDevice handle, VkPhysicalDeviceProperties* out) {
        *out = device(handle).properties;
    }
    // Each structure of a chain gets the device's answer to its type; the
    // chain stays as it was.
    static void answer_chain(void* chain, const vk_device_record& record) {
        const std::map<VkStructureType, std::pair<const void*, size_t>> answers = {
            {VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_ID_PROPERTIES, {&record.id, sizeof record.id}},
            {VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_DRIVER_PROPERTIES, {&record.driver, sizeof record.driver}},
            {VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_1_PROPERTIES,
             {&record.vulkan11, sizeof record.vulkan11}},
            {VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_2_PROPERTIES,
             {&record.vulkan12, sizeof record.vulkan12}},
            {VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_3_PROPERTIES,
             {&record.vulkan13, sizeof record.vulkan13}},
            {VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_1_FEATURES,
             {&record.features11, sizeof record.features11}},
            {VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_2_FEATURES,
             {&record.features12, sizeof record.features12}},
            {VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_3_FEATURES,
             {&record.features13, sizeof record.features13}}};
        for (auto* link = static_cast<VkBaseOutStructure*>(chain); link != nullptr; link = link->pNext) {
            const VkBaseOutStructure header = *link;
            if (const auto found = answers.find(header.sType); found != answers.end()) {
                std::memcpy(static_cast<void*>(link), found->second.first, found->second.second);
                *link = header;
            }
            // The extensions' structures, as the record holds them.
            for (const vk_structure_answer& answer : record.extension_structures) {
                if (std::memcmp(answer.bytes.data(), &header.sType, sizeof header.sType) == 0) {
                    std::memcpy(static_cast<void*>(link), answer.bytes.data(), answer.bytes.size());
                    *link = header;
                }
            }
            if (active->spoiled == header.sType) {
                link->sType = VK_STRUCTURE_TYPE_APPLICATION_INFO;  // a driver that writes another structure
            }
        }
    }
    static void VKAPI_CALL properties2(VkPhysicalDevice handle, VkPhysicalDeviceProperties2* out) {
        ++active->properties2_calls;
        out->properties = device(handle).properties;
        answer_chain(out->pNext, device(handle));
    }
    static void VKAPI_CALL features(VkPhysicalDevice handle, VkPhysicalDeviceFeatures* out) {
        *out = device(handle).features;
    }
    static void VKAPI_CALL features2(VkPhysicalDevice handle, VkPhysicalDeviceFeatures2* out) {
        out->features = device(handle).features;
        answer_chain(out->pNext, device(handle));
    }
    static VkResult VKAPI_CALL device_extension_list(VkPhysicalDevice handle, const char*, uint32_t* count,
                                                     VkExtensionProperties* out) {
        return fill(listed(device(handle).extensions), count, out);
    }
    static void VKAPI_CALL memory(VkPhysicalDevice handle, VkPhysicalDeviceMemoryProperties* out) {
        *out = device(handle).memory;
    }
    static void VKAPI_CALL queue_families(VkPhysicalDevice handle, uint32_t* count,
                                          VkQueueFamilyProperties* out) {
        fill(device(handle).queue_families, count, out);
    }
    static void VKAPI_CALL format_properties(VkPhysicalDevice handle, VkFormat format,
                                             VkFormatProperties* out) {
        *out = {};
        for (const vk_format_support& support : device(handle).formats) {
            if (support.format == static_cast<uint32_t>(format)) {
                *out = support.properties;
            }
        }
    }
};

}  // namespace fakes
