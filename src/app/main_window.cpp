// The main window's life, its seams, and what it shows: the group, the
// page, the selected adapter's pages and the links.
#include "app/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <exception>

#include "app/controls.h"
#include "app/format_matrix.h"
#include "app/grid_control.h"
#include "base/build_info.h"
#include "app/window_classes.h"
#include "app/window_layout.h"
#include "base/text.h"
#include "submit/site_address.h"

namespace {

// Hands every message to the main_window whose window it is, from the one
// that creates it on.
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

}  // namespace

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
        use_com_here();
        ShellExecuteW(nullptr, L"open", wide_of(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    };
    seams.product_url = product_site_url;
    seams.maker_url = maker_site_url;
    seams.submit_url = submitter_url(product_site_url);
    seams.choose_file = choose_report_file;
    seams.thank_you = show_thank_you;
    seams.theme = system_theme;
    return seams;
}

main_window::main_window(window_seams seams, bool start_after_showing)
    : http(std::make_unique<http_component>()), seams_(std::move(seams)) {
    grids_.reserve(page_count);
    for (const page_info& page : page_table()) {
        grids_.emplace_back(page);
    }
    register_window_classes(main_procedure);
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
    window_.reset(CreateWindowExW(WS_EX_CONTROLPARENT, main_window_class, main_caption, style, place.left,
                                  place.top, place.right - place.left, place.bottom - place.top, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), this));
    dpi_ = window_dpi(window_.get());
    create_menu();
    // The controls before the window shows, so that it takes input at once:
    // the Device box has the focus when it first shows. The grids of the
    // pages not on show are made when they first show.
    start_after_paint = start_after_showing;
    complete_controls();
    last_focus_ = controls_.adapter_list;
    // The first paint says what is being read.
    if (start_after_paint) {
        show_reading();
    }
}

void main_window::complete_controls() {
    if (controls_.status_bar != nullptr) {
        return;
    }
    create_controls();
    apply_theme();
    apply_fonts();
    // Whatever was laid out while the controls were made is laid out whole.
    laid_out_.reset();
    relayout();
}

main_window::~main_window() {
    // The window goes first, while the grid models it draws still exist.
    if (HWND window = window_.release()) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
}

void main_window::remember_focus() {
    HWND focused = GetFocus();
    if (focused != nullptr && IsChild(window_.get(), focused)) {
        last_focus_ = focused;
    }
}

void main_window::restore_focus() {
    HWND target = last_focus_;
    if (target == nullptr || !IsWindow(target) || !IsChild(window_.get(), target) ||
        !IsWindowVisible(target) || !IsWindowEnabled(target)) {
        const group_controls& group = controls_.group(group_);
        const auto selected = static_cast<size_t>(SendMessageW(group.pages, TCM_GETCURSEL, 0, 0));
        target = group.grids.empty() ? nullptr : group.grids[std::min(selected, group.grids.size() - 1)];
    }
    if (target != nullptr) {
        SetFocus(target);
    }
}

void main_window::show_group(page_group group) {
    ensure_group(group);
    group_ = group;
    if (!group_laid_out_[static_cast<size_t>(group)] && controls_.group(group).sheet != nullptr) {
        group_laid_out_[static_cast<size_t>(group)] = true;
        layout_page_control(controls_.group(group), group);
    }
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
    if (selected >= 0) {
        ensure_grid(const_cast<group_controls&>(group), static_cast<size_t>(selected));
    }
    for (size_t i = 0; i < group.page_sheets.size(); ++i) {
        ShowWindow(group.page_sheets[i], static_cast<int>(i) == selected ? SW_SHOW : SW_HIDE);
    }
    // What the Formats matrix's filter lets through is said on its page only.
    const auto pages = pages_of(group_);
    if (selected >= 0 && static_cast<size_t>(selected) < pages.size() &&
        !grid(pages[static_cast<size_t>(selected)].id).filter().empty()) {
        show_filter(grid(pages[static_cast<size_t>(selected)].id));
    } else if (!filter_said_.empty() && status_part(controls_.status_bar, status_find) == filter_said_) {
        set_status(controls_.status_bar, status_find, "");
    }
    // While comparing, what the status bar says of differences is of the page on show.
    const std::string said = status_part(controls_.status_bar, status_find);
    if (comparing() && selected >= 0 && static_cast<size_t>(selected) < pages.size() &&
        (said.empty() || said.starts_with("Difference ") || said.ends_with(" on this page"))) {
        const int count = grid(pages[static_cast<size_t>(selected)].id).difference_count();
        set_status(controls_.status_bar, status_find,
                   count == 0   ? "No differences on this page"
                   : count == 1 ? "1 difference on this page"
                                : std::to_string(count) + " differences on this page");
    }
}

void main_window::refresh_grids() {
    for (const group_controls* group : {&controls_.directx, &controls_.opengl, &controls_.vulkan}) {
        for (HWND grid : group->grids) {
            if (grid != nullptr) {
                grid_refresh(grid);
            }
        }
    }
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
    fill_vulkan_devices();
    show_difference_counts();
    show_report_state();
}

