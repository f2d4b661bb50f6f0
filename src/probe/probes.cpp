#include "probe/probes.h"

#include "probe/qe_3d09.h"
#include "probe/qe_3d10.h"

capture_seams default_capture_seams() {
    capture_seams seams;
    seams.direct3d10 = [] { return std::unique_ptr<tq3d>(std::make_unique<tq3d10>()); };
    seams.direct3d9 = [] { return std::unique_ptr<tq3d>(std::make_unique<tq3d09>()); };
    seams.opengl = [](const tq3d& direct3d) { return std::make_unique<tqgl>(direct3d); };
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
