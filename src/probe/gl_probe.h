// The OpenGL probe: for each Direct3D adapter on a desktop monitor, a hidden
// window and a rendering context on that monitor, read into one record.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "probe/gl_platform.h"
#include "probe/d3d_common.h"
#include "probe/records.h"

class gl_probe {
public:
    // Loads OpenGL32.dll and GLU32.dll and captures the context of every
    // adapter's monitor, then a second context of the core profile on it
    // (unless with_core_context is false). A monitor whose context cannot
    // be made or read ("OpenGL: no pixel format on \\.\DISPLAY2"), an
    // adapter on no desktop monitor, and a missing library are reasons; the
    // other monitors keep their records. A core-profile context that cannot
    // be made is a reason too; the record keeps what the first context read.
    // Never raises.
    explicit gl_probe(std::span<const dx_adapter> direct3d,
                      const gl_platform& platform = default_gl_platform(), bool with_core_context = true);

    gl_probe(const gl_probe&) = delete;
    gl_probe& operator=(const gl_probe&) = delete;

    // A copy of record i (0 <= i < count()), the caller's own.
    gl_record adapter(int i) const;
    int32_t count() const { return static_cast<int32_t>(adapters.size()); }

    std::vector<gl_record> adapters;
    std::vector<reason> reasons;  // in the order they arose

    // The records and reasons, moved out.
    gl_records take() { return {std::move(adapters), std::move(reasons)}; }
};
