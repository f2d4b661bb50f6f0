// A format's value read word by word.
#include "site/format_words.h"

#include <algorithm>

#include "site/presence.h"

namespace {

// The pieces of text between separators, empty ones left out.
std::vector<std::string_view> pieces(std::string_view text, std::string_view separator) {
    std::vector<std::string_view> found;
    while (!text.empty()) {
        const size_t end = text.find(separator);
        const std::string_view piece = text.substr(0, end);
        if (!piece.empty()) {
            found.push_back(piece);
        }
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + separator.size());
    }
    return found;
}

bool same_letters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

bool lists_formats(page_id page) {
    return page == page_id::dx_formats || page == page_id::vk_formats;
}

std::vector<std::string> format_words(std::string_view value) {
    std::vector<std::string> words;
    if (!counts_as_present(value)) {
        return words;
    }
    // Vulkan: "optimal: sampled, blend; linear: sampled; buffer: vertex".
    for (std::string_view part : pieces(value, "; ")) {
        std::string prefix;
        const size_t colon = part.find(": ");
        if (colon != std::string_view::npos && part.substr(0, colon).find(',') == std::string_view::npos) {
            const std::string_view tiling = part.substr(0, colon);
            prefix = tiling == "optimal" ? "" : std::string(tiling) + ": ";
            part.remove_prefix(colon + 2);
        }
        for (const std::string_view item : pieces(part, ", ")) {
            if (item.starts_with("MSAA x")) {
                for (const std::string_view count : pieces(item.substr(5), " ")) {
                    words.push_back(prefix + "MSAA " + std::string(count));
                }
            } else if (item != "none") {
                words.push_back(prefix + std::string(item));
            }
        }
    }
    return words;
}

bool has_format_word(std::string_view value, std::string_view word) {
    const std::vector<std::string> words = format_words(value);
    return std::any_of(words.begin(), words.end(),
                       [&](const std::string& each) { return same_letters(each, word); });
}
