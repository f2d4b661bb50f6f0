// Submit: the report posted to the site, the window waiting with it.
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/controls.h"
#include "app/main_window.h"
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
    set_status(status_bar, status_message, "Sending report to " + host_of(seams_.submit_url) + "...");
    UpdateWindow(status_bar);
    const HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    http->waiting = paint_while_waiting;
    const std::vector<std::pair<std::string, std::string>> fields = {
        {"textlist", submission},
        {"id", std::to_string(draw_submission_identifier())},
    };
    const std::optional<reason> failed = http->post(seams_.submit_url, fields);
    set_status(status_bar, status_message, status);
    SetCursor(previous);
    discard_waiting_input();
    if (!failed) {
        seams_.message_box(window_.get(), "Data sent to server.\r\n\r\nThank You!",
                           MB_OK | MB_ICONINFORMATION);
    } else {
        seams_.message_box(window_.get(),
                           "Can't send data to server.\r\n\r\n" + as_sentence(failed->message()),
                           MB_OK | MB_ICONERROR);
    }
}
