// cavio-report: this machine's report, or a saved one's differences from
// another, printed for a bug report, a forum post or a script.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <variant>
#include <vector>

#include "base/file_version.h"
#include "base/platform.h"
#include "base/text.h"
#include "base/win_handles.h"
#include "cli/report_program.h"
#include "probe/capture.h"
#include "refdata/pci_names.h"
#include "report/report_builder.h"

namespace {

constexpr char usage[] =
    "Usage: cavio-report [--json | --submission] [--output FILE]\n"
    "       cavio-report --submit [URL]\n"
    "       cavio-report --compare A.json [B.json] [--output FILE]\n"
    "       cavio-report --version | --help\n"
    "Captures every display adapter through DXGI, Direct3D, OpenGL and Vulkan, as the Cavio viewer does at\n"
    "start, and prints the whole report as readable text: every page of every adapter, with descriptions.\n"
    "\n"
    "  --json           the report as one JSON document in UTF-8, the format the viewer saves and opens\n"
    "  --submission     the text the viewer sends to the web site, exactly as it sends it\n"
    "  --submit [URL]   send this machine's report to the site at URL (the product's site by default), as "
    "the\n"
    "                   viewer's Submit does, and print where the site keeps it; 60 seconds at most\n"
    "  --output FILE    write to FILE instead of standard output\n"
    "  --compare A.json [B.json]\n"
    "                   the rows that differ between two saved reports, or between A.json and this\n"
    "                   machine, by adapter and page: \"name: A-value -> B-value\"\n"
    "  --version        the program's version\n"
    "  -h, --help, /?   this text\n"
    "\n"
    "What the capture could not read is said on standard error, one line each.\n"
    "Exit status: 0 done (with --compare: the reports are equal), 1 no Direct3D adapter could be read\n"
    "(with --compare: the reports differ; with --submit: the site refused the report or could not be "
    "reached),\n"
    "2 a usage error, a file that is refused, or output that cannot be written.\n";

// The command line as UTF-8 arguments, whatever the code page.
std::vector<std::string> arguments() {
    std::vector<std::string> list;
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) {
            list.push_back(utf8_of(wide[i]));
        }
        LocalFree(wide);
    }
    return list;
}

// Writes text, byte for byte, to the file named or to standard output; what
// cannot be written is said on standard error with the system's reason.
bool write_out(const std::string& text, const std::string& output) {
    if (output.empty()) {
        _setmode(_fileno(stdout), _O_BINARY);
        if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0) {
            return true;
        }
        say("standard output cannot be written");
        return false;
    }
    const handle file(CreateFileW(wide_of(output).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD error = file.get() == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    for (size_t done = 0; error == ERROR_SUCCESS && done < text.size();) {
        DWORD wrote = 0;
        const auto part = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1u << 30));
        if (!WriteFile(file.get(), text.data() + done, part, &wrote, nullptr)) {
            error = GetLastError();
        }
        done += wrote;
    }
    if (error != ERROR_SUCCESS) {
        say(output + " cannot be written: " + system_error_words(error));
        return false;
    }
    return true;
}

// A probe given up at its bound has not ended; it may hold the windowing
// system's locks, so the process ends without waiting for it.
bool probe_left_running = false;

// This machine's report; what the capture could not read goes to standard
// error, never into the report.
report_document this_machine() {
    init_reference_data();
    capture_run run;
    run.finish();
    probe_left_running = run.left_running();
    report_document document = build_report(run.capture());
    for (const reason& problem : document.problems) {
        say(problem.text());
    }
    return document;
}

}  // namespace

int main() {
    report_program_platform platform;
    platform.usage = usage;
    platform.version = file_version_text();
    platform.nothing_read = "no Direct3D adapter could be read";
    platform.this_machine = this_machine;
    platform.write_out = write_out;
    const int status = run_report_program(arguments(), platform);
    if (probe_left_running) {
        std::fflush(nullptr);
        TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
    }
    return status;
}
