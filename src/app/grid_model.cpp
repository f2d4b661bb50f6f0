#include "app/grid_model.h"

#include <algorithm>

namespace {

const report_row empty_row{};

}  // namespace

grid_model::grid_model(const page_info& page)
    : page_(page), header_{std::string(group_caption(page.group)) + " name", "Value", "Description"} {
    show(nullptr);
}

void grid_model::show(const report_page* page) {
    shown_ = page != nullptr ? *page : report_page{page_.id, {}, {}};
    widths_ = {page_.name_width, page_.value_width, page_.summary ? 200 : 800};
    current_row = std::clamp(current_row, fixed_rows(), row_count() - 1);
    if (selection_anchor >= row_count()) {
        selection_anchor = -1;
    }
}

const std::string& grid_model::cell(int column, int row) const {
    if (row < fixed_rows()) {
        return header_[static_cast<size_t>(column)];
    }
    const auto index = static_cast<size_t>(row - fixed_rows());
    const report_row& data = index < shown_.rows.size() ? shown_.rows[index] : empty_row;
    return column == 0 ? data.name : column == 1 ? data.value : data.description;
}

row_kind grid_model::kind(int row) const {
    const auto index = static_cast<size_t>(row - fixed_rows());
    return row >= fixed_rows() && index < shown_.rows.size() ? shown_.rows[index].kind : row_kind::text;
}

std::pair<int, int> grid_model::selection() const {
    const int anchor = selection_anchor < 0 ? current_row : selection_anchor;
    return {std::min(current_row, anchor), std::max(current_row, anchor)};
}

bool grid_model::row_selected(int row) const {
    const auto [first, last] = selection();
    return row >= fixed_rows() && row >= first && row <= last;
}

COLORREF grid_background(const grid_model& grid) {
    return grid.parent_color() ? GetSysColor(COLOR_BTNFACE) : grid.color();
}
