// One sentence for each member of the Vulkan structures the pages show, by
// the member's published name: the data the Vulkan tables take their
// descriptions from.
#pragma once

#include <span>
#include <string_view>

// A member's description, by the member's published name.
struct vk_description {
    std::string_view member;
    const char* text;
};

// Every member's sentence, the core structures' first, the extensions' last.
std::span<const std::span<const vk_description>> vk_member_descriptions();
