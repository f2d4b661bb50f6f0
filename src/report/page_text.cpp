// Pages as readable text in aligned columns, for the clipboard and cavio-report.
#include "report/page_text.h"

#include <algorithm>
#include <array>
#include <vector>

std::string page_title(const page_info& page) {
    return std::string(group_caption(page.group)) + " - " + page.caption;
}

std::string page_text(const report_page& page) {
    const page_info& info = page.info();
    std::vector<std::array<const std::string*, 3>> lines;
    const std::array<std::string, 3> header = {std::string(group_caption(info.group)) + " name", "Value",
                                               "Description"};
    if (!info.summary) {
        lines.push_back({&header[0], &header[1], &header[2]});
    }
    for (const report_row& row : page.rows) {
        lines.push_back({&row.name, &row.value, &row.description});
    }
    size_t name_width = 0;
    size_t value_width = 0;
    for (const auto& cells : lines) {
        name_width = std::max(name_width, cells[0]->size());
        value_width = std::max(value_width, cells[1]->size());
    }
    std::string text = page_title(info) + "\r\n";
    for (const auto& cells : lines) {
        std::string line = *cells[0];
        line.resize(name_width + 2, ' ');
        line += *cells[1];
        // The Summary pages show no descriptions, and the text follows them.
        if (!info.summary) {
            line.resize(name_width + 2 + value_width + 2, ' ');
            line += *cells[2];
        }
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + "\r\n";
    }
    return text;
}

std::string adapter_text(const adapter_report& adapter) {
    std::string text;
    for (const report_group& group : adapter.groups) {
        for (const report_page& page : group.pages) {
            if (!text.empty()) {
                text += "\r\n";
            }
            text += page_text(page);
        }
    }
    return text;
}

std::string document_text(const report_document& document) {
    std::string text;
    const size_t count = document.adapters.size();
    for (size_t i = 0; i < count; ++i) {
        text += (i == 0 ? "" : "\r\n") + std::string("Adapter ") + std::to_string(i + 1) + " of " +
                std::to_string(count) + ": " + document.adapters[i].description + "\r\n\r\n" +
                adapter_text(document.adapters[i]);
    }
    return text;
}
