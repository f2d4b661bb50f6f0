// Start-up of the viewer: from process start until its window shows, beside
// a bare Win32 window's on the same machine, until it takes input typed as
// it shows, and until it is idle with every group read. Runs cavio.exe
// (beside this program's folder) several times and prints the medians. Then
// the capture in fresh processes of this program: side by side (the list,
// each probe, all of them), chained, and each probe alone. Then the chained
// capture, in this process, with and without the Direct3D 11 and 12 probe,
// with and without the Vulkan probe and with and without OpenGL's
// core-profile context, and what each costs; Direct3D 9's format sweep alone.
// Run on a display: wine build/bench/startup_bench.exe [--window]
// (--window: the window's figures alone).
#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "probe/capture.h"
#include "probe/gl_probe.h"
#include "probe/vk_probe.h"
#include "probe/d3d_common.h"
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
    if (times.empty()) {
        return 0;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The whole start-up capture, one probe after the other: Direct3D, DXGI,
// OpenGL and Vulkan; without Direct3D 11 and 12 or Vulkan where they are
// not asked, and with or without OpenGL's core-profile context.
double capture_ms(bool with_d3d11_12, bool with_vulkan = true, bool with_core = true) {
    capture_seams seams = default_capture_seams();
    if (!with_vulkan) {
        seams.vulkan = {};
    }
    if (!with_d3d11_12) {
        seams.direct3d11_12 = {};
    }
    seams.opengl = [with_core](std::span<const dx_adapter> adapters) {
        return gl_probe(adapters, default_gl_platform(), with_core).take();
    };
    const double start = now_ms();
    const startup_capture capture = capture_chained(seams);
    return now_ms() - start;
}

// One capture in this fresh process, as the window's and cavio-report's
// is, printed as numbers for the parent: "--side" the list, then when each
// probe ended and when all had; "--chained" the chained capture; "--alone N"
// the list, then probe N alone.
int capture_once(const std::string& mode, const std::string& part) {
    capture_seams seams = default_capture_seams();
    const double start = now_ms();
    if (mode == "--chained") {
        const startup_capture capture = capture_chained(seams);
        std::printf("%.1f\n", now_ms() - start);
        return 0;
    }
    if (mode == "--alone") {
        const auto keep = static_cast<capture_part>(std::stoi(part));
        if (keep != capture_part::direct3d11_12) {
            seams.direct3d11_12 = {};
        }
        if (keep != capture_part::opengl) {
            seams.opengl = {};
        }
        if (keep != capture_part::vulkan) {
            seams.vulkan = {};
        }
    }
    capture_run run(seams);
    const double listed = now_ms() - start;
    std::array<double, capture_part_count> ended{};
    while (!run.capture().complete()) {
        run.wait_until(capture_run::clock::now() + std::chrono::milliseconds(1));
        for (size_t i = 0; i < capture_part_count; ++i) {
            if (!run.capture().reading[i] && ended[i] == 0) {
                ended[i] = now_ms() - start;
            }
        }
    }
    std::printf("%.1f %.1f %.1f %.1f %.1f %.1f\n", listed, now_ms() - start, ended[0], ended[1], ended[2],
                ended[3]);
    return 0;
}

// Runs this program once in a mode and reads the numbers it prints.
std::vector<double> run_once(const std::string& self, const std::string& arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    std::vector<double> numbers;
    if (!CreatePipe(&read, &write, &inherit, 0)) {
        return numbers;
    }
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::string command = "\"" + self + "\" " + arguments;
    const bool started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &process);
    CloseHandle(write);
    std::string text;
    char buffer[256];
    DWORD got = 0;
    while (started && ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        text.append(buffer, got);
    }
    CloseHandle(read);
    if (started) {
        WaitForSingleObject(process.hProcess, 60000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    std::istringstream in(text);
    for (double number = 0; in >> number;) {
        numbers.push_back(number);
    }
    return numbers;
}

// The capture side by side against the chained one, each in fresh
// processes: when the window can paint its first page, when every group is
// filled, and each probe alone after the list.
void compare_side_by_side(const std::string& self) {
    constexpr int runs = 5;
    std::vector<double> listed;
    std::vector<double> all;
    std::vector<double> chained;
    std::array<std::vector<double>, capture_part_count> ended;
    std::array<std::vector<double>, capture_part_count> alone;
    for (int run = 0; run < runs; ++run) {
        if (const std::vector<double> side = run_once(self, "--side"); side.size() == 6) {
            listed.push_back(side[0]);
            all.push_back(side[1]);
            for (size_t i = 0; i < capture_part_count; ++i) {
                ended[i].push_back(side[2 + i]);
            }
        }
        if (const std::vector<double> one = run_once(self, "--chained"); one.size() == 1) {
            chained.push_back(one[0]);
        }
        for (size_t i = 0; i < capture_part_count; ++i) {
            // The probe's own time: from the list to its end.
            if (const std::vector<double> one = run_once(self, "--alone " + std::to_string(i));
                one.size() == 6) {
                alone[i].push_back(one[2 + i] - one[0]);
            }
        }
    }
    if (listed.empty() || chained.empty()) {
        std::printf("the side-by-side capture could not be timed\n");
        return;
    }
    const double list = median(listed);
    const double whole = median(all);
    const double old = median(chained);
    std::printf("start-up capture in a fresh process, medians over %d runs:\n", runs);
    std::printf(
        "  adapters listed, the window's first page can paint: %.0f ms (%.0f%% of the chained capture)\n",
        list, 100.0 * list / old);
    std::printf(
        "  every group filled, probes side by side: %.0f ms (DirectX %.0f, Direct3D 11/12 %.0f, OpenGL "
        "%.0f, Vulkan %.0f)\n",
        whole, median(ended[0]), median(ended[1]), median(ended[2]), median(ended[3]));
    std::printf("  chained, one probe after the other: %.0f ms\n", old);
    double slowest = 0;
    for (const std::vector<double>& times : alone) {
        slowest = std::max(slowest, times.empty() ? 0.0 : median(times));
    }
    std::printf(
        "  each probe alone after the list: DirectX %.0f, Direct3D 11/12 %.0f, OpenGL %.0f, Vulkan %.0f ms; "
        "the list plus the slowest: %.0f ms\n",
        median(alone[0]), median(alone[1]), median(alone[2]), median(alone[3]), list + slowest);
}

BOOL CALLBACK close_window_of(HWND window, LPARAM process_id) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (owner == static_cast<DWORD>(process_id) &&
        (std::string(name) == "CavioMain" || std::string(name) == "CavioBare")) {
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

struct shown_window {
    DWORD process_id;
    const char* class_name;
    bool shown = false;
    HWND window = nullptr;
};

BOOL CALLBACK find_shown_window(HWND window, LPARAM found) {
    auto* wanted = reinterpret_cast<shown_window*>(found);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (owner == wanted->process_id && std::string(name) == wanted->class_name && IsWindowVisible(window)) {
        wanted->shown = true;
        wanted->window = window;
    }
    return TRUE;
}

// A bare Win32 window, as small a program as shows one: what showing a
// window costs on this machine, beside which the viewer's is measured.
int bare_window() {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = [](HWND window, UINT message, WPARAM wparam, LPARAM lparam) -> LRESULT {
        if (message == WM_DESTROY) {
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcW(window, message, wparam, lparam);
    };
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = L"CavioBare";
    RegisterClassW(&window_class);
    HWND window = CreateWindowExW(0, L"CavioBare", L"Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  800, 600, nullptr, nullptr, window_class.hInstance, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}

// What to time once a window has shown: given the process, its window and
// the milliseconds since the process started, a figure of its own.
using after_shown = std::function<double(const PROCESS_INFORMATION&, HWND, const std::function<double()>&)>;

// Starts command, and answers how long its window of class_name took to
// show, in milliseconds, and what then does (0 without it); then closes it.
std::pair<double, double> time_window(std::string command, const char* class_name,
                                      const after_shown& then = {}) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start{};
    LARGE_INTEGER ready{};
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return {-1, -1};
    }
    const auto since = [&] {
        QueryPerformanceCounter(&ready);
        return 1000.0 * static_cast<double>(ready.QuadPart - start.QuadPart) /
               static_cast<double>(frequency.QuadPart);
    };
    shown_window wanted{process.dwProcessId, class_name};
    for (int wait = 0; wait < 24000 && !wanted.shown; ++wait) {
        EnumWindows(find_shown_window, reinterpret_cast<LPARAM>(&wanted));
        if (!wanted.shown) {
            Sleep(1);
        }
    }
    const double shown = since();
    const double after = then ? then(process, wanted.window, since) : 0;
    EnumWindows(close_window_of, static_cast<LPARAM>(process.dwProcessId));
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {shown, after};
}

// Until the viewer is idle for input.
double until_idle(const PROCESS_INFORMATION& process, HWND, const std::function<double()>& since) {
    WaitForInputIdle(process.hProcess, 120000);
    return since();
}

// The viewer's Find box, a child of its window, or null.
BOOL CALLBACK find_edit(HWND window, LPARAM found) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == "Edit") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Types Ctrl+F and "x" into the viewer the moment its window has the
// keyboard; answers when the Find box held the "x", from process start, or -1.
double first_input(const PROCESS_INFORMATION& process, HWND main, const std::function<double()>& since) {
    for (int wait = 0; wait < 2000; ++wait) {
        DWORD owner = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &owner);
        if (owner == process.dwProcessId) {
            break;
        }
        Sleep(1);
    }
    INPUT keys[6] = {};
    const WORD typed[6][2] = {
        {VK_CONTROL, 0},       {'F', 0}, {'F', KEYEVENTF_KEYUP}, {VK_CONTROL, KEYEVENTF_KEYUP}, {'X', 0},
        {'X', KEYEVENTF_KEYUP}};
    for (size_t i = 0; i < 6; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = typed[i][0];
        keys[i].ki.dwFlags = typed[i][1];
    }
    SendInput(6, keys, sizeof(INPUT));
    HWND edit = nullptr;
    for (int wait = 0; wait < 24000 && main != nullptr; ++wait) {
        if (edit == nullptr) {
            EnumChildWindows(main, find_edit, reinterpret_cast<LPARAM>(&edit));
        }
        char text[16] = {};
        DWORD_PTR length = 0;
        if (edit != nullptr &&
            SendMessageTimeoutA(edit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                                20, &length) != 0 &&
            std::string(text) == "x") {
            return since();
        }
        Sleep(1);
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--bare") {
        return bare_window();
    }
    // "--window": the window's figures alone, without the captures after them.
    const bool window_only = argc >= 2 && std::string(argv[1]) == "--window";
    if (argc >= 2 && !window_only) {
        return capture_once(argv[1], argc >= 3 ? argv[2] : "");
    }
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string self(path);
    std::string program(path);
    program.erase(program.find_last_of("\\/"));
    program = program.substr(0, program.find_last_of("\\/")) + "\\cavio.exe";

    std::vector<double> times;
    std::vector<double> shown;
    std::vector<double> bare;
    for (int run = 0; run < 5; ++run) {
        const auto [bare_shown, unused] = time_window("\"" + self + "\" --bare", "CavioBare");
        bare.push_back(bare_shown);
        const auto [viewer_shown, idle] = time_window("\"" + program + "\"", "CavioMain", until_idle);
        if (viewer_shown < 0) {
            std::fprintf(stderr, "cannot start %s\n", program.c_str());
            return 1;
        }
        shown.push_back(viewer_shown);
        times.push_back(idle);
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "window shown from process start, medians over %zu runs: cavio.exe %.0f ms, a bare Win32 window "
        "%.0f ms (%.1f times as long)\n",
        shown.size(), median(shown), median(bare), median(bare) > 0 ? median(shown) / median(bare) : 0.0);
    std::printf(
        "cavio.exe from process start to its window idle for input, over %zu runs: median %.0f ms (min %.0f, "
        "max "
        "%.0f)\n",
        times.size(), times[times.size() / 2], times.front(), times.back());
    // Input typed the moment the window shows: when its effect shows.
    std::vector<double> taken;
    for (int run = 0; run < 5; ++run) {
        if (const double at = time_window("\"" + program + "\"", "CavioMain", first_input).second; at >= 0) {
            taken.push_back(at);
        }
    }
    std::printf(
        "first input taken (Ctrl+F and a letter typed as the window shows, until the Find box holds it), "
        "medians over %zu runs: %.0f ms from process start, beside the window visible at %.0f ms and a bare "
        "window's %.0f ms (target: at most %.0f ms, twice the bare window's)\n",
        taken.size(), median(taken), median(shown), median(bare), 2 * median(bare));
    if (window_only) {
        return 0;
    }
    compare_side_by_side(self);

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
    std::printf("the Vulkan probe costs %.0f ms, %.0f%% of the rest of the capture and %.0f%% of the whole\n",
                vulkan - full, full > 0 ? 100.0 * (vulkan - full) / full : 0.0,
                vulkan > 0 ? 100.0 * (vulkan - full) / vulkan : 0.0);
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
                probe_d3d11_12(adapter.Get(), entry.direct3d11_12, false);
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
    // Direct3D 9's format sweep on every ordinal, alone: what it adds to the
    // DirectX probe, which reads it.
    Microsoft::WRL::ComPtr<IDirect3D9> d3d9;
    d3d9.Attach(Direct3DCreate9(D3D_SDK_VERSION));
    if (d3d9) {
        std::vector<double> sweeps;
        size_t rows = 0;
        int calls = 0;
        for (int run = 0; run < 11; ++run) {
            rows = 0;
            calls = 0;
            const double start = now_ms();
            for (UINT ordinal = 0; ordinal < d3d9->GetAdapterCount(); ++ordinal) {
                for (const d3d9_format_support& format : read_d3d9_formats(*d3d9.Get(), ordinal)) {
                    ++rows;
                    calls += format.asked;
                }
            }
            sweeps.push_back(now_ms() - start);
        }
        std::printf(
            "the Direct3D 9 format sweep, %zu formats on %u ordinal(s) in %d calls: median %.2f ms over %zu "
            "runs, "
            "%.2f%% of the capture's %.0f ms\n",
            rows, d3d9->GetAdapterCount(), calls, median(sweeps), sweeps.size(),
            vulkan > 0 ? 100.0 * median(sweeps) / vulkan : 0.0, vulkan);
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
            const gl_probe probe(adapters.adapters, default_gl_platform(), core);
            (core ? probe_core : probe_legacy).push_back(now_ms() - start);
        }
    }
    const double core = median(probe_core);
    const double legacy = median(probe_legacy);
    std::printf(
        "the OpenGL probe alone, on %d adapter(s): median %.1f ms with the core-profile context, %.1f ms "
        "without; it costs %.1f ms, %.0f%% of the rest of the capture\n",
        static_cast<int>(adapters.adapters.size()), core, legacy, core - legacy,
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
