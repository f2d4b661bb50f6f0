// The cell-style rule: a cell's look from its row's kind and the theme.
#include "app/cell_style.h"

#include <algorithm>
#include <string>

#include "app/theme.h"
#include "base/text.h"

namespace {

cell_style summary_style(const cell_facts& cell) {
    cell_style style;
    style.background = cell.current_row && cell.current_text != CLR_INVALID ? cell.current_color
                       : cell.differs                                       ? cell.differs_background
                                                                            : cell.grid_color;
    style.text_color = cell.font_color;
    style.font_size = cell.font_size;
    style.inset_left = style.inset_right = 2;
    style.inset_top = style.inset_bottom = 1;
    style.bold = cell.column == 0;
    if (cell.link && cell.column == 1 && !(cell.current_row && cell.current_text != CLR_INVALID)) {
        style.text_color = cell.link_color;
    }
    return style;
}

// How a cell's text is painted: by its row's kind in the Value column, and by
// what free text reads as everywhere else.
row_kind painted_as(const cell_facts& cell) {
    const row_kind kind = cell.column == 1 && !cell.fixed_row ? cell.kind : row_kind::text;
    if (kind != row_kind::text) {
        return kind;
    }
    const std::string text(cell.text);
    // A version's dots make it no number.
    if (reads_as_number(text) && std::count(text.begin(), text.end(), '.') < 2) {
        return row_kind::number;
    }
    return reads_as_yes_no(text) ? row_kind::yes_no : row_kind::text;
}

cell_style device_style(const cell_facts& cell) {
    cell_style style;
    const bool section = cell.kind == row_kind::section && !cell.fixed_row;
    if (cell.current_row) {
        style.background = cell.current_color;
    } else if (cell.differs) {
        style.background = cell.differs_background;
    } else if (cell.fixed_row || section) {
        style.background = cell.fixed_color;
    } else {
        style.background = cell.grid_color;
    }
    style.text_color = cell.font_color;
    style.inset_left = style.inset_right = 8;
    style.inset_top = style.inset_bottom = 1;
    if (section) {
        style.font_size = 12;
        if (cell.column == 0) {
            style.bold = true;
            style.inset_left += 8;
        }
        if (cell.current_row && cell.current_text != CLR_INVALID) {
            style.text_color = cell.current_text;
        }
        return style;
    }
    style.font_size = 8;
    if (cell.mark) {
        style.align = cell_align::center;
        style.inset_left = style.inset_right = 2;
        style.text_color = cell.fixed_row ? style.text_color : cell.number;
        style.bold = !cell.fixed_row;
        if (cell.current_row && cell.current_text != CLR_INVALID) {
            style.text_color = cell.current_text;
        }
        return style;
    }
    switch (painted_as(cell)) {
        case row_kind::number:
            style.align = cell_align::right;
            // An ordinal counts nothing (adapter 0 is no fault) and a
            // version is no amount: neither good nor bad.
            if ((cell.column == 1 && cell.row_name.find("Ordinal") != std::string_view::npos) ||
                std::count(cell.text.begin(), cell.text.end(), '.') >= 2) {
                break;
            }
            // A zero, with its unit or without ("0 MiB").
            if (cell.text == "0" || cell.text == "0.0" || cell.text.starts_with("0 ")) {
                style.text_color = cell.zero;
            } else {
                style.text_color = cell.number;
                style.bold = true;
            }
            break;
        case row_kind::yes_no:
            style.align = cell_align::center;
            if (cell.text == "yes") {
                style.text_color = cell.number;
                style.bold = true;
            } else {
                style.text_color = cell.zero;
            }
            break;
        default:
            break;
    }
    // High contrast paints the selection in the system's own pair.
    if (cell.current_row && cell.current_text != CLR_INVALID) {
        style.text_color = cell.current_text;
    }
    return style;
}

}  // namespace

cell_style decide_cell_style(const cell_facts& cell) {
    return cell.painter == cell_painter::summary ? summary_style(cell) : device_style(cell);
}

cell_facts cell_facts_at(const grid_model& grid, int column, int row) {
    cell_facts facts;
    facts.text = grid.cell(column, row);
    facts.row_name = grid.cell(0, row);
    // The Compared column is painted as the value column, a mark as a "yes".
    const column_role role = grid.column(column).role;
    facts.column = role == column_role::name                                     ? 0
                   : role == column_role::value || role == column_role::compared ? 1
                                                                                 : 2;
    facts.mark = role == column_role::mark;
    facts.differs = grid.row_differs(row);
    // In a compared matrix, a capability that differs, not the whole row.
    if (facts.mark && row >= grid.fixed_rows() && grid.comparing()) {
        facts.differs = grid.mark_differs(column, row);
    }
    // A capability the Formats matrix filters on: its header as a difference is.
    if (facts.mark && row < grid.fixed_rows()) {
        const std::vector<int>& filter = grid.filter();
        facts.differs = std::find(filter.begin(), filter.end(), grid.column(column).mark) != filter.end();
    }
    facts.kind = grid.kind(row);
    facts.fixed_row = row < grid.fixed_rows();
    facts.current_row = !facts.fixed_row && grid.row_selected(row);
    facts.painter = grid.painter();
    const palette& colours = active_palette();
    facts.grid_color = grid_background(grid);
    facts.fixed_color = colours.fixed;
    facts.font_color = facts.fixed_row || facts.kind == row_kind::section ? colours.fixed_text : colours.text;
    facts.current_color = colours.current_row;
    facts.current_text = colours.current_text;
    facts.number = colours.number;
    facts.zero = colours.zero;
    facts.differs_background = colours.differs;
    facts.font_size = grid.font_size();
    facts.link = grid.link(row) != nullptr;
    facts.link_color = colours.link;
    return facts;
}
