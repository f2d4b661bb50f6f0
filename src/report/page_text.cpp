#include "report/page_text.h"

#include <algorithm>

std::string page_title(const page_info& page) {
    return std::string(page.group == page_group::directx ? "DirectX" : "OpenGL") + " - " + page.caption;
}

std::string page_text(const grid_model& grid, const std::string& title) {
    size_t name_width = 0;
    size_t value_width = 0;
    for (int r = 0; r < grid.row_count(); ++r) {
        name_width = std::max(name_width, grid.cell(0, r).size());
        value_width = std::max(value_width, grid.cell(1, r).size());
    }
    std::string text = title + "\r\n";
    for (int r = 0; r < grid.row_count(); ++r) {
        std::string line = grid.cell(0, r);
        // The Summary pages show no descriptions, and the text follows them.
        if (grid.column_count() > 2) {
            line.resize(name_width + 2, ' ');
            line += grid.cell(1, r);
            line.resize(name_width + 2 + value_width + 2, ' ');
            line += grid.cell(2, r);
        } else {
            line.resize(name_width + 2, ' ');
            line += grid.cell(1, r);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + "\r\n";
    }
    return text;
}

std::string report_text(const report& pages) {
    std::string text;
    for (const page_info& page : page_table()) {
        if (!text.empty()) {
            text += "\r\n";
        }
        text += page_text(pages.grid(page.id), page_title(page));
    }
    return text;
}
