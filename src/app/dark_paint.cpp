// Dark mode where the system's themes stop: the menu bar, buttons, group boxes, dialogs.
#include "app/dark_paint.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "app/theme.h"
#include "base/platform.h"
#include "base/win_handles.h"

namespace {

bool dark() {
    return active_theme() == ui_theme::dark;
}

// The shades the palette lacks, between the face and the text.
constexpr COLORREF edge_color = RGB(112, 112, 112);
constexpr COLORREF button_color = RGB(58, 58, 58);
constexpr COLORREF pressed_color = RGB(82, 82, 82);
constexpr COLORREF thumb_color = RGB(96, 96, 96);
constexpr COLORREF grey_text = RGB(136, 136, 136);

void fill(HDC dc, const RECT& box, COLORREF color) {
    SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
}

void frame(HDC dc, const RECT& box, COLORREF color) {
    fill(dc, RECT{box.left, box.top, box.right, box.top + 1}, color);
    fill(dc, RECT{box.left, box.bottom - 1, box.right, box.bottom}, color);
    fill(dc, RECT{box.left, box.top, box.left + 1, box.bottom}, color);
    fill(dc, RECT{box.right - 1, box.top, box.right, box.bottom}, color);
}

int dpi_of(HWND window) {
    const window_dc dc(window);
    return GetDeviceCaps(dc.get(), LOGPIXELSX);
}

// A small filled triangle pointing up, down, left or right, centred in box.
void arrow(HDC dc, const RECT& box, int direction, COLORREF color) {
    const int size = std::max<int>(2, std::min(box.right - box.left, box.bottom - box.top) / 4);
    const int x = (box.left + box.right) / 2;
    const int y = (box.top + box.bottom) / 2;
    POINT points[3];
    switch (direction) {
        case 0:  // up
            points[0] = {x - size, y + size / 2}, points[1] = {x + size, y + size / 2},
            points[2] = {x, y - size / 2 - 1};
            break;
        case 1:  // down
            points[0] = {x - size, y - size / 2}, points[1] = {x + size, y - size / 2},
            points[2] = {x, y + size / 2 + 1};
            break;
        case 2:  // left
            points[0] = {x + size / 2, y - size}, points[1] = {x + size / 2, y + size},
            points[2] = {x - size / 2 - 1, y};
            break;
        default:  // right
            points[0] = {x - size / 2, y - size}, points[1] = {x - size / 2, y + size},
            points[2] = {x + size / 2 + 1, y};
            break;
    }
    const gdi_object<HBRUSH> brush(CreateSolidBrush(color));
    const gdi_object<HPEN> pen(CreatePen(PS_SOLID, 1, color));
    const select_object chosen_brush(dc, brush.get());
    const select_object chosen_pen(dc, pen.get());
    Polygon(dc, points, 3);
}

std::wstring wide_window_text(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void paint_button(HWND button, HDC dc) {
    const palette& colours = active_palette();
    RECT area{};
    GetClientRect(button, &area);
    const select_object font(dc, reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)));
    const bool enabled = IsWindowEnabled(button) != FALSE;
    const bool focused = GetFocus() == button;
    const LONG style = GetWindowLongW(button, GWL_STYLE);
    const UINT prefix =
        (SendMessageW(button, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0 ? DT_HIDEPREFIX : 0;
    const std::wstring text = wide_window_text(button);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, enabled ? colours.face_text : grey_text);
    const auto type = style & BS_TYPEMASK;
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX) {
        fill(dc, area, colours.face);
        const int dpi = dpi_of(button);
        const int size = MulDiv(13, dpi, 96);
        const int top = (area.top + area.bottom - size) / 2;
        const RECT box{area.left + 1, top, area.left + 1 + size, top + size};
        fill(dc, box, colours.window);
        frame(dc, box, enabled ? colours.face_text : grey_text);
        if (SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) {
            // A tick of two strokes.
            const gdi_object<HPEN> pen(CreatePen(PS_SOLID, std::max(2, MulDiv(2, dpi, 96)), colours.number));
            const select_object chosen(dc, pen.get());
            const int unit = size / 4;
            MoveToEx(dc, box.left + unit - 1, box.top + 2 * unit, nullptr);
            LineTo(dc, box.left + 2 * unit - 1, box.top + 3 * unit);
            LineTo(dc, box.right - unit + 1, box.top + unit - 1);
        }
        RECT label{box.right + MulDiv(5, dpi, 96), area.top, area.right, area.bottom};
        RECT measured = label;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
                  DT_SINGLELINE | DT_VCENTER | DT_CALCRECT | prefix);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label,
                  DT_SINGLELINE | DT_VCENTER | prefix);
        if (focused) {
            RECT mark{label.left - 1, (area.top + area.bottom - (measured.bottom - measured.top)) / 2 - 1,
                      label.left + (measured.right - measured.left) + 1,
                      (area.top + area.bottom + (measured.bottom - measured.top)) / 2 + 1};
            SetTextColor(dc, colours.face_text);
            DrawFocusRect(dc, &mark);
        }
        return;
    }
    const bool pressed = (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    fill(dc, area, colours.face);
    RECT face = area;
    fill(dc, face, pressed ? pressed_color : button_color);
    frame(dc, face, focused ? colours.link : edge_color);
    RECT label = area;
    if (pressed) {
        OffsetRect(&label, 1, 1);
    }
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label,
              DT_SINGLELINE | DT_VCENTER | DT_CENTER | prefix);
}

