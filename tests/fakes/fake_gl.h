// A fake OpenGL system behind the OpenGL probe's platform table: monitors,
// windows, device and rendering contexts, the OpenGL and GLU libraries with
// their entry points, and the answers of the gl queries.
#pragma once

#include <windows.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <GL/wglext.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "probe/gl_platform.h"

namespace fakes {

class gl_system {
public:
    // --- what the fake offers -------------------------------------------
    std::vector<gl_monitor> monitors;
    bool opengl_present = true;
    bool glu_present = true;
    std::set<std::string> missing_entries;  // names neither exported nor found by wglGetProcAddress
    bool ext_string_exported = false;       // wglGetExtensionsStringEXT found at load
    bool arb_string = true;                 // wglGetExtensionsStringARB, while a context is current
    bool fail_get_dc = false;
    bool fail_set_pixel_format = false;
    bool fail_create_context = false;
    bool fail_make_current = false;
    int contexts_before_failure = 0;  // the failure hits only after this many contexts

    std::map<GLenum, const char*> strings;  // a name missing here answers null
    std::string gl_extensions;
    std::string wgl_extensions;
    std::map<GLenum, const char*> glu_strings;
    std::map<GLenum, std::vector<GLint>> integers;  // unknown enumerants leave the buffer alone
    std::map<GLenum, std::vector<GLfloat>> floats;
    std::map<GLenum, std::vector<GLboolean>> booleans;
    // Integer and float enumerants missing above answer with the enumerant's
    // own value: {E, E + 0x10000} and {E + 0.25, E + 0.75}. Every limit then holds
    // a value of its own, and a value names the enumerant it came from.
    bool answer_from_enumerant = false;
    // The core profile: the highest version wglCreateContextAttribsARB makes
    // (major * 10 + minor; 0 makes none), what glGetStringi lists, and the
    // strings and indexed answers of a core-profile context.
    int core_version = 45;
    std::vector<std::string> core_extensions;
    std::map<GLenum, const char*> core_strings;
    std::map<GLenum, std::vector<GLint>> indexed;  // glGetIntegeri_v(name, i): element i
    std::set<GLenum> refusals;                     // enumerants every query refuses with GL_INVALID_ENUM

    // --- what the probe did ---------------------------------------------
    int windows_alive = 0;
    int dcs_alive = 0;
    int contexts_alive = 0;
    int contexts_created = 0;
    HGLRC current = nullptr;
    std::vector<RECT> window_bounds;
    std::vector<PIXELFORMATDESCRIPTOR> formats_set;
    int queries_without_context = 0;
    GLenum error = GL_NO_ERROR;  // what glGetError answers next
    int arb_string_calls = 0;
    std::vector<int> versions_asked;  // of wglCreateContextAttribsARB, as major * 10 + minor
    // Every lookup, context operation and query, in order: "export NAME",
    // "wglGetProcAddress NAME", "wglMakeCurrent HANDLE", "glGetIntegerv ENUM"...
    std::vector<std::string> calls;

    gl_system() {
        active = this;
        strings[GL_EXTENSIONS] = nullptr;
    }
    ~gl_system() { active = nullptr; }
    gl_system(const gl_system&) = delete;
    gl_system& operator=(const gl_system&) = delete;

    // The answers of a typical OpenGL 2.1 implementation.
    void typical() {
        strings[GL_RENDERER] = "Fake Renderer";
        strings[GL_VENDOR] = "Fake Vendor";
        strings[GL_VERSION] = "2.1.2 Fake 5.0";
        strings[GL_SHADING_LANGUAGE_VERSION] = "1.20";
        gl_extensions = "GL_ARB_multitexture GL_EXT_texture3D GL_ARB_shadow_ambient";
        strings[GL_EXTENSIONS] = gl_extensions.c_str();
        wgl_extensions =
            "WGL_ARB_pbuffer WGL_EXT_swap_control WGL_ARB_create_context WGL_ARB_create_context_profile";
        core_extensions = {"GL_ARB_compute_shader", "GL_KHR_debug", "GL_ARB_texture_multisample"};
        core_strings[GL_VERSION] = "4.5 (Core Profile) Fake 5.0";
        core_strings[GL_SHADING_LANGUAGE_VERSION] = "4.50";
        glu_strings[GLU_VERSION] = "1.2.2.0 Fake GLU";
        glu_strings[GLU_EXTENSIONS] = "GLU_EXT_object_space_tess";
        booleans[GL_DOUBLEBUFFER] = {GL_TRUE};
        booleans[GL_STEREO] = {GL_FALSE};
        integers[GL_MAX_LIGHTS] = {8};
        integers[GL_MAX_TEXTURE_SIZE] = {4096};
        integers[GL_MAX_VIEWPORT_DIMS] = {8192, 4096};
        integers[GL_MAX_VERTEX_ATTRIBS] = {16};
        integers[GL_MAX_VARYING_FLOATS] = {32};
        integers[GL_MAX_TEXTURE_LOD_BIAS] = {15};
        integers[GL_NUM_COMPRESSED_TEXTURE_FORMATS] = {3};
        integers[GL_COMPRESSED_TEXTURE_FORMATS] = {0x83F0, 0x86B0, 0x83F3};
        floats[GL_LINE_WIDTH_RANGE] = {0.5f, 10.0f};
        floats[GL_POINT_SIZE_RANGE] = {1.0f, 63.375f};
        floats[GL_LINE_WIDTH_GRANULARITY] = {0.125f};
        floats[GL_POINT_SIZE_GRANULARITY] = {0.25f};
        floats[GL_ALIASED_LINE_WIDTH_RANGE] = {1.0f, 7.0f};
        floats[GL_ALIASED_POINT_SIZE_RANGE] = {1.0f, 255.0f};
    }

