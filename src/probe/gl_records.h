// What the OpenGL probes fill and the OpenGL pages read: one record per
// context, on Windows (WGL) and on Linux (EGL or GLX) alike.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/reason.h"
#include "probe/gl_extensions.h"

#ifdef _WIN32
#include <windows.h>
using gl_monitor_handle = HMONITOR;
#else
using gl_monitor_handle = void*;  // no monitors there: one context per device
#endif

// What the core-profile context answered to one limit of the table.
enum class gl_answer : uint8_t {
    not_supported,  // the context has neither the version nor the extension that defines it: not asked
    not_available,  // asked, and the query raised an error
    answered,
};

struct gl_core_value {
    gl_answer answer = gl_answer::not_supported;
    std::array<int64_t, 3> integers{};  // as many as the query gives: one, a pair or x, y, z
    std::array<float, 2> reals{};
};

// A second context on the same monitor, of the core profile at the highest
// version the driver accepts. Made false: none could be made, and every
// value is not available.
struct gl_core_context {
    bool made = false;
    std::string version_string;  // glGetString(GL_VERSION), whole
    std::string shading_language_version;
    std::vector<std::string> extensions;  // glGetStringi(GL_EXTENSIONS, i), in the driver's order
    std::vector<gl_core_value> limits;    // one per entry of the limits table, in its order
};

// Everything read from one OpenGL context. A new record is all zeros, so a
// query the implementation rejects leaves its field at zero, and its
// enumerant is listed in unanswered.
struct gl_record {
    gl_monitor_handle monitor = nullptr;  // the desktop monitor of the context (Windows)
    std::string renderer;
    std::string vendor;
    std::string version_string;
    std::string version;  // version_string before its first blank
    std::string extensions;
    std::string glu_version_string;
    std::string glu_version;  // glu_version_string before its first blank
    std::string glu_extensions;
    std::string shading_language_version;
    std::array<bool, known_extension_count> extension_flags{};  // one per known extension, in list order
    bool double_buffer = false;
    bool stereo = false;
    std::array<float, 2> aliased_point_size_range{};  // smallest, largest
    std::array<float, 2> aliased_line_width_range{};
    std::array<float, 2> line_width_range{};
    std::array<float, 2> point_size_range{};
    std::array<float, 2> smooth_line_width_range{};
    std::array<float, 2> smooth_point_size_range{};
    std::array<int32_t, 2> max_viewport_dims{};  // width, height
    float line_width_granularity = 0;
    float point_size_granularity = 0;
    float smooth_line_width_granularity = 0;
    float smooth_point_size_granularity = 0;
    int32_t max_lights = 0;
    int32_t max_draw_buffers = 0;
    int32_t aux_buffers = 0;
    int32_t color_matrix_stack_depth = 0;
    int32_t feedback_buffer_size = 0;
    int32_t feedback_buffer_type = 0;
    int32_t max_3d_texture_size = 0;
    int32_t max_client_attrib_stack_depth = 0;
    int32_t max_attrib_stack_depth = 0;
    int32_t max_clip_planes = 0;
    int32_t max_color_matrix_stack_depth = 0;
    int32_t max_combined_texture_image_units = 0;
    int32_t max_cube_map_texture_size = 0;
    int32_t max_elements_indices = 0;
    int32_t max_elements_vertices = 0;
    int32_t max_eval_order = 0;
    int32_t max_fragment_uniform_components = 0;
    int32_t max_list_nesting = 0;
    int32_t max_modelview_stack_depth = 0;
    int32_t max_name_stack_depth = 0;
    int32_t max_pixel_map_table = 0;
    int32_t max_projection_stack_depth = 0;
    int32_t max_varying_floats = 0;
    int32_t max_vertex_attribs = 0;
    int32_t max_vertex_texture_image_units = 0;
    int32_t max_vertex_uniform_components = 0;
    int32_t num_compressed_texture_formats = 0;
    int32_t max_texture_size = 0;
    int32_t max_texture_units = 0;
    int32_t max_texture_image_units = 0;
    int32_t max_texture_coords = 0;
    int32_t max_texture_lod_bias = 0;  // read through the integer query
    int32_t max_texture_stack_depth = 0;
    std::vector<int32_t> compressed_texture_formats;  // num_compressed_texture_formats entries
    std::vector<uint32_t> unanswered;                 // limits the implementation rejected, by enumerant
    // The window system's extension string, whole: WGL's on Windows, EGL's
    // or GLX's on Linux; empty where no entry point gives it.
    std::string wgl_extensions;
    std::string window_system = "WGL";  // "WGL", "EGL" or "GLX"
    std::string window_system_version;  // "1.5 (Mesa Project)" for EGL and GLX; empty for WGL
    // The GPU the context renders on, where the window system says (EGL's
    // DRM device on Linux): its PCI IDs; zero where it is not known.
    uint32_t pci_vendor_id = 0;
    uint32_t pci_device_id = 0;
    gl_core_context core;

    bool answered(uint32_t enumerant) const {
        return std::find(unanswered.begin(), unanswered.end(), enumerant) == unanswered.end();
    }
};

// What the OpenGL probe hands back.
struct gl_records {
    std::vector<gl_record> records;  // one per monitor whose context was read
    std::vector<reason> reasons;     // "OpenGL: no pixel format on \\.\DISPLAY2"
};
