// The eight OpenGL pages of one OpenGL record.
#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "probe/gl_extensions.h"
#include "refdata/format_names.h"
#include "probe/gl_limits.h"
#include "report/gl_tables.h"
#include "report/page_writer.h"
#include "report/page_writers.h"
#include "report/value_format.h"

namespace {

void add_rows(page_writer& page, const gl_record& record, std::span<const gl_row> rows) {
    for (const gl_row& row : rows) {
        switch (row.kind) {
            case gl_row_kind::text:
                page.text(row.name, record.*row.text, row.description);
                break;
            case gl_row_kind::version:
                page.version(row.name, record.*row.text, row.description);
                break;
            case gl_row_kind::integer:
                page.number(row.name, record.*row.integer, row.description);
                break;
            case gl_row_kind::integer_pair:
                page.integer_pair(row.name, record.*row.integer_pair, row.description);
                break;
            case gl_row_kind::boolean:
                page.yes_no(row.name, record.*row.boolean, row.description);
                break;
            case gl_row_kind::real:
                page.real(row.name, record.*row.real, row.description);
                break;
            case gl_row_kind::real_pair:
                page.real_pair(row.name, record.*row.real_pair, row.description);
                break;
            case gl_row_kind::blank:
                page.blank();
                break;
            case gl_row_kind::section:
                page.section(row.name, "");
                break;
        }
        if (row.enumerant != 0 && !record.answered(row.enumerant)) {
            page.not_answered();
        }
    }
}

// One row per named compressed format, in the list's order: whether the
// implementation lists its value.
void add_compressions(page_writer& page, const gl_record& record) {
    const auto listed_count =
        std::min<size_t>(record.compressed_texture_formats.size(),
                         static_cast<size_t>(std::max(record.num_compressed_texture_formats, 0)));
    const auto begin = record.compressed_texture_formats.begin();
    const auto end = begin + static_cast<std::ptrdiff_t>(listed_count);
    for (const compressed_format& format : compressed_formats()) {
        const auto value = static_cast<int32_t>(format.value);
        page.yes_no(format.name, std::find(begin, end, value) != end, "");
    }
}

// The name of one of the values a limit of the core-profile context can
// take; its number for another.
std::string value_name(int64_t value, std::initializer_list<std::pair<int64_t, const char*>> names) {
    for (const auto& [known, name] : names) {
        if (known == value) {
            return name;
        }
    }
    return std::to_string(value);
}

void add_core_value(page_writer& page, const gl_core_row& row, const gl_core_value& value) {
    const gl_limit& limit = gl_limits[row.limit];
    if (value.answer == gl_answer::not_supported) {
        page.text(row.name, "not supported", row.description);
        return;
    }
    if (value.answer == gl_answer::not_available) {
        page.not_available(row.name, row.description);
        return;
    }
    const int64_t first = value.integers[0];
    switch (row.kind) {
        case gl_core_row_kind::context_flags:
            page.text(
                row.name,
                flag_names(
                    static_cast<uint32_t>(first),
                    {{0x1, "forward compatible"}, {0x2, "debug"}, {0x4, "robust access"}, {0x8, "no error"}}),
                row.description);
            return;
        case gl_core_row_kind::profile_mask:
            page.text(row.name,
                      flag_names(static_cast<uint32_t>(first), {{0x1, "core"}, {0x2, "compatibility"}}),
                      row.description);
            return;
        case gl_core_row_kind::reset_strategy:
            page.text(
                row.name,
                value_name(first, {{0x8261, "no reset notification"}, {0x8252, "lose context on reset"}}),
                row.description);
            return;
        case gl_core_row_kind::provoking_vertex:
            page.text(row.name,
                      value_name(first, {{0x8E4D, "first vertex"},
                                         {0x8E4E, "last vertex"},
                                         {0x8E4F, "the provoking vertex"},
                                         {0x8260, "undefined"}}),
                      row.description);
            return;
        default:
            break;
    }
    switch (limit.core_kind) {
        case gl_limit_kind::boolean:
            page.yes_no(row.name, first != 0, row.description);
            break;
        case gl_limit_kind::integer:
        case gl_limit_kind::integer64:
            page.number(row.name, first, row.description);
            break;
        case gl_limit_kind::integer_pair:
            page.integer_pair(row.name,
                              {static_cast<int32_t>(first), static_cast<int32_t>(value.integers[1])},
                              row.description);
            break;
        case gl_limit_kind::real:
            page.real(row.name, value.reals[0], row.description);
            break;
        case gl_limit_kind::real_pair:
            page.real_pair(row.name, value.reals, row.description);
            break;
        case gl_limit_kind::integer_triple:
            page.row(row_kind::number, row.name,
                     std::to_string(first) + " x " + std::to_string(value.integers[1]) + " x " +
                         std::to_string(value.integers[2]),
                     row.description);
            break;
    }
}

// The section of the known extensions that lists a name, or null.
const char* known_group_of(const std::string& name) {
    static const std::map<std::string, const char*> groups = [] {
        std::map<std::string, const char*> tags;
        for (const gl_extension_group& group : known_extension_groups()) {
            for (const gl_extension& extension : group_extensions(group)) {
                tags.emplace(extension.name, group.tag);
            }
        }
        return tags;
    }();
    const auto found = groups.find(name);
    return found != groups.end() ? found->second : nullptr;
}

// The blank-separated words of a text, each once, sorted.
std::set<std::string> words_of(const std::string& text) {
    std::set<std::string> words;
    size_t start = 0;
    while ((start = text.find_first_not_of(" \t\r\n", start)) != std::string::npos) {
        const size_t end = std::min(text.find_first_of(" \t\r\n", start), text.size());
        words.insert(text.substr(start, end - start));
        start = end;
    }
    return words;
}

void add_extension_list(page_writer& page, const std::set<std::string>& names) {
    for (const std::string& name : names) {
        const char* tag = known_group_of(name);
        page.yes_no(name, true,
                    tag != nullptr ? "Also on the Extensions page, under [" + std::string(tag) + "]." : "");
    }
}

}  // namespace

