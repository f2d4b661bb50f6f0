// The Value column made wide enough for every value of its page.
#pragma once

#include <functional>
#include <string_view>

#include "app/grid_model.h"

// Measures text in the grid's font at the given size in points and weight,
// in pixels at 96 DPI.
using text_measure = std::function<int(std::string_view text, int points, bool bold)>;

// The Value column's width, in 96-DPI pixels, at which no value of the grid
// is cut: the width it has now (the set-up's, its minimum) or the widest
// value with its cell's insets, whichever is larger.
int fitted_value_width(const grid_model& grid, const text_measure& measure);

// The same for any column: the width at which none of its cells is cut,
// section headings aside, or the width it has now, whichever is larger; or,
// exactly, the width its widest cell needs, header included, when asked so.
int fitted_column_width(const grid_model& grid, int column, const text_measure& measure,
                        bool exactly = false);
