// Small helpers for the main window's child controls: their text in UTF-8,
// the status bar's parts, and creating, placing and measuring controls.
#pragma once

#include <windows.h>

#include <string>

// Joins this thread to a single-threaded apartment the first time something
// needs COM: a screen reader's request, a file dialog, an address opened.
// COM loads then, not at the program's start, where it would keep the
// window from taking input sooner.
void use_com_here();

// A window's text, in UTF-8.
std::string window_text(HWND window);

// The parts of the main window's status bar.
enum status_part_id : int { status_version, status_message, status_find };

// Sets or reads one part of a status bar, in UTF-8.
void set_status(HWND status_bar, int part, const std::string& text);
std::string status_part(HWND status_bar, int part);

// The DPI a window is shown at (the system's where Windows has no
// per-window DPI, or window is null).
int window_dpi(HWND window);

// Moves a window, where there is one, to a rectangle of its parent.
void move_to(HWND window, const RECT& where);

// The width of a window's text in the given font, in pixels.
int text_width(HWND window, HFONT font);

RECT client_of(HWND window);

// A panel that holds controls and forwards what they tell it to the main
// window.
HWND create_panel(HWND parent, const wchar_t* text);

// A visible child control of a class, with its text (UTF-8), style and id.
HWND create_child(const wchar_t* window_class, const std::string& text, DWORD style, HWND parent, int id = 0,
                  DWORD extended = 0);

// A group's button at the left of the pages, drawn by the main window.
HWND create_tab_button(const char* caption, HWND parent, int id);
