// cavio-report's options and what each does, the same on Windows and on
// Linux: each platform's entry point says how this machine is read and where
// the output goes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "report/document.h"

struct report_program_platform {
    const char* usage = "";    // what --help prints
    std::string version;       // "1.0.0.0"
    std::string nothing_read;  // said where the capture read no adapter
    bool submission = true;    // whether --submission is offered (the site's text of DirectX pages)
    // This machine's report; says what the capture could not read itself.
    std::function<report_document()> this_machine;
    // Writes text, byte for byte, to the file named or to standard output
    // (output empty); false, having said why, where it cannot.
    std::function<bool(const std::string& text, const std::string& output)> write_out;
};

// One line on standard error, in the style of every line the program says
// there: "cavio-report: " and one sentence without its full stop.
void say(std::string sentence);

// Runs the program on its arguments (without the program's name) and
// answers its exit status: 0 done, 1 nothing read (or the reports differ,
// or the site refused), 2 a usage error, a file refused or output that
// cannot be written.
int run_report_program(const std::vector<std::string>& args, const report_program_platform& platform);
