// The few Xlib functions the Linux probes call, from libX11.so.6 loaded at
// run time: a machine without Xlib, or without a display, still runs
// cavio-report, reading what needs no display.
#pragma once

#include <dlfcn.h>

#include <X11/Xlib.h>

#include <type_traits>

struct x11_library {
    decltype(&XOpenDisplay) open_display = nullptr;  // null: no Xlib here
    decltype(&XCloseDisplay) close_display = nullptr;
    decltype(&XScreenCount) screen_count = nullptr;
    decltype(&XDefaultScreen) default_screen = nullptr;
    decltype(&XRootWindow) root_window = nullptr;
    decltype(&XCreateSimpleWindow) create_window = nullptr;
    decltype(&XDestroyWindow) destroy_window = nullptr;
    decltype(&XDisplayString) display_string = nullptr;
    decltype(&XFree) free = nullptr;
    decltype(&XSync) sync = nullptr;
    decltype(&XSetErrorHandler) set_error_handler = nullptr;

    static const x11_library& loaded() {
        static const x11_library functions = [] {
            x11_library x;
            void* library = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
            if (library == nullptr) {
                return x;
            }
            const auto find = [library](auto& function, const char* name) {
                function =
                    reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(library, name));
                return function != nullptr;
            };
            if (!(find(x.open_display, "XOpenDisplay") && find(x.close_display, "XCloseDisplay") &&
                  find(x.screen_count, "XScreenCount") && find(x.default_screen, "XDefaultScreen") &&
                  find(x.root_window, "XRootWindow") && find(x.create_window, "XCreateSimpleWindow") &&
                  find(x.destroy_window, "XDestroyWindow") && find(x.display_string, "XDisplayString") &&
                  find(x.free, "XFree") && find(x.sync, "XSync") &&
                  find(x.set_error_handler, "XSetErrorHandler"))) {
                x.open_display = nullptr;
            }
            return x;
        }();
        return functions;
    }
};
