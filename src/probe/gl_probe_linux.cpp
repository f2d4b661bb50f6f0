// The OpenGL probe on Linux, through EGL: the surfaceless platform where
// Mesa offers it (no display server needed), else the default display with
// a one-pixel pbuffer.
#include "probe/gl_probe_linux.h"

#include <dlfcn.h>

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <fstream>
#include <string>
#include <vector>

#include "probe/gl_reader.h"

namespace {

// The EGL entry points the probe calls, from libEGL.so.1.
struct egl {
    PFNEGLGETPROCADDRESSPROC get_proc_address = nullptr;
    PFNEGLGETDISPLAYPROC get_display = nullptr;
    PFNEGLINITIALIZEPROC initialize = nullptr;
    PFNEGLTERMINATEPROC terminate = nullptr;
    PFNEGLQUERYSTRINGPROC query_string = nullptr;
    PFNEGLBINDAPIPROC bind_api = nullptr;
    PFNEGLCHOOSECONFIGPROC choose_config = nullptr;
    PFNEGLCREATECONTEXTPROC create_context = nullptr;
    PFNEGLDESTROYCONTEXTPROC destroy_context = nullptr;
    PFNEGLCREATEPBUFFERSURFACEPROC create_pbuffer = nullptr;
    PFNEGLDESTROYSURFACEPROC destroy_surface = nullptr;
    PFNEGLMAKECURRENTPROC make_current = nullptr;
    void* library = nullptr;
};

template <typename T>
bool find(void* library, T& entry, const char* name) {
    entry = reinterpret_cast<T>(dlsym(library, name));
    return entry != nullptr;
}

// Where a name is an extension of a space-separated list.
bool lists(const char* text, const char* name) {
    return text != nullptr && has_extension_word(text, name);
}

reason egl_reason(const std::string& call, const std::string& sentence) {
    return {"OpenGL", -1, call, sentence, {}};
}

// The display's DRM device node, where EGL_EXT_device_query says it.
std::string drm_node_of(const egl& e, EGLDisplay display) {
    const char* client = e.query_string(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!lists(client, "EGL_EXT_device_query")) {
        return {};
    }
    const auto query_display =
        reinterpret_cast<PFNEGLQUERYDISPLAYATTRIBEXTPROC>(e.get_proc_address("eglQueryDisplayAttribEXT"));
    const auto query_device =
        reinterpret_cast<PFNEGLQUERYDEVICESTRINGEXTPROC>(e.get_proc_address("eglQueryDeviceStringEXT"));
    EGLAttrib device = 0;
    if (query_display == nullptr || query_device == nullptr ||
        query_display(display, EGL_DEVICE_EXT, &device) != EGL_TRUE || device == 0) {
        return {};
    }
    const auto handle = reinterpret_cast<EGLDeviceEXT>(device);
    const char* extensions = query_device(handle, EGL_EXTENSIONS);
    if (lists(extensions, "EGL_MESA_device_software")) {
        return {};  // a software renderer: no GPU
    }
    if (lists(extensions, "EGL_EXT_device_drm_render_node")) {
        if (const char* node = query_device(handle, 0x3377 /* EGL_DRM_RENDER_NODE_FILE_EXT */)) {
            return node;
        }
    }
    if (lists(extensions, "EGL_EXT_device_drm")) {
        if (const char* node = query_device(handle, EGL_DRM_DEVICE_FILE_EXT)) {
            return node;
        }
    }
    return {};
}

// A context made current on the display, released in reverse order also
// when reading it raises.
struct current_context {
    const egl& e;
    EGLDisplay display;
    EGLContext context;
    EGLSurface surface;
    bool current = false;
    ~current_context() {
        if (current) {
            e.make_current(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        }
        if (context != EGL_NO_CONTEXT) {
            e.destroy_context(display, context);
        }
    }
};

}  // namespace

std::pair<uint32_t, uint32_t> drm_pci_ids(const std::string& node, const std::string& root) {
    const std::string name = node.substr(node.rfind('/') + 1);
    const auto read_hex = [&](const char* field) -> uint32_t {
        std::ifstream in(root + "/" + name + "/device/" + field);
        std::string text;
        if (!(in >> text)) {
            return 0;
        }
        try {
            return static_cast<uint32_t>(std::stoul(text, nullptr, 16));
        } catch (const std::exception&) {
            return 0;
        }
    };
    return {read_hex("vendor"), read_hex("device")};
}

gl_records read_egl_opengl(bool with_core_context) {
    gl_records out;
    egl e;
    e.library = dlopen("libEGL.so.1", RTLD_NOW | RTLD_LOCAL);
    if (e.library == nullptr || !find(e.library, e.get_proc_address, "eglGetProcAddress") ||
        !find(e.library, e.get_display, "eglGetDisplay") || !find(e.library, e.initialize, "eglInitialize") ||
        !find(e.library, e.terminate, "eglTerminate") || !find(e.library, e.query_string, "eglQueryString") ||
        !find(e.library, e.bind_api, "eglBindAPI") || !find(e.library, e.choose_config, "eglChooseConfig") ||
        !find(e.library, e.create_context, "eglCreateContext") ||
        !find(e.library, e.destroy_context, "eglDestroyContext") ||
        !find(e.library, e.create_pbuffer, "eglCreatePbufferSurface") ||
        !find(e.library, e.destroy_surface, "eglDestroySurface") ||
        !find(e.library, e.make_current, "eglMakeCurrent")) {
        out.reasons.push_back(
            egl_reason("eglGetProcAddress", "libEGL.so.1 or one of its functions is missing"));
        return out;
    }
    // Surfaceless where Mesa offers it: no display server is needed.
    EGLDisplay display = EGL_NO_DISPLAY;
    const char* client = e.query_string(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (lists(client, "EGL_MESA_platform_surfaceless")) {
        if (const auto platform_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
                e.get_proc_address("eglGetPlatformDisplayEXT"))) {
            display = platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        }
    }
    if (display == EGL_NO_DISPLAY) {
        display = e.get_display(EGL_DEFAULT_DISPLAY);
    }
    EGLint major = 0;
    EGLint minor = 0;
    if (display == EGL_NO_DISPLAY || e.initialize(display, &major, &minor) != EGL_TRUE) {
        out.reasons.push_back(egl_reason("eglInitialize", "no EGL display could be initialized"));
        return out;
    }
    struct terminated {
        const egl& e;
        EGLDisplay display;
        ~terminated() { e.terminate(display); }
    } terminate{e, display};

    gl_record record;
    record.window_system = "EGL";
    const char* vendor = e.query_string(display, EGL_VENDOR);
    record.window_system_version = std::to_string(major) + "." + std::to_string(minor) +
                                   (vendor != nullptr ? std::string(" (") + vendor + ")" : std::string());
    const char* extensions = e.query_string(display, EGL_EXTENSIONS);
    const std::string egl_extensions = extensions != nullptr ? extensions : "";
    const std::string node = drm_node_of(e, display);
    if (!node.empty()) {
        std::tie(record.pci_vendor_id, record.pci_device_id) = drm_pci_ids(node);
    }
    if (e.bind_api(EGL_OPENGL_API) != EGL_TRUE) {
        out.reasons.push_back(egl_reason("eglBindAPI", "the EGL display offers no desktop OpenGL"));
        return out;
    }
    const EGLint wanted[] = {EGL_SURFACE_TYPE,
                             EGL_PBUFFER_BIT,
                             EGL_RENDERABLE_TYPE,
                             EGL_OPENGL_BIT,
                             EGL_RED_SIZE,
                             8,
                             EGL_GREEN_SIZE,
                             8,
                             EGL_BLUE_SIZE,
                             8,
                             EGL_DEPTH_SIZE,
                             16,
                             EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    if (e.choose_config(display, wanted, &config, 1, &configs) != EGL_TRUE || configs < 1) {
        out.reasons.push_back(egl_reason("eglChooseConfig", "no EGL configuration renders desktop OpenGL"));
        return out;
    }
    // Without EGL_KHR_surfaceless_context a context needs a surface: one pixel.
    EGLSurface surface = EGL_NO_SURFACE;
    if (!lists(extensions, "EGL_KHR_surfaceless_context")) {
        const EGLint size[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
        surface = e.create_pbuffer(display, config, size);
        if (surface == EGL_NO_SURFACE) {
            out.reasons.push_back(egl_reason("eglCreatePbufferSurface", "no pbuffer surface could be made"));
            return out;
        }
    }
    struct surface_owner {
        const egl& e;
        EGLDisplay display;
        EGLSurface surface;
        ~surface_owner() {
            if (surface != EGL_NO_SURFACE) {
                e.destroy_surface(display, surface);
            }
        }
    } owned_surface{e, display, surface};

    // GL's entry points through EGL, else the library's exports; GLU's own.
    static void* const opengl = dlopen("libOpenGL.so.0", RTLD_NOW | RTLD_LOCAL);
    static void* const glu = dlopen("libGLU.so.1", RTLD_NOW | RTLD_LOCAL);
    const gl_context_reader reader(
        [&e](const char* name) -> void* {
            if (void* entry = reinterpret_cast<void*>(e.get_proc_address(name))) {
                return entry;
            }
            return opengl != nullptr ? dlsym(opengl, name) : nullptr;
        },
        glu != nullptr ? dlsym(glu, "gluGetString") : nullptr);

    try {
        current_context first{e, display, e.create_context(display, config, EGL_NO_CONTEXT, nullptr),
                              surface};
        fail_if(first.context == EGL_NO_CONTEXT, "no OpenGL context could be made", "eglCreateContext");
        first.current = e.make_current(display, surface, surface, first.context) == EGL_TRUE;
        fail_if(!first.current, "eglMakeCurrent failed", "eglMakeCurrent");
        reader.read_first(record, egl_extensions);
    } catch (const failure& error) {
        reason why = error.why();
        why.part = "OpenGL";
        out.reasons.push_back(std::move(why));
        return out;
    }
    if (with_core_context) {
        EGLContext made = EGL_NO_CONTEXT;
        if (major > 1 || minor >= 5 || lists(extensions, "EGL_KHR_create_context")) {
            for (const auto& [want_major, want_minor] : gl_core_versions) {
                const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                             want_major,
                                             EGL_CONTEXT_MINOR_VERSION,
                                             want_minor,
                                             EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                             EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                             EGL_NONE};
                made = e.create_context(display, config, EGL_NO_CONTEXT, attributes);
                if (made != EGL_NO_CONTEXT) {
                    break;
                }
            }
        }
        current_context core{e, display, made, surface};
        if (made == EGL_NO_CONTEXT) {
            out.reasons.push_back(egl_reason(
                "eglCreateContext", "no core-profile context (no version from 4.6 down to 3.2 accepted)"));
        } else if (!(core.current = e.make_current(display, surface, surface, made) == EGL_TRUE)) {
            out.reasons.push_back(
                egl_reason("eglMakeCurrent", "no core-profile context (eglMakeCurrent failed)"));
        } else {
            record.core.made = true;
            try {
                reader.read_core(record.core);
            } catch (const failure& error) {
                reason why = error.why();
                why.part = "OpenGL";
                out.reasons.push_back(std::move(why));
            }
        }
    }
    out.records.push_back(std::move(record));
    return out;
}
