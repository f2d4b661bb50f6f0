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

namespace {

using wgl_get_proc_address_fn = PROC(WINAPI*)(LPCSTR);
using wgl_create_context_fn = HGLRC(WINAPI*)(HDC);
using wgl_make_current_fn = BOOL(WINAPI*)(HDC, HGLRC);
using wgl_delete_context_fn = BOOL(WINAPI*)(HGLRC);
using wgl_get_current_dc_fn = HDC(WINAPI*)();
using wgl_extensions_ext_fn = const char*(WINAPI*)();
using wgl_extensions_arb_fn = const char*(WINAPI*)(HDC);
using gl_get_string_fn = const GLubyte*(APIENTRY*)(GLenum);
using gl_get_booleanv_fn = void(APIENTRY*)(GLenum, GLboolean*);
using gl_get_integerv_fn = void(APIENTRY*)(GLenum, GLint*);
using gl_get_floatv_fn = void(APIENTRY*)(GLenum, GLfloat*);
using gl_get_error_fn = GLenum(APIENTRY*)();
using glu_get_string_fn = const GLubyte*(APIENTRY*)(GLenum);

template <typename T>
T as_entry(void* address) {
    return reinterpret_cast<T>(address);
}

// The implementation's strings are in the ANSI code page, as for every
// program of the system; UTF-8 inside.
std::string gl_string_text(const GLubyte* text) {
    return text != nullptr ? utf8_of_ansi(reinterpret_cast<const char*>(text)) : std::string();
}

// The part of a version text before its first blank.
std::string version_part(std::string text) {
    std::string head;
    split_at(text, ' ', head);
    return head;
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

// The queries write into zeroed buffers with room to spare, so an unknown
// enumerant leaves zeros and no implementation writes past the end.
constexpr size_t query_room = 16;

// The versions a core-profile context is asked for, the highest first.
constexpr std::pair<int, int> core_versions[] = {{4, 6}, {4, 5}, {4, 4}, {4, 3}, {4, 2},
                                                 {4, 1}, {4, 0}, {3, 3}, {3, 2}};

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
    void make_core_context(HDC dc, gl_record& record, int adapter, const std::string& monitor);
    void read_core_context(gl_core_context& core) const;
    // The WGL extension string, and whether an entry point gave one.
    std::pair<bool, std::string> wgl_text() const;
    void load_queries();

    template <size_t N>
    std::array<GLint, N> integers(GLenum name) const;
    template <size_t N>
    std::array<GLfloat, N> floats(GLenum name) const;
    bool boolean(GLenum name) const;

    // Forgets the errors of earlier calls, so that the next one's is seen.
    void clear_errors() const;
    bool rejected() const;

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
    gl_get_string_fn glGetString_ = nullptr;
    glu_get_string_fn gluGetString_ = nullptr;
    bool queries_loaded_ = false;
    gl_get_booleanv_fn glGetBooleanv_ = nullptr;
    gl_get_integerv_fn glGetIntegerv_ = nullptr;
    gl_get_floatv_fn glGetFloatv_ = nullptr;
    gl_get_error_fn glGetError_ = nullptr;  // optional: without it every query counts as answered
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
    glGetString_ = as_entry<gl_get_string_fn>(lookup("glGetString"));
    wglCreateContext_ = as_entry<wgl_create_context_fn>(lookup("wglCreateContext"));
    wglMakeCurrent_ = as_entry<wgl_make_current_fn>(lookup("wglMakeCurrent"));
    wglDeleteContext_ = as_entry<wgl_delete_context_fn>(lookup("wglDeleteContext"));
    wglGetCurrentDC_ = as_entry<wgl_get_current_dc_fn>(lookup("wglGetCurrentDC"));
    wglGetExtensionsStringEXT_ = as_entry<wgl_extensions_ext_fn>(lookup("wglGetExtensionsStringEXT"));
    if (glu_ != nullptr) {
        gluGetString_ = as_entry<glu_get_string_fn>(platform_.get_proc_address(glu_, "gluGetString"));
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
    for (const auto& [major, minor] : core_versions) {
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
    read_core_context(record.core);
}

// Every limit of the table marked for the core profile that the context's
// version or extensions have; the extensions first, as they gate the rest.
void gl_capture::read_core_context(gl_core_context& core) const {
    // Entry points beyond OpenGL 1.1 belong to the context they were found in.
    const auto get_stringi = as_entry<PFNGLGETSTRINGIPROC>(lookup("glGetStringi"));
    const auto get_integer64 = as_entry<PFNGLGETINTEGER64VPROC>(lookup("glGetInteger64v"));
    const auto get_indexed = as_entry<PFNGLGETINTEGERI_VPROC>(lookup("glGetIntegeri_v"));

    core.version_string = gl_string_text(glGetString_(GL_VERSION));
    core.shading_language_version = gl_string_text(glGetString_(GL_SHADING_LANGUAGE_VERSION));
    clear_errors();
    const GLint listed = std::clamp(integers<1>(GL_NUM_EXTENSIONS)[0], 0, 100000);
    for (GLint i = 0; get_stringi != nullptr && i < listed; ++i) {
        if (const GLubyte* name = get_stringi(GL_EXTENSIONS, static_cast<GLuint>(i)); name != nullptr) {
            core.extensions.push_back(gl_string_text(name));
        }
    }
    const int version = integers<1>(GL_MAJOR_VERSION)[0] * 10 + integers<1>(GL_MINOR_VERSION)[0];
    const auto has = [&](const char* extension) {
        return extension != nullptr &&
               std::find(core.extensions.begin(), core.extensions.end(), extension) != core.extensions.end();
    };

    core.limits.assign(std::size(gl_limits), gl_core_value{});
    for (size_t i = 0; i < std::size(gl_limits); ++i) {
        const gl_limit& limit = gl_limits[i];
        gl_core_value& value = core.limits[i];
        if (!limit.core || !((limit.since != 0 && version >= limit.since) || has(limit.extension))) {
            continue;
        }
        clear_errors();
        bool asked = true;
        switch (limit.core_kind) {
            case gl_limit_kind::boolean:
                value.integers[0] = boolean(limit.enumerant) ? 1 : 0;
                break;
            case gl_limit_kind::integer:
            case gl_limit_kind::integer_pair:
                std::ranges::copy(integers<2>(limit.enumerant), value.integers.begin());
                break;
            case gl_limit_kind::real:
            case gl_limit_kind::real_pair:
                value.reals = floats<2>(limit.enumerant);
                break;
            case gl_limit_kind::integer64: {
                GLint64 buffer[query_room] = {};
                if ((asked = get_integer64 != nullptr)) {
                    get_integer64(limit.enumerant, buffer);
                }
                value.integers[0] = buffer[0];
                break;
            }
            case gl_limit_kind::integer_triple:
                for (GLuint axis = 0; axis < 3 && (asked = get_indexed != nullptr); ++axis) {
                    GLint buffer[query_room] = {};
                    get_indexed(limit.enumerant, axis, buffer);
                    value.integers[axis] = buffer[0];
                }
                break;
        }
        value.answer = asked && !rejected() ? gl_answer::answered : gl_answer::not_available;
    }
}

void gl_capture::load_queries() {
    if (queries_loaded_) {
        return;
    }
    glGetBooleanv_ = required(as_entry<gl_get_booleanv_fn>(lookup("glGetBooleanv")), "glGetBooleanv");
    glGetIntegerv_ = required(as_entry<gl_get_integerv_fn>(lookup("glGetIntegerv")), "glGetIntegerv");
    glGetFloatv_ = required(as_entry<gl_get_floatv_fn>(lookup("glGetFloatv")), "glGetFloatv");
    glGetError_ = as_entry<gl_get_error_fn>(lookup("glGetError"));
    queries_loaded_ = true;
}

void gl_capture::clear_errors() const {
    // A lost context may answer an error for ever: a few rounds at most.
    for (int i = 0; glGetError_ != nullptr && i < 8 && glGetError_() != GL_NO_ERROR; ++i) {
    }
}

bool gl_capture::rejected() const {
    return glGetError_ != nullptr && glGetError_() != GL_NO_ERROR;
}

template <size_t N>
std::array<GLint, N> gl_capture::integers(GLenum name) const {
    static_assert(N <= query_room);
    GLint buffer[query_room] = {};
    glGetIntegerv_(name, buffer);
    std::array<GLint, N> values{};
    std::copy_n(buffer, N, values.begin());
    return values;
}

template <size_t N>
std::array<GLfloat, N> gl_capture::floats(GLenum name) const {
    static_assert(N <= query_room);
    GLfloat buffer[query_room] = {};
    glGetFloatv_(name, buffer);
    std::array<GLfloat, N> values{};
    std::copy_n(buffer, N, values.begin());
    return values;
}

bool gl_capture::boolean(GLenum name) const {
    GLboolean buffer[query_room] = {};
    glGetBooleanv_(name, buffer);
    return buffer[0] != GL_FALSE;
}

void gl_capture::read_context(HMONITOR monitor) {
    required(glGetString_, "glGetString");
    load_queries();

    gl_record& record = adapters_.emplace_back();

    const auto [wgl_found, wgl] = wgl_text();
    record.wgl_extensions = wgl;
    const std::string checked = gl_string_text(glGetString_(GL_EXTENSIONS)) + (wgl_found ? " " + wgl : "");
    const auto known = known_extensions();
    for (size_t i = 0; i < known.size(); ++i) {
        record.extension_flags[i] = has_extension_word(checked, known[i].name);
    }

    record.monitor = monitor;
    record.renderer = gl_string_text(glGetString_(GL_RENDERER));
    record.vendor = gl_string_text(glGetString_(GL_VENDOR));
    record.version_string = gl_string_text(glGetString_(GL_VERSION));
    record.extensions = gl_string_text(glGetString_(GL_EXTENSIONS));
    record.version = version_part(record.version_string);
    if (gluGetString_ != nullptr) {
        record.glu_version_string = gl_string_text(gluGetString_(GLU_VERSION));
        record.glu_extensions = gl_string_text(gluGetString_(GLU_EXTENSIONS));
    }
    record.glu_version = version_part(record.glu_version_string);
    record.shading_language_version = gl_string_text(glGetString_(GL_SHADING_LANGUAGE_VERSION));

    for (const gl_limit& limit : gl_limits) {
        if (!limit.legacy()) {
            continue;
        }
        clear_errors();
        switch (limit.kind) {
            case gl_limit_kind::boolean:
                record.*limit.boolean = boolean(limit.enumerant);
                break;
            case gl_limit_kind::integer:
                record.*limit.integer = integers<1>(limit.enumerant)[0];
                break;
            case gl_limit_kind::integer_pair:
                record.*limit.integer_pair = integers<2>(limit.enumerant);
                break;
            case gl_limit_kind::real:
                record.*limit.real = floats<1>(limit.enumerant)[0];
                break;
            case gl_limit_kind::real_pair:
                record.*limit.real_pair = floats<2>(limit.enumerant);
                break;
            case gl_limit_kind::integer64:
            case gl_limit_kind::integer_triple:
                break;  // the core-profile context's alone
        }
        if (rejected()) {
            record.unanswered.push_back(limit.enumerant);
        }
    }

    // A negative count lists nothing; the buffer always has room for the
    // whole reported count.
    const int32_t formats = std::max<int32_t>(record.num_compressed_texture_formats, 0);
    record.num_compressed_texture_formats = formats;
    if (formats > 0) {
        std::vector<GLint> buffer(static_cast<size_t>(formats) + query_room, 0);
        glGetIntegerv_(GL_COMPRESSED_TEXTURE_FORMATS, buffer.data());
        record.compressed_texture_formats.assign(buffer.begin(), buffer.begin() + formats);
    }
}

}  // namespace

bool has_extension_word(const std::string& text, const char* name) {
    const std::string_view wanted(name);
    if (wanted.empty()) {
        return false;
    }
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find_first_of(" \t\r\n", start), text.size());
        if (std::string_view(text).substr(start, end - start) == wanted) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

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
