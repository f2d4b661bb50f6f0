// Start-up of the viewer: from process start until its window, with the
// first adapter's pages, is painted and waits for input. Runs cavio.exe
// (beside this program's folder) several times and prints the median. Then
// the start-up capture alone, in this process, with and without the
// Direct3D 11 and 12 probe, with and without the Vulkan probe and with and
// without OpenGL's core-profile context, and what each costs.
// Run on a display: wine build/bench/startup_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "probe/capture.h"
#include "probe/dxgi_probe.h"

namespace {

double now_ms() {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER counter{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The whole start-up capture: Direct3D, DXGI, OpenGL and Vulkan; without
// Direct3D 11 and 12 when their creators are left empty, without Vulkan when
// it is not asked.
double capture_ms(bool with_d3d11_12, bool with_vulkan = true, bool with_core = true) {
    capture_seams seams = default_capture_seams();
    if (!with_vulkan) {
        seams.vulkan = {};
    }
    seams.opengl = [with_core](const direct3d_probe& direct3d) {
        return std::make_unique<gl_probe>(direct3d, default_gl_platform(), with_core);
    };
    seams.direct3d10 = [with_d3d11_12] {
        dx10_entry_points entry = load_dx10_entry_points();
        if (!with_d3d11_12) {
            entry.direct3d11_12 = {};
        }
        return std::unique_ptr<direct3d_probe>(std::make_unique<dxgi_probe>(entry));
    };
    const double start = now_ms();
    const startup_capture capture = capture_startup(seams);
    return now_ms() - start;
}

BOOL CALLBACK close_window_of(HWND window, LPARAM process_id) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (owner == static_cast<DWORD>(process_id) && std::string(name) == "CavioMain") {
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

}  // namespace

int main() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string program(path);
    program.erase(program.find_last_of("\\/"));
    program = program.substr(0, program.find_last_of("\\/")) + "\\cavio.exe";

    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::string command = "\"" + program + "\"";
        LARGE_INTEGER start{};
        LARGE_INTEGER ready{};
        QueryPerformanceCounter(&start);
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process)) {
            std::fprintf(stderr, "cannot start %s\n", program.c_str());
            return 1;
        }
        WaitForInputIdle(process.hProcess, 120000);
        QueryPerformanceCounter(&ready);
        times.push_back(1000.0 * static_cast<double>(ready.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
        EnumWindows(close_window_of, static_cast<LPARAM>(process.dwProcessId));
        if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 1);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "cavio.exe start-up to its first painted, idle window over %zu runs: median %.0f ms (min %.0f, max "
        "%.0f)\n",
        times.size(), times[times.size() / 2], times.front(), times.back());

