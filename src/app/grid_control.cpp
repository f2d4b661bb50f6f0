#include "app/grid_control.h"

#include <windowsx.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "app/cell_style.h"
#include "base/win_handles.h"

namespace {

constexpr COLORREF data_line_color = RGB(216, 216, 216);
constexpr COLORREF fixed_line_color = RGB(128, 128, 128);
constexpr int resize_grip = 3;       // pixels either side of a header divider
constexpr int horizontal_step = 20;  // design pixels a scroll arrow or key moves sideways
constexpr int menu_copy = 1;
constexpr int menu_select_all = 2;

class grid_state {
public:
    explicit grid_state(HWND window, grid_model* model) : window_(window), model_(model) { measure_rows(); }

    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
    void refresh();
    void set_dpi(int dpi);
    std::string selected_text() const;
    void select_all();

private:
    int scaled(int pixels) const { return MulDiv(pixels, dpi_, 96); }
    int row_top(int row) const { return tops_[static_cast<size_t>(row)]; }
    int row_pixels(int row) const { return scaled(model_->row_height(row)); }
    int fixed_height() const { return tops_[static_cast<size_t>(model_->fixed_rows())]; }
    int content_height() const { return tops_.back() - fixed_height(); }
    int content_width() const;
    int visible_columns() const { return model_->column_count(); }
    RECT client() const;
    int data_view_height() const;
    int first_data_row() const { return model_->fixed_rows(); }
    int last_row() const { return model_->row_count() - 1; }
    bool has_data() const { return model_->row_count() > model_->fixed_rows(); }
    bool row_selected(int row) const;
    HFONT font(int points, bool bold);

    void measure_rows();
    void paint(HDC dc, const RECT& area);
    void paint_row(HDC dc, int row, int y);
    void update_scroll_bars();
    void scroll_to(int x, int y);
    void ensure_visible(int row);
    int row_at(int y) const;
    int divider_at(int x, int y) const;
    void move_current(int row, bool extend);
    void on_key(WPARAM key);
    void on_button_down(int x, int y, bool shift);
    void on_context_menu(int x, int y);
    void copy();

