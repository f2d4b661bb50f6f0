#include "app/grid_model.h"

#include <algorithm>

#include "app/theme.h"
#include "report/compare.h"

namespace {

const report_row empty_row{};

}  // namespace

grid_model::grid_model(const page_info& page) : page_(page) {
    show(nullptr);
}

void grid_model::reset_widths() {
    header_ = {std::string(group_caption(page_.group)) + " name", "Value", "Description", ""};
    widths_ = {page_.name_width, page_.value_width, page_.summary ? 200 : 800, 0};
    if (comparing_) {
        header_ = {header_[0], "Value", "Compared", "Description"};
        widths_ = {widths_[0], widths_[1], widths_[1], widths_[2]};
        // A Summary grid keeps its width: three columns share it.
        if (page_.summary) {
            widths_ = {120, 140, 140, 0};
        }
    }
    current_row = std::clamp(current_row, fixed_rows(), row_count() - 1);
    if (selection_anchor >= row_count()) {
        selection_anchor = -1;
    }
}

void grid_model::show(const report_page* page) {
    shown_ = page != nullptr ? *page : report_page{page_.id, {}, {}};
    comparing_ = false;
    compared_.clear();
    differs_.clear();
    reset_widths();
}

void grid_model::show_compared(const report_page* page, const report_page* other, bool differences_only) {
    shown_ = report_page{page_.id, {}, {}};
    comparing_ = true;
    compared_.clear();
    differs_.clear();
    const report_row* section = nullptr;
    for (const compared_row& pair : compare_pages(page, other)) {
        const report_row& row = pair.a != nullptr ? *pair.a : *pair.b;
        if (row.kind == row_kind::section) {
            section = &row;
        }
        if (differences_only && !pair.differs()) {
            continue;
        }
        // The section a shown difference belongs to, once.
        if (differences_only && section != nullptr && section != &row) {
            shown_.rows.push_back(*section);
            compared_.emplace_back();
            differs_.push_back(false);
        }
        section = nullptr;
        report_row shown = row;
        if (pair.a == nullptr) {
            shown.value = "(none)";
        }
        shown_.rows.push_back(std::move(shown));
        const bool data = row.kind != row_kind::section && row.kind != row_kind::blank;
        compared_.push_back(!data ? "" : pair.b != nullptr ? pair.b->value : "(none)");
        differs_.push_back(pair.differs());
    }
    reset_widths();
}

bool grid_model::row_differs(int row) const {
    const auto index = static_cast<size_t>(row - fixed_rows());
    return row >= fixed_rows() && index < differs_.size() && differs_[index];
}

const std::string& grid_model::cell(int column, int row) const {
    if (row < fixed_rows()) {
        return header_[static_cast<size_t>(column)];
    }
    const auto index = static_cast<size_t>(row - fixed_rows());
    const report_row& data = index < shown_.rows.size() ? shown_.rows[index] : empty_row;
    if (comparing_ && column == 2) {
        static const std::string none;
        return index < compared_.size() ? compared_[index] : none;
    }
    if (comparing_ && column == 3) {
        column = 2;
    }
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
    const palette& colours = active_palette();
    return grid.parent_color() ? colours.face : colours.window;
}
