// The start-up capture shared by the window and cavio-report: the Direct3D
// probe with its fallback, and the OpenGL probe.
#pragma once

#include <memory>

#include "probe/qe_3d.h"
#include "probe/qe_3d_open_gl.h"

// The DXGI and Direct3D 10 probe; when it raises, for whatever reason, the
// Direct3D 9 probe. An error of the Direct3D 9 probe reaches the caller.
std::unique_ptr<tq3d> capture_direct3d();

// The OpenGL probe, or null when it raises.
std::unique_ptr<tqgl> capture_opengl(const tq3d& direct3d);
