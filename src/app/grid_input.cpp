// A grid's keys, clicks, menu, selection and copying.
#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/text.h"

#include "app/dark_paint.h"
#include "app/format_matrix.h"
#include "app/theme.h"
#include "app/grid_accessible.h"
#include "app/grid_control.h"
#include "app/grid_state.h"

void grid_state::move_current(int row, bool extend) {
    if (!has_data()) {
        return;
    }
    row = std::clamp(row, first_data_row(), last_row());
    if (!extend || !model_->row_select()) {
        model_->selection_anchor = -1;
    } else if (model_->selection_anchor < 0) {
        model_->selection_anchor = model_->current_row;
    }
    const bool moved = model_->current_row != row;
    model_->current_row = row;
    ensure_visible(row);
    InvalidateRect(window_, nullptr, FALSE);
    // What a screen reader follows: the selection and the focused row.
    grid_notify(window_, extend ? EVENT_OBJECT_SELECTIONADD : EVENT_OBJECT_SELECTION, row);
    if (moved && GetFocus() == window_) {
        grid_notify(window_, EVENT_OBJECT_FOCUS, row);
    }
}

// The nearest row from row on in direction that is not blank, else the
// nearest one the other way; row itself where every row is blank.
int grid_state::skip_blank(int row, int direction) const {
    row = std::clamp(row, first_data_row(), last_row());
    for (const int way : {direction, -direction}) {
        for (int at = row; at >= first_data_row() && at <= last_row(); at += way) {
            if (model_->kind(at) != row_kind::blank) {
                return at;
            }
        }
    }
    return row;
}

void grid_state::on_key(WPARAM key) {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const int page_rows = geometry_.page_rows(client().bottom);
    const int current = model_->current_row;
    // The keys never land on a blank row.
    const auto go = [&](int row, int direction) { move_current(skip_blank(row, direction), shift); };
    switch (key) {
        case VK_UP:
            go(current - 1, -1);
            break;
        case VK_DOWN:
            go(current + 1, 1);
            break;
        case VK_PRIOR:
            go(current - page_rows, -1);
            break;
        case VK_NEXT:
            go(current + page_rows, 1);
            break;
        case VK_HOME:
            // The top left: the first row, and the first columns in view.
            go(first_data_row(), 1);
            scroll_to(0, view_.scroll_y);
            break;
        case VK_END:
            go(last_row(), -1);
            break;
        case VK_RETURN:
            if (model_->link(current) != nullptr) {
                follow_link();
            }
            break;
        case VK_TAB:
            // From one link to the next (the dialog keys the grid when there is none).
            if (const int next = next_link(current, shift ? -1 : 1); next >= 0) {
                move_current(next, false);
            }
            break;
        case VK_LEFT:
            scroll_to(view_.scroll_x - scaled(horizontal_step), view_.scroll_y);
            break;
        case VK_RIGHT:
            scroll_to(view_.scroll_x + scaled(horizontal_step), view_.scroll_y);
            break;
        case 'C':
            if (control) {
                copy();
            }
            break;
        case 'A':
            if (control) {
                select_all();
            }
            break;
        default:
            break;
    }
}

void grid_state::on_button_down(int x, int y, bool shift) {
    SetFocus(window_);
    const int divider = divider_at(x, y);
    if (divider >= 0) {
        dragged_column_ = divider;
        drag_origin_ = x;
        drag_width_ = model_->column_width(divider);
        SetCapture(window_);
        return;
    }
    const int row = row_at(y);
    if (row >= first_data_row()) {
        move_current(row, shift);
        if (!shift && model_->link(row) != nullptr) {
            follow_link();
        }
    } else if (row >= 0) {
        // A click on a capability's header filters on it, or no longer.
        const int column = geometry_.column_at(x, view_.scroll_x);
        if (column >= 0 && model_->column(column).role == column_role::mark) {
            toggle_filter(model_->column(column).mark);
        }
    }
}

void grid_state::follow_link() {
    PostMessageW(GetParent(window_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window_), grid_follow_link),
                 reinterpret_cast<LPARAM>(window_));
}

void grid_state::toggle_filter(int mark) {
    std::vector<int> filter = model_->filter();
    const auto found = std::find(filter.begin(), filter.end(), mark);
    if (found != filter.end()) {
        filter.erase(found);
    } else {
        filter.push_back(mark);
    }
    set_filter(std::move(filter));
}

