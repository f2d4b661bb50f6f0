// Copying to the clipboard: rows and pages as UTF-16 text.
#include "app/grid_control.h"

#include <algorithm>

#include "base/text.h"

bool copy_to_clipboard(HWND owner, const std::string& text) {
    if (!OpenClipboard(owner)) {
        return false;
    }
    EmptyClipboard();
    // Windows makes the ANSI and OEM texts from the Unicode one on demand.
    const std::wstring wide = wide_of(text);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
    bool done = false;
    if (memory != nullptr) {
        if (void* target = GlobalLock(memory)) {
            std::copy(wide.c_str(), wide.c_str() + wide.size() + 1, static_cast<wchar_t*>(target));
            GlobalUnlock(memory);
            done = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!done) {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
    return done;
}
