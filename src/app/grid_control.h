// The window that draws one report grid model: header row, per-row heights,
// scrolling, row selection, column resizing and copying. It reads a model
// that it does not own.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/grid_model.h"

inline constexpr wchar_t grid_window_class[] = L"CavioGrid";

// Notification codes of WM_COMMAND that a grid sends its parent when the
// user asks its menu to copy more than its rows.
inline constexpr int grid_copy_page = 1;
inline constexpr int grid_copy_report = 2;
// ... and when the user changed the Formats matrix's filter.
inline constexpr int grid_filter_changed = 3;
// ... and when the user followed the current row's link (Return, a click).
inline constexpr int grid_follow_link = 4;

// The width, in 96-DPI pixels, that a fitted Value column leaves the
// Description beside it.
inline constexpr int readable_description_width = 320;

// Registers the window class once per process.
void register_grid_class();

// A grid window showing model (owned by the caller, outliving the window).
HWND create_grid(HWND parent, grid_model* model, int id);

// Call after the model changed: scroll ranges, selection and painting.
void grid_refresh(HWND grid);

// Sets the DPI the grid draws at; metrics of the model are at 96 DPI.
void grid_set_dpi(HWND grid, int dpi);

// The selected rows as text (UTF-8): name, TAB, value, TAB, description per line.
std::string grid_selected_text(HWND grid);

// Selects every data row.
void grid_select_all(HWND grid);

// Makes row the current row, alone in the selection, and scrolls it into view.
void grid_select_row(HWND grid, int row);

// As grid_select_row, and marks the text found in the row's cell of role
// (length bytes from offset, UTF-8), scrolled into view.
void grid_show_match(HWND grid, int row, column_role role, size_t offset, size_t length);

// Shows only the formats of the Formats matrix with every capability of
// marks, as the user's filter does.
void grid_set_filter(HWND grid, std::vector<int> marks);

// Puts text (UTF-8) on the clipboard as Unicode text; false when it cannot
// be opened.
bool copy_to_clipboard(HWND owner, const std::string& text);
