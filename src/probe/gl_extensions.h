// The fixed list of OpenGL and WGL extensions that the probe checks and the
// Extensions page shows, in 22 vendor groups.
#pragma once

#include <span>
#include <string>

inline constexpr int known_extension_count = 287;
inline constexpr int known_extension_group_count = 22;

struct gl_extension {
    const char* name;          // as searched for in the extension texts
    const char* display_name;  // as shown on the Extensions page
};

struct gl_extension_group {
    const char* tag;          // the section row is "[" + tag + "]"
    const char* description;  // the section row's description; may be empty
    int first;                // index of the group's first extension
    int count;
};

// True iff name is one of the blank-separated words of text (tabs and line
// breaks separate words too).
bool has_extension_word(const std::string& text, const char* name);

// All known extensions, in list order; a record's extension_flags follow it.
std::span<const gl_extension> known_extensions();

// The 22 groups, in list order.
std::span<const gl_extension_group> known_extension_groups();

// The extensions of one group, in list order.
std::span<const gl_extension> group_extensions(const gl_extension_group& group);
