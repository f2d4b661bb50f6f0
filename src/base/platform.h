// Helpers for the platform calls of the probes.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <string>

// Takes over a reference the caller already owns (a creator's result).
// MinGW-w64's ComPtr::Attach adds a reference of its own, which would leak
// the object, so the pointer is stored directly.
template <typename T>
void adopt(Microsoft::WRL::ComPtr<T>& holder, T* owned) {
    *holder.ReleaseAndGetAddressOf() = owned;
}

// An exported entry point by name, or null. The cast goes through void* so
// that GCC accepts it without -Wcast-function-type.
template <typename T>
T get_proc(HMODULE module, const char* name) {
    if (module == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A system library by its ASCII name; a result below 32 counts as failure, as it did for
// the old loader. The library is never unloaded.
HMODULE load_library(const char* name);

// A system error code in the system's own words, without the final full
// stop: "Access is denied"; "error" where the system has none.
std::string system_error_words(DWORD error);
