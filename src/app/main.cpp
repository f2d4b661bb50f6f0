// The viewer's entry: reference data, common controls, the main window and
// the message loop.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "app/main_window.h"
#include "base/text.h"
#include "refdata/pci_names.h"
#include "submit/site_address.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    init_reference_data();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    // "cavio.exe REPORT.json": a saved report opened at start, as a double
    // click on one does; "--site URL": Submit posts to that site.
    window_seams seams = default_window_seams();
    std::string report_at_start;
    int count = 0;
    // The shell, which splits the command line, loads only where there is one.
    LPWSTR* arguments =
        has_arguments(GetCommandLineW()) ? CommandLineToArgvW(GetCommandLineW(), &count) : nullptr;
    if (arguments != nullptr) {
        for (int i = 1; i < count; ++i) {
            const std::string argument = utf8_of(arguments[i]);
            if (argument == "--site" && i + 1 < count) {
                seams.submit_url = submitter_url(utf8_of(arguments[++i]));
            } else {
                report_at_start = argument;
            }
        }
        LocalFree(arguments);
    }
    main_window window(seams, true);
    window.quit_on_destroy = true;
    window.report_at_start = report_at_start;
    // Showing the window runs the start-up sequence (start_up).
    ShowWindow(window.handle(), show);
    UpdateWindow(window.handle());

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!window.translate_key(message) && !IsDialogMessageW(window.handle(), &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // A probe given up at its bound may hold the windowing system's locks:
    // the process ends without waiting for it.
    if (window.capture_left_running()) {
        TerminateProcess(GetCurrentProcess(), static_cast<UINT>(message.wParam));
    }
    return static_cast<int>(message.wParam);
}
