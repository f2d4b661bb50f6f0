#include "probe/probes.h"

#include <exception>

#include "probe/qe_3d09.h"
#include "probe/qe_3d10.h"

std::unique_ptr<tq3d> capture_direct3d() {
    try {
        return std::make_unique<tq3d10>();
    } catch (const std::exception&) {
        // No DXGI, or it failed: Direct3D 9 alone.
    }
    return std::make_unique<tq3d09>();
}

std::unique_ptr<tqgl> capture_opengl(const tq3d& direct3d) {
    try {
        return std::make_unique<tqgl>(direct3d);
    } catch (const std::exception&) {
        return nullptr;
    }
}
