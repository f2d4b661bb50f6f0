// The names of the window classes the program registers, which the windows
// it makes and the tests that find them use.
#pragma once

inline constexpr wchar_t main_window_class[] = L"CavioMain";
inline constexpr wchar_t panel_window_class[] = L"CavioPanel";
