// Submit: the report posted to the site, the window waiting with it.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/controls.h"
#include "app/main_window.h"
#include "app/grid_control.h"
#include "base/file_version.h"
#include "base/platform.h"
#include "base/text.h"
#include "report/report_json.h"
#include "submit/delivery.h"
#include "submit/site_address.h"

namespace {

// Paints whatever needs it while the post waits, so that the window keeps its
// image; input stays queued.
void paint_while_waiting() {
    MSG message;
    for (int i = 0; i < 64 && PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) {
        DispatchMessageW(&message);
    }
}

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
    set_status(status_bar, status_message, "Sending report to " + authority_of(seams_.submit_url) + "...");
    UpdateWindow(status_bar);
    const HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    http->waiting = paint_while_waiting;
    const result<delivery> delivered =
        deliver(*http, seams_.submit_url, submission, report_json(live_, "cavio", file_version_text()));
    set_status(status_bar, status_message, status);
    SetCursor(previous);
    discard_waiting_input();
    if (!delivered) {
        seams_.message_box(window_.get(),
                           "Can't send data to server.\r\n\r\n" + as_sentence(delivered.why().message()),
                           MB_OK | MB_ICONERROR);
    } else if (delivered->address.empty()) {
        seams_.message_box(window_.get(), "Data sent to server.\r\n\r\nThank You!",
                           MB_OK | MB_ICONINFORMATION);
    } else {
        seams_.thank_you(window_.get(),
                         std::string(delivered->already ? "The site already had this report."
                                                        : "Data sent to server.\r\n\r\nThank You!") +
                             "\r\n\r\nYour report is at:",
                         delivered->address);
    }
}

namespace {

constexpr int copy_address_button = 1001;

struct thank_you_state {
    std::string address;
};

HRESULT CALLBACK thank_you_events(HWND dialog, UINT notification, WPARAM wparam, LPARAM lparam,
                                  LONG_PTR data) {
    const auto* state = reinterpret_cast<const thank_you_state*>(data);
    if (notification == TDN_HYPERLINK_CLICKED) {
        use_com_here();
        ShellExecuteW(dialog, L"open", reinterpret_cast<const wchar_t*>(lparam), nullptr, nullptr,
                      SW_SHOWNORMAL);
    } else if (notification == TDN_BUTTON_CLICKED && static_cast<int>(wparam) == copy_address_button) {
        copy_to_clipboard(dialog, state->address);
        // Said where the button is, for the eye and for a screen reader.
        SendMessageW(dialog, TDM_SET_ELEMENT_TEXT, TDE_FOOTER,
                     reinterpret_cast<LPARAM>(L"Copied: the address is on the clipboard."));
        return S_FALSE;  // the dialog stays
    }
    return S_OK;
}

}  // namespace

void show_thank_you(HWND owner, const std::string& text, const std::string& address) {
    using task_dialog_fn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
    // Common controls 6 only: the program's manifest asks for them.
    const auto task_dialog =
        get_proc<task_dialog_fn>(GetModuleHandleW(L"comctl32.dll"), "TaskDialogIndirect");
    if (task_dialog == nullptr) {
        MessageBoxW(owner, wide_of(text + "\r\n" + address).c_str(), application_title,
                    MB_OK | MB_ICONINFORMATION);
        return;
    }
    thank_you_state state{address};
    const std::wstring body =
        wide_of(text) + L"\n<a href=\"" + wide_of(address) + L"\">" + wide_of(address) + L"</a>";
    const TASKDIALOG_BUTTON copy{copy_address_button, L"&Copy address"};
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = owner;
    config.dwFlags = TDF_ENABLE_HYPERLINKS | TDF_ALLOW_DIALOG_CANCELLATION;
    config.dwCommonButtons = TDCBF_OK_BUTTON;
    config.pszWindowTitle = application_title;
    config.pszMainIcon = TD_INFORMATION_ICON;
    config.pszContent = body.c_str();
    // A footer from the start: the text of an element made later may not show.
    config.pszFooter = L"Copy address puts the address on the clipboard.";
    config.cButtons = 1;
    config.pButtons = &copy;
    config.pfCallback = thank_you_events;
    config.lpCallbackData = reinterpret_cast<LONG_PTR>(&state);
    task_dialog(&config, nullptr, nullptr, nullptr);
}
