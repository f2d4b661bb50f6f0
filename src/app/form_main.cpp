#include "app/form_main.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <exception>

#include "app/_functions.h"
#include "app/form_ids.h"
#include "app/form_layout.h"
#include "app/grid_control.h"
#include "app/site_config.h"
#include "base/platform.h"
#include "probe/qe_3d09.h"
#include "probe/qe_3d10.h"
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
    auto* form = reinterpret_cast<TFmain*>(GetWindowLongPtrA(window, GWLP_USERDATA));
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
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = main_procedure;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
        window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        window_class.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
        window_class.lpszClassName = main_class;
        RegisterClassA(&window_class);
        window_class.lpfnWndProc = panel_procedure;
        window_class.hIcon = nullptr;
        window_class.lpszClassName = panel_class;
        RegisterClassA(&window_class);
        register_grid_class();
        return true;
    }();
    (void)registered;
}

TFmain::TFmain(form_seams seams) : HTTP(std::make_unique<http_component>()), seams_(std::move(seams)) {
    register_form_classes();
    face_brush_.reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    dpi_ = window_dpi(nullptr);
    RECT frame{0, 0, scale_to(design_client_width, dpi_), scale_to(design_client_height, dpi_)};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    window_.reset(CreateWindowExA(WS_EX_CONTROLPARENT, main_class, main_caption, style,
                                  work.left + std::max(0L, (work.right - work.left - width) / 2),
                                  work.top + std::max(0L, (work.bottom - work.top - height) / 2), width,
                                  height, nullptr, nullptr, GetModuleHandleA(nullptr), this));
    controls_["Fmain"] = window_.get();
    names_.push_back("Fmain");
    dpi_ = window_dpi(window_.get());
    create_controls();
    apply_fonts();
    relayout();
}

TFmain::~TFmain() {
    // The window goes first, while the grid models it draws still exist.
    if (HWND window = window_.release()) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
}

HWND TFmain::control(const std::string& name) const {
    const auto found = controls_.find(name);
    return found != controls_.end() ? found->second : nullptr;
}

HWND TFmain::add(const std::string& name, HWND window) {
    controls_[name] = window;
    names_.push_back(name);
    return window;
}

HWND TFmain::add_panel(const std::string& name, HWND parent, const char* text) {
    return add(name, CreateWindowExA(WS_EX_CONTROLPARENT, panel_class, text,
                                     WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 10, 10,
                                     parent, nullptr, GetModuleHandleA(nullptr), nullptr));
}

void TFmain::create_controls() {
    HWND form = window_.get();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND status = add("SB", CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, form,
                                            nullptr, instance, nullptr));
    int parts[] = {-1};
    SendMessageA(status, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));

    HWND top = add_panel("Ptop", form, "");
    add("Label1", CreateWindowExA(0, "STATIC", "Device:", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, top, nullptr,
                                  instance, nullptr));
    add("CBadapters", CreateWindowExA(0, WC_COMBOBOXA, "",
                                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0,
                                      0, 0, 0, top, reinterpret_cast<HMENU>(id_adapters), instance, nullptr));
    const std::string caption = "Submit to " + host_of(seams_.product_url);
    add("Bsubmit",
        CreateWindowExA(0, "BUTTON", caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                        0, 0, 0, top, reinterpret_cast<HMENU>(id_submit), instance, nullptr));

    HWND pages_control = add_panel("PCtop", form, "");
    add("PCtop.DirectX",
        CreateWindowExA(0, "BUTTON", "DirectX", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, 0, 0, 0,
                        pages_control, reinterpret_cast<HMENU>(id_directx_tab), instance, nullptr));
    add("PCtop.OpenGL",
        CreateWindowExA(0, "BUTTON", "OpenGL", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, 0, 0, 0,
                        pages_control, reinterpret_cast<HMENU>(id_opengl_tab), instance, nullptr));
    HWND directx = add_panel("TSdirectx", pages_control, "DirectX");
    HWND opengl = add_panel("TSopengl", pages_control, "OpenGL");

    create_pages(directx, page_group::directx);
    create_pages(opengl, page_group::opengl);
    show_group(0);
}

void TFmain::create_pages(HWND sheet, page_group group) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const bool opengl = group == page_group::opengl;
    HWND tabs = add(opengl ? "PCopengl" : "PCdirectx",
                    CreateWindowExA(0, WC_TABCONTROLA, "",
                                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | TCS_BUTTONS |
                                        TCS_FLATBUTTONS | TCS_MULTILINE,
                                    0, 0, 0, 0, sheet,
                                    reinterpret_cast<HMENU>(opengl ? id_opengl_pages : id_directx_pages),
                                    instance, nullptr));
    std::vector<HWND>& own_sheets = sheets_of_[tabs];
    for (const page_info& info : page_table()) {
        if (info.group != group) {
            continue;
        }
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        std::string text = info.caption;
        item.pszText = text.data();
        SendMessageA(tabs, TCM_INSERTITEMA, own_sheets.size(), reinterpret_cast<LPARAM>(&item));
        HWND page = add_panel(info.sheet, sheet, info.caption);
        own_sheets.push_back(page);
        if (info.summary) {
            create_summary(page, opengl, pages.grid(info.id));
        } else {
            grids_.push_back(add(info.grid, create_grid(page, &pages.grid(info.id),
                                                        id_first_grid + static_cast<int>(grids_.size()))));
        }
    }
    show_page(tabs);
}