namespace opengl_pages {

void summary(page_writer& page, const gl_record& record) {
    add_rows(page, record, gl_rows::summary);
    // What the core-profile context adds is the reader's, not the site's.
    page.shown_only_from_here();
    page.blank();
    if (!record.core.made) {
        page.not_available("Core profile version", "");
        page.not_available("Core profile", "");
        return;
    }
    const auto& major = record.core.limits[gl_core_limit_index(GL_MAJOR_VERSION)];
    const auto& minor = record.core.limits[gl_core_limit_index(GL_MINOR_VERSION)];
    if (major.answer == gl_answer::answered && minor.answer == gl_answer::answered) {
        page.version("Core profile version",
                     std::to_string(major.integers[0]) + "." + std::to_string(minor.integers[0]), "");
    } else {
        page.not_available("Core profile version", "");
    }
    page.text("Core profile", record.core.version_string, "");
}

void device(page_writer& page, const gl_record& record) {
    add_rows(page, record, gl_rows::device);
}

void capabilities(page_writer& page, const gl_record& record) {
    add_rows(page, record, gl_rows::capabilities);
}

void rendering(page_writer& page, const gl_record& record) {
    add_rows(page, record, gl_rows::rendering);
}

void textures(page_writer& page, const gl_record& record) {
    add_rows(page, record, gl_rows::textures);
    add_compressions(page, record);
}

void stacks(page_writer& page, const gl_record& record) {
    add_rows(page, record, gl_rows::stacks);
}

void vertex_shader(page_writer& page, const gl_record& record) {
    add_rows(page, record, gl_rows::vertex_shader);
}

void core_limits(page_writer& page, const gl_record& record) {
    const gl_core_context& core = record.core;
    bool first = true;
    for (const gl_core_row& row : gl_rows::core_limits) {
        switch (row.kind) {
            case gl_core_row_kind::section:
                if (!first) {
                    page.blank();
                }
                page.section(row.name, row.description);
                break;
            case gl_core_row_kind::version_string:
            case gl_core_row_kind::shading_language_version:
                if (!core.made) {
                    page.not_available(row.name, row.description);
                } else {
                    page.text(row.name,
                              row.kind == gl_core_row_kind::version_string ? core.version_string
                                                                           : core.shading_language_version,
                              row.description);
                }
                break;
            default:
                if (!core.made || row.limit >= core.limits.size()) {
                    page.not_available(row.name, row.description);
                } else {
                    add_core_value(page, row, core.limits[row.limit]);
                }
                break;
        }
        first = false;
    }
}

void all_extensions(page_writer& page, const gl_record& record) {
    const bool core = record.core.made;
    page.section("[GL]", core ? "Every extension the core-profile context lists."
                              : "Every extension the first context lists: no core-profile context was made.");
    add_extension_list(
        page, core ? std::set<std::string>(record.core.extensions.begin(), record.core.extensions.end())
                   : words_of(record.extensions));
    page.blank();
    if (record.window_system == "WGL") {
        page.section("[WGL]", "Every extension of the window system the device context lists.");
    } else {
        page.section("[" + record.window_system + "]", "Every extension of the window system " +
                                                           record.window_system + " " +
                                                           record.window_system_version + " lists.");
    }
    add_extension_list(page, words_of(record.wgl_extensions));
}

void extensions(page_writer& page, const gl_record& record) {
    const auto groups = known_extension_groups();
    for (size_t g = 0; g < groups.size(); ++g) {
        if (g > 0) {
            page.blank();
        }
        page.section(std::string("[") + groups[g].tag + "]", groups[g].description);
        const auto extensions = group_extensions(groups[g]);
        for (size_t e = 0; e < extensions.size(); ++e) {
            const size_t index = static_cast<size_t>(groups[g].first) + e;
            page.yes_no(extensions[e].display_name, record.extension_flags[index], "");
        }
    }
}

}  // namespace opengl_pages
