#include "report/report.h"

#include "base/text.h"
#include "refdata/pci_names.h"
#include "report/value_format.h"

namespace {

constexpr COLORREF silver = RGB(192, 192, 192);
constexpr COLORREF white = RGB(255, 255, 255);

// Appends text with each TAB, CR and LF as one blank, so that a row always
// stays one line of name, TAB, value in the submission text.
void append_one_line(std::string& out, const std::string& text) {
    for (const char c : text) {
        out += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
    }
}

}  // namespace

report::report() {
    grids_.reserve(page_count);
    for (const page_info& page : page_table()) {
        grid_model& grid = grids_.emplace_back(page.grid, page.summary);
        grid.painter = page.painter;
    }
}

void report::setup_grid(grid_model& grid, const char* header, page_group side) {
    const page_info& page = page_table()[static_cast<size_t>(&grid - grids_.data())];
    current_grid = &grid;
    grid.double_buffered = true;
    if (echo) {
        echo_text() += "\r\n!";
        echo_text() += grid.name().substr(2);
        echo_text() += "!\r\n";
    }
    grid.set_default_row_height(normal_row_height);
    grid.set_row_count(grid.fixed_rows() + 1);
    grid.row(grid.fixed_rows()) = {};
    grid.vertical_lines = false;
    grid.row_select = true;
    grid.thumb_tracking = true;
    grid.fixed_color = silver;
    // The side's own Summary grid keeps its colour and painter.
    if (!(page.summary && page.group == side)) {
        grid.color = white;
        grid.parent_color = false;
        grid.painter = cell_painter::device;
    }
    grid.default_drawing = false;
    grid.font_name = "tahoma";
    grid.font_size = 8;
    if (grid.fixed_rows() == 1) {
        grid.row(0) = {header, "Value", "Description"};
        grid.set_column_width(0, page.name_width);
        grid.set_column_width(1, page.value_width);
        grid.set_column_width(2, 800);
    }
}

void report::setup_directx_grid(grid_model& grid) {
    setup_grid(grid, "DirectX name", page_group::directx);
}

void report::setup_opengl_grid(grid_model& grid) {
    setup_grid(grid, "OpenGL name", page_group::opengl);
}

void report::clear_opengl_pages() {
    current_grid = nullptr;
    for (const page_info& page : page_table()) {
        if (page.cleared_without_record) {
            setup_opengl_grid(grid(page.id));
        }
    }
}

void report::add_row(const std::string& name, const std::string& value, const std::string& description) {
    grid_model& grid = *current_grid;
    int row = grid.row_count();
    // The empty row a set-up leaves is filled first.
    if (row == grid.fixed_rows() + 1 && grid.cell(0, row - 1).empty()) {
        row -= 1;
    }
    grid.set_row_count(row + 1);
    grid.row(row) = {name, value, description};
    if (!name.empty() && name[0] == '[') {
        grid.set_row_height(row, section_row_height);
    }
    if (echo) {
        append_one_line(echo_text(), name);
        echo_text() += '\t';
        append_one_line(echo_text(), value);
        echo_text() += "\r\n";
    }
}

void report::add_blank_row() {
    grid_model& grid = *current_grid;
    const int row = grid.row_count();
    grid.set_row_count(row + 1);
    grid.row(row) = {};
    if (echo) {
        echo_text() += "\r\n";
    }
}

void report::add_int_row(const std::string& name, int32_t value, const std::string& description) {
    add_row(name, std::to_string(value), description);
}

void report::add_int64_row(const std::string& name, int64_t value, const std::string& description) {
    add_row(name, std::to_string(value), description);
}

void report::add_float_row(const std::string& name, float value, const std::string& description) {
    add_row(name, fixed_six_text(value), description);
}

void report::add_float_pair_row(const std::string& name, const std::array<float, 2>& value,
                                const std::string& description) {
    const char separator = decimal_separator();
    add_row(name, general_text(value[0], separator) + "     " + general_text(value[1], separator),
            description);
}

void report::add_int_pair_row(const std::string& name, const std::array<int32_t, 2>& value,
                              const std::string& description) {
    add_row(name, std::to_string(value[0]) + "     " + std::to_string(value[1]), description);
}

void report::add_bool_row(const std::string& name, bool value, const std::string& description) {
    add_row(name, value ? "yes" : "no", description);
}

void report::add_flag_row(const std::string& name, uint32_t value, const std::string& description) {
    add_row(name, value != 0 ? "yes" : "no", description);
}

void report::add_guid_row(const std::string& name, const GUID& value, const std::string& description) {
    add_row(name, guid_text(value), description);
}

void report::add_driver_version_row(const std::string& name, int64_t value, const std::string& description) {
    add_row(name, driver_version_text(value), description);
}

void report::add_shader_version_row(const std::string& name, uint32_t value, const std::string& description) {
    add_row(name, shader_version_text(value), description);
}

void report::add_vendor_row(const std::string& name, int64_t vendor_id, const std::string& description) {
    std::string vendor;
    if (vendor_id >= 0 && vendor_id <= 0xFFFFFFFF) {
        vendor = vendor_name_of(static_cast<uint32_t>(vendor_id));
    }
    add_row(name, (vendor.empty() ? "unknown" : vendor) + " (" + std::to_string(vendor_id) + ")",
            description);
}

void report::add_device_row(const std::string& name, int64_t vendor_id, uint32_t device_id,
                            const std::string& description) {
    std::string device;
    if (vendor_id >= 0 && vendor_id <= 0xFFFFFFFF) {
        device = gpu_name_of(static_cast<uint32_t>(vendor_id), device_id);
    }
    add_row(name, device.empty() ? "unknown" : device, description);
}
