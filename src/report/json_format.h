// What the saved report's writer and reader share: the names of row kinds
// and groups, and the checks of the text itself (UTF-8, nesting).
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "report/document.h"

inline constexpr std::array<const char*, 6> kind_names = {"text",   "section", "blank",
                                                          "yes_no", "number",  "not_available"};
static_assert(static_cast<size_t>(row_kind::not_available) + 1 == kind_names.size());

inline constexpr std::array<const char*, group_count> group_keys = {"directx", "opengl", "vulkan"};

// The byte offset of the first byte that starts no valid UTF-8 sequence, or
// npos where the whole text is UTF-8.
size_t first_invalid_utf8(const std::string& text);

// The deepest nesting of arrays and objects outside strings.
size_t nesting_depth(const std::string& text);

// A saved report nests seven deep: document, adapters, adapter, group, page,
// rows, row.
inline constexpr size_t deepest_nesting = 16;

// A saved report refused: the sentence names the file.
reason refusal(const std::string& name, const std::string& sentence);
