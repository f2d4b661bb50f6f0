// A saved report read from a file, refused unread where it is too large.
#include <filesystem>
#include <fstream>
#include <system_error>

#include "report/json_format.h"
#include "report/report_json.h"

std::string report_file_name(const std::string& path) {
    const std::u8string name =
        std::filesystem::path(std::u8string(path.begin(), path.end())).filename().u8string();
    return {name.begin(), name.end()};
}

result<report_document> read_report_file(const std::string& path) {
    const std::filesystem::path file(std::u8string(path.begin(), path.end()));
    const std::string name = report_file_name(path);
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(file, error);
    if (error) {
        return refusal(name, name + " cannot be read: " + error.message() + ".");
    }
    if (size > largest_report_file) {
        return refusal(name, name + " is larger than 64 MiB.");
    }
    std::ifstream in(file, std::ios::binary);
    std::string text(static_cast<size_t>(size), '\0');
    if (!in.read(text.data(), static_cast<std::streamsize>(size))) {
        return refusal(name, name + " cannot be read.");
    }
    return read_report_json(text, name);
}
