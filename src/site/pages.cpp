// The site's pages in a browser: devices, a device, a report, a comparison
// and coverage. Server-rendered HTML; links and GET forms do all the work.
#include "site/pages.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <functional>
#include <map>
#include <utility>

#include "report/compare.h"
#include "site/answer.h"
#include "site/adapter_facts.h"
#include "site/api.h"
#include "site/favicon.h"
#include "site/format_words.h"
#include "site/presence.h"
#include "site/request.h"
#include "site/html.h"
#include "site/page_parts.h"
#include "report/value_format.h"

namespace {

// A page's rows as the viewer shows them, each name linking to its coverage.
std::string rows_table(const report_page& page, const std::string& caption) {
    const page_info& info = page.info();
    std::string html = "<div class=\"table-wrap\"><table>\n<caption>" + html_text(caption) +
                       "</caption>\n<thead><tr><th scope=\"col\">Name</th><th scope=\"col\">Value</th>"
                       "<th scope=\"col\" class=\"description\">Description</th></tr></thead>\n<tbody>\n";
    for (const report_row& row : page.rows) {
        if (row.kind == row_kind::blank) {
            continue;
        }
        if (row.kind == row_kind::section) {
            html += "<tr class=\"section\"><th scope=\"rowgroup\" colspan=\"3\">" + html_text(row.name) +
                    (row.value.empty() ? "" : " " + html_text(row.value)) + "</th></tr>\n";
            continue;
        }
        html += "<tr><th scope=\"row\">";
        html += row.name.empty()
                    ? ""
                    : "<a href=\"" + coverage_link(info, row.name) + "\">" + html_text(row.name) + "</a>";
        html += "</th><td class=\"" + std::string(value_class(row)) + "\">" +
                html_text(readable_number_text(row.value)) + "</td><td class=\"description\">" +
                html_text(row.description) + "</td></tr>\n";
    }
    return html + "</tbody>\n</table></div>\n";
}

std::string api_versions(const std::string& d3d, const std::string& gl, const std::string& vk) {
    return "<td>" + html_text(d3d) + "</td><td>" + html_text(gl) + "</td><td>" + html_text(vk) + "</td>";
}

// "2026-12-09T13:33:45Z" as "2026-12-09 13:33", which a narrow table can wrap.
std::string received_text(const std::string& received) {
    return received.size() >= 16 && received[10] == 'T'
               ? received.substr(0, 10) + " " + received.substr(11, 5)
               : received;
}

// The system a report was read on, as its page says it: "Linux: Debian
// GNU/Linux 12 (bookworm), kernel 6.1.0-27-amd64"; "Windows" for one that
// does not say.
std::string platform_text(const report_document& document) {
    const os_platform& platform = document.platform;
    std::string text = html_text(platform_os(document));
    if (!platform.version.empty()) {
        text += ": " + html_text(platform.version);
    }
    if (!platform.kernel.empty()) {
        text += std::string(platform.version.empty() ? ": " : ", ") +
                (platform.os == "Windows" ? "version " : "kernel ") + html_text(platform.kernel);
    }
    return text;
}

// "Linux, Windows": the platforms of a device's reports.
std::string platforms_text(const std::vector<std::string>& platforms) {
    std::string text;
    for (const std::string& platform : platforms) {
        text += (text.empty() ? "" : ", ") + html_text(platform);
    }
    return text;
}

// The devices filter's parameters as given, to carry into other links.
std::vector<std::pair<std::string, std::string>> devices_query(const site_request& request,
                                                               const listing_filter& filter) {
    return {{"vendor", filter.vendor_id != 0 ? request.get_param_value("vendor") : ""},
            {"api", filter.api},
            {"platform", filter.platform},
            {"d3d", filter.d3d},
            {"gl", filter.gl},
            {"vk", filter.vk},
            {"q", filter.text},
            {"sort", filter.sort}};
}

// Links to the pages of a listing: the first, the last, and those near the current one.
std::string page_numbers(int current, int64_t total, const std::function<std::string(int)>& address) {
    const int last =
        static_cast<int>(std::max<int64_t>(1, (total + listing_page_size - 1) / listing_page_size));
    if (last == 1) {
        return "";
    }
    std::string html = "<nav class=\"paging\" aria-label=\"Pages\"><ul>";
    if (current > 1) {
        html += "<li><a href=\"" + address(current - 1) + "\" rel=\"prev\">Previous</a></li>";
    }
    int shown = 0;
    for (int page = 1; page <= last; ++page) {
        if (page != 1 && page != last && std::abs(page - current) > 2) {
            if (shown != -1) {
                html += "<li aria-hidden=\"true\">\xE2\x80\xA6</li>";
                shown = -1;
            }
            continue;
        }
        shown = page;
        html += page == current
                    ? "<li><a aria-current=\"page\" href=\"" + address(page) + "\">" + std::to_string(page) +
                          "</a></li>"
                    : "<li><a href=\"" + address(page) + "\">" + std::to_string(page) + "</a></li>";
    }
    if (current < last) {
        html += "<li><a href=\"" + address(current + 1) + "\" rel=\"next\">Next</a></li>";
    }
    return html + "</ul></nav>\n";
}

void devices_page(report_store& store, const site_request& request, site_response& response) {
    const listing_filter filter = listing_filter_of(request);
    const listing<device_entry> listed = store.devices(filter);
    std::string html =
        "<h1>Devices</h1>\n<form class=\"filters\" method=\"get\" action=\"/\" role=\"search\">" +
        vendor_select(filter.vendor_id) + "<label>API <select name=\"api\">";
    for (const auto& [value, name] : {std::pair{"", "Any API"}, std::pair{"directx", "Direct3D 11/12"},
                                      std::pair{"opengl", "OpenGL"}, std::pair{"vulkan", "Vulkan"}}) {
        html += "<option value=\"" + std::string(value) + "\"" + (filter.api == value ? " selected" : "") +
                ">" + name + "</option>";
    }
    html += "</select></label>" + platform_select(filter.platform) +
            "<label>Name <input type=\"search\" name=\"q\" value=\"" + html_text(filter.text) +
            "\"></label><label>Sorted by <select name=\"sort\">";
    for (const auto& [value, name] :
         {std::pair{"", "Newest report"}, std::pair{"name", "Name"}, std::pair{"vendor", "Vendor"},
          std::pair{"reports", "Number of reports"}}) {
        html += "<option value=\"" + std::string(value) + "\"" + (filter.sort == value ? " selected" : "") +
                ">" + name + "</option>";
    }
    html += "</select></label>";
    // The level and version a statistic's link chose stay chosen.
    for (const auto& [name, value] :
         {std::pair{"d3d", &filter.d3d}, std::pair{"gl", &filter.gl}, std::pair{"vk", &filter.vk}}) {
        if (!value->empty()) {
            html += "<input type=\"hidden\" name=\"" + std::string(name) + "\" value=\"" + html_text(*value) +
                    "\">";
        }
    }
    html += "<button type=\"submit\">Show</button></form>\n";
    std::string chosen;
    for (const auto& [what, value] : {std::pair{"Direct3D ", &filter.d3d}, std::pair{"OpenGL ", &filter.gl},
                                      std::pair{"Vulkan ", &filter.vk}}) {
        if (!value->empty()) {
            chosen += std::string(chosen.empty() ? " with " : " and ") + what + html_text(*value);
        }
    }
    const char* order = filter.sort == "name"      ? "by name"
                        : filter.sort == "vendor"  ? "by vendor"
                        : filter.sort == "reports" ? "the most reports first"
                                                   : "the newest report first";
    const std::string where = filter.platform.empty() ? "" : " reported on " + platform_name(filter.platform);
    html += "<p>" + std::to_string(listed.total) + " devices" + where + chosen + ", " + order + ".</p>\n";
    html +=
        "<div class=\"table-wrap\"><table class=\"compact\">\n<caption>Devices</caption>\n<thead><tr><th "
        "scope=\"col\">Device</th>"
        "<th scope=\"col\">Vendor</th><th scope=\"col\">Platform</th><th scope=\"col\">Newest driver</th>"
        "<th scope=\"col\">Direct3D</th><th scope=\"col\">OpenGL</th><th scope=\"col\">Vulkan</th><th "
        "scope=\"col\">Reports</th></tr></thead>\n"
        "<tbody>\n";
    for (const device_entry& device : listed.items) {
        html += "<tr><th scope=\"row\"><a href=\"/devices/" + url_value(device.key) + "\">" +
                html_name(device.name) + "</a></th><td>" + html_name(device.vendor) + "</td><td>" +
                platforms_text(device.platforms) + "</td><td>" + html_name(device.driver_version) + "</td>" +
                api_versions(device.d3d_level, device.gl_version, device.vk_version) + "<td>" +
                std::to_string(device.reports) + "</td></tr>\n";
    }
    html += "</tbody>\n</table></div>\n";
    const auto query = devices_query(request, filter);
    html += page_numbers(filter.page, listed.total, [&](int page) {
        auto with_page = query;
        with_page.emplace_back("page", page == 1 ? "" : std::to_string(page));
        const std::string address = query_of(with_page);
        return address.empty() ? std::string("/") : "/" + address;
    });
    auto json = query;
    json.emplace_back("page", filter.page == 1 ? "" : std::to_string(filter.page));
    show(response, 200,
         {"Devices", "Devices",
          "Every graphics adapter that Cavio's users reported, with its newest driver and its Direct3D, "
          "OpenGL "
          "and Vulkan versions.",
          "/api/devices" + query_of(json)},
         html);
}

void device_page(report_store& store, const site_request& request, site_response& response) {
    std::string key = device_key_of(request.matches[1]);
    const std::optional<device_entry> device = store.device(key);
    if (!device) {
        return not_found(response, "No report names this device.");
    }
    key = device->key;  // as the reports spell it
    std::string html = "<h1>" + html_name(device->name) + "</h1>\n<dl class=\"facts\"><dt>Vendor</dt><dd>" +
                       html_name(device->vendor) + "</dd><dt>Identifiers</dt><dd>" + html_name(device->key) +
                       "</dd><dt>Platforms</dt><dd>" + platforms_text(device->platforms) +
                       "</dd><dt>Reports</dt><dd>" + std::to_string(device->reports) + "</dd></dl>\n";
    const std::vector<listed_report> reports = store.device_reports(key);
    const bool comparable = reports.size() > 1;
    html += comparable ? "<form method=\"get\" action=\"/compare\">\n" : "";
    html +=
        "<div class=\"table-wrap\"><table class=\"compact\">\n<caption>Reports by platform and driver "
        "version, "
        "the newest first</caption>\n"
        "<thead><tr><th scope=\"col\">Report</th><th scope=\"col\">Platform</th><th scope=\"col\">Driver</th>"
        "<th scope=\"col\">Received</th>"
        "<th scope=\"col\">Direct3D</th><th scope=\"col\">OpenGL</th><th scope=\"col\">Vulkan</th>" +
        std::string(comparable ? "<th scope=\"col\">Compare</th>" : "") + "</tr></thead>\n<tbody>\n";
    for (size_t i = 0; i < reports.size(); ++i) {
        const listed_report& report = reports[i];
        const auto own = std::find_if(report.adapters.begin(), report.adapters.end(),
                                      [&](const adapter_facts& a) { return a.device_key == key; });
        const adapter_facts& facts = own != report.adapters.end() ? *own : report.adapters.at(0);
        const std::string id = std::to_string(report.id);
        html += "<tr><th scope=\"row\"><a href=\"/reports/" + id + "\">Report " + id + "</a></th><td>" +
                html_text(report.platform) + "</td><td>" + html_name(facts.driver_version) + "</td><td>" +
                html_text(received_text(report.received)) + "</td>" +
                api_versions(facts.d3d_level, facts.gl_version, facts.vk_version);
        if (comparable) {
            html += "<td><input type=\"checkbox\" name=\"r\" value=\"" + id +
                    "\" aria-label=\"Compare report " + id + "\"" + (i < 2 ? " checked" : "") + "></td>";
        }
        html += "</tr>\n";
    }
    html += "</tbody>\n</table></div>\n";
    if (comparable) {
        html +=
            "<p><button type=\"submit\">Compare</button> the ticked reports (two to eight).</p>\n</form>\n";
    }
    show(response, 200,
         {shortened(device->name), "Devices",
          "What the " + shortened(device->name) +
              " offers through Direct3D, OpenGL and Vulkan, report by report "
              "and driver by driver.",
          "/api/devices/" + url_value(key)},
         html);
}

// The page of a report that a request asks for: its adapter, and the page by
// its marker (the first page the adapter has where the marker names none).
struct chosen_page {
    size_t adapter = 0;
    const report_page* page = nullptr;
};

chosen_page choose(const report_document& document, const site_request& request) {
    chosen_page chosen;
    // "adapter" counts from 0; any other text, or a number past the last, is the first.
    const size_t index = place_number(request.get_param_value("adapter")).value_or(0);
    chosen.adapter = index < document.adapters.size() ? index : 0;
    if (document.adapters.empty()) {
        return chosen;
    }
    const adapter_report& adapter = document.adapters[chosen.adapter];
    if (const std::optional<page_id> wanted = page_by_marker(request.get_param_value("page"))) {
        chosen.page = adapter.group(page_of(*wanted).group).page(*wanted);
    }
    for (const report_group& group : adapter.groups) {
        if (chosen.page == nullptr && !group.pages.empty()) {
            chosen.page = &group.pages.front();
        }
    }
    return chosen;
}

std::string report_tabs(const adapter_report& adapter, const std::string& base, const report_page& shown) {
    std::string html = "<nav aria-label=\"Groups\"><ul class=\"tabs groups\">";
    for (const report_group& group : adapter.groups) {
        if (group.pages.empty()) {
            continue;
        }
        const bool current = group.id == shown.info().group;
        html += "<li><a href=\"" + base + "&amp;page=" + std::string(group.pages.front().info().marker) +
                "\"" + (current ? " aria-current=\"true\"" : "") + ">" + group_caption(group.id) +
                "</a></li>";
    }
    html += "</ul></nav>\n<nav aria-label=\"Pages\"><ul class=\"tabs\">";
    for (const report_page& page : adapter.group(shown.info().group).pages) {
        html += "<li><a href=\"" + base + "&amp;page=" + std::string(page.info().marker) + "\"" +
                (&page == &shown ? " aria-current=\"page\"" : "") + ">" + html_text(page.info().caption) +
                "</a></li>";
    }
    html +=
        "<li class=\"aside\"><a href=\"" + listing_link(shown.info()) + "\">How common is each row?</a></li>";
    return html + "</ul></nav>\n";
}

void report_page_view(report_store& store, const site_request& request, site_response& response) {
    const std::optional<int64_t> id = report_number(request.matches[1]);
    const std::optional<stored_report> report = id ? store.report(*id) : std::nullopt;
    if (!report) {
        return answer_missing_report(store, id, response);
    }
    const std::string number = std::to_string(report->id);
    const chosen_page chosen = choose(report->document, request);
    std::string title = "Report " + number;
    std::string html;
    if (chosen.page == nullptr) {
        html = "<h1>" + title + "</h1>\n<p>This report holds no page.</p>\n";
        return show(response, 200, {title, "", "", "/api/reports/" + number}, html);
    }
    const adapter_report& adapter = report->document.adapters[chosen.adapter];
    const adapter_facts facts = adapter_facts_of(adapter);
    // The report's own page names its adapter whole.
    html = "<h1>" + html_text(title) + ": <bdi>" + html_text(adapter.description) +
           "</bdi></h1>\n<dl class=\"facts\"><dt>Device</dt><dd><a href=\"/devices/" +
           url_value(facts.device_key) + "\">" + html_name(facts.device_name) +
           "</a></dd><dt>Platform</dt><dd>" + platform_text(report->document) + "</dd><dt>Received</dt><dd>" +
           html_text(report->received) + "</dd><dt>Sent</dt><dd>" +
           (report->how == "legacy"
                ? std::string("by the viewer's Submit (its DirectX and OpenGL pages, names and values)")
            : report->how == "legacy+json"
                ? "by the viewer's Submit, whole (" + html_text(report->program) + " " +
                      html_text(report->version) + ")"
                : "as a saved report of " + html_text(report->program) + " " + html_text(report->version)) +
           "</dd><dt>Saved report</dt><dd><a href=\"/api/reports/" + number + "\" download=\"report-" +
           number + ".json\">Download</a> (the viewer opens it)</dd></dl>\n";
    html +=
        "<form class=\"filters\" method=\"get\" action=\"/compare\"><input type=\"hidden\" name=\"r\" "
        "value=\"" +
        number + "\">";
    if (const std::optional<int64_t> previous = store.previous_report(facts.device_key, report->id)) {
        html += "<a class=\"action\" href=\"/compare?r=" + std::to_string(*previous) + "&amp;r=" + number +
                "\">Compare with the previous report of this device</a>";
    }
    html +=
        "<label>Compare with report <input type=\"number\" name=\"r\" min=\"1\" required></label>"
        "<button type=\"submit\">Compare</button></form>\n";
    if (report->document.adapters.size() > 1) {
        html += "<form class=\"filters\" method=\"get\" action=\"/reports/" + number +
                "\"><label>Adapter <select name=\"adapter\">";
        for (size_t a = 0; a < report->document.adapters.size(); ++a) {
            html += "<option value=\"" + std::to_string(a) + "\"" + (a == chosen.adapter ? " selected" : "") +
                    ">" + html_text(shortened(report->document.adapters[a].description)) + "</option>";
        }
        html += "</select></label><input type=\"hidden\" name=\"page\" value=\"" +
                std::string(chosen.page->info().marker) + "\"><button type=\"submit\">Show</button></form>\n";
    }
    const std::string base = "/reports/" + number + "?adapter=" + std::to_string(chosen.adapter);
    html += report_tabs(adapter, base, *chosen.page);
    html += rows_table(*chosen.page, std::string(group_caption(chosen.page->info().group)) +
                                         " \xE2\x80\x94 " + chosen.page->info().caption);
    show(response, 200,
         {title + ": " + shortened(adapter.description), "",
          std::string(group_caption(chosen.page->info().group)) + " " + chosen.page->info().caption +
              " of the " + shortened(facts.device_name) + " with driver " + facts.driver_version +
              ", as Cavio reported it.",
          "/api/reports/" + number},
         html);
}

// The compare form, with room for eight report numbers.
std::string compare_form(const std::vector<int64_t>& numbers, bool only) {
    std::string html = "<form class=\"filters\" method=\"get\" action=\"/compare\">";
    for (size_t i = 0; i < most_compared; ++i) {
        html += "<label>Report " + std::to_string(i + 1) +
                " <input type=\"number\" class=\"number\" name=\"r\" min=\"1\"" +
                (i < numbers.size() ? " value=\"" + std::to_string(numbers[i]) + "\"" : std::string()) +
                (i < 2 ? " required" : "") + "></label>";
    }
    return html + "<label class=\"check\"><input type=\"checkbox\" name=\"only\" value=\"1\"" +
           (only ? " checked" : "") +
           "> Differences only</label><button type=\"submit\">Compare</button></form>\n";
}

void compare_page(report_store& store, const site_request& request, site_response& response) {
    const bool only = request.get_param_value("only") == "1";
    const compared_reports compared = reports_to_compare(store, request);
    if (compared.status != 200) {
        if (compared.status == 204) {
            return show(
                response, 200,
                {"Compare", "Compare", "Reports of graphics adapters side by side, their differences marked.",
                 ""},
                "<h1>Compare reports</h1>\n<p>Two to eight report numbers; each report's page also offers "
                "to compare it, and a device's page to tick any of its reports.</p>\n" +
                    compare_form({}, only));
        }
        return answer_refusal(response, compared.status, compared.refusal);
    }
    const std::vector<stored_report>& reports = compared.reports;
    std::vector<int64_t> numbers;
    std::string named;
    for (const stored_report& report : reports) {
        numbers.push_back(report.id);
        named += (named.empty() ? "" : ", ") + std::to_string(report.id);
    }
    const difference_count count = compared.count;
    std::string html = "<h1>Reports " + named + " compared</h1>\n<p><strong>" + std::to_string(count.rows) +
                       " rows differ on " + std::to_string(count.pages) + " pages.</strong></p>\n" +
                       compare_form(numbers, only);
    size_t adapters = 0;
    for (const stored_report& report : reports) {
        adapters = std::max(adapters, report.document.adapters.size());
    }
    const std::string columns = std::to_string(reports.size() + 1);
    for (size_t index = 0; index < adapters; ++index) {
        std::vector<const adapter_report*> sides;
        std::string heads;
        for (const stored_report& report : reports) {
            const adapter_report* adapter =
                index < report.document.adapters.size() ? &report.document.adapters[index] : nullptr;
            sides.push_back(adapter);
            const std::string id = std::to_string(report.id);
            heads += "<th scope=\"col\"><a href=\"/reports/" + id + "?adapter=" + std::to_string(index) +
                     "\">Report " + id + "</a>";
            if (adapter != nullptr) {
                const adapter_facts facts = adapter_facts_of(*adapter);
                heads += "<br>" + html_name(facts.device_name, 60) + "<br><span class=\"driver\">" +
                         html_name(facts.driver_version, 40) + "</span>";
            } else {
                heads += "<br>(no such adapter)";
            }
            heads += "</th>";
        }
        if (adapters > 1) {
            html += "<h2>Adapter " + std::to_string(index + 1) + "</h2>\n";
        }
        for (const page_info& info : page_table()) {
            std::vector<const report_page*> pages;
            for (const adapter_report* side : sides) {
                pages.push_back(side != nullptr ? side->group(info.group).page(info.id) : nullptr);
            }
            if (std::all_of(pages.begin(), pages.end(), [](const report_page* p) { return p == nullptr; })) {
                continue;
            }
            const std::vector<row_across> rows = compare_many_pages(pages);
            const bool differs =
                std::any_of(rows.begin(), rows.end(), [](const row_across& r) { return r.differs(); });
            if (only && !differs) {
                continue;
            }
            html += "<div class=\"table-wrap\"><table class=\"compared\">\n<caption>" +
                    std::string(group_caption(info.group)) + " \xE2\x80\x94 " + html_text(info.caption) +
                    "</caption>\n<thead><tr><th scope=\"col\">Name</th>" + heads + "</tr></thead>\n<tbody>\n";
            // A section shows where a row of it does.
            std::string section;
            for (const row_across& row : rows) {
                const report_row& named_row = row.named();
                if (named_row.kind == row_kind::section) {
                    section = "<tr class=\"section\"><th scope=\"rowgroup\" colspan=\"" + columns + "\">" +
                              html_text(named_row.name) + "</th></tr>\n";
                    continue;
                }
                if (named_row.kind == row_kind::blank || (only && !row.differs())) {
                    continue;
                }
                html += std::exchange(section, std::string());
                const bool missing = std::any_of(row.rows.begin(), row.rows.end(),
                                                 [](const report_row* r) { return r == nullptr; });
                html += std::string("<tr") +
                        (missing         ? " class=\"only\""
                         : row.differs() ? " class=\"differs\""
                                         : "") +
                        "><th scope=\"row\">" + html_text(named_row.name) + "</th>";
                for (const report_row* each : row.rows) {
                    html += each != nullptr ? "<td>" + html_text(readable_number_text(each->value)) + "</td>"
                                            : std::string("<td class=\"na\">(none)</td>");
                }
                html += "</tr>\n";
            }
            html += "</tbody>\n</table></div>\n";
        }
    }
    std::vector<std::pair<std::string, std::string>> json;
    for (const int64_t number : numbers) {
        json.emplace_back("r", std::to_string(number));
    }
    show(response, 200,
         {"Reports " + named + " compared", "Compare",
          "Reports " + named + " of Cavio side by side, their differences marked.",
          "/api/compare" + query_of(json)},
         html);
}

void coverage_page(report_store& store, const site_request& request, site_response& response) {
    const std::optional<page_id> chosen = page_by_marker(request.get_param_value("page"));
    const page_info* page = chosen ? &page_of(*chosen) : nullptr;
    std::string name = request.get_param_value("name").substr(0, 512);
    const std::optional<std::string> value =
        request.has_param("value") && !request.get_param_value("value").empty()
            ? std::optional(request.get_param_value("value"))
            : std::nullopt;
    const std::string platform = listing_filter_of(request).platform;
    std::string html =
        "<h1>Which devices have it?</h1>\n<form class=\"filters\" method=\"get\" action=\"/coverage\">"
        "<label>Page <select name=\"page\">";
    for (const page_info& each : page_table()) {
        html += "<option value=\"" + std::string(each.marker) + "\"" + (&each == page ? " selected" : "") +
                ">" + group_caption(each.group) + " \xE2\x80\x94 " + html_text(each.caption) + "</option>";
    }
    html += "</select></label><label>Row name <input name=\"name\" list=\"names\" value=\"" +
            html_text(name) +
            "\" required></label><label>Value (empty: any but no, none, not supported, not available, 0; on "
            "Formats pages a capability such as sampled) "
            "<input name=\"value\" value=\"" +
            html_text(value.value_or("")) + "\"></label>" + platform_select(platform) +
            "<button type=\"submit\">Show</button>\n<datalist id=\"names\">";
    if (page != nullptr) {
        for (const std::string& known : store.row_names(page->group, page->id, name.substr(0, 3), 200)) {
            html += "<option value=\"" + html_text(known) + "\">";
        }
    }
    html += "</datalist></form>\n";
    if (page == nullptr || name.empty()) {
        return show(response, 200,
                    {"Coverage", "Coverage",
                     "Which graphics adapters have a capability, and since which driver.", ""},
                    html + "<p>Choose a page and a row, or ask <a href=\"/listing" +
                        query_of({{"platform", platform}}) +
                        "\">how common each row of a page is</a>.</p>\n");
    }
    // The name as the reports spell it, where it was typed in another letter case.
    const auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
        return text;
    };
    for (const std::string& known : store.row_names(page->group, page->id, name, 20)) {
        if (lower(known) == lower(name)) {
            name = known;
            break;
        }
    }
    const std::vector<covered_device> covered =
        store.coverage({page->group, page->id, name, value}, platform);
    std::map<std::string, std::pair<int, int>> vendors;
    std::string with;
    std::string without;
    int having = 0;
    for (const covered_device& device : covered) {
        auto& count = vendors[device.device.vendor.empty() ? "Unknown vendor" : device.device.vendor];
        const std::string link = "<th scope=\"row\"><a href=\"/devices/" + url_value(device.device.key) +
                                 "\">" + html_name(device.device.name) + "</a></th><td>" +
                                 html_name(device.device.vendor) + "</td>";
        if (device.has) {
            ++count.first;
            ++having;
            with += "<tr>" + link + "<td>" + html_name(device.lowest_driver) + "</td></tr>\n";
        } else {
            ++count.second;
            without += "<tr>" + link + "<td>" + html_name(device.device.driver_version) + "</td></tr>\n";
        }
    }
    const std::string what = html_text(name) + (value ? " = " + html_text(*value) : "");
    std::string words;
    if (lists_formats(page->id)) {
        // Each capability of the format, to ask for alone.
        for (const value_count& word : store.row_words(page->group, page->id, name, platform)) {
            words += "<li><a href=\"" + coverage_link(*page, name, word.value, platform) + "\">" +
                     html_text(word.value) + "</a> " + std::to_string(word.devices) + "</li>";
        }
    }
    html += "<h2>" + std::string(group_caption(page->group)) + " \xE2\x80\x94 " + html_text(page->caption) +
            ": " + what + "</h2>\n<p><strong>" + std::to_string(having) + " of " +
            std::to_string(covered.size()) + " devices</strong> that report this page" +
            (platform.empty() ? "" : " in reports" + read_on(platform)) + " have it.</p>\n";
    if (!words.empty()) {
        html +=
            "<nav aria-label=\"Capabilities\"><p>What devices can do with it (devices):</p><ul "
            "class=\"words\">" +
            words + "</ul></nav>\n";
    }
    html +=
        "<div class=\"table-wrap\"><table>\n<caption>By vendor</caption>\n<thead><tr><th "
        "scope=\"col\">Vendor</th>"
        "<th scope=\"col\">With</th><th scope=\"col\">Without</th><th scope=\"col\">Share</th></tr></thead>\n"
        "<tbody>\n";
    for (const auto& [vendor, count] : vendors) {
        const int share = count.first * 100 / std::max(1, count.first + count.second);
        html += "<tr><th scope=\"row\">" + html_name(vendor) + "</th><td>" + std::to_string(count.first) +
                "</td><td>" + std::to_string(count.second) +
                "</td><td><meter min=\"0\" max=\"100\" value=\"" + std::to_string(share) +
                "\" aria-hidden=\"true\"></meter> " + std::to_string(share) + "%</td></tr>\n";
    }
    html += "</tbody>\n</table></div>\n";
    html +=
        "<div class=\"table-wrap\"><table>\n<caption>Devices with it</caption>\n<thead><tr><th "
        "scope=\"col\">Device"
        "</th><th scope=\"col\">Vendor</th><th scope=\"col\">Since driver</th></tr></thead>\n<tbody>\n" +
        with + "</tbody>\n</table></div>\n";
    html +=
        "<div class=\"table-wrap\"><table>\n<caption>Devices without it</caption>\n<thead><tr><th "
        "scope=\"col\">"
        "Device</th><th scope=\"col\">Vendor</th><th scope=\"col\">Newest "
        "driver</th></tr></thead>\n<tbody>\n" +
        without + "</tbody>\n</table></div>\n";
    show(response, 200,
         {"Coverage of " + name, "Coverage",
          "Which graphics adapters have " + name + " (" + group_caption(page->group) + " " + page->caption +
              "), and since which driver.",
          "/api/coverage" + query_of({{"group", group_key(page->group)},
                                      {"page", page->marker},
                                      {"name", name},
                                      {"value", value.value_or("")},
                                      {"platform", platform}})},
         html);
}

}  // namespace

