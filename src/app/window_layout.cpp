// The main window's layout as pure functions of the client size and the DPI.
#include "app/window_layout.h"

#include <algorithm>

namespace {

RECT box(int left, int top, int width, int height) {
    return RECT{left, top, left + width, top + height};
}

}  // namespace

RECT first_window_rect(SIZE frame, const RECT& work) {
    const LONG width = std::min(frame.cx, work.right - work.left);
    const LONG height = std::min(frame.cy, work.bottom - work.top);
    const LONG left = work.left + (work.right - work.left - width) / 2;
    const LONG top = work.top + (work.bottom - work.top - height) / 2;
    return RECT{left, top, left + width, top + height};
}

main_layout layout_main(int client_width, int client_height, int dpi, bool comparing) {
    const auto s = [dpi](int pixels) { return scale_to(pixels, dpi); };
    main_layout layout{};
    const int status_height = s(design_status_height);
    const int top_height = s(comparing ? 41 + 30 : 41);
    layout.status_bar = box(0, client_height - status_height, client_width, status_height);
    layout.top_panel = box(0, 0, client_width, top_height);
    layout.device_label = box(s(8), s(12), s(44), s(16));
    layout.adapters = box(s(56), s(8), s(409), s(200));
    // Keeps its distance from the right edge, as at the design size.
    layout.submit = box(client_width - s(design_client_width - 831), s(8), s(147), s(25));
    // In a narrow window the device list gives way to the find box, down to
    // a width of its own that still shows a description.
    const int find_part = s(16) + s(30) + s(4) + s(100);
    const int room = static_cast<int>(layout.submit.left) - s(16) - static_cast<int>(layout.adapters.left);
    if (room < s(409) + find_part) {
        layout.adapters.right = layout.adapters.left + std::max(s(150), room - find_part);
    }
    layout.find_label = box(layout.adapters.right + s(16), s(12), s(30), s(16));
    const int find_left = layout.find_label.right + s(4);
    layout.find_box =
        box(find_left, s(9), std::max(0, static_cast<int>(layout.submit.left) - s(16) - find_left), s(22));
    if (comparing) {
        layout.compare_label = box(s(8), s(41 + 4), s(90), s(16));
        layout.compared_list = box(layout.compare_label.right + s(4), s(41),
                                   layout.adapters.right - layout.compare_label.right - s(4), s(200));
        layout.differences_only = box(layout.compared_list.right + s(16), s(41 + 1), s(160), s(22));
    }
    layout.pages = box(0, top_height, client_width, std::max(0, client_height - top_height - status_height));
    const int page_height = layout.pages.bottom - layout.pages.top;
    layout.directx_tab = box(s(4), s(4), s(100), s(30));
    layout.opengl_tab = box(s(4), s(4 + 30 + 4), s(100), s(30));
    layout.vulkan_tab = box(s(4), s(4 + 2 * (30 + 4)), s(100), s(30));
    const int sheet_left = s(4 + 100 + 4);
    layout.sheet =
        box(sheet_left, s(4), std::max(0, client_width - sheet_left - s(4)), std::max(0, page_height - s(8)));
    return layout;
}

summary_layout layout_summary(int sheet_width, int sheet_height, int dpi, page_group group, bool comparing) {
    const auto s = [dpi](int pixels) { return scale_to(pixels, dpi); };
    summary_layout layout{};
    // Logo and links end at the same right edge, 7 px from the sheet's.
    const int right = sheet_width - s(7);
    layout.logo = box(right - s(140), s(8), s(140), s(64));
    layout.home_link = box(right - s(127), s(80), s(127), s(16));
    layout.home_visit = box(layout.home_link.left - s(31), s(80), s(29), s(16));
    layout.maker_link = box(right - s(130), s(104), s(130), s(16));
    layout.maker_visit = box(layout.maker_link.left - s(31), s(104), s(29), s(16));
    // Each group's panel is as tall as its Summary's rows need.
    const bool opengl = group == page_group::opengl;
    const int grid_height = opengl ? 180 : group == page_group::vulkan ? 260 : 310;
    const int panel_width = s(561);
    const int panel_height = s(grid_height + (opengl ? 56 : 62));
    layout.panel =
        box((sheet_width - panel_width) / 2, (sheet_height - panel_height) / 2, panel_width, panel_height);
    layout.grid = box(s(76), s(opengl ? 28 : 31), s(409), s(grid_height));
    // Where the sheet is too small for the centred panel beside the logo and
    // the links, the panel moves left, as far as the sheet's edge, and then
    // down below the links.
    const int block_left = std::min(layout.home_visit.left, layout.maker_visit.left) - s(8);
    const int block_bottom = layout.maker_link.bottom + s(8);
    if (layout.panel.top + layout.grid.top < block_bottom &&
        layout.panel.left + layout.grid.right > block_left) {
        const int shift = std::min<int>(layout.panel.left + layout.grid.right - block_left,
                                        layout.panel.left + layout.grid.left);
        OffsetRect(&layout.panel, -std::max(0, shift), 0);
        if (layout.panel.left + layout.grid.right > block_left) {
            OffsetRect(&layout.panel, 0, block_bottom - (layout.panel.top + layout.grid.top));
        }
    }
    const bool clear_of_links = layout.panel.left + layout.grid.right <= block_left ||
                                layout.panel.top + layout.grid.top >= block_bottom;
    if (!comparing && clear_of_links && layout.panel.top >= 0 && layout.panel.bottom <= sheet_height) {
        return layout;
    }
    // Else the grid scrolls in the room the page has, out to its edges: left
    // of the logo and the links where its rows fit there, else below them
    // where four rows fit, else left of them with a horizontal bar.
    const int margin = s(4);
    const RECT left_room{margin, margin, std::max(margin, block_left),
                         std::max<int>(margin, sheet_height - margin)};
    const RECT below_room{margin, block_bottom, std::max(margin, sheet_width - margin),
                          std::max(block_bottom, sheet_height - margin)};
    const bool rows_fit_left = left_room.right - left_room.left >= s(409);
    const bool rows_fit_below = below_room.bottom - below_room.top >= s(4 * 17 + 8);
    layout.panel = rows_fit_left || !rows_fit_below ? left_room : below_room;
    layout.grid = RECT{0, 0, layout.panel.right - layout.panel.left, layout.panel.bottom - layout.panel.top};
    return layout;
}
