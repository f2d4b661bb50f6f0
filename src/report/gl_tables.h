// The rows of the OpenGL pages as data: each row bound to its field of the
// OpenGL record, with its writer and description.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "probe/gl_records.h"

enum class gl_row_kind { text, version, integer, integer_pair, boolean, real, real_pair, blank, section };

struct gl_row {
    gl_row_kind kind;
    const char* name = "";
    const char* description = "";
    std::string gl_record::*text = nullptr;
    int32_t gl_record::*integer = nullptr;
    std::array<int32_t, 2> gl_record::*integer_pair = nullptr;
    bool gl_record::*boolean = nullptr;
    float gl_record::*real = nullptr;
    std::array<float, 2> gl_record::*real_pair = nullptr;
    uint32_t enumerant = 0;  // of a limit's row: the query behind its value
};

constexpr gl_row gl_value(const char* name, std::string gl_record::*field, const char* description) {
    gl_row row{gl_row_kind::text, name, description};
    row.text = field;
    return row;
}
// A version number the implementation wrote as text: "4.6.0".
constexpr gl_row gl_version(const char* name, std::string gl_record::*field, const char* description) {
    gl_row row{gl_row_kind::version, name, description};
    row.text = field;
    return row;
}
constexpr gl_row gl_value(const char* name, int32_t gl_record::*field, const char* description) {
    gl_row row{gl_row_kind::integer, name, description};
    row.integer = field;
    return row;
}
constexpr gl_row gl_value(const char* name, std::array<int32_t, 2> gl_record::*field,
                          const char* description) {
    gl_row row{gl_row_kind::integer_pair, name, description};
    row.integer_pair = field;
    return row;
}
constexpr gl_row gl_value(const char* name, bool gl_record::*field, const char* description) {
    gl_row row{gl_row_kind::boolean, name, description};
    row.boolean = field;
    return row;
}
constexpr gl_row gl_value(const char* name, float gl_record::*field, const char* description) {
    gl_row row{gl_row_kind::real, name, description};
    row.real = field;
    return row;
}
constexpr gl_row gl_value(const char* name, std::array<float, 2> gl_record::*field, const char* description) {
    gl_row row{gl_row_kind::real_pair, name, description};
    row.real_pair = field;
    return row;
}
constexpr gl_row gl_blank() {
    return gl_row{gl_row_kind::blank};
}
constexpr gl_row gl_section(const char* name) {
    return gl_row{gl_row_kind::section, name};
}

// A row of the Core limits page: a section, a string of the core-profile
// context, or a limit of the table with how its value reads.
enum class gl_core_row_kind {
    section,
    version_string,            // glGetString(GL_VERSION)
    shading_language_version,  // glGetString(GL_SHADING_LANGUAGE_VERSION)
    value,                     // as the limit's query gives it
    context_flags,             // GL_CONTEXT_FLAGS: the flags' names
    profile_mask,              // GL_CONTEXT_PROFILE_MASK: the profiles' names
    reset_strategy,            // GL_RESET_NOTIFICATION_STRATEGY
    provoking_vertex,          // which vertex of a primitive chooses the layer or viewport
};

struct gl_core_row {
    gl_core_row_kind kind;
    const char* name;
    size_t limit;  // of a limit's row: its index in gl_limits
    const char* description;
};

namespace gl_rows {

extern const std::span<const gl_row> summary;
extern const std::span<const gl_row> device;
extern const std::span<const gl_row> capabilities;
extern const std::span<const gl_row> rendering;
extern const std::span<const gl_row> textures;  // up to the "[Compressions]" section row
extern const std::span<const gl_row> stacks;
extern const std::span<const gl_row> vertex_shader;
extern const std::span<const gl_core_row> core_limits;

}  // namespace gl_rows
