// The Value column's width, measured over every value of its page.
#include "app/column_fit.h"

#include <algorithm>

#include "app/cell_style.h"

int fitted_value_width(const grid_model& grid, const text_measure& measure) {
    return fitted_column_width(grid, 1, measure);
}

int fitted_column_width(const grid_model& grid, int column, const text_measure& measure, bool exactly) {
    int width = exactly ? 8 : grid.column_width(column);
    for (int r = exactly ? 0 : grid.fixed_rows(); r < grid.row_count(); ++r) {
        const std::string& value = grid.cell(column, r);
        // A section's heading runs across the columns beside it.
        if (value.empty() || grid.kind(r) == row_kind::section) {
            continue;
        }
        const cell_style style = decide_cell_style(cell_facts_at(grid, column, r));
        // One pixel more, so that rounding at other DPIs never cuts the last glyph.
        width = std::max(
            width, measure(value, style.font_size, style.bold) + style.inset_left + style.inset_right + 1);
    }
    return width;
}
