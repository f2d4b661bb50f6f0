// What a format can do, word by word: the Formats pages write each format's
// value as a list of capabilities, and the site counts and finds each one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "report/page_table.h"

// Whether the page's rows are formats whose values list capabilities.
bool lists_formats(page_id page);

// The capability words of a format's value, in its order: Direct3D's items
// as written ("render target"), its "MSAA x2 x4" as "MSAA x2" and "MSAA x4";
// Vulkan's optimal tiling bare ("sampled"), its linear tiling and buffers
// named ("linear: sampled", "buffer: vertex"). None for an absence word.
std::vector<std::string> format_words(std::string_view value);

// Whether the value has the word (letter case aside), as format_words reads it.
bool has_format_word(std::string_view value, std::string_view word);
