// The OpenGL limits, as one table: each enumerant once, with the query that
// reads it, how many values it gives and the record member that keeps them.
// The probe's capture and the pages' rows both walk it.
#pragma once

#include <windows.h>
#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <string_view>

#include "probe/records.h"

// The enumerants newer than OpenGL 1.1, whose header is all that the Windows
// SDK ships; values as the Khronos registry publishes them.
#ifndef GL_MAX_3D_TEXTURE_SIZE
#define GL_MAX_3D_TEXTURE_SIZE 0x8073
#endif
#ifndef GL_COLOR_MATRIX_STACK_DEPTH
#define GL_COLOR_MATRIX_STACK_DEPTH 0x80B2
#define GL_MAX_COLOR_MATRIX_STACK_DEPTH 0x80B3
#endif
#ifndef GL_MAX_ELEMENTS_VERTICES
#define GL_MAX_ELEMENTS_VERTICES 0x80E8
#define GL_MAX_ELEMENTS_INDICES 0x80E9
#endif
#ifndef GL_SMOOTH_POINT_SIZE_RANGE
#define GL_SMOOTH_POINT_SIZE_RANGE 0x0B12
#define GL_SMOOTH_POINT_SIZE_GRANULARITY 0x0B13
#define GL_SMOOTH_LINE_WIDTH_RANGE 0x0B22
#define GL_SMOOTH_LINE_WIDTH_GRANULARITY 0x0B23
#endif
#ifndef GL_ALIASED_POINT_SIZE_RANGE
#define GL_ALIASED_POINT_SIZE_RANGE 0x846D
#define GL_ALIASED_LINE_WIDTH_RANGE 0x846E
#endif
#ifndef GL_MAX_TEXTURE_UNITS
#define GL_MAX_TEXTURE_UNITS 0x84E2
#endif
#ifndef GL_MAX_TEXTURE_LOD_BIAS
#define GL_MAX_TEXTURE_LOD_BIAS 0x84FD
#endif
#ifndef GL_MAX_CUBE_MAP_TEXTURE_SIZE
#define GL_MAX_CUBE_MAP_TEXTURE_SIZE 0x851C
#endif
#ifndef GL_NUM_COMPRESSED_TEXTURE_FORMATS
#define GL_NUM_COMPRESSED_TEXTURE_FORMATS 0x86A2
#define GL_COMPRESSED_TEXTURE_FORMATS 0x86A3
#endif
#ifndef GL_MAX_DRAW_BUFFERS
#define GL_MAX_DRAW_BUFFERS 0x8824
#endif
#ifndef GL_MAX_VERTEX_ATTRIBS
#define GL_MAX_VERTEX_ATTRIBS 0x8869
#endif
#ifndef GL_MAX_TEXTURE_COORDS
#define GL_MAX_TEXTURE_COORDS 0x8871
#define GL_MAX_TEXTURE_IMAGE_UNITS 0x8872
#endif
#ifndef GL_MAX_FRAGMENT_UNIFORM_COMPONENTS
#define GL_MAX_FRAGMENT_UNIFORM_COMPONENTS 0x8B49
#define GL_MAX_VERTEX_UNIFORM_COMPONENTS 0x8B4A
#define GL_MAX_VARYING_FLOATS 0x8B4B
#define GL_MAX_VERTEX_TEXTURE_IMAGE_UNITS 0x8B4C
#define GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS 0x8B4D
#endif
#ifndef GL_SHADING_LANGUAGE_VERSION
#define GL_SHADING_LANGUAGE_VERSION 0x8B8C
#endif

// Which query reads a limit, and how many values it keeps.
enum class gl_limit_kind { boolean, integer, integer_pair, real, real_pair };

struct gl_limit {
    GLenum enumerant;
    const char* name;  // the enumerant's published name
    gl_limit_kind kind;
    bool gl_record::*boolean = nullptr;
    int32_t gl_record::*integer = nullptr;
    std::array<int32_t, 2> gl_record::*integer_pair = nullptr;
    float gl_record::*real = nullptr;
    std::array<float, 2> gl_record::*real_pair = nullptr;
};

constexpr gl_limit gl_limit_of(GLenum enumerant, const char* name, bool gl_record::*member) {
    return {enumerant, name, gl_limit_kind::boolean, member};
}
constexpr gl_limit gl_limit_of(GLenum enumerant, const char* name, int32_t gl_record::*member) {
    return {enumerant, name, gl_limit_kind::integer, nullptr, member};
}
constexpr gl_limit gl_limit_of(GLenum enumerant, const char* name,
                               std::array<int32_t, 2> gl_record::*member) {
    return {enumerant, name, gl_limit_kind::integer_pair, nullptr, nullptr, member};
}
constexpr gl_limit gl_limit_of(GLenum enumerant, const char* name, float gl_record::*member) {
    return {enumerant, name, gl_limit_kind::real, nullptr, nullptr, nullptr, member};
}
constexpr gl_limit gl_limit_of(GLenum enumerant, const char* name, std::array<float, 2> gl_record::*member) {
    return {enumerant, name, gl_limit_kind::real_pair, nullptr, nullptr, nullptr, nullptr, member};
}

// The limit of an enumerant, named as its macro is spelt, read into a record member.
#define CAVIO_GL_LIMIT(enumerant, member) gl_limit_of(enumerant, #enumerant, &gl_record::member)

