// The version resource of the running program, read back.
#include "base/file_version.h"

#include <windows.h>

#include <vector>

std::string file_version_text() {
    // Long enough for any path the loader accepts.
    std::vector<wchar_t> path(32768);
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) {
        return {};
    }
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.data(), &handle);
    if (size == 0) {
        return {};
    }
    std::vector<char> data(size);
    if (!GetFileVersionInfoW(path.data(), 0, size, data.data())) {
        return {};
    }
    void* value = nullptr;
    UINT value_size = 0;
    if (!VerQueryValueW(data.data(), L"\\", &value, &value_size) || value == nullptr ||
        value_size < sizeof(VS_FIXEDFILEINFO)) {
        return {};
    }
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(value);
    return std::to_string(HIWORD(info->dwFileVersionMS)) + "." +
           std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(info->dwFileVersionLS)) + "." +
           std::to_string(LOWORD(info->dwFileVersionLS));
}
