// The OpenGL pages' rows as data, each bound to its field of the record.
#include "report/gl_tables.h"

#include <iterator>
#include <string_view>

#include "probe/gl_limits.h"

namespace {

// A limit's row: named after its enumerant, showing the record member that
// the probe reads the enumerant into.
constexpr gl_row limit_row(std::string_view name, const char* description) {
    const gl_limit& limit = gl_limit_named(name);
    gl_row row = gl_blank();
    switch (limit.kind) {
        case gl_limit_kind::boolean:
            row = gl_value(limit.name, limit.boolean, description);
            break;
        case gl_limit_kind::integer:
            row = gl_value(limit.name, limit.integer, description);
            break;
        case gl_limit_kind::integer_pair:
            row = gl_value(limit.name, limit.integer_pair, description);
            break;
        case gl_limit_kind::real:
            row = gl_value(limit.name, limit.real, description);
            break;
        case gl_limit_kind::real_pair:
            row = gl_value(limit.name, limit.real_pair, description);
            break;
        case gl_limit_kind::integer64:
        case gl_limit_kind::integer_triple:
            table_error("a limit of the core-profile context alone has no member to show");
    }
    row.enumerant = limit.enumerant;
    return row;
}

#define GL_LIMIT(enumerant, description) limit_row(#enumerant, description)

constexpr gl_row summary_rows[] = {
    gl_value("Renderer", &gl_record::renderer, ""),
    gl_value("Vendor", &gl_record::vendor, ""),
    gl_blank(),
    gl_version("GL version", &gl_record::version, ""),
    gl_version("GLU version", &gl_record::glu_version, ""),
    gl_blank(),
    gl_value("Shading language version", &gl_record::shading_language_version, ""),
};

constexpr gl_row device_rows[] = {
    gl_value("Renderer", &gl_record::renderer, "Name of the renderer. This is specific to a hardware."),
    gl_value("Vendor", &gl_record::vendor, "Company of the OpenGL implementation."),
    gl_blank(),
    gl_version("Version", &gl_record::version, "OpenGL version number."),
    gl_value("Version string", &gl_record::version_string, "Full returned string of OpenGL version."),
    gl_blank(),
    gl_version("GLU version", &gl_record::glu_version, "OpenGL utility library version."),
    gl_value("GLU version string", &gl_record::glu_version_string,
             "Full returned string of OpenGL utility library version."),
};

constexpr gl_row capability_rows[] = {
    GL_LIMIT(GL_MAX_ELEMENTS_INDICES,
             "The recommended maximum number of vertex array indices. See glDrawRangeElements."),
    GL_LIMIT(GL_MAX_ELEMENTS_VERTICES,
             "The recommended maximum number of vertex array vertices. See glDrawRangeElements."),
    gl_blank(),
    GL_LIMIT(GL_MAX_VIEWPORT_DIMS,
             "The maximum supported width and height of the viewport. They must be at least as large as the "
             "visible size of the display rendered to. See glViewport."),
    GL_LIMIT(GL_MAX_CLIP_PLANES,
             "The maximum number of application-defined clipping planes. The value must be at least 6. See "
             "glClipPlane."),
    gl_blank(),
    GL_LIMIT(
        GL_MAX_EVAL_ORDER,
        "The maximum equation order supported by 1D and 2D evaluators. The value must be at least 8. See "
        "glMap1 and glMap2."),
    GL_LIMIT(GL_MAX_VARYING_FLOATS,
             "The maximum number of interpolated floating-point values that a vertex shader can pass to a "
             "fragment shader. The value must be at least 32. See glLinkProgram."),
    GL_LIMIT(GL_MAX_PIXEL_MAP_TABLE,
             "The maximum size of a pixel map lookup table. The value must be at least 32. See glPixelMap."),
};

constexpr const char* antialiased_line_widths =
    "The smallest and largest supported widths for antialiased lines. See glLineWidth.";

constexpr gl_row rendering_rows[] = {
    GL_LIMIT(GL_MAX_LIGHTS, "The maximum number of lights. The value must be at least 8. See glLight."),
    GL_LIMIT(
        GL_MAX_FRAGMENT_UNIFORM_COMPONENTS,
        "The maximum number of components of the uniform variables of a fragment shader. The value must be "
        "at least 64. See glUniform."),
    gl_blank(),
    GL_LIMIT(
        GL_MAX_DRAW_BUFFERS,
        "The maximum number of colour buffers that can be drawn to at once. The value must be at least 1. "
        "See glDrawBuffers."),
    GL_LIMIT(GL_AUX_BUFFERS, "The number of auxiliary colour buffers. The value may be 0. See glDrawBuffer."),
    GL_LIMIT(GL_DOUBLEBUFFER, "Whether the pixel format has a front and a back buffer. See glDrawBuffer."),
    GL_LIMIT(GL_STEREO, "Whether the pixel format has left and right stereo buffers. See glDrawBuffer."),
    gl_blank(),
    gl_value("Shading language version", &gl_record::shading_language_version,
             "Version and release number for the shading language."),
    gl_blank(),
    gl_section("[Points]"),
    GL_LIMIT(
        GL_POINT_SIZE_RANGE,
        "The smallest and largest supported sizes for antialiased points. The smallest must be at most 1 and "
        "the largest at least 1. See glPointSize."),
    GL_LIMIT(GL_POINT_SIZE_GRANULARITY,
             "The difference between adjacent supported sizes for antialiased points. See glPointSize."),
    GL_LIMIT(
        GL_SMOOTH_POINT_SIZE_RANGE,
        "The smallest and largest supported sizes for antialiased points, under the name OpenGL 1.2 gave "
        "them. See glPointSize."),
    GL_LIMIT(
        GL_SMOOTH_POINT_SIZE_GRANULARITY,
        "The difference between adjacent supported sizes for antialiased points, under the name OpenGL 1.2 "
        "gave it. See glPointSize."),
    GL_LIMIT(GL_ALIASED_POINT_SIZE_RANGE,
             "The smallest and largest supported sizes for aliased points. The range must include 1. See "
             "glPointSize."),
    gl_blank(),
    gl_section("[Lines]"),
    GL_LIMIT(GL_LINE_WIDTH_RANGE, antialiased_line_widths),
    GL_LIMIT(GL_LINE_WIDTH_GRANULARITY,
             "The difference between adjacent supported widths for antialiased lines. See glLineWidth."),
    GL_LIMIT(GL_SMOOTH_LINE_WIDTH_RANGE, antialiased_line_widths),
    GL_LIMIT(
        GL_SMOOTH_LINE_WIDTH_GRANULARITY,
        "The difference between adjacent supported widths for antialiased lines, under the name OpenGL 1.2 "
        "gave it. See glLineWidth."),
    GL_LIMIT(GL_ALIASED_LINE_WIDTH_RANGE,
             "The smallest and largest supported widths for aliased lines. The range must include 1. See "
             "glLineWidth."),
};

constexpr gl_row texture_rows[] = {
    GL_LIMIT(
        GL_MAX_TEXTURE_SIZE,
        "A rough estimate of the largest texture the implementation can handle. The value must be at least "
        "64. See glTexImage2D."),
    GL_LIMIT(
        GL_MAX_CUBE_MAP_TEXTURE_SIZE,
        "A rough estimate of the largest cube-map texture the implementation can handle. The value must be "
        "at least 16. See glTexImage2D."),
    GL_LIMIT(GL_MAX_3D_TEXTURE_SIZE,
             "A rough estimate of the largest 3D texture the implementation can handle. The value must be at "
             "least 16. See glTexImage3D."),
    gl_blank(),
    GL_LIMIT(
        GL_MAX_TEXTURE_UNITS,
        "The number of fixed-function texture units. The value must be at least 2. See glActiveTexture."),
    GL_LIMIT(
        GL_MAX_TEXTURE_IMAGE_UNITS,
        "The maximum number of texture image units a fragment shader can read from. The value must be at "
        "least 2. See glActiveTexture."),
    GL_LIMIT(
        GL_MAX_TEXTURE_STACK_DEPTH,
        "The maximum depth of the texture matrix stack. The value must be at least 2. See glPushMatrix."),
    GL_LIMIT(
        GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS,
        "The maximum number of texture image units the vertex and fragment shaders together can read from. "
        "The value must be at least 2. See glActiveTexture."),
    gl_blank(),
    GL_LIMIT(
        GL_MAX_TEXTURE_COORDS,
        "The maximum number of texture coordinate sets available to shaders. The value must be at least 2. "
        "See glTexCoord."),
    GL_LIMIT(
        GL_MAX_TEXTURE_LOD_BIAS,
        "The largest absolute texture level-of-detail bias, rounded to a whole number. The value must be at "
        "least 2. See glTexEnv."),
    gl_blank(),
    GL_LIMIT(
        GL_NUM_COMPRESSED_TEXTURE_FORMATS,
        "Integer value indicating the number of available compressed texture formats. The minimum value is "
        "0. See glCompressedTexImage2D."),
    gl_blank(),
    gl_section("[Compressions]"),
};

constexpr gl_row stack_rows[] = {
    GL_LIMIT(GL_MAX_NAME_STACK_DEPTH,
             "The maximum depth of the selection name stack. The value must be at least 64. See glPushName."),
    GL_LIMIT(
        GL_MAX_PROJECTION_STACK_DEPTH,
        "The maximum depth of the projection matrix stack. The value must be at least 2. See glPushMatrix."),
    GL_LIMIT(
        GL_MAX_COLOR_MATRIX_STACK_DEPTH,
        "The maximum depth of the colour matrix stack of the imaging subset. The value must be at least 2. "
        "See glPushMatrix."),
    gl_blank(),
    GL_LIMIT(GL_MAX_ATTRIB_STACK_DEPTH,
             "The maximum depth of the attribute stack. The value must be at least 16. See glPushAttrib."),
    GL_LIMIT(GL_MAX_CLIENT_ATTRIB_STACK_DEPTH,
             "The maximum depth of the client attribute stack. The value must be at least 16. See "
             "glPushClientAttrib."),
    gl_blank(),
    GL_LIMIT(
        GL_MAX_MODELVIEW_STACK_DEPTH,
        "The maximum depth of the modelview matrix stack. The value must be at least 32. See glPushMatrix."),
    GL_LIMIT(
        GL_MAX_LIST_NESTING,
        "The maximum recursion depth of display-list calls. The value must be at least 64. See glCallList."),
};

constexpr gl_row vertex_shader_rows[] = {
    GL_LIMIT(
        GL_MAX_VERTEX_ATTRIBS,
        "The maximum number of four-component generic vertex attributes. The value must be at least 16. See "
        "glVertexAttribPointer."),
    GL_LIMIT(
        GL_MAX_VERTEX_TEXTURE_IMAGE_UNITS,
        "The maximum number of texture image units a vertex shader can read from. The value may be 0. See "
        "glActiveTexture."),
    GL_LIMIT(
        GL_MAX_VERTEX_UNIFORM_COMPONENTS,
        "The maximum number of components of the uniform variables of a vertex shader. The value must be at "
        "least 512. See glUniform."),
};

#undef GL_LIMIT

// ---- Core limits page --------------------------------------------------------

constexpr gl_core_row core_section(const char* name, const char* description) {
    return {gl_core_row_kind::section, name, 0, description};
}
// Found by value, the table's entries of the core profile having each value
// once, then checked by name.
constexpr gl_core_row core_row(GLenum enumerant, std::string_view name, const char* description,
                               gl_core_row_kind kind = gl_core_row_kind::value) {
    const size_t index = gl_core_limit_index(enumerant);
    if (name != gl_limits[index].name) {
        table_error("the core-profile context is asked this value under another name");
    }
    return {kind, gl_limits[index].name, index, description};
}

#define CORE(enumerant, description) core_row(enumerant, #enumerant, description)
#define CORE_AS(enumerant, kind, description) \
    core_row(enumerant, #enumerant, description, gl_core_row_kind::kind)

constexpr gl_core_row core_limit_rows[] = {
    core_section("[Context]", "The core-profile context the limits below come from."),
    {gl_core_row_kind::version_string, "GL_VERSION", 0, "The version text of the core-profile context."},
    {gl_core_row_kind::shading_language_version, "GL_SHADING_LANGUAGE_VERSION", 0,
     "The highest version of the shading language the context compiles."},
    CORE(GL_MAJOR_VERSION, "The major number of the context's OpenGL version."),
    CORE(GL_MINOR_VERSION, "The minor number of the context's OpenGL version."),
    CORE_AS(GL_CONTEXT_PROFILE_MASK, profile_mask, "The profile the context was made with."),
    CORE_AS(GL_CONTEXT_FLAGS, context_flags,
            "The flags the context was made with: forward compatible, debug, robust access, no error."),
    CORE(GL_NUM_EXTENSIONS, "The number of extensions the context lists through glGetStringi."),
    CORE(GL_NUM_SHADING_LANGUAGE_VERSIONS, "The number of shading language versions the context accepts."),
    CORE_AS(GL_RESET_NOTIFICATION_STRATEGY, reset_strategy,
            "What the context does when the graphics device is reset."),
    CORE(GL_NUM_PROGRAM_BINARY_FORMATS, "The number of formats in which a linked program can be saved."),
    CORE(GL_NUM_SHADER_BINARY_FORMATS, "The number of formats in which compiled shaders can be loaded."),
    CORE(GL_MAX_SERVER_WAIT_TIMEOUT, "The longest time, in nanoseconds, that glWaitSync may wait."),
    CORE(GL_MAX_SHADER_COMPILER_THREADS_ARB,
         "The number of threads that may compile shaders at once; -1 lets the implementation choose."),
    CORE(GL_MAX_DEBUG_MESSAGE_LENGTH, "The longest debug message, in characters, including its end."),
    CORE(GL_MAX_DEBUG_LOGGED_MESSAGES, "The most debug messages the context keeps until they are read."),
    CORE(GL_MAX_DEBUG_GROUP_STACK_DEPTH, "The deepest nesting of debug groups."),
    CORE(GL_MAX_LABEL_LENGTH, "The longest label an object can be given, in characters."),

    core_section("[Vertex]", "Vertex input and vertex shaders."),
    CORE(GL_MAX_VERTEX_ATTRIBS, "The number of four-component generic vertex attributes."),
    CORE(GL_MAX_VERTEX_ATTRIB_BINDINGS, "The number of vertex buffer binding points."),
    CORE(GL_MAX_VERTEX_ATTRIB_RELATIVE_OFFSET,
         "The largest offset, in bytes, of an attribute from the start of its binding's element."),
    CORE(GL_MAX_VERTEX_ATTRIB_STRIDE, "The largest distance, in bytes, between consecutive vertices."),
    CORE(GL_MAX_ELEMENTS_VERTICES, "The recommended largest number of vertices for glDrawRangeElements."),
    CORE(GL_MAX_ELEMENTS_INDICES, "The recommended largest number of indices for glDrawRangeElements."),
    CORE(GL_MAX_ELEMENT_INDEX, "The largest index value a draw call may use."),
    CORE(GL_MAX_VERTEX_UNIFORM_COMPONENTS,
         "The number of components of the default uniform block of a vertex shader."),
    CORE(GL_MAX_VERTEX_UNIFORM_VECTORS,
         "The number of four-component vectors of the default uniform block of a vertex shader."),
    CORE(GL_MAX_VERTEX_UNIFORM_BLOCKS, "The number of uniform blocks a vertex shader can use."),
    CORE(GL_MAX_COMBINED_VERTEX_UNIFORM_COMPONENTS,
         "The number of uniform components of a vertex shader, its uniform blocks included."),
    CORE(GL_MAX_VERTEX_OUTPUT_COMPONENTS, "The number of components a vertex shader can write out."),
    CORE(GL_MAX_VARYING_COMPONENTS, "The number of components passed between shader stages."),
    CORE(GL_MAX_VARYING_VECTORS, "The number of four-component vectors passed between shader stages."),
    CORE(GL_MAX_VERTEX_TEXTURE_IMAGE_UNITS, "The number of texture units a vertex shader can read from."),
    CORE(GL_MAX_VERTEX_IMAGE_UNIFORMS, "The number of images a vertex shader can load from and store to."),
    CORE(GL_MAX_VERTEX_ATOMIC_COUNTERS, "The number of atomic counters a vertex shader can use."),
    CORE(GL_MAX_VERTEX_ATOMIC_COUNTER_BUFFERS,
         "The number of atomic counter buffers a vertex shader can use."),
    CORE(GL_MAX_VERTEX_SHADER_STORAGE_BLOCKS, "The number of shader storage blocks a vertex shader can use."),

    core_section("[Tessellation]", "Tessellation control and evaluation shaders."),
    CORE(GL_MAX_PATCH_VERTICES, "The most vertices a patch can have."),
    CORE(GL_MAX_TESS_GEN_LEVEL, "The highest tessellation level the tessellator applies."),
    CORE(GL_MAX_TESS_CONTROL_INPUT_COMPONENTS,
         "The number of components of each vertex a tessellation control shader reads."),
    CORE(GL_MAX_TESS_CONTROL_OUTPUT_COMPONENTS,
         "The number of components of each vertex a tessellation control shader writes."),
    CORE(GL_MAX_TESS_PATCH_COMPONENTS,
         "The number of per-patch components a tessellation control shader writes."),
    CORE(GL_MAX_TESS_CONTROL_TOTAL_OUTPUT_COMPONENTS,
         "The number of components a tessellation control shader writes for a patch, all vertices together."),
    CORE(GL_MAX_TESS_EVALUATION_INPUT_COMPONENTS,
         "The number of components of each vertex a tessellation evaluation shader reads."),
    CORE(GL_MAX_TESS_EVALUATION_OUTPUT_COMPONENTS,
         "The number of components of each vertex a tessellation evaluation shader writes."),
    CORE(GL_MAX_TESS_CONTROL_UNIFORM_COMPONENTS,
         "The number of components of the default uniform block of a tessellation control shader."),
    CORE(GL_MAX_TESS_EVALUATION_UNIFORM_COMPONENTS,
         "The number of components of the default uniform block of a tessellation evaluation shader."),
    CORE(GL_MAX_TESS_CONTROL_UNIFORM_BLOCKS,
         "The number of uniform blocks a tessellation control shader can use."),
    CORE(GL_MAX_TESS_EVALUATION_UNIFORM_BLOCKS,
         "The number of uniform blocks a tessellation evaluation shader can use."),
    CORE(GL_MAX_COMBINED_TESS_CONTROL_UNIFORM_COMPONENTS,
         "The number of uniform components of a tessellation control shader, its uniform blocks included."),
    CORE(
        GL_MAX_COMBINED_TESS_EVALUATION_UNIFORM_COMPONENTS,
        "The number of uniform components of a tessellation evaluation shader, its uniform blocks included."),
    CORE(GL_MAX_TESS_CONTROL_TEXTURE_IMAGE_UNITS,
         "The number of texture units a tessellation control shader can read from."),
    CORE(GL_MAX_TESS_EVALUATION_TEXTURE_IMAGE_UNITS,
         "The number of texture units a tessellation evaluation shader can read from."),
    CORE(GL_MAX_TESS_CONTROL_IMAGE_UNIFORMS,
         "The number of images a tessellation control shader can load from and store to."),
    CORE(GL_MAX_TESS_EVALUATION_IMAGE_UNIFORMS,
         "The number of images a tessellation evaluation shader can load from and store to."),
    CORE(GL_MAX_TESS_CONTROL_ATOMIC_COUNTERS,
         "The number of atomic counters a tessellation control shader can use."),
    CORE(GL_MAX_TESS_EVALUATION_ATOMIC_COUNTERS,
         "The number of atomic counters a tessellation evaluation shader can use."),
    CORE(GL_MAX_TESS_CONTROL_ATOMIC_COUNTER_BUFFERS,
         "The number of atomic counter buffers a tessellation control shader can use."),
    CORE(GL_MAX_TESS_EVALUATION_ATOMIC_COUNTER_BUFFERS,
         "The number of atomic counter buffers a tessellation evaluation shader can use."),
    CORE(GL_MAX_TESS_CONTROL_SHADER_STORAGE_BLOCKS,
         "The number of shader storage blocks a tessellation control shader can use."),
    CORE(GL_MAX_TESS_EVALUATION_SHADER_STORAGE_BLOCKS,
         "The number of shader storage blocks a tessellation evaluation shader can use."),

    core_section("[Geometry]", "Geometry shaders."),
    CORE(GL_MAX_GEOMETRY_INPUT_COMPONENTS,
         "The number of components of each vertex a geometry shader reads."),
    CORE(GL_MAX_GEOMETRY_OUTPUT_COMPONENTS,
         "The number of components of each vertex a geometry shader writes."),
    CORE(GL_MAX_GEOMETRY_OUTPUT_VERTICES, "The most vertices one run of a geometry shader can emit."),
    CORE(GL_MAX_GEOMETRY_TOTAL_OUTPUT_COMPONENTS,
         "The number of components one run of a geometry shader can emit, all vertices together."),
    CORE(GL_MAX_GEOMETRY_SHADER_INVOCATIONS, "The most times a geometry shader can run for one primitive."),
    CORE(GL_MAX_VERTEX_STREAMS, "The number of vertex streams a geometry shader can emit to."),
    CORE(GL_MAX_GEOMETRY_UNIFORM_COMPONENTS,
         "The number of components of the default uniform block of a geometry shader."),
    CORE(GL_MAX_GEOMETRY_UNIFORM_BLOCKS, "The number of uniform blocks a geometry shader can use."),
    CORE(GL_MAX_COMBINED_GEOMETRY_UNIFORM_COMPONENTS,
         "The number of uniform components of a geometry shader, its uniform blocks included."),
    CORE(GL_MAX_GEOMETRY_TEXTURE_IMAGE_UNITS, "The number of texture units a geometry shader can read from."),
    CORE(GL_MAX_GEOMETRY_IMAGE_UNIFORMS,
         "The number of images a geometry shader can load from and store to."),
    CORE(GL_MAX_GEOMETRY_ATOMIC_COUNTERS, "The number of atomic counters a geometry shader can use."),
    CORE(GL_MAX_GEOMETRY_ATOMIC_COUNTER_BUFFERS,
         "The number of atomic counter buffers a geometry shader can use."),
    CORE(GL_MAX_GEOMETRY_SHADER_STORAGE_BLOCKS,
         "The number of shader storage blocks a geometry shader can use."),

    core_section("[Fragment]", "Fragment shaders and what they write to."),
    CORE(GL_MAX_FRAGMENT_INPUT_COMPONENTS, "The number of components a fragment shader reads in."),
    CORE(GL_MAX_FRAGMENT_UNIFORM_COMPONENTS,
         "The number of components of the default uniform block of a fragment shader."),
    CORE(GL_MAX_FRAGMENT_UNIFORM_VECTORS,
         "The number of four-component vectors of the default uniform block of a fragment shader."),
    CORE(GL_MAX_FRAGMENT_UNIFORM_BLOCKS, "The number of uniform blocks a fragment shader can use."),
    CORE(GL_MAX_COMBINED_FRAGMENT_UNIFORM_COMPONENTS,
         "The number of uniform components of a fragment shader, its uniform blocks included."),
    CORE(GL_MAX_TEXTURE_IMAGE_UNITS, "The number of texture units a fragment shader can read from."),
    CORE(GL_MAX_FRAGMENT_IMAGE_UNIFORMS,
         "The number of images a fragment shader can load from and store to."),
    CORE(GL_MAX_FRAGMENT_ATOMIC_COUNTERS, "The number of atomic counters a fragment shader can use."),
    CORE(GL_MAX_FRAGMENT_ATOMIC_COUNTER_BUFFERS,
         "The number of atomic counter buffers a fragment shader can use."),
    CORE(GL_MAX_FRAGMENT_SHADER_STORAGE_BLOCKS,
         "The number of shader storage blocks a fragment shader can use."),
    CORE(GL_MIN_PROGRAM_TEXEL_OFFSET, "The most negative texel offset of a texture lookup."),
    CORE(GL_MAX_PROGRAM_TEXEL_OFFSET, "The largest texel offset of a texture lookup."),
    CORE(GL_MIN_PROGRAM_TEXTURE_GATHER_OFFSET, "The most negative texel offset of a texture gather."),
    CORE(GL_MAX_PROGRAM_TEXTURE_GATHER_OFFSET, "The largest texel offset of a texture gather."),
    CORE(GL_MIN_FRAGMENT_INTERPOLATION_OFFSET,
         "The most negative offset, in pixels, at which an input can be interpolated."),
    CORE(GL_MAX_FRAGMENT_INTERPOLATION_OFFSET,
         "The largest offset, in pixels, at which an input can be interpolated."),
    CORE(GL_FRAGMENT_INTERPOLATION_OFFSET_BITS,
         "The number of bits of subpixel precision of an interpolation offset."),
    CORE(GL_MAX_SUBROUTINES, "The number of subroutines a shader stage can have."),
    CORE(GL_MAX_SUBROUTINE_UNIFORM_LOCATIONS,
         "The number of subroutine uniform locations a shader stage can have."),
    CORE(GL_MAX_DRAW_BUFFERS, "The number of colour buffers a fragment shader can write to at once."),
    CORE(GL_MAX_DUAL_SOURCE_DRAW_BUFFERS,
         "The number of colour buffers that can be written with two source colours for blending."),

    core_section("[Compute]", "Compute shaders, and the work groups they run in."),
    CORE(GL_MAX_COMPUTE_WORK_GROUP_COUNT, "The most work groups one dispatch can start, along x, y and z."),
    CORE(GL_MAX_COMPUTE_WORK_GROUP_SIZE, "The largest size of one work group, along x, y and z."),
    CORE(GL_MAX_COMPUTE_WORK_GROUP_INVOCATIONS,
         "The most invocations one work group can have, all axes together."),
    CORE(GL_MAX_COMPUTE_SHARED_MEMORY_SIZE,
         "The bytes of shared memory the invocations of one work group have together."),
    CORE(GL_MAX_COMPUTE_UNIFORM_COMPONENTS,
         "The number of components of the default uniform block of a compute shader."),
    CORE(GL_MAX_COMPUTE_UNIFORM_BLOCKS, "The number of uniform blocks a compute shader can use."),
    CORE(GL_MAX_COMBINED_COMPUTE_UNIFORM_COMPONENTS,
         "The number of uniform components of a compute shader, its uniform blocks included."),
    CORE(GL_MAX_COMPUTE_TEXTURE_IMAGE_UNITS, "The number of texture units a compute shader can read from."),
    CORE(GL_MAX_COMPUTE_IMAGE_UNIFORMS, "The number of images a compute shader can load from and store to."),
    CORE(GL_MAX_COMPUTE_ATOMIC_COUNTERS, "The number of atomic counters a compute shader can use."),
    CORE(GL_MAX_COMPUTE_ATOMIC_COUNTER_BUFFERS,
         "The number of atomic counter buffers a compute shader can use."),
    CORE(GL_MAX_COMPUTE_SHADER_STORAGE_BLOCKS,
         "The number of shader storage blocks a compute shader can use."),

    core_section("[Buffers]", "Uniform, shader storage, atomic counter and texture buffers, and images."),
    CORE(GL_MAX_UNIFORM_BUFFER_BINDINGS, "The number of uniform buffer binding points."),
    CORE(GL_MAX_UNIFORM_BLOCK_SIZE, "The largest uniform block, in bytes."),
    CORE(GL_UNIFORM_BUFFER_OFFSET_ALIGNMENT,
         "The alignment, in bytes, of the offset at which a uniform buffer is bound."),
    CORE(GL_MAX_COMBINED_UNIFORM_BLOCKS, "The number of uniform blocks all stages of a program can use."),
    CORE(GL_MAX_UNIFORM_LOCATIONS, "The number of uniform locations a shader can assign explicitly."),
    CORE(GL_MAX_SHADER_STORAGE_BUFFER_BINDINGS, "The number of shader storage buffer binding points."),
    CORE(GL_MAX_SHADER_STORAGE_BLOCK_SIZE, "The largest shader storage block, in bytes."),
    CORE(GL_SHADER_STORAGE_BUFFER_OFFSET_ALIGNMENT,
         "The alignment, in bytes, of the offset at which a shader storage buffer is bound."),
    CORE(GL_MAX_COMBINED_SHADER_STORAGE_BLOCKS,
         "The number of shader storage blocks all stages of a program can use."),
    CORE(GL_MAX_COMBINED_SHADER_OUTPUT_RESOURCES,
         "The number of storage blocks, images and fragment outputs a program can write, all together."),
    CORE(GL_MAX_ATOMIC_COUNTER_BUFFER_BINDINGS, "The number of atomic counter buffer binding points."),
    CORE(GL_MAX_ATOMIC_COUNTER_BUFFER_SIZE, "The largest atomic counter buffer, in bytes."),
    CORE(GL_MAX_COMBINED_ATOMIC_COUNTERS, "The number of atomic counters all stages of a program can use."),
    CORE(GL_MAX_COMBINED_ATOMIC_COUNTER_BUFFERS,
         "The number of atomic counter buffers all stages of a program can use."),
    CORE(GL_MAX_IMAGE_UNITS, "The number of image units images can be bound to."),
    CORE(GL_MAX_COMBINED_IMAGE_UNIFORMS, "The number of images all stages of a program can use."),
    CORE(GL_MAX_IMAGE_SAMPLES, "The most samples of a multisample texture bound as an image."),
    CORE(GL_MAX_TEXTURE_BUFFER_SIZE, "The most texels a buffer texture can address."),
    CORE(GL_TEXTURE_BUFFER_OFFSET_ALIGNMENT,
         "The alignment, in bytes, of the offset at which a buffer texture starts."),
    CORE(GL_MIN_MAP_BUFFER_ALIGNMENT, "The alignment, in bytes, of the pointer glMapBuffer returns."),

    core_section("[Textures and samplers]", "Texture sizes, filtering and multisample textures."),
    CORE(GL_MAX_TEXTURE_SIZE, "The largest width or height of a 1D or 2D texture, in texels."),
    CORE(GL_MAX_3D_TEXTURE_SIZE, "The largest width, height or depth of a 3D texture, in texels."),
    CORE(GL_MAX_CUBE_MAP_TEXTURE_SIZE, "The largest width or height of a cube map face, in texels."),
    CORE(GL_MAX_RECTANGLE_TEXTURE_SIZE, "The largest width or height of a rectangle texture, in texels."),
    CORE(GL_MAX_ARRAY_TEXTURE_LAYERS, "The most layers of an array texture."),
    CORE(GL_MAX_SPARSE_TEXTURE_SIZE_ARB, "The largest width or height of a sparse texture, in texels."),
    CORE(GL_MAX_TEXTURE_LOD_BIAS, "The largest absolute level-of-detail bias of a texture lookup."),
    CORE(GL_MAX_TEXTURE_MAX_ANISOTROPY, "The highest degree of anisotropic filtering a sampler can ask for."),
    CORE(GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS, "The number of texture units all stages of a program can use."),
    CORE(GL_NUM_COMPRESSED_TEXTURE_FORMATS, "The number of compressed texture formats glGetIntegerv lists."),
    CORE(GL_MAX_SAMPLE_MASK_WORDS, "The number of 32-bit words of the sample mask."),
    CORE(GL_MAX_COLOR_TEXTURE_SAMPLES, "The most samples of a multisample colour texture."),
    CORE(GL_MAX_DEPTH_TEXTURE_SAMPLES, "The most samples of a multisample depth or stencil texture."),
    CORE(GL_MAX_INTEGER_SAMPLES, "The most samples of a multisample texture or renderbuffer of integers."),

    core_section("[Transform feedback]", "Vertex data written back to buffers."),
    CORE(GL_MAX_TRANSFORM_FEEDBACK_BUFFERS, "The number of buffers transform feedback can write to."),
    CORE(GL_MAX_TRANSFORM_FEEDBACK_INTERLEAVED_COMPONENTS,
         "The number of components transform feedback can write interleaved into one buffer."),
    CORE(GL_MAX_TRANSFORM_FEEDBACK_SEPARATE_ATTRIBS,
         "The number of outputs transform feedback can write, each to a buffer of its own."),
    CORE(GL_MAX_TRANSFORM_FEEDBACK_SEPARATE_COMPONENTS,
         "The number of components of each output written to a buffer of its own."),

    core_section("[Framebuffers and samples]", "Framebuffers, renderbuffers, viewports and primitives."),
    CORE(GL_MAX_COLOR_ATTACHMENTS, "The number of colour attachments of a framebuffer object."),
    CORE(GL_MAX_RENDERBUFFER_SIZE, "The largest width or height of a renderbuffer, in pixels."),
    CORE(GL_MAX_SAMPLES, "The most samples of a multisample renderbuffer."),
    CORE(GL_MAX_FRAMEBUFFER_WIDTH, "The largest width of a framebuffer without attachments, in pixels."),
    CORE(GL_MAX_FRAMEBUFFER_HEIGHT, "The largest height of a framebuffer without attachments, in pixels."),
    CORE(GL_MAX_FRAMEBUFFER_LAYERS, "The most layers of a framebuffer without attachments."),
    CORE(GL_MAX_FRAMEBUFFER_SAMPLES, "The most samples of a framebuffer without attachments."),
    CORE(GL_DOUBLEBUFFER, "Whether the pixel format has a front and a back buffer."),
    CORE(GL_STEREO, "Whether the pixel format has left and right buffers."),
    CORE(GL_MAX_VIEWPORT_DIMS, "The largest width and height of a viewport, in pixels."),
    CORE(GL_MAX_VIEWPORTS, "The number of viewports a geometry shader can choose from."),
    CORE(GL_VIEWPORT_BOUNDS_RANGE, "The smallest and largest coordinates of a viewport's corner."),
    CORE(GL_VIEWPORT_SUBPIXEL_BITS, "The number of bits of subpixel precision of a viewport's bounds."),
    CORE_AS(GL_LAYER_PROVOKING_VERTEX, provoking_vertex,
            "Which vertex of a primitive chooses the layer it is drawn to."),
    CORE_AS(GL_VIEWPORT_INDEX_PROVOKING_VERTEX, provoking_vertex,
            "Which vertex of a primitive chooses the viewport it is drawn in."),
    CORE(GL_SUBPIXEL_BITS, "The number of bits of subpixel precision of window coordinates."),
    CORE(GL_MAX_CLIP_DISTANCES, "The number of clip distances a shader can write."),
    CORE(GL_MAX_CULL_DISTANCES, "The number of cull distances a shader can write."),
    CORE(GL_MAX_COMBINED_CLIP_AND_CULL_DISTANCES,
         "The number of clip and cull distances a shader can write, together."),
    CORE(GL_PRIMITIVE_RESTART_FOR_PATCHES_SUPPORTED, "Whether primitive restart applies to patches."),
    CORE(GL_POINT_SIZE_RANGE, "The smallest and largest size of a point."),
    CORE(GL_POINT_SIZE_GRANULARITY, "The difference between adjacent sizes of a point."),
    CORE(GL_ALIASED_LINE_WIDTH_RANGE, "The smallest and largest width of an aliased line."),
    CORE(GL_SMOOTH_LINE_WIDTH_RANGE, "The smallest and largest width of an antialiased line."),
    CORE(GL_SMOOTH_LINE_WIDTH_GRANULARITY, "The difference between adjacent widths of an antialiased line."),
};

#undef CORE
#undef CORE_AS

// Every limit the core-profile context is asked has one row, and no other.
constexpr bool every_core_limit_shown_once() {
    for (size_t i = 0; i < std::size(gl_limits); ++i) {
        int shown = 0;
        for (const gl_core_row& row : core_limit_rows) {
            const bool is_limit = row.kind != gl_core_row_kind::section &&
                                  row.kind != gl_core_row_kind::version_string &&
                                  row.kind != gl_core_row_kind::shading_language_version;
            shown += is_limit && row.limit == i ? 1 : 0;
        }
        if (shown != (gl_limits[i].core ? 1 : 0)) {
            return false;
        }
    }
    return true;
}
static_assert(every_core_limit_shown_once());

}  // namespace

namespace gl_rows {

const std::span<const gl_row> summary = summary_rows;
const std::span<const gl_row> device = device_rows;
const std::span<const gl_row> capabilities = capability_rows;
const std::span<const gl_row> rendering = rendering_rows;
const std::span<const gl_row> textures = texture_rows;
const std::span<const gl_row> stacks = stack_rows;
const std::span<const gl_row> vertex_shader = vertex_shader_rows;
const std::span<const gl_core_row> core_limits = core_limit_rows;

}  // namespace gl_rows
