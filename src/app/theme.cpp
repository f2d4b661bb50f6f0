// The palettes (light, dark, high contrast) and which one the system asks for.
#include "app/theme.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/platform.h"

namespace {

ui_theme current = ui_theme::light;
palette in_use = palette_of(ui_theme::light);

double channel(BYTE value) {
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(COLORREF color) {
    return 0.2126 * channel(GetRValue(color)) + 0.7152 * channel(GetGValue(color)) +
           0.0722 * channel(GetBValue(color));
}

// The link colour of the light theme: the system's hot-track colour, unless
// a theme made it too faint to read on the face colour.
COLORREF light_link() {
    const auto brightness = [](COLORREF c) {
        return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000;
    };
    const COLORREF hot = GetSysColor(COLOR_HOTLIGHT);
    return std::abs(brightness(hot) - brightness(GetSysColor(COLOR_BTNFACE))) < 80 ? RGB(0, 102, 204) : hot;
}

}  // namespace

ui_theme system_theme() {
    HIGHCONTRASTW contrast{sizeof contrast, 0, nullptr};
    if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
        (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0) {
        return ui_theme::high_contrast;
    }
    DWORD light = 1;
    DWORD size = sizeof light;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                     L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &light, &size) == ERROR_SUCCESS &&
        light == 0) {
        return ui_theme::dark;
    }
    return ui_theme::light;
}

palette palette_of(ui_theme theme) {
    switch (theme) {
        case ui_theme::dark:
            return {RGB(43, 43, 43),    RGB(235, 235, 235), RGB(130, 185, 255), RGB(30, 30, 30),
                    RGB(235, 235, 235), RGB(64, 64, 64),    RGB(240, 240, 240), RGB(28, 58, 92),
                    CLR_INVALID,        RGB(120, 220, 120), RGB(255, 158, 150), RGB(76, 58, 0),
                    RGB(43, 43, 43),    RGB(235, 235, 235), RGB(30, 30, 30),    RGB(130, 185, 255),
                    RGB(120, 92, 0)};
        case ui_theme::high_contrast: {
            // Every colour is one of the system's; yes, no and numbers read
            // as text.
            const COLORREF window = GetSysColor(COLOR_WINDOW);
            const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
            const COLORREF face = GetSysColor(COLOR_BTNFACE);
            const COLORREF face_text = GetSysColor(COLOR_BTNTEXT);
            return {face,
                    face_text,
                    GetSysColor(COLOR_HOTLIGHT),
                    window,
                    text,
                    face,
                    face_text,
                    GetSysColor(COLOR_HIGHLIGHT),
                    GetSysColor(COLOR_HIGHLIGHTTEXT),
                    text,
                    text,
                    face,
                    face,
                    face_text,
                    window,
                    GetSysColor(COLOR_HIGHLIGHT),
                    face};
        }
        case ui_theme::light:
            break;
    }
    // As the viewer has always looked.
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    return {GetSysColor(COLOR_BTNFACE),
            text,
            light_link(),
            RGB(255, 255, 255),
            text,
            RGB(192, 192, 192),
            text,
            RGB(192, 220, 192),
            CLR_INVALID,
            RGB(0, 128, 0),
            RGB(255, 0, 0),
            RGB(255, 226, 140),
            GetSysColor(COLOR_BTNFACE),
            GetSysColor(COLOR_BTNTEXT),
            GetSysColor(COLOR_WINDOW),
            GetSysColor(COLOR_HIGHLIGHT),
            RGB(255, 238, 0)};
}

const palette& active_palette() {
    return in_use;
}

ui_theme active_theme() {
    return current;
}

void set_active_theme(ui_theme theme) {
    current = theme;
    in_use = palette_of(theme);
}

double contrast_ratio(COLORREF first, COLORREF second) {
    const double a = luminance(first);
    const double b = luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

bool restyle_for_theme(HWND window, const wchar_t* mark, bool dark) {
    if (dark) {
        SetPropW(window, mark, reinterpret_cast<HANDLE>(1));
        return true;
    }
    return RemovePropW(window, mark) != nullptr;
}

void use_dark_title_bar(HWND window, bool dark) {
    if (!restyle_for_theme(window, L"CavioDarkTitle", dark)) {
        return;
    }
    using set_attribute_fn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
    static const auto set_attribute =
        get_proc<set_attribute_fn>(load_library("dwmapi.dll"), "DwmSetWindowAttribute");
    if (set_attribute != nullptr) {
        // DWMWA_USE_IMMERSIVE_DARK_MODE: 20 from Windows 10 20H1 on.
        const BOOL value = dark ? TRUE : FALSE;
        set_attribute(window, 20, &value, sizeof value);
    }
}
