// The OpenGL probe on Linux, through EGL: the surfaceless platform where
// Mesa offers it (no display server needed), else the default display with
// a one-pixel pbuffer; through GLX on the X display where EGL makes no
// context (a driver without EGL, a system before it).
#include "probe/gl_probe_linux.h"

#include <dlfcn.h>

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/glx.h>
#include <GL/glxext.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "probe/gl_reader.h"
#include "probe/x11_library.h"

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

reason gl_reason(const std::string& call, const std::string& sentence) {
    return {"OpenGL", -1, call, sentence, {}};
}

// "1.5 (Mesa Project)": a window system's version, and its vendor where it says one.
std::string version_and_vendor(int major, int minor, const char* vendor) {
    return std::to_string(major) + "." + std::to_string(minor) +
           (vendor != nullptr ? std::string(" (") + vendor + ")" : std::string());
}

// A reader of contexts whose entry points the window system's lookup finds,
// else the OpenGL library exports; GLU's own.
gl_context_reader linux_reader(std::function<void*(const char*)> window_system_lookup) {
    static void* const opengl = dlopen("libOpenGL.so.0", RTLD_NOW | RTLD_LOCAL);
    static void* const glu = dlopen("libGLU.so.1", RTLD_NOW | RTLD_LOCAL);
    return gl_context_reader(
        [lookup = std::move(window_system_lookup)](const char* name) -> void* {
            if (void* entry = lookup(name)) {
                return entry;
            }
            return opengl != nullptr ? dlsym(opengl, name) : nullptr;
        },
        glu != nullptr ? dlsym(glu, "gluGetString") : nullptr);
}

