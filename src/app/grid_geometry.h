// Where a grid's rows and columns lie, at a DPI and a scroll position: row
// tops, content size, scroll ranges and hit tests. Pure: no window, so the
// tests measure it directly.
#pragma once

#include <vector>

#include "app/grid_model.h"

class grid_geometry {
public:
    // Measures model at dpi; metrics of the model are at 96 DPI.
    grid_geometry(const grid_model& model, int dpi);

    int scaled(int pixels) const;
    int dpi() const { return dpi_; }

    int row_top(int row) const { return tops_[static_cast<size_t>(row)]; }
    int row_pixels(int row) const {
        return tops_[static_cast<size_t>(row) + 1] - tops_[static_cast<size_t>(row)];
    }
    // Height of the fixed rows, drawn above the scrolled ones.
    int fixed_height() const { return tops_[static_cast<size_t>(fixed_rows_)]; }
    // Height and width of everything that scrolls.
    int content_height() const { return tops_.back() - fixed_height(); }
    int content_width() const;
    // Where a column starts in the content, unscrolled.
    int column_left(int column) const;
    int column_pixels(int column) const;
    // The first column (the rows' names) stays in view: the others scroll
    // under it. Its width, and where a column starts on screen.
    int frozen_width() const { return widths_.empty() ? 0 : widths_[0]; }
    int column_screen_left(int column, int scroll_x) const {
        return column == 0 ? 0 : column_left(column) - scroll_x;
    }

    // The visible height for data rows in a client area of that height.
    int data_view_height(int client_height) const;
    // The largest scroll positions that still fill the view.
    int max_scroll_x(int client_width) const;
    int max_scroll_y(int client_height) const;
    // Whole rows of the default height in a page of the view.
    int page_rows(int client_height) const;
    // The vertical scroll position that brings row into view, moving as
    // little as possible; scroll_y itself when it is in view already.
    int scroll_to_show(int row, int scroll_y, int client_height) const;

    // The row under client y, fixed rows included, or -1 below the last.
    int row_at(int y, int scroll_y) const;
    // The column under client x, or -1 right of the last; the first column
    // wherever it covers the others.
    int column_at(int x, int scroll_x) const;
    // The column whose right edge lies within grip pixels of client x in
    // the header row, or -1.
    int divider_at(int x, int y, int scroll_x, int grip) const;

    int row_count() const { return static_cast<int>(tops_.size()) - 1; }

private:
    int dpi_;
    int fixed_rows_;
    bool sizing_;
    std::vector<int> tops_;  // the top of every row and the bottom of the last
    std::vector<int> widths_;
};
