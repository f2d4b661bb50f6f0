// The grid window: its messages, scrolling, selection, column sizing and copying.
#include "app/grid_control.h"

#include <oleacc.h>

#include <windowsx.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "app/cell_style.h"
#include "app/column_fit.h"
#include "app/dark_paint.h"
#include "app/format_matrix.h"
#include "app/grid_accessible.h"
#include "app/grid_state.h"
#include "base/text.h"
#include "base/win_handles.h"

namespace {

grid_state* state_of(HWND window) {
    return reinterpret_cast<grid_state*>(GetWindowLongPtrW(window, 0));
}

}  // namespace

int grid_state::next_link(int row, int direction) const {
    for (int at = row + direction; at >= first_data_row() && at <= last_row(); at += direction) {
        if (model_->link(at) != nullptr) {
            return at;
        }
    }
    return -1;
}

void grid_state::select_row(int row) {
    refresh();
    model_->match = {};
    move_current(row, false);
    scroll_to(0, view_.scroll_y);
}

void grid_state::show_match(int row, column_role role, size_t offset, size_t length) {
    select_row(row);
    const int column = model_->column_of(role);
    if (column < 0) {
        return;
    }
    model_->match = {row, column, offset, length};
    // The found text in view, scrolled no further than shows it whole with
    // a margin, so that as much of the row's start stays in view.
    const std::string& text = model_->cell(column, row);
    const cell_style style = decide_cell_style(cell_facts_at(*model_, column, row));
    const text_measure measured = measure();
    const int before = measured(text.substr(0, std::min(offset, text.size())), style.font_size, style.bold);
    const int found =
        measured(text.substr(std::min(offset, text.size()), length), style.font_size, style.bold);
    // The names stay in view: a match in another column is brought to the
    // right of them.
    const int at = geometry_.column_left(column) + scaled(style.inset_left + before);
    const int width = client().right;
    const int x = column == 0 ? view_.scroll_x
                              : std::min(at + scaled(found) + scaled(24) - width,
                                         at - geometry_.frozen_width() - scaled(8));
    scroll_to(std::max(0, x), view_.scroll_y);
    InvalidateRect(window_, nullptr, FALSE);
}

bool grid_state::row_on_screen(int row, RECT* place) const {
    if (row < 0 || row >= model_->row_count()) {
        *place = RECT{};
        return false;
    }
    const RECT area = client();
    const bool fixed = row < model_->fixed_rows();
    const int top = geometry_.row_top(row) - (fixed ? 0 : view_.scroll_y);
    *place = RECT{0, top, area.right, top + geometry_.row_pixels(row)};
    const bool shown = (fixed || (place->bottom > geometry_.fixed_height() && place->top < area.bottom)) &&
                       IsWindowVisible(window_);
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(place), 2);
    return shown;
}

int grid_state::row_at_screen(POINT point) const {
    ScreenToClient(window_, &point);
    return row_at(point.y);
}

RECT grid_state::client() const {
    RECT area{};
    GetClientRect(window_, &area);
    return area;
}

