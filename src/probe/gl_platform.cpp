// The OpenGL probe's platform table, filled from the real platform.
#include "probe/gl_platform.h"

#include "base/platform.h"
#include "base/text.h"

namespace {

constexpr wchar_t probe_window_class[] = L"CavioOpenGLProbe";

BOOL CALLBACK add_monitor(HMONITOR handle, HDC, LPRECT, LPARAM list) {
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    gl_monitor monitor;
    monitor.handle = handle;
    if (GetMonitorInfoW(handle, &info)) {
        monitor.left = info.rcMonitor.left;
        monitor.top = info.rcMonitor.top;
        monitor.name = utf8_of(info.szDevice);
    }
    reinterpret_cast<std::vector<gl_monitor>*>(list)->push_back(monitor);
    return TRUE;
}

// A class of the probe's own: its own device context per window, as WGL
// prefers, and no background painting.
void register_window_class() {
    static const bool registered = [] {
        WNDCLASSW window_class{};
        window_class.style = CS_OWNDC;
        window_class.lpfnWndProc = DefWindowProcW;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = probe_window_class;
        return RegisterClassW(&window_class) != 0;
    }();
    (void)registered;
}

}  // namespace

gl_platform default_gl_platform() {
    gl_platform platform;
    platform.load_library = [](const char* name) { return load_library(name); };
    platform.get_proc_address = [](HMODULE module, const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(module, name));
    };
    platform.monitors = [] {
        std::vector<gl_monitor> monitors;
        EnumDisplayMonitors(nullptr, nullptr, add_monitor, reinterpret_cast<LPARAM>(&monitors));
        return monitors;
    };
    platform.create_window = [](int left, int top, int width, int height) {
        register_window_class();
        // Created without WS_VISIBLE and never shown.
        return CreateWindowExW(WS_EX_TOOLWINDOW, probe_window_class, L"",
                               WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, left, top, width, height,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    };
    platform.destroy_window = [](HWND window) { DestroyWindow(window); };
    platform.get_dc = [](HWND window) { return GetDC(window); };
    platform.release_dc = [](HWND window, HDC dc) { ReleaseDC(window, dc); };
    platform.choose_pixel_format = [](HDC dc, const PIXELFORMATDESCRIPTOR& format) {
        return ChoosePixelFormat(dc, &format);
    };
    platform.set_pixel_format = [](HDC dc, int index, const PIXELFORMATDESCRIPTOR& format) {
        return SetPixelFormat(dc, index, &format) != FALSE;
    };
    return platform;
}