void TFmain::create_summary(HWND sheet, bool opengl, grid_model& grid) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    add(opengl ? "Image2" : "Image1",
        CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 0, 0, 0, 0, sheet,
                        reinterpret_cast<HMENU>(id_logo), instance, nullptr));
    const auto link = [&](const std::string& name, const std::string& address, int id) {
        HWND label =
            add(name, CreateWindowExA(0, "STATIC", address.c_str(),
                                      WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_RIGHT, 0, 0, 0, 0, sheet,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr));
        SetPropA(label, link_property, reinterpret_cast<HANDLE>(1));
    };
    const std::string side = opengl ? "gl" : "dx";
    add("Lvisit_home_" + side, CreateWindowExA(0, "STATIC", "Visit", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, sheet,
                                               nullptr, instance, nullptr));
    link(opengl ? "Label2" : "Lhome_link", seams_.product_url, id_home_link);
    add("Lvisit_maker_" + side, CreateWindowExA(0, "STATIC", "Visit", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                                sheet, nullptr, instance, nullptr));
    link(opengl ? "Label7" : "Lmaker_link", seams_.maker_url, id_maker_link);
    HWND panel = add_panel(opengl ? "Pgl_summary" : "Psummary", sheet, "");
    grids_.push_back(
        add(grid.name(), create_grid(panel, &grid, id_first_grid + static_cast<int>(grids_.size()))));
}

void TFmain::apply_fonts() {
    font_.reset(make_font(8, dpi_, false));
    bold_font_.reset(make_font(8, dpi_, true));
    tab_font_.reset(make_font(10, dpi_, true));
    link_font_.reset(make_font(8, dpi_, true, true));
    for (const auto& [name, window] : controls_) {
        HFONT chosen = font_.get();
        if (name.rfind("Lvisit_", 0) == 0) {
            chosen = bold_font_.get();
        } else if (name == "Lhome_link" || name == "Lmaker_link" || name == "Label2" || name == "Label7") {
            chosen = link_font_.get();
        } else if (name.rfind("PCtop.", 0) == 0) {
            chosen = tab_font_.get();
        }
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(chosen), FALSE);
    }
    for (HWND grid : grids_) {
        grid_set_dpi(grid, dpi_);
    }
    SendMessageA(control("SB"), SB_SETMINHEIGHT, scale_to(design_status_height, dpi_), 0);
}

void TFmain::show_group(int group) {
    group_ = group;
    ShowWindow(control("TSdirectx"), group == 0 ? SW_SHOW : SW_HIDE);
    ShowWindow(control("TSopengl"), group == 1 ? SW_SHOW : SW_HIDE);
    InvalidateRect(control("PCtop.DirectX"), nullptr, TRUE);
    InvalidateRect(control("PCtop.OpenGL"), nullptr, TRUE);
}

void TFmain::show_page(HWND tabs) {
    const int selected = static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
    const std::vector<HWND>& sheets = sheets_of_[tabs];
    for (size_t i = 0; i < sheets.size(); ++i) {
        ShowWindow(sheets[i], static_cast<int>(i) == selected ? SW_SHOW : SW_HIDE);
    }
}