    // The first breach of the platform's rules in calls, or "": a context
    // deleted while it is current, or an OpenGL32 export asked for without
    // asking wglGetProcAddress first.
    std::string call_order_fault() const {
        std::string current_context = "0";
        std::string last;
        for (const std::string& call : calls) {
            const std::string argument = call.substr(call.find(' ') + 1);
            if (call.starts_with("wglMakeCurrent ")) {
                current_context = argument;
            } else if (call.starts_with("wglDeleteContext ") && argument == current_context) {
                return call + " while it is current";
            } else if (call.starts_with("export ") && argument != "wglGetProcAddress" &&
                       argument != "gluGetString" && missing_entries.count("wglGetProcAddress") == 0 &&
                       last != "wglGetProcAddress " + argument) {
                return call + " before wglGetProcAddress " + argument;
            }
            last = call;
        }
        return "";
    }

    void add_monitor(uintptr_t handle, LONG left, LONG top) {
        monitors.push_back({reinterpret_cast<HMONITOR>(handle), left, top,
                            "\\\\.\\DISPLAY" + std::to_string(monitors.size() + 1)});
    }

    gl_platform platform() {
        gl_platform p;
        p.load_library = [this](const char* name) -> HMODULE {
            if (std::strcmp(name, "OpenGL32.dll") == 0 && opengl_present) {
                return opengl_module();
            }
            if (std::strcmp(name, "GLU32.dll") == 0 && glu_present) {
                return glu_module();
            }
            return nullptr;
        };
        p.get_proc_address = [this](HMODULE module, const char* name) { return exported(module, name); };
        p.monitors = [this] { return monitors; };
        p.create_window = [this](int left, int top, int width, int height) {
            ++windows_alive;
            window_bounds.push_back({left, top, left + width, top + height});
            return reinterpret_cast<HWND>(0x10000 + window_bounds.size());
        };
        p.destroy_window = [this](HWND) { --windows_alive; };
        p.get_dc = [this](HWND window) -> HDC {
            if (fail_get_dc && failing_now()) {
                return nullptr;
            }
            ++dcs_alive;
            return reinterpret_cast<HDC>(reinterpret_cast<uintptr_t>(window) + 0x10000);
        };
        p.release_dc = [this](HWND, HDC) { --dcs_alive; };
        p.choose_pixel_format = [](HDC, const PIXELFORMATDESCRIPTOR&) { return 7; };
        p.set_pixel_format = [this](HDC, int index, const PIXELFORMATDESCRIPTOR& format) {
            formats_set.push_back(format);
            return index == 7 && !(fail_set_pixel_format && failing_now());
        };
        return p;
    }

    static gl_system* active;

private:
    static HMODULE opengl_module() { return reinterpret_cast<HMODULE>(0x6A000000); }
    static HMODULE glu_module() { return reinterpret_cast<HMODULE>(0x6B000000); }

    bool failing_now() const { return contexts_created >= contexts_before_failure; }

    void* exported(HMODULE module, const char* name) {
        const std::string wanted(name);
        calls.push_back("export " + wanted);
        if (missing_entries.count(wanted) != 0) {
            return nullptr;
        }
        if (module == glu_module()) {
            return wanted == "gluGetString" ? entry(&glu_get_string) : nullptr;
        }
        if (module != opengl_module()) {
            return nullptr;
        }
        static const std::map<std::string, void*> exports = {
            {"wglGetProcAddress", entry(&wgl_get_proc_address)},
            {"wglCreateContext", entry(&wgl_create_context)},
            {"wglMakeCurrent", entry(&wgl_make_current)},
            {"wglDeleteContext", entry(&wgl_delete_context)},
            {"wglGetCurrentDC", entry(&wgl_get_current_dc)},
            {"glGetString", entry(&gl_get_string)},
            {"glGetBooleanv", entry(&gl_get_booleanv)},
            {"glGetIntegerv", entry(&gl_get_integerv)},
            {"glGetFloatv", entry(&gl_get_floatv)},
            {"glGetError", entry(&gl_get_error)},
        };
        if (wanted == "wglGetExtensionsStringEXT" && ext_string_exported) {
            return entry(&wgl_get_extensions_string_ext);
        }
        const auto found = exports.find(wanted);
        return found != exports.end() ? found->second : nullptr;
    }

