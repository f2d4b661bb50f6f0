// The start-up capture that the window and cavio-report share: the Direct3D
// probe with its fallback, then the OpenGL probe.
#pragma once

#include <functional>
#include <memory>

#include "probe/d3d_common.h"
#include "probe/gl_probe.h"

// The probe constructors the capture calls; tests put fakes in their place.
struct capture_seams {
    std::function<std::unique_ptr<direct3d_probe>()> direct3d10;
    std::function<std::unique_ptr<direct3d_probe>()> direct3d9;
    std::function<std::unique_ptr<gl_probe>(const direct3d_probe& direct3d)> opengl;
};

// The real probes: dxgi_probe, d3d9_probe and gl_probe on the real platform.
capture_seams default_capture_seams();

struct startup_capture {
    std::unique_ptr<direct3d_probe> direct3d;
    std::unique_ptr<gl_probe> opengl;  // null when the OpenGL probe raised
};

// The Direct3D 10 probe; when it raises anything, the Direct3D 9 probe,
// whose error reaches the caller. Then the OpenGL probe on that list; when
// it raises anything, no OpenGL. Nothing is reported either way.
startup_capture capture_startup(const capture_seams& seams = default_capture_seams());
