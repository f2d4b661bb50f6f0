// The viewer's entry: reference data, common controls, the main window and
// the message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/main_window.h"
#include "refdata/pci_names.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    init_reference_data();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    main_window window;
    window.quit_on_destroy = true;
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
    return static_cast<int>(message.wParam);
}
