// The programs users run, which lie one folder above the test programs, and
// running cavio-report.exe.
#pragma once

#include <windows.h>

#include <string>

struct program_result {
    DWORD exit_code = 0xFFFFFFFF;
    std::string output;  // standard output
    std::string errors;  // standard error
};

// The path of a program of the build, beside cavio.exe.
inline std::string built_program(const char* name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.erase(folder.find_last_of("\\/"));
    return folder.substr(0, folder.find_last_of("\\/")) + "\\" + name;
}

inline std::string report_program() {
    return built_program("cavio-report.exe");
}

// Runs the program with arguments and collects what it writes. Standard
// error goes to a pipe large enough that the program never waits on it.
inline program_result run_report_program(const std::string& arguments) {
    program_result result;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out_read = nullptr;
    HANDLE out_write = nullptr;
    HANDLE err_read = nullptr;
    HANDLE err_write = nullptr;
    if (!CreatePipe(&out_read, &out_write, &inherit, 0)) {
        return result;
    }
    if (!CreatePipe(&err_read, &err_write, &inherit, 1 << 20)) {
        CloseHandle(out_read);
        CloseHandle(out_write);
        return result;
    }
    SetHandleInformation(out_read, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(err_read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out_write;
    startup.hStdError = err_write;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string command = "\"" + report_program() + "\" " + arguments;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &process);
    CloseHandle(out_write);
    CloseHandle(err_write);
    const auto drain = [](HANDLE pipe, std::string& text) {
        char buffer[65536];
        DWORD got = 0;
        while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
            text.append(buffer, got);
        }
        CloseHandle(pipe);
    };
    if (!started) {
        CloseHandle(out_read);
        CloseHandle(err_read);
        return result;
    }
    drain(out_read, result.output);
    drain(err_read, result.errors);
    WaitForSingleObject(process.hProcess, 120000);
    GetExitCodeProcess(process.hProcess, &result.exit_code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return result;
}
