// The platform services the OpenGL probe uses, as one replaceable table.
// The default is the real platform; tests fill it with fakes. OpenGL, WGL
// and GLU entry points are found through load_library and get_proc_address
// by the probe's lookup rule, so fakes supply them by name.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct gl_monitor {
    HMONITOR handle = nullptr;
    LONG left = 0;  // of the monitor's rectangle on the virtual desktop
    LONG top = 0;
    std::string name;  // its device name, "\\.\DISPLAY1", in UTF-8
};

struct gl_platform {
    std::function<HMODULE(const char* name)> load_library;  // null when missing
    std::function<void*(HMODULE module, const char* name)> get_proc_address;

    std::function<std::vector<gl_monitor>()> monitors;  // the desktop's, in its order
    // A hidden top-level window at (left, top) of width by height; never shown.
    std::function<HWND(int left, int top, int width, int height)> create_window;
    std::function<void(HWND window)> destroy_window;
    std::function<HDC(HWND window)> get_dc;
    std::function<void(HWND window, HDC dc)> release_dc;
    std::function<int(HDC dc, const PIXELFORMATDESCRIPTOR& format)> choose_pixel_format;
    std::function<bool(HDC dc, int index, const PIXELFORMATDESCRIPTOR& format)> set_pixel_format;
};

// The real platform: LoadLibraryW, GetProcAddress, EnumDisplayMonitors,
// a window class of the probe's own, GetDC, ChoosePixelFormat, ...
gl_platform default_gl_platform();