    // The libraries of the rest loaded once before anything is timed; the
    // first capture with a probe also loads and starts its runtime.
    const double rest_cold = capture_ms(false, false);
    const double first = capture_ms(true, false);
    const double first_vulkan = capture_ms(true, true);
    std::vector<double> with;
    std::vector<double> without;
    std::vector<double> with_vulkan;
    for (int run = 0; run < 11; ++run) {
        with.push_back(capture_ms(true, false));
        without.push_back(capture_ms(false, false));
        with_vulkan.push_back(capture_ms(true, true));
    }
    const double full = median(with);
    const double rest = median(without);
    std::printf(
        "start-up capture without Vulkan over %zu runs: median %.0f ms with the Direct3D 11/12 probe, %.0f "
        "ms "
        "without\n",
        with.size(), full, rest);
    std::printf(
        "first captures: %.0f ms without the probe, then %.0f ms with it (its libraries loaded then)\n",
        rest_cold, first);
    std::printf("the Direct3D 11/12 probe costs %.0f ms, %.0f%% of the rest of the capture\n", full - rest,
                rest > 0 ? 100.0 * (full - rest) / rest : 0.0);
    const double vulkan = median(with_vulkan);
    std::printf("start-up capture over %zu runs: median %.0f ms with the Vulkan probe, %.0f ms without\n",
                with_vulkan.size(), vulkan, full);
    std::printf("first capture with the Vulkan probe: %.0f ms (vulkan-1.dll and its driver loaded then)\n",
                first_vulkan);
    std::printf("the Vulkan probe costs %.0f ms, %.0f%% of the rest of the capture\n", vulkan - full,
                full > 0 ? 100.0 * (vulkan - full) / full : 0.0);
    // The probe alone, on each DXGI adapter, where the capture's noise
    // cannot hide it.
    std::vector<double> alone;
    const dx10_entry_points entry = load_dx10_entry_points();
    Microsoft::WRL::ComPtr<IDXGIFactory> factory;
    if (entry.CreateDXGIFactory &&
        entry.CreateDXGIFactory(__uuidof(IDXGIFactory), reinterpret_cast<void**>(factory.GetAddressOf())) ==
            S_OK) {
        Microsoft::WRL::ComPtr<IDXGIAdapter> adapter;
        for (int run = 0; run < 11; ++run) {
            const double start = now_ms();
            for (UINT i = 0; factory->EnumAdapters(i, adapter.ReleaseAndGetAddressOf()) == S_OK; ++i) {
                probe_d3d11_12(adapter.Get(), entry.direct3d11_12);
            }
            alone.push_back(now_ms() - start);
        }
        std::printf("the Direct3D 11/12 probe alone, on every DXGI adapter: median %.1f ms over %zu runs\n",
                    median(alone), alone.size());
        // The format sweeps: the probe alone with and without them.
        std::vector<double> without_formats;
        for (int run = 0; run < 11; ++run) {
            const double start = now_ms();
            for (UINT i = 0; factory->EnumAdapters(i, adapter.ReleaseAndGetAddressOf()) == S_OK; ++i) {
                probe_d3d11_12(adapter.Get(), entry.direct3d11_12, nullptr, false);
            }
            without_formats.push_back(now_ms() - start);
        }
        const double sweeps = median(alone) - median(without_formats);
        std::printf(
            "the format sweeps of Direct3D 11 and 12: %.1f ms (probe median %.1f ms with them, %.1f ms "
            "without), %.1f%% of the capture's %.0f ms\n",
            sweeps, median(alone), median(without_formats), vulkan > 0 ? 100.0 * sweeps / vulkan : 0.0,
            vulkan);
    }
    // OpenGL's core-profile context: the whole capture with and without it,
    // then the OpenGL probe alone, where the capture's noise cannot hide it.
    std::vector<double> with_core;
    std::vector<double> without_core;
    for (int run = 0; run < 11; ++run) {
        with_core.push_back(capture_ms(true, true, true));
        without_core.push_back(capture_ms(true, true, false));
    }
    std::printf(
        "start-up capture over %zu runs: median %.0f ms with OpenGL's core-profile context, %.0f ms "
        "without\n",
        with_core.size(), median(with_core), median(without_core));
    const startup_capture adapters = capture_startup();
    std::vector<double> probe_core;
    std::vector<double> probe_legacy;
    for (int run = 0; run < 11; ++run) {
        for (const bool core : {true, false}) {
            const double start = now_ms();
            const gl_probe probe(*adapters.direct3d, default_gl_platform(), core);
            (core ? probe_core : probe_legacy).push_back(now_ms() - start);
        }
    }
    const double core = median(probe_core);
    const double legacy = median(probe_legacy);
    std::printf(
        "the OpenGL probe alone, on %d adapter(s): median %.1f ms with the core-profile context, %.1f ms "
        "without; it costs %.1f ms, %.0f%% of the rest of the capture\n",
        adapters.direct3d->count, core, legacy, core - legacy,
        median(without_core) > 0 ? 100.0 * (core - legacy) / median(without_core) : 0.0);

    // The Vulkan probe alone: its instance, every device, every format.
    std::vector<double> vulkan_alone;
    size_t devices = 0;
    for (int run = 0; run < 11; ++run) {
        const double start = now_ms();
        const vk_probe probe;
        vulkan_alone.push_back(now_ms() - start);
        devices = probe.devices.size();
    }
    std::printf("the Vulkan probe alone, on %zu device(s): median %.1f ms over %zu runs\n", devices,
                median(vulkan_alone), vulkan_alone.size());
    return 0;
}
