// The Vulkan probe on Linux: the system's loader (libvulkan.so.1, loaded at
// run time), and a window on each screen of the X display, where there is
// one, with its VK_KHR_xlib_surface surface. Xlib is loaded at run time
// too: a machine without it, or without a display, reads no surface.
#include "probe/vk_probe.h"
#include "probe/vk_surfaces.h"
#include "probe/x11_library.h"

#include <dlfcn.h>

#include <X11/Xlib.h>
#include <vulkan/vulkan_xlib.h>

#include <string>

const char* const vk_loader_library = "libvulkan.so.1";

vk_loader default_vk_loader() {
    return [] {
        void* library = dlopen(vk_loader_library, RTLD_NOW | RTLD_LOCAL);
        return library != nullptr
                   ? reinterpret_cast<PFN_vkGetInstanceProcAddr>(dlsym(library, "vkGetInstanceProcAddr"))
                   : nullptr;
    };
}

const char* vk_window_surfaces::extension_name() {
    return VK_KHR_XLIB_SURFACE_EXTENSION_NAME;
}

const char* vk_window_surfaces::create_function() {
    return "vkCreateXlibSurfaceKHR";
}

vk_window_surfaces::vk_window_surfaces(PFN_vkGetInstanceProcAddr get, VkInstance instance,
                                       PFN_vkDestroySurfaceKHR destroy)
    : instance_(instance), destroy_(destroy) {
    const auto create = reinterpret_cast<PFN_vkCreateXlibSurfaceKHR>(get(instance, create_function()));
    const x11_library& x = x11_library::loaded();
    if (create == nullptr || x.open_display == nullptr) {
        return;
    }
    Display* display = x.open_display(nullptr);
    if (display == nullptr) {
        return;  // no display: nothing to present to
    }
    display_ = display;
    // ":0" or ":0.0": the display without its screen, then each screen's.
    std::string name = x.display_string(display);
    if (const size_t dot = name.rfind('.'); dot != std::string::npos && dot > name.rfind(':')) {
        name.erase(dot);
    }
    for (int screen = 0; screen < x.screen_count(display); ++screen) {
        window& one = windows_.emplace_back();
        one.monitor = static_cast<uintptr_t>(screen);
        one.device_name = name + "." + std::to_string(screen);
        // Never mapped: a surface needs a window, not one on show.
        const Window made = x.create_window(display, x.root_window(display, screen), 0, 0, 100, 100, 0, 0, 0);
        if (made == 0) {
            one.failure = "no window could be made on " + one.device_name;
            continue;
        }
        platform_windows_.push_back(static_cast<uintptr_t>(made));
        VkXlibSurfaceCreateInfoKHR info{};
        info.sType = VK_STRUCTURE_TYPE_XLIB_SURFACE_CREATE_INFO_KHR;
        info.dpy = display;
        info.window = made;
        if (const VkResult result = create(instance, &info, nullptr, &one.surface); result != VK_SUCCESS) {
            one.surface = VK_NULL_HANDLE;
            one.failure = "vkCreateXlibSurfaceKHR failed (" + vk_result_text(result) + ")";
        }
    }
}

vk_window_surfaces::~vk_window_surfaces() {
    for (const window& one : windows_) {
        if (one.surface != VK_NULL_HANDLE) {
            destroy_(instance_, one.surface, nullptr);
        }
    }
    if (display_ != nullptr) {
        const x11_library& x = x11_library::loaded();
        auto* display = static_cast<Display*>(display_);
        for (uintptr_t made : platform_windows_) {
            x.destroy_window(display, static_cast<Window>(made));
        }
        x.close_display(display);
    }
}
