#include "probe/capture.h"

#include <exception>
#include <string>

#include "probe/d3d9_probe.h"
#include "probe/dxgi_probe.h"

namespace {

// Runs one probe; what it raises becomes a reason of its API, and the
// probe's own reasons follow it.
template <typename Probe>
std::unique_ptr<Probe> run_probe(const std::function<std::unique_ptr<Probe>()>& construct, const char* api,
                                 std::vector<probe_reason>& reasons) {
    std::unique_ptr<Probe> probe;
    try {
        probe = construct();
    } catch (const std::exception& error) {
        reasons.push_back({-1, std::string(api) + ": " + error.what()});
    } catch (...) {
        reasons.push_back({-1, std::string(api) + ": failed"});
    }
    if (probe) {
        reasons.insert(reasons.end(), probe->reasons.begin(), probe->reasons.end());
    }
    return probe;
}

}  // namespace

capture_seams default_capture_seams() {
    capture_seams seams;
    seams.direct3d10 = [] { return std::unique_ptr<direct3d_probe>(std::make_unique<dxgi_probe>()); };
    seams.direct3d9 = [] { return std::unique_ptr<direct3d_probe>(std::make_unique<d3d9_probe>()); };
    seams.opengl = [](const direct3d_probe& direct3d) { return std::make_unique<gl_probe>(direct3d); };
    seams.vulkan = [] { return std::make_unique<vk_probe>(); };
    return seams;
}

startup_capture capture_startup(const capture_seams& seams) {
    startup_capture capture;
    capture.direct3d = run_probe(seams.direct3d10, "DXGI", capture.direct3d_reasons);
    // No DXGI, or it failed: Direct3D 9 alone.
    if (!capture.direct3d) {
        capture.direct3d = run_probe(seams.direct3d9, "Direct3D 9", capture.direct3d_reasons);
    }
    if (!capture.direct3d) {
        capture.direct3d = std::make_unique<direct3d_probe>();
    }
    const direct3d_probe& direct3d = *capture.direct3d;
    capture.opengl =
        run_probe<gl_probe>([&] { return seams.opengl(direct3d); }, "OpenGL", capture.opengl_reasons);
    if (seams.vulkan) {
        capture.vulkan = run_probe(seams.vulkan, "Vulkan", capture.vulkan_reasons);
    }
    return capture;
}
