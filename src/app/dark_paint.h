// Dark mode to the window's edges. Windows 10 and 11 have dark themes of
// their own for scroll bars, buttons, edits and menus, asked for here where
// the system offers them; everything they would leave light (the menu bar,
// and every part on a system without them) the window paints itself in the
// palette's colours. The light theme is left to the system as it always was.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// Asks the system for its dark themes of the window's controls and menus,
// where it has them: the app's preferred mode, the window's own, and the
// control themes of a scroll bar's owner, a button or an edit.
void use_system_dark_mode(HWND window, bool dark);
void use_dark_control_theme(HWND control, bool dark, bool edit);

// A tooltip in the theme's colours: in the dark theme drawn without the
// system's visual style, which knows no dark tooltip before Windows 10's,
// in the palette's window colours; in the light theme as the system draws it.
void theme_tooltip(HWND tip);

// A subclass procedure, for SetWindowSubclass, that paints a push button, a
// check box, an edit's border or a drop-down list in the dark palette while
// the theme is dark, and leaves it to the control otherwise.
LRESULT CALLBACK dark_control_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                        DWORD_PTR);

// Paints the part of a window's menu bar that no item covers in the dark
// palette, while the theme is dark.
void paint_dark_menu_bar(HWND window);

// Paints a window's own scroll bars in the dark palette over what the system
// drew, while the theme is dark.
void paint_dark_scroll_bars(HWND window);

// The text of a menu item the window draws, and whether it is on a menu bar.
struct menu_text {
    std::wstring text;
    bool bar = false;
};
// The texts of a menu whose items the window draws; they live as long as it.
using menu_texts = std::vector<std::unique_ptr<menu_text>>;

// Makes a menu (a menu bar, or a pop-up one), its submenus and their
// backgrounds drawn by the owner in the dark theme, or given back to the
// system in the light one; texts may be cleared after the latter.
void set_menu_drawn(HMENU menu, bool dark, menu_texts& texts, bool bar);

// WM_MEASUREITEM and WM_DRAWITEM of a menu item set_menu_drawn made; false
// for anything else.
bool measure_menu_item(HWND owner, MEASUREITEMSTRUCT& item);
bool draw_menu_item(const DRAWITEMSTRUCT& item);