// Runs read; where it fails, its reason is the records' (as OpenGL's) and
// the answer false.
template <typename work>
bool read_or_say(gl_records& out, work read) {
    try {
        read();
        return true;
    } catch (const failure& error) {
        reason why = error.why();
        why.part = "OpenGL";
        out.reasons.push_back(std::move(why));
        return false;
    }
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
            gl_reason("eglGetProcAddress", "libEGL.so.1 or one of its functions is missing"));
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
        out.reasons.push_back(gl_reason("eglInitialize", "no EGL display could be initialized"));
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
    record.window_system_version = version_and_vendor(major, minor, vendor);
    const char* extensions = e.query_string(display, EGL_EXTENSIONS);
    const std::string egl_extensions = extensions != nullptr ? extensions : "";
    const std::string node = drm_node_of(e, display);
    if (!node.empty()) {
        std::tie(record.pci_vendor_id, record.pci_device_id) = drm_pci_ids(node);
    }
    if (e.bind_api(EGL_OPENGL_API) != EGL_TRUE) {
        out.reasons.push_back(gl_reason("eglBindAPI", "the EGL display offers no desktop OpenGL"));
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
        out.reasons.push_back(gl_reason("eglChooseConfig", "no EGL configuration renders desktop OpenGL"));
        return out;
    }
    // Without EGL_KHR_surfaceless_context a context needs a surface: one pixel.
    EGLSurface surface = EGL_NO_SURFACE;
    if (!lists(extensions, "EGL_KHR_surfaceless_context")) {
        const EGLint size[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
        surface = e.create_pbuffer(display, config, size);
        if (surface == EGL_NO_SURFACE) {
            out.reasons.push_back(gl_reason("eglCreatePbufferSurface", "no pbuffer surface could be made"));
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

    const gl_context_reader reader =
        linux_reader([&e](const char* name) { return reinterpret_cast<void*>(e.get_proc_address(name)); });
    const bool first_read = read_or_say(out, [&] {
        current_context first{e, display, e.create_context(display, config, EGL_NO_CONTEXT, nullptr),
                              surface};
        fail_if(first.context == EGL_NO_CONTEXT, "no OpenGL context could be made", "eglCreateContext");
        first.current = e.make_current(display, surface, surface, first.context) == EGL_TRUE;
        fail_if(!first.current, "eglMakeCurrent failed", "eglMakeCurrent");
        reader.read_first(record, egl_extensions);
    });
    if (!first_read) {
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
            out.reasons.push_back(gl_reason(
                "eglCreateContext", "no core-profile context (no version from 4.6 down to 3.2 accepted)"));
        } else if (!(core.current = e.make_current(display, surface, surface, made) == EGL_TRUE)) {
            out.reasons.push_back(
                gl_reason("eglMakeCurrent", "no core-profile context (eglMakeCurrent failed)"));
        } else {
            record.core.made = true;
            read_or_say(out, [&] { reader.read_core(record.core); });
        }
    }
    out.records.push_back(std::move(record));
    return out;
}

namespace {

// The GLX entry points the probe calls, from libGLX.so.0 (or libGL.so.1).
struct glx {
    PFNGLXGETPROCADDRESSPROC get_proc_address = nullptr;
    decltype(&glXQueryVersion) query_version = nullptr;
    decltype(&glXQueryExtensionsString) query_extensions = nullptr;
    decltype(&glXGetClientString) client_string = nullptr;
    decltype(&glXChooseFBConfig) choose_config = nullptr;
    decltype(&glXCreateNewContext) create_context = nullptr;
    decltype(&glXDestroyContext) destroy_context = nullptr;
    decltype(&glXCreatePbuffer) create_pbuffer = nullptr;
    decltype(&glXDestroyPbuffer) destroy_pbuffer = nullptr;
    decltype(&glXMakeContextCurrent) make_current = nullptr;

    bool load() {
        void* library = dlopen("libGLX.so.0", RTLD_NOW | RTLD_LOCAL);
        library = library != nullptr ? library : dlopen("libGL.so.1", RTLD_NOW | RTLD_LOCAL);
        return library != nullptr && find(library, get_proc_address, "glXGetProcAddressARB") &&
               find(library, query_version, "glXQueryVersion") &&
               find(library, query_extensions, "glXQueryExtensionsString") &&
               find(library, client_string, "glXGetClientString") &&
               find(library, choose_config, "glXChooseFBConfig") &&
               find(library, create_context, "glXCreateNewContext") &&
               find(library, destroy_context, "glXDestroyContext") &&
               find(library, create_pbuffer, "glXCreatePbuffer") &&
               find(library, destroy_pbuffer, "glXDestroyPbuffer") &&
               find(library, make_current, "glXMakeContextCurrent");
    }
    void* entry(const char* name) const {
        return reinterpret_cast<void*>(get_proc_address(reinterpret_cast<const GLubyte*>(name)));
    }
};

// A context GLX refuses is an X error, which Xlib's own handler answers by
// ending the program: while one is asked for, errors are only counted.
int x_errors = 0;
int count_x_error(Display*, XErrorEvent*) {
    ++x_errors;
    return 0;
}

// The display's GLX objects, released in reverse order also when reading
// raises; X errors counted meanwhile.
struct glx_objects {
    const x11_library& x;
    const glx& g;
    Display* display = nullptr;
    GLXFBConfig* configs = nullptr;
    GLXPbuffer pbuffer = 0;
    GLXContext context = nullptr;
    XErrorHandler earlier = x.set_error_handler(count_x_error);
    ~glx_objects() {
        if (context != nullptr) {
            g.make_current(display, 0, 0, nullptr);
            g.destroy_context(display, context);
        }
        if (pbuffer != 0) {
            g.destroy_pbuffer(display, pbuffer);
        }
        if (configs != nullptr) {
            x.free(configs);
        }
        if (display != nullptr) {
            x.close_display(display);
        }
        x.set_error_handler(earlier);
    }
};

}  // namespace

gl_records read_glx_opengl(bool with_core_context) {
    gl_records out;
    const x11_library& x = x11_library::loaded();
    glx g;
    if (x.open_display == nullptr || !g.load()) {
        out.reasons.push_back(gl_reason("glXGetProcAddressARB",
                                        "libX11.so.6, libGLX.so.0 or one of their functions is missing"));
        return out;
    }
    glx_objects made{x, g};
    made.display = x.open_display(nullptr);
    if (made.display == nullptr) {
        out.reasons.push_back(gl_reason("XOpenDisplay", "no X display to make a GLX context on"));
        return out;
    }
    Display* display = made.display;
    int major = 0;
    int minor = 0;
    if (g.query_version(display, &major, &minor) != True || major < 1 || (major == 1 && minor < 3)) {
        out.reasons.push_back(gl_reason("glXQueryVersion", "the X display has no GLX 1.3"));
        return out;
    }
    const int screen = x.default_screen(display);
    gl_record record;
    record.window_system = "GLX";
    const char* vendor = g.client_string(display, GLX_VENDOR);
    record.window_system_version = version_and_vendor(major, minor, vendor);
    const char* listed = g.query_extensions(display, screen);
    const std::string extensions = listed != nullptr ? listed : "";
    const int wanted[] = {GLX_DRAWABLE_TYPE,
                          GLX_PBUFFER_BIT,
                          GLX_RENDER_TYPE,
                          GLX_RGBA_BIT,
                          GLX_RED_SIZE,
                          8,
                          GLX_GREEN_SIZE,
                          8,
                          GLX_BLUE_SIZE,
                          8,
                          GLX_DEPTH_SIZE,
                          16,
                          None};
    int configs = 0;
    made.configs = g.choose_config(display, screen, wanted, &configs);
    if (made.configs == nullptr || configs < 1) {
        out.reasons.push_back(gl_reason("glXChooseFBConfig", "no GLX configuration renders to a pbuffer"));
        return out;
    }
    const GLXFBConfig config = made.configs[0];
    const int size[] = {GLX_PBUFFER_WIDTH, 1, GLX_PBUFFER_HEIGHT, 1, None};
    made.pbuffer = g.create_pbuffer(display, config, size);
    if (made.pbuffer == 0) {
        out.reasons.push_back(gl_reason("glXCreatePbuffer", "no pbuffer could be made"));
        return out;
    }
    const gl_context_reader reader = linux_reader([&g](const char* name) { return g.entry(name); });
    const auto make_current = [&](GLXContext context) {
        if (made.context != nullptr) {
            g.make_current(display, 0, 0, nullptr);
            g.destroy_context(display, made.context);
        }
        made.context = context;
        return context != nullptr && g.make_current(display, made.pbuffer, made.pbuffer, context) == True;
    };
    const bool first_read = read_or_say(out, [&] {
        fail_if(!make_current(g.create_context(display, config, GLX_RGBA_TYPE, nullptr, True)),
                "no OpenGL context could be made current", "glXCreateNewContext");
        reader.read_first(record, extensions);
        // The renderer's PCI IDs, where Mesa's query says them (a software
        // renderer has none: all ones).
        if (has_extension_word(extensions, "GLX_MESA_query_renderer")) {
            const auto query = reinterpret_cast<PFNGLXQUERYCURRENTRENDERERINTEGERMESAPROC>(
                g.entry("glXQueryCurrentRendererIntegerMESA"));
            unsigned int vendor_id = 0;
            unsigned int device_id = 0;
            if (query != nullptr && query(GLX_RENDERER_VENDOR_ID_MESA, &vendor_id) == True &&
                query(GLX_RENDERER_DEVICE_ID_MESA, &device_id) == True && vendor_id != 0xFFFFFFFFu) {
                record.pci_vendor_id = vendor_id;
                record.pci_device_id = device_id;
            }
        }
    });
    if (!first_read) {
        return out;
    }
    if (with_core_context) {
        const auto create_attribs =
            reinterpret_cast<PFNGLXCREATECONTEXTATTRIBSARBPROC>(g.entry("glXCreateContextAttribsARB"));
        bool current = false;
        if (create_attribs != nullptr && has_extension_word(extensions, "GLX_ARB_create_context_profile")) {
            for (const auto& [want_major, want_minor] : gl_core_versions) {
                const int attributes[] = {GLX_CONTEXT_MAJOR_VERSION_ARB,
                                          want_major,
                                          GLX_CONTEXT_MINOR_VERSION_ARB,
                                          want_minor,
                                          GLX_CONTEXT_PROFILE_MASK_ARB,
                                          GLX_CONTEXT_CORE_PROFILE_BIT_ARB,
                                          None};
                x_errors = 0;
                GLXContext context = create_attribs(display, config, nullptr, True, attributes);
                x.sync(display, False);
                if (context != nullptr && x_errors == 0) {
                    current = make_current(context);
                    break;
                }
            }
        }
        if (!current) {
            out.reasons.push_back(
                gl_reason("glXCreateContextAttribsARB",
                          "no core-profile context (no version from 4.6 down to 3.2 accepted)"));
        } else {
            record.core.made = true;
            read_or_say(out, [&] { reader.read_core(record.core); });
        }
    }
    out.records.push_back(std::move(record));
    return out;
}

gl_records read_linux_opengl() {
    gl_records through_egl = read_egl_opengl();
    if (!through_egl.records.empty()) {
        return through_egl;
    }
    // EGL's reasons stay only where GLX has none to read either.
    gl_records through_glx = read_glx_opengl();
    if (through_glx.records.empty()) {
        through_glx.reasons.insert(through_glx.reasons.begin(), through_egl.reasons.begin(),
                                   through_egl.reasons.end());
    }
    return through_glx;
}
