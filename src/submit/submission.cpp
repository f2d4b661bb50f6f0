// The submission text: the report's DirectX and OpenGL pages as the site
// has always read them.
#include "submit/submission.h"

#include <algorithm>
#include <vector>

#include "base/text.h"

namespace {

// The pages of the group the submission holds, in their submission places.
std::vector<page_id> submitted_pages(page_group group) {
    std::vector<const page_info*> sent;
    for (const page_info& page : pages_of(group)) {
        if (page.submitted > 0) {
            sent.push_back(&page);
        }
    }
    std::sort(sent.begin(), sent.end(),
              [](const page_info* a, const page_info* b) { return a->submitted < b->submitted; });
    std::vector<page_id> order;
    for (const page_info* page : sent) {
        order.push_back(page->id);
    }
    return order;
}

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
        append_pages(text, adapter.group(page_group::directx), submitted_pages(page_group::directx));
        const report_group& opengl = adapter.group(page_group::opengl);
        if (opengl.read) {
            text += "@opengl@\r\n";
            append_pages(text, opengl, submitted_pages(page_group::opengl));
        }
    }
    return ansi_of_utf8(text);
}