    HWND window_;
    grid_model* model_;
    int dpi_ = 96;
    int scroll_x_ = 0;
    int scroll_y_ = 0;  // pixels of data rows scrolled out above
    int anchor_ = -1;   // the other end of the row selection
    std::vector<int> tops_;
    int dragged_column_ = -1;
    int drag_origin_ = 0;
    int drag_width_ = 0;
    std::map<std::pair<int, bool>, gdi_object<HFONT>> fonts_;
};

grid_state* state_of(HWND window) {
    return reinterpret_cast<grid_state*>(GetWindowLongPtrA(window, 0));
}

RECT grid_state::client() const {
    RECT area{};
    GetClientRect(window_, &area);
    return area;
}

int grid_state::content_width() const {
    int width = 0;
    for (int c = 0; c < visible_columns(); ++c) {
        width += scaled(model_->column_width(c));
    }
    return width;
}

int grid_state::data_view_height() const {
    return std::max(0, static_cast<int>(client().bottom) - fixed_height());
}

bool grid_state::row_selected(int row) const {
    if (row < first_data_row()) {
        return false;
    }
    const int current = model_->current_row;
    const int anchor = anchor_ < 0 ? current : anchor_;
    return row >= std::min(current, anchor) && row <= std::max(current, anchor);
}

HFONT grid_state::font(int points, bool bold) {
    auto& slot = fonts_[{points, bold}];
    if (!slot) {
        slot.reset(CreateFontA(-MulDiv(points, dpi_, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                               FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, model_->font_name.c_str()));
    }
    return slot.get();
}

// The top of every row and the bottom of the last, in pixels at this DPI.
void grid_state::measure_rows() {
    tops_.assign(static_cast<size_t>(model_->row_count()) + 1, 0);
    for (int r = 0; r < model_->row_count(); ++r) {
        tops_[static_cast<size_t>(r) + 1] = tops_[static_cast<size_t>(r)] + row_pixels(r);
    }
}

void grid_state::refresh() {
    measure_rows();
    model_->current_row =
        std::clamp(model_->current_row, first_data_row(), std::max(first_data_row(), last_row()));
    if (anchor_ > last_row()) {
        anchor_ = -1;
    }
    update_scroll_bars();
    InvalidateRect(window_, nullptr, FALSE);
}

void grid_state::set_dpi(int dpi) {
    dpi_ = dpi > 0 ? dpi : 96;
    fonts_.clear();
    refresh();
}

void grid_state::update_scroll_bars() {
    const RECT area = client();
    SCROLLINFO vertical{};
    vertical.cbSize = sizeof vertical;
    vertical.fMask = SIF_ALL;
    vertical.nMax = std::max(0, content_height() - 1);
    vertical.nPage = static_cast<UINT>(data_view_height());
    scroll_y_ = std::clamp(scroll_y_, 0, std::max(0, content_height() - data_view_height()));
    vertical.nPos = scroll_y_;
    SetScrollInfo(window_, SB_VERT, &vertical, TRUE);

    SCROLLINFO horizontal{};
    horizontal.cbSize = sizeof horizontal;
    horizontal.fMask = SIF_ALL;
    horizontal.nMax = std::max(0, content_width() - 1);
    horizontal.nPage = static_cast<UINT>(std::max(0L, area.right));
    scroll_x_ = std::clamp(scroll_x_, 0, std::max(0, content_width() - static_cast<int>(area.right)));
    horizontal.nPos = scroll_x_;
    SetScrollInfo(window_, SB_HORZ, &horizontal, TRUE);
}

void grid_state::scroll_to(int x, int y) {
    const RECT area = client();
    x = std::clamp(x, 0, std::max(0, content_width() - static_cast<int>(area.right)));
    y = std::clamp(y, 0, std::max(0, content_height() - data_view_height()));
    if (x == scroll_x_ && y == scroll_y_) {
        return;
    }
    scroll_x_ = x;
    scroll_y_ = y;
    SetScrollPos(window_, SB_HORZ, scroll_x_, TRUE);
    SetScrollPos(window_, SB_VERT, scroll_y_, TRUE);
    InvalidateRect(window_, nullptr, FALSE);
}

void grid_state::ensure_visible(int row) {
    if (row < first_data_row()) {
        return;
    }
    const int top = row_top(row) - fixed_height();
    const int bottom = top + row_pixels(row);
    if (top < scroll_y_) {
        scroll_to(scroll_x_, top);
    } else if (bottom > scroll_y_ + data_view_height()) {
        scroll_to(scroll_x_, bottom - data_view_height());
    }
}

int grid_state::row_at(int y) const {
    if (y < fixed_height()) {
        const auto found = std::upper_bound(tops_.begin(), tops_.begin() + first_data_row() + 1, y);
        return static_cast<int>(found - tops_.begin()) - 1;
    }
    // Data rows are drawn at their top minus the scrolled pixels.
    const auto found = std::upper_bound(tops_.begin(), tops_.end(), y + scroll_y_);
    const int row = static_cast<int>(found - tops_.begin()) - 1;
    return row > last_row() ? -1 : row;
}

// The column whose right edge lies under x in the header row, or -1.
int grid_state::divider_at(int x, int y) const {
    if (!model_->column_sizing || model_->fixed_rows() == 0 || y >= fixed_height()) {
        return -1;
    }
    int right = -scroll_x_;
    for (int c = 0; c < visible_columns(); ++c) {
        right += scaled(model_->column_width(c));
        if (std::abs(x - right) <= resize_grip) {
            return c;
        }
    }
    return -1;
}

void grid_state::paint_row(HDC dc, int row, int y) {
    const int height = row_pixels(row);
    const bool fixed = row < first_data_row();
    int x = -scroll_x_;
    for (int c = 0; c < visible_columns(); ++c) {
        const int width = scaled(model_->column_width(c));
        RECT cell{x, y, x + width, y + height};
        x += width;
        const std::string& text = model_->cell(c, row);
        cell_facts facts;
        facts.text = text;
        facts.column = c;
        facts.row_height = model_->row_height(row);
        facts.fixed_row = fixed;
        facts.current_row = !fixed && row_selected(row);
        facts.painter =
            model_->painter == cell_painter::summary ? cell_painter::summary : cell_painter::device;
        facts.grid_color = model_->parent_color ? GetSysColor(COLOR_BTNFACE) : model_->color;
        facts.fixed_color = model_->fixed_color;
        facts.font_color = GetSysColor(COLOR_WINDOWTEXT);
        facts.font_size = model_->font_size;
        const cell_style style = decide_cell_style(facts);

        SetBkColor(dc, style.background);
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &cell, nullptr, 0, nullptr);
        RECT text_area{cell.left + scaled(style.inset_left), cell.top + scaled(style.inset_top),
                       cell.right - scaled(style.inset_right), cell.bottom - scaled(style.inset_bottom)};
        if (!text.empty() && text_area.right > text_area.left) {
            const select_object chosen(dc, font(style.font_size, style.bold));
            SetTextColor(dc, style.text_color);
            SetBkMode(dc, TRANSPARENT);
            UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
            format |= style.align == cell_align::right    ? DT_RIGHT
                      : style.align == cell_align::center ? DT_CENTER
                                                          : DT_LEFT;
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &text_area, format);
            SetBkMode(dc, OPAQUE);
        }
        // Lines: always between header cells, between data cells as the
        // model says; under every row where lines are on.
        const bool vertical = fixed ? model_->fixed_rows() > 0 : model_->vertical_lines;
        if (vertical && model_->horizontal_lines) {
            SetBkColor(dc, fixed ? fixed_line_color : data_line_color);
            RECT line{cell.right - 1, cell.top, cell.right, cell.bottom};
            ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &line, nullptr, 0, nullptr);
        }
    }
    if (model_->horizontal_lines) {
        SetBkColor(dc, fixed ? fixed_line_color : data_line_color);
        RECT line{-scroll_x_, y + height - 1, x, y + height};
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &line, nullptr, 0, nullptr);
    }
}