void paint_combo(HWND combo, HDC dc) {
    const palette& colours = active_palette();
    RECT area{};
    GetClientRect(combo, &area);
    const bool focused = GetFocus() == combo && SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) == FALSE;
    fill(dc, area, colours.window);
    frame(dc, area, edge_color);
    const int button = GetSystemMetrics(SM_CXVSCROLL);
    const RECT drop{area.right - button, area.top + 1, area.right - 1, area.bottom - 1};
    fill(dc, drop, button_color);
    arrow(dc, drop, 1, colours.face_text);
    RECT text_area{area.left + 2, area.top + 2, drop.left - 1, area.bottom - 2};
    if (focused) {
        fill(dc, text_area, colours.current_row);
    }
    const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (selected >= 0) {
        std::wstring text(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, selected, 0)) + 1, L'\0');
        text.resize(static_cast<size_t>(
            SendMessageW(combo, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text.data()))));
        const select_object font(dc, reinterpret_cast<HFONT>(SendMessageW(combo, WM_GETFONT, 0, 0)));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, IsWindowEnabled(combo) ? colours.text : grey_text);
        InflateRect(&text_area, -2, 0);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_area,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}

// The border of an edit with a client edge, one line in the edge's shade.
void paint_edit_border(HWND edit) {
    RECT area{};
    GetWindowRect(edit, &area);
    OffsetRect(&area, -area.left, -area.top);
    HDC dc = GetWindowDC(edit);
    frame(dc, area, edge_color);
    InflateRect(&area, -1, -1);
    frame(dc, area, active_palette().window);
    ReleaseDC(edit, dc);
}

enum class control_kind { button, edit, combo, other };

control_kind kind_of(HWND window) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    const std::wstring_view class_name = name;
    const auto same = [&](std::wstring_view other) {
        return class_name.size() == other.size() &&
               std::equal(class_name.begin(), class_name.end(), other.begin(),
                          [](wchar_t a, wchar_t b) { return towlower(a) == towlower(b); });
    };
    return same(L"Button")     ? control_kind::button
           : same(L"Edit")     ? control_kind::edit
           : same(L"ComboBox") ? control_kind::combo
                               : control_kind::other;
}

// Messages after which a control may have painted itself directly, without
// WM_PAINT: it is painted again at once.
bool may_paint_itself(UINT message) {
    switch (message) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
        case WM_SETTEXT:
        case WM_MOUSEWHEEL:
        case WM_CAPTURECHANGED:
        case WM_UPDATEUISTATE:
        case BM_SETSTATE:
        case BM_SETCHECK:
        case BM_CLICK:
        case CB_SETCURSEL:
        case CB_SHOWDROPDOWN:
        case WM_COMMAND:
            return true;
        default:
            return false;
    }
}

HFONT menu_font() {
    static const gdi_object<HFONT> font([] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        return CreateFontIndirectW(&metrics.lfMenuFont);
    }());
    return font.get();
}

HBRUSH menu_brush() {
    static gdi_object<HBRUSH> brush;
    static COLORREF made = CLR_INVALID;
    if (!brush || made != active_palette().face) {
        made = active_palette().face;
        brush.reset(CreateSolidBrush(made));
    }
    return brush.get();
}

using preferred_app_mode_fn = int(WINAPI*)(int);
using allow_dark_window_fn = BOOL(WINAPI*)(HWND, BOOL);
using flush_menu_themes_fn = void(WINAPI*)();