text_measure grid_state::measure() const {
    auto dc = std::make_shared<window_dc>(window_);
    return [this, dc](std::string_view text, int points, bool bold) {
        const select_object chosen(dc->get(), fonts_.get(points, bold, dpi_));
        const std::wstring wide = wide_of(text);
        SIZE extent{};
        GetTextExtentPoint32W(dc->get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
        return MulDiv(extent.cx, 96, dpi_) + 1;  // rounded up
    };
}

// Widens the Value and Compared columns until no value is cut, as far as the
// window has room for them beside the names and the marks, and the names as
// far as it has room beside those; a set-up width stays the least a column
// gets, and a width the user gave is kept.
void grid_state::fit_value_column() {
    if (model_->column_count() < 2) {
        return;
    }
    const text_measure measured = measure();
    // Less a vertical scroll bar, which the rows fitted may yet bring.
    const int window_width =
        MulDiv(client().right, 96, dpi_) - ((GetWindowLongW(window_, GWL_STYLE) & WS_VSCROLL) != 0 ? 0 : 17);
    const auto others_width = [&](int except) {
        int width = 0;
        for (int c = 0; c < model_->column_count(); ++c) {
            const column_role role = model_->column(c).role;
            if (c != except && role != column_role::description) {
                width += model_->column_width(c);
            }
        }
        return width;
    };
    // A comparison's Summary: the names whole, the two values sharing the rest.
    if (model_->is_summary() && model_->comparing()) {
        const int name = model_->column_of(column_role::name);
        if (!model_->column(name).sized_by_user) {
            model_->set_column_width(
                name, std::max(model_->column_width(name), fitted_column_width(*model_, name, measured)));
        }
        const int half = (window_width - model_->column_width(name)) / 2;
        for (const column_role role : {column_role::value, column_role::compared}) {
            const int c = model_->column_of(role);
            if (c >= 0 && !model_->column(c).sized_by_user) {
                model_->set_column_width(c,
                                         std::max(model_->column_width(c),
                                                  std::min(fitted_column_width(*model_, c, measured), half)));
            }
        }
        return;
    }
    for (const column_role role : {column_role::value, column_role::compared, column_role::name}) {
        const int c = model_->column_of(role);
        if (c < 0 || model_->column(c).sized_by_user) {
            continue;
        }
        const int fitted = fitted_column_width(*model_, c, measured);
        // A Summary grid's values fit whole, unless a comparison shares its
        // width; so do a matrix's names, which its rows are read by. Values
        // leave the description a readable width: a longer one is cut, and
        // shows whole in its tooltip and on copy.
        const bool whole = (model_->is_summary() && !model_->comparing()) ||
                           (model_->is_matrix() && role == column_role::name);
        const int description = model_->column_of(column_role::description) >= 0 && !model_->is_summary()
                                    ? readable_description_width
                                    : 0;
        const int room = whole ? fitted : window_width - others_width(c) - description;
        model_->set_column_width(c, std::max(model_->column_width(c), std::min(fitted, room)));
    }
}

void grid_state::fit_column(int column) {
    model_->set_column_width(column, fitted_column_width(*model_, column, measure(), true), true);
    measure_rows();
    update_scroll_bars();
    InvalidateRect(window_, nullptr, FALSE);
}

// The whole text of a cell that is shown cut, by its column or by the
// window's edge; empty for a cell shown whole.
std::string grid_state::cut_text_at(int column, int row) {
    if (column < 0 || row < 0 || row >= model_->row_count()) {
        return {};
    }
    // A capability's header says what it tests, whole or not.
    if (row < model_->fixed_rows() && model_->column(column).role == column_role::mark) {
        const format_capability& capability =
            format_capabilities()[static_cast<size_t>(model_->column(column).mark)];
        std::string flags;
        if (capability.flags != nullptr && is_sample_count(capability)) {
            flags = capability.flags;
        } else if (capability.flags != nullptr) {
            std::string twelve = capability.flags;
            if (twelve.starts_with("FORMAT_SUPPORT_")) {
                twelve.insert(14, "1");
            }
            flags = "D3D11_" + std::string(capability.flags);
            // Direct3D 12 has no mipmap generation.
            if (twelve != "FORMAT_SUPPORT1_MIP_AUTOGEN") {
                flags += "\nD3D12_" + twelve;
            }
        }
        if (capability.d3d9_flags != nullptr) {
            flags += (flags.empty() ? "" : "\n") + std::string("Direct3D 9: ") + capability.d3d9_flags;
        }
        return "Formats that can " + std::string(capability.can) + ":\n" + flags +
               "\nClick to show only these formats, or all again.";
    }
    const std::string& text = model_->cell(column, row);
    if (text.empty()) {
        return {};
    }
    const cell_style style = decide_cell_style(cell_facts_at(*model_, column, row));
    const int left = geometry_.column_screen_left(column, view_.scroll_x);
    const int right = std::min<int>(left + geometry_.column_pixels(column), client().right);
    const int shown_from = column == 0 ? 0 : geometry_.frozen_width();
    const int room = right - std::max(left, shown_from) - scaled(style.inset_left + style.inset_right);
    const window_dc dc(window_);
    const select_object chosen(dc.get(), fonts_.get(style.font_size, style.bold, dpi_));
    const std::wstring wide = wide_of(text);
    SIZE extent{};
    GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
    return extent.cx > room ? text : std::string();
}

// Keeps the tip on the cell under the mouse: a new cell hides the old tip,
// and the tip asks for its text when it shows (TTN_GETDISPINFO).
void grid_state::track_tip(int x, int y) {
    if (!tip_.get()) {
        tip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0, window_, nullptr,
                                   GetModuleHandleW(nullptr), nullptr));
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(window_);
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(tip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(tip_.get(), TTM_SETMAXTIPWIDTH, 0, scaled(600));
    }
    const std::pair<int, int> cell{geometry_.column_at(x, view_.scroll_x), row_at(y)};
    if (cell != tipped_) {
        tipped_ = cell;
        SendMessageW(tip_.get(), TTM_POP, 0, 0);
        // In the theme of the moment, which may have changed since the last tip.
        theme_tooltip(tip_.get());
    }
}

