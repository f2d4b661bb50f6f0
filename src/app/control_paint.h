// What the main window paints over the common controls: the page strips and
// the status bar in the dark theme, and a link's focus rectangle. Each is a
// subclass procedure for SetWindowSubclass.
#pragma once

#include <windows.h>

// Its data: 1 for the status bar, 0 for a page strip.
LRESULT CALLBACK strip_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                 DWORD_PTR status);

LRESULT CALLBACK link_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR);
