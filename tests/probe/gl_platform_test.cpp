// The OpenGL probe against the real platform: each record is compared with
// what this test reads itself from a context it makes on the same monitor.
#include "platform/shared_capture.h"
#include "probe/gl_probe.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <set>
#include <string>

#include "probe/gl_extensions.h"
#include "probe/gl_limits.h"
#include <GL/wglext.h>
#include "probe/capture.h"
#include "platform/platform_shape.h"

namespace {

BOOL CALLBACK add_monitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoA(monitor, &info);
    reinterpret_cast<std::vector<std::pair<HMONITOR, RECT>>*>(list)->emplace_back(monitor, info.rcMonitor);
    return TRUE;
}

std::string text(GLenum name) {
    const auto* value = reinterpret_cast<const char*>(glGetString(name));
    return value != nullptr ? value : "";
}

GLint integer(GLenum name) {
    GLint value[4] = {};
    glGetIntegerv(name, value);
    return value[0];
}

std::set<std::string> words(const std::string& line) {
    std::istringstream stream(line);
    std::set<std::string> result;
    for (std::string word; stream >> word;) {
        result.insert(word);
    }
    return result;
}

// A context of the test's own on a monitor, current while it lives.
class own_context {
public:
    explicit own_context(const RECT& monitor) {
        window_ =
            CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                            monitor.left, monitor.top, 100, 100, nullptr, nullptr, nullptr, nullptr);
        dc_ = GetDC(window_);
        PIXELFORMATDESCRIPTOR format{};
        format.nSize = sizeof format;
        format.nVersion = 1;
        format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        format.iPixelType = PFD_TYPE_RGBA;
        format.cDepthBits = 16;
        SetPixelFormat(dc_, ChoosePixelFormat(dc_, &format), &format);
        context_ = wglCreateContext(dc_);
        current_ = wglMakeCurrent(dc_, context_) != FALSE;
    }
    ~own_context() {
        wglMakeCurrent(nullptr, nullptr);
        if (core_ != nullptr) {
            wglDeleteContext(core_);
        }
        wglDeleteContext(context_);
        ReleaseDC(window_, dc_);
        DestroyWindow(window_);
    }
    bool current() const { return current_; }
    // A core-profile context at the highest version from 4.6 down to 3.2,
    // made current instead; false where none can be made.
    bool make_core() {
        const auto create = reinterpret_cast<PFNWGLCREATECONTEXTATTRIBSARBPROC>(
            reinterpret_cast<void*>(wglGetProcAddress("wglCreateContextAttribsARB")));
        for (const int version : {46, 45, 44, 43, 42, 41, 40, 33, 32}) {
            const int attributes[] = {WGL_CONTEXT_MAJOR_VERSION_ARB,
                                      version / 10,
                                      WGL_CONTEXT_MINOR_VERSION_ARB,
                                      version % 10,
                                      WGL_CONTEXT_PROFILE_MASK_ARB,
                                      WGL_CONTEXT_CORE_PROFILE_BIT_ARB,
                                      0};
            if (create != nullptr && (core_ = create(dc_, nullptr, attributes)) != nullptr) {
                return wglMakeCurrent(dc_, core_) != FALSE;
            }
        }
        return false;
    }
    std::string wgl_extensions() const {
        using arb_fn = const char*(WINAPI*)(HDC);
        const auto arb =
            reinterpret_cast<arb_fn>(reinterpret_cast<void*>(wglGetProcAddress("wglGetExtensionsStringARB")));
        const char* value = arb != nullptr ? arb(dc_) : nullptr;
        return value != nullptr ? value : "";
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    HGLRC context_ = nullptr;
    HGLRC core_ = nullptr;
    bool current_ = false;
};

template <typename F>
F entry(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(wglGetProcAddress(name)));
}

// The core-profile part of a record against the test's own core-profile
// context, current: its strings, its extensions, and each limit asked where
// its version or an extension has it.
void expect_core_matches(const gl_core_context& core) {
    ASSERT_TRUE(core.made);
    EXPECT_EQ(text(GL_VERSION), core.version_string);
    EXPECT_EQ(text(GL_SHADING_LANGUAGE_VERSION), core.shading_language_version);
    const auto get_stringi = entry<PFNGLGETSTRINGIPROC>("glGetStringi");
    std::vector<std::string> extensions;
    for (GLint i = 0; i < integer(GL_NUM_EXTENSIONS); ++i) {
        extensions.emplace_back(
            reinterpret_cast<const char*>(get_stringi(GL_EXTENSIONS, static_cast<GLuint>(i))));
    }
    EXPECT_EQ(extensions, core.extensions);
    const int version = integer(GL_MAJOR_VERSION) * 10 + integer(GL_MINOR_VERSION);
    const auto get_integer64 = entry<PFNGLGETINTEGER64VPROC>("glGetInteger64v");
    const auto get_indexed = entry<PFNGLGETINTEGERI_VPROC>("glGetIntegeri_v");
    int answered = 0;
    for (size_t i = 0; i < std::size(gl_limits); ++i) {
        const gl_limit& limit = gl_limits[i];
        const gl_core_value& value = core.limits.at(i);
        SCOPED_TRACE(limit.name);
        const bool has =
            limit.core && ((limit.since != 0 && version >= limit.since) ||
                           (limit.extension != nullptr &&
                            std::count(extensions.begin(), extensions.end(), limit.extension) != 0));
        if (!has) {
            EXPECT_EQ(gl_answer::not_supported, value.answer);
            continue;
        }
        while (glGetError() != GL_NO_ERROR) {
        }
        GLint64 integers[16] = {};
        GLfloat floats[16] = {};
        GLint indexed[3] = {};
        switch (limit.core_kind) {
            case gl_limit_kind::real:
            case gl_limit_kind::real_pair:
                glGetFloatv(limit.enumerant, floats);
                EXPECT_EQ(floats[0], value.reals[0]);
                EXPECT_EQ(floats[1], value.reals[1]);
                break;
            case gl_limit_kind::integer_triple:
                for (GLuint axis = 0; axis < 3; ++axis) {
                    get_indexed(limit.enumerant, axis, &indexed[axis]);
                    EXPECT_EQ(indexed[axis], value.integers[axis]);
                }
                break;
            default:  // every integer, and a boolean as 0 or 1, through the 64-bit query
                get_integer64(limit.enumerant, integers);
                EXPECT_EQ(integers[0], value.integers[0]);
                break;
        }
        const bool refused = glGetError() != GL_NO_ERROR;
        EXPECT_EQ(refused ? gl_answer::not_available : gl_answer::answered, value.answer);
        answered += refused ? 0 : 1;
    }
    EXPECT_GT(answered, 100);
}

