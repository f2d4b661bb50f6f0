// The main window's messages: showing, sizing, DPI changes and commands;
// each handed to the member that does the work.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <exception>
#include <string_view>

#include "app/control_ids.h"
#include "base/win_handles.h"
#include "app/dark_paint.h"
#include "app/window_layout.h"
#include "app/main_window.h"
#include "app/theme.h"
#include "app/grid_control.h"
#include "base/text.h"
#include "report/page_text.h"

namespace {

#ifndef WM_DPICHANGED
constexpr UINT WM_DPICHANGED = 0x02E0;
#endif

}  // namespace

void main_window::guarded(void (main_window::*handler)()) {
    try {
        (this->*handler)();
    } catch (const std::exception& error) {
        refresh_grids();
        report_error(error);
    }
}

void main_window::on_command(int id, int code) {
    switch (id) {
        case id_menu_open:
            return guarded(&main_window::choose_report_to_open);
        case id_menu_this_machine:
            return guarded(&main_window::show_this_machine);
        case id_menu_save:
            return guarded(&main_window::choose_where_to_save);
        case id_menu_compare:
            return guarded(&main_window::choose_report_to_compare);
        case id_menu_close_comparison:
            return guarded(&main_window::close_comparison);
        case id_menu_next_difference:
            return step_difference(1);
        case id_menu_previous_difference:
            return step_difference(-1);
        case id_menu_exit:
            DestroyWindow(window_.get());
            return;
        case id_menu_copy:
            return copy_from_grid(0);
        case id_menu_copy_page:
            return copy_from_grid(grid_copy_page);
        case id_menu_copy_report:
            return copy_from_grid(grid_copy_report);
        case id_menu_find:
            SetFocus(controls_.find_box);
            SendMessageW(controls_.find_box, EM_SETSEL, 0, -1);
            return;
        case id_menu_about:
            return guarded(&main_window::show_about);
        default:
            break;
    }
    if ((id == id_compared_list && code == CBN_SELCHANGE) ||
        (id == id_differences_only && code == BN_CLICKED)) {
        guarded(&main_window::show_selected_adapter);
        // What Find finds is what the pages now show.
        if (!window_text(controls_.find_box).empty()) {
            find_again();
        }
        show_page(controls_.group(group_));
    } else if (id == id_vulkan_devices && code == CBN_SELCHANGE) {
        const LRESULT chosen = SendMessageW(controls_.vulkan.summary.device_list, CB_GETCURSEL, 0, 0);
        if (chosen >= 0) {
            show_vulkan_device(static_cast<size_t>(chosen));
        }
    } else if (id == id_adapters && code == CBN_SELCHANGE) {
        guarded(&main_window::show_selected_adapter);
        find_again();  // the rows found belonged to the other device
    } else if (id == id_find && code == EN_CHANGE) {
        find_again();
    } else if (id == id_directx_tab || id == id_opengl_tab || id == id_vulkan_tab) {
        show_group(id == id_directx_tab  ? page_group::directx
                   : id == id_opengl_tab ? page_group::opengl
                                         : page_group::vulkan);
    } else if (id == id_home_link && code == STN_CLICKED) {
        guarded(&main_window::open_home_link);
    } else if (id == id_maker_link && code == STN_CLICKED) {
        guarded(&main_window::open_maker_link);
    } else if (id == id_submit && code == BN_CLICKED) {
        guarded(&main_window::submit_report);
    } else if (id >= id_first_grid && id < id_first_grid + page_count && code == grid_follow_link) {
        const grid_model& model = grids_[static_cast<size_t>(id - id_first_grid)];
        if (const summary_link* link = model.link(model.current_row)) {
            show_row(link->page, link->row_name);
        }
    } else if (id >= id_first_grid && id < id_first_grid + page_count && code == grid_filter_changed) {
        show_filter(grids_[static_cast<size_t>(id - id_first_grid)]);
    } else if (id >= id_first_grid && id < id_first_grid + page_count &&
               (code == grid_copy_page || code == grid_copy_report)) {
        // Grids are numbered in the page table's order.
        const grid_model& model = grids_[static_cast<size_t>(id - id_first_grid)];
        const adapter_report* adapter = shown_adapter();
        // The whole page or report, once it is read.
        finish_capture();
        if (code == grid_copy_page) {
            copy_to_clipboard(window_.get(), page_text(model.copied()));
        } else if (adapter != nullptr) {
            copy_to_clipboard(window_.get(), document_text(document_));
        }
    }
}

