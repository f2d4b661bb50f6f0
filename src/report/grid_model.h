// A report page as a plain object: the cells, row heights, columns, colours,
// font and options that the window's grid control draws. No window here.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

// Which cell-painting rule draws a grid.
enum class cell_painter { none, summary, device };

inline constexpr int max_grid_columns = 3;
inline constexpr int normal_row_height = 17;
inline constexpr int section_row_height = 32;

class grid_model {
public:
    using row_cells = std::array<std::string, max_grid_columns>;

    // A grid as the window layout creates it: a Summary grid (two columns,
    // no header) or a report grid (three columns below a header row).
    grid_model(std::string component_name, bool summary);

    const std::string& name() const { return name_; }
    bool is_summary() const { return summary_; }

    int column_count() const { return column_count_; }
    int fixed_rows() const { return fixed_rows_; }
    int row_count() const { return static_cast<int>(cells_.size()); }
    // Grows with empty cells at the default height, or cuts rows off.
    void set_row_count(int rows);

    const std::string& cell(int column, int row) const { return cells_[row][column]; }
    void set_cell(int column, int row, std::string text) { cells_[row][column] = std::move(text); }
    // All cells of a row, the hidden description cell of a Summary grid too.
    const row_cells& row(int row) const { return cells_[row]; }
    row_cells& row(int row) { return cells_[row]; }

    int row_height(int row) const { return heights_[row]; }
    void set_row_height(int row, int height) { heights_[row] = height; }
    int default_row_height() const { return default_row_height_; }
    // Sets the default and every existing row to it.
    void set_default_row_height(int height);

    int column_width(int column) const { return widths_[column]; }
    void set_column_width(int column, int width) { widths_[column] = width; }

    // Presentation, as the layout and the set-ups leave it.
    COLORREF color = RGB(255, 255, 255);  // background of the data cells
    bool parent_color = false;            // the parent's colour instead of color
    COLORREF fixed_color = GetSysColor(COLOR_BTNFACE);
    std::string font_name = "Tahoma";
    int font_size = 8;
    cell_painter painter = cell_painter::none;
    bool default_drawing = true;
    bool double_buffered = false;
    bool vertical_lines = true;    // lines between the cells of a row
    bool horizontal_lines = true;  // lines between rows
    bool row_select = false;       // a selection covers the whole row
    bool thumb_tracking = false;   // scrolls live while the thumb is dragged
    bool column_sizing = true;     // the user may resize columns
    bool tab_stop = true;
    bool border = true;
    // The selection: the rows from the anchor to the current row, or the
    // current row alone while there is no anchor (-1).
    int current_row = 0;
    int selection_anchor = -1;
    // True iff row is a data row of the selection.
    bool row_selected(int row) const;
    // The first and last row of the selection.
    std::pair<int, int> selection() const;

private:
    std::string name_;
    bool summary_;
    int column_count_;
    int fixed_rows_;
    int default_row_height_ = 19;
    std::vector<row_cells> cells_;
    std::vector<int> heights_;
    std::array<int, max_grid_columns> widths_{};
};

// Sorts the rows below the fixed rows ascending by the row text: each cell
// from column 0 to the last column followed by "\r\n", compared byte by byte
// as unsigned values, a prefix first. Only cells move; heights stay with
// their positions.
void sort_grid_rows(grid_model& grid);
