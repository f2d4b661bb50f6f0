#include "app/main_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <uxtheme.h>

#include <algorithm>
#include <exception>

#include "app/control_ids.h"
#include "app/grid_control.h"
#include "app/site_config.h"
#include "app/theme.h"
#include "app/version.h"
#include "app/window_layout.h"
#include "base/platform.h"
#include "base/text.h"
#include "report/report_builder.h"
#include "submit/submission.h"

namespace {

constexpr wchar_t main_class[] = L"CavioMain";
constexpr wchar_t panel_class[] = L"CavioPanel";

// Forwards what child controls tell their parent to the main window, so
// that panels and sheets can hold controls.
LRESULT CALLBACK panel_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return SendMessageW(GetAncestor(window, GA_ROOT), message, wparam, lparam);
        case WM_ERASEBKGND: {
            // The theme's face, not the class's.
            RECT area{};
            GetClientRect(window, &area);
            const gdi_object<HBRUSH> face(CreateSolidBrush(active_palette().face));
            FillRect(reinterpret_cast<HDC>(wparam), &area, face.get());
            return TRUE;
        }
        case WM_SETCURSOR:
            if (GetPropW(reinterpret_cast<HWND>(wparam), link_property) != nullptr) {
                SetCursor(LoadCursor(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK main_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<main_window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form != nullptr && form->handle() == window) {
        return form->handle_message(message, wparam, lparam);
    }
    return DefWindowProcW(window, message, wparam, lparam);
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

HFONT make_font(int points, int dpi, bool bold, bool underline = false) {
    return CreateFontW(-MulDiv(points, dpi, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

void move(HWND window, const RECT& where) {
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

// Paints whatever needs it while the post waits, so that the window keeps its
// image; input stays queued.
void paint_while_waiting() {
    MSG message;
    for (int i = 0; i < 64 && PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) {
        DispatchMessageW(&message);
    }
}

}  // namespace

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

std::string host_of(const std::string& url) {
    size_t start = url.find("://");
    start = start == std::string::npos ? 0 : start + 3;
    const size_t end = url.find_first_of("/:?#", start);
    return url.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string submitter_url(const std::string& url) {
    const size_t scheme = url.find("://");
    const size_t authority = scheme == std::string::npos ? 0 : scheme + 3;
    const size_t path = url.find('/', authority);
    return url.substr(0, path) + "/submitter.php";
}

window_seams default_window_seams() {
    window_seams seams;
    seams.capture = default_capture_seams();
    seams.message_box = [](HWND owner, const std::string& text, UINT type) {
        return MessageBoxW(owner, wide_of(text).c_str(), application_title, type);
    };
    // WinExec has no wide form: the command line goes in the code page.
    seams.run_hidden = [](const std::string& command_line) {
        WinExec(ansi_of_utf8(command_line).c_str(), SW_HIDE);
    };
    seams.open_address = [](const std::string& address) {
        ShellExecuteW(nullptr, L"open", wide_of(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    };
    seams.product_url = product_site_url;
    seams.maker_url = maker_site_url;
    seams.submit_url = submitter_url(product_site_url);
    seams.choose_file = choose_report_file;
    seams.theme = system_theme;
    return seams;
}

void register_window_classes() {
    static const bool registered = [] {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW window_class{};
        window_class.cbSize = sizeof window_class;
        window_class.lpfnWndProc = main_procedure;
        window_class.hInstance = instance;
        window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
        window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        // The title bar's and the taskbar's sizes of the chip; none in a
        // program without the resource, such as the tests.
        window_class.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(icon_resource),
                                                           IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
        window_class.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(icon_resource),
                                                             IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
        window_class.lpszClassName = main_class;
        RegisterClassExW(&window_class);
        window_class.lpfnWndProc = panel_procedure;
        window_class.hIcon = nullptr;
        window_class.hIconSm = nullptr;
        window_class.lpszClassName = panel_class;
        RegisterClassExW(&window_class);
        register_grid_class();
        return true;
    }();
    (void)registered;
}

main_window::main_window(window_seams seams)
    : http(std::make_unique<http_component>()), seams_(std::move(seams)) {
    http->waiting = paint_while_waiting;
    grids_.reserve(page_count);
    for (const page_info& page : page_table()) {
        grids_.emplace_back(page);
    }
    register_window_classes();
    face_brush_.reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    dpi_ = window_dpi(nullptr);
    RECT frame{0, 0, scale_to(design_client_width, dpi_), scale_to(design_client_height, dpi_)};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    AdjustWindowRectEx(&frame, style, TRUE, WS_EX_CONTROLPARENT);  // with the menu bar
    // The primary monitor's work area, where a new window appears; never
    // larger than it, whatever the DPI.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT place =
        first_window_rect(SIZE{frame.right - frame.left, frame.bottom - frame.top}, monitor.rcWork);
    window_.reset(CreateWindowExW(WS_EX_CONTROLPARENT, main_class, main_caption, style, place.left, place.top,
                                  place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), this));
    dpi_ = window_dpi(window_.get());
    create_menu();
    create_controls();
    apply_theme();
    apply_fonts();
    relayout();
}

main_window::~main_window() {
    // The window goes first, while the grid models it draws still exist.
    if (HWND window = window_.release()) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
}

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

HWND create_panel(HWND parent, const wchar_t* text) {
    return CreateWindowExW(WS_EX_CONTROLPARENT, panel_class, text,
                           WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 10, 10, parent,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

HWND create_child(const wchar_t* window_class, const std::string& text, DWORD style, HWND parent, int id = 0,
                  DWORD extended = 0) {
    return CreateWindowExW(extended, window_class, wide_of(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0,
                           0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

HWND create_tab_button(const char* caption, HWND parent, int id) {
    return create_child(L"BUTTON", caption, WS_TABSTOP | BS_OWNERDRAW, parent, id);
}

}  // namespace

void main_window::create_controls() {
    HWND form = window_.get();
    window_controls& c = controls_;
    c.status_bar = create_child(STATUSCLASSNAMEW, "", 0, form);
    SetWindowSubclass(c.status_bar, strip_procedure, 0, 1);

    c.top_panel = create_panel(form, L"");
    c.device_label = create_child(L"STATIC", "Device:", 0, c.top_panel);
    c.adapter_list =
        create_child(WC_COMBOBOXW, "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, c.top_panel, id_adapters);
    c.find_label = create_child(L"STATIC", "Find:", 0, c.top_panel);
    c.find_box =
        create_child(L"EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, c.top_panel, id_find, WS_EX_CLIENTEDGE);
    c.submit_button = create_child(L"BUTTON", "Submit to " + host_of(seams_.product_url),
                                   WS_TABSTOP | BS_PUSHBUTTON, c.top_panel, id_submit);
    // Shown while comparing.
    c.compare_label = create_child(L"STATIC", "Compared with:", 0, c.top_panel);
    c.compared_list = create_child(WC_COMBOBOXW, "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, c.top_panel,
                                   id_compared_list);
    c.differences_only = create_child(L"BUTTON", "Differe&nces only", WS_TABSTOP | BS_AUTOCHECKBOX,
                                      c.top_panel, id_differences_only);
    for (HWND control : {c.compare_label, c.compared_list, c.differences_only}) {
        ShowWindow(control, SW_HIDE);
    }

    c.group_panel = create_panel(form, L"");
    const std::pair<page_group, int> tabs[] = {{page_group::directx, id_directx_tab},
                                               {page_group::opengl, id_opengl_tab},
                                               {page_group::vulkan, id_vulkan_tab}};
    for (const auto& [which, id] : tabs) {
        group_controls& group = c.group(which);
        group.tab = create_tab_button(group_caption(which), c.group_panel, id);
    }
    for (const auto& [which, id] : tabs) {
        group_controls& group = c.group(which);
        group.sheet = create_panel(c.group_panel, wide_of(group_caption(which)).c_str());
        create_pages(group, which);
    }
    show_group(page_group::directx);
}

void main_window::create_pages(group_controls& group, page_group which) {
    const int strip_id = which == page_group::directx  ? id_directx_pages
                         : which == page_group::opengl ? id_opengl_pages
                                                       : id_vulkan_pages;
    group.pages = create_child(WC_TABCONTROLW, "",
                               WS_TABSTOP | WS_CLIPSIBLINGS | TCS_BUTTONS | TCS_FLATBUTTONS | TCS_MULTILINE,
                               group.sheet, strip_id);
    SetWindowSubclass(group.pages, strip_procedure, 0, 0);
    for (const page_info& info : pages_of(which)) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        std::wstring text = wide_of(info.caption);
        item.pszText = text.data();
        SendMessageW(group.pages, TCM_INSERTITEMW, group.page_sheets.size(), reinterpret_cast<LPARAM>(&item));
        HWND page = create_panel(group.sheet, text.c_str());
        group.page_sheets.push_back(page);
        const int id = id_first_grid + static_cast<int>(info.id);
        if (info.summary) {
            group.summary.sheet = page;
            create_summary(group.summary, grid(info.id), id);
            group.grids.push_back(group.summary.grid);
        } else {
            group.grids.push_back(create_grid(page, &grid(info.id), id));
        }
    }
    show_page(group);
}

void main_window::create_summary(summary_controls& summary, grid_model& model, int grid_id) {
    HWND sheet = summary.sheet;
    summary.image = create_child(L"STATIC", "", SS_OWNERDRAW, sheet, id_logo);
    // Reached with Tab, opened with Return (translate_key), and drawn with
    // a focus rectangle while focused.
    const auto link = [&](const std::string& address, int id) {
        HWND label = create_child(L"STATIC", address, SS_NOTIFY | SS_RIGHT | WS_TABSTOP, sheet, id);
        SetPropW(label, link_property, reinterpret_cast<HANDLE>(1));
        SetWindowSubclass(label, link_procedure, 0, 0);
        return label;
    };
    summary.home_visit = create_child(L"STATIC", "Visit", 0, sheet);
    summary.home_link = link(seams_.product_url, id_home_link);
    summary.maker_visit = create_child(L"STATIC", "Visit", 0, sheet);
    summary.maker_link = link(seams_.maker_url, id_maker_link);
    summary.panel = create_panel(sheet, L"");
    summary.grid = create_grid(summary.panel, &model, grid_id);
}

void main_window::apply_fonts() {
    font_.reset(make_font(8, dpi_, false));
    bold_font_.reset(make_font(8, dpi_, true));
    tab_font_.reset(make_font(10, dpi_, true));
    link_font_.reset(make_font(8, dpi_, true, true));
    const auto set = [](HWND window, const gdi_object<HFONT>& font) {
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    };
    const window_controls& c = controls_;
    for (HWND window : {c.status_bar, c.device_label, c.adapter_list, c.find_label, c.find_box,
                        c.submit_button, c.compare_label, c.compared_list, c.differences_only}) {
        set(window, font_);
    }
    for (const group_controls* group : {&c.directx, &c.opengl, &c.vulkan}) {
        set(group->tab, tab_font_);
        set(group->pages, font_);
        set(group->summary.home_visit, bold_font_);
        set(group->summary.maker_visit, bold_font_);
        set(group->summary.home_link, link_font_);
        set(group->summary.maker_link, link_font_);
        for (HWND grid : group->grids) {
            grid_set_dpi(grid, dpi_);
        }
    }
    SendMessageW(c.status_bar, SB_SETMINHEIGHT, scale_to(design_status_height, dpi_), 0);
}

void main_window::show_group(page_group group) {
    group_ = group;
    for (const page_group which : {page_group::directx, page_group::opengl, page_group::vulkan}) {
        ShowWindow(controls_.group(which).sheet, which == group ? SW_SHOW : SW_HIDE);
        // The chosen tab is a pressed button to a screen reader.
        SendMessageW(controls_.group(which).tab, BM_SETSTATE, which == group ? TRUE : FALSE, 0);
        InvalidateRect(controls_.group(which).tab, nullptr, TRUE);
    }
}

group_controls* main_window::group_of_pages(HWND strip) {
    for (group_controls* group : {&controls_.directx, &controls_.opengl, &controls_.vulkan}) {
        if (strip == group->pages) {
            return group;
        }
    }
    return nullptr;
}

void main_window::show_page(const group_controls& group) {
    const int selected = static_cast<int>(SendMessageW(group.pages, TCM_GETCURSEL, 0, 0));
    for (size_t i = 0; i < group.page_sheets.size(); ++i) {
        ShowWindow(group.page_sheets[i], static_cast<int>(i) == selected ? SW_SHOW : SW_HIDE);
    }
}

void main_window::layout_page_control(const group_controls& group, page_group which) {
    const RECT area = client_of(group.sheet);
    move(group.pages, area);
    RECT display = area;
    SendMessageW(group.pages, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    // The strip keeps only its rows of buttons, so no page lies under it and
    // the pages can follow it in the Tab order.
    move(group.pages, RECT{area.left, area.top, area.right, display.top});
    for (size_t i = 0; i < group.page_sheets.size(); ++i) {
        HWND sheet = group.page_sheets[i];
        move(sheet, display);
        SetWindowPos(sheet, group.pages, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (sheet == group.summary.sheet) {
            layout_summary_sheet(group.summary, which);
        } else {
            move(group.grids[i], client_of(sheet));
        }
    }
}

void main_window::layout_summary_sheet(const summary_controls& summary, page_group group) {
    const RECT area = client_of(summary.sheet);
    const summary_layout layout = layout_summary(area.right, area.bottom, dpi_, group);
    move(summary.image, layout.logo);
    // A link is as wide as its address, right-aligned, with "Visit" before it.
    const auto place_link = [&](HWND visit, HWND link, RECT visit_box, RECT link_box) {
        const int shift = std::max(
            0L, text_width(link, link_font_.get()) + scale_to(2, dpi_) - (link_box.right - link_box.left));
        link_box.left -= shift;
        OffsetRect(&visit_box, -shift, 0);
        move(visit, visit_box);
        move(link, link_box);
    };
    place_link(summary.home_visit, summary.home_link, layout.home_visit, layout.home_link);
    place_link(summary.maker_visit, summary.maker_link, layout.maker_visit, layout.maker_link);
    move(summary.panel, layout.panel);
    move(summary.grid, layout.grid);
}

void main_window::relayout() {
    HWND form = window_.get();
    if (form == nullptr) {
        return;
    }
    const window_controls& c = controls_;
    const RECT area = client_of(form);
    const main_layout layout = layout_main(area.right, area.bottom, dpi_, comparing());
    SendMessageW(c.status_bar, WM_SIZE, 0, 0);
    move(c.top_panel, layout.top_panel);
    move(c.compare_label, layout.compare_label);
    move(c.compared_list, layout.compared_list);
    move(c.differences_only, layout.differences_only);
    move(c.device_label, layout.device_label);
    move(c.adapter_list, layout.adapters);
    move(c.find_label, layout.find_label);
    move(c.find_box, layout.find_box);
    // The version on the left, the latest problem beside it, what Find says
    // on the right.
    const int version = std::min(scale_to(150, dpi_), static_cast<int>(area.right) / 3);
    int parts[] = {version, std::max(version + 1, static_cast<int>(area.right) - scale_to(160, dpi_)), -1};
    SendMessageW(c.status_bar, SB_SETPARTS, std::size(parts), reinterpret_cast<LPARAM>(parts));
    // Wide enough for its caption, whatever the product host is.
    RECT submit = layout.submit;
    submit.left = std::min<LONG>(
        submit.left, submit.right - text_width(c.submit_button, font_.get()) - scale_to(16, dpi_));
    move(c.submit_button, submit);
    move(c.group_panel, layout.pages);
    move(c.directx.tab, layout.directx_tab);
    move(c.opengl.tab, layout.opengl_tab);
    move(c.vulkan.tab, layout.vulkan_tab);
    for (const page_group which : {page_group::directx, page_group::opengl, page_group::vulkan}) {
        move(c.group(which).sheet, layout.sheet);
        layout_page_control(c.group(which), which);
    }
    // Every control again, moved or not: a button anchored right leaves its
    // old place behind when the window grows.
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void main_window::refresh_grids() {
    for (const group_controls* group : {&controls_.directx, &controls_.opengl, &controls_.vulkan}) {
        for (HWND grid : group->grids) {
            grid_refresh(grid);
        }
    }
}

void main_window::on_dpi_changed(int dpi, const RECT* suggested) {
    dpi_ = dpi;
    apply_fonts();
    if (suggested != nullptr) {
        SetWindowPos(window_.get(), nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    relayout();
    // Every control, not the frame alone: text drawn at the old scale must go.
    RedrawWindow(window_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void main_window::report_error(const std::exception& error) {
    seams_.message_box(window_.get(), error.what(), MB_OK | MB_ICONERROR);
}

const adapter_report* main_window::shown_adapter() const {
    const auto index = static_cast<size_t>(SendMessageW(controls_.adapter_list, CB_GETCURSEL, 0, 0));
    return index < document_.adapters.size() ? &document_.adapters[index] : nullptr;
}

void main_window::show_selected_adapter() {
    const adapter_report* adapter = shown_adapter();
    if (adapter == nullptr) {
        show_report_state();
        return;
    }
    const auto other = static_cast<size_t>(SendMessageW(controls_.compared_list, CB_GETCURSEL, 0, 0));
    const adapter_report* paired =
        compared_ && other < compared_->adapters.size() ? &compared_->adapters[other] : nullptr;
    const bool differences_only = SendMessageW(controls_.differences_only, BM_GETCHECK, 0, 0) == BST_CHECKED;
    for (const page_info& info : page_table()) {
        const report_group& group = adapter->group(info.group);
        if (compared_) {
            grid(info.id).show_compared(group.page(info.id),
                                        paired != nullptr ? paired->group(info.group).page(info.id) : nullptr,
                                        differences_only);
        } else if (group.read || info.cleared_without_record) {
            // Without the group's record only some pages are reset; the
            // others keep what they showed.
            grid(info.id).show(group.page(info.id));
        }
    }
    refresh_grids();
    show_report_state();
}

void main_window::open_link(const std::string& address) {
    wchar_t comspec[261] = {};
    const DWORD length = GetEnvironmentVariableW(L"COMSPEC", comspec, std::size(comspec));
    // Unset, or longer than the buffer: the shell opens the address instead.
    if (length == 0 || length >= std::size(comspec)) {
        seams_.open_address(address);
        return;
    }
    seams_.run_hidden(utf8_of(std::wstring_view(comspec, length)) + " /c start " + address);
}

void main_window::open_home_link() {
    open_link(seams_.product_url);
}

void main_window::open_maker_link() {
    open_link(seams_.maker_url);
}

namespace {

// The component's reason as a sentence of its own: a capital first, a stop
// at the end.
std::string as_sentence(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    }
    if (!text.empty() && text.back() != '.') {
        text += '.';
    }
    return text;
}

// Throws away the keys and clicks that waited while the window could not
// answer, so that none of them dismisses the message box that follows.
void discard_waiting_input() {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) ||
           PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE) ||
           PeekMessageW(&message, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE)) {
    }
}

}  // namespace

void main_window::submit_report() {
    finish_capture();
    // The post is synchronous and bounded by the HTTP component's deadline:
    // the status bar says where it goes, and the wait cursor shows, until
    // it is answered or given up.
    HWND status_bar = controls_.status_bar;
    const std::string status = status_part(status_bar, status_message);
    set_status(status_bar, status_message, "Sending report to " + host_of(seams_.submit_url) + "...");
    UpdateWindow(status_bar);
    const HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    std::string failure;
    try {
        const std::vector<std::pair<std::string, std::string>> fields = {
            {"textlist", submission},
            {"id", std::to_string(draw_submission_identifier())},
        };
        http->post(seams_.submit_url, fields);
    } catch (const std::exception& error) {
        failure = error.what();
    } catch (...) {
        failure = "the post failed";
    }
    set_status(status_bar, status_message, status);
    SetCursor(previous);
    discard_waiting_input();
    if (failure.empty()) {
        seams_.message_box(window_.get(), "Data sent to server.\r\n\r\nThank You!",
                           MB_OK | MB_ICONINFORMATION);
    } else {
        seams_.message_box(window_.get(), "Can't send data to server.\r\n\r\n" + as_sentence(failure),
                           MB_OK | MB_ICONERROR);
    }
}

void main_window::apply_theme() {
    const ui_theme theme = seams_.theme ? seams_.theme() : ui_theme::light;
    set_active_theme(theme);
    const palette& colours = active_palette();
    face_brush_.reset(CreateSolidBrush(colours.face));
    window_brush_.reset(CreateSolidBrush(colours.window));
    const bool dark = theme == ui_theme::dark;
    use_dark_title_bar(window_.get(), dark);
    // Windows' own dark look of edits, lists and buttons, where it has one.
    const window_controls& c = controls_;
    for (HWND control : {c.adapter_list, c.find_box, c.submit_button, c.compared_list, c.differences_only}) {
        SetWindowTheme(control, dark ? L"DarkMode_CFD" : nullptr, nullptr);
    }
    refresh_grids();
    RedrawWindow(window_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}
