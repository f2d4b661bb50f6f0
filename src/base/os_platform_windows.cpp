// Windows as it says itself: its product name and release from the registry,
// its version and build from RtlGetVersion, which no manifest shims.
#include "base/os_platform.h"

#include <windows.h>

#include "base/text.h"

namespace {

std::string registry_text(const wchar_t* name) {
    wchar_t value[256] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", name,
                     RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
        return {};
    }
    return utf8_of(value);
}

}  // namespace

os_platform this_os_platform() {
    os_platform platform;
    platform.os = "Windows";
    platform.version = registry_text(L"ProductName");
    if (const std::string release = registry_text(L"DisplayVersion"); !release.empty()) {
        platform.version += " " + release;
    }
    using rtl_get_version_fn = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    const auto get_version = reinterpret_cast<rtl_get_version_fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    if (get_version != nullptr && get_version(&info) == 0) {
        platform.kernel = std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion) +
                          "." + std::to_string(info.dwBuildNumber);
    }
    return platform;
}
