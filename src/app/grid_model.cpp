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
    pair_ = {};
    differences_ = 0;
    compared_.clear();
    compared_marks_.clear();
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
    if (comparing_) {
        show_pairs();
    } else {
        show_rows();
    }
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
            shown_.rows.clear();
            marks_.clear();
            placeholder_ = "No format can " + filter_words() + ".";
        }
    }
    reset_columns();
}

void grid_model::show_compared(const report_page* page, const report_page* other, bool differences_only) {
    source_ = report_page{page_.id, {}, {}};
    pair_ = {page != nullptr ? std::optional(*page) : std::nullopt,
             other != nullptr ? std::optional(*other) : std::nullopt};
    differences_only_ = differences_only;
    comparing_ = true;
    show_pairs();
}

// The compared pages' rows as shown: paired, filtered by "Differences only"
// and by the matrix's filter.
void grid_model::show_pairs() {
    const report_page* page = pair_.first ? &*pair_.first : nullptr;
    const report_page* other = pair_.second ? &*pair_.second : nullptr;
    const bool differences_only = differences_only_;
    shown_ = report_page{page_.id, {}, {}};
    matrix_ = page_.id == page_id::dx_formats;
    marks_.clear();
    compared_marks_.clear();
    placeholder_.clear();
    compared_.clear();
    differs_.clear();
    differences_ = 0;
    uint64_t wanted = 0;
    for (const int mark : filter_) {
        wanted |= uint64_t{1} << mark;
    }
    const report_row* section = nullptr;
    const auto add = [this](report_row row, std::string compared, bool differs, uint64_t marks,
                            uint64_t others) {
        shown_.rows.push_back(std::move(row));
        compared_.push_back(std::move(compared));
        differs_.push_back(differs);
        marks_.push_back(marks);
        compared_marks_.push_back(others);
    };
    for (const compared_row& pair : compare_pages(page, other)) {
        const report_row& row = pair.a != nullptr ? *pair.a : *pair.b;
        if (row.kind == row_kind::section) {
            section = &row;
        }
        // A format's capabilities on either side; the matrix's filter asks
        // them of the report shown.
        const std::optional<uint64_t> format = matrix_ ? format_marks(row) : std::nullopt;
        const uint64_t marks = format && pair.a != nullptr ? format_marks(*pair.a).value_or(0) : 0;
        const uint64_t others = format && pair.b != nullptr ? format_marks(*pair.b).value_or(0) : 0;
        if (format && (marks & wanted) != wanted) {
            continue;
        }
        differences_ += pair.differs() ? 1 : 0;
        if (differences_only && !pair.differs()) {
            continue;
        }
        // The section a shown difference belongs to, once.
        if (differences_only && section != nullptr && section != &row) {
            add(*section, "", false, 0, 0);
        }
        section = nullptr;
        report_row shown = row;
        if (pair.a == nullptr) {
            shown.value = "(none)";
        } else if (shown.kind == row_kind::number) {
            shown.value = readable_number_text(shown.value);
        }
        const bool data = row.kind != row_kind::section && row.kind != row_kind::blank;
        add(std::move(shown),
            !data               ? ""
            : pair.b != nullptr ? readable_number_text(pair.b->value)
                                : "(none)",
            pair.differs(), marks, others);
    }
    if (differences_only && shown_.rows.empty()) {
        placeholder_ = "No differences on this page.";
    } else if (matrix_ && wanted != 0 &&
               std::none_of(shown_.rows.begin(), shown_.rows.end(),
                            [](const report_row& row) { return format_marks(row).has_value(); })) {
        placeholder_ = "No format can " + filter_words() + ".";
        shown_.rows.clear();
        compared_.clear();
        differs_.clear();
        marks_.clear();
        compared_marks_.clear();
    }
    reset_columns();
}

std::string grid_model::filter_counts() const {
    // Per section: the formats shown, of those the page has.
    struct counted {
        std::string section;
        int shown = 0;
        int all = 0;
    };
    std::vector<counted> sections;
    const auto count = [&sections](const std::vector<report_row>& rows, int counted::*field) {
        std::string section;
        for (const report_row& row : rows) {
            if (row.kind == row_kind::section) {
                section = row.name.size() > 2 && row.name.front() == '[' && row.name.back() == ']'
                              ? row.name.substr(1, row.name.size() - 2)
                              : row.name;
            } else if (format_marks(row).has_value()) {
                auto at = std::find_if(sections.begin(), sections.end(),
                                       [&](const counted& c) { return c.section == section; });
                if (at == sections.end()) {
                    at = sections.insert(sections.end(), counted{section, 0, 0});
                }
                ++((*at).*field);
            }
        }
    };
    count(comparing_ ? (pair_.first ? pair_.first->rows : std::vector<report_row>{}) : source_.rows,
          &counted::all);
    count(shown_.rows, &counted::shown);
    std::string text;
    for (size_t i = 0; i < sections.size(); ++i) {
        text += (i == 0                     ? ""
                 : i + 1 == sections.size() ? " and "
                                            : ", ") +
                std::to_string(sections[i].shown) + " of " + std::to_string(sections[i].all) +
                (sections[i].section.empty() ? "" : " ") + sections[i].section;
    }
    return text.empty() ? std::string() : text + " formats";
}

bool grid_model::mark_differs(int column, int row) const {
    const auto index = static_cast<size_t>(row - fixed_rows());
    const grid_column& shown_column = columns_[static_cast<size_t>(column)];
    if (!comparing_ || shown_column.role != column_role::mark || row < fixed_rows() ||
        index >= compared_marks_.size()) {
        return false;
    }
    const uint64_t bit = uint64_t{1} << shown_column.mark;
    return ((marks_[index] ^ compared_marks_[index]) & bit) != 0;
}

std::string grid_model::filter_words() const {
    std::string can;
    for (size_t i = 0; i < filter_.size(); ++i) {
        can += (i == 0                    ? ""
                : i + 1 == filter_.size() ? " and "
                                          : ", ") +
               std::string(format_capabilities()[static_cast<size_t>(filter_[i])].can);
    }
    return can;
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
            // In a comparison, a dash where only the other report's format has it.
            static const std::string mark = format_mark;
            static const std::string only_other = format_mark_other;
            const bool here = index < marks_.size() && ((marks_[index] >> shown_column.mark) & 1) != 0;
            return here ? mark : mark_differs(column, row) ? only_other : no_text;
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
