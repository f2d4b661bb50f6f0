// The eight OpenGL pages of one OpenGL record.
#include <algorithm>
#include <string>

#include "probe/gl_extensions.h"
#include "refdata/format_names.h"
#include "report/gl_tables.h"
#include "report/page_writer.h"
#include "report/page_writers.h"

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

}  // namespace

namespace opengl_pages {

void summary(page_writer& page, const gl_record& record) {
    add_rows(page, record, gl_rows::summary);
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