void install_pages(route_table& routes, report_store& store) {
    const auto route = [&store](store_handler handler) { return with_store(store, handler); };
    routes.get("/", route(devices_page));
    routes.get(R"(/devices/([0-9a-fA-F]{4}:[0-9a-fA-F]{4}|name:[^/]{1,300}))", route(device_page));
    routes.get(R"(/reports/(\d{1,12}))", route(report_page_view));
    routes.get("/compare", route(compare_page));
    routes.get("/coverage", route(coverage_page));
    routes.get("/style.css", [](const site_request&, site_response& response) {
        response.set_header("Cache-Control", "max-age=3600");
        response.set_content(site_stylesheet(), "text/css; charset=utf-8");
    });
    routes.get("/favicon.ico", [](const site_request&, site_response& response) {
        response.set_header("Cache-Control", "max-age=86400");
        response.set_content(std::string(favicon_bytes()), "image/x-icon");
    });
    // Crawlers read the devices, reports, listings and statistics; the
    // endless combinations of comparisons and coverage, and the API, they leave.
    routes.get("/robots.txt", [](const site_request&, site_response& response) {
        response.set_header("Cache-Control", "max-age=86400");
        response.set_content(
            "User-agent: *\nDisallow: /api/\nDisallow: /compare\nDisallow: /coverage\n"
            "Disallow: /submitter.php\nAllow: /\n",
            "text/plain; charset=utf-8");
    });
}
