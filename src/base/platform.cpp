// The platform helpers of the probes: libraries, entry points, status codes.
#include "base/platform.h"

#include <cstdint>
#include <string>

#include "base/text.h"

HMODULE load_library(const char* name) {
    // The names are ASCII: widened as they are.
    const std::wstring wide(name, name + std::char_traits<char>::length(name));
    HMODULE module = LoadLibraryW(wide.c_str());
    return reinterpret_cast<uintptr_t>(module) < 32 ? nullptr : module;
}

std::string system_error_words(DWORD error) {
    wchar_t* words = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<wchar_t*>(&words), 0, nullptr);
    std::string text = length > 0 ? utf8_of(std::wstring_view(words, length)) : std::string();
    LocalFree(words);
    text.erase(text.find_last_not_of(" .\r\n") + 1);
    return text.empty() ? "error" : text;
}
