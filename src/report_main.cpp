// cavio-report: the report that the viewer would submit, printed to standard
// output, for a bug report or a forum post.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/version.h"
#include "probe/capture.h"
#include "refdata/pci_names.h"
#include "report/report_builder.h"
#include "report/report_json.h"
#include "submit/submission.h"

namespace {

constexpr char usage[] =
    "Usage: cavio-report [--json] [--help]\n"
    "Captures every display adapter through DXGI, Direct3D and OpenGL, as the Cavio viewer does at start,\n"
    "and writes the viewer's whole report to standard output.\n"
    "\n"
    "  --json   the report as one JSON document in UTF-8: every page of every adapter, row by row\n"
    "  --help   this text\n"
    "\n"
    "What the capture could not read is said on standard error, one line each.\n"
    "Exit status: 0 done, 1 no Direct3D adapter could be read, 2 a usage error.\n";

bool write_all(const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    bool json = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(usage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--json") == 0) {
            json = true;
        } else {
            std::fprintf(stderr, "cavio-report: unknown option %s\n%s", argv[i], usage);
            return 2;
        }
    }
    init_reference_data();
    const report_document document = build_report(capture_startup());
    // What could not be read goes to standard error, never into the report.
    for (const std::string& problem : document.problems) {
        std::fprintf(stderr, "cavio-report: %s\n", problem.c_str());
    }
    // A header alone would read as a machine without graphics adapters.
    if (document.adapters.empty()) {
        std::fputs("cavio-report: no Direct3D adapter could be read\n", stderr);
        return 1;
    }
    // Byte for byte: the report's lines end with CR LF already, the JSON's
    // with LF.
    _setmode(_fileno(stdout), _O_BINARY);
    return write_all(json ? report_json(document, "cavio-report", file_version_text())
                          : submission_text(document))
               ? 0
               : 1;
}
