// The start-up capture that the window and cavio-report share: the DXGI
// probe with its Direct3D 9 fallback, then the OpenGL probe.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "probe/d3d_common.h"
#include "probe/gl_probe.h"
#include "probe/vk_probe.h"

// The probe constructors the capture calls; tests put fakes in their place.
struct capture_seams {
    std::function<std::unique_ptr<direct3d_probe>()> direct3d10;
    std::function<std::unique_ptr<direct3d_probe>()> direct3d9;
    std::function<std::unique_ptr<gl_probe>(const direct3d_probe& direct3d)> opengl;
    std::function<std::unique_ptr<vk_probe>()> vulkan;  // empty: Vulkan is not asked
};

// The real probes: dxgi_probe, d3d9_probe, gl_probe and vk_probe on the real platform.
capture_seams default_capture_seams();

struct startup_capture {
    std::unique_ptr<direct3d_probe> direct3d;  // never null: an empty list when nothing could be read
    std::unique_ptr<gl_probe> opengl;          // null when the OpenGL probe could not run at all
    std::unique_ptr<vk_probe> vulkan;          // null when Vulkan was not asked or its probe raised
    // What the probes could not read, in the order it happened: the
    // Direct3D probes', the OpenGL probe's and the Vulkan probe's.
    std::vector<probe_reason> direct3d_reasons;
    std::vector<probe_reason> opengl_reasons;
    std::vector<probe_reason> vulkan_reasons;
};

// The DXGI probe; where it raises, the Direct3D 9 probe instead. Then the
// OpenGL probe on that list, and the Vulkan probe. Never raises: a probe that raises is a reason
// ("DXGI: CreateDXGIFactory failed (0x887A0004)"), and the capture goes on.
startup_capture capture_startup(const capture_seams& seams = default_capture_seams());
