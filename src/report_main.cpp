// cavio-report: the report that the viewer would submit, printed to standard
// output, for a bug report or a forum post.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <exception>

#include "probe/probes.h"
#include "refdata/_consts.h"
#include "report/report.h"
#include "submit/submission.h"

namespace {

constexpr char usage[] =
    "Usage: cavio-report [--help]\n"
    "Captures every display adapter through DXGI, Direct3D and OpenGL, as the Cavio viewer does at start,\n"
    "and writes the viewer's whole report to standard output.\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        const bool help = argc == 2 && std::strcmp(argv[1], "--help") == 0;
        std::fputs(usage, help ? stdout : stderr);
        return help ? 0 : 2;
    }
    InitConsts();
    startup_capture capture;
    try {
        capture = capture_startup();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cavio-report: %s\n", error.what());
        return 1;
    }
    const tq3d* direct3d = capture.direct3d.get();
    // A header alone would read as a machine without graphics adapters.
    if (direct3d->count == 0) {
        std::fputs("cavio-report: no Direct3D adapter could be read\n", stderr);
        return 1;
    }
    report pages;
    BuildSubmissionText(pages, *direct3d, capture.opengl.get());

    // Byte for byte: the report's lines end with CR LF already.
    _setmode(_fileno(stdout), _O_BINARY);
    const std::string& text = pages.FSubmission;
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    return written && std::fflush(stdout) == 0 ? 0 : 1;
}
