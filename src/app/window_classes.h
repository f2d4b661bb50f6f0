// The main window's own window classes: the main window, whose procedure
// hands every message to its main_window, and the panels that hold controls.
#pragma once

#include <windows.h>

inline constexpr wchar_t main_window_class[] = L"CavioMain";
inline constexpr wchar_t panel_window_class[] = L"CavioPanel";

// Registers both classes, and the grid's, once per process.
void register_window_classes();
