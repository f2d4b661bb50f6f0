// The OpenGL probe: a hidden window and contexts on each adapter's monitor, read.
#include "probe/gl_probe.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <GL/wglext.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "base/reason.h"
#include "base/text.h"
#include "probe/gl_extensions.h"
#include "probe/gl_limits.h"
#include "probe/gl_reader.h"

namespace {

using wgl_get_proc_address_fn = PROC(WINAPI*)(LPCSTR);
using wgl_create_context_fn = HGLRC(WINAPI*)(HDC);
using wgl_make_current_fn = BOOL(WINAPI*)(HDC, HGLRC);
using wgl_delete_context_fn = BOOL(WINAPI*)(HGLRC);
using wgl_get_current_dc_fn = HDC(WINAPI*)();
using wgl_extensions_ext_fn = const char*(WINAPI*)();
using wgl_extensions_arb_fn = const char*(WINAPI*)(HDC);
template <typename T>
T as_entry(void* address) {
    return reinterpret_cast<T>(address);
}

// The pixel format every context is created with: a double-buffered RGBA
// window format with a 16-bit depth buffer.
PIXELFORMATDESCRIPTOR context_pixel_format() {
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cDepthBits = 16;
    format.iLayerType = PFD_MAIN_PLANE;
    return format;
}

// A rendering context, made current by its owner: released in reverse
// order, also when a later step raises, and never left current.
struct context_owner {
    wgl_make_current_fn make_current;
    wgl_delete_context_fn delete_context;
    HDC dc;
    HGLRC handle;
    bool current = false;
    ~context_owner() {
        if (current) {
            make_current(dc, nullptr);
        }
        if (handle != nullptr) {
            delete_context(handle);
        }
    }
};

// One capture: the loaded libraries, the entry points and the probe's list.
class gl_capture {
public:
    gl_capture(const gl_platform& platform, std::vector<gl_record>& adapters, std::vector<reason>& reasons,
               bool with_core)
        : platform_(platform), adapters_(adapters), reasons_(reasons), with_core_(with_core) {}

    void load();
    void capture(std::span<const dx_adapter> direct3d);

private:
    void* lookup(const char* name) const;
    template <typename T>
    T required(T entry, const char* name) const {
        fail_if(entry == nullptr, std::string("no ") + name, name);
        return entry;
    }
    void capture_on(const gl_monitor& monitor, const PIXELFORMATDESCRIPTOR& format, int adapter);
    void read_context(HMONITOR monitor);
    gl_context_reader reader() const;
    void make_core_context(HDC dc, gl_record& record, int adapter, const std::string& monitor);
    // The WGL extension string, and whether an entry point gave one.
    std::pair<bool, std::string> wgl_text() const;
    const gl_platform& platform_;
    std::vector<gl_record>& adapters_;
    std::vector<reason>& reasons_;
    bool with_core_;

