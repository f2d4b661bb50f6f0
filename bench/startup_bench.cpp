// Start-up of the viewer: from process start until its window, with the
// first adapter's pages, is painted and waits for input. Runs cavio.exe
// (beside this program's folder) several times and prints the median.
// Run on a display: wine build/bench/startup_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

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
    return 0;
}
