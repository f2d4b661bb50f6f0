#include "app/column_fit.h"

#include <algorithm>

#include "app/cell_style.h"

int fitted_value_width(const grid_model& grid, const text_measure& measure) {
    int width = grid.column_width(1);
    for (int r = grid.fixed_rows(); r < grid.row_count(); ++r) {
        const std::string& value = grid.cell(1, r);
        if (value.empty()) {
            continue;
        }
        const cell_style style = decide_cell_style(facts_of(grid, 1, r));
        // One pixel more, so that rounding at other DPIs never cuts the last glyph.
        width = std::max(
            width, measure(value, style.font_size, style.bold) + style.inset_left + style.inset_right + 1);
    }
    return width;
}
