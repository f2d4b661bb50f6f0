// A grid's model: the rows of a page with a header, widths, look and selection.
#include "app/grid_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/format_matrix.h"
#include "app/theme.h"
#include "report/compare.h"
#include "report/value_format.h"

namespace {

const report_row empty_row{};
const std::string no_text;

}  // namespace

grid_model::grid_model(const page_info& page) : page_(page) {
    show(nullptr);
}

int grid_model::column_of(column_role role) const {
    for (size_t c = 0; c < columns_.size(); ++c) {
        if (columns_[c].role == role) {
            return static_cast<int>(c);
        }
    }
    return -1;
}

void grid_model::set_column_width(int column, int width, bool by_user) {
    grid_column& shown = columns_[static_cast<size_t>(column)];
    shown.width = width;
    if (by_user) {
        shown.sized_by_user = true;
        user_widths_[{shown.role, shown.mark}] = width;
    }
}

void grid_model::reset_columns() {
    const std::string name = std::string(group_caption(page_.group)) + " name";
    const int description = 800;
    columns_.clear();
    // A matrix's names are fitted from little, so that its marks start where the names end.
    columns_.push_back({column_role::name, -1, name, matrix_ ? 120 : page_.name_width});
    if (matrix_) {
        const auto capabilities = format_capabilities();
        for (size_t c = 0; c < capabilities.size(); ++c) {
            columns_.push_back({column_role::mark, static_cast<int>(c), capabilities[c].header, 0});
        }
    }
    columns_.push_back({column_role::value, -1, "Value", page_.value_width});
    if (comparing_) {
        columns_.push_back({column_role::compared, -1, "Compared", page_.value_width});
    }
    if (!page_.summary) {
        columns_.push_back({column_role::description, -1, "Description", description});
    } else if (comparing_) {
        // A Summary grid keeps its width: three columns share it.
        columns_[0].width = 120;
        columns_[1].width = columns_[2].width = 140;
    }
    for (grid_column& column : columns_) {
        if (column.role == column_role::mark) {
            // As wide as its header, in the grid's 8-point font, and no less than a mark needs.
            column.width = std::max(30, 7 * static_cast<int>(column.header.size()) + 12);
        }
        if (const auto kept = user_widths_.find({column.role, column.mark}); kept != user_widths_.end()) {
            column.width = kept->second;
            column.sized_by_user = true;
        }
    }
    current_row = std::clamp(current_row, fixed_rows(), row_count() - 1);
    if (selection_anchor >= row_count()) {
        selection_anchor = -1;
    }
}

void grid_model::show(const report_page* page) {
    source_ = page != nullptr ? *page : report_page{page_.id, {}, {}};
    comparing_ = false;
    differences_ = 0;
    compared_.clear();
    differs_.clear();
    matrix_ = page_.id == page_id::dx_formats;
    show_rows();
}

void grid_model::set_filter(std::vector<int> marks) {
    std::sort(marks.begin(), marks.end());
    marks.erase(std::unique(marks.begin(), marks.end()), marks.end());
    filter_ = std::move(marks);
    if (!matrix_) {
        return;
    }
    // The columns stay where they are, under the header just clicked.
    std::map<std::pair<column_role, int>, int> widths;
    for (const grid_column& column : columns_) {
        widths[{column.role, column.mark}] = column.width;
    }
    show_rows();
    for (grid_column& column : columns_) {
        column.width = widths[{column.role, column.mark}];
    }
}