void grid_state::paint(HDC dc, const RECT& area) {
    const COLORREF background = model_->parent_color ? GetSysColor(COLOR_BTNFACE) : model_->color;
    SetBkColor(dc, background);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    if (tops_.size() != static_cast<size_t>(model_->row_count()) + 1) {
        measure_rows();
    }
    // Data rows under the header, from the first one in view.
    const int view_top = fixed_height();
    const int first = row_at(view_top);
    if (first >= 0) {
        const gdi_object<HRGN> clip(
            CreateRectRgn(area.left, std::max<LONG>(area.top, view_top), area.right, area.bottom));
        SelectClipRgn(dc, clip.get());
        for (int r = first; r <= last_row(); ++r) {
            const int y = row_top(r) - scroll_y_;
            if (y >= area.bottom) {
                break;
            }
            paint_row(dc, r, y);
        }
        SelectClipRgn(dc, nullptr);
    }
    for (int r = 0; r < first_data_row(); ++r) {
        paint_row(dc, r, row_top(r));
    }
    // A dotted focus line around the current row while the grid has focus.
    if (GetFocus() == window_ && has_data() && model_->fixed_rows() > 0) {
        const int y = row_top(model_->current_row) - scroll_y_;
        if (y >= view_top) {
            RECT focus{0, y, std::min<int>(area.right, content_width() - scroll_x_),
                       y + row_pixels(model_->current_row)};
            DrawFocusRect(dc, &focus);
        }
    }
}

void grid_state::move_current(int row, bool extend) {
    if (!has_data()) {
        return;
    }
    row = std::clamp(row, first_data_row(), last_row());
    if (!extend || !model_->row_select) {
        anchor_ = -1;
    } else if (anchor_ < 0) {
        anchor_ = model_->current_row;
    }
    model_->current_row = row;
    ensure_visible(row);
    InvalidateRect(window_, nullptr, FALSE);
}

void grid_state::on_key(WPARAM key) {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const int page_rows = std::max(1, data_view_height() / std::max(1, scaled(normal_row_height)));
    const int current = model_->current_row;
    switch (key) {
        case VK_UP:
            move_current(current - 1, shift);
            break;
        case VK_DOWN:
            move_current(current + 1, shift);
            break;
        case VK_PRIOR:
            move_current(current - page_rows, shift);
            break;
        case VK_NEXT:
            move_current(current + page_rows, shift);
            break;
        case VK_HOME:
            move_current(first_data_row(), shift);
            break;
        case VK_END:
            move_current(last_row(), shift);
            break;
        case VK_LEFT:
            scroll_to(scroll_x_ - scaled(horizontal_step), scroll_y_);
            break;
        case VK_RIGHT:
            scroll_to(scroll_x_ + scaled(horizontal_step), scroll_y_);
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
        POINT corner{0, fixed_height()};
        ClientToScreen(window_, &corner);
        x = corner.x;
        y = corner.y;
    } else {
        POINT point{x, y};
        ScreenToClient(window_, &point);
        const int row = row_at(point.y);
        if (row >= first_data_row() && !row_selected(row)) {
            move_current(row, false);
        }
    }
    const menu_handle menu(CreatePopupMenu());
    AppendMenuA(menu.get(), MF_STRING, menu_copy, "&Copy\tCtrl+C");
    AppendMenuA(menu.get(), MF_STRING, menu_select_all, "Select &all\tCtrl+A");
    const int chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, window_, nullptr);
    if (chosen == menu_copy) {
        copy();
    } else if (chosen == menu_select_all) {
        select_all();
    }
}

