// The main window's saved reports: the menu bar, opening a report in place
// of this machine's, saving what is shown, and comparing with another.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <variant>

#include "app/control_ids.h"
#include "app/controls.h"
#include "app/main_window.h"
#include "base/file_version.h"
#include "app/window_layout.h"
#include "base/text.h"
#include "report/compare.h"
#include "report/page_text.h"
#include "report/report_json.h"

namespace {

// The folder of a path, or empty.
std::string folder_of(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool ends_with_text_extension(const std::string& path) {
    if (path.size() < 4) {
        return false;
    }
    std::string extension = path.substr(path.size() - 4);
    for (char& c : extension) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return extension == ".txt";
}

}  // namespace

std::string suggested_report_name(const std::string& adapter, const SYSTEMTIME& day) {
    // What a file name cannot hold becomes a blank, and blanks one.
    std::string name;
    for (char c : adapter) {
        if (static_cast<unsigned char>(c) < 32 ||
            std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos) {
            c = ' ';
        }
        if (c != ' ' || (!name.empty() && name.back() != ' ')) {
            name += c;
        }
    }
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) {
        name.pop_back();
    }
    char date[16];
    std::snprintf(date, sizeof date, "%04u-%02u-%02u", day.wYear, day.wMonth, day.wDay);
    return (name.empty() ? std::string("Cavio report") : name) + " - " + date + ".json";
}

const wchar_t* file_dialog_title(file_choice choice) {
    return choice == file_choice::compare ? L"Compare with" : nullptr;
}

std::string choose_report_file(HWND owner, file_choice choice, const std::string& folder,
                               const std::string& name) {
    const bool save = choice == file_choice::save;
    wchar_t file[MAX_PATH * 4] = {};
    const std::wstring suggested = wide_of(name);
    if (suggested.size() < std::size(file)) {
        std::copy(suggested.begin(), suggested.end(), file);
    }
    const std::wstring start = wide_of(folder);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = save ? L"Cavio report (*.json)\0*.json\0Readable text (*.txt)\0*.txt\0"
                              : L"Cavio reports (*.json)\0*.json\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = static_cast<DWORD>(std::size(file));
    dialog.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
    dialog.lpstrDefExt = L"json";
    dialog.lpstrTitle = file_dialog_title(choice);
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   (save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST);
    use_com_here();
    if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) {
        return {};
    }
    std::string path = utf8_of(file);
    // The text filter chosen for a name given without its extension.
    if (save && dialog.nFilterIndex == 2 && !ends_with_text_extension(path)) {
        if (path.size() > 5 && path.ends_with(".json")) {
            path.resize(path.size() - 5);
        }
        path += ".txt";
    }
    return path;
}

void main_window::create_menu() {
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, id_menu_open, L"&Open report...\tCtrl+O");
    AppendMenuW(file, MF_STRING, id_menu_this_machine, L"Show &this machine");
    AppendMenuW(file, MF_STRING, id_menu_save, L"&Save report as...\tCtrl+S");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, id_menu_compare, L"&Compare with...\tCtrl+Shift+O");
    AppendMenuW(file, MF_STRING, id_menu_close_comparison, L"C&lose comparison");
    AppendMenuW(file, MF_STRING, id_menu_next_difference, L"&Next difference\tF8");
    AppendMenuW(file, MF_STRING, id_menu_previous_difference, L"&Previous difference\tShift+F8");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, id_menu_exit, L"E&xit");
    HMENU edit = CreatePopupMenu();
    AppendMenuW(edit, MF_STRING, id_menu_copy, L"&Copy\tCtrl+C");
    AppendMenuW(edit, MF_STRING, id_menu_copy_page, L"Copy &page");
    AppendMenuW(edit, MF_STRING, id_menu_copy_report, L"Copy &report");
    AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(edit, MF_STRING, id_menu_find, L"&Find\tCtrl+F");
    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, id_menu_about, L"&About Cavio");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
    SetMenu(window_.get(), bar);
}

namespace {

// A combo box of a report's adapters, "#0: NVIDIA ...", keeping the
// selected line where it still exists.
void fill_adapters(HWND list, const report_document& document, LRESULT selected) {
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < document.adapters.size(); ++i) {
        const std::wstring line = wide_of("#" + std::to_string(i) + ": " + document.adapters[i].description);
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    const auto count = static_cast<LRESULT>(document.adapters.size());
    SendMessageW(list, CB_SETCURSEL, selected >= 0 && selected < count ? selected : 0, 0);
}

}  // namespace

void main_window::fill_adapter_list() {
    fill_adapters(controls_.adapter_list, document_,
                  SendMessageW(controls_.adapter_list, CB_GETCURSEL, 0, 0));
}

void main_window::fill_compared_list() {
    if (!compared_) {
        SendMessageW(controls_.compared_list, CB_RESETCONTENT, 0, 0);
        return;
    }
    // Paired by index, where the other report has as many.
    fill_adapters(controls_.compared_list, *compared_,
                  SendMessageW(controls_.adapter_list, CB_GETCURSEL, 0, 0));
}