// Windows 10 1903 (build 18362) and later: uxtheme's unnamed entry points of
// the dark mode that File Explorer uses. Earlier builds have other functions
// at those ordinals, so they are not looked up there.
bool system_has_dark_mode() {
    using version_fn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
    static const bool has = [] {
        const auto numbers = get_proc<version_fn>(GetModuleHandleW(L"ntdll.dll"), "RtlGetNtVersionNumbers");
        DWORD major = 0, minor = 0, build = 0;
        if (numbers != nullptr) {
            numbers(&major, &minor, &build);
        }
        return major >= 10 && (build & 0x0FFFFFFF) >= 18362;
    }();
    return has;
}

}  // namespace

void use_system_dark_mode(HWND window, bool dark_mode) {
    if (!system_has_dark_mode()) {
        return;
    }
    HMODULE uxtheme = load_library("uxtheme.dll");
    const auto preferred = get_proc<preferred_app_mode_fn>(uxtheme, MAKEINTRESOURCEA(135));
    const auto allow = get_proc<allow_dark_window_fn>(uxtheme, MAKEINTRESOURCEA(133));
    const auto flush = get_proc<flush_menu_themes_fn>(uxtheme, MAKEINTRESOURCEA(136));
    if (preferred != nullptr) {
        preferred(dark_mode ? 1 : 0);  // AllowDark, or Default
    }
    if (allow != nullptr) {
        allow(window, dark_mode ? TRUE : FALSE);
    }
    if (flush != nullptr) {
        flush();
    }
}

void use_dark_control_theme(HWND control, bool dark_mode, bool edit) {
    if (!restyle_for_theme(control, L"CavioDarkTheme", dark_mode)) {
        return;
    }
    SetWindowTheme(control, dark_mode ? (edit ? L"DarkMode_CFD" : L"DarkMode_Explorer") : nullptr, nullptr);
}

void theme_tooltip(HWND tip) {
    if (dark()) {
        SetWindowTheme(tip, L"", L"");
        SendMessageW(tip, TTM_SETTIPBKCOLOR, active_palette().window, 0);
        SendMessageW(tip, TTM_SETTIPTEXTCOLOR, active_palette().text, 0);
    } else {
        SetWindowTheme(tip, nullptr, nullptr);
        SendMessageW(tip, TTM_SETTIPBKCOLOR, GetSysColor(COLOR_INFOBK), 0);
        SendMessageW(tip, TTM_SETTIPTEXTCOLOR, GetSysColor(COLOR_INFOTEXT), 0);
    }
}

LRESULT CALLBACK dark_control_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                        DWORD_PTR) {
    if (!dark()) {
        return DefSubclassProc(window, message, wparam, lparam);
    }
    const control_kind kind = kind_of(window);
    if (kind == control_kind::edit) {
        if (message == WM_NCPAINT) {
            paint_edit_border(window);
            return 0;
        }
        return DefSubclassProc(window, message, wparam, lparam);
    }
    if (message == WM_ERASEBKGND) {
        return TRUE;
    }
    if (message == WM_PAINT || message == WM_PRINTCLIENT) {
        PAINTSTRUCT paint{};
        HDC dc = message == WM_PAINT ? BeginPaint(window, &paint) : reinterpret_cast<HDC>(wparam);
        RECT area{};
        GetClientRect(window, &area);
        memory_canvas canvas(dc, area.right, area.bottom);
        if (kind == control_kind::combo) {
            paint_combo(window, canvas.dc());
        } else {
            paint_button(window, canvas.dc());
        }
        BitBlt(dc, 0, 0, area.right, area.bottom, canvas.dc(), 0, 0, SRCCOPY);
        if (message == WM_PAINT) {
            EndPaint(window, &paint);
        }
        return 0;
    }
    const LRESULT result = DefSubclassProc(window, message, wparam, lparam);
    if (may_paint_itself(message) && IsWindow(window)) {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
    }
    return result;
}

namespace {

// Where the client area lies in the window's own coordinates.
RECT client_in_window(HWND window) {
    RECT frame_area{};
    GetWindowRect(window, &frame_area);
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&client, origin.x - frame_area.left, origin.y - frame_area.top);
    return client;
}

