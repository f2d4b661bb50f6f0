// The state of one grid window, created at WM_NCCREATE and freed at
// WM_NCDESTROY: what the grid control's files share, and nothing else reads.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "app/cell_style.h"
#include "app/column_fit.h"
#include "app/grid_access.h"
#include "app/grid_geometry.h"
#include "app/grid_model.h"
#include "app/grid_paint.h"
#include "base/win_handles.h"

inline constexpr int resize_grip = 3;       // pixels either side of a header divider
inline constexpr int horizontal_step = 20;  // design pixels a scroll arrow or key moves sideways
inline constexpr int menu_copy = 1;
inline constexpr int menu_select_all = 2;
inline constexpr int menu_copy_page = 3;
inline constexpr int menu_copy_report = 4;
inline constexpr int menu_filter_none = 5;
inline constexpr int menu_filter_first = 100;  // one per capability of the Formats matrix

class grid_state final : public grid_access {
public:
    explicit grid_state(HWND window, grid_model* model)
        : window_(window), model_(model), geometry_(*model, 96) {}

    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
    void refresh();
    void set_dpi(int dpi);
    std::string selected_text() const;
    void select_all();
    // Also scrolled to the left, so that the row's name shows whole.
    void select_row(int row) override;
    void show_match(int row, column_role role, size_t offset, size_t length);
    const grid_model& model() const override { return *model_; }
    bool row_on_screen(int row, RECT* place) const override;
    int row_at_screen(POINT point) const override;

private:
    int scaled(int pixels) const { return geometry_.scaled(pixels); }
    RECT client() const;
    int first_data_row() const { return model_->fixed_rows(); }
    int last_row() const { return model_->row_count() - 1; }
    // The next row from row (not itself) in direction that links, or -1.
    int next_link(int row, int direction) const;
    bool has_data() const { return model_->row_count() > model_->fixed_rows(); }

    void measure_rows() { geometry_ = grid_geometry(*model_, dpi_); }
    void fit_value_column();
    // Fits column to its longest text, as the user asked: kept from then on.
    void fit_column(int column);
    text_measure measure() const;
    void track_tip(int x, int y);
    std::string cut_text_at(int column, int row);
    void paint(HDC dc, const RECT& area);
    void update_scroll_bars();
    void scroll_to(int x, int y);
    void ensure_visible(int row);
    int row_at(int y) const { return geometry_.row_at(y, view_.scroll_y); }
    int divider_at(int x, int y) const { return geometry_.divider_at(x, y, view_.scroll_x, resize_grip); }
    void move_current(int row, bool extend);
    int skip_blank(int row, int direction) const;
    void on_key(WPARAM key);
    void on_button_down(int x, int y, bool shift);
    void on_context_menu(int x, int y);
    void copy();
    void toggle_filter(int mark);
    void follow_link();

public:
    // Shows only the formats with every capability of marks, and tells the
    // parent (grid_filter_changed).
    void set_filter(std::vector<int> marks);

private:
    HWND window_;
    grid_model* model_;  // holds the current row and the selection
    int dpi_ = 96;
    grid_geometry geometry_;
    grid_view view_;
    mutable grid_fonts fonts_;
    window_handle tip_;                   // shows a cut cell's whole text
    std::wstring tip_text_;               // what the tip shows now
    std::pair<int, int> tipped_{-1, -1};  // the cell under the mouse: column, row
    int dragged_column_ = -1;
    int drag_origin_ = 0;
    int drag_width_ = 0;
};
