// How a failing test prints a probe's reason.
#pragma once

#include <ostream>

#include "probe/records.h"

inline void PrintTo(const probe_reason& reason, std::ostream* out) {
    *out << "{" << reason.adapter << ", \"" << reason.text << "\"}";
}
