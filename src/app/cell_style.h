// The rule that decides how one report cell is painted: background, text
// colour, weight, size and alignment. Pure, so both painters and the tests
// use the same decision.
#pragma once

#include <windows.h>

#include <string>

#include "report/grid_model.h"

enum class cell_align { left, center, right };

struct cell_style {
    COLORREF background = RGB(255, 255, 255);
    COLORREF text_color = RGB(0, 0, 0);
    bool bold = false;
    int font_size = 8;  // points
    cell_align align = cell_align::left;
    // Insets of the text rectangle, in 96-DPI pixels.
    int inset_left = 0;
    int inset_right = 0;
    int inset_top = 0;
    int inset_bottom = 0;

    bool operator==(const cell_style&) const = default;
};

// What a cell's painter needs to know about the cell and its grid.
struct cell_facts {
    std::string_view text;
    int column = 0;
    int row_height = normal_row_height;  // 96-DPI pixels
    bool fixed_row = false;
    bool current_row = false;  // the current row, or a row of the selection
    cell_painter painter = cell_painter::device;
    COLORREF grid_color = RGB(255, 255, 255);
    COLORREF fixed_color = RGB(192, 192, 192);
    COLORREF font_color = RGB(0, 0, 0);
    int font_size = 8;
};

inline constexpr COLORREF current_row_color = RGB(192, 220, 192);
inline constexpr COLORREF number_color = RGB(0, 128, 0);
inline constexpr COLORREF zero_color = RGB(255, 0, 0);

// The Summary painter for a Summary grid, the device painter for every
// other report grid.
cell_style decide_cell_style(const cell_facts& cell);

// The colour behind a grid's data cells: its parent's face colour or its own.
COLORREF grid_background(const grid_model& grid);
