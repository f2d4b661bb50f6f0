#include "base/platform.h"

#include <cstdint>
#include <string>

HMODULE load_library(const char* name) {
    // The names are ASCII: widened as they are.
    const std::wstring wide(name, name + std::char_traits<char>::length(name));
    HMODULE module = LoadLibraryW(wide.c_str());
    return reinterpret_cast<uintptr_t>(module) < 32 ? nullptr : module;
}
