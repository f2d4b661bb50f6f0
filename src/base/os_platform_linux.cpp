// Linux as it says itself: the distribution's name and version from
// /etc/os-release, the kernel's release from uname.
#include "base/os_platform.h"

#include <sys/utsname.h>

#include <fstream>

namespace {

// A value of os-release, without its quotes.
std::string unquoted(std::string value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

os_platform this_os_platform() {
    os_platform platform;
    platform.os = "Linux";
    std::string name;
    std::string version;
    std::ifstream release("/etc/os-release");
    for (std::string line; std::getline(release, line);) {
        if (line.starts_with("NAME=")) {
            name = unquoted(line.substr(5));
        } else if (line.starts_with("VERSION=")) {
            version = unquoted(line.substr(8));
        }
    }
    platform.version = version.empty() ? name : name + " " + version;
    utsname system{};
    if (uname(&system) == 0) {
        platform.kernel = system.release;
    }
    return platform;
}
