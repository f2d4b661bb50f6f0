// Where the main window's controls go for its size and DPI.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <tuple>

#include "app/controls.h"
#include "app/grid_control.h"
#include "app/main_window.h"
#include "app/window_layout.h"

void main_window::layout_page_control(const group_controls& group, page_group which) {
    const RECT area = client_of(group.sheet);
    move_to(group.pages, area);
    RECT display = area;
    SendMessageW(group.pages, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    // The strip keeps only its rows of buttons, so no page lies under it and
    // the pages can follow it in the Tab order.
    move_to(group.pages, RECT{area.left, area.top, area.right, display.top});
    for (size_t i = 0; i < group.page_sheets.size(); ++i) {
        HWND sheet = group.page_sheets[i];
        if (sheet == nullptr) {
            continue;  // made when its page first shows
        }
        move_to(sheet, display);
        SetWindowPos(sheet, group.pages, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (sheet == group.summary.sheet) {
            layout_summary_sheet(group.summary, which);
        } else if (group.grids[i] != nullptr) {
            move_to(group.grids[i], client_of(sheet));
        }
    }
}

void main_window::layout_summary_sheet(const summary_controls& summary, page_group group) {
    const RECT area = client_of(summary.sheet);
    const summary_layout layout = layout_summary(area.right, area.bottom, dpi_, group, comparing());
    move_to(summary.image, layout.logo);
    // A link is as wide as its address, right-aligned, with "Visit" before it.
    const auto place_link = [&](HWND visit, HWND link, RECT visit_box, RECT link_box) {
        const int shift = std::max(
            0L, text_width(link, link_font_.get()) + scale_to(2, dpi_) - (link_box.right - link_box.left));
        link_box.left -= shift;
        OffsetRect(&visit_box, -shift, 0);
        move_to(visit, visit_box);
        move_to(link, link_box);
    };
    place_link(summary.home_visit, summary.home_link, layout.home_visit, layout.home_link);
    place_link(summary.maker_visit, summary.maker_link, layout.maker_visit, layout.maker_link);
    move_to(summary.panel, layout.panel);
    move_to(summary.grid, layout.grid);
    // The device chooser in the sheet's top left corner, clear of the logo.
    if (summary.device_list != nullptr) {
        const int left = scale_to(8, dpi_);
        const int label = scale_to(86, dpi_);
        move_to(summary.device_label, RECT{left, scale_to(12, dpi_), left + label, scale_to(28, dpi_)});
        const int right =
            std::min<int>(layout.logo.left - scale_to(12, dpi_), left + label + scale_to(360, dpi_));
        move_to(summary.device_list,
                RECT{left + label, scale_to(8, dpi_), std::max(left + label + scale_to(60, dpi_), right),
                     scale_to(208, dpi_)});
    }
}

void main_window::relayout() {
    HWND form = window_.get();
    if (form == nullptr) {
        return;
    }
    const window_controls& c = controls_;
    const RECT area = client_of(form);
    // Only what changed is laid out again: moving every page's controls
    // costs a twentieth of a second under Wine.
    const std::tuple<int, int, int, bool> shape{area.right, area.bottom, dpi_, comparing()};
    if (laid_out_ == shape) {
        return;
    }
    laid_out_ = shape;
    const main_layout layout = layout_main(area.right, area.bottom, dpi_, comparing());
    SendMessageW(c.status_bar, WM_SIZE, 0, 0);
    move_to(c.top_panel, layout.top_panel);
    move_to(c.compare_label, layout.compare_label);
    move_to(c.compared_list, layout.compared_list);
    move_to(c.differences_only, layout.differences_only);
    move_to(c.device_label, layout.device_label);
    move_to(c.adapter_list, layout.adapters);
    move_to(c.find_label, layout.find_label);
    move_to(c.find_box, layout.find_box);
    // The version on the left, the latest problem beside it, what Find says
    // on the right.
    const int version = std::min(scale_to(150, dpi_), static_cast<int>(area.right) / 3);
    int parts[] = {version, std::max(version + 1, static_cast<int>(area.right) - scale_to(160, dpi_)), -1};
    SendMessageW(c.status_bar, SB_SETPARTS, std::size(parts), reinterpret_cast<LPARAM>(parts));
    // Wide enough for its caption, whatever the product host is.
    RECT submit = layout.submit;
    submit.left = std::min<LONG>(
        submit.left, submit.right - text_width(c.submit_button, font_.get()) - scale_to(16, dpi_));
    move_to(c.submit_button, submit);
    move_to(c.group_panel, layout.pages);
    move_to(c.directx.tab, layout.directx_tab);
    move_to(c.opengl.tab, layout.opengl_tab);
    move_to(c.vulkan.tab, layout.vulkan_tab);
    // The group on show now, the others when they show.
    for (const page_group which : {page_group::directx, page_group::opengl, page_group::vulkan}) {
        move_to(c.group(which).sheet, layout.sheet);
        group_laid_out_[static_cast<size_t>(which)] = which == group_;
        if (which == group_) {
            layout_page_control(c.group(which), which);
        }
    }
    // Every control again, moved or not: a button anchored right leaves its
    // old place behind when the window grows.
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void main_window::on_dpi_changed(int dpi, const RECT* suggested) {
    dpi_ = dpi;
    apply_fonts();
    if (suggested != nullptr) {
        SetWindowPos(window_.get(), nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    relayout();
    // Every control, not the frame alone: text drawn at the old scale must go.
    RedrawWindow(window_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}
