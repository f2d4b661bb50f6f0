// zlib's deflate for what the store keeps, gzip for what the site sends.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The bytes deflated (zlib's format, level 6).
std::string deflated(std::string_view bytes);
// What deflated made, back; none for bytes it did not make, or for more than
// limit bytes.
std::optional<std::string> inflated(std::string_view bytes, size_t limit);

// The bytes in gzip's format, for Content-Encoding; empty where zlib fails.
std::string gzipped(const std::string& bytes);
