// Reading a whole text file, for golden files and registries.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

// The file's text, lines ending "\n" on every system; empty when it cannot
// be read.
inline std::string read_text_file(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Writes text to the file byte for byte.
inline void write_text_file(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}
