#include "base/platform.h"

#include <cstdint>

HMODULE load_library(const char* name) {
    HMODULE module = LoadLibraryA(name);
    return reinterpret_cast<uintptr_t>(module) < 32 ? nullptr : module;
}
