// The site's pages in a browser: devices, a device, a report, a comparison
// and coverage. Server-rendered HTML; links and GET forms do all the work.
#include "site/pages.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <utility>

#include "report/compare.h"
#include "site/answer.h"
#include "site/api.h"
#include "site/presence.h"
#include "site/request.h"
#include "site/html.h"

namespace {

constexpr char html_type[] = "text/html; charset=utf-8";

void show(site_response& response, int status, std::string_view title, std::string_view current,
          const std::string& main) {
    response.status = status;
    response.set_content(html_page(title, current, main), html_type);
}

// A browser gets it as a page of the site, other clients as the sentence.
void not_found(site_response& response, const std::string& sentence) {
    answer_refusal(response, 404, sentence);
}

// The class that gives a value its colour, as the viewer paints it.
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

std::string coverage_link(const page_info& page, const std::string& name) {
    return "/coverage" + query_of({{"page", page.marker}, {"name", name}});
}

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
        html += "</th><td class=\"" + std::string(value_class(row)) + "\">" + html_text(row.value) +
                "</td><td class=\"description\">" + html_text(row.description) + "</td></tr>\n";
    }
    return html + "</tbody>\n</table></div>\n";
}

std::string api_versions(const std::string& d3d, const std::string& gl, const std::string& vk) {
    return "<td>" + html_text(d3d) + "</td><td>" + html_text(gl) + "</td><td>" + html_text(vk) + "</td>";
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
    html += "</select></label><label>Name <input type=\"search\" name=\"q\" value=\"" +
            html_text(filter.text) + "\"></label><button type=\"submit\">Show</button></form>\n";
    html += "<p>" + std::to_string(listed.total) + " devices, the newest report first.</p>\n";
    html +=
        "<div class=\"table-wrap\"><table>\n<caption>Devices</caption>\n<thead><tr><th "
        "scope=\"col\">Device</th>"
        "<th scope=\"col\">Vendor</th><th scope=\"col\">Newest driver</th><th scope=\"col\">Direct3D</th>"
        "<th scope=\"col\">OpenGL</th><th scope=\"col\">Vulkan</th><th "
        "scope=\"col\">Reports</th></tr></thead>\n"
        "<tbody>\n";
    for (const device_entry& device : listed.items) {
        html += "<tr><th scope=\"row\"><a href=\"/devices/" + url_value(device.key) + "\">" +
                html_name(device.name) + "</a></th><td>" + html_name(device.vendor) + "</td><td>" +
                html_name(device.driver_version) + "</td>" +
                api_versions(device.d3d_level, device.gl_version, device.vk_version) + "<td>" +
                std::to_string(device.reports) + "</td></tr>\n";
    }
    html += "</tbody>\n</table></div>\n<nav class=\"paging\" aria-label=\"Pages\">";
    const auto paged = [&](int page) {
        return "/" + query_of({{"vendor", request.get_param_value("vendor")},
                               {"api", filter.api},
                               {"q", filter.text},
                               {"page", std::to_string(page)}});
    };
    if (filter.page > 1) {
        html += "<a href=\"" + paged(filter.page - 1) + "\" rel=\"prev\">Newer devices</a>";
    }
    if (int64_t{filter.page} * listing_page_size < listed.total) {
        html += "<a href=\"" + paged(filter.page + 1) + "\" rel=\"next\">Older devices</a>";
    }
    show(response, 200, "Devices", "Devices", html + "</nav>\n");
}

