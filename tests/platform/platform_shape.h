// The platform shape a real-platform test runs on: what the shape's CTest
// entry names in CAVIO_SHAPE, or "one_head", the default display.
#pragma once

#include <windows.h>

#include <string>

inline std::string environment_text(const char* name) {
    char value[256] = {};
    const DWORD size = GetEnvironmentVariableA(name, value, sizeof value);
    return size > 0 && size < sizeof value ? std::string(value, size) : std::string();
}

inline std::string platform_shape() {
    const std::string shape = environment_text("CAVIO_SHAPE");
    return shape.empty() ? "one_head" : shape;
}

// False on the one shape whose X server has no GLX: Wine then offers
// neither Direct3D 9 nor DXGI, and every probe must list nothing.
inline bool shape_has_direct3d() {
    return platform_shape() != "no_direct3d";
}
