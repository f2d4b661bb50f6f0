// The platform's side of the Vulkan probe: the loader library, and a
// window surface on each place a window can show (a monitor on Windows, an
// X screen on Linux) for the probe to ask each device what it can present
// there.
#pragma once

#include <vulkan/vulkan_core.h>

#include <cstdint>
#include <string>
#include <vector>

class vk_window_surfaces {
public:
    // One place a window can show, and its surface (null with a failure
    // where none could be made).
    struct window {
        uintptr_t monitor = 0;    // the HMONITOR on Windows; the screen's number on Linux
        std::string device_name;  // "\\.\DISPLAY1"; ":0.0"
        VkSurfaceKHR surface = VK_NULL_HANDLE;
        std::string failure;
    };

    // The instance extension that makes this platform's surfaces, and its
    // function: VK_KHR_win32_surface's, VK_KHR_xlib_surface's.
    static const char* extension_name();
    static const char* create_function();

    // A hidden window on each place and its surface, made with the
    // instance's own entry point; none where the platform has no display.
    vk_window_surfaces(PFN_vkGetInstanceProcAddr get, VkInstance instance, PFN_vkDestroySurfaceKHR destroy);
    ~vk_window_surfaces();
    vk_window_surfaces(const vk_window_surfaces&) = delete;
    vk_window_surfaces& operator=(const vk_window_surfaces&) = delete;

    const std::vector<window>& windows() const { return windows_; }

private:
    VkInstance instance_;
    PFN_vkDestroySurfaceKHR destroy_;
    std::vector<window> windows_;
    std::vector<uintptr_t> platform_windows_;  // HWNDs; X windows
    [[maybe_unused]] void* display_ = nullptr;  // the X display on Linux
};