// Every limit of the program's table, asked again here: the registry test
// holds the table's names to their enumerants, the golden pages its members
// to their rows.
void expect_limits_match(const gl_record& record) {
    for (const gl_limit& limit : gl_limits) {
        if (!limit.legacy()) {
            continue;
        }
        SCOPED_TRACE(limit.name);
        GLint integers[16] = {};
        GLfloat floats[16] = {};
        GLboolean booleans[16] = {};
        switch (limit.kind) {
            case gl_limit_kind::boolean:
                glGetBooleanv(limit.enumerant, booleans);
                EXPECT_EQ(booleans[0] != GL_FALSE, record.*limit.boolean);
                break;
            case gl_limit_kind::integer:
                glGetIntegerv(limit.enumerant, integers);
                EXPECT_EQ(integers[0], record.*limit.integer);
                break;
            case gl_limit_kind::integer_pair:
                glGetIntegerv(limit.enumerant, integers);
                EXPECT_EQ(integers[0], (record.*limit.integer_pair)[0]);
                EXPECT_EQ(integers[1], (record.*limit.integer_pair)[1]);
                break;
            case gl_limit_kind::real:
                glGetFloatv(limit.enumerant, floats);
                EXPECT_EQ(floats[0], record.*limit.real);
                break;
            case gl_limit_kind::real_pair:
                glGetFloatv(limit.enumerant, floats);
                EXPECT_EQ(floats[0], (record.*limit.real_pair)[0]);
                EXPECT_EQ(floats[1], (record.*limit.real_pair)[1]);
                break;
            case gl_limit_kind::integer64:
            case gl_limit_kind::integer_triple:
                break;
        }
    }

    std::vector<GLint> formats(static_cast<size_t>(std::max(integer(GL_NUM_COMPRESSED_TEXTURE_FORMATS), 0)) +
                               4);
    glGetIntegerv(GL_COMPRESSED_TEXTURE_FORMATS, formats.data());
    formats.resize(static_cast<size_t>(record.num_compressed_texture_formats));
    EXPECT_EQ(std::vector<int32_t>(formats.begin(), formats.end()), record.compressed_texture_formats);
}

TEST(GlProbePlatform, RecordsAgreeWithTheTestsOwnContexts) {
    const std::vector<dx_adapter>& direct3d = shared_capture().adapters;
    std::vector<std::pair<HMONITOR, RECT>> monitors;
    EnumDisplayMonitors(nullptr, nullptr, add_monitor, reinterpret_cast<LPARAM>(&monitors));

    std::unique_ptr<gl_probe> probe;
    ASSERT_NO_THROW(probe = std::make_unique<gl_probe>(direct3d));

    int expected = 0;
    for (int i = 0; i < static_cast<int>(direct3d.size()); ++i) {
        const HMONITOR monitor = direct3d[static_cast<size_t>(i)].monitor;
        const auto on_desktop = std::find_if(monitors.begin(), monitors.end(),
                                             [&](const auto& entry) { return entry.first == monitor; });
        if (on_desktop == monitors.end()) {
            continue;
        }
        SCOPED_TRACE("Direct3D adapter " + std::to_string(i));
        ASSERT_LT(expected, probe->count());
        const gl_record record = probe->adapter(expected++);
        EXPECT_EQ(monitor, record.monitor);

        own_context context(on_desktop->second);
        ASSERT_TRUE(context.current());
        EXPECT_EQ(text(GL_RENDERER), record.renderer);
        EXPECT_EQ(text(GL_VENDOR), record.vendor);
        EXPECT_EQ(text(GL_VERSION), record.version_string);
        EXPECT_EQ(text(GL_EXTENSIONS), record.extensions);
        EXPECT_EQ(text(GL_SHADING_LANGUAGE_VERSION), record.shading_language_version);
        EXPECT_EQ(0u, record.version_string.find(record.version));
        EXPECT_EQ(std::string::npos, record.version.find(' '));
        EXPECT_FALSE(record.renderer.empty());

        const std::set<std::string> gl_words = words(text(GL_EXTENSIONS));
        const std::set<std::string> wgl_words = words(context.wgl_extensions());
        const auto known = known_extensions();
        for (size_t e = 0; e < known.size(); ++e) {
            const bool listed = gl_words.count(known[e].name) != 0 || wgl_words.count(known[e].name) != 0;
            EXPECT_EQ(listed, record.extension_flags[e]) << known[e].name;
        }
        expect_limits_match(record);
        if (context.make_core()) {
            expect_core_matches(record.core);
        } else {
            EXPECT_FALSE(record.core.made);
        }
    }
    EXPECT_EQ(shape_has_direct3d(), expected > 0)
        << expected << " Direct3D adapters show on a desktop monitor";
    EXPECT_EQ(expected, probe->count());
}

}  // namespace
