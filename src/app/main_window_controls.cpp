// The main window's controls: made once, given their fonts and the theme's
// colours, and the owner-drawn ones (the logo and the group buttons) drawn.
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

#include <string>
#include <utility>

#include "app/control_ids.h"
#include "app/control_paint.h"
#include "app/dark_paint.h"
#include "app/controls.h"
#include "app/grid_control.h"
#include "app/main_window.h"
#include "app/theme.h"
#include "app/window_layout.h"
#include "base/text.h"
#include "submit/site_address.h"

namespace {

HFONT make_font(int points, int dpi, bool bold, bool underline = false) {
    return CreateFontW(-MulDiv(points, dpi, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

}  // namespace

void main_window::create_controls() {
    HWND form = window_.get();
    window_controls& c = controls_;
    c.status_bar = create_child(STATUSCLASSNAMEW, "", 0, form);
    SetWindowSubclass(c.status_bar, strip_procedure, 0, 1);

    c.top_panel = create_panel(form, L"");
    c.device_label = create_child(L"STATIC", "Device:", 0, c.top_panel);
    c.adapter_list =
        create_child(WC_COMBOBOXW, "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, c.top_panel, id_adapters);
    c.find_label = create_child(L"STATIC", "Find:", 0, c.top_panel);
    c.find_box =
        create_child(L"EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, c.top_panel, id_find, WS_EX_CLIENTEDGE);
    c.submit_button = create_child(
        L"BUTTON",
        "Submit to " + authority_of(seams_.submit_url.empty() ? seams_.product_url : seams_.submit_url),
        WS_TABSTOP | BS_PUSHBUTTON, c.top_panel, id_submit);
    // Shown while comparing.
    c.compare_label = create_child(L"STATIC", "Compared with:", 0, c.top_panel);
    c.compared_list = create_child(WC_COMBOBOXW, "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, c.top_panel,
                                   id_compared_list);
    c.differences_only = create_child(L"BUTTON", "Differe&nces only", WS_TABSTOP | BS_AUTOCHECKBOX,
                                      c.top_panel, id_differences_only);
    for (HWND control : {c.compare_label, c.compared_list, c.differences_only}) {
        ShowWindow(control, SW_HIDE);
    }
    // Painted by the window in the dark theme where the system would paint them light.
    for (HWND control : {c.adapter_list, c.find_box, c.submit_button, c.compared_list, c.differences_only}) {
        SetWindowSubclass(control, dark_control_procedure, 0, 0);
    }

    c.group_panel = create_panel(form, L"");
    const std::pair<page_group, int> tabs[] = {{page_group::directx, id_directx_tab},
                                               {page_group::opengl, id_opengl_tab},
                                               {page_group::vulkan, id_vulkan_tab}};
    for (const auto& [which, id] : tabs) {
        group_controls& group = c.group(which);
        group.tab = create_tab_button(group_caption(which), c.group_panel, id);
    }
    // The DirectX pages now; OpenGL's and Vulkan's when their group first
    // shows, which spares the window a twentieth of a second before it
    // takes input under Wine.
    c.directx.sheet = create_panel(c.group_panel, wide_of(group_caption(page_group::directx)).c_str());
    create_pages(c.directx, page_group::directx);
    show_group(page_group::directx);
}

bool main_window::ensure_group(page_group which) {
    group_controls& group = controls_.group(which);
    if (group.sheet != nullptr || controls_.group_panel == nullptr) {
        return false;
    }
    group.sheet = create_panel(controls_.group_panel, wide_of(group_caption(which)).c_str());
    ShowWindow(group.sheet, SW_HIDE);
    create_pages(group, which);
    apply_group_fonts(group);
    apply_group_theme(group);
    const RECT area = client_of(window_.get());
    move_to(group.sheet, layout_main(area.right, area.bottom, dpi_, comparing()).sheet);
    group_laid_out_[static_cast<size_t>(which)] = false;
    if (which == page_group::vulkan) {
        fill_vulkan_devices();
    }
    show_difference_counts();
    return true;
}

void main_window::create_pages(group_controls& group, page_group which) {
    const int strip_id = which == page_group::directx  ? id_directx_pages
                         : which == page_group::opengl ? id_opengl_pages
                                                       : id_vulkan_pages;
    group.pages = create_child(WC_TABCONTROLW, "",
                               WS_TABSTOP | WS_CLIPSIBLINGS | TCS_BUTTONS | TCS_FLATBUTTONS | TCS_MULTILINE,
                               group.sheet, strip_id);
    SetWindowSubclass(group.pages, strip_procedure, 0, 0);
    for (const page_info& info : pages_of(which)) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        std::wstring text = wide_of(info.caption);
        item.pszText = text.data();
        SendMessageW(group.pages, TCM_INSERTITEMW, group.page_sheets.size(), reinterpret_cast<LPARAM>(&item));
        const int id = id_first_grid + static_cast<int>(info.id);
        if (info.summary) {
            HWND page = create_panel(group.sheet, text.c_str());
            group.page_sheets.push_back(page);
            group.summary.sheet = page;
            create_summary(group.summary, grid(info.id), id);
            group.grids.push_back(group.summary.grid);
        } else {
            // Its sheet and grid are made when the page first shows: making
            // every one at once would keep the window from taking input for
            // a quarter of a second under Wine.
            group.page_sheets.push_back(nullptr);
            group.grids.push_back(nullptr);
        }
    }
    if (which == page_group::vulkan) {
        summary_controls& summary = group.summary;
        summary.device_label = create_child(L"STATIC", "Vulkan de&vice:", 0, summary.sheet);
        summary.device_list = create_child(WC_COMBOBOXW, "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                                           summary.sheet, id_vulkan_devices);
        SetWindowSubclass(summary.device_list, dark_control_procedure, 0, 0);
        ShowWindow(summary.device_label, SW_HIDE);
        ShowWindow(summary.device_list, SW_HIDE);
    }
    show_page(group);
}

HWND main_window::ensure_grid(group_controls& group, size_t index) {
    if (index >= group.grids.size()) {
        return nullptr;
    }
    if (group.grids[index] == nullptr) {
        const page_info& info = pages_of(group_of(group))[index];
        HWND& sheet = group.page_sheets[index];
        if (sheet == nullptr) {
            // Where the Summary's sheet lies, below the strip of pages.
            sheet = create_panel(group.sheet, wide_of(info.caption).c_str());
            ShowWindow(sheet, SW_HIDE);
            RECT place{};
            GetWindowRect(group.summary.sheet, &place);
            MapWindowPoints(nullptr, group.sheet, reinterpret_cast<POINT*>(&place), 2);
            move_to(sheet, place);
            SetWindowPos(sheet, group.pages, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        HWND made = create_grid(sheet, &grid(info.id), id_first_grid + static_cast<int>(info.id));
        group.grids[index] = made;
        grid_set_dpi(made, dpi_);
        use_dark_control_theme(made, active_theme() == ui_theme::dark, false);
        move_to(made, client_of(sheet));
        grid_refresh(made);
    }
    return group.grids[index];
}

HWND main_window::grid_window(page_id id) {
    const page_info& info = page_of(id);
    ensure_group(info.group);
    return ensure_grid(controls_.group(info.group), static_cast<size_t>(&info - pages_of(info.group).data()));
}

void main_window::create_summary(summary_controls& summary, grid_model& model, int grid_id) {
    HWND sheet = summary.sheet;
    summary.image = create_child(L"STATIC", "", SS_OWNERDRAW, sheet, id_logo);
    // Reached with Tab, opened with Return (translate_key), and drawn with
    // a focus rectangle while focused.
    const auto link = [&](const std::string& address, int id) {
        HWND label = create_child(L"STATIC", address, SS_NOTIFY | SS_RIGHT | WS_TABSTOP, sheet, id);
        SetPropW(label, link_property, reinterpret_cast<HANDLE>(1));
        SetWindowSubclass(label, link_procedure, 0, 0);
        return label;
    };
    summary.home_visit = create_child(L"STATIC", "Visit", 0, sheet);
    summary.home_link = link(seams_.product_url, id_home_link);
    summary.maker_visit = create_child(L"STATIC", "Visit", 0, sheet);
    summary.maker_link = link(seams_.maker_url, id_maker_link);
    summary.panel = create_panel(sheet, L"");
    summary.grid = create_grid(summary.panel, &model, grid_id);
}

void main_window::apply_fonts() {
    font_.reset(make_font(8, dpi_, false));
    bold_font_.reset(make_font(8, dpi_, true));
    tab_font_.reset(make_font(10, dpi_, true));
    link_font_.reset(make_font(8, dpi_, true, true));
    const auto set = [](HWND window, const gdi_object<HFONT>& font) {
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    };
    const window_controls& c = controls_;
    for (HWND window : {c.status_bar, c.device_label, c.adapter_list, c.find_label, c.find_box,
                        c.submit_button, c.compare_label, c.compared_list, c.differences_only}) {
        set(window, font_);
    }
    for (const group_controls* group : {&c.directx, &c.opengl, &c.vulkan}) {
        apply_group_fonts(*group);
    }
    SendMessageW(c.status_bar, SB_SETMINHEIGHT, scale_to(design_status_height, dpi_), 0);
}

void main_window::apply_group_fonts(const group_controls& group) {
    const auto set = [](HWND window, const gdi_object<HFONT>& font) {
        if (window != nullptr) {
            SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        }
    };
    set(group.tab, tab_font_);
    set(group.pages, font_);
    set(group.summary.home_visit, bold_font_);
    set(group.summary.maker_visit, bold_font_);
    set(group.summary.home_link, link_font_);
    set(group.summary.maker_link, link_font_);
    set(group.summary.device_label, font_);
    set(group.summary.device_list, font_);
    for (HWND grid : group.grids) {
        if (grid != nullptr) {
            grid_set_dpi(grid, dpi_);
        }
    }
}

void main_window::apply_group_theme(const group_controls& group) {
    const bool dark = active_theme() == ui_theme::dark;
    if (group.summary.device_list != nullptr) {
        use_dark_control_theme(group.summary.device_list, dark, true);
    }
    for (HWND grid : group.grids) {
        if (grid != nullptr) {
            use_dark_control_theme(grid, dark, false);
        }
    }
}

void main_window::apply_theme() {
    const ui_theme theme = seams_.theme ? seams_.theme() : ui_theme::light;
    set_active_theme(theme);
    const palette& colours = active_palette();
    face_brush_.reset(CreateSolidBrush(colours.face));
    window_brush_.reset(CreateSolidBrush(colours.window));
    const bool dark = theme == ui_theme::dark;
    use_dark_title_bar(window_.get(), dark);
    use_system_dark_mode(window_.get(), dark);
    // Windows' own dark look of edits, lists, buttons and scroll bars, where
    // it has one; the window paints the rest.
    const window_controls& c = controls_;
    for (HWND control : {c.adapter_list, c.find_box, c.compared_list}) {
        use_dark_control_theme(control, dark, true);
    }
    for (HWND control : {c.submit_button, c.differences_only}) {
        use_dark_control_theme(control, dark, false);
    }
    for (const group_controls* group : {&c.directx, &c.opengl, &c.vulkan}) {
        apply_group_theme(*group);
    }
    set_menu_drawn(GetMenu(window_.get()), dark, menu_texts_, true);
    if (!dark) {
        menu_texts_.clear();
    }
    DrawMenuBar(window_.get());
    refresh_grids();
    RedrawWindow(window_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void main_window::draw_item(const DRAWITEMSTRUCT& item) {
    if (draw_menu_item(item)) {
        return;
    }
    HDC dc = item.hDC;
    const RECT& area = item.rcItem;
    if (item.CtlID == static_cast<UINT>(id_logo)) {
        FillRect(dc, &area, face_brush_.get());
        if (!logo_) {
            logo_.reset(static_cast<HBITMAP>(LoadImageW(
                GetModuleHandleW(nullptr), MAKEINTRESOURCEW(logo_resource), IMAGE_BITMAP, 0, 0, 0)));
        }
        if (logo_) {
            BITMAP info{};
            GetObjectW(logo_.get(), sizeof info, &info);
            memory_canvas source(dc, 1, 1);
            const select_object chosen(source.dc(), logo_.get());
            SetStretchBltMode(dc, HALFTONE);
            StretchBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, source.dc(),
                       0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        }
        return;
    }
    // The three tabs on the left of the page control: the chosen one raised
    // in the window colour, the other flat on the face colour.
    const bool chosen = item.hwndItem == controls_.group(group_).tab;
    const palette& colours = active_palette();
    gdi_object<HBRUSH> fill(CreateSolidBrush(chosen ? colours.chosen_tab : colours.tab));
    FillRect(dc, &area, fill.get());
    RECT edge = area;
    DrawEdge(dc, &edge, chosen ? EDGE_RAISED : BDR_SUNKENOUTER, BF_RECT);
    const std::wstring text = wide_of(window_text(item.hwndItem));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, chosen ? colours.chosen_tab_text : colours.tab_text);
    RECT text_area = area;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_area,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) != 0) {
        RECT focus = area;
        InflateRect(&focus, -scale_to(4, dpi_), -scale_to(4, dpi_));
        DrawFocusRect(dc, &focus);
    }
}
