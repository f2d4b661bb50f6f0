#include "app/grid_control.h"

#include <oleacc.h>

#include <windowsx.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "app/cell_style.h"
#include "app/column_fit.h"
#include "app/grid_accessible.h"
#include "app/grid_geometry.h"
#include "app/grid_paint.h"
#include "base/text.h"
#include "base/win_handles.h"

namespace {

constexpr int resize_grip = 3;       // pixels either side of a header divider
constexpr int horizontal_step = 20;  // design pixels a scroll arrow or key moves sideways
constexpr int menu_copy = 1;
constexpr int menu_select_all = 2;
constexpr int menu_copy_page = 3;
constexpr int menu_copy_report = 4;

class grid_state {
public:
    explicit grid_state(HWND window, grid_model* model)
        : window_(window), model_(model), geometry_(*model, 96) {}

    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
    void refresh();
    void set_dpi(int dpi);
    std::string selected_text() const;
    void select_all();
    // Also scrolled to the left, so that the row's name shows whole.
    void select_row(int row) {
        refresh();
        move_current(row, false);
        scroll_to(0, view_.scroll_y);
    }
    const grid_model* model() const { return model_; }
    // The row's rectangle in client coordinates, and whether any of it shows.
    bool row_place(int row, RECT* place) const {
        const RECT area = client();
        const bool fixed = row < model_->fixed_rows();
        const int top = geometry_.row_top(row) - (fixed ? 0 : view_.scroll_y);
        *place = RECT{0, top, area.right, top + geometry_.row_pixels(row)};
        return fixed || (place->bottom > geometry_.fixed_height() && place->top < area.bottom);
    }
    int row_at_point(int y) const { return row_at(y); }

private:
    int scaled(int pixels) const { return geometry_.scaled(pixels); }
    RECT client() const;
    int first_data_row() const { return model_->fixed_rows(); }
    int last_row() const { return model_->row_count() - 1; }
    bool has_data() const { return model_->row_count() > model_->fixed_rows(); }

    void measure_rows() { geometry_ = grid_geometry(*model_, dpi_); }
    void fit_value_column();
    void track_tip(int x, int y);
    std::string cut_text_at(int column, int row);
    void paint(HDC dc, const RECT& area);
    void update_scroll_bars();
    void scroll_to(int x, int y);
    void ensure_visible(int row);
    int row_at(int y) const { return geometry_.row_at(y, view_.scroll_y); }
    int divider_at(int x, int y) const { return geometry_.divider_at(x, y, view_.scroll_x, resize_grip); }
    void move_current(int row, bool extend);
    int skip_blank(int row, int direction) const;
    void on_key(WPARAM key);
    void on_button_down(int x, int y, bool shift);
    void on_context_menu(int x, int y);
    void copy();

