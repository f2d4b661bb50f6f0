// The subclass procedures that paint over the common controls: tabs, status bar, links.
#include "app/control_paint.h"

#include <commctrl.h>

#include <iterator>
#include <string>

#include "app/theme.h"
#include "base/win_handles.h"

namespace {

// The page strips and the status bar draw themselves light; in the dark
// theme they are painted here instead, in the palette's colours.
void paint_dark_strip(HWND strip, HDC dc, bool status) {
    const palette& colours = active_palette();
    RECT area{};
    GetClientRect(strip, &area);
    const gdi_object<HBRUSH> face(CreateSolidBrush(colours.face));
    FillRect(dc, &area, face.get());
    SetBkMode(dc, TRANSPARENT);
    const select_object font(dc, reinterpret_cast<HFONT>(SendMessageW(strip, WM_GETFONT, 0, 0)));
    const int count = static_cast<int>(status ? SendMessageW(strip, SB_GETPARTS, 0, 0)
                                              : SendMessageW(strip, TCM_GETITEMCOUNT, 0, 0));
    const int chosen = status ? -1 : static_cast<int>(SendMessageW(strip, TCM_GETCURSEL, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT item{};
        wchar_t text[256] = {};
        if (status) {
            SendMessageW(strip, SB_GETRECT, i, reinterpret_cast<LPARAM>(&item));
            SendMessageW(strip, SB_GETTEXTW, i, reinterpret_cast<LPARAM>(text));
        } else {
            SendMessageW(strip, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
            TCITEMW tab{};
            tab.mask = TCIF_TEXT;
            tab.pszText = text;
            tab.cchTextMax = static_cast<int>(std::size(text));
            SendMessageW(strip, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&tab));
            const gdi_object<HBRUSH> fill(CreateSolidBrush(i == chosen ? colours.chosen_tab : colours.tab));
            FillRect(dc, &item, fill.get());
            FrameRect(dc, &item, face.get());
        }
        SetTextColor(dc, i == chosen ? colours.chosen_tab_text : colours.tab_text);
        std::wstring shown = text;
        // A status part's text may start with TAB characters that align it.
        shown.erase(0, shown.find_first_not_of(L'\t'));
        InflateRect(&item, -4, 0);
        DrawTextW(
            dc, shown.c_str(), static_cast<int>(shown.size()), &item,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | (status ? DT_LEFT : DT_CENTER));
    }
}

}  // namespace

// Its data: 1 for the status bar, 0 for a page strip.
LRESULT CALLBACK strip_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                 DWORD_PTR status) {
    if (active_theme() == ui_theme::dark) {
        if (message == WM_ERASEBKGND) {
            return TRUE;
        }
        if (message == WM_PAINT) {
            PAINTSTRUCT paint{};
            HDC dc = BeginPaint(window, &paint);
            paint_dark_strip(window, dc, status != 0);
            EndPaint(window, &paint);
            return 0;
        }
    }
    return DefSubclassProc(window, message, wparam, lparam);
}

// A link's focus rectangle over what the static control paints.
LRESULT CALLBACK link_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                DWORD_PTR) {
    switch (message) {
        case WM_PAINT: {
            const LRESULT painted = DefSubclassProc(window, message, wparam, lparam);
            if (GetFocus() == window) {
                const window_dc dc(window);
                RECT area{};
                GetClientRect(window, &area);
                DrawFocusRect(dc.get(), &area);
            }
            return painted;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(window, nullptr, TRUE);
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wparam, lparam);
}
