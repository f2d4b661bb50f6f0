// cavio-report: the report that the viewer would submit, printed to standard
// output, for a bug report or a forum post.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <exception>

#include "app/version.h"
#include "probe/capture.h"
#include "refdata/pci_names.h"
#include "report/report.h"
#include "submit/report_json.h"
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
    startup_capture capture;
    try {
        capture = capture_startup();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cavio-report: %s\n", error.what());
        return 1;
    }
    const direct3d_probe* direct3d = capture.direct3d.get();
    // A header alone would read as a machine without graphics adapters.
    if (direct3d->count == 0) {
        std::fputs("cavio-report: no Direct3D adapter could be read\n", stderr);
        return 1;
    }
    // Byte for byte: the report's lines end with CR LF already, the JSON's
    // with LF.
    _setmode(_fileno(stdout), _O_BINARY);
    report pages;
    if (json) {
        return write_all(
                   report_json(pages, *direct3d, capture.opengl.get(), "cavio-report", file_version_text()))
                   ? 0
                   : 1;
    }
    build_submission_text(pages, *direct3d, capture.opengl.get());
    return write_all(pages.submission_text) ? 0 : 1;
}
