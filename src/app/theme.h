// The window's colours: the light theme as the viewer always had it, a dark
// one for Windows' dark app mode, and the system's own colours in high
// contrast. One palette is in use at a time, for every window of the viewer.
#pragma once

#include <windows.h>

enum class ui_theme { light, dark, high_contrast };

struct palette {
    COLORREF face;             // panels, sheets, the Summary pages, the top bar
    COLORREF face_text;        // labels on the face
    COLORREF link;             // the Summary's links
    COLORREF window;           // behind a report grid's rows
    COLORREF text;             // the rows' text
    COLORREF fixed;            // the header row and the section bands
    COLORREF fixed_text;       // their text
    COLORREF current_row;      // behind the selected rows
    COLORREF current_text;     // the selected rows' text; CLR_INVALID: as the row's kind says
    COLORREF number;           // numbers and "yes"
    COLORREF zero;             // zeros and "no"
    COLORREF differs;          // a compared row whose values differ
    COLORREF tab;              // a group tab or page tab not chosen
    COLORREF tab_text;         // its caption
    COLORREF chosen_tab;       // the chosen one
    COLORREF chosen_tab_text;  // its caption
    COLORREF found;            // behind the text Find marked
};

// The theme Windows asks for: high contrast first, then the app mode (the
// AppsUseLightTheme value; light where it is missing).
ui_theme system_theme();

palette palette_of(ui_theme theme);

// The palette in use, light until set.
const palette& active_palette();
ui_theme active_theme();
void set_active_theme(ui_theme theme);

// The contrast ratio of two colours, as WCAG 2 defines it: 1 to 21.
double contrast_ratio(COLORREF first, COLORREF second);

// Whether a window's look is to be set for the theme, marking it by name:
// always to go dark; to go light only where it was made dark before. A
// window never made dark keeps the system's look untouched, which spares it
// a repaint (and the window manager's library) while the program starts.
bool restyle_for_theme(HWND window, const wchar_t* mark, bool dark);

// Asks the desktop window manager for a dark title bar, where it has one.
void use_dark_title_bar(HWND window, bool dark);
