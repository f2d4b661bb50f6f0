// The child controls' helpers: text in UTF-8, status-bar parts, creating and measuring.
#include "app/controls.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>

#include "app/window_class_names.h"
#include "base/platform.h"
#include "base/text.h"
#include "base/win_handles.h"

void use_com_here() {
    thread_local const bool joined = [] {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        return true;
    }();
    (void)joined;
}

std::string window_text(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(GetWindowTextW(window, text.data(), length + 1), 0)));
    return utf8_of(text);
}

void set_status(HWND status_bar, int part, const std::string& text) {
    SendMessageW(status_bar, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(wide_of(text).c_str()));
}

std::string status_part(HWND status_bar, int part) {
    const auto length = LOWORD(SendMessageW(status_bar, SB_GETTEXTLENGTHW, part, 0));
    std::wstring text(length + 1u, L'\0');
    SendMessageW(status_bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return utf8_of(text);
}

int window_dpi(HWND window) {
    using dpi_for_window_fn = UINT(WINAPI*)(HWND);
    // Windows 10 1607 and later; older systems have one DPI for all.
    static const auto dpi_for_window =
        get_proc<dpi_for_window_fn>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    if (dpi_for_window != nullptr && window != nullptr) {
        const UINT dpi = dpi_for_window(window);
        if (dpi > 0) {
            return static_cast<int>(dpi);
        }
    }
    const window_dc screen(nullptr);
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}

void move_to(HWND window, const RECT& where) {
    if (window != nullptr) {
        MoveWindow(window, where.left, where.top, where.right - where.left, where.bottom - where.top, TRUE);
    }
}

// The width of a window's text in the given font, in pixels.
int text_width(HWND window, HFONT font) {
    const std::wstring text = wide_of(window_text(window));
    const window_dc dc(window);
    SIZE extent{};
    const select_object chosen(dc.get(), font);
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

RECT client_of(HWND window) {
    RECT area{};
    GetClientRect(window, &area);
    return area;
}

HWND create_panel(HWND parent, const wchar_t* text) {
    return CreateWindowExW(WS_EX_CONTROLPARENT, panel_window_class, text,
                           WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 10, 10, parent,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

HWND create_child(const wchar_t* window_class, const std::string& text, DWORD style, HWND parent, int id,
                  DWORD extended) {
    return CreateWindowExW(extended, window_class, wide_of(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0,
                           0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

HWND create_tab_button(const char* caption, HWND parent, int id) {
    return create_child(L"BUTTON", caption, WS_TABSTOP | BS_OWNERDRAW, parent, id);
}