void grid_state::set_filter(std::vector<int> marks) {
    model_->set_filter(std::move(marks));
    refresh();
    SendMessageW(GetParent(window_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window_), grid_filter_changed),
                 reinterpret_cast<LPARAM>(window_));
}

void grid_state::copy() {
    const std::string text = selected_text();
    if (!text.empty()) {
        copy_to_clipboard(window_, text);
    }
}

void grid_state::on_context_menu(int x, int y) {
    if (x == -1 && y == -1) {
        // From the keyboard: under the current row, brought into view first.
        ensure_visible(model_->current_row);
        const int bottom = has_data() ? geometry_.row_top(model_->current_row) +
                                            geometry_.row_pixels(model_->current_row) - view_.scroll_y
                                      : geometry_.fixed_height();
        POINT corner{geometry_.scaled(horizontal_step),
                     std::clamp(bottom, geometry_.fixed_height(), static_cast<int>(client().bottom))};
        ClientToScreen(window_, &corner);
        x = corner.x;
        y = corner.y;
    } else {
        POINT point{x, y};
        ScreenToClient(window_, &point);
        const int row = row_at(point.y);
        if (row >= first_data_row() && !model_->row_selected(row)) {
            move_current(row, false);
        }
    }
    const menu_handle menu(CreatePopupMenu());
    AppendMenuW(menu.get(), MF_STRING, menu_copy, L"&Copy\tCtrl+C");
    AppendMenuW(menu.get(), MF_STRING, menu_select_all, L"Select &all\tCtrl+A");
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, menu_copy_page, L"Copy &page");
    AppendMenuW(menu.get(), MF_STRING, menu_copy_report, L"Copy &report");
    if (model_->is_matrix()) {
        // The filter, from the keyboard as from the headers.
        HMENU can = CreatePopupMenu();
        const auto capabilities = format_capabilities();
        const std::vector<int>& filter = model_->filter();
        for (size_t c = 0; c < capabilities.size(); ++c) {
            const bool on = std::find(filter.begin(), filter.end(), static_cast<int>(c)) != filter.end();
            AppendMenuW(can, MF_STRING | (on ? MF_CHECKED : 0), menu_filter_first + c,
                        wide_of(capabilities[c].can).c_str());
        }
        AppendMenuW(can, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(can, MF_STRING | (filter.empty() ? MF_GRAYED : 0), menu_filter_none, L"&Every format");
        AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(can), L"&Formats that can");
    }
    menu_texts texts;
    set_menu_drawn(menu.get(), active_theme() == ui_theme::dark, texts, false);
    const int chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, window_, nullptr);
    if (chosen >= menu_filter_first &&
        chosen < menu_filter_first + static_cast<int>(format_capabilities().size())) {
        toggle_filter(chosen - menu_filter_first);
    } else if (chosen == menu_filter_none) {
        set_filter({});
    } else if (chosen == menu_copy) {
        copy();
    } else if (chosen == menu_select_all) {
        select_all();
    } else if (chosen == menu_copy_page || chosen == menu_copy_report) {
        // The window that knows the pages' titles writes those.
        const int code = chosen == menu_copy_page ? grid_copy_page : grid_copy_report;
        SendMessageW(GetParent(window_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window_), code),
                     reinterpret_cast<LPARAM>(window_));
    }
}

std::string grid_state::selected_text() const {
    std::string text;
    if (!has_data()) {
        return text;
    }
    // The rows as the report has them, whatever columns the grid draws:
    // name, value and description, or name, value and the compared value.
    const auto [first, last] = model_->selection();
    const int third =
        model_->column_of(model_->comparing() ? column_role::compared : column_role::description);
    const int value = model_->column_of(column_role::value);
    for (int r = first; r <= last; ++r) {
        text += model_->cell(0, r) + "\t" + model_->cell(value, r) + "\t" +
                (third >= 0 ? model_->cell(third, r) : std::string()) + "\r\n";
    }
    return text;
}

void grid_state::select_all() {
    if (!has_data()) {
        return;
    }
    model_->selection_anchor = first_data_row();
    model_->current_row = last_row();
    InvalidateRect(window_, nullptr, FALSE);
}