// A bar's thumb, from its ends along the track, as the system places it.
std::pair<int, int> thumb_of(const SCROLLINFO& info, int length, int button) {
    const int track = length - 2 * button;
    const int range = info.nMax - info.nMin + 1;
    if (track <= 0 || range <= 0 || static_cast<int>(info.nPage) >= range) {
        return {0, 0};
    }
    const int least = GetSystemMetrics(SM_CXHTHUMB);
    const int size = std::max(least, MulDiv(track, static_cast<int>(info.nPage), range));
    const int span = range - static_cast<int>(info.nPage);
    const int start =
        button + MulDiv(track - size, std::clamp(info.nPos - info.nMin, 0, span), std::max(span, 1));
    return {start, start + size};
}

}  // namespace

void paint_dark_menu_bar(HWND window) {
    HMENU menu = GetMenu(window);
    const int count = menu != nullptr ? GetMenuItemCount(menu) : 0;
    RECT last{};
    const BOOL got = count > 0 ? GetMenuItemRect(window, menu, static_cast<UINT>(count - 1), &last) : FALSE;
    if (!dark() || count <= 0 || !got) {
        return;
    }
    RECT frame_area{};
    GetWindowRect(window, &frame_area);
    OffsetRect(&last, -frame_area.left, -frame_area.top);
    const RECT client = client_in_window(window);
    // The bar beyond its last item, and the line under it.
    HDC dc = GetWindowDC(window);
    fill(dc, RECT{last.right, last.top, client.right, client.top}, active_palette().face);
    fill(dc, RECT{client.left, last.bottom, client.right, client.top}, active_palette().face);
    ReleaseDC(window, dc);
}

void paint_dark_scroll_bars(HWND window) {
    if (!dark() || !IsWindowVisible(window)) {
        return;
    }
    const palette& colours = active_palette();
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const RECT client = client_in_window(window);
    const int width = GetSystemMetrics(SM_CXVSCROLL);
    const int height = GetSystemMetrics(SM_CYHSCROLL);
    HDC dc = GetWindowDC(window);
    for (const int which : {SB_VERT, SB_HORZ}) {
        const bool vertical = which == SB_VERT;
        if ((style & (vertical ? WS_VSCROLL : WS_HSCROLL)) == 0) {
            continue;
        }
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(window, which, &info);
        const RECT area = vertical ? RECT{client.right, client.top, client.right + width, client.bottom}
                                   : RECT{client.left, client.bottom, client.right, client.bottom + height};
        fill(dc, area, colours.face);
        const int button = vertical
                               ? std::min<int>(GetSystemMetrics(SM_CYVSCROLL), (area.bottom - area.top) / 2)
                               : std::min<int>(GetSystemMetrics(SM_CXHSCROLL), (area.right - area.left) / 2);
        RECT first = area;
        RECT last = area;
        if (vertical) {
            first.bottom = first.top + button;
            last.top = last.bottom - button;
        } else {
            first.right = first.left + button;
            last.left = last.right - button;
        }
        const auto [from, to] =
            thumb_of(info, vertical ? area.bottom - area.top : area.right - area.left, button);
        const COLORREF glyph = to > from ? colours.face_text : grey_text;
        arrow(dc, first, vertical ? 0 : 2, glyph);
        arrow(dc, last, vertical ? 1 : 3, glyph);
        if (to > from) {
            RECT thumb = area;
            if (vertical) {
                thumb.top = area.top + from;
                thumb.bottom = area.top + to;
                InflateRect(&thumb, -2, 0);
            } else {
                thumb.left = area.left + from;
                thumb.right = area.left + to;
                InflateRect(&thumb, 0, -2);
            }
            fill(dc, thumb, thumb_color);
        }
    }
    // The square between two bars.
    if ((style & WS_VSCROLL) != 0 && (style & WS_HSCROLL) != 0) {
        fill(dc, RECT{client.right, client.bottom, client.right + width, client.bottom + height},
             colours.face);
    }
    ReleaseDC(window, dc);
}

