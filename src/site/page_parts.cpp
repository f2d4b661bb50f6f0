// The parts the site's pages share.
#include "site/page_parts.h"

#include <algorithm>
#include <cstdio>

#include "report/page_table.h"
#include "site/answer.h"
#include "site/presence.h"

void show(site_response& response, int status, const page_frame& frame, const std::string& main) {
    response.status = status;
    response.set_content(html_page(frame, main), "text/html; charset=utf-8");
}

void not_found(site_response& response, const std::string& sentence) {
    answer_refusal(response, 404, sentence);
}

const char* value_class(const report_row& row) {
    switch (row.kind) {
        case row_kind::yes_no:
            return row.value == "yes" ? "yes" : "no";
        case row_kind::number:
            return counts_as_present(row.value) ? "number" : "zero";
        case row_kind::not_available:
            return "na";
        default:
            return "text";
    }
}

std::string coverage_link(const page_info& page, std::string_view name, std::string_view value,
                          const std::string& platform) {
    return "/coverage" + query_of({{"page", page.marker},
                                   {"name", std::string(name)},
                                   {"value", std::string(value)},
                                   {"platform", platform}});
}

std::string listing_link(const page_info& page, const std::string& platform) {
    return "/listing" + query_of({{"page", page.marker}, {"platform", platform}});
}

std::string platform_name(const std::string& platform) {
    return platform == "linux" ? "Linux" : platform == "windows" ? "Windows" : "";
}

std::string platform_select(const std::string& chosen) {
    std::string html = "<label>Platform <select name=\"platform\">";
    for (const std::string value : {"", "windows", "linux"}) {
        html += "<option value=\"" + value + "\"" + (chosen == value ? " selected" : "") + ">" +
                (value.empty() ? "Any platform" : platform_name(value)) + "</option>";
    }
    return html + "</select></label>";
}

std::string read_on(const std::string& platform) {
    return platform.empty() ? "" : " read on " + platform_name(platform);
}

std::string vendor_select(uint32_t chosen) {
    static const std::pair<uint32_t, const char*> vendors[] = {
        {0, "Any vendor"}, {0x10DE, "NVIDIA"}, {0x1002, "AMD"},      {0x8086, "Intel"},
        {0x10005, "Mesa"}, {0x106B, "Apple"},  {0x5143, "Qualcomm"}, {0x13B5, "ARM"}};
    std::string html = "<label>Vendor <select name=\"vendor\">";
    for (const auto& [id, name] : vendors) {
        char value[16];
        std::snprintf(value, sizeof value, "%x", id);
        html += "<option value=\"" + std::string(id == 0 ? "" : value) + "\"" +
                (id == chosen ? " selected" : "") + ">" + name + "</option>";
    }
    return html + "</select></label>";
}

std::string percent_text(int64_t with, int64_t all) {
    if (all <= 0) {
        return "0%";
    }
    const double percent = 100.0 * static_cast<double>(with) / static_cast<double>(all);
    char text[16];
    std::snprintf(text, sizeof text, percent >= 10 || percent == 0 ? "%.0f%%" : "%.1f%%", percent);
    return text;
}

std::string share_bar(int64_t with, int64_t all) {
    const int64_t share = all > 0 ? std::clamp<int64_t>(with * 100 / all, 0, 100) : 0;
    return "<meter min=\"0\" max=\"100\" value=\"" + std::to_string(share) +
           "\" aria-hidden=\"true\"></meter> " + percent_text(with, all);
}
