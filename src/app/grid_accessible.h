// Active Accessibility for the report grids: the object a grid hands out
// for WM_GETOBJECT, and the events it raises.
#pragma once

#include <windows.h>

// The grid's IAccessible, as the LRESULT of WM_GETOBJECT for OBJID_CLIENT.
LRESULT grid_accessible_result(HWND grid, WPARAM flags);

// Raises a WinEvent for one of the grid's rows (a grid row index, header
// included), or for the grid itself when row is a header row.
void grid_notify(HWND grid, DWORD event, int row);
