// What one report grid shows of a page, and how: the rows with a header row
// above them, the column widths, the look of its kind of grid, and the
// selection. The window's grid control draws it; no window here.
#pragma once

#include <windows.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "report/document.h"

// Which cell-painting rule draws a grid.
enum class cell_painter { summary, device };

inline constexpr int max_grid_columns = 4;
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
    // keeping the current row where it still lies. A page without rows shows
    // one empty row.
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

    // Name, value, [compared,] description; a Summary grid's description is
    // hidden.
    int column_count() const { return (page_.summary ? 2 : 3) + (comparing_ ? 1 : 0); }
    int fixed_rows() const { return page_.summary ? 0 : 1; }
    int row_count() const { return fixed_rows() + static_cast<int>(std::max<size_t>(shown_.rows.size(), 1)); }
    // The page as the grid shows it.
    const report_page& shown() const { return shown_; }

    // Cell texts, UTF-8; the last column of a Summary grid is its hidden
    // description.
    const std::string& cell(int column, int row) const;
    row_kind kind(int row) const;
    int row_height(int row) const {
        return kind(row) == row_kind::section ? section_row_height : normal_row_height;
    }

    int column_width(int column) const { return widths_[static_cast<size_t>(column)]; }
    void set_column_width(int column, int width) { widths_[static_cast<size_t>(column)] = width; }

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
    bool tab_stop() const { return !page_.summary; }
    bool border() const { return !page_.summary; }

    // The selection: the rows from the anchor to the current row, or the
    // current row alone while there is no anchor (-1).
    int current_row = 0;
    int selection_anchor = -1;
    // True iff row is a data row of the selection.
    bool row_selected(int row) const;
    // The first and last row of the selection.
    std::pair<int, int> selection() const;

private:
    void reset_widths();

    const page_info& page_;
    report_page shown_;
    bool comparing_ = false;
    std::vector<std::string> compared_;  // per shown row, the other report's value
    std::vector<bool> differs_;          // per shown row
    std::array<std::string, max_grid_columns> header_;
    std::array<int, max_grid_columns> widths_{};
};

// The colour behind a grid's data cells: its parent's face colour or its own.
COLORREF grid_background(const grid_model& grid);
