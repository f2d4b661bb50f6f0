// The OpenGL limits, as one table: each enumerant once, with the query that
// reads it, how many values it gives, the record member the first context
// reads it into, and whether and from which version or extension on the
// core-profile context is asked it. The probe's capture and the pages' rows
// both walk it.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>
#include <GL/glext.h>

#include <array>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "base/reason.h"
#include "probe/gl_records.h"

// Which query reads a limit, and how many values it keeps. The last two
// are asked of the core-profile context only.
enum class gl_limit_kind {
    boolean,         // glGetBooleanv
    integer,         // glGetIntegerv, one value
    integer_pair,    // glGetIntegerv, two values
    real,            // glGetFloatv, one value
    real_pair,       // glGetFloatv, two values
    integer64,       // glGetInteger64v
    integer_triple,  // glGetIntegeri_v at the indices 0, 1 and 2: x, y and z
};

struct gl_limit {
    GLenum enumerant;
    const char* name;  // the enumerant's published name
    gl_limit_kind kind;
    // The member the first context reads it into; none for a limit the
    // core-profile context alone is asked.
    bool gl_record::*boolean = nullptr;
    int32_t gl_record::*integer = nullptr;
    std::array<int32_t, 2> gl_record::*integer_pair = nullptr;
    float gl_record::*real = nullptr;
    std::array<float, 2> gl_record::*real_pair = nullptr;
    // Whether the core-profile context is asked it, and what gates it there:
    // the OpenGL version that brought the enumerant (4.3 as 43; 0 where no
    // version has it) or, where given, an extension that brings it too.
    bool core = false;
    uint8_t since = 0;
    const char* extension = nullptr;
    gl_limit_kind core_kind = gl_limit_kind::integer;  // how the core-profile context is asked

