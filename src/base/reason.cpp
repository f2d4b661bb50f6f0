// The failure vocabulary's helpers: status codes as text, table errors.
#include "base/reason.h"

#include <cstdio>
#include <cstdlib>

std::string status_code_text(int32_t status) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(status));
    return text;
}

void table_error(const char* what) {
    std::fprintf(stderr, "a constant table is wrong: %s\n", what);
    std::abort();
}
