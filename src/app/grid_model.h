// What one report grid shows of a page, and how: the rows with a header row
// above them, the column widths, the look of its kind of grid, and the
// selection. The window's grid control draws it; no window here.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "report/document.h"
#include "report/summary_facts.h"

// Which cell-painting rule draws a grid.
enum class cell_painter { summary, device };

// What a grid column shows of its rows.
enum class column_role : uint8_t {
    name,
    value,
    compared,     // the other report's value, while comparing
    description,  // hidden on a Summary grid
    mark,         // a capability of the Formats matrix: a mark where the row's format has it
};

struct grid_column {
    column_role role = column_role::name;
    int mark = -1;  // the capability of a mark column, in format_capabilities()
    std::string header;
    int width = 0;  // in 96-DPI pixels
    bool sized_by_user = false;
};

// The mark a mark column shows where the format has the capability, and in
// a comparison where only the other report's format has it.
inline constexpr char format_mark[] = "\u2713";
inline constexpr char format_mark_other[] = "\u2013";
inline constexpr int normal_row_height = 17;
inline constexpr int section_row_height = 32;

class grid_model {
public:
    // The grid of a page, showing no rows yet: a Summary grid (two columns,
    // no header, the parent's colour) or a report grid (three columns below
    // a header row).
    explicit grid_model(const page_info& page);

    const page_info& page() const { return page_; }
    // The grid window's name, by which tools find it: "SG" and the page's marker.
    std::string name() const { return std::string("SG") + page_.marker; }
    bool is_summary() const { return page_.summary; }

    // Shows the rows of page (none when null) at the columns' first widths,
    // or those the user gave them, keeping the current row where it still
    // lies. A page without rows shows one empty row. The Formats page shows
    // as a matrix: its name, a mark column per capability, its value and its
    // description, and only the formats that have every capability filtered on.
    void show(const report_page* page);
    // Shows page beside other, the same page of another report (either may
    // be null): the rows paired as compare_pages pairs them, the other's
    // value in a column "Compared" after the value, "(none)" on the side
    // that lacks a row. With differences_only, only the rows that differ
    // and the sections above them.
    void show_compared(const report_page* page, const report_page* other, bool differences_only);
    bool comparing() const { return comparing_; }
    // Whether a data row's values differ from the other report's.
    bool row_differs(int row) const;
    // Whether a mark cell's capability differs between the two reports.
    bool mark_differs(int column, int row) const;
    // The rows that differ on the page, while comparing.
    int difference_count() const { return differences_; }
    // The compared value of a shown row, while comparing.
    const std::string& compared_value(size_t index) const;

    // The Formats matrix: whether the page is drawn as one, and the mark
    // columns a format must have to be shown (none: every format).
    bool is_matrix() const { return matrix_; }
    const std::vector<int>& filter() const { return filter_; }
    void set_filter(std::vector<int> marks);
    // What the filter lets through, per section of the page: "21 of 72
    // Direct3D 9, 46 of 121 Direct3D 11 and 40 of 121 Direct3D 12 formats".
    std::string filter_counts() const;
    // The page and row a Summary row links to, or null.
    const summary_link* link(int row) const;
    // The one line the grid shows where it has no rows to show, or empty.
    const std::string& placeholder() const { return placeholder_; }

    // Name, value, [compared,] description; a Summary grid's description is
    // hidden. The Formats matrix puts its mark columns after the name.
    int column_count() const { return static_cast<int>(columns_.size()); }
    const grid_column& column(int column) const { return columns_[static_cast<size_t>(column)]; }
    // The column of a role, or -1.
    int column_of(column_role role) const;
    int fixed_rows() const { return page_.summary ? 0 : 1; }
    int row_count() const { return fixed_rows() + static_cast<int>(std::max<size_t>(shown_.rows.size(), 1)); }
    // The page as the grid shows it.
    const report_page& shown() const { return shown_; }
    // The page as Copy page copies it: the rows of the report, whatever the
    // matrix's filter hides; the paired rows of a comparison.
    const report_page& copied() const { return comparing_ ? shown_ : source_; }

    // Cell texts, UTF-8; the last column of a Summary grid is its hidden
    // description.
    const std::string& cell(int column, int row) const;
    row_kind kind(int row) const;
    int row_height(int row) const {
        return kind(row) == row_kind::section ? section_row_height : normal_row_height;
    }

    int column_width(int column) const { return columns_[static_cast<size_t>(column)].width; }
    // A width the program fits; one the user gave (by dragging or fitting a
    // divider) is kept for the page, for the session, and is not fitted again.
    void set_column_width(int column, int width, bool by_user = false);

    // Presentation, fixed by the kind of grid.
    COLORREF color() const { return RGB(255, 255, 255); }  // behind a report grid's data cells
    bool parent_color() const { return page_.summary; }    // the Summary grid takes its parent's face colour
    COLORREF fixed_color() const { return RGB(192, 192, 192); }
    int font_size() const { return 8; }
    cell_painter painter() const { return page_.summary ? cell_painter::summary : cell_painter::device; }
    bool vertical_lines() const { return false; }             // none between the cells of a data row
    bool horizontal_lines() const { return !page_.summary; }  // lines between rows
    bool row_select() const { return true; }                  // a selection covers the whole row
    bool thumb_tracking() const { return true; }              // scrolls live while the thumb is dragged
    bool column_sizing() const { return !page_.summary; }     // the user may resize columns
    // A report grid, and the DirectX Summary, whose links Tab goes through.
    bool tab_stop() const { return !page_.summary || page_.id == page_id::dx_summary; }
    bool border() const { return !page_.summary; }

    // The text Find marked: its row, column, and bytes in the cell's text.
    struct marked_text {
        int row = -1;
        int column = -1;
        size_t offset = 0;
        size_t length = 0;
    };
    marked_text match;

    // The selection: the rows from the anchor to the current row, or the
    // current row alone while there is no anchor (-1).
    int current_row = 0;
    int selection_anchor = -1;
    // True iff row is a data row of the selection.
    bool row_selected(int row) const;
    // The first and last row of the selection.
    std::pair<int, int> selection() const;

private:
    void reset_columns();
    void show_rows();
    void show_pairs();
    // The capabilities filtered on, as the filter says them: "be sampled and take MSAA x4".
    std::string filter_words() const;

    const page_info& page_;
    report_page source_;  // the page as the document has it
    report_page shown_;
    bool comparing_ = false;
    bool matrix_ = false;
    int differences_ = 0;
    std::vector<std::string> compared_;     // per shown row, the other report's value
    std::vector<bool> differs_;             // per shown row
    std::vector<uint64_t> marks_;           // per shown row of a matrix, its capabilities
    std::vector<uint64_t> compared_marks_;  // per shown row of a compared matrix, the other report's
    // The pages compared, and whether only their differences show.
    std::pair<std::optional<report_page>, std::optional<report_page>> pair_;
    bool differences_only_ = false;
    std::vector<int> filter_;
    std::string placeholder_;
    std::vector<grid_column> columns_;
    // The widths the user gave, by role and mark, kept across every show.
    std::map<std::pair<column_role, int>, int> user_widths_;
};

// The colour behind a grid's data cells: its parent's face colour or its own.
COLORREF grid_background(const grid_model& grid);