    // Read by the first context only.
    constexpr bool legacy() const {
        return boolean != nullptr || integer != nullptr || integer_pair != nullptr || real != nullptr ||
               real_pair != nullptr;
    }
    // The same limit, asked of the core-profile context too.
    constexpr gl_limit in_core(uint8_t version, const char* gate = nullptr) const {
        gl_limit copy = *this;
        copy.core = true;
        copy.since = version;
        copy.extension = gate;
        copy.core_kind = kind;
        return copy;
    }
    // The same, asked in the core-profile context as another kind.
    constexpr gl_limit in_core_as(gl_limit_kind asked, uint8_t version) const {
        gl_limit copy = in_core(version);
        copy.core_kind = asked;
        return copy;
    }
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
// A limit of the core-profile context alone.
constexpr gl_limit gl_core_limit_of(GLenum enumerant, const char* name, gl_limit_kind kind, uint8_t since,
                                    const char* extension) {
    gl_limit limit{enumerant, name, kind};
    limit = limit.in_core(since, extension);
    return limit;
}

// The limit of an enumerant, named as its macro is spelt, read into a record member.
#define CAVIO_GL_LIMIT(enumerant, member) gl_limit_of(enumerant, #enumerant, &gl_record::member)
// A limit of the core-profile context alone, of a kind, brought by a version
// or an extension.
#define CAVIO_GL_CORE(enumerant, kind, since, extension) \
    gl_core_limit_of(enumerant, #enumerant, gl_limit_kind::kind, since, extension)

// The first context asks its limits in this order; the core-profile
// context asks those marked for it in the same order.
inline constexpr gl_limit gl_limits[] = {
    CAVIO_GL_LIMIT(GL_DOUBLEBUFFER, double_buffer).in_core(10),
    CAVIO_GL_LIMIT(GL_STEREO, stereo).in_core(10),
    CAVIO_GL_LIMIT(GL_MAX_LIGHTS, max_lights),
    CAVIO_GL_LIMIT(GL_MAX_DRAW_BUFFERS, max_draw_buffers).in_core(20),
    CAVIO_GL_LIMIT(GL_AUX_BUFFERS, aux_buffers),
    CAVIO_GL_LIMIT(GL_COLOR_MATRIX_STACK_DEPTH, color_matrix_stack_depth),
    CAVIO_GL_LIMIT(GL_FEEDBACK_BUFFER_SIZE, feedback_buffer_size),
    CAVIO_GL_LIMIT(GL_FEEDBACK_BUFFER_TYPE, feedback_buffer_type),
    CAVIO_GL_LIMIT(GL_MAX_3D_TEXTURE_SIZE, max_3d_texture_size).in_core(12),
    CAVIO_GL_LIMIT(GL_MAX_CLIENT_ATTRIB_STACK_DEPTH, max_client_attrib_stack_depth),
    CAVIO_GL_LIMIT(GL_MAX_ATTRIB_STACK_DEPTH, max_attrib_stack_depth),
    CAVIO_GL_LIMIT(GL_MAX_CLIP_PLANES, max_clip_planes),
    CAVIO_GL_LIMIT(GL_MAX_COLOR_MATRIX_STACK_DEPTH, max_color_matrix_stack_depth),
    CAVIO_GL_LIMIT(GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS, max_combined_texture_image_units).in_core(20),
    CAVIO_GL_LIMIT(GL_MAX_CUBE_MAP_TEXTURE_SIZE, max_cube_map_texture_size).in_core(13),
    CAVIO_GL_LIMIT(GL_MAX_ELEMENTS_INDICES, max_elements_indices).in_core(12),
    CAVIO_GL_LIMIT(GL_MAX_ELEMENTS_VERTICES, max_elements_vertices).in_core(12),
    CAVIO_GL_LIMIT(GL_MAX_EVAL_ORDER, max_eval_order),
    CAVIO_GL_LIMIT(GL_MAX_FRAGMENT_UNIFORM_COMPONENTS, max_fragment_uniform_components).in_core(20),
    CAVIO_GL_LIMIT(GL_MAX_LIST_NESTING, max_list_nesting),
    CAVIO_GL_LIMIT(GL_MAX_MODELVIEW_STACK_DEPTH, max_modelview_stack_depth),
    CAVIO_GL_LIMIT(GL_MAX_NAME_STACK_DEPTH, max_name_stack_depth),
    CAVIO_GL_LIMIT(GL_MAX_PIXEL_MAP_TABLE, max_pixel_map_table),
    CAVIO_GL_LIMIT(GL_MAX_PROJECTION_STACK_DEPTH, max_projection_stack_depth),
    CAVIO_GL_LIMIT(GL_MAX_VARYING_FLOATS, max_varying_floats),
    CAVIO_GL_LIMIT(GL_MAX_VERTEX_ATTRIBS, max_vertex_attribs).in_core(20),
    CAVIO_GL_LIMIT(GL_MAX_VERTEX_TEXTURE_IMAGE_UNITS, max_vertex_texture_image_units).in_core(20),
    CAVIO_GL_LIMIT(GL_MAX_VERTEX_UNIFORM_COMPONENTS, max_vertex_uniform_components).in_core(20),
    CAVIO_GL_LIMIT(GL_MAX_VIEWPORT_DIMS, max_viewport_dims).in_core(10),
    CAVIO_GL_LIMIT(GL_LINE_WIDTH_GRANULARITY, line_width_granularity),
    CAVIO_GL_LIMIT(GL_POINT_SIZE_GRANULARITY, point_size_granularity).in_core(10),
    CAVIO_GL_LIMIT(GL_SMOOTH_LINE_WIDTH_GRANULARITY, smooth_line_width_granularity).in_core(12),
    CAVIO_GL_LIMIT(GL_SMOOTH_POINT_SIZE_GRANULARITY, smooth_point_size_granularity),
    CAVIO_GL_LIMIT(GL_SMOOTH_LINE_WIDTH_RANGE, smooth_line_width_range).in_core(12),
    CAVIO_GL_LIMIT(GL_SMOOTH_POINT_SIZE_RANGE, smooth_point_size_range),
    CAVIO_GL_LIMIT(GL_POINT_SIZE_RANGE, point_size_range).in_core(10),
    CAVIO_GL_LIMIT(GL_ALIASED_POINT_SIZE_RANGE, aliased_point_size_range),
    CAVIO_GL_LIMIT(GL_ALIASED_LINE_WIDTH_RANGE, aliased_line_width_range).in_core(12),
    CAVIO_GL_LIMIT(GL_LINE_WIDTH_RANGE, line_width_range),
    CAVIO_GL_LIMIT(GL_MAX_TEXTURE_SIZE, max_texture_size).in_core(10),
    CAVIO_GL_LIMIT(GL_MAX_TEXTURE_UNITS, max_texture_units),
    CAVIO_GL_LIMIT(GL_MAX_TEXTURE_IMAGE_UNITS, max_texture_image_units).in_core(20),
    CAVIO_GL_LIMIT(GL_MAX_TEXTURE_COORDS, max_texture_coords),
    // Read through the integer query, as the report has always shown it;
    // the core-profile context shows the real value.
    CAVIO_GL_LIMIT(GL_MAX_TEXTURE_LOD_BIAS, max_texture_lod_bias).in_core_as(gl_limit_kind::real, 14),
    CAVIO_GL_LIMIT(GL_MAX_TEXTURE_STACK_DEPTH, max_texture_stack_depth),
    CAVIO_GL_LIMIT(GL_NUM_COMPRESSED_TEXTURE_FORMATS, num_compressed_texture_formats).in_core(13),

    // The context.
    CAVIO_GL_CORE(GL_MAJOR_VERSION, integer, 30, nullptr),
    CAVIO_GL_CORE(GL_MINOR_VERSION, integer, 30, nullptr),
    CAVIO_GL_CORE(GL_CONTEXT_PROFILE_MASK, integer, 32, nullptr),
    CAVIO_GL_CORE(GL_CONTEXT_FLAGS, integer, 30, nullptr),
    CAVIO_GL_CORE(GL_NUM_EXTENSIONS, integer, 30, nullptr),
    CAVIO_GL_CORE(GL_NUM_SHADING_LANGUAGE_VERSIONS, integer, 43, nullptr),
    CAVIO_GL_CORE(GL_RESET_NOTIFICATION_STRATEGY, integer, 45, "GL_KHR_robustness"),
    CAVIO_GL_CORE(GL_NUM_PROGRAM_BINARY_FORMATS, integer, 41, "GL_ARB_get_program_binary"),
    CAVIO_GL_CORE(GL_NUM_SHADER_BINARY_FORMATS, integer, 41, "GL_ARB_ES2_compatibility"),
    CAVIO_GL_CORE(GL_MAX_SERVER_WAIT_TIMEOUT, integer64, 32, "GL_ARB_sync"),
    CAVIO_GL_CORE(GL_MAX_SHADER_COMPILER_THREADS_ARB, integer, 0, "GL_ARB_parallel_shader_compile"),
    CAVIO_GL_CORE(GL_MAX_DEBUG_MESSAGE_LENGTH, integer, 43, "GL_KHR_debug"),
    CAVIO_GL_CORE(GL_MAX_DEBUG_LOGGED_MESSAGES, integer, 43, "GL_KHR_debug"),
    CAVIO_GL_CORE(GL_MAX_DEBUG_GROUP_STACK_DEPTH, integer, 43, "GL_KHR_debug"),
    CAVIO_GL_CORE(GL_MAX_LABEL_LENGTH, integer, 43, "GL_KHR_debug"),
    // Vertices.
    CAVIO_GL_CORE(GL_MAX_VERTEX_UNIFORM_VECTORS, integer, 41, "GL_ARB_ES2_compatibility"),
    CAVIO_GL_CORE(GL_MAX_VERTEX_UNIFORM_BLOCKS, integer, 31, "GL_ARB_uniform_buffer_object"),
    CAVIO_GL_CORE(GL_MAX_VERTEX_OUTPUT_COMPONENTS, integer, 32, nullptr),
    CAVIO_GL_CORE(GL_MAX_VERTEX_ATOMIC_COUNTERS, integer, 42, "GL_ARB_shader_atomic_counters"),
    CAVIO_GL_CORE(GL_MAX_VERTEX_ATOMIC_COUNTER_BUFFERS, integer, 42, "GL_ARB_shader_atomic_counters"),
    CAVIO_GL_CORE(GL_MAX_VERTEX_SHADER_STORAGE_BLOCKS, integer, 43, "GL_ARB_shader_storage_buffer_object"),
    CAVIO_GL_CORE(GL_MAX_VERTEX_IMAGE_UNIFORMS, integer, 42, "GL_ARB_shader_image_load_store"),
    CAVIO_GL_CORE(GL_MAX_VERTEX_ATTRIB_BINDINGS, integer, 43, "GL_ARB_vertex_attrib_binding"),
    CAVIO_GL_CORE(GL_MAX_VERTEX_ATTRIB_RELATIVE_OFFSET, integer, 43, "GL_ARB_vertex_attrib_binding"),
    CAVIO_GL_CORE(GL_MAX_VERTEX_ATTRIB_STRIDE, integer, 44, nullptr),
    CAVIO_GL_CORE(GL_MAX_ELEMENT_INDEX, integer64, 43, "GL_ARB_ES3_compatibility"),
    CAVIO_GL_CORE(GL_MAX_VARYING_COMPONENTS, integer, 30, nullptr),
    CAVIO_GL_CORE(GL_MAX_VARYING_VECTORS, integer, 41, "GL_ARB_ES2_compatibility"),
    CAVIO_GL_CORE(GL_MAX_COMBINED_VERTEX_UNIFORM_COMPONENTS, integer, 31, "GL_ARB_uniform_buffer_object"),
    // Tessellation.
    CAVIO_GL_CORE(GL_MAX_PATCH_VERTICES, integer, 40, "GL_ARB_tessellation_shader"),
    CAVIO_GL_CORE(GL_MAX_TESS_GEN_LEVEL, integer, 40, "GL_ARB_tessellation_shader"),
    CAVIO_GL_CORE(GL_MAX_TESS_CONTROL_UNIFORM_COMPONENTS, integer, 40, "GL_ARB_tessellation_shader"),
    CAVIO_GL_CORE(GL_MAX_TESS_EVALUATION_UNIFORM_COMPONENTS, integer, 40, "GL_ARB_tessellation_shader"),
    CAVIO_GL_CORE(GL_MAX_TESS_CONTROL_TEXTURE_IMAGE_UNITS, integer, 40, "GL_ARB_tessellation_shader"),
    CAVIO_GL_CORE(GL_MAX_TESS_EVALUATION_TEXTURE_IMAGE_UNITS, integer, 40, "GL_ARB_tessellation_shader"),
    CAVIO_GL_CORE(GL_MAX_TESS_CONTROL_OUTPUT_COMPONENTS, integer, 40, "GL_ARB_tessellation_shader"),
    CAVIO_GL_CORE(GL_MAX_TESS_PATCH_COMPONENTS, integer, 40, "GL_ARB_tessellation_shader"),
    CAVIO_GL_CORE(GL_MAX_TESS_CONTROL_TOTAL_OUTPUT_COMPONENTS, integer, 40, "GL_ARB_tessellation_shader"),
    CAVIO_GL_CORE(GL_MAX_TESS_EVALUATION_OUTPUT_COMPONENTS, integer, 40, "GL_ARB_tessellation_shader"),
    CAVIO_GL_CORE(GL_MAX_TESS_CONTROL_INPUT_COMPONENTS, integer, 40, "GL_ARB_tessellation_shader"),
    CAVIO_GL_CORE(GL_MAX_TESS_EVALUATION_INPUT_COMPONENTS, integer, 40, "GL_ARB_tessellation_shader"),
    CAVIO_GL_CORE(GL_MAX_TESS_CONTROL_UNIFORM_BLOCKS, integer, 40, "GL_ARB_tessellation_shader"),
    CAVIO_GL_CORE(GL_MAX_TESS_EVALUATION_UNIFORM_BLOCKS, integer, 40, "GL_ARB_tessellation_shader"),
    CAVIO_GL_CORE(GL_MAX_COMBINED_TESS_CONTROL_UNIFORM_COMPONENTS, integer, 40, "GL_ARB_tessellation_shader"),
    CAVIO_GL_CORE(GL_MAX_COMBINED_TESS_EVALUATION_UNIFORM_COMPONENTS, integer, 40,
                  "GL_ARB_tessellation_shader"),
    CAVIO_GL_CORE(GL_MAX_TESS_CONTROL_ATOMIC_COUNTERS, integer, 42, "GL_ARB_shader_atomic_counters"),
    CAVIO_GL_CORE(GL_MAX_TESS_EVALUATION_ATOMIC_COUNTERS, integer, 42, "GL_ARB_shader_atomic_counters"),
    CAVIO_GL_CORE(GL_MAX_TESS_CONTROL_ATOMIC_COUNTER_BUFFERS, integer, 42, "GL_ARB_shader_atomic_counters"),
    CAVIO_GL_CORE(GL_MAX_TESS_EVALUATION_ATOMIC_COUNTER_BUFFERS, integer, 42,
                  "GL_ARB_shader_atomic_counters"),
    CAVIO_GL_CORE(GL_MAX_TESS_CONTROL_SHADER_STORAGE_BLOCKS, integer, 43,
                  "GL_ARB_shader_storage_buffer_object"),
    CAVIO_GL_CORE(GL_MAX_TESS_EVALUATION_SHADER_STORAGE_BLOCKS, integer, 43,
                  "GL_ARB_shader_storage_buffer_object"),
    CAVIO_GL_CORE(GL_MAX_TESS_CONTROL_IMAGE_UNIFORMS, integer, 42, "GL_ARB_shader_image_load_store"),
    CAVIO_GL_CORE(GL_MAX_TESS_EVALUATION_IMAGE_UNIFORMS, integer, 42, "GL_ARB_shader_image_load_store"),
    // Geometry.
    CAVIO_GL_CORE(GL_MAX_GEOMETRY_UNIFORM_COMPONENTS, integer, 32, nullptr),
    CAVIO_GL_CORE(GL_MAX_GEOMETRY_TEXTURE_IMAGE_UNITS, integer, 32, nullptr),
    CAVIO_GL_CORE(GL_MAX_GEOMETRY_OUTPUT_VERTICES, integer, 32, nullptr),
    CAVIO_GL_CORE(GL_MAX_GEOMETRY_TOTAL_OUTPUT_COMPONENTS, integer, 32, nullptr),
    CAVIO_GL_CORE(GL_MAX_GEOMETRY_INPUT_COMPONENTS, integer, 32, nullptr),
    CAVIO_GL_CORE(GL_MAX_GEOMETRY_OUTPUT_COMPONENTS, integer, 32, nullptr),
    CAVIO_GL_CORE(GL_MAX_GEOMETRY_UNIFORM_BLOCKS, integer, 31, "GL_ARB_uniform_buffer_object"),
    CAVIO_GL_CORE(GL_MAX_COMBINED_GEOMETRY_UNIFORM_COMPONENTS, integer, 31, "GL_ARB_uniform_buffer_object"),
    CAVIO_GL_CORE(GL_MAX_GEOMETRY_SHADER_INVOCATIONS, integer, 40, "GL_ARB_gpu_shader5"),
    CAVIO_GL_CORE(GL_MAX_VERTEX_STREAMS, integer, 40, "GL_ARB_gpu_shader5"),
    CAVIO_GL_CORE(GL_MAX_GEOMETRY_ATOMIC_COUNTERS, integer, 42, "GL_ARB_shader_atomic_counters"),
    CAVIO_GL_CORE(GL_MAX_GEOMETRY_ATOMIC_COUNTER_BUFFERS, integer, 42, "GL_ARB_shader_atomic_counters"),
    CAVIO_GL_CORE(GL_MAX_GEOMETRY_SHADER_STORAGE_BLOCKS, integer, 43, "GL_ARB_shader_storage_buffer_object"),
    CAVIO_GL_CORE(GL_MAX_GEOMETRY_IMAGE_UNIFORMS, integer, 42, "GL_ARB_shader_image_load_store"),
    // Fragments.
    CAVIO_GL_CORE(GL_MAX_FRAGMENT_UNIFORM_VECTORS, integer, 41, "GL_ARB_ES2_compatibility"),
    CAVIO_GL_CORE(GL_MAX_FRAGMENT_UNIFORM_BLOCKS, integer, 31, "GL_ARB_uniform_buffer_object"),
    CAVIO_GL_CORE(GL_MAX_FRAGMENT_INPUT_COMPONENTS, integer, 32, nullptr),
    CAVIO_GL_CORE(GL_MIN_PROGRAM_TEXEL_OFFSET, integer, 30, nullptr),
    CAVIO_GL_CORE(GL_MAX_PROGRAM_TEXEL_OFFSET, integer, 30, nullptr),
    CAVIO_GL_CORE(GL_MIN_PROGRAM_TEXTURE_GATHER_OFFSET, integer, 40, nullptr),
    CAVIO_GL_CORE(GL_MAX_PROGRAM_TEXTURE_GATHER_OFFSET, integer, 40, nullptr),
    CAVIO_GL_CORE(GL_MIN_FRAGMENT_INTERPOLATION_OFFSET, real, 40, "GL_ARB_gpu_shader5"),
    CAVIO_GL_CORE(GL_MAX_FRAGMENT_INTERPOLATION_OFFSET, real, 40, "GL_ARB_gpu_shader5"),
    CAVIO_GL_CORE(GL_FRAGMENT_INTERPOLATION_OFFSET_BITS, integer, 40, "GL_ARB_gpu_shader5"),
    CAVIO_GL_CORE(GL_MAX_FRAGMENT_ATOMIC_COUNTERS, integer, 42, "GL_ARB_shader_atomic_counters"),
    CAVIO_GL_CORE(GL_MAX_FRAGMENT_ATOMIC_COUNTER_BUFFERS, integer, 42, "GL_ARB_shader_atomic_counters"),
    CAVIO_GL_CORE(GL_MAX_FRAGMENT_SHADER_STORAGE_BLOCKS, integer, 43, "GL_ARB_shader_storage_buffer_object"),
    CAVIO_GL_CORE(GL_MAX_FRAGMENT_IMAGE_UNIFORMS, integer, 42, "GL_ARB_shader_image_load_store"),
    CAVIO_GL_CORE(GL_MAX_COMBINED_FRAGMENT_UNIFORM_COMPONENTS, integer, 31, "GL_ARB_uniform_buffer_object"),
    CAVIO_GL_CORE(GL_MAX_DUAL_SOURCE_DRAW_BUFFERS, integer, 33, "GL_ARB_blend_func_extended"),
    CAVIO_GL_CORE(GL_MAX_SUBROUTINES, integer, 40, "GL_ARB_shader_subroutine"),
    CAVIO_GL_CORE(GL_MAX_SUBROUTINE_UNIFORM_LOCATIONS, integer, 40, "GL_ARB_shader_subroutine"),
    // Compute.
    CAVIO_GL_CORE(GL_MAX_COMPUTE_WORK_GROUP_COUNT, integer_triple, 43, "GL_ARB_compute_shader"),
    CAVIO_GL_CORE(GL_MAX_COMPUTE_WORK_GROUP_SIZE, integer_triple, 43, "GL_ARB_compute_shader"),
    CAVIO_GL_CORE(GL_MAX_COMPUTE_WORK_GROUP_INVOCATIONS, integer, 43, "GL_ARB_compute_shader"),
    CAVIO_GL_CORE(GL_MAX_COMPUTE_SHARED_MEMORY_SIZE, integer, 43, "GL_ARB_compute_shader"),
    CAVIO_GL_CORE(GL_MAX_COMPUTE_UNIFORM_COMPONENTS, integer, 43, "GL_ARB_compute_shader"),
    CAVIO_GL_CORE(GL_MAX_COMPUTE_UNIFORM_BLOCKS, integer, 43, "GL_ARB_compute_shader"),
    CAVIO_GL_CORE(GL_MAX_COMBINED_COMPUTE_UNIFORM_COMPONENTS, integer, 43, "GL_ARB_compute_shader"),
    CAVIO_GL_CORE(GL_MAX_COMPUTE_TEXTURE_IMAGE_UNITS, integer, 43, "GL_ARB_compute_shader"),
    CAVIO_GL_CORE(GL_MAX_COMPUTE_IMAGE_UNIFORMS, integer, 43, "GL_ARB_compute_shader"),
    CAVIO_GL_CORE(GL_MAX_COMPUTE_ATOMIC_COUNTERS, integer, 43, "GL_ARB_compute_shader"),
    CAVIO_GL_CORE(GL_MAX_COMPUTE_ATOMIC_COUNTER_BUFFERS, integer, 43, "GL_ARB_compute_shader"),
    CAVIO_GL_CORE(GL_MAX_COMPUTE_SHADER_STORAGE_BLOCKS, integer, 43, "GL_ARB_shader_storage_buffer_object"),
    // Uniform, storage, atomic-counter and texture buffers, and images.
    CAVIO_GL_CORE(GL_MAX_UNIFORM_BUFFER_BINDINGS, integer, 31, "GL_ARB_uniform_buffer_object"),
    CAVIO_GL_CORE(GL_MAX_UNIFORM_BLOCK_SIZE, integer64, 31, "GL_ARB_uniform_buffer_object"),
    CAVIO_GL_CORE(GL_UNIFORM_BUFFER_OFFSET_ALIGNMENT, integer, 31, "GL_ARB_uniform_buffer_object"),
    CAVIO_GL_CORE(GL_MAX_COMBINED_UNIFORM_BLOCKS, integer, 31, "GL_ARB_uniform_buffer_object"),
    CAVIO_GL_CORE(GL_MAX_UNIFORM_LOCATIONS, integer, 43, "GL_ARB_explicit_uniform_location"),
    CAVIO_GL_CORE(GL_MAX_SHADER_STORAGE_BUFFER_BINDINGS, integer, 43, "GL_ARB_shader_storage_buffer_object"),
    CAVIO_GL_CORE(GL_MAX_SHADER_STORAGE_BLOCK_SIZE, integer64, 43, "GL_ARB_shader_storage_buffer_object"),
    CAVIO_GL_CORE(GL_SHADER_STORAGE_BUFFER_OFFSET_ALIGNMENT, integer, 43,
                  "GL_ARB_shader_storage_buffer_object"),
    CAVIO_GL_CORE(GL_MAX_COMBINED_SHADER_STORAGE_BLOCKS, integer, 43, "GL_ARB_shader_storage_buffer_object"),
    CAVIO_GL_CORE(GL_MAX_COMBINED_SHADER_OUTPUT_RESOURCES, integer, 43,
                  "GL_ARB_shader_storage_buffer_object"),
    CAVIO_GL_CORE(GL_MAX_ATOMIC_COUNTER_BUFFER_BINDINGS, integer, 42, "GL_ARB_shader_atomic_counters"),
    CAVIO_GL_CORE(GL_MAX_ATOMIC_COUNTER_BUFFER_SIZE, integer, 42, "GL_ARB_shader_atomic_counters"),
    CAVIO_GL_CORE(GL_MAX_COMBINED_ATOMIC_COUNTERS, integer, 42, "GL_ARB_shader_atomic_counters"),
    CAVIO_GL_CORE(GL_MAX_COMBINED_ATOMIC_COUNTER_BUFFERS, integer, 42, "GL_ARB_shader_atomic_counters"),
    CAVIO_GL_CORE(GL_MAX_IMAGE_UNITS, integer, 42, "GL_ARB_shader_image_load_store"),
    CAVIO_GL_CORE(GL_MAX_COMBINED_IMAGE_UNIFORMS, integer, 42, "GL_ARB_shader_image_load_store"),
    CAVIO_GL_CORE(GL_MAX_IMAGE_SAMPLES, integer, 42, "GL_ARB_shader_image_load_store"),
    CAVIO_GL_CORE(GL_MAX_TEXTURE_BUFFER_SIZE, integer, 31, nullptr),
    CAVIO_GL_CORE(GL_TEXTURE_BUFFER_OFFSET_ALIGNMENT, integer, 43, "GL_ARB_texture_buffer_range"),
    CAVIO_GL_CORE(GL_MIN_MAP_BUFFER_ALIGNMENT, integer, 42, "GL_ARB_map_buffer_alignment"),
    // Textures and samplers.
    CAVIO_GL_CORE(GL_MAX_ARRAY_TEXTURE_LAYERS, integer, 30, nullptr),
    CAVIO_GL_CORE(GL_MAX_RECTANGLE_TEXTURE_SIZE, integer, 31, nullptr),
    CAVIO_GL_CORE(GL_MAX_TEXTURE_MAX_ANISOTROPY, real, 46, "GL_EXT_texture_filter_anisotropic"),
    CAVIO_GL_CORE(GL_MAX_SPARSE_TEXTURE_SIZE_ARB, integer, 0, "GL_ARB_sparse_texture"),
    CAVIO_GL_CORE(GL_MAX_SAMPLE_MASK_WORDS, integer, 32, "GL_ARB_texture_multisample"),
    CAVIO_GL_CORE(GL_MAX_COLOR_TEXTURE_SAMPLES, integer, 32, "GL_ARB_texture_multisample"),
    CAVIO_GL_CORE(GL_MAX_DEPTH_TEXTURE_SAMPLES, integer, 32, "GL_ARB_texture_multisample"),
    CAVIO_GL_CORE(GL_MAX_INTEGER_SAMPLES, integer, 32, "GL_ARB_texture_multisample"),
    // Transform feedback.
    CAVIO_GL_CORE(GL_MAX_TRANSFORM_FEEDBACK_INTERLEAVED_COMPONENTS, integer, 30, nullptr),
    CAVIO_GL_CORE(GL_MAX_TRANSFORM_FEEDBACK_SEPARATE_ATTRIBS, integer, 30, nullptr),
    CAVIO_GL_CORE(GL_MAX_TRANSFORM_FEEDBACK_SEPARATE_COMPONENTS, integer, 30, nullptr),
    CAVIO_GL_CORE(GL_MAX_TRANSFORM_FEEDBACK_BUFFERS, integer, 40, "GL_ARB_transform_feedback3"),
    // Framebuffers, samples, viewports and primitives.
    CAVIO_GL_CORE(GL_MAX_COLOR_ATTACHMENTS, integer, 30, "GL_ARB_framebuffer_object"),
    CAVIO_GL_CORE(GL_MAX_RENDERBUFFER_SIZE, integer, 30, "GL_ARB_framebuffer_object"),
    CAVIO_GL_CORE(GL_MAX_SAMPLES, integer, 30, "GL_ARB_framebuffer_object"),
    CAVIO_GL_CORE(GL_MAX_FRAMEBUFFER_WIDTH, integer, 43, "GL_ARB_framebuffer_no_attachments"),
    CAVIO_GL_CORE(GL_MAX_FRAMEBUFFER_HEIGHT, integer, 43, "GL_ARB_framebuffer_no_attachments"),
    CAVIO_GL_CORE(GL_MAX_FRAMEBUFFER_LAYERS, integer, 43, "GL_ARB_framebuffer_no_attachments"),
    CAVIO_GL_CORE(GL_MAX_FRAMEBUFFER_SAMPLES, integer, 43, "GL_ARB_framebuffer_no_attachments"),
    CAVIO_GL_CORE(GL_MAX_VIEWPORTS, integer, 41, "GL_ARB_viewport_array"),
    CAVIO_GL_CORE(GL_VIEWPORT_BOUNDS_RANGE, real_pair, 41, "GL_ARB_viewport_array"),
    CAVIO_GL_CORE(GL_VIEWPORT_SUBPIXEL_BITS, integer, 41, "GL_ARB_viewport_array"),
    CAVIO_GL_CORE(GL_LAYER_PROVOKING_VERTEX, integer, 41, "GL_ARB_viewport_array"),
    CAVIO_GL_CORE(GL_VIEWPORT_INDEX_PROVOKING_VERTEX, integer, 41, "GL_ARB_viewport_array"),
    CAVIO_GL_CORE(GL_SUBPIXEL_BITS, integer, 10, nullptr),
    CAVIO_GL_CORE(GL_MAX_CLIP_DISTANCES, integer, 30, nullptr),
    CAVIO_GL_CORE(GL_MAX_CULL_DISTANCES, integer, 45, "GL_ARB_cull_distance"),
    CAVIO_GL_CORE(GL_MAX_COMBINED_CLIP_AND_CULL_DISTANCES, integer, 45, "GL_ARB_cull_distance"),
    CAVIO_GL_CORE(GL_PRIMITIVE_RESTART_FOR_PATCHES_SUPPORTED, boolean, 44, nullptr),
};

#undef CAVIO_GL_LIMIT
#undef CAVIO_GL_CORE

// The table's entry of a name (some enumerants have two names); used at
// compile time, where a name missing from the table stops the build.
constexpr const gl_limit& gl_limit_named(std::string_view name) {
    for (const gl_limit& limit : gl_limits) {
        if (name == limit.name) {
            return limit;
        }
    }
    table_error("no such OpenGL limit");
}

// The index of a name's entry in the table, at compile time.
constexpr size_t gl_limit_index(std::string_view name) {
    return static_cast<size_t>(&gl_limit_named(name) - gl_limits);
}

// The index of the entry the core-profile context is asked for an
// enumerant, at compile time; each value is asked there under one name.
constexpr size_t gl_core_limit_index(GLenum enumerant) {
    for (size_t i = 0; i < std::size(gl_limits); ++i) {
        if (gl_limits[i].core && gl_limits[i].enumerant == enumerant) {
            return i;
        }
    }
    table_error("no such limit of the core-profile context");
}
