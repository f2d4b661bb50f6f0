// The OpenGL probe: for each Direct3D adapter on a desktop monitor, a hidden
// window and a rendering context on that monitor, read into one record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "probe/gl_platform.h"
#include "probe/qe_3d.h"
#include "probe/qe_types.h"

// True iff name is one of the blank-separated words of text (tabs and line
// breaks separate words too).
bool has_extension_word(const std::string& text, const char* name);

class tqgl {
public:
    // Loads OpenGL32.dll and GLU32.dll and captures every context. Raises
    // "can't get DC", "setPixelFormat problem", "can't create RC" or
    // "wglMakeCurrent problem" (or a short message of its own when OpenGL
    // or an entry point it needs is missing); no partial probe is handed out.
    explicit tqgl(const tq3d& direct3d, const gl_platform& platform = default_gl_platform());

    tqgl(const tqgl&) = delete;
    tqgl& operator=(const tqgl&) = delete;

    // A copy of record i (0 <= i < count), the caller's own.
    tqgl_adapter adapter(int i) const;

    int32_t count = 0;
    std::vector<tqgl_adapter> adapters;
};
