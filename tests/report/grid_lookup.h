// Finding rows of a grid model by name, for the page tests.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "report/grid_model.h"

// The first row whose name is name, or -1.
inline int find_row(const grid_model& grid, const std::string& name) {
    for (int r = 0; r < grid.row_count(); ++r) {
        if (grid.cell(0, r) == name) {
            return r;
        }
    }
    return -1;
}

// The value of the row named name, or a text that says it is missing.
inline std::string value_of(const grid_model& grid, const std::string& name) {
    const int row = find_row(grid, name);
    return row < 0 ? "<missing " + name + ">" : grid.cell(1, row);
}
