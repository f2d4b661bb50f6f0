#include "app/cell_style.h"

#include "base/text.h"

namespace {

cell_style summary_style(const cell_facts& cell) {
    cell_style style;
    style.background = cell.grid_color;
    style.text_color = cell.font_color;
    style.font_size = cell.font_size;
    style.inset_left = style.inset_right = 2;
    style.inset_top = style.inset_bottom = 1;
    style.bold = cell.column == 0;
    return style;
}

cell_style device_style(const cell_facts& cell) {
    cell_style style;
    const bool section = cell.row_height == section_row_height;
    if (cell.current_row) {
        style.background = current_row_color;
    } else if (cell.fixed_row || section) {
        style.background = cell.fixed_color;
    } else {
        style.background = cell.grid_color;
    }
    style.text_color = cell.font_color;
    style.font_size = cell.font_size;
    style.inset_left = style.inset_right = 8;
    style.inset_top = style.inset_bottom = 1;

    if (cell.row_height == normal_row_height) {
        style.font_size = 8;
        const std::string text(cell.text);
        if (reads_as_number(text)) {
            style.align = cell_align::right;
            if (text == "0" || text == "0.0") {
                style.text_color = zero_color;
            } else {
                style.text_color = number_color;
                style.bold = true;
            }
        } else if (reads_as_yes_no(text)) {
            style.align = cell_align::center;
            if (text == "yes") {
                style.text_color = number_color;
                style.bold = true;
            } else {
                style.text_color = zero_color;
            }
        }
    } else if (section) {
        style.font_size = 12;
        if (cell.column == 0) {
            style.bold = true;
            style.inset_left += 8;
        }
    }
    return style;
}

}  // namespace

COLORREF grid_background(const grid_model& grid) {
    return grid.parent_color ? GetSysColor(COLOR_BTNFACE) : grid.color;
}

cell_style decide_cell_style(const cell_facts& cell) {
    return cell.painter == cell_painter::summary ? summary_style(cell) : device_style(cell);
}