// In the order the probe asks them.
inline constexpr gl_limit gl_limits[] = {
    CAVIO_GL_LIMIT(GL_DOUBLEBUFFER, double_buffer),
    CAVIO_GL_LIMIT(GL_STEREO, stereo),
    CAVIO_GL_LIMIT(GL_MAX_LIGHTS, max_lights),
    CAVIO_GL_LIMIT(GL_MAX_DRAW_BUFFERS, max_draw_buffers),
    CAVIO_GL_LIMIT(GL_AUX_BUFFERS, aux_buffers),
    CAVIO_GL_LIMIT(GL_COLOR_MATRIX_STACK_DEPTH, color_matrix_stack_depth),
    CAVIO_GL_LIMIT(GL_FEEDBACK_BUFFER_SIZE, feedback_buffer_size),
    CAVIO_GL_LIMIT(GL_FEEDBACK_BUFFER_TYPE, feedback_buffer_type),
    CAVIO_GL_LIMIT(GL_MAX_3D_TEXTURE_SIZE, max_3d_texture_size),
    CAVIO_GL_LIMIT(GL_MAX_CLIENT_ATTRIB_STACK_DEPTH, max_client_attrib_stack_depth),
    CAVIO_GL_LIMIT(GL_MAX_ATTRIB_STACK_DEPTH, max_attrib_stack_depth),
    CAVIO_GL_LIMIT(GL_MAX_CLIP_PLANES, max_clip_planes),
    CAVIO_GL_LIMIT(GL_MAX_COLOR_MATRIX_STACK_DEPTH, max_color_matrix_stack_depth),
    CAVIO_GL_LIMIT(GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS, max_combined_texture_image_units),
    CAVIO_GL_LIMIT(GL_MAX_CUBE_MAP_TEXTURE_SIZE, max_cube_map_texture_size),
    CAVIO_GL_LIMIT(GL_MAX_ELEMENTS_INDICES, max_elements_indices),
    CAVIO_GL_LIMIT(GL_MAX_ELEMENTS_VERTICES, max_elements_vertices),
    CAVIO_GL_LIMIT(GL_MAX_EVAL_ORDER, max_eval_order),
    CAVIO_GL_LIMIT(GL_MAX_FRAGMENT_UNIFORM_COMPONENTS, max_fragment_uniform_components),
    CAVIO_GL_LIMIT(GL_MAX_LIST_NESTING, max_list_nesting),
    CAVIO_GL_LIMIT(GL_MAX_MODELVIEW_STACK_DEPTH, max_modelview_stack_depth),
    CAVIO_GL_LIMIT(GL_MAX_NAME_STACK_DEPTH, max_name_stack_depth),
    CAVIO_GL_LIMIT(GL_MAX_PIXEL_MAP_TABLE, max_pixel_map_table),
    CAVIO_GL_LIMIT(GL_MAX_PROJECTION_STACK_DEPTH, max_projection_stack_depth),
    CAVIO_GL_LIMIT(GL_MAX_VARYING_FLOATS, max_varying_floats),
    CAVIO_GL_LIMIT(GL_MAX_VERTEX_ATTRIBS, max_vertex_attribs),
    CAVIO_GL_LIMIT(GL_MAX_VERTEX_TEXTURE_IMAGE_UNITS, max_vertex_texture_image_units),
    CAVIO_GL_LIMIT(GL_MAX_VERTEX_UNIFORM_COMPONENTS, max_vertex_uniform_components),
    CAVIO_GL_LIMIT(GL_MAX_VIEWPORT_DIMS, max_viewport_dims),
    CAVIO_GL_LIMIT(GL_LINE_WIDTH_GRANULARITY, line_width_granularity),
    CAVIO_GL_LIMIT(GL_POINT_SIZE_GRANULARITY, point_size_granularity),
    CAVIO_GL_LIMIT(GL_SMOOTH_LINE_WIDTH_GRANULARITY, smooth_line_width_granularity),
    CAVIO_GL_LIMIT(GL_SMOOTH_POINT_SIZE_GRANULARITY, smooth_point_size_granularity),
    CAVIO_GL_LIMIT(GL_SMOOTH_LINE_WIDTH_RANGE, smooth_line_width_range),
    CAVIO_GL_LIMIT(GL_SMOOTH_POINT_SIZE_RANGE, smooth_point_size_range),
    CAVIO_GL_LIMIT(GL_POINT_SIZE_RANGE, point_size_range),
    CAVIO_GL_LIMIT(GL_ALIASED_POINT_SIZE_RANGE, aliased_point_size_range),
    CAVIO_GL_LIMIT(GL_ALIASED_LINE_WIDTH_RANGE, aliased_line_width_range),
    CAVIO_GL_LIMIT(GL_LINE_WIDTH_RANGE, line_width_range),
    CAVIO_GL_LIMIT(GL_MAX_TEXTURE_SIZE, max_texture_size),
    CAVIO_GL_LIMIT(GL_MAX_TEXTURE_UNITS, max_texture_units),
    CAVIO_GL_LIMIT(GL_MAX_TEXTURE_IMAGE_UNITS, max_texture_image_units),
    CAVIO_GL_LIMIT(GL_MAX_TEXTURE_COORDS, max_texture_coords),
    // Read through the integer query, as the report has always shown it.
    CAVIO_GL_LIMIT(GL_MAX_TEXTURE_LOD_BIAS, max_texture_lod_bias),
    CAVIO_GL_LIMIT(GL_MAX_TEXTURE_STACK_DEPTH, max_texture_stack_depth),
    CAVIO_GL_LIMIT(GL_NUM_COMPRESSED_TEXTURE_FORMATS, num_compressed_texture_formats),
};

#undef CAVIO_GL_LIMIT

// The table's entry of a name (some enumerants have two names); used at
// compile time, where a name missing from the table stops the build.
constexpr const gl_limit& gl_limit_named(std::string_view name) {
    for (const gl_limit& limit : gl_limits) {
        if (name == limit.name) {
            return limit;
        }
    }
    throw "no such OpenGL limit";
}
