// The window's keys beyond the dialog navigation, and Find.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "app/main_window.h"
#include "app/grid_control.h"

void main_window::step_page(int delta) {
    const group_controls& group = group_ == 0 ? controls_.directx : controls_.opengl;
    const int count = static_cast<int>(group.page_sheets.size());
    const int selected = static_cast<int>(SendMessageA(group.pages, TCM_GETCURSEL, 0, 0));
    const int next = ((selected + delta) % count + count) % count;
    SendMessageA(group.pages, TCM_SETCURSEL, next, 0);
    SendMessageA(group.pages, TCM_SETCURFOCUS, next, 0);
    show_page(group);
}

void main_window::find_again() {
    char text[256] = {};
    GetWindowTextA(controls_.find_box, text, sizeof text);
    found_ = find_rows(pages, text);
    found_at_ = -1;
    const std::string said = text[0] == '\0'      ? ""
                             : found_.empty()     ? "No match"
                             : found_.size() == 1 ? "1 match"
                                                  : std::to_string(found_.size()) + " matches";
    SendMessageA(controls_.status_bar, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(said.c_str()));
    if (!found_.empty()) {
        step_found(1);
    }
}

void main_window::step_found(int delta) {
    if (found_.empty()) {
        return;
    }
    const int count = static_cast<int>(found_.size());
    found_at_ = found_at_ < 0 ? (delta > 0 ? 0 : count - 1) : ((found_at_ + delta) % count + count) % count;
    const found_row& row = found_[static_cast<size_t>(found_at_)];
    const page_info& info = page_of(row.page);
    const bool opengl = info.group == page_group::opengl;
    group_controls& group = opengl ? controls_.opengl : controls_.directx;
    show_group(opengl ? 1 : 0);
    // The page's place among its group's tabs.
    int index = 0;
    for (const page_info& other : page_table()) {
        if (other.id == row.page) {
            break;
        }
        index += other.group == info.group ? 1 : 0;
    }
    SendMessageA(group.pages, TCM_SETCURSEL, index, 0);
    show_page(group);
    grid_select_row(group.grids[static_cast<size_t>(index)], row.row);
}

bool main_window::translate_key(const MSG& message) {
    if (message.message != WM_KEYDOWN || !IsChild(window_.get(), message.hwnd)) {
        return false;
    }
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool in_find = message.hwnd == controls_.find_box;
    if (message.wParam == VK_F3 || (in_find && message.wParam == VK_RETURN)) {
        step_found(shift ? -1 : 1);
        return true;
    }
    if (in_find && message.wParam == VK_ESCAPE) {
        // Back to the grid of the page on show.
        const group_controls& group = group_ == 0 ? controls_.directx : controls_.opengl;
        const auto selected = static_cast<size_t>(SendMessageA(group.pages, TCM_GETCURSEL, 0, 0));
        SetFocus(group.grids[std::min(selected, group.grids.size() - 1)]);
        return true;
    }
    if (GetKeyState(VK_CONTROL) >= 0) {
        return false;
    }
    switch (message.wParam) {
        case 'F':
            SetFocus(controls_.find_box);
            SendMessageA(controls_.find_box, EM_SETSEL, 0, -1);
            return true;
        case VK_TAB:
            step_page(shift ? -1 : 1);
            return true;
        case VK_NEXT:
            step_page(1);
            return true;
        case VK_PRIOR:
            step_page(-1);
            return true;
        default:
            return false;
    }
}
