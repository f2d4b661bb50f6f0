// The Vulkan probe: an instance at the highest version the loader offers,
// and everything each physical device says of itself.
#pragma once

#include <vulkan/vulkan_core.h>

#include <functional>
#include <vector>

#include "probe/vk_records.h"

// vkGetInstanceProcAddr, every other entry point is found through it; null
// where the loader library or its export is missing. The default loads the
// library by name (vulkan-1.dll on Windows, libvulkan.so.1 on Linux); it
// stays loaded until the process ends.
using vk_loader = std::function<PFN_vkGetInstanceProcAddr()>;

vk_loader default_vk_loader();
extern const char* const vk_loader_library;

class vk_probe {
public:
    // Makes the instance, reads every physical device and destroys the
    // instance again. No loader, no instance or no device is a reason
    // ("Vulkan: vkCreateInstance failed (VK_ERROR_INCOMPATIBLE_DRIVER)");
    // never raises.
    // Before it makes the windows of its surfaces it calls windows_free,
    // where given: false reads no surface (another probe still makes windows).
    explicit vk_probe(const vk_loader& loader = default_vk_loader(),
                      const std::function<bool()>& windows_free = {});

    vk_probe(const vk_probe&) = delete;
    vk_probe& operator=(const vk_probe&) = delete;

    vk_instance_record instance;
    std::vector<vk_device_record> devices;  // in the order Vulkan lists them
    std::vector<reason> reasons;            // in the order they arose; adapter always -1

    // The records and reasons, moved out.
    vk_records take() { return {std::move(instance), std::move(devices), std::move(reasons)}; }
};

// The published name of a result code: "VK_ERROR_INITIALIZATION_FAILED";
// the number for one this program does not know.
std::string vk_result_text(VkResult result);
