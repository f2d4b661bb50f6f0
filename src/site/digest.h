// Digests of reports and pages, and bytes as hex: what the store knows a
// report or a page again by.
#pragma once

#include <string>
#include <string_view>

#include "report/document.h"

// BLAKE2b (its first 256 bits) of the report's content, in hex: its
// adapters, which groups were read, and each page's rows (kind, name,
// value), whatever the identifier, time, program or descriptions.
std::string content_hash(const report_document& document);

// BLAKE2b (its first 256 bits) of everything a page holds (its id, and each
// row's kind, name, value, description and submitted value, and the order it
// was written in), in hex: two pages of equal hashes are the same page.
std::string page_hash(const report_page& page);

// SHA-256 of bytes, in hex.
std::string sha256_hex(std::string_view bytes);

// Bytes as lower-case hex, two digits each.
std::string hex_of(std::string_view bytes);
