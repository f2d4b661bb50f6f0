// What is left of the shared routines for the window alone: the program's
// own version.
#pragma once

#include <string>

// The running program's file version as "a.b.c.d" from its version
// resource; empty when the program has none or it cannot be read.
std::string file_version_text();
