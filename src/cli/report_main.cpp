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
#include "probe/capture.h"
#include "refdata/pci_names.h"
#include "report/compare.h"
#include "report/page_text.h"
#include "report/report_builder.h"
#include "base/build_info.h"
#include "report/report_json.h"
#include "submit/delivery.h"
#include "submit/site_address.h"
#include "submit/submission.h"

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

// One line on standard error, in the style of every line the program says
// there: "cavio-report: " and one sentence without its full stop.
void say(std::string sentence) {
    while (!sentence.empty() && (sentence.back() == '.' || sentence.back() == ' ')) {
        sentence.pop_back();
    }
    std::fprintf(stderr, "cavio-report: %s\n", sentence.c_str());
}

// One line that names what is wrong; the usage is a --help away.
int usage_error(const std::string& what) {
    say(what + "; see --help");
    return 2;
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

int report_main() {
    enum class output_kind { text, json, submission, compare, submit } kind = output_kind::text;
    std::string site = product_site_url;
    std::string output;
    std::vector<std::string> compared;
    const std::vector<std::string> args = arguments();
    std::vector<std::string> seen;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.starts_with("-") && std::find(seen.begin(), seen.end(), arg) != seen.end()) {
            return usage_error(arg + " is given twice");
        }
        seen.push_back(arg);
        if (arg == "--help" || arg == "-h" || arg == "/?") {
            std::fputs(usage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("cavio-report %s\n", file_version_text().c_str());
            return 0;
        }
        if (arg == "--json" || arg == "--submission") {
            if (kind != output_kind::text) {
                return usage_error("choose one of --json, --submission and --compare");
            }
            kind = arg == "--json" ? output_kind::json : output_kind::submission;
        } else if (arg == "--output") {
            if (i + 1 >= args.size()) {
                return usage_error("--output needs a file name");
            }
            output = args[++i];
        } else if (arg == "--submit") {
            if (kind != output_kind::text) {
                return usage_error("choose one of --json, --submission, --submit and --compare");
            }
            kind = output_kind::submit;
            if (i + 1 < args.size() && !args[i + 1].starts_with("--")) {
                site = args[++i];
                if (!is_plain_http_address(site)) {
                    return usage_error("--submit needs an address that starts http://, not " + site);
                }
            }
        } else if (arg == "--compare") {
            if (kind != output_kind::text) {
                return usage_error("choose one of --json, --submission and --compare");
            }
            kind = output_kind::compare;
            while (i + 1 < args.size() && !args[i + 1].starts_with("--") && compared.size() < 2) {
                compared.push_back(args[++i]);
            }
            if (compared.empty()) {
                return usage_error("--compare needs a saved report");
            }
        } else if (!arg.starts_with("-") && !arg.starts_with("/")) {
            return usage_error("unexpected argument " + arg);
        } else {
            return usage_error("unknown option " + arg);
        }
    }

    if (kind == output_kind::compare) {
        std::vector<report_document> documents;
        for (const std::string& path : compared) {
            result<report_document> read = read_report_file(path);
            if (!read) {
                say(read.why().sentence);
                return 2;
            }
            documents.push_back(std::move(*read));
        }
        if (documents.size() == 1) {
            documents.push_back(this_machine());
        }
        const std::vector<adapter_differences> differences = report_differences(documents[0], documents[1]);
        if (!write_out(differences_text(differences), output)) {
            return 2;
        }
        return differences.empty() ? 0 : 1;
    }

    const report_document document = this_machine();
    // A header alone would read as a machine without graphics adapters.
    if (document.adapters.empty()) {
        say("no Direct3D adapter could be read");
        return 1;
    }
    if (kind == output_kind::submit) {
        http_component http;
        const result<delivery> delivered =
            deliver(http, site, submission_text(document),
                    report_json(document, "cavio-report", file_version_text()));
        if (!delivered) {
            say(site + ": " + delivered.why().message());
            return 1;
        }
        std::printf("%s\n", delivered->address.empty() ? "sent (the site gives no address)"
                                                       : delivered->address.c_str());
        if (delivered->already) {
            say("the site already had this report");
        }
        return 0;
    }
    const std::string text = kind == output_kind::json
                                 ? report_json(document, "cavio-report", file_version_text())
                             : kind == output_kind::submission ? submission_text(document)
                                                               : document_text(document);
    return write_out(text, output) ? 0 : 2;
}

int main() {
    const int status = report_main();
    if (probe_left_running) {
        std::fflush(nullptr);
        TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
    }
    return status;
}
