// The Vulkan probe on Windows: vulkan-1.dll, and a hidden window on each
// monitor with its VK_KHR_win32_surface surface.
#include "probe/vk_probe.h"
#include "probe/vk_surfaces.h"

#include <windows.h>
#include <vulkan/vulkan_win32.h>

#include <algorithm>

#include "base/platform.h"
#include "base/text.h"

const char* const vk_loader_library = "vulkan-1.dll";

vk_loader default_vk_loader() {
    return [] {
        return get_proc<PFN_vkGetInstanceProcAddr>(load_library(vk_loader_library), "vkGetInstanceProcAddr");
    };
}

const char* vk_window_surfaces::extension_name() {
    return VK_KHR_WIN32_SURFACE_EXTENSION_NAME;
}

const char* vk_window_surfaces::create_function() {
    return "vkCreateWin32SurfaceKHR";
}

namespace {

struct monitor_walk {
    std::vector<HMONITOR> monitors;
    static BOOL CALLBACK add(HMONITOR monitor, HDC, LPRECT, LPARAM self) {
        reinterpret_cast<monitor_walk*>(self)->monitors.push_back(monitor);
        return TRUE;
    }
};

}  // namespace

vk_window_surfaces::vk_window_surfaces(PFN_vkGetInstanceProcAddr get, VkInstance instance,
                                       PFN_vkDestroySurfaceKHR destroy)
    : instance_(instance), destroy_(destroy) {
    const auto create = reinterpret_cast<PFN_vkCreateWin32SurfaceKHR>(
        reinterpret_cast<void*>(get(instance, create_function())));
    if (create == nullptr) {
        return;
    }
    monitor_walk walk;
    EnumDisplayMonitors(nullptr, nullptr, &monitor_walk::add, reinterpret_cast<LPARAM>(&walk));
    for (HMONITOR monitor : walk.monitors) {
        window& one = windows_.emplace_back();
        one.monitor = reinterpret_cast<uintptr_t>(monitor);
        MONITORINFOEXW info{};
        info.cbSize = sizeof info;
        GetMonitorInfoW(monitor, &info);
        one.device_name = utf8_of(info.szDevice);
        // A window of the system's static class: nothing of the program's
        // own is registered on the probe's thread. Never shown.
        const RECT& area = info.rcMonitor;
        HWND shown =
            CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"Cavio surface", WS_POPUP, area.left, area.top,
                            std::max(1L, area.right - area.left), std::max(1L, area.bottom - area.top),
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (shown == nullptr) {
            one.failure = "no window could be made on " + one.device_name;
            continue;
        }
        platform_windows_.push_back(reinterpret_cast<uintptr_t>(shown));
        VkWin32SurfaceCreateInfoKHR info_create{};
        info_create.sType = VK_STRUCTURE_TYPE_WIN32_SURFACE_CREATE_INFO_KHR;
        info_create.hinstance = GetModuleHandleW(nullptr);
        info_create.hwnd = shown;
        if (const VkResult result = create(instance, &info_create, nullptr, &one.surface);
            result != VK_SUCCESS) {
            one.surface = VK_NULL_HANDLE;
            one.failure = "vkCreateWin32SurfaceKHR failed (" + vk_result_text(result) + ")";
        }
    }
}

vk_window_surfaces::~vk_window_surfaces() {
    for (const window& one : windows_) {
        if (one.surface != VK_NULL_HANDLE) {
            destroy_(instance_, one.surface, nullptr);
        }
    }
    for (uintptr_t shown : platform_windows_) {
        DestroyWindow(reinterpret_cast<HWND>(shown));
    }
}