void grid_state::refresh() {
    fit_value_column();
    measure_rows();
    model_->current_row =
        std::clamp(model_->current_row, first_data_row(), std::max(first_data_row(), last_row()));
    if (model_->selection_anchor > last_row()) {
        model_->selection_anchor = -1;
    }
    update_scroll_bars();
    InvalidateRect(window_, nullptr, FALSE);
    // The page was filled anew.
    NotifyWinEvent(EVENT_OBJECT_REORDER, window_, OBJID_CLIENT, CHILDID_SELF);
}

void grid_state::set_dpi(int dpi) {
    dpi_ = dpi > 0 ? dpi : 96;
    fonts_.clear();
    refresh();
}

void grid_state::update_scroll_bars() {
    // Each bar that appears or goes narrows the client area that sizes the
    // other, so each is set from the area as it is at that moment, and the
    // second round sees both bars as they end up: the ranges then always
    // reach the last pixel. Where everything fits the window without bars,
    // neither is shown: each bar would otherwise keep the other one in place
    // after the window grew back.
    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    RECT bare = client();
    bare.right += (style & WS_VSCROLL) != 0 ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    bare.bottom += (style & WS_HSCROLL) != 0 ? GetSystemMetrics(SM_CYHSCROLL) : 0;
    const bool fits = geometry_.max_scroll_x(bare.right) == 0 && geometry_.max_scroll_y(bare.bottom) == 0;
    for (int round = 0; round < 2; ++round) {
        RECT area = fits ? bare : client();
        SCROLLINFO vertical{};
        vertical.cbSize = sizeof vertical;
        vertical.fMask = SIF_ALL;
        vertical.nMax = std::max(0, geometry_.content_height() - 1);
        vertical.nPage = static_cast<UINT>(geometry_.data_view_height(area.bottom));
        view_.scroll_y = std::clamp(view_.scroll_y, 0, geometry_.max_scroll_y(area.bottom));
        vertical.nPos = view_.scroll_y;
        SetScrollInfo(window_, SB_VERT, &vertical, TRUE);

        area = fits ? bare : client();
        SCROLLINFO horizontal{};
        horizontal.cbSize = sizeof horizontal;
        horizontal.fMask = SIF_ALL;
        horizontal.nMax = std::max(0, geometry_.content_width() - 1);
        horizontal.nPage = static_cast<UINT>(std::max(0L, area.right));
        view_.scroll_x = std::clamp(view_.scroll_x, 0, geometry_.max_scroll_x(area.right));
        horizontal.nPos = view_.scroll_x;
        SetScrollInfo(window_, SB_HORZ, &horizontal, TRUE);
    }
    paint_dark_scroll_bars(window_);
}

void grid_state::scroll_to(int x, int y) {
    const RECT area = client();
    x = std::clamp(x, 0, geometry_.max_scroll_x(area.right));
    y = std::clamp(y, 0, geometry_.max_scroll_y(area.bottom));
    if (x == view_.scroll_x && y == view_.scroll_y) {
        return;
    }
    view_.scroll_x = x;
    view_.scroll_y = y;
    SetScrollPos(window_, SB_HORZ, view_.scroll_x, TRUE);
    SetScrollPos(window_, SB_VERT, view_.scroll_y, TRUE);
    paint_dark_scroll_bars(window_);
    InvalidateRect(window_, nullptr, FALSE);
}

void grid_state::ensure_visible(int row) {
    scroll_to(view_.scroll_x, geometry_.scroll_to_show(row, view_.scroll_y, client().bottom));
}

void grid_state::paint(HDC dc, const RECT& area) {
    if (geometry_.row_count() != model_->row_count()) {
        measure_rows();
    }
    view_.focused = GetFocus() == window_;
    paint_grid(dc, area, *model_, geometry_, view_, fonts_);
}

