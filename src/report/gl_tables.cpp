#include "report/gl_tables.h"

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

}  // namespace

namespace gl_rows {

const std::span<const gl_row> summary = summary_rows;
const std::span<const gl_row> device = device_rows;
const std::span<const gl_row> capabilities = capability_rows;
const std::span<const gl_row> rendering = rendering_rows;
const std::span<const gl_row> textures = texture_rows;
const std::span<const gl_row> stacks = stack_rows;
const std::span<const gl_row> vertex_shader = vertex_shader_rows;

}  // namespace gl_rows
