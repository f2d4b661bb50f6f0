#include "submit/submission.h"

#include "base/text.h"

namespace {

using enum page_id;

// The pages the site knows, in the order it has always received them.
constexpr page_id directx_pages[] = {dx_summary,       dx_device,       dx_capabilities, dx_vertices,
                                     dx_rendering,     dx_textures,     dx_blending,     dx_buffers,
                                     dx_vertex_shader, dx_pixel_shader, dx_resolutions};
constexpr page_id opengl_pages[] = {gl_summary,    gl_device,   gl_capabilities, gl_rendering,
                                    gl_extensions, gl_textures, gl_stacks,       gl_vertex_shader};

// Appends text with each TAB, CR and LF as one blank, so that a row always
// stays one line of name, TAB, value.
void append_one_line(std::string& out, const std::string& text) {
    for (const char c : text) {
        out += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
    }
}

void append_pages(std::string& text, const report_group& group, std::span<const page_id> order) {
    for (const page_id id : order) {
        const report_page* page = group.page(id);
        if (page == nullptr) {
            continue;
        }
        text += "\r\n!";
        text += page->info().marker;
        text += "!\r\n";
        for (const report_row* row : rows_as_written(*page)) {
            if (row->kind != row_kind::blank) {
                append_one_line(text, row->name);
                text += '\t';
                append_one_line(text, row->wire_value.value_or(row->value));
            }
            text += "\r\n";
        }
    }
}

}  // namespace

std::string submission_text(const report_document& document) {
    std::string text = "%2.00%\r\n";
    for (const adapter_report& adapter : document.adapters) {
        text += "|card|\r\n@directx@\r\n";
        append_pages(text, adapter.group(page_group::directx), directx_pages);
        const report_group& opengl = adapter.group(page_group::opengl);
        if (opengl.read) {
            text += "@opengl@\r\n";
            append_pages(text, opengl, opengl_pages);
        }
    }
    return ansi_of_utf8(text);
}