void set_menu_drawn(HMENU menu, bool dark_mode, menu_texts& texts, bool bar) {
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND;
    info.hbrBack = dark_mode ? menu_brush() : nullptr;
    SetMenuInfo(menu, &info);
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
        if (item.hSubMenu != nullptr) {
            set_menu_drawn(item.hSubMenu, dark_mode, texts, false);
        }
        const bool drawn = (item.fType & MFT_OWNERDRAW) != 0;
        if (dark_mode && !drawn) {
            wchar_t text[256] = {};
            if ((item.fType & MFT_SEPARATOR) == 0) {
                GetMenuStringW(menu, static_cast<UINT>(i), text, static_cast<int>(std::size(text)),
                               MF_BYPOSITION);
            }
            texts.push_back(std::make_unique<menu_text>(menu_text{text, bar}));
            item.fMask = MIIM_FTYPE | MIIM_DATA;
            item.fType |= MFT_OWNERDRAW;
            item.dwItemData = reinterpret_cast<ULONG_PTR>(texts.back().get());
            SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
        } else if (!dark_mode && drawn && item.dwItemData != 0) {
            auto* shown = reinterpret_cast<menu_text*>(item.dwItemData);
            item.fMask = (item.fType & MFT_SEPARATOR) != 0 ? MIIM_FTYPE | MIIM_DATA
                                                           : MIIM_FTYPE | MIIM_STRING | MIIM_DATA;
            item.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
            item.dwTypeData = shown->text.data();
            item.dwItemData = 0;
            SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
        }
    }
}

bool measure_menu_item(HWND owner, MEASUREITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU || item.itemData == 0) {
        return false;
    }
    const auto* shown = reinterpret_cast<const menu_text*>(item.itemData);
    const window_dc dc(owner);
    if (shown->text.empty()) {
        // A separator.
        item.itemWidth = 1;
        item.itemHeight = static_cast<UINT>(MulDiv(7, GetDeviceCaps(dc.get(), LOGPIXELSX), 96));
        return true;
    }
    const select_object font(dc.get(), menu_font());
    const size_t tab = shown->text.find(L'\t');
    const auto width = [&](std::wstring_view text) {
        RECT box{};
        DrawTextW(dc.get(), text.data(), static_cast<int>(text.size()), &box, DT_SINGLELINE | DT_CALCRECT);
        return std::pair<int, int>(box.right - box.left, box.bottom - box.top);
    };
    const auto [label, height] = width(std::wstring_view(shown->text).substr(0, tab));
    const int accelerator =
        tab == std::wstring::npos ? 0 : width(std::wstring_view(shown->text).substr(tab + 1)).first;
    const int dpi = GetDeviceCaps(dc.get(), LOGPIXELSX);
    if (shown->bar) {
        item.itemWidth = static_cast<UINT>(label + MulDiv(4, dpi, 96));
        item.itemHeight = static_cast<UINT>(height + MulDiv(4, dpi, 96));
    } else {
        item.itemWidth = static_cast<UINT>(MulDiv(28, dpi, 96) + label +
                                           (accelerator > 0 ? MulDiv(28, dpi, 96) + accelerator : 0) +
                                           MulDiv(12, dpi, 96));
        item.itemHeight = static_cast<UINT>(height + MulDiv(8, dpi, 96));
    }
    return true;
}

bool draw_menu_item(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU || item.itemData == 0) {
        return false;
    }
    const palette& colours = active_palette();
    const auto* shown = reinterpret_cast<const menu_text*>(item.itemData);
    HDC dc = item.hDC;
    const bool selected = (item.itemState & (ODS_SELECTED | ODS_HOTLIGHT)) != 0;
    const bool grey = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    fill(dc, item.rcItem, selected && !grey && !shown->text.empty() ? colours.current_row : colours.face);
    if (shown->text.empty()) {
        const int middle = (item.rcItem.top + item.rcItem.bottom) / 2;
        fill(dc, RECT{item.rcItem.left + 2, middle, item.rcItem.right - 2, middle + 1}, edge_color);
        return true;
    }
    const select_object font(dc, menu_font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, grey ? grey_text : colours.face_text);
    const UINT prefix = (item.itemState & ODS_NOACCEL) != 0 ? DT_HIDEPREFIX : 0;
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    const size_t tab = shown->text.find(L'\t');
    const std::wstring label = shown->text.substr(0, tab);
    RECT area = item.rcItem;
    if (shown->bar) {
        DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &area,
                  DT_SINGLELINE | DT_VCENTER | DT_CENTER | prefix);
        return true;
    }
    if ((item.itemState & ODS_CHECKED) != 0) {
        RECT check{area.left, area.top, area.left + MulDiv(24, dpi, 96), area.bottom};
        DrawTextW(dc, L"\u2713", 1, &check, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    }
    area.left += MulDiv(28, dpi, 96);
    area.right -= MulDiv(12, dpi, 96);
    DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &area, DT_SINGLELINE | DT_VCENTER | prefix);
    if (tab != std::wstring::npos) {
        const std::wstring accelerator = shown->text.substr(tab + 1);
        DrawTextW(dc, accelerator.c_str(), static_cast<int>(accelerator.size()), &area,
                  DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    return true;
}
