// The rule that decides how one report cell is painted: background, text
// colour, weight, size and alignment, from the kind of its row. Pure, so
// both painters and the tests use the same decision.
#pragma once

#include <windows.h>

#include <string_view>

#include "app/grid_model.h"

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
    std::string_view row_name;  // the name of the cell's row
    int column = 0;
    row_kind kind = row_kind::text;  // the kind of the cell's row
    bool fixed_row = false;          // the header row
    bool current_row = false;        // the current row, or a row of the selection
    bool differs = false;            // in a comparison, a row whose values differ
    bool mark = false;               // a mark column of the Formats matrix
    bool link = false;               // a Summary row that links to the page it comes from
    COLORREF link_color = RGB(0, 102, 204);
    cell_painter painter = cell_painter::device;
    COLORREF grid_color = RGB(255, 255, 255);
    COLORREF fixed_color = RGB(192, 192, 192);
    COLORREF font_color = RGB(0, 0, 0);
    int font_size = 8;
    // The theme's meanings; the light theme's by default.
    COLORREF current_color = RGB(192, 220, 192);
    COLORREF current_text = CLR_INVALID;  // the selection's text; none: as the kind says
    COLORREF number = RGB(0, 128, 0);
    COLORREF zero = RGB(255, 0, 0);
    COLORREF differs_background = RGB(255, 226, 140);
};

// The light theme's meanings (theme.h holds every theme's).
inline constexpr COLORREF current_row_color = RGB(192, 220, 192);
inline constexpr COLORREF number_color = RGB(0, 128, 0);
inline constexpr COLORREF zero_color = RGB(255, 0, 0);
// Behind a row that differs from the compared report: amber, under which
// the black, green and red texts all keep their contrast.
inline constexpr COLORREF differs_color = RGB(255, 226, 140);

// The Summary painter for a Summary grid, the device painter for every
// other report grid. On the device painter a section row is a large grey
// band; a value is painted as its row's kind says (numbers right-aligned,
// green and bold, a zero red; "yes" centred, green and bold, "no" red); free
// text, in any column, is painted so too where it reads as a number or as
// "yes" or "no", as the report always has. In a comparison a row that
// differs has the amber background, and the Compared column is painted as
// the value column is. What only names a thing is neither good nor bad: an
// ordinal (a row named "...Ordinal...") and a version ("8.21.13.9135", two
// dots or more) keep the text's own colour.
cell_style decide_cell_style(const cell_facts& cell);

// The facts of a cell of a grid model, for the painters.
cell_facts cell_facts_at(const grid_model& grid, int column, int row);
