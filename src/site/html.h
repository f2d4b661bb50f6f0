// Writing the site's pages: every text escaped where it goes, one frame with
// landmarks around each page, and the stylesheet.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Text for element content and quoted attributes: & < > " ' as references.
std::string html_text(std::string_view text);

// At most most characters of a UTF-8 text, an ellipsis standing for the rest.
std::string shortened(std::string_view text, size_t most = 120);

// A name a report gave, for a list or a heading: shortened, escaped, and in
// <bdi>, so that no right-to-left override in it turns the text around it.
std::string html_name(std::string_view text, size_t most = 120);

// A query value or a path segment: every byte but letters, digits and -._~:
// as %XX.
std::string url_value(std::string_view text);

// "?a=1&amp;b=x" from name and value pairs, the values escaped, empty ones
// left out; ready for an href attribute.
std::string query_of(const std::vector<std::pair<std::string, std::string>>& parameters);

// What frames a page: its title, the navigation entry it stands under, the
// sentence search engines show for it, and the address of the same data in
// JSON (none: the footer names none).
struct page_frame {
    std::string title;
    std::string current;
    std::string description;
    std::string json;
};

// The whole document: the head with its title, description, icon and the
// stylesheet, a banner with the site's navigation, the main content, and
// the footer.
std::string html_page(const page_frame& frame, std::string_view main);

// The site's one stylesheet: the viewer's palette, light and dark.
const std::string& site_stylesheet();
