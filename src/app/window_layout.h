// Where the main window's controls go, as pure functions of the client
// size and the DPI. Design metrics are at 96 DPI and scale with it.
#pragma once

#include <windows.h>

#include "report/page_table.h"

// Scales a 96-DPI length to dpi.
inline int scale_to(int pixels, int dpi) {
    return MulDiv(pixels, dpi, 96);
}

inline constexpr int design_client_width = 984;
inline constexpr int design_client_height = 664;
inline constexpr int design_status_height = 19;

struct main_layout {
    RECT status_bar;    // status_bar
    RECT top_panel;     // top_panel
    RECT device_label;  // device_label, in top_panel
    RECT adapters;      // adapter_list, in top_panel
    RECT find_label;    // "Find:", in top_panel, after the device list
    RECT find_box;      // the find text, in top_panel, up to the submit button
    RECT submit;        // submit_button, in top_panel, anchored right
    // While comparing, a second row of top_panel: "Compared with:", the
    // other report's adapter and "Differences only"; empty otherwise.
    RECT compare_label;
    RECT compared_list;
    RECT differences_only;
    RECT pages;        // group_panel
    RECT directx_tab;  // the three tabs on the left of group_panel, in group_panel
    RECT opengl_tab;
    RECT vulkan_tab;
    RECT sheet;  // every group's pages, in group_panel
};

main_layout layout_main(int client_width, int client_height, int dpi, bool comparing = false);

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

// The Summary sheet of a group: the panel in the middle where the sheet has
// room for it beside the logo and the links; else the grid fills the room the
// sheet has, to its edges, and scrolls.
// While comparing, it fills that room always: three columns share it.
summary_layout layout_summary(int sheet_width, int sheet_height, int dpi, page_group group,
                              bool comparing = false);
