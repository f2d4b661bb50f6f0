// The main window's and the panels' window classes, registered once.
#include "app/window_classes.h"

#include "app/control_ids.h"
#include "app/grid_control.h"
#include "app/theme.h"
#include "base/win_handles.h"

namespace {

// Forwards what child controls tell their parent to the main window, so
// that panels and sheets can hold controls.
LRESULT CALLBACK panel_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return SendMessageW(GetAncestor(window, GA_ROOT), message, wparam, lparam);
        case WM_ERASEBKGND: {
            // The theme's face, not the class's.
            RECT area{};
            GetClientRect(window, &area);
            const gdi_object<HBRUSH> face(CreateSolidBrush(active_palette().face));
            FillRect(reinterpret_cast<HDC>(wparam), &area, face.get());
            return TRUE;
        }
        case WM_SETCURSOR:
            if (GetPropW(reinterpret_cast<HWND>(wparam), link_property) != nullptr) {
                SetCursor(LoadCursor(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

void register_window_classes(WNDPROC main_procedure) {
    static const bool registered = [main_procedure] {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW window_class{};
        window_class.cbSize = sizeof window_class;
        window_class.lpfnWndProc = main_procedure;
        window_class.hInstance = instance;
        window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
        window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        // The title bar's and the taskbar's sizes of the chip; none in a
        // program without the resource, such as the tests.
        window_class.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(icon_resource),
                                                           IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
        window_class.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(icon_resource),
                                                             IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
        window_class.lpszClassName = main_window_class;
        RegisterClassExW(&window_class);
        window_class.lpfnWndProc = panel_procedure;
        window_class.hIcon = nullptr;
        window_class.hIconSm = nullptr;
        window_class.lpszClassName = panel_window_class;
        RegisterClassExW(&window_class);
        register_grid_class();
        return true;
    }();
    (void)registered;
}