// The source's rows as shown: numbers as the window writes them, and in a
// matrix only the formats the filter lets through.
void grid_model::show_rows() {
    shown_ = report_page{page_.id, {}, {}};
    marks_.clear();
    placeholder_.clear();
    uint64_t wanted = 0;
    for (const int mark : filter_) {
        wanted |= uint64_t{1} << mark;
    }
    for (const report_row& row : source_.rows) {
        const std::optional<uint64_t> marks = matrix_ ? format_marks(row) : std::nullopt;
        if (marks && (*marks & wanted) != wanted) {
            continue;
        }
        report_row& shown = shown_.rows.emplace_back(row);
        if (shown.kind == row_kind::number) {
            shown.value = readable_number_text(shown.value);
        }
        marks_.push_back(marks.value_or(0));
    }
    if (matrix_ && wanted != 0) {
        const bool any = std::any_of(shown_.rows.begin(), shown_.rows.end(),
                                     [](const report_row& row) { return format_marks(row).has_value(); });
        if (!any) {
            std::string can;
            for (size_t i = 0; i < filter_.size(); ++i) {
                can += (i == 0                    ? ""
                        : i + 1 == filter_.size() ? " and "
                                                  : ", ") +
                       std::string(format_capabilities()[static_cast<size_t>(filter_[i])].can);
            }
            shown_.rows.clear();
            marks_.clear();
            placeholder_ = "No format can " + can + ".";
        }
    }
    reset_columns();
}

void grid_model::show_compared(const report_page* page, const report_page* other, bool differences_only) {
    source_ = report_page{page_.id, {}, {}};
    shown_ = report_page{page_.id, {}, {}};
    comparing_ = true;
    matrix_ = false;
    marks_.clear();
    placeholder_.clear();
    compared_.clear();
    differs_.clear();
    differences_ = 0;
    const report_row* section = nullptr;
    for (const compared_row& pair : compare_pages(page, other)) {
        const report_row& row = pair.a != nullptr ? *pair.a : *pair.b;
        if (row.kind == row_kind::section) {
            section = &row;
        }
        differences_ += pair.differs() ? 1 : 0;
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
        } else if (shown.kind == row_kind::number) {
            shown.value = readable_number_text(shown.value);
        }
        shown_.rows.push_back(std::move(shown));
        const bool data = row.kind != row_kind::section && row.kind != row_kind::blank;
        compared_.push_back(!data ? "" : pair.b != nullptr ? readable_number_text(pair.b->value) : "(none)");
        differs_.push_back(pair.differs());
    }
    if (differences_only && shown_.rows.empty()) {
        placeholder_ = "No differences on this page.";
    }
    reset_columns();
}

const summary_link* grid_model::link(int row) const {
    const auto index = static_cast<size_t>(row - fixed_rows());
    if (page_.id != page_id::dx_summary || row < fixed_rows() || index >= shown_.rows.size()) {
        return nullptr;
    }
    return summary_link_of(shown_.rows[index]);
}

bool grid_model::row_differs(int row) const {
    const auto index = static_cast<size_t>(row - fixed_rows());
    return row >= fixed_rows() && index < differs_.size() && differs_[index];
}

const std::string& grid_model::compared_value(size_t index) const {
    return index < compared_.size() ? compared_[index] : no_text;
}

const std::string& grid_model::cell(int column, int row) const {
    const grid_column& shown_column = columns_[static_cast<size_t>(column)];
    if (row < fixed_rows()) {
        return shown_column.header;
    }
    const auto index = static_cast<size_t>(row - fixed_rows());
    if (index >= shown_.rows.size()) {
        return column == 0 && index == 0 ? placeholder_ : no_text;
    }
    const report_row& data = shown_.rows[index];
    switch (shown_column.role) {
        case column_role::name:
            return data.name;
        case column_role::value:
            return data.value;
        case column_role::compared:
            return compared_value(index);
        case column_role::description:
            return data.description;
        case column_role::mark: {
            static const std::string mark = format_mark;
            return index < marks_.size() && ((marks_[index] >> shown_column.mark) & 1) != 0 ? mark : no_text;
        }
    }
    return no_text;
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
    if (!placeholder_.empty()) {
        return false;  // a line that says why there are no rows is no row
    }
    const auto [first, last] = selection();
    return row >= fixed_rows() && row >= first && row <= last;
}

COLORREF grid_background(const grid_model& grid) {
    const palette& colours = active_palette();
    return grid.parent_color() ? colours.face : colours.window;
}
