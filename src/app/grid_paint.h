// Painting one grid model: background, rows, cell text by the cell-style
// rule, lines and the focus mark. Serves WM_PAINT and WM_PRINTCLIENT alike.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>

#include "app/grid_geometry.h"
#include "base/win_handles.h"
#include "app/grid_model.h"

// The fonts of one grid, Tahoma in every size and weight it draws, made on
// first use at the grid's DPI.
class grid_fonts {
public:
    HFONT get(int points, bool bold, int dpi);
    void clear() { fonts_.clear(); }

private:
    std::map<std::pair<int, bool>, gdi_object<HFONT>> fonts_;
};

// What the view adds to the model: how far it is scrolled, and whether it
// has the keyboard focus.
struct grid_view {
    int scroll_x = 0;
    int scroll_y = 0;  // pixels of data rows scrolled out above
    bool focused = false;
};

// Paints area of the grid into dc, restoring every object it selects.
void paint_grid(HDC dc, const RECT& area, const grid_model& model, const grid_geometry& geometry,
                const grid_view& view, grid_fonts& fonts);
