// What a grid window lets the rest of the window layer read of it and do to
// it, without knowing how the grid is made: its accessible object reads the
// grid only through this.
#pragma once

#include <windows.h>

#include "app/grid_model.h"

class grid_access {
public:
    virtual ~grid_access() = default;

    // The model the grid shows.
    virtual const grid_model& model() const = 0;
    // Where a row (a grid row index, header included) lies on the screen;
    // false when none of it shows.
    virtual bool row_on_screen(int row, RECT* place) const = 0;
    // The row under a screen point; -1 for none.
    virtual int row_at_screen(POINT point) const = 0;
    // Makes row the current row, alone in the selection, and scrolls it
    // into view.
    virtual void select_row(int row) = 0;
};

// The grid window's own, or null once the window is gone (or for a window
// that is no grid).
grid_access* grid_access_of(HWND grid);
