#include "probe/capture.h"

#include "probe/d3d9_probe.h"
#include "probe/dxgi_probe.h"

capture_seams default_capture_seams() {
    capture_seams seams;
    seams.direct3d10 = [] { return std::unique_ptr<direct3d_probe>(std::make_unique<dxgi_probe>()); };
    seams.direct3d9 = [] { return std::unique_ptr<direct3d_probe>(std::make_unique<d3d9_probe>()); };
    seams.opengl = [](const direct3d_probe& direct3d) { return std::make_unique<gl_probe>(direct3d); };
    return seams;
}

startup_capture capture_startup(const capture_seams& seams) {
    startup_capture capture;
    try {
        capture.direct3d = seams.direct3d10();
    } catch (...) {
        // No DXGI, or it failed: Direct3D 9 alone.
    }
    if (!capture.direct3d) {
        capture.direct3d = seams.direct3d9();
    }
    try {
        capture.opengl = seams.opengl(*capture.direct3d);
    } catch (...) {
        capture.opengl.reset();
    }
    return capture;
}
