// The operating system a report was read on, as the system itself says it
// (never from the program's manifest, which makes Windows answer older
// versions).
#pragma once

#include <string>

struct os_platform {
    std::string os;       // "Windows", "Linux"
    std::string version;  // "Windows 10 Pro 22H2"; "Debian GNU/Linux 12 (bookworm)"
    std::string kernel;   // "10.0.19045"; "6.1.0-27-amd64"
    bool operator==(const os_platform&) const = default;
};

// This machine's.
os_platform this_os_platform();