    template <typename F>
    static void* entry(F function) {
        return reinterpret_cast<void*>(function);
    }

    // Like a real ICD: extension entry points only while a context is current.
    static PROC WINAPI wgl_get_proc_address(LPCSTR name) {
        active->calls.push_back(std::string("wglGetProcAddress ") + name);
        if (active->current == nullptr || active->missing_entries.count(name) != 0) {
            return nullptr;
        }
        if (std::strcmp(name, "wglGetExtensionsStringARB") == 0 && active->arb_string) {
            return reinterpret_cast<PROC>(entry(&wgl_get_extensions_string_arb));
        }
        static const std::map<std::string, void*> extended = {
            {"wglCreateContextAttribsARB", entry(&wgl_create_context_attribs)},
            {"glGetStringi", entry(&gl_get_stringi)},
            {"glGetInteger64v", entry(&gl_get_integer64v)},
            {"glGetIntegeri_v", entry(&gl_get_integeri_v)},
        };
        const auto found = extended.find(name);
        return found != extended.end() ? reinterpret_cast<PROC>(found->second) : nullptr;
    }
    static HGLRC WINAPI wgl_create_context(HDC) {
        if (active->fail_create_context && active->failing_now()) {
            return nullptr;
        }
        ++active->contexts_alive;
        ++active->contexts_created;
        active->calls.push_back("wglCreateContext " + handle_text(0x30000 + active->contexts_created));
        return reinterpret_cast<HGLRC>(static_cast<uintptr_t>(0x30000 + active->contexts_created));
    }
    // A core-profile context of the version asked, up to core_version.
    static HGLRC WINAPI wgl_create_context_attribs(HDC, HGLRC, const int* attributes) {
        int major = 1;
        int minor = 0;
        bool core = false;
        for (const int* at = attributes; at != nullptr && at[0] != 0; at += 2) {
            major = at[0] == WGL_CONTEXT_MAJOR_VERSION_ARB ? at[1] : major;
            minor = at[0] == WGL_CONTEXT_MINOR_VERSION_ARB ? at[1] : minor;
            core =
                core || (at[0] == WGL_CONTEXT_PROFILE_MASK_ARB && at[1] == WGL_CONTEXT_CORE_PROFILE_BIT_ARB);
        }
        active->versions_asked.push_back(major * 10 + minor);
        if (!core || major * 10 + minor > active->core_version) {
            return nullptr;
        }
        // Apart from the first contexts, whose count the failures above follow.
        const auto made = reinterpret_cast<HGLRC>(0x38000 + active->core_contexts.size() + 1);
        ++active->contexts_alive;
        active->calls.push_back("wglCreateContextAttribsARB " +
                                handle_text(reinterpret_cast<uintptr_t>(made)));
        active->core_contexts[made] = major * 10 + minor;
        return made;
    }
    static BOOL WINAPI wgl_make_current(HDC, HGLRC context) {
        if (context != nullptr && active->fail_make_current &&
            active->contexts_created > active->contexts_before_failure) {
            return FALSE;
        }
        active->calls.push_back("wglMakeCurrent " + handle_text(reinterpret_cast<uintptr_t>(context)));
        active->current = context;
        return TRUE;
    }
    static BOOL WINAPI wgl_delete_context(HGLRC context) {
        active->calls.push_back("wglDeleteContext " + handle_text(reinterpret_cast<uintptr_t>(context)));
        if (active->current == context) {
            active->current = nullptr;
        }
        --active->contexts_alive;
        return TRUE;
    }
    static HDC WINAPI wgl_get_current_dc() {
        return active->current != nullptr ? reinterpret_cast<HDC>(0x20001) : nullptr;
    }
    static const char* WINAPI wgl_get_extensions_string_ext() { return active->wgl_extensions.c_str(); }
    static const char* WINAPI wgl_get_extensions_string_arb(HDC) {
        ++active->arb_string_calls;
        return active->wgl_extensions.c_str();
    }
    static const GLubyte* APIENTRY gl_get_string(GLenum name) {
        active->note_query("glGetString", name);
        if (active->in_core() && active->core_strings.count(name) != 0) {
            return reinterpret_cast<const GLubyte*>(active->core_strings[name]);
        }
        const auto found = active->strings.find(name);
        return found != active->strings.end() ? reinterpret_cast<const GLubyte*>(found->second) : nullptr;
    }
    static const GLubyte* APIENTRY gl_get_stringi(GLenum name, GLuint index) {
        active->note_query("glGetStringi", name);
        const auto& list = active->core_extensions;
        return name == GL_EXTENSIONS && index < list.size()
                   ? reinterpret_cast<const GLubyte*>(list[index].c_str())
                   : nullptr;
    }
    // What a core-profile context says of itself, unless told otherwise.
    bool context_answer(GLenum name, GLint* out) {
        const int version = in_core() ? core_contexts.at(current) : 0;
        const std::map<GLenum, GLint> own = {{GL_MAJOR_VERSION, version / 10},
                                             {GL_MINOR_VERSION, version % 10},
                                             {GL_CONTEXT_PROFILE_MASK, GL_CONTEXT_CORE_PROFILE_BIT},
                                             {GL_NUM_EXTENSIONS, static_cast<GLint>(core_extensions.size())}};
        if (version == 0 || integers.count(name) != 0 || own.count(name) == 0) {
            return false;
        }
        out[0] = own.at(name);
        return true;
    }
    static void APIENTRY gl_get_integer64v(GLenum name, GLint64* out) {
        GLint buffer[16] = {};
        gl_get_integerv(name, buffer);
        std::copy(buffer, buffer + 2, out);
    }
    static void APIENTRY gl_get_integeri_v(GLenum name, GLuint index, GLint* out) {
        active->note_query("glGetIntegeri_v", name);
        if (active->refused(name)) {
            return;
        }
        const auto found = active->indexed.find(name);
        if (found != active->indexed.end() && index < found->second.size()) {
            out[0] = found->second[index];
        } else if (active->answer_from_enumerant) {
            out[0] = static_cast<GLint>(name + index * 0x10000);
        } else {
            active->rejected(true);
        }
    }
    // A query without an answer leaves the buffer alone and GL_INVALID_ENUM
    // behind, as an implementation does for an enumerant it does not know.
    static void APIENTRY gl_get_booleanv(GLenum name, GLboolean* out) {
        active->note_query("glGetBooleanv", name);
        active->rejected(!active->answer(active->booleans, name, out));
    }
    static void APIENTRY gl_get_integerv(GLenum name, GLint* out) {
        active->note_query("glGetIntegerv", name);
        if (active->refused(name) || active->context_answer(name, out)) {
            return;
        }
        if (!active->answer(active->integers, name, out) && active->answer_from_enumerant) {
            out[0] = static_cast<GLint>(name);
            out[1] = static_cast<GLint>(name + 0x10000);
        } else {
            active->rejected(active->integers.count(name) == 0);
        }
    }
    static void APIENTRY gl_get_floatv(GLenum name, GLfloat* out) {
        active->note_query("glGetFloatv", name);
        if (active->refused(name)) {
            return;
        }
        if (!active->answer(active->floats, name, out) && active->answer_from_enumerant) {
            out[0] = static_cast<GLfloat>(name) + 0.25f;
            out[1] = static_cast<GLfloat>(name) + 0.75f;
        } else {
            active->rejected(active->floats.count(name) == 0);
        }
    }
    static GLenum APIENTRY gl_get_error() {
        return std::exchange(active->error, static_cast<GLenum>(GL_NO_ERROR));
    }
    void rejected(bool unknown) {
        if (unknown && error == GL_NO_ERROR) {
            error = GL_INVALID_ENUM;
        }
    }
    static const GLubyte* APIENTRY glu_get_string(GLenum name) {
        const auto found = active->glu_strings.find(name);
        return found != active->glu_strings.end() ? reinterpret_cast<const GLubyte*>(found->second) : nullptr;
    }

    std::map<HGLRC, int> core_contexts;  // every core-profile context made, with its version
    bool in_core() const { return core_contexts.count(current) != 0; }
    bool refused(GLenum name) {
        const bool refusing = refusals.count(name) != 0;
        rejected(refusing);
        return refusing;
    }

    static std::string handle_text(uintptr_t handle) { return handle == 0 ? "0" : std::to_string(handle); }
    void note_query(const char* function, GLenum name) {
        calls.push_back(std::string(function) + " " + std::to_string(name));
        if (current == nullptr) {
            ++queries_without_context;
        }
    }
    // Writes the listed answer; false when there is none.
    template <typename T>
    bool answer(const std::map<GLenum, std::vector<T>>& answers, GLenum name, T* out) {
        const auto found = answers.find(name);
        if (found == answers.end()) {
            return false;
        }
        std::copy(found->second.begin(), found->second.end(), out);
        return true;
    }
};

inline gl_system* gl_system::active = nullptr;

}  // namespace fakes
