// A grid's geometry: row tops, content size, scroll ranges and hit tests.
#include "app/grid_geometry.h"

#include <algorithm>
#include <cstdlib>

#include <windows.h>

grid_geometry::grid_geometry(const grid_model& model, int dpi)
    : dpi_(dpi > 0 ? dpi : 96), fixed_rows_(model.fixed_rows()), sizing_(model.column_sizing()) {
    tops_.assign(static_cast<size_t>(model.row_count()) + 1, 0);
    for (int r = 0; r < model.row_count(); ++r) {
        tops_[static_cast<size_t>(r) + 1] = tops_[static_cast<size_t>(r)] + scaled(model.row_height(r));
    }
    for (int c = 0; c < model.column_count(); ++c) {
        widths_.push_back(scaled(model.column_width(c)));
    }
}

int grid_geometry::scaled(int pixels) const {
    return MulDiv(pixels, dpi_, 96);
}

int grid_geometry::content_width() const {
    int width = 0;
    for (const int column : widths_) {
        width += column;
    }
    return width;
}

int grid_geometry::column_left(int column) const {
    int left = 0;
    for (int c = 0; c < column; ++c) {
        left += widths_[static_cast<size_t>(c)];
    }
    return left;
}

int grid_geometry::column_pixels(int column) const {
    return widths_[static_cast<size_t>(column)];
}

int grid_geometry::data_view_height(int client_height) const {
    return std::max(0, client_height - fixed_height());
}

int grid_geometry::max_scroll_x(int client_width) const {
    return std::max(0, content_width() - client_width);
}

int grid_geometry::max_scroll_y(int client_height) const {
    return std::max(0, content_height() - data_view_height(client_height));
}

int grid_geometry::page_rows(int client_height) const {
    return std::max(1, data_view_height(client_height) / std::max(1, scaled(normal_row_height)));
}

int grid_geometry::scroll_to_show(int row, int scroll_y, int client_height) const {
    if (row < fixed_rows_ || row >= row_count()) {
        return scroll_y;
    }
    const int top = row_top(row) - fixed_height();
    const int bottom = top + row_pixels(row);
    if (top < scroll_y) {
        return top;
    }
    if (bottom > scroll_y + data_view_height(client_height)) {
        return bottom - data_view_height(client_height);
    }
    return scroll_y;
}

int grid_geometry::row_at(int y, int scroll_y) const {
    if (y < 0) {
        return -1;
    }
    if (y < fixed_height()) {
        const auto found = std::upper_bound(tops_.begin(), tops_.begin() + fixed_rows_ + 1, y);
        return static_cast<int>(found - tops_.begin()) - 1;
    }
    // Data rows are drawn at their top minus the scrolled pixels.
    const auto found = std::upper_bound(tops_.begin(), tops_.end(), y + scroll_y);
    const int row = static_cast<int>(found - tops_.begin()) - 1;
    return row >= row_count() ? -1 : row;
}

int grid_geometry::column_at(int x, int scroll_x) const {
    if (x < 0) {
        return -1;
    }
    if (x < frozen_width()) {
        return 0;
    }
    int right = -scroll_x;
    for (size_t c = 0; c < widths_.size(); ++c) {
        right += widths_[c];
        if (c > 0 && x < right) {
            return static_cast<int>(c);
        }
    }
    return -1;
}

int grid_geometry::divider_at(int x, int y, int scroll_x, int grip) const {
    if (!sizing_ || fixed_rows_ == 0 || y >= fixed_height()) {
        return -1;
    }
    int right = -scroll_x;
    for (size_t c = 0; c < widths_.size(); ++c) {
        right += widths_[c];
        // The first column's edge where it stays; another's where it shows.
        const int edge = c == 0 ? frozen_width() : right;
        if ((c == 0 || edge > frozen_width()) && std::abs(x - edge) <= grip) {
            return static_cast<int>(c);
        }
    }
    return -1;
}