// The title, the status bar, Submit and the comparison's controls, as the
// report shown and the comparison say.
void main_window::show_report_state() {
    const std::string shown = opened_.empty() ? "" : report_file_name(opened_);
    // The file first, then the program, as Windows programs name their
    // documents.
    const std::string dash = " \u2014 ";
    std::string title = shown.empty() ? "" : shown + dash;
    if (compared_) {
        title = (shown.empty() ? "This machine" : shown) + " compared with " +
                report_file_name(compared_path_) + dash;
    }
    SetWindowTextW(window_.get(), (wide_of(title) + main_caption).c_str());
    // Submit sends this machine's own capture only.
    EnableWindow(controls_.submit_button, opened_.empty());
    std::string status = shown.empty() ? "" : "Report from " + shown;
    if (compared_) {
        const adapter_report* adapter = shown_adapter();
        const auto other = static_cast<size_t>(SendMessageW(controls_.compared_list, CB_GETCURSEL, 0, 0));
        const adapter_report* paired =
            other < compared_->adapters.size() ? &compared_->adapters[other] : nullptr;
        const difference_count count = count_differences({compare_adapters(adapter, paired, 0)});
        status += (status.empty() ? "" : "; ") + std::to_string(count.rows) + " rows differ on " +
                  std::to_string(count.pages) + " pages";
    } else if (shown.empty() && run_ && !run_->capture().complete()) {
        status = "Reading " + parts_still_reading(run_->capture()) + "\u2026";
    } else if (shown.empty()) {
        status = document_.problems.empty() ? "" : document_.problems.back().text();
    }
    set_status(controls_.status_bar, status_message, status);
    for (HWND control : {controls_.compare_label, controls_.compared_list, controls_.differences_only}) {
        ShowWindow(control, compared_ ? SW_SHOW : SW_HIDE);
    }
    // Menu items with nothing to do are disabled.
    HMENU menu = GetMenu(window_.get());
    EnableMenuItem(menu, id_menu_this_machine, MF_BYCOMMAND | (opened_.empty() ? MF_GRAYED : MF_ENABLED));
    EnableMenuItem(menu, id_menu_close_comparison, MF_BYCOMMAND | (compared_ ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, id_menu_next_difference, MF_BYCOMMAND | (compared_ ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, id_menu_previous_difference, MF_BYCOMMAND | (compared_ ? MF_ENABLED : MF_GRAYED));
    relayout();
}

bool main_window::open_report(const std::string& path) {
    result<report_document> read = read_report_file(path);
    if (!read) {
        seams_.message_box(window_.get(), read.why().sentence, MB_OK | MB_ICONWARNING);
        return false;
    }
    last_folder_ = folder_of(path);
    document_ = std::move(*read);
    opened_ = path;
    fill_adapter_list();
    fill_compared_list();
    show_selected_adapter();
    find_again();
    return true;
}

void main_window::show_this_machine() {
    if (opened_.empty()) {
        return;
    }
    document_ = live_;
    opened_.clear();
    fill_adapter_list();
    fill_compared_list();
    show_selected_adapter();
    find_again();
}

bool main_window::save_report(const std::string& path) {
    finish_capture();
    const std::string text = ends_with_text_extension(path)
                                 ? document_text(document_)
                                 : report_json(document_, "cavio", file_version_text());
    FILE* file = _wfopen(wide_of(path).c_str(), L"wb");
    const bool written = file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file != nullptr && std::fclose(file) != 0) {
        return false;
    }
    if (!written) {
        seams_.message_box(window_.get(), report_file_name(path) + " cannot be written.",
                           MB_OK | MB_ICONERROR);
        return false;
    }
    last_folder_ = folder_of(path);
    set_status(controls_.status_bar, status_message, "Saved as " + path);
    return true;
}

bool main_window::compare_with(const std::string& path) {
    finish_capture();
    result<report_document> read = read_report_file(path);
    if (!read) {
        seams_.message_box(window_.get(), read.why().sentence, MB_OK | MB_ICONWARNING);
        return false;
    }
    last_folder_ = folder_of(path);
    compared_ = std::move(*read);
    compared_path_ = path;
    fill_compared_list();
    show_selected_adapter();
    return true;
}

void main_window::close_comparison() {
    compared_.reset();
    compared_path_.clear();
    SendMessageW(controls_.differences_only, BM_SETCHECK, BST_UNCHECKED, 0);
    fill_compared_list();
    show_selected_adapter();
}

void main_window::choose_report_to_open() {
    if (const std::string path = seams_.choose_file(window_.get(), file_choice::open, last_folder_, "");
        !path.empty()) {
        open_report(path);
    }
}

void main_window::choose_where_to_save() {
    SYSTEMTIME today{};
    GetLocalTime(&today);
    const adapter_report* adapter = shown_adapter();
    const std::string name = suggested_report_name(adapter != nullptr ? adapter->description : "", today);
    if (const std::string path = seams_.choose_file(window_.get(), file_choice::save, last_folder_, name);
        !path.empty()) {
        save_report(path);
    }
}

void main_window::choose_report_to_compare() {
    if (const std::string path = seams_.choose_file(window_.get(), file_choice::compare, last_folder_, "");
        !path.empty()) {
        compare_with(path);
    }
}

void main_window::show_about() {
    seams_.message_box(
        window_.get(),
        "Cavio " + file_version_text() +
            "\nA viewer of what graphics adapters and their drivers offer through DirectX, "
            "OpenGL and Vulkan.\n\nThe vendor and device names come from the PCI ID list of the "
            "PCI ID Project (pci-ids.ucw.cz), copyright Martin Mares and Albert Pool, used under "
            "its 3-clause BSD licence.\n\n" +
            seams_.product_url,
        MB_OK | MB_ICONINFORMATION);
}

void main_window::copy_from_grid(int code) {
    const group_controls& group = controls_.group(group_);
    const auto selected = static_cast<size_t>(SendMessageW(group.pages, TCM_GETCURSEL, 0, 0));
    HWND grid = group.grids[std::min(selected, group.grids.size() - 1)];
    if (code == 0) {
        SendMessageW(grid, WM_COPY, 0, 0);
    } else {
        on_command(GetDlgCtrlID(grid), code);
    }
}
