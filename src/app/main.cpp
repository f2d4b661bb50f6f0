// The viewer's entry: reference data, common controls, the main window and
// the message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include "app/main_window.h"
#include "base/text.h"
#include "refdata/pci_names.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    // A single-threaded apartment: screen readers reach the grids' objects
    // through it.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    init_reference_data();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    main_window window;
    window.quit_on_destroy = true;
    // "cavio.exe REPORT.json": a saved report opened at start, as a double
    // click on one does.
    int count = 0;
    if (LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count)) {
        if (count > 1) {
            window.report_at_start = utf8_of(arguments[1]);
        }
        LocalFree(arguments);
    }
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
