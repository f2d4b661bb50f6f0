// Where the main window's controls go, as pure functions of the client
// size and the DPI. Design metrics are at 96 DPI and scale with it.
#pragma once

#include <windows.h>

// Scales a 96-DPI length to dpi.
inline int scale_to(int pixels, int dpi) {
    return MulDiv(pixels, dpi, 96);
}

inline constexpr int design_client_width = 984;
inline constexpr int design_client_height = 664;
inline constexpr int design_status_height = 19;

struct main_layout {
    RECT status_bar;    // SB
    RECT top_panel;     // Ptop
    RECT device_label;  // Label1, in Ptop
    RECT adapters;      // CBadapters, in Ptop
    RECT find_label;    // "Find:", in Ptop, after the device list
    RECT find_box;      // the find text, in Ptop, up to the submit button
    RECT submit;        // Bsubmit, in Ptop, anchored right
    RECT pages;         // PCtop
    RECT directx_tab;   // the two tabs on the left of PCtop, in PCtop
    RECT opengl_tab;
    RECT sheet;  // TSdirectx and TSopengl, in PCtop
};

main_layout layout_main(int client_width, int client_height, int dpi);

// Where the first window goes: its frame, cut to the work area when larger,
// centred on the work area.
RECT first_window_rect(SIZE frame, const RECT& work);

struct summary_layout {
    RECT logo;  // Image1 or Image2, anchored top right
    RECT home_visit;
    RECT home_link;
    RECT maker_visit;
    RECT maker_link;
    RECT panel;  // Psummary or Pgl_summary, kept in the middle
    RECT grid;   // in the panel
};

// The Summary sheet of the DirectX side (opengl false) or the OpenGL side.
summary_layout layout_summary(int sheet_width, int sheet_height, int dpi, bool opengl);