std::string grid_state::selected_text() const {
    std::string text;
    if (!has_data()) {
        return text;
    }
    const int current = model_->current_row;
    const int anchor = anchor_ < 0 ? current : anchor_;
    for (int r = std::min(current, anchor); r <= std::max(current, anchor); ++r) {
        const auto& cells = model_->row(r);
        text += cells[0] + "\t" + cells[1] + "\t" + cells[2] + "\r\n";
    }
    return text;
}

void grid_state::select_all() {
    if (!has_data()) {
        return;
    }
    anchor_ = first_data_row();
    model_->current_row = last_row();
    InvalidateRect(window_, nullptr, FALSE);
}

LRESULT grid_state::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    // The model may have grown or shrunk since the last refresh.
    if (tops_.size() != static_cast<size_t>(model_->row_count()) + 1) {
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
                    if (model_->thumb_tracking) {
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
                scroll_to(scroll_x_, position);
            } else {
                scroll_to(position, scroll_y_);
            }
            return 0;
        }
        case WM_MOUSEWHEEL: {
            UINT lines = 3;
            SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
            const int delta = GET_WHEEL_DELTA_WPARAM(wparam);
            scroll_to(scroll_x_,
                      scroll_y_ - delta * static_cast<int>(lines) * scaled(normal_row_height) / WHEEL_DELTA);
            return 0;
        }
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
                update_scroll_bars();
                InvalidateRect(window_, nullptr, FALSE);
            } else if ((wparam & MK_LBUTTON) != 0 && GetCapture() != window_) {
                const int row = row_at(GET_Y_LPARAM(lparam));
                if (row >= first_data_row()) {
                    move_current(row, true);
                }
            }
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
        case WM_KILLFOCUS:
            InvalidateRect(window_, nullptr, FALSE);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window_, message, wparam, lparam);
}

LRESULT CALLBACK grid_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
        // Owned by the window from here to WM_NCDESTROY.
        auto state = std::make_unique<grid_state>(window, static_cast<grid_model*>(create->lpCreateParams));
        SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(state.release()));
    }
    grid_state* state = state_of(window);
    if (message == WM_NCDESTROY) {
        const std::unique_ptr<grid_state> owned(state);
        SetWindowLongPtrA(window, 0, 0);
        return DefWindowProcA(window, message, wparam, lparam);
    }
    return state != nullptr ? state->handle(message, wparam, lparam)
                            : DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

void register_grid_class() {
    static const bool registered = [] {
        WNDCLASSA window_class{};
        window_class.style = CS_DBLCLKS;
        window_class.lpfnWndProc = grid_procedure;
        window_class.cbWndExtra = sizeof(void*);
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
        window_class.lpszClassName = grid_window_class;
        return RegisterClassA(&window_class) != 0;
    }();
    (void)registered;
}

HWND create_grid(HWND parent, grid_model* model, int id) {
    register_grid_class();
    DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_CLIPSIBLINGS;
    if (model->tab_stop) {
        style |= WS_TABSTOP;
    }
    const DWORD extended = model->border ? WS_EX_CLIENTEDGE : 0;
    HWND grid =
        CreateWindowExA(extended, grid_window_class, model->name().c_str(), style, 0, 0, 100, 100, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), model);
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

void grid_select_all(HWND grid) {
    if (grid_state* state = state_of(grid)) {
        state->select_all();
    }
}

bool copy_to_clipboard(HWND owner, const std::string& text) {
    if (!OpenClipboard(owner)) {
        return false;
    }
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    bool done = false;
    if (memory != nullptr) {
        if (void* target = GlobalLock(memory)) {
            std::copy(text.c_str(), text.c_str() + text.size() + 1, static_cast<char*>(target));
            GlobalUnlock(memory);
            done = SetClipboardData(CF_TEXT, memory) != nullptr;
        }
        if (!done) {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
    return done;
}
