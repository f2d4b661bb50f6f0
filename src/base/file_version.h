// The running program's own version, as its version resource says it
// (Windows only).
#pragma once

#include <string>

// The running program's file version as "a.b.c.d" from its version
// resource; empty when the program has none or it cannot be read.
std::string file_version_text();
