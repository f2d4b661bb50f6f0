// The readers of a request's parameters, and routes bound to the store.
#include "site/request.h"

#include <algorithm>
#include <charconv>

namespace {

const char* const group_keys[] = {"directx", "opengl", "vulkan"};

}  // namespace

std::optional<int64_t> report_number(std::string_view text) {
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text.size() > 12 || error != std::errc() || end != text.data() + text.size() ||
        value <= 0) {
        return std::nullopt;
    }
    return value;
}

std::optional<size_t> place_number(std::string_view text) {
    size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text.size() > 6 || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<uint32_t> vendor_id_of(std::string_view text) {
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
    }
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || text.size() > 4 || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<page_group> group_of_key(std::string_view key) {
    for (int g = 0; g < group_count; ++g) {
        if (key == group_keys[g]) {
            return static_cast<page_group>(g);
        }
    }
    return std::nullopt;
}

const char* group_key(page_group group) {
    return group_keys[static_cast<int>(group)];
}

std::string device_key_of(const std::string& matched) {
    std::string key = matched;
    if (!key.starts_with("name:")) {
        std::transform(key.begin(), key.end(), key.begin(),
                       [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    }
    return key;
}

listing_filter listing_filter_of(const site_request& request) {
    listing_filter filter;
    filter.vendor_id = vendor_id_of(request.get_param_value("vendor")).value_or(0);
    filter.text = request.get_param_value("q").substr(0, 200);
    filter.api =
        group_of_key(request.get_param_value("api")) ? request.get_param_value("api") : std::string();
    // A level or version: digits, points and underscores, or "none".
    const auto level = [&](const char* name) {
        std::string value = request.get_param_value(name).substr(0, 16);
        return value == "none" || value.find_first_not_of("0123456789._") == std::string::npos
                   ? value
                   : std::string();
    };
    std::string platform = request.get_param_value("platform").substr(0, 16);
    std::transform(platform.begin(), platform.end(), platform.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    filter.platform = platform == "windows" || platform == "linux" ? platform : std::string();
    filter.d3d = level("d3d");
    filter.gl = level("gl");
    filter.vk = level("vk");
    const std::string sort = request.get_param_value("sort");
    filter.sort = sort == "name" || sort == "vendor" || sort == "reports" ? sort : std::string();
    filter.page = static_cast<int>(
        std::clamp<int64_t>(report_number(request.get_param_value("page")).value_or(1), 1, 100000));
    return filter;
}

route_handler with_store(report_store& store, store_handler handler) {
    return [&store, handler](const site_request& request, site_response& response) {
        handler(store, request, response);
    };
}