void TFmain::layout_page_control(HWND tabs) {
    HWND sheet = GetParent(tabs);
    const RECT area = client_of(sheet);
    move(tabs, area);
    RECT display = area;
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    const bool opengl = tabs == control("PCopengl");
    const std::vector<HWND>& sheets = sheets_of_[tabs];
    for (size_t i = 0; i < sheets.size(); ++i) {
        move(sheets[i], display);
        SetWindowPos(sheets[i], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (i == 0) {
            layout_summary_sheet(sheets[i], opengl);
        } else if (HWND grid = GetWindow(sheets[i], GW_CHILD)) {
            move(grid, client_of(sheets[i]));
        }
    }
}

void TFmain::layout_summary_sheet(HWND sheet, bool opengl) {
    const RECT area = client_of(sheet);
    const summary_layout layout = layout_summary(area.right, area.bottom, dpi_, opengl);
    const std::string side = opengl ? "gl" : "dx";
    move(control(opengl ? "Image2" : "Image1"), layout.logo);
    // A link is as wide as its address, right-aligned, with "Visit" before it.
    const auto place_link = [&](const char* visit, const char* link, RECT visit_box, RECT link_box) {
        HWND label = control(link);
        const int shift = std::max(
            0L, text_width(label, link_font_.get()) + scale_to(2, dpi_) - (link_box.right - link_box.left));
        link_box.left -= shift;
        OffsetRect(&visit_box, -shift, 0);
        move(control(visit), visit_box);
        move(label, link_box);
    };
    place_link(("Lvisit_home_" + side).c_str(), opengl ? "Label2" : "Lhome_link", layout.home_visit,
               layout.home_link);
    place_link(("Lvisit_maker_" + side).c_str(), opengl ? "Label7" : "Lmaker_link", layout.maker_visit,
               layout.maker_link);
    move(control(opengl ? "Pgl_summary" : "Psummary"), layout.panel);
    move(GetWindow(control(opengl ? "Pgl_summary" : "Psummary"), GW_CHILD), layout.grid);
}

void TFmain::relayout() {
    HWND form = window_.get();
    if (form == nullptr) {
        return;
    }
    const RECT area = client_of(form);
    const main_layout layout = layout_main(area.right, area.bottom, dpi_);
    SendMessageA(control("SB"), WM_SIZE, 0, 0);
    move(control("Ptop"), layout.top_panel);
    move(control("Label1"), layout.device_label);
    move(control("CBadapters"), layout.adapters);
    // Wide enough for its caption, whatever the product host is.
    RECT submit = layout.submit;
    submit.left = std::min<LONG>(
        submit.left, submit.right - text_width(control("Bsubmit"), font_.get()) - scale_to(16, dpi_));
    move(control("Bsubmit"), submit);
    move(control("PCtop"), layout.pages);
    move(control("PCtop.DirectX"), layout.directx_tab);
    move(control("PCtop.OpenGL"), layout.opengl_tab);
    move(control("TSdirectx"), layout.sheet);
    move(control("TSopengl"), layout.sheet);
    layout_page_control(control("PCdirectx"));
    layout_page_control(control("PCopengl"));
}

void TFmain::refresh_grids() {
    for (HWND grid : grids_) {
        grid_refresh(grid);
    }
}

void TFmain::on_dpi_changed(int dpi, const RECT* suggested) {
    dpi_ = dpi;
    apply_fonts();
    if (suggested != nullptr) {
        SetWindowPos(window_.get(), nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    relayout();
    InvalidateRect(window_.get(), nullptr, TRUE);
}

void TFmain::report_error(const std::exception& error) {
    seams_.message_box(window_.get(), error.what(), MB_OK | MB_ICONERROR);
}

void TFmain::FormShow() {
    if (FShown) {
        return;
    }
    startup_capture capture = capture_startup(seams_.capture);
    FDirect3D = std::move(capture.direct3d);
    FOpenGL = std::move(capture.opengl);
    HWND adapters = control("CBadapters");
    SendMessageA(adapters, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < FDirect3D->count; ++i) {
        const std::string line = "#" + std::to_string(i) + ": " + FDirect3D->adapter(i).info.description;
        SendMessageA(adapters, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    BuildSubmissionText(pages, *FDirect3D, FOpenGL.get());
    SendMessageA(adapters, CB_SETCURSEL, 0, 0);
    CBadaptersChange();
    const std::string status = "\tVersion " + FileVersionText();
    SendMessageA(control("SB"), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(status.c_str()));
    FShown = true;
    SetFocus(adapters);
}

void TFmain::CBadaptersChange() {
    const int index = static_cast<int>(SendMessageA(control("CBadapters"), CB_GETCURSEL, 0, 0));
    if (!FDirect3D || index < 0 || index >= FDirect3D->count) {
        return;
    }
    const Tqdx_adapter adapter = FDirect3D->adapter(index);
    pages.FillDirect3DPages(adapter);
    const int record = opengl_record_index(FOpenGL.get(), adapter.monitor);
    if (record >= 0) {
        pages.FillOpenGLPages(FOpenGL->adapter(record));
    } else {
        pages.ClearOpenGLPages();
    }
    refresh_grids();
}

void TFmain::open_link(const std::string& address) {
    char comspec[261] = {};
    const DWORD length = GetEnvironmentVariableA("COMSPEC", comspec, sizeof comspec);
    // Unset, or longer than the buffer: the shell opens the address instead.
    if (length == 0 || length >= sizeof comspec) {
        seams_.open_address(address);
        return;
    }
    seams_.run_hidden(std::string(comspec, length) + " /c start " + address);
}

void TFmain::Lhome_linkClick() {
    open_link(seams_.product_url);
}

void TFmain::Lmaker_linkClick() {
    open_link(seams_.maker_url);
}

void TFmain::BsubmitClick() {
    // The post is synchronous: the wait cursor shows until it is answered.
    const HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    bool sent = false;
    try {
        const std::vector<std::pair<std::string, std::string>> fields = {
            {"textlist", pages.FSubmission},
            {"id", std::to_string(draw_submission_identifier())},
        };
        HTTP->post(seams_.submit_url, fields);
        sent = true;
    } catch (...) {
        // Whatever went wrong, the user learns only that it did not arrive.
    }
    SetCursor(previous);
    if (sent) {
        seams_.message_box(window_.get(), "Data sent to server.\r\n\r\nThank You!",
                           MB_OK | MB_ICONINFORMATION);
    } else {
        seams_.message_box(window_.get(), "Can't send data to server.", MB_OK | MB_ICONERROR);
    }
}