LRESULT grid_state::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    // The model may have grown or shrunk since the last refresh.
    if (geometry_.row_count() != model_->row_count()) {
        measure_rows();
    }
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_NCPAINT: {
            const LRESULT painted = DefWindowProcW(window_, message, wparam, lparam);
            paint_dark_scroll_bars(window_);
            return painted;
        }
        case WM_MEASUREITEM:
            return measure_menu_item(window_, *reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)) ? TRUE : FALSE;
        case WM_DRAWITEM:
            return draw_menu_item(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam)) ? TRUE : FALSE;
        case WM_PAINT: {
            const paint_dc dc(window_);
            const RECT area = client();
            memory_canvas canvas(dc.get(), area.right, area.bottom);
            paint(canvas.dc(), area);
            const RECT& dirty = dc.dirty();
            BitBlt(dc.get(), dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top,
                   canvas.dc(), dirty.left, dirty.top, SRCCOPY);
            return 0;
        }
        case WM_PRINTCLIENT:
            paint(reinterpret_cast<HDC>(wparam), client());
            return 0;
        case WM_SIZE:
            // A wider window has room for longer names.
            fit_value_column();
            measure_rows();
            update_scroll_bars();
            InvalidateRect(window_, nullptr, FALSE);
            return 0;
        case WM_VSCROLL:
        case WM_HSCROLL: {
            const int bar = message == WM_VSCROLL ? SB_VERT : SB_HORZ;
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_ALL;
            GetScrollInfo(window_, bar, &info);
            int position = info.nPos;
            const int line = scaled(message == WM_VSCROLL ? normal_row_height : horizontal_step);
            switch (LOWORD(wparam)) {
                case SB_LINEUP:
                    position -= line;
                    break;
                case SB_LINEDOWN:
                    position += line;
                    break;
                case SB_PAGEUP:
                    position -= static_cast<int>(info.nPage);
                    break;
                case SB_PAGEDOWN:
                    position += static_cast<int>(info.nPage);
                    break;
                case SB_THUMBTRACK:
                    if (model_->thumb_tracking()) {
                        position = info.nTrackPos;
                    }
                    break;
                case SB_THUMBPOSITION:
                    position = info.nTrackPos;
                    break;
                case SB_TOP:
                    position = 0;
                    break;
                case SB_BOTTOM:
                    position = info.nMax;
                    break;
                default:
                    break;
            }
            if (bar == SB_VERT) {
                scroll_to(view_.scroll_x, position);
            } else {
                scroll_to(position, view_.scroll_y);
            }
            paint_dark_scroll_bars(window_);
            return 0;
        }
        case WM_MOUSEWHEEL: {
            UINT lines = 3;
            SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
            const int delta = GET_WHEEL_DELTA_WPARAM(wparam);
            scroll_to(view_.scroll_x, view_.scroll_y - delta * static_cast<int>(lines) *
                                                           scaled(normal_row_height) / WHEEL_DELTA);
            return 0;
        }
        case WM_MOUSEHWHEEL: {
            // Tilting right (a positive delta) moves the view to the right.
            UINT chars = 3;
            SystemParametersInfoW(SPI_GETWHEELSCROLLCHARS, 0, &chars, 0);
            const int delta = GET_WHEEL_DELTA_WPARAM(wparam);
            scroll_to(
                view_.scroll_x + delta * static_cast<int>(chars) * scaled(horizontal_step) / WHEEL_DELTA,
                view_.scroll_y);
            return 0;
        }
        case WM_COPY:
            copy();
            return 0;
        case WM_KEYDOWN:
            on_key(wparam);
            return 0;
        case WM_GETDLGCODE: {
            // Return on a row that links is the grid's, not the dialog's; so
            // is Tab from a link to the next one, each link a stop of its own.
            const auto* key = reinterpret_cast<const MSG*>(lparam);
            const bool pressed = key != nullptr && key->message == WM_KEYDOWN;
            const bool on_link = model_->link(model_->current_row) != nullptr;
            const bool link = pressed && key->wParam == VK_RETURN && on_link;
            const bool tab = pressed && key->wParam == VK_TAB && on_link &&
                             next_link(model_->current_row, GetKeyState(VK_SHIFT) < 0 ? -1 : 1) >= 0;
            return DLGC_WANTARROWS | DLGC_WANTCHARS | (link || tab ? DLGC_WANTMESSAGE : 0);
        }
        case WM_LBUTTONDOWN:
            on_button_down(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam), (wparam & MK_SHIFT) != 0);
            return 0;
        case WM_MOUSEMOVE:
            if (dragged_column_ >= 0) {
                const int moved = GET_X_LPARAM(lparam) - drag_origin_;
                const int width = std::max(8, drag_width_ + MulDiv(moved, 96, dpi_));
                model_->set_column_width(dragged_column_, width, true);
                measure_rows();
                update_scroll_bars();
                InvalidateRect(window_, nullptr, FALSE);
            } else if ((wparam & MK_LBUTTON) != 0 && GetCapture() != window_) {
                const int row = row_at(GET_Y_LPARAM(lparam));
                if (row >= first_data_row()) {
                    move_current(row, true);
                }
            } else {
                track_tip(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
            }
            return 0;
        case WM_NOTIFY: {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lparam);
            if (info->hdr.code == TTN_GETDISPINFOW) {
                // Kept until the tip asks again.
                tip_text_ = wide_of(cut_text_at(tipped_.first, tipped_.second));
                info->lpszText = tip_text_.data();
                info->hinst = nullptr;
                return 0;
            }
            break;
        }
        case WM_LBUTTONDBLCLK:
            // A double-click on a divider fits the column left of it to its text.
            if (const int divider = divider_at(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)); divider >= 0) {
                fit_column(divider);
                return 0;
            }
            on_button_down(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam), (wparam & MK_SHIFT) != 0);
            return 0;
        case WM_LBUTTONUP:
            if (dragged_column_ >= 0) {
                dragged_column_ = -1;
                ReleaseCapture();
            }
            return 0;
        case WM_SETCURSOR: {
            POINT point{};
            GetCursorPos(&point);
            ScreenToClient(window_, &point);
            if (LOWORD(lparam) == HTCLIENT && divider_at(point.x, point.y) >= 0) {
                SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
                return TRUE;
            }
            break;
        }
        case WM_CONTEXTMENU:
            on_context_menu(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
            return 0;
        case WM_SETFOCUS:
            // Tabbed to, a grid of links starts at its first link (its last,
            // from behind).
            if (model_->link(model_->current_row) == nullptr && GetKeyState(VK_TAB) < 0) {
                const bool back = GetKeyState(VK_SHIFT) < 0;
                const int first = next_link(back ? model_->row_count() : first_data_row() - 1, back ? -1 : 1);
                if (first >= 0) {
                    move_current(first, false);
                }
            }
            InvalidateRect(window_, nullptr, FALSE);
            grid_notify(window_, EVENT_OBJECT_FOCUS, has_data() ? model_->current_row : 0);
            return 0;
        case WM_KILLFOCUS:
            InvalidateRect(window_, nullptr, FALSE);
            return 0;
        case WM_GETOBJECT:
            if (static_cast<LONG>(lparam) == static_cast<LONG>(OBJID_CLIENT)) {
                return grid_accessible_result(window_, wparam);
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wparam, lparam);
}

