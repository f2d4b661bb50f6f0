#include "app/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <exception>

#include "app/version.h"
#include "app/control_ids.h"
#include "app/window_layout.h"
#include "app/grid_control.h"
#include "app/site_config.h"
#include "base/platform.h"
#include "probe/d3d9_probe.h"
#include "probe/dxgi_probe.h"
#include "submit/submission.h"

namespace {

constexpr char main_class[] = "CavioMain";
constexpr char panel_class[] = "CavioPanel";

// Forwards what child controls tell their parent to the main window, so
// that panels and sheets can hold controls.
LRESULT CALLBACK panel_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return SendMessageA(GetAncestor(window, GA_ROOT), message, wparam, lparam);
        case WM_SETCURSOR:
            if (GetPropA(reinterpret_cast<HWND>(wparam), link_property) != nullptr) {
                SetCursor(LoadCursor(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        default:
            break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT CALLBACK main_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<main_window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (form != nullptr && form->handle() == window) {
        return form->handle_message(message, wparam, lparam);
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

int window_dpi(HWND window) {
    using dpi_for_window_fn = UINT(WINAPI*)(HWND);
    // Windows 10 1607 and later; older systems have one DPI for all.
    static const auto dpi_for_window =
        get_proc<dpi_for_window_fn>(GetModuleHandleA("user32.dll"), "GetDpiForWindow");
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
    return CreateFontA(-MulDiv(points, dpi, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, "Tahoma");
}

void move(HWND window, const RECT& where) {
    if (window != nullptr) {
        MoveWindow(window, where.left, where.top, where.right - where.left, where.bottom - where.top, TRUE);
    }
}

// The width of a window's text in the given font, in pixels.
int text_width(HWND window, HFONT font) {
    char text[512] = {};
    const int length = GetWindowTextA(window, text, sizeof text);
    const window_dc dc(window);
    SIZE extent{};
    const select_object chosen(dc.get(), font);
    GetTextExtentPoint32A(dc.get(), text, length, &extent);
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
    for (int i = 0; i < 64 && PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) {
        DispatchMessageA(&message);
    }
}

}  // namespace

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

form_seams default_form_seams() {
    form_seams seams;
    seams.capture = default_capture_seams();
    seams.message_box = [](HWND owner, const std::string& text, UINT type) {
        return MessageBoxA(owner, text.c_str(), application_title, type);
    };
    seams.run_hidden = [](const std::string& command_line) { WinExec(command_line.c_str(), SW_HIDE); };
    seams.open_address = [](const std::string& address) {
        ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    };
    seams.product_url = product_site_url;
    seams.maker_url = maker_site_url;
    seams.submit_url = submitter_url(product_site_url);
    return seams;
}

void register_form_classes() {
    static const bool registered = [] {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        WNDCLASSEXA window_class{};
        window_class.cbSize = sizeof window_class;
        window_class.lpfnWndProc = main_procedure;
        window_class.hInstance = instance;
        window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
        window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        // The title bar's and the taskbar's sizes of the chip; none in a
        // program without the resource, such as the tests.
        window_class.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(icon_resource),
                                                           IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
        window_class.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(icon_resource),
                                                             IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
        window_class.lpszClassName = main_class;
        RegisterClassExA(&window_class);
        window_class.lpfnWndProc = panel_procedure;
        window_class.hIcon = nullptr;
        window_class.hIconSm = nullptr;
        window_class.lpszClassName = panel_class;
        RegisterClassExA(&window_class);
        register_grid_class();
        return true;
    }();
    (void)registered;
}

main_window::main_window(form_seams seams)
    : http(std::make_unique<http_component>()), seams_(std::move(seams)) {
    http->waiting = paint_while_waiting;
    register_form_classes();
    face_brush_.reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    dpi_ = window_dpi(nullptr);
    RECT frame{0, 0, scale_to(design_client_width, dpi_), scale_to(design_client_height, dpi_)};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
    // The primary monitor's work area, where a new window appears; never
    // larger than it, whatever the DPI.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT place =
        first_window_rect(SIZE{frame.right - frame.left, frame.bottom - frame.top}, monitor.rcWork);
    window_.reset(CreateWindowExA(WS_EX_CONTROLPARENT, main_class, main_caption, style, place.left, place.top,
                                  place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), this));
    dpi_ = window_dpi(window_.get());
    create_controls();
    apply_fonts();
    relayout();
}

main_window::~main_window() {
    // The window goes first, while the grid models it draws still exist.
    if (HWND window = window_.release()) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
}

namespace {

HWND create_panel(HWND parent, const char* text) {
    return CreateWindowExA(WS_EX_CONTROLPARENT, panel_class, text,
                           WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 10, 10, parent,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

HWND create_child(const char* window_class, const char* text, DWORD style, HWND parent, int id = 0) {
    return CreateWindowExA(0, window_class, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                           nullptr);
}

HWND create_tab_button(const char* caption, HWND parent, int id) {
    return create_child("BUTTON", caption, WS_TABSTOP | BS_OWNERDRAW, parent, id);
}

}  // namespace

void main_window::create_controls() {
    HWND form = window_.get();
    form_controls& c = controls_;
    c.status_bar = create_child(STATUSCLASSNAMEA, "", 0, form);
    int parts[] = {-1};
    SendMessageA(c.status_bar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));

    c.top_panel = create_panel(form, "");
    c.device_label = create_child("STATIC", "Device:", 0, c.top_panel);
    c.adapter_list =
        create_child(WC_COMBOBOXA, "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, c.top_panel, id_adapters);
    c.find_label = create_child("STATIC", "Find:", 0, c.top_panel);
    c.find_box =
        CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0,
                        0, 0, 0, c.top_panel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_find)),
                        GetModuleHandleA(nullptr), nullptr);
    const std::string caption = "Submit to " + host_of(seams_.product_url);
    c.submit_button =
        create_child("BUTTON", caption.c_str(), WS_TABSTOP | BS_PUSHBUTTON, c.top_panel, id_submit);

    c.group_panel = create_panel(form, "");
    c.directx.tab = create_tab_button("DirectX", c.group_panel, id_directx_tab);
    c.opengl.tab = create_tab_button("OpenGL", c.group_panel, id_opengl_tab);
    c.directx.sheet = create_panel(c.group_panel, "DirectX");
    c.opengl.sheet = create_panel(c.group_panel, "OpenGL");
    create_pages(c.directx, page_group::directx);
    create_pages(c.opengl, page_group::opengl);
    show_group(0);
}

void main_window::create_pages(group_controls& group, page_group which) {
    const bool opengl = which == page_group::opengl;
    group.pages = create_child(WC_TABCONTROLA, "",
                               WS_TABSTOP | WS_CLIPSIBLINGS | TCS_BUTTONS | TCS_FLATBUTTONS | TCS_MULTILINE,
                               group.sheet, opengl ? id_opengl_pages : id_directx_pages);
    for (const page_info& info : page_table()) {
        if (info.group != which) {
            continue;
        }
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        std::string text = info.caption;
        item.pszText = text.data();
        SendMessageA(group.pages, TCM_INSERTITEMA, group.page_sheets.size(), reinterpret_cast<LPARAM>(&item));
        HWND page = create_panel(group.sheet, info.caption);
        group.page_sheets.push_back(page);
        const int id =
            id_first_grid + static_cast<int>(controls_.directx.grids.size() + controls_.opengl.grids.size());
        if (info.summary) {
            group.summary.sheet = page;
            create_summary(group.summary, pages.grid(info.id), id);
            group.grids.push_back(group.summary.grid);
        } else {
            group.grids.push_back(create_grid(page, &pages.grid(info.id), id));
        }
    }
    show_page(group);
}

void main_window::create_summary(summary_controls& summary, grid_model& grid, int grid_id) {
    HWND sheet = summary.sheet;
    summary.image = create_child("STATIC", "", SS_OWNERDRAW, sheet, id_logo);
    const auto link = [&](const std::string& address, int id) {
        HWND label = create_child("STATIC", address.c_str(), SS_NOTIFY | SS_RIGHT, sheet, id);
        SetPropA(label, link_property, reinterpret_cast<HANDLE>(1));
        return label;
    };
    summary.home_visit = create_child("STATIC", "Visit", 0, sheet);
    summary.home_link = link(seams_.product_url, id_home_link);
    summary.maker_visit = create_child("STATIC", "Visit", 0, sheet);
    summary.maker_link = link(seams_.maker_url, id_maker_link);
    summary.panel = create_panel(sheet, "");
    summary.grid = create_grid(summary.panel, &grid, grid_id);
}

void main_window::apply_fonts() {
    font_.reset(make_font(8, dpi_, false));
    bold_font_.reset(make_font(8, dpi_, true));
    tab_font_.reset(make_font(10, dpi_, true));
    link_font_.reset(make_font(8, dpi_, true, true));
    const auto set = [](HWND window, const gdi_object<HFONT>& font) {
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    };
    const form_controls& c = controls_;
    for (HWND window :
         {c.status_bar, c.device_label, c.adapter_list, c.find_label, c.find_box, c.submit_button}) {
        set(window, font_);
    }
    for (const group_controls* group : {&c.directx, &c.opengl}) {
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
    SendMessageA(c.status_bar, SB_SETMINHEIGHT, scale_to(design_status_height, dpi_), 0);
}

void main_window::show_group(int group) {
    group_ = group;
    ShowWindow(controls_.directx.sheet, group == 0 ? SW_SHOW : SW_HIDE);
    ShowWindow(controls_.opengl.sheet, group == 1 ? SW_SHOW : SW_HIDE);
    InvalidateRect(controls_.directx.tab, nullptr, TRUE);
    InvalidateRect(controls_.opengl.tab, nullptr, TRUE);
}

group_controls* main_window::group_of_pages(HWND strip) {
    if (strip == controls_.directx.pages) {
        return &controls_.directx;
    }
    return strip == controls_.opengl.pages ? &controls_.opengl : nullptr;
}

void main_window::show_page(const group_controls& group) {
    const int selected = static_cast<int>(SendMessageA(group.pages, TCM_GETCURSEL, 0, 0));
    for (size_t i = 0; i < group.page_sheets.size(); ++i) {
        ShowWindow(group.page_sheets[i], static_cast<int>(i) == selected ? SW_SHOW : SW_HIDE);
    }
}

void main_window::layout_page_control(const group_controls& group) {
    const RECT area = client_of(group.sheet);
    move(group.pages, area);
    RECT display = area;
    SendMessageA(group.pages, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    // The strip keeps only its rows of buttons, so no page lies under it and
    // the pages can follow it in the Tab order.
    move(group.pages, RECT{area.left, area.top, area.right, display.top});
    for (size_t i = 0; i < group.page_sheets.size(); ++i) {
        HWND sheet = group.page_sheets[i];
        move(sheet, display);
        SetWindowPos(sheet, group.pages, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (sheet == group.summary.sheet) {
            layout_summary_sheet(group.summary, &group == &controls_.opengl);
        } else {
            move(group.grids[i], client_of(sheet));
        }
    }
}

void main_window::layout_summary_sheet(const summary_controls& summary, bool opengl) {
    const RECT area = client_of(summary.sheet);
    const summary_layout layout = layout_summary(area.right, area.bottom, dpi_, opengl);
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
    const form_controls& c = controls_;
    const RECT area = client_of(form);
    const main_layout layout = layout_main(area.right, area.bottom, dpi_);
    SendMessageA(c.status_bar, WM_SIZE, 0, 0);
    move(c.top_panel, layout.top_panel);
    move(c.device_label, layout.device_label);
    move(c.adapter_list, layout.adapters);
    move(c.find_label, layout.find_label);
    move(c.find_box, layout.find_box);
    // The version in the middle, what Find says on the right.
    int parts[] = {std::max(1, static_cast<int>(area.right) - scale_to(160, dpi_)), -1};
    SendMessageA(c.status_bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    // Wide enough for its caption, whatever the product host is.
    RECT submit = layout.submit;
    submit.left = std::min<LONG>(
        submit.left, submit.right - text_width(c.submit_button, font_.get()) - scale_to(16, dpi_));
    move(c.submit_button, submit);
    move(c.group_panel, layout.pages);
    move(c.directx.tab, layout.directx_tab);
    move(c.opengl.tab, layout.opengl_tab);
    move(c.directx.sheet, layout.sheet);
    move(c.opengl.sheet, layout.sheet);
    layout_page_control(c.directx);
    layout_page_control(c.opengl);
}

void main_window::refresh_grids() {
    for (const group_controls* group : {&controls_.directx, &controls_.opengl}) {
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

void main_window::start_up() {
    if (started) {
        return;
    }
    startup_capture capture = capture_startup(seams_.capture);
    direct3d = std::move(capture.direct3d);
    opengl = std::move(capture.opengl);
    HWND adapters = controls_.adapter_list;
    SendMessageA(adapters, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < direct3d->count; ++i) {
        const std::string line = "#" + std::to_string(i) + ": " + direct3d->adapter(i).info.description;
        SendMessageA(adapters, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    build_submission_text(pages, *direct3d, opengl.get());
    SendMessageA(adapters, CB_SETCURSEL, 0, 0);
    show_selected_adapter();
    const std::string status = "\tVersion " + file_version_text();
    SendMessageA(controls_.status_bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(status.c_str()));
    started = true;
    SetFocus(adapters);
}

void main_window::show_selected_adapter() {
    const int index = static_cast<int>(SendMessageA(controls_.adapter_list, CB_GETCURSEL, 0, 0));
    if (!direct3d || index < 0 || index >= direct3d->count) {
        return;
    }
    const dx_adapter adapter = direct3d->adapter(index);
    pages.fill_directx_pages(adapter);
    const int record = opengl_record_index(opengl.get(), adapter.monitor);
    if (record >= 0) {
        pages.fill_opengl_pages(opengl->adapter(record));
    } else {
        pages.clear_opengl_pages();
    }
    refresh_grids();
}

void main_window::open_link(const std::string& address) {
    char comspec[261] = {};
    const DWORD length = GetEnvironmentVariableA("COMSPEC", comspec, sizeof comspec);
    // Unset, or longer than the buffer: the shell opens the address instead.
    if (length == 0 || length >= sizeof comspec) {
        seams_.open_address(address);
        return;
    }
    seams_.run_hidden(std::string(comspec, length) + " /c start " + address);
}

void main_window::open_home_link() {
    open_link(seams_.product_url);
}

void main_window::open_maker_link() {
    open_link(seams_.maker_url);
}

namespace {

// Throws away the keys and clicks that waited while the window could not
// answer, so that none of them dismisses the message box that follows.
void discard_waiting_input() {
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) ||
           PeekMessageA(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE) ||
           PeekMessageA(&message, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE)) {
    }
}

std::string status_part(HWND status_bar, int part) {
    const auto length = LOWORD(SendMessageA(status_bar, SB_GETTEXTLENGTHA, part, 0));
    std::string text(length + 1u, '\0');
    SendMessageA(status_bar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

}  // namespace

void main_window::submit_report() {
    // The post is synchronous and bounded by the HTTP component's deadline:
    // the status bar says where it goes, and the wait cursor shows, until
    // it is answered or given up.
    HWND status_bar = controls_.status_bar;
    const std::string status = status_part(status_bar, 0);
    const std::string sending = "\tSending report to " + host_of(seams_.submit_url) + "...";
    SendMessageA(status_bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(sending.c_str()));
    UpdateWindow(status_bar);
    const HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    bool sent = false;
    try {
        const std::vector<std::pair<std::string, std::string>> fields = {
            {"textlist", pages.submission_text},
            {"id", std::to_string(draw_submission_identifier())},
        };
        http->post(seams_.submit_url, fields);
        sent = true;
    } catch (...) {
        // Whatever went wrong, the user learns only that it did not arrive.
    }
    SendMessageA(status_bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(status.c_str()));
    SetCursor(previous);
    discard_waiting_input();
    if (sent) {
        seams_.message_box(window_.get(), "Data sent to server.\r\n\r\nThank You!",
                           MB_OK | MB_ICONINFORMATION);
    } else {
        seams_.message_box(window_.get(), "Can't send data to server.", MB_OK | MB_ICONERROR);
    }
}
