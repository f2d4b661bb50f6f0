// cavio-report on Linux: this machine's Vulkan devices and OpenGL context,
// read natively, as the same report the Windows program prints; or a saved
// report's differences from another.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/build_info.h"
#include "base/os_platform.h"
#include "cli/report_program.h"
#include "probe/gl_probe_linux.h"
#include "probe/vk_probe.h"
#include "refdata/pci_names.h"
#include "report/device_report.h"

namespace {

constexpr char usage[] =
    "Usage: cavio-report [--json] [--output FILE]\n"
    "       cavio-report --submit [URL]\n"
    "       cavio-report --compare A.json [B.json] [--output FILE]\n"
    "       cavio-report --version | --help\n"
    "Reads every Vulkan device through the system's loader and the OpenGL context EGL gives, as the Cavio\n"
    "viewer does on Windows, and prints the whole report as readable text: every page of every device, with\n"
    "descriptions.\n"
    "\n"
    "  --json           the report as one JSON document in UTF-8, the format the viewer saves and opens\n"
    "  --submit [URL]   send this machine's report to the site at URL (the product's site by default) and\n"
    "                   print where the site keeps it; 60 seconds at most\n"
    "  --output FILE    write to FILE instead of standard output\n"
    "  --compare A.json [B.json]\n"
    "                   the rows that differ between two saved reports, or between A.json and this\n"
    "                   machine, by device and page: \"name: A-value -> B-value\"\n"
    "  --version        the program's version\n"
    "  -h, --help       this text\n"
    "\n"
    "What could not be read is said on standard error, one line each.\n"
    "Exit status: 0 done (with --compare: the reports are equal), 1 no Vulkan device or OpenGL context "
    "could\n"
    "be read (with --compare: the reports differ; with --submit: the site refused the report or could not "
    "be\n"
    "reached), 2 a usage error, a file that is refused, or output that cannot be written.\n";

bool write_out(const std::string& text, const std::string& output) {
    if (output.empty()) {
        if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0) {
            return true;
        }
        say("standard output cannot be written");
        return false;
    }
    std::FILE* file = std::fopen(output.c_str(), "wb");
    bool written = file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int error = errno;
    if (file != nullptr && std::fclose(file) != 0) {
        written = false;
    }
    if (!written) {
        say(output + " cannot be written: " + std::strerror(error));
    }
    return written;
}

report_document this_machine() {
    init_reference_data();
    vk_probe vulkan;
    const vk_records devices = vulkan.take();
    const gl_records opengl = read_linux_opengl();
    report_document document = build_device_report(devices, opengl);
    document.platform = this_os_platform();
    for (const reason& problem : document.problems) {
        say(problem.text());
    }
    return document;
}

}  // namespace

int main(int argc, char** argv) {
    report_program_platform platform;
    platform.usage = usage;
    platform.version = program_version;
    platform.nothing_read = "no Vulkan device or OpenGL context could be read";
    platform.submission = false;
    platform.this_machine = this_machine;
    platform.write_out = write_out;
    return run_report_program(std::vector<std::string>(argv + 1, argv + argc), platform);
}