void main_window::fill_vulkan_devices() {
    const summary_controls& summary = controls_.vulkan.summary;
    if (summary.device_list == nullptr) {
        return;
    }
    const std::vector<vk_device_report>& devices = document_.vulkan_devices;
    const bool shown = devices.size() > 1 && !compared_;
    ShowWindow(summary.device_label, shown ? SW_SHOW : SW_HIDE);
    ShowWindow(summary.device_list, shown ? SW_SHOW : SW_HIDE);
    SendMessageW(summary.device_list, CB_RESETCONTENT, 0, 0);
    if (!shown) {
        return;
    }
    // The adapter's own device: the one whose Device page it shows.
    const adapter_report* adapter = shown_adapter();
    const report_page* own =
        adapter != nullptr ? adapter->group(page_group::vulkan).page(page_id::vk_device) : nullptr;
    LRESULT chosen = -1;
    for (size_t i = 0; i < devices.size(); ++i) {
        const report_page* device = devices[i].group.page(page_id::vk_device);
        const bool its = own != nullptr && device != nullptr && *own == *device;
        if (its && chosen < 0) {
            chosen = static_cast<LRESULT>(i);
        }
        const std::wstring line =
            wide_of("#" + std::to_string(i) + ": " + devices[i].name + (its ? " (this adapter's)" : ""));
        SendMessageW(summary.device_list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    SendMessageW(summary.device_list, CB_SETCURSEL, chosen, 0);
}

void main_window::show_vulkan_device(size_t index) {
    if (index >= document_.vulkan_devices.size()) {
        return;
    }
    const report_group& group = document_.vulkan_devices[index].group;
    for (const page_info& info : pages_of(page_group::vulkan)) {
        grid(info.id).show(group.page(info.id));
    }
    for (HWND page : controls_.vulkan.grids) {
        if (page != nullptr) {
            grid_refresh(page);
        }
    }
}

void main_window::show_difference_counts() {
    const auto counted = [](std::string caption, int count) {
        return count > 0 ? caption + " (" + std::to_string(count) + ")" : caption;
    };
    for (const page_group which : {page_group::directx, page_group::opengl, page_group::vulkan}) {
        group_controls& group = controls_.group(which);
        int in_group = 0;
        const auto pages = pages_of(which);
        for (size_t i = 0; i < pages.size(); ++i) {
            const int count = comparing() ? grid(pages[i].id).difference_count() : 0;
            in_group += count;
            std::wstring text = wide_of(counted(pages[i].caption, count));
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text.data();
            SendMessageW(group.pages, TCM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
        SetWindowTextW(group.tab, wide_of(counted(group_caption(which), in_group)).c_str());
        InvalidateRect(group.tab, nullptr, TRUE);
    }
}

void main_window::show_row(page_id page, std::string_view name) {
    const page_info& info = page_of(page);
    show_group(info.group);
    group_controls& group = controls_.group(info.group);
    const int index = static_cast<int>(&info - pages_of(info.group).data());
    SendMessageW(group.pages, TCM_SETCURSEL, index, 0);
    show_page(group);
    const grid_model& model = grid(page);
    int found = -1;
    const int value = model.column_of(column_role::value);
    for (int r = model.fixed_rows(); r < model.row_count(); ++r) {
        if (model.cell(0, r) != name) {
            continue;
        }
        found = found < 0 ? r : found;
        const bool hdr = model.cell(value, r).find("G2084") != std::string::npos;
        if (page != page_id::dx_outputs || hdr) {
            found = r;
            break;
        }
    }
    HWND shown = group.grids[static_cast<size_t>(index)];
    grid_select_row(shown, std::max(found, model.fixed_rows()));
    SetFocus(shown);
}

void main_window::show_filter(const grid_model& model) {
    if (model.filter().empty()) {
        set_status(controls_.status_bar, status_find, "");
        filter_said_.clear();
        return;
    }
    filter_said_ = model.filter_counts();
    set_status(controls_.status_bar, status_find, filter_said_);
}

void main_window::step_difference(int delta) {
    if (!comparing()) {
        return;
    }
    // Every differing row, in tab order over the groups, and where the
    // window is now among them.
    struct place {
        size_t page;
        int row;
        auto operator<=>(const place&) const = default;
    };
    std::vector<place> rows;
    const auto table = page_table();
    for (size_t p = 0; p < table.size(); ++p) {
        const grid_model& model = grid(table[p].id);
        for (int r = model.fixed_rows(); r < model.row_count(); ++r) {
            if (model.row_differs(r)) {
                rows.push_back({p, r});
            }
        }
    }
    if (rows.empty()) {
        set_status(controls_.status_bar, status_find, "No differences");
        return;
    }
    const group_controls& open = controls_.group(group_);
    const auto tab = static_cast<size_t>(SendMessageW(open.pages, TCM_GETCURSEL, 0, 0));
    const page_info& shown = pages_of(group_)[std::min(tab, pages_of(group_).size() - 1)];
    const place now{static_cast<size_t>(&shown - table.data()), grid(shown.id).current_row};
    size_t next = 0;
    if (delta > 0) {
        const auto after = std::upper_bound(rows.begin(), rows.end(), now);
        next = after == rows.end() ? 0 : static_cast<size_t>(after - rows.begin());
    } else {
        const auto before = std::lower_bound(rows.begin(), rows.end(), now);
        next = before == rows.begin() ? rows.size() - 1 : static_cast<size_t>(before - rows.begin()) - 1;
    }
    const page_info& info = table[rows[next].page];
    show_group(info.group);
    group_controls& group = controls_.group(info.group);
    const int index = static_cast<int>(&info - pages_of(info.group).data());
    SendMessageW(group.pages, TCM_SETCURSEL, index, 0);
    show_page(group);
    grid_select_row(group.grids[static_cast<size_t>(index)], rows[next].row);
    SetFocus(group.grids[static_cast<size_t>(index)]);
    set_status(controls_.status_bar, status_find,
               "Difference " + std::to_string(next + 1) + " of " + std::to_string(rows.size()));
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
