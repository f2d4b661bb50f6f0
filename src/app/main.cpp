// The viewer's entry: reference data, common controls, the main window and
// the message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/form_main.h"
#include "refdata/_consts.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    InitConsts();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    TFmain Fmain;
    Fmain.quit_on_destroy = true;
    // Showing the window runs the start-up sequence (FormShow).
    ShowWindow(Fmain.handle(), show);
    UpdateWindow(Fmain.handle());

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!Fmain.translate_key(message) && !IsDialogMessageA(Fmain.handle(), &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
