// The OpenGL probe against the real platform: each record is compared with
// what this test reads itself from a context it makes on the same monitor.
#include "probe/qe_3d_open_gl.h"

#include <gtest/gtest.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <memory>
#include <sstream>
#include <set>
#include <string>

#include "probe/gl_extensions.h"
#include "probe/probes.h"
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
        wglDeleteContext(context_);
        ReleaseDC(window_, dc_);
        DestroyWindow(window_);
    }
    bool current() const { return current_; }
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
    bool current_ = false;
};

GLint integer(GLenum name) {
    GLint value[4] = {};
    glGetIntegerv(name, value);
    return value[0];
}

void expect_limits_match(const tqgl_adapter& record) {
    const std::pair<GLenum, int32_t tqgl_adapter::*> integers[] = {
        {GL_MAX_LIGHTS, &tqgl_adapter::max_lights},
        {GL_MAX_DRAW_BUFFERS, &tqgl_adapter::max_draw_buffers},
        {GL_AUX_BUFFERS, &tqgl_adapter::aux_buffers},
        {GL_MAX_3D_TEXTURE_SIZE, &tqgl_adapter::max_3d_texture_size},
        {GL_MAX_CLIENT_ATTRIB_STACK_DEPTH, &tqgl_adapter::max_client_attrib_stack_depth},
        {GL_MAX_ATTRIB_STACK_DEPTH, &tqgl_adapter::max_attrib_stack_depth},
        {GL_MAX_CLIP_PLANES, &tqgl_adapter::max_clip_planes},
        {GL_MAX_COLOR_MATRIX_STACK_DEPTH, &tqgl_adapter::max_color_matrix_stack_depth},
        {GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS, &tqgl_adapter::max_combined_texture_image_units},
        {GL_MAX_CUBE_MAP_TEXTURE_SIZE, &tqgl_adapter::max_cube_map_texture_size},
        {GL_MAX_ELEMENTS_INDICES, &tqgl_adapter::max_elements_indices},
        {GL_MAX_ELEMENTS_VERTICES, &tqgl_adapter::max_elements_vertices},
        {GL_MAX_EVAL_ORDER, &tqgl_adapter::max_eval_order},
        {GL_MAX_FRAGMENT_UNIFORM_COMPONENTS, &tqgl_adapter::max_fragment_uniform_components},
        {GL_MAX_LIST_NESTING, &tqgl_adapter::max_list_nesting},
        {GL_MAX_MODELVIEW_STACK_DEPTH, &tqgl_adapter::max_modelview_stack_depth},
        {GL_MAX_NAME_STACK_DEPTH, &tqgl_adapter::max_name_stack_depth},
        {GL_MAX_PIXEL_MAP_TABLE, &tqgl_adapter::max_pixel_map_table},
        {GL_MAX_PROJECTION_STACK_DEPTH, &tqgl_adapter::max_projection_stack_depth},
        {GL_MAX_VARYING_FLOATS, &tqgl_adapter::max_varying_floats},
        {GL_MAX_VERTEX_ATTRIBS, &tqgl_adapter::max_vertex_attribs},
        {GL_MAX_VERTEX_TEXTURE_IMAGE_UNITS, &tqgl_adapter::max_vertex_texture_image_units},
        {GL_MAX_VERTEX_UNIFORM_COMPONENTS, &tqgl_adapter::max_vertex_uniform_components},
        {GL_NUM_COMPRESSED_TEXTURE_FORMATS, &tqgl_adapter::num_compressed_texture_formats},
        {GL_MAX_TEXTURE_SIZE, &tqgl_adapter::max_texture_size},
        {GL_MAX_TEXTURE_UNITS, &tqgl_adapter::max_texture_units},
        {GL_MAX_TEXTURE_IMAGE_UNITS, &tqgl_adapter::max_texture_image_units},
        {GL_MAX_TEXTURE_COORDS, &tqgl_adapter::max_texture_coords},
        {GL_MAX_TEXTURE_LOD_BIAS, &tqgl_adapter::max_texture_lod_bias},
        {GL_MAX_TEXTURE_STACK_DEPTH, &tqgl_adapter::max_texture_stack_depth},
    };
    for (const auto& [name, field] : integers) {
        EXPECT_EQ(integer(name), record.*field) << "enumerant 0x" << std::hex << name;
    }
    GLint viewport[4] = {};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    EXPECT_EQ(viewport[0], record.max_viewport_dims[0]);
    EXPECT_EQ(viewport[1], record.max_viewport_dims[1]);

    const std::pair<GLenum, std::array<float, 2> tqgl_adapter::*> ranges[] = {
        {GL_ALIASED_POINT_SIZE_RANGE, &tqgl_adapter::aliased_point_size_range},
        {GL_ALIASED_LINE_WIDTH_RANGE, &tqgl_adapter::aliased_line_width_range},
        {GL_LINE_WIDTH_RANGE, &tqgl_adapter::line_width_range},
        {GL_POINT_SIZE_RANGE, &tqgl_adapter::point_size_range},
        {GL_SMOOTH_LINE_WIDTH_RANGE, &tqgl_adapter::smooth_line_width_range},
        {GL_SMOOTH_POINT_SIZE_RANGE, &tqgl_adapter::smooth_point_size_range},
    };
    for (const auto& [name, field] : ranges) {
        GLfloat range[4] = {};
        glGetFloatv(name, range);
        EXPECT_EQ(range[0], (record.*field)[0]) << "enumerant 0x" << std::hex << name;
        EXPECT_EQ(range[1], (record.*field)[1]) << "enumerant 0x" << std::hex << name;
    }
    const std::pair<GLenum, float tqgl_adapter::*> granularities[] = {
        {GL_LINE_WIDTH_GRANULARITY, &tqgl_adapter::line_width_granularity},
        {GL_POINT_SIZE_GRANULARITY, &tqgl_adapter::point_size_granularity},
        {GL_SMOOTH_LINE_WIDTH_GRANULARITY, &tqgl_adapter::smooth_line_width_granularity},
        {GL_SMOOTH_POINT_SIZE_GRANULARITY, &tqgl_adapter::smooth_point_size_granularity},
    };
    for (const auto& [name, field] : granularities) {
        GLfloat value[4] = {};
        glGetFloatv(name, value);
        EXPECT_EQ(value[0], record.*field) << "enumerant 0x" << std::hex << name;
    }
    GLboolean flags[4] = {};
    glGetBooleanv(GL_DOUBLEBUFFER, flags);
    EXPECT_EQ(flags[0] != GL_FALSE, record.double_buffer);
    glGetBooleanv(GL_STEREO, flags);
    EXPECT_EQ(flags[0] != GL_FALSE, record.stereo);

    std::vector<GLint> formats(static_cast<size_t>(std::max(integer(GL_NUM_COMPRESSED_TEXTURE_FORMATS), 0)) +
                               4);
    glGetIntegerv(GL_COMPRESSED_TEXTURE_FORMATS, formats.data());
    formats.resize(static_cast<size_t>(record.num_compressed_texture_formats));
    EXPECT_EQ(std::vector<int32_t>(formats.begin(), formats.end()), record.compressed_texture_formats);
}

TEST(GlProbePlatform, RecordsAgreeWithTheTestsOwnContexts) {
    const auto direct3d = capture_startup().direct3d;
    std::vector<std::pair<HMONITOR, RECT>> monitors;
    EnumDisplayMonitors(nullptr, nullptr, add_monitor, reinterpret_cast<LPARAM>(&monitors));

    std::unique_ptr<tqgl> probe;
    ASSERT_NO_THROW(probe = std::make_unique<tqgl>(*direct3d));

    int expected = 0;
    for (int i = 0; i < direct3d->count; ++i) {
        const HMONITOR monitor = direct3d->adapter(i).monitor;
        const auto on_desktop = std::find_if(monitors.begin(), monitors.end(),
                                             [&](const auto& entry) { return entry.first == monitor; });
        if (on_desktop == monitors.end()) {
            continue;
        }
        SCOPED_TRACE("Direct3D adapter " + std::to_string(i));
        ASSERT_LT(expected, probe->count);
        const tqgl_adapter record = probe->adapter(expected++);
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
    }
    EXPECT_EQ(shape_has_direct3d(), expected > 0)
        << expected << " Direct3D adapters show on a desktop monitor";
    EXPECT_EQ(expected, probe->count);
}

}  // namespace
