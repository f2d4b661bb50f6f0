#include "report/grid_model.h"

#include <algorithm>
#include <numeric>

grid_model::grid_model(std::string component_name, bool summary)
    : name_(std::move(component_name)),
      summary_(summary),
      column_count_(summary ? 2 : 3),
      fixed_rows_(summary ? 0 : 1) {
    if (summary_) {
        widths_ = {200, 200, 200};
        parent_color = true;
        vertical_lines = false;
        horizontal_lines = false;
        row_select = true;
        column_sizing = false;
        tab_stop = false;
        border = false;
        default_drawing = false;
        painter = cell_painter::summary;
    } else {
        widths_ = {64, 64, 64};
    }
    set_row_count(fixed_rows_ + 1);
    current_row = fixed_rows_;
}

std::pair<int, int> grid_model::selection() const {
    const int anchor = selection_anchor < 0 ? current_row : selection_anchor;
    return {std::min(current_row, anchor), std::max(current_row, anchor)};
}

bool grid_model::row_selected(int row) const {
    const auto [first, last] = selection();
    return row >= fixed_rows_ && row >= first && row <= last;
}

void grid_model::set_row_count(int rows) {
    const auto count = static_cast<size_t>(std::max(rows, 0));
    cells_.resize(count);
    heights_.resize(count, default_row_height_);
}

void grid_model::set_default_row_height(int height) {
    default_row_height_ = height;
    std::fill(heights_.begin(), heights_.end(), height);
}

void sort_grid_rows(grid_model& grid) {
    const int first = grid.fixed_rows();
    const int rows = grid.row_count();
    if (rows - first < 2) {
        return;
    }
    // Each row's text is built once; std::string compares bytes as unsigned
    // values with a prefix first. Rows with equal texts have equal cells, so
    // the stable order gives what an exchange sort gives on screen.
    std::vector<std::string> texts(static_cast<size_t>(rows - first));
    for (int r = first; r < rows; ++r) {
        std::string& text = texts[static_cast<size_t>(r - first)];
        for (int c = 0; c < grid.column_count(); ++c) {
            text += grid.cell(c, r);
            text += "\r\n";
        }
    }
    std::vector<size_t> order(texts.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return texts[a] < texts[b]; });

    std::vector<grid_model::row_cells> sorted;
    sorted.reserve(order.size());
    for (const size_t index : order) {
        sorted.push_back(std::move(grid.row(first + static_cast<int>(index))));
    }
    for (size_t i = 0; i < sorted.size(); ++i) {
        grid.row(first + static_cast<int>(i)) = std::move(sorted[i]);
    }
}