    HWND window_;
    grid_model* model_;  // holds the current row and the selection
    int dpi_ = 96;
    grid_geometry geometry_;
    grid_view view_;
    grid_fonts fonts_;
    window_handle tip_;                   // shows a cut cell's whole text
    std::wstring tip_text_;               // what the tip shows now
    std::pair<int, int> tipped_{-1, -1};  // the cell under the mouse: column, row
    int dragged_column_ = -1;
    int drag_origin_ = 0;
    int drag_width_ = 0;
};

grid_state* state_of(HWND window) {
    return reinterpret_cast<grid_state*>(GetWindowLongPtrW(window, 0));
}

RECT grid_state::client() const {
    RECT area{};
    GetClientRect(window_, &area);
    return area;
}

// Widens the Value column until no value is cut; its set-up width stays the
// least it gets.
void grid_state::fit_value_column() {
    if (model_->column_count() < 2) {
        return;
    }
    const window_dc dc(window_);
    const text_measure measure = [&](std::string_view text, int points, bool bold) {
        const select_object chosen(dc.get(), fonts_.get(points, bold, dpi_));
        const std::wstring wide = wide_of(text);
        SIZE extent{};
        GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
        return MulDiv(extent.cx, 96, dpi_) + 1;  // rounded up
    };
    model_->set_column_width(1, fitted_column_width(*model_, 1, measure));
    // The names too, as far as the window has room beside the values.
    if (!model_->is_summary()) {
        const int room = MulDiv(client().right, 96, dpi_) - model_->column_width(1);
        const int names = fitted_column_width(*model_, 0, measure);
        model_->set_column_width(0, std::max(model_->column_width(0), std::min(names, room)));
    }
}

// The whole text of a cell that is shown cut, by its column or by the
// window's edge; empty for a cell shown whole.
std::string grid_state::cut_text_at(int column, int row) {
    if (column < 0 || row < 0 || row >= model_->row_count()) {
        return {};
    }
    const std::string& text = model_->cell(column, row);
    if (text.empty()) {
        return {};
    }
    const cell_style style = decide_cell_style(facts_of(*model_, column, row));
    const int left = geometry_.column_left(column) - view_.scroll_x;
    const int right = std::min<int>(left + geometry_.column_pixels(column), client().right);
    const int room = right - std::max(left, 0) - scaled(style.inset_left + style.inset_right);
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
    // reach the last pixel.
    for (int round = 0; round < 2; ++round) {
        RECT area = client();
        SCROLLINFO vertical{};
        vertical.cbSize = sizeof vertical;
        vertical.fMask = SIF_ALL;
        vertical.nMax = std::max(0, geometry_.content_height() - 1);
        vertical.nPage = static_cast<UINT>(geometry_.data_view_height(area.bottom));
        view_.scroll_y = std::clamp(view_.scroll_y, 0, geometry_.max_scroll_y(area.bottom));
        vertical.nPos = view_.scroll_y;
        SetScrollInfo(window_, SB_VERT, &vertical, TRUE);

        area = client();
        SCROLLINFO horizontal{};
        horizontal.cbSize = sizeof horizontal;
        horizontal.fMask = SIF_ALL;
        horizontal.nMax = std::max(0, geometry_.content_width() - 1);
        horizontal.nPage = static_cast<UINT>(std::max(0L, area.right));
        view_.scroll_x = std::clamp(view_.scroll_x, 0, geometry_.max_scroll_x(area.right));
        horizontal.nPos = view_.scroll_x;
        SetScrollInfo(window_, SB_HORZ, &horizontal, TRUE);
    }
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
            go(first_data_row(), 1);
            break;
        case VK_END:
            go(last_row(), -1);
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
    }
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
    const int chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, window_, nullptr);
    if (chosen == menu_copy) {
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
    const auto [first, last] = model_->selection();
    for (int r = first; r <= last; ++r) {
        text += model_->cell(0, r) + "\t" + model_->cell(1, r) + "\t" + model_->cell(2, r) + "\r\n";
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

LRESULT grid_state::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    // The model may have grown or shrunk since the last refresh.
    if (geometry_.row_count() != model_->row_count()) {
        measure_rows();
    }
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
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
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_LBUTTONDOWN:
            on_button_down(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam), (wparam & MK_SHIFT) != 0);
            return 0;
        case WM_MOUSEMOVE:
            if (dragged_column_ >= 0) {
                const int moved = GET_X_LPARAM(lparam) - drag_origin_;
                const int width = std::max(8, drag_width_ + MulDiv(moved, 96, dpi_));
                model_->set_column_width(dragged_column_, width);
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

const grid_model* grid_model_of(HWND grid) {
    const grid_state* state = IsWindow(grid) ? state_of(grid) : nullptr;
    return state != nullptr ? state->model() : nullptr;
}

bool grid_row_on_screen(HWND grid, int row, RECT* place) {
    const grid_state* state = IsWindow(grid) ? state_of(grid) : nullptr;
    if (state == nullptr || row < 0 || row >= state->model()->row_count()) {
        *place = RECT{};
        return false;
    }
    const bool shown = state->row_place(row, place) && IsWindowVisible(grid);
    MapWindowPoints(grid, nullptr, reinterpret_cast<POINT*>(place), 2);
    return shown;
}

int grid_row_at_screen(HWND grid, POINT point) {
    const grid_state* state = IsWindow(grid) ? state_of(grid) : nullptr;
    if (state == nullptr) {
        return -1;
    }
    ScreenToClient(grid, &point);
    return state->row_at_point(point.y);
}

void grid_select_all(HWND grid) {
    if (grid_state* state = state_of(grid)) {
        state->select_all();
    }
}
