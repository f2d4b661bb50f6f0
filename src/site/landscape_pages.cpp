// The whole field at once, for people and in JSON: how common each row of a
// page is across the devices (a listing), and the statistics of devices and
// reports by vendor, API version and month.
#include "site/landscape_pages.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>

#include "report/value_format.h"
#include "site/answer.h"
#include "site/format_words.h"
#include "site/page_parts.h"
#include "site/request.h"

namespace {

using json = nlohmann::ordered_json;

bool is_section(const row_landscape& row) {
    return row.name == row.section && row.values.empty() && row.with == 0;
}

std::string lower_case(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return text;
}

// The rows whose names hold the text, letter case aside; a section stays
// where a row of it does.
std::vector<row_landscape> named_rows(const page_landscape& field, const std::string& text) {
    const std::string wanted = lower_case(text);
    std::vector<row_landscape> rows;
    for (const row_landscape& row : field.rows) {
        if (is_section(row)) {
            if (!rows.empty() && is_section(rows.back())) {
                rows.pop_back();
            }
            rows.push_back(row);
        } else if (lower_case(row.name).find(wanted) != std::string::npos) {
            rows.push_back(row);
        }
    }
    if (!rows.empty() && is_section(rows.back())) {
        rows.pop_back();
    }
    return rows;
}

// The page a listing asks for: its marker, and its group where one is named.
std::optional<page_id> listed_page(const site_request& request) {
    const std::optional<page_id> page = page_by_marker(request.get_param_value("page"));
    const std::string group = request.get_param_value("group");
    if (!page || (!group.empty() && group_of_key(group) != page_of(*page).group)) {
        return std::nullopt;
    }
    return page;
}

// Tabs of every group and page, each the listing of that page (of the
// vendor, on the platform).
std::string listing_tabs(const page_info& shown, const std::string& vendor, const std::string& platform) {
    std::string html = "<nav aria-label=\"Groups\"><ul class=\"tabs groups\">";
    for (int g = 0; g < group_count; ++g) {
        const auto group = static_cast<page_group>(g);
        const page_info& first = pages_of(group).front();
        html += "<li><a href=\"/listing" +
                query_of({{"page", first.marker}, {"vendor", vendor}, {"platform", platform}}) + "\"" +
                (group == shown.group ? " aria-current=\"true\"" : "") + ">" + group_caption(group) +
                "</a></li>";
    }
    html += "</ul></nav>\n<nav aria-label=\"Pages\"><ul class=\"tabs\">";
    for (const page_info& page : pages_of(shown.group)) {
        html += "<li><a href=\"/listing" +
                query_of({{"page", page.marker}, {"vendor", vendor}, {"platform", platform}}) + "\"" +
                (page.id == shown.id ? " aria-current=\"page\"" : "") + ">" + html_text(page.caption) +
                "</a></li>";
    }
    return html + "</ul></nav>\n";
}

void listing_index(const std::string& platform, site_response& response) {
    std::string html =
        "<h1>How common is each row?</h1>\n<form class=\"filters\" method=\"get\" action=\"/listing\">" +
        platform_select(platform) +
        "<button type=\"submit\">Show</button></form>\n<p>Every row of a page across all devices" +
        (platform.empty() ? "" : " in their reports" + read_on(platform)) +
        ": how many have it, and the values they give.</p>\n";
    for (int g = 0; g < group_count; ++g) {
        const auto group = static_cast<page_group>(g);
        html += "<h2>" + std::string(group_caption(group)) + "</h2>\n<ul class=\"pages\">";
        for (const page_info& page : pages_of(group)) {
            html += "<li><a href=\"" + listing_link(page, platform) + "\">" + html_text(page.caption) +
                    "</a></li>";
        }
        html += "</ul>\n";
    }
    show(response, 200,
         {"Listings", "Listings",
          "How common each Direct3D, OpenGL and Vulkan capability is across graphics adapters.", ""},
         html);
}

void listing_page(report_store& store, const site_request& request, site_response& response) {
    const listing_filter filter = listing_filter_of(request);
    if (!request.has_param("page")) {
        return listing_index(filter.platform, response);
    }
    const std::optional<page_id> chosen = listed_page(request);
    if (!chosen) {
        return answer_refusal(response, 404, "There is no such page to list.");
    }
    const page_info& page = page_of(*chosen);
    const std::string vendor = filter.vendor_id != 0 ? request.get_param_value("vendor") : "";
    const page_landscape field = store.landscape(page.group, page.id, filter.vendor_id, filter.platform);
    const std::vector<row_landscape> rows = named_rows(field, filter.text);
    const bool formats = lists_formats(page.id);
    const std::string title = std::string(group_caption(page.group)) + " \xE2\x80\x94 " + page.caption;
    std::string html = "<h1>How common is each row? " + html_text(title) + "</h1>\n";
    html +=
        "<form class=\"filters\" method=\"get\" action=\"/listing\" role=\"search\"><input type=\"hidden\" "
        "name=\"page\" value=\"" +
        std::string(page.marker) + "\">" + vendor_select(filter.vendor_id) +
        platform_select(filter.platform) + "<label>Row name <input type=\"search\" name=\"q\" value=\"" +
        html_text(filter.text) + "\"></label><button type=\"submit\">Show</button></form>\n";
    html += listing_tabs(page, vendor, filter.platform);
    html += "<p><strong>" + std::to_string(field.devices) + " devices</strong> report this page" +
            (filter.vendor_id != 0 ? " (of that vendor)" : "") +
            (filter.platform.empty() ? "" : " in reports" + read_on(filter.platform)) + ". " +
            (formats ? "Each format's capabilities, with the share of devices that have each."
                     : "Each row's most common values, with how many devices give each.") +
            "</p>\n";
    html += "<div class=\"table-wrap\"><table class=\"listing\">\n<caption>" + html_text(title) +
            "</caption>\n<thead><tr><th scope=\"col\">Name</th><th scope=\"col\">Devices</th><th "
            "scope=\"col\" class=\"share\">Share</th>" +
            (formats ? "<th scope=\"col\">What devices can do with it</th>"
                     : "<th scope=\"col\">Values (devices)</th><th scope=\"col\">Lowest</th><th "
                       "scope=\"col\">Highest</th>") +
            "</tr></thead>\n<tbody>\n";
    const std::string columns = formats ? "4" : "6";
    for (const row_landscape& row : rows) {
        if (is_section(row)) {
            html += "<tr class=\"section\"><th scope=\"rowgroup\" colspan=\"" + columns + "\">" +
                    html_text(row.name) + "</th></tr>\n";
            continue;
        }
        html += "<tr><th scope=\"row\"><a href=\"" + coverage_link(page, row.name, {}, filter.platform) +
                "\">" + html_text(row.name) + "</a></th><td>" + std::to_string(row.with) +
                "</td><td class=\"share\">" + share_bar(row.with, field.devices) +
                "</td><td class=\"values\">";
        for (size_t v = 0; v < row.values.size(); ++v) {
            const value_count& each = row.values[v];
            // A format's words are the site's own; a value is what a report said.
            html += (v == 0 ? "" : ", ") +
                    (formats ? html_text(each.value) + " <small>" + percent_text(each.devices, field.devices)
                             : "<bdi>" + html_text(shortened(readable_number_text(each.value), 80)) +
                                   "</bdi> <small>" + std::to_string(each.devices)) +
                    "</small>";
        }
        html += "</td>";
        if (!formats) {
            html += "<td>" + html_text(readable_number_text(row.lowest)) + "</td><td>" +
                    html_text(readable_number_text(row.highest)) + "</td>";
        }
        html += "</tr>\n";
    }
    html += "</tbody>\n</table></div>\n";
    show(response, 200,
         {"How common is each row? " + title, "Listings",
          "How many graphics adapters have each row of " + title + ", and the values they give.",
          "/api/listing" + query_of({{"group", group_key(page.group)},
                                     {"page", page.marker},
                                     {"vendor", vendor},
                                     {"platform", filter.platform},
                                     {"q", filter.text}})},
         html);
}

void get_listing(report_store& store, const site_request& request, site_response& response) {
    const std::optional<page_id> chosen = listed_page(request);
    if (!chosen) {
        return answer_refusal(response, 400,
                              "\"page\" is a page's marker, and \"group\" its group where given.");
    }
    const page_info& page = page_of(*chosen);
    const listing_filter filter = listing_filter_of(request);
    const page_landscape field = store.landscape(page.group, page.id, filter.vendor_id, filter.platform);
    json rows = json::array();
    for (const row_landscape& row : named_rows(field, filter.text)) {
        if (is_section(row)) {
            continue;
        }
        json values = json::array();
        for (const value_count& each : row.values) {
            values.push_back({{"value", each.value}, {"devices", each.devices}});
        }
        const double share =
            field.devices > 0 ? static_cast<double>(row.with) / static_cast<double>(field.devices) : 0;
        rows.push_back({{"section", row.section},
                        {"name", row.name},
                        {"with", row.with},
                        {"share", std::round(share * 10000) / 10000},
                        {"values", std::move(values)},
                        {"min", row.lowest.empty() ? json(nullptr) : json(row.lowest)},
                        {"max", row.highest.empty() ? json(nullptr) : json(row.highest)}});
    }
    json answer = {{"group", group_key(page.group)}, {"page", page.marker}};
    if (filter.vendor_id != 0) {
        answer["vendor_id"] = filter.vendor_id;
    }
    answer["platform"] = filter.platform.empty() ? json(nullptr) : json(filter.platform);
    answer["devices"] = field.devices;
    answer["rows"] = std::move(rows);
    response.set_content(answer.dump(2, ' ', false, json::error_handler_t::replace) + "\n",
                         "application/json; charset=utf-8");
}

// The devices a tally counts, on the Devices page: by vendor, level or version.
std::string devices_of(const char* parameter, const tally& counted, const std::string& platform) {
    const bool vendor = std::string(parameter) == "vendor";
    const std::string address = query_of(
        {{parameter, counted.key.empty() && !vendor ? "none" : counted.key}, {"platform", platform}});
    return address.empty() ? "/" : "/" + address;
}

std::string tally_table(const char* caption, const char* what, const char* parameter,
                        const std::vector<tally>& tallies, int64_t devices, const std::string& platform) {
    std::string html = "<div class=\"table-wrap\"><table class=\"statistics\">\n<caption>" +
                       std::string(caption) + "</caption>\n<thead><tr><th scope=\"col\">" + what +
                       "</th><th scope=\"col\">Devices</th><th scope=\"col\">Share of devices</th><th "
                       "scope=\"col\">Reports</th></tr></thead>\n<tbody>\n";
    for (const tally& counted : tallies) {
        const std::string label = counted.label.empty() ? "none" : counted.label;
        html += "<tr><th scope=\"row\">" + html_name(label) + "</th><td><a href=\"" +
                devices_of(parameter, counted, platform) + "\" aria-label=\"" +
                std::to_string(counted.devices) + " devices: " + html_text(label) + "\">" +
                std::to_string(counted.devices) + "</a></td><td class=\"share\">" +
                share_bar(counted.devices, devices) + "</td><td>" + std::to_string(counted.reports) +
                "</td></tr>\n";
    }
    return html + "</tbody>\n</table></div>\n";
}

void statistics_page(report_store& store, const site_request& request, site_response& response) {
    const std::string platform = listing_filter_of(request).platform;
    const field_statistics field = store.statistics(platform);
    std::string html = "<h1>Statistics</h1>\n<form class=\"filters\" method=\"get\" action=\"/statistics\">" +
                       platform_select(platform);
    const std::string devices_address = query_of({{"platform", platform}});
    html += "<button type=\"submit\">Show</button></form>\n<p><strong><a href=\"/" + devices_address + "\">" +
            std::to_string(field.devices) + " devices</a></strong> in <strong>" +
            std::to_string(field.reports) + " reports</strong>" + read_on(platform) +
            ". Each number of devices shows those devices.</p>\n";
    html += tally_table("Vendors", "Vendor", "vendor", field.vendors, field.devices, platform);
    html += tally_table("Direct3D feature levels", "Feature level", "d3d", field.direct3d, field.devices,
                        platform);
    html += tally_table("OpenGL versions", "Version", "gl", field.opengl, field.devices, platform);
    html += tally_table("Vulkan versions", "Version", "vk", field.vulkan, field.devices, platform);
    int64_t most = 0;
    for (const tally& month : field.months) {
        most = std::max(most, month.reports);
    }
    html +=
        "<div class=\"table-wrap\"><table class=\"statistics\">\n<caption>Reports received each "
        "month</caption>\n"
        "<thead><tr><th scope=\"col\">Month</th><th scope=\"col\">Reports</th><th scope=\"col\">Against the "
        "busiest month</th></tr></thead>\n<tbody>\n";
    for (const tally& month : field.months) {
        html += "<tr><th scope=\"row\">" + html_text(month.label) + "</th><td>" +
                std::to_string(month.reports) + "</td><td class=\"share\">" + share_bar(month.reports, most) +
                "</td></tr>\n";
    }
    html += "</tbody>\n</table></div>\n";
    show(response, 200,
         {"Statistics", "Statistics",
          "How many graphics adapters Cavio's users reported, by vendor, Direct3D feature level, OpenGL and "
          "Vulkan "
          "version, and month.",
          "/api/statistics" + devices_address},
         html);
}

json tallies_json(const std::vector<tally>& tallies, const char* key) {
    json list = json::array();
    for (const tally& counted : tallies) {
        list.push_back({{key, counted.key.empty() ? json(nullptr) : json(counted.key)},
                        {"name", counted.label},
                        {"devices", counted.devices},
                        {"reports", counted.reports}});
    }
    return list;
}

void get_statistics(report_store& store, const site_request& request, site_response& response) {
    const std::string platform = listing_filter_of(request).platform;
    const field_statistics field = store.statistics(platform);
    json months = json::array();
    for (const tally& month : field.months) {
        months.push_back({{"month", month.key}, {"reports", month.reports}});
    }
    const json answer = {{"platform", platform.empty() ? json(nullptr) : json(platform)},
                         {"devices", field.devices},
                         {"reports", field.reports},
                         {"vendors", tallies_json(field.vendors, "vendor_id")},
                         {"direct3d", tallies_json(field.direct3d, "level")},
                         {"opengl", tallies_json(field.opengl, "version")},
                         {"vulkan", tallies_json(field.vulkan, "version")},
                         {"months", std::move(months)}};
    response.set_content(answer.dump(2, ' ', false, json::error_handler_t::replace) + "\n",
                         "application/json; charset=utf-8");
}

}  // namespace

void install_landscape(route_table& routes, report_store& store) {
    const auto route = [&store](store_handler handler) { return with_store(store, handler); };
    routes.get("/listing", route(listing_page));
    routes.get("/api/listing", route(get_listing));
    routes.get("/statistics", route(statistics_page));
    routes.get("/api/statistics", route(get_statistics));
}