    HMODULE opengl_ = nullptr;
    HMODULE glu_ = nullptr;
    wgl_get_proc_address_fn wglGetProcAddress_ = nullptr;
    wgl_create_context_fn wglCreateContext_ = nullptr;
    wgl_make_current_fn wglMakeCurrent_ = nullptr;
    wgl_delete_context_fn wglDeleteContext_ = nullptr;
    wgl_get_current_dc_fn wglGetCurrentDC_ = nullptr;
    wgl_extensions_ext_fn wglGetExtensionsStringEXT_ = nullptr;
    void* gluGetString_ = nullptr;
};

void gl_capture::load() {
    // Loaded by name and never unloaded: a second construction finds them
    // loaded already.
    opengl_ = platform_.load_library("OpenGL32.dll");
    glu_ = platform_.load_library("GLU32.dll");

    if (opengl_ != nullptr) {
        wglGetProcAddress_ =
            as_entry<wgl_get_proc_address_fn>(platform_.get_proc_address(opengl_, "wglGetProcAddress"));
    }
    // Looked up while no context is current: what is not found now stays
    // missing (wglGetExtensionsStringARB is then asked for per context).
    wglCreateContext_ = as_entry<wgl_create_context_fn>(lookup("wglCreateContext"));
    wglMakeCurrent_ = as_entry<wgl_make_current_fn>(lookup("wglMakeCurrent"));
    wglDeleteContext_ = as_entry<wgl_delete_context_fn>(lookup("wglDeleteContext"));
    wglGetCurrentDC_ = as_entry<wgl_get_current_dc_fn>(lookup("wglGetCurrentDC"));
    wglGetExtensionsStringEXT_ = as_entry<wgl_extensions_ext_fn>(lookup("wglGetExtensionsStringEXT"));
    if (glu_ != nullptr) {
        gluGetString_ = platform_.get_proc_address(glu_, "gluGetString");
    }
}

// wglGetProcAddress first, then the library's export of that name.
void* gl_capture::lookup(const char* name) const {
    if (wglGetProcAddress_ != nullptr) {
        void* address = reinterpret_cast<void*>(wglGetProcAddress_(name));
        // Some drivers answer 1, 2, 3 or -1 instead of null.
        const auto value = reinterpret_cast<intptr_t>(address);
        if (value != 0 && value != 1 && value != 2 && value != 3 && value != -1) {
            return address;
        }
    }
    return opengl_ != nullptr ? platform_.get_proc_address(opengl_, name) : nullptr;
}

void gl_capture::capture(std::span<const dx_adapter> direct3d) {
    if (direct3d.empty()) {
        return;
    }
    // Without the library or its context functions no monitor can be read.
    if (opengl_ == nullptr) {
        reasons_.push_back({"OpenGL", -1, {}, "OpenGL32.dll is missing", {}});
        return;
    }
    for (const auto& [entry, name] :
         {std::pair{reinterpret_cast<void*>(wglCreateContext_), "wglCreateContext"},
          std::pair{reinterpret_cast<void*>(wglMakeCurrent_), "wglMakeCurrent"},
          std::pair{reinterpret_cast<void*>(wglDeleteContext_), "wglDeleteContext"}}) {
        if (entry == nullptr) {
            reasons_.push_back({"OpenGL", -1, name, std::string("OpenGL32.dll has no ") + name, {}});
            return;
        }
    }
    const PIXELFORMATDESCRIPTOR format = context_pixel_format();
    const std::vector<gl_monitor> monitors = platform_.monitors();
    for (int i = 0; i < static_cast<int>(direct3d.size()); ++i) {
        const HMONITOR wanted = direct3d[static_cast<size_t>(i)].monitor;
        const auto found = std::find_if(monitors.begin(), monitors.end(),
                                        [&](const gl_monitor& monitor) { return monitor.handle == wanted; });
        // Not on the desktop: no context can be made for it.
        if (found == monitors.end()) {
            reasons_.push_back({"OpenGL", i, {}, "the adapter shows on no desktop monitor", {}});
            continue;
        }
        // A monitor that cannot be read leaves the others their records.
        try {
            capture_on(*found, format, i);
        } catch (const failure& error) {
            reason why = error.why();
            why.part = "OpenGL";
            why.adapter = i;
            why.sentence += " on " + found->name;
            reasons_.push_back(std::move(why));
        }
    }
}

void gl_capture::capture_on(const gl_monitor& monitor, const PIXELFORMATDESCRIPTOR& format, int adapter) {
    // Each owner undoes its step, in reverse order, also when a later
    // step raises: no window, device context or context is left behind.
    struct window_owner {
        const gl_platform& platform;
        HWND handle;
        ~window_owner() {
            if (handle != nullptr) {
                platform.destroy_window(handle);
            }
        }
    } window{platform_, platform_.create_window(monitor.left, monitor.top, 100, 100)};

    struct dc_owner {
        const gl_platform& platform;
        HWND window;
        HDC handle;
        ~dc_owner() {
            if (handle != nullptr) {
                platform.release_dc(window, handle);
            }
        }
    } dc{platform_, window.handle, window.handle != nullptr ? platform_.get_dc(window.handle) : nullptr};
    // Without a window GetDC would hand out the whole screen's context.
    fail_if(dc.handle == nullptr, "no device context", "GetDC");

    const int index = platform_.choose_pixel_format(dc.handle, format);
    fail_if(index <= 0 || !platform_.set_pixel_format(dc.handle, index, format), "no pixel format",
            index <= 0 ? "ChoosePixelFormat" : "SetPixelFormat");

    context_owner context{wglMakeCurrent_, wglDeleteContext_, dc.handle, wglCreateContext_(dc.handle)};
    fail_if(context.handle == nullptr, "no rendering context", "wglCreateContext");

    context.current = wglMakeCurrent_(dc.handle, context.handle) != FALSE;
    fail_if(!context.current, "wglMakeCurrent failed", "wglMakeCurrent");

    read_context(monitor.handle);
    if (with_core_) {
        make_core_context(dc.handle, adapters_.back(), adapter, monitor.name);
    }
}

std::pair<bool, std::string> gl_capture::wgl_text() const {
    const char* wgl = nullptr;
    if (wglGetExtensionsStringEXT_ != nullptr) {
        wgl = wglGetExtensionsStringEXT_();
    } else {
        const auto arb = as_entry<wgl_extensions_arb_fn>(lookup("wglGetExtensionsStringARB"));
        if (arb == nullptr || wglGetCurrentDC_ == nullptr) {
            return {false, ""};
        }
        wgl = arb(wglGetCurrentDC_());
    }
    return {true, wgl != nullptr ? wgl : ""};
}

// Made while the first context is current, on its device context, whose
// pixel format it shares; current only while it is read.
void gl_capture::make_core_context(HDC dc, gl_record& record, int adapter, const std::string& monitor) {
    const auto fail = [&](const std::string& why) {
        reasons_.push_back({"OpenGL",
                            adapter,
                            "wglCreateContextAttribsARB",
                            "no core-profile context on " + monitor + " (" + why + ")",
                            {}});
    };
    if (!has_extension_word(record.wgl_extensions, "WGL_ARB_create_context") ||
        !has_extension_word(record.wgl_extensions, "WGL_ARB_create_context_profile")) {
        fail("the driver offers no WGL_ARB_create_context_profile");
        return;
    }
    const auto create = as_entry<PFNWGLCREATECONTEXTATTRIBSARBPROC>(lookup("wglCreateContextAttribsARB"));
    if (create == nullptr) {
        fail("no wglCreateContextAttribsARB");
        return;
    }
    HGLRC made = nullptr;
    for (const auto& [major, minor] : gl_core_versions) {
        const int attributes[] = {WGL_CONTEXT_MAJOR_VERSION_ARB,
                                  major,
                                  WGL_CONTEXT_MINOR_VERSION_ARB,
                                  minor,
                                  WGL_CONTEXT_PROFILE_MASK_ARB,
                                  WGL_CONTEXT_CORE_PROFILE_BIT_ARB,
                                  0};
        made = create(dc, nullptr, attributes);
        if (made != nullptr) {
            break;
        }
    }
    if (made == nullptr) {
        fail("no version from 4.6 down to 3.2 accepted");
        return;
    }
    context_owner context{wglMakeCurrent_, wglDeleteContext_, dc, made};
    context.current = wglMakeCurrent_(dc, made) != FALSE;
    if (!context.current) {
        fail("wglMakeCurrent failed");
        return;
    }
    record.core.made = true;
    reader().read_core(record.core);
}

gl_context_reader gl_capture::reader() const {
    return gl_context_reader([this](const char* name) { return lookup(name); }, gluGetString_);
}

void gl_capture::read_context(HMONITOR monitor) {
    const auto [wgl_found, wgl] = wgl_text();
    gl_record record;
    record.monitor = monitor;
    reader().read_first(record, wgl_found ? wgl : std::string());
    adapters_.push_back(std::move(record));
}

}  // namespace

gl_probe::gl_probe(std::span<const dx_adapter> direct3d, const gl_platform& platform,
                   bool with_core_context) {
    gl_capture session(platform, adapters, reasons, with_core_context);
    session.load();
    const std::lock_guard<std::mutex> one_at_a_time(display_device_lock());
    session.capture(direct3d);
}

gl_record gl_probe::adapter(int i) const {
    return adapters.at(static_cast<size_t>(i));
}