namespace {

LRESULT CALLBACK grid_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        // Owned by the window from here to WM_NCDESTROY.
        auto state = std::make_unique<grid_state>(window, static_cast<grid_model*>(create->lpCreateParams));
        SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(state.release()));
    }
    grid_state* state = state_of(window);
    if (message == WM_NCDESTROY) {
        const std::unique_ptr<grid_state> owned(state);
        SetWindowLongPtrW(window, 0, 0);
        return DefWindowProcW(window, message, wparam, lparam);
    }
    return state != nullptr ? state->handle(message, wparam, lparam)
                            : DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

void register_grid_class() {
    static const bool registered = [] {
        WNDCLASSW window_class{};
        window_class.style = CS_DBLCLKS;
        window_class.lpfnWndProc = grid_procedure;
        window_class.cbWndExtra = sizeof(void*);
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
        window_class.lpszClassName = grid_window_class;
        return RegisterClassW(&window_class) != 0;
    }();
    (void)registered;
}

HWND create_grid(HWND parent, grid_model* model, int id) {
    register_grid_class();
    DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_CLIPSIBLINGS;
    if (model->tab_stop()) {
        style |= WS_TABSTOP;
    }
    const DWORD extended = model->border() ? WS_EX_CLIENTEDGE : 0;
    HWND grid = CreateWindowExW(extended, grid_window_class, wide_of(model->name()).c_str(), style, 0, 0, 100,
                                100, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), model);
    grid_refresh(grid);
    return grid;
}

void grid_refresh(HWND grid) {
    if (grid_state* state = state_of(grid)) {
        state->refresh();
    }
}

void grid_set_dpi(HWND grid, int dpi) {
    if (grid_state* state = state_of(grid)) {
        state->set_dpi(dpi);
    }
}

std::string grid_selected_text(HWND grid) {
    const grid_state* state = state_of(grid);
    return state != nullptr ? state->selected_text() : std::string();
}

void grid_select_row(HWND grid, int row) {
    if (grid_state* state = state_of(grid)) {
        state->select_row(row);
    }
}

void grid_show_match(HWND grid, int row, column_role role, size_t offset, size_t length) {
    if (grid_state* state = state_of(grid)) {
        state->show_match(row, role, offset, length);
    }
}

void grid_set_filter(HWND grid, std::vector<int> marks) {
    if (grid_state* state = state_of(grid)) {
        state->set_filter(std::move(marks));
    }
}

void grid_select_all(HWND grid) {
    if (grid_state* state = state_of(grid)) {
        state->select_all();
    }
}

grid_access* grid_access_of(HWND grid) {
    return IsWindow(grid) ? state_of(grid) : nullptr;
}