void device_page(report_store& store, const site_request& request, site_response& response) {
    std::string key = request.matches[1];
    if (!key.starts_with("name:")) {
        // "10DE:2484" is "10de:2484".
        std::transform(key.begin(), key.end(), key.begin(),
                       [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    }
    const std::optional<device_entry> device = store.device(key);
    if (!device) {
        return not_found(response, "No report names this device.");
    }
    std::string html = "<h1>" + html_name(device->name) + "</h1>\n<dl class=\"facts\"><dt>Vendor</dt><dd>" +
                       html_name(device->vendor) + "</dd><dt>Identifiers</dt><dd>" + html_name(device->key) +
                       "</dd><dt>Reports</dt><dd>" + std::to_string(device->reports) + "</dd></dl>\n";
    html +=
        "<form method=\"get\" action=\"/compare\">\n<div class=\"table-wrap\"><table>\n<caption>Reports by "
        "driver "
        "version, the newest first</caption>\n<thead><tr><th scope=\"col\">Report</th><th "
        "scope=\"col\">Driver"
        "</th><th scope=\"col\">Received</th><th scope=\"col\">Direct3D</th><th scope=\"col\">OpenGL</th>"
        "<th scope=\"col\">Vulkan</th><th scope=\"col\">Compare as A</th><th scope=\"col\">as "
        "B</th></tr></thead>\n"
        "<tbody>\n";
    const std::vector<listed_report> reports = store.device_reports(key);
    for (size_t i = 0; i < reports.size(); ++i) {
        const listed_report& report = reports[i];
        const auto own = std::find_if(report.adapters.begin(), report.adapters.end(),
                                      [&](const adapter_facts& a) { return a.device_key == key; });
        const adapter_facts& facts = own != report.adapters.end() ? *own : report.adapters.at(0);
        const std::string id = std::to_string(report.id);
        html += "<tr><th scope=\"row\"><a href=\"/reports/" + id + "\">Report " + id + "</a></th><td>" +
                html_name(facts.driver_version) + "</td><td>" + html_text(report.received) + "</td>" +
                api_versions(facts.d3d_level, facts.gl_version, facts.vk_version) +
                "<td><input type=\"radio\" name=\"a\" value=\"" + id + "\" aria-label=\"Report " + id +
                " as A\"" + (i == 1 ? " checked" : "") +
                "></td><td><input type=\"radio\" name=\"b\" value=\"" + id + "\" aria-label=\"Report " + id +
                " as B\"" + (i == 0 ? " checked" : "") + "></td></tr>\n";
    }
    html += "</tbody>\n</table></div>\n<p><button type=\"submit\">Compare</button></p>\n</form>\n";
    show(response, 200, shortened(device->name), "Devices", html);
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
        return show(response, 200, title, "", html);
    }
    const adapter_report& adapter = report->document.adapters[chosen.adapter];
    // The report's own page names its adapter whole.
    html = "<h1>" + html_text(title) + ": <bdi>" + html_text(adapter.description) +
           "</bdi></h1>\n<dl class=\"facts\"><dt>Received</dt><dd>" + html_text(report->received) +
           "</dd><dt>Sent</dt><dd>" +
           (report->how == "legacy"
                ? std::string("by the viewer's Submit (its DirectX and OpenGL pages, names and values)")
            : report->how == "legacy+json"
                ? "by the viewer's Submit, whole (" + html_text(report->program) + " " +
                      html_text(report->version) + ")"
                : "as a saved report of " + html_text(report->program) + " " + html_text(report->version)) +
           "</dd><dt>Saved report</dt><dd><a href=\"/api/reports/" + number + "\" download=\"report-" +
           number + ".json\">Download</a> (the viewer opens it)</dd></dl>\n";
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
    show(response, 200, title + ": " + shortened(adapter.description), "", html);
}

void compare_page(report_store& store, const site_request& request, site_response& response) {
    const std::optional<int64_t> a = report_number(request.get_param_value("a"));
    const std::optional<int64_t> b = report_number(request.get_param_value("b"));
    const std::optional<stored_report> first = a ? store.report(*a) : std::nullopt;
    const std::optional<stored_report> second = b ? store.report(*b) : std::nullopt;
    if (!first || !second) {
        return not_found(response, "A comparison needs two kept reports, a and b.");
    }
    const bool only = request.get_param_value("only") == "1";
    const std::string sa = std::to_string(first->id);
    const std::string sb = std::to_string(second->id);
    const difference_count count = count_differences(report_differences(first->document, second->document));
    std::string html = "<h1>Report " + sa + " compared with report " + sb + "</h1>\n<p><strong>" +
                       std::to_string(count.rows) + " rows differ on " + std::to_string(count.pages) +
                       " pages.</strong></p>\n<form class=\"filters\" method=\"get\" action=\"/compare\">"
                       "<input type=\"hidden\" name=\"a\" value=\"" +
                       sa + "\"><input type=\"hidden\" name=\"b\" value=\"" + sb +
                       "\"><label class=\"check\"><input type=\"checkbox\" name=\"only\" value=\"1\"" +
                       (only ? " checked" : "") +
                       "> Differences only</label><button type=\"submit\">Show</button></form>\n";
    const size_t adapters = std::max(first->document.adapters.size(), second->document.adapters.size());
    for (size_t index = 0; index < adapters; ++index) {
        const adapter_report* left =
            index < first->document.adapters.size() ? &first->document.adapters[index] : nullptr;
        const adapter_report* right =
            index < second->document.adapters.size() ? &second->document.adapters[index] : nullptr;
        html += "<h2>Adapter " + std::to_string(index + 1) + ": " +
                html_name(left ? left->description : "(none)") + " / " +
                html_name(right ? right->description : "(none)") + "</h2>\n";
        for (const page_info& info : page_table()) {
            const report_page* pa = left ? left->group(info.group).page(info.id) : nullptr;
            const report_page* pb = right ? right->group(info.group).page(info.id) : nullptr;
            if (pa == nullptr && pb == nullptr) {
                continue;
            }
            const std::vector<compared_row> rows = compare_pages(pa, pb);
            const bool differs =
                std::any_of(rows.begin(), rows.end(), [](const compared_row& r) { return r.differs(); });
            if (only && !differs) {
                continue;
            }
            html += "<div class=\"table-wrap\"><table>\n<caption>" + std::string(group_caption(info.group)) +
                    " \xE2\x80\x94 " + html_text(info.caption) +
                    "</caption>\n<thead><tr><th scope=\"col\">Name</th>"
                    "<th scope=\"col\">Report " +
                    sa + "</th><th scope=\"col\">Report " + sb + "</th></tr></thead>\n<tbody>\n";
            // A section shows where a row of it does.
            std::string section;
            for (const compared_row& row : rows) {
                const report_row* named = row.a != nullptr ? row.a : row.b;
                if (named->kind == row_kind::section) {
                    section = "<tr class=\"section\"><th scope=\"rowgroup\" colspan=\"3\">" +
                              html_text(named->name) + "</th></tr>\n";
                    continue;
                }
                if (named->kind == row_kind::blank || (only && !row.differs())) {
                    continue;
                }
                html += std::exchange(section, std::string());
                const bool one_side = row.a == nullptr || row.b == nullptr;
                html += std::string("<tr") +
                        (one_side        ? " class=\"only\""
                         : row.differs() ? " class=\"differs\""
                                         : "") +
                        "><th scope=\"row\">" + html_text(named->name) + "</th><td>" +
                        (row.a ? html_text(row.a->value) : "(none)") + "</td><td>" +
                        (row.b ? html_text(row.b->value) : "(none)") + "</td></tr>\n";
            }
            html += "</tbody>\n</table></div>\n";
        }
    }
    show(response, 200, "Report " + sa + " and " + sb, "", html);
}

void coverage_page(report_store& store, const site_request& request, site_response& response) {
    const std::optional<page_id> chosen = page_by_marker(request.get_param_value("page"));
    const page_info* page = chosen ? &page_of(*chosen) : nullptr;
    const std::string name = request.get_param_value("name").substr(0, 512);
    const std::optional<std::string> value =
        request.has_param("value") && !request.get_param_value("value").empty()
            ? std::optional(request.get_param_value("value"))
            : std::nullopt;
    std::string html =
        "<h1>Which devices have it?</h1>\n<form class=\"filters\" method=\"get\" action=\"/coverage\">"
        "<label>Page <select name=\"page\">";
    for (const page_info& each : page_table()) {
        html += "<option value=\"" + std::string(each.marker) + "\"" + (&each == page ? " selected" : "") +
                ">" + group_caption(each.group) + " \xE2\x80\x94 " + html_text(each.caption) + "</option>";
    }
    html += "</select></label><label>Row name <input name=\"name\" list=\"names\" value=\"" +
            html_text(name) +
            "\" required></label><label>Value (empty: any but no, none, not supported, not available, 0) "
            "<input name=\"value\" value=\"" +
            html_text(value.value_or("")) +
            "\"></label><button type=\"submit\">Show</button>\n<datalist id=\"names\">";
    if (page != nullptr) {
        for (const std::string& known : store.row_names(page->group, page->id, name.substr(0, 3), 200)) {
            html += "<option value=\"" + html_text(known) + "\">";
        }
    }
    html += "</datalist></form>\n";
    if (page == nullptr || name.empty()) {
        return show(response, 200, "Coverage", "Coverage", html + "<p>Choose a page and a row.</p>\n");
    }
    const std::vector<covered_device> covered = store.coverage({page->group, page->id, name, value});
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
    html += "<h2>" + std::string(group_caption(page->group)) + " \xE2\x80\x94 " + html_text(page->caption) +
            ": " + what + "</h2>\n<p><strong>" + std::to_string(having) + " of " +
            std::to_string(covered.size()) + " devices</strong> that report this page have it.</p>\n";
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
    show(response, 200, "Coverage of " + name, "Coverage", html);
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
}
