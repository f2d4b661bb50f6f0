#include "submit/report_json.h"

#include <nlohmann/json.hpp>

#include "submit/submission.h"

namespace {

using json = nlohmann::ordered_json;

json page_json(const report& pages, const page_info& page) {
    const grid_model& grid = pages.grid(page.id);
    json rows = json::array();
    for (int r = grid.fixed_rows(); r < grid.row_count(); ++r) {
        const grid_model::row_cells& cells = grid.row(r);
        json row = {
            {"name", utf8_of(cells[0])}, {"value", utf8_of(cells[1])}, {"description", utf8_of(cells[2])}};
        if (grid.row_height(r) == section_row_height) {
            row["section"] = true;
        }
        rows.push_back(std::move(row));
    }
    std::string marker = grid.name();
    if (marker.rfind("SG", 0) == 0) {
        marker.erase(0, 2);
    }
    return {{"marker", marker}, {"caption", utf8_of(page.caption)}, {"rows", std::move(rows)}};
}

json group_json(const report& pages, page_group group) {
    json list = json::array();
    for (const page_info& page : page_table()) {
        if (page.group == group) {
            list.push_back(page_json(pages, page));
        }
    }
    return list;
}

}  // namespace

std::string utf8_of(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int wide_size =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(wide_size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), wide_size);
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

std::string report_json(report& pages, const direct3d_probe& direct3d, const gl_probe* opengl,
                        const std::string& program, const std::string& version) {
    json adapters = json::array();
    for (int i = 0; i < direct3d.count; ++i) {
        const dx_adapter adapter = direct3d.adapter(i);
        pages.fill_directx_pages(adapter);
        json entry = {{"index", i},
                      {"description", utf8_of(adapter.info.description)},
                      {"directx", group_json(pages, page_group::directx)},
                      {"opengl", json::array()}};
        const int gl = opengl_record_index(opengl, adapter.monitor);
        if (gl >= 0) {
            pages.fill_opengl_pages(opengl->adapter(gl));
            entry["opengl"] = group_json(pages, page_group::opengl);
        }
        adapters.push_back(std::move(entry));
    }
    const json document = {
        {"program", utf8_of(program)}, {"version", utf8_of(version)}, {"adapters", std::move(adapters)}};
    return document.dump(2) + "\n";
}