LRESULT main_window::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    HWND form = window_.get();
    switch (message) {
        case WM_SHOWWINDOW:
            if (wparam != FALSE && !started && start_after_paint) {
                // Shown at once, saying so; the capture starts once the
                // window has painted and taken what was typed meanwhile (a
                // timer comes after every key, click and paint).
                SetTimer(form, start_timer, 0, nullptr);
            } else if (wparam != FALSE) {
                guarded(&main_window::start_up);
            }
            break;
        case WM_SIZE:
            relayout();
            return 0;
        case WM_SETFOCUS:
            // The frame itself takes no keys: its control does.
            if (controls_.group_panel != nullptr) {
                restore_focus();
            }
            return 0;
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
            limits->ptMinTrackSize = {scale_to(640, dpi_), scale_to(420, dpi_)};
            return 0;
        }
        case WM_DPICHANGED:
            on_dpi_changed(HIWORD(wparam), reinterpret_cast<const RECT*>(lparam));
            return 0;
        case WM_COMMAND:
            on_command(LOWORD(wparam), HIWORD(wparam));
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lparam);
            const group_controls* group = group_of_pages(header->hwndFrom);
            if (group != nullptr && header->code == TCN_SELCHANGE) {
                show_page(*group);
            } else if (group != nullptr && header->code == TCN_FOCUSCHANGE) {
                // The arrow keys move the focus on the strip's buttons; the
                // page follows it, as on a tab control without buttons.
                const LRESULT focus = SendMessageW(group->pages, TCM_GETCURFOCUS, 0, 0);
                if (focus >= 0 && focus != SendMessageW(group->pages, TCM_GETCURSEL, 0, 0)) {
                    SendMessageW(group->pages, TCM_SETCURSEL, focus, 0);
                    show_page(*group);
                }
            }
            return 0;
        }
        case WM_PAINT:
            if (controls_.group_panel == nullptr) {
                // Before its controls: the face, and what the window is doing.
                PAINTSTRUCT paint{};
                HDC dc = BeginPaint(form, &paint);
                RECT area{};
                GetClientRect(form, &area);
                FillRect(dc, &area, face_brush_.get());
                SetBkMode(dc, TRANSPARENT);
                SetTextColor(dc, active_palette().face_text);
                const select_object font(dc, GetStockObject(DEFAULT_GUI_FONT));
                DrawTextW(dc, L"Reading\u2026", -1, &area, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
                EndPaint(form, &paint);
                return 0;
            }
            [[fallthrough]];
        case WM_ACTIVATE:
            // The control that had the focus when another window (a dialog,
            // a message box) took it gets it back when the window is active
            // again: DefWindowProc would give it to the frame, which takes no keys.
            // (WM_PAINT comes this way too, to the painting below.)
            if (message == WM_ACTIVATE && LOWORD(wparam) == WA_INACTIVE) {
                remember_focus();
            } else if (message == WM_ACTIVATE && HIWORD(wparam) == 0 && controls_.group_panel != nullptr) {
                restore_focus();
                if (active_theme() == ui_theme::dark) {
                    PostMessageW(form, menu_bar_message, 0, 0);
                }
                return 0;
            }
            [[fallthrough]];
        case WM_NCPAINT:
        case WM_NCACTIVATE:
        case WM_EXITMENULOOP:
        case WM_WINDOWPOSCHANGED: {
            const LRESULT painted = DefWindowProcW(form, message, wparam, lparam);
            // The system may paint the bar once more after this message;
            // the rest of it is painted dark after that, too.
            if (active_theme() == ui_theme::dark) {
                PostMessageW(form, menu_bar_message, 0, 0);
            }
            return painted;
        }
        case menu_bar_message:
            paint_dark_menu_bar(form);
            return 0;
        case WM_MEASUREITEM:
            if (measure_menu_item(form, *reinterpret_cast<MEASUREITEMSTRUCT*>(lparam))) {
                return TRUE;
            }
            break;
        case WM_DRAWITEM:
            draw_item(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
            return TRUE;
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wparam);
            HWND label = reinterpret_cast<HWND>(lparam);
            const palette& colours = active_palette();
            SetBkColor(dc, colours.face);
            SetTextColor(dc, GetPropW(label, link_property) != nullptr ? colours.link : colours.face_text);
            return reinterpret_cast<LRESULT>(face_brush_.get());
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            if (active_theme() == ui_theme::dark) {
                HDC dc = reinterpret_cast<HDC>(wparam);
                SetBkColor(dc, active_palette().window);
                SetTextColor(dc, active_palette().text);
                return reinterpret_cast<LRESULT>(window_brush_.get());
            }
            break;
        case WM_SETTINGCHANGE:
            // The app mode changed, or high contrast came or went.
            if (lparam != 0 &&
                std::wstring_view(reinterpret_cast<const wchar_t*>(lparam)) == L"ImmersiveColorSet") {
                apply_theme();
            }
            break;
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
            apply_theme();
            break;
        case capture_message:
            guarded(&main_window::take_in_capture);
            return 0;
        case WM_TIMER:
            if (wparam == start_timer) {
                KillTimer(form, start_timer);
                guarded(&main_window::start_up);
                return 0;
            }
            if (wparam == capture_timer && run_) {
                // The bound has passed: what still reads is given up.
                run_->give_up();
                guarded(&main_window::show_capture);
                return 0;
            }
            break;
        case WM_DESTROY:
            KillTimer(form, capture_timer);
            if (quit_on_destroy) {
                PostQuitMessage(0);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcW(form, message, wparam, lparam);
}
