// The posts (the legacy form, saved reports) and the JSON API.
#include "site/api.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <map>

#include "report/compare.h"
#include "report/report_json.h"
#include "site/answer.h"
#include "site/legacy_text.h"
#include "site/request.h"

namespace {

using json = nlohmann::ordered_json;
constexpr char text_type[] = "text/plain; charset=utf-8";
constexpr char json_type[] = "application/json; charset=utf-8";

void answer_json(site_response& response, const json& body, int status = 200) {
    response.status = status;
    response.set_content(body.dump(2, ' ', false, json::error_handler_t::replace) + "\n", json_type);
}

// The site's own address as the client named it; a Host header that is no
// plain host and port is not repeated back.
std::string site_root(const site_request& request) {
    std::string host = request.get_header_value("Host");
    const bool plain =
        !host.empty() && host.size() < 256 &&
        host.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-:[]") ==
            std::string::npos;
    return "http://" + (plain ? host : std::string("localhost"));
}

std::string report_path(int64_t id) {
    return "/reports/" + std::to_string(id);
}

json adapter_json(const adapter_facts& facts) {
    return {{"description", facts.description},
            {"device", facts.device_key},
            {"vendor_id", facts.vendor_id},
            {"device_id", facts.device_id},
            {"vendor", facts.vendor_name},
            {"name", facts.device_name},
            {"driver_version", facts.driver_version},
            {"direct3d", facts.d3d_level},
            {"opengl", facts.gl_version},
            {"vulkan", facts.vk_version}};
}

json device_json(const device_entry& device) {
    return {{"device", device.key},
            {"vendor_id", device.vendor_id},
            {"device_id", device.device_id},
            {"name", device.name},
            {"vendor", device.vendor},
            {"reports", device.reports},
            {"newest_report", device.newest_report},
            {"newest_received", device.newest_received},
            {"driver_version", device.driver_version},
            {"direct3d", device.d3d_level},
            {"opengl", device.gl_version},
            {"vulkan", device.vk_version},
            {"platforms", device.platforms}};
}

// Reports as a list gives them: where each is, when and how it came, and its adapters.
json reports_json(const site_request& request, const std::vector<listed_report>& reports) {
    json list = json::array();
    for (const listed_report& report : reports) {
        json adapters = json::array();
        for (const adapter_facts& facts : report.adapters) {
            adapters.push_back(adapter_json(facts));
        }
        list.push_back({{"id", report.id},
                        {"url", site_root(request) + report_path(report.id)},
                        {"received", report.received},
                        {"how", report.how},
                        {"platform", report.platform},
                        {"adapters", std::move(adapters)}});
    }
    return list;
}

// Keeps a report read from a post and says where it is.
void keep_and_answer(report_store& store, const site_request& request, site_response& response,
                     received_report&& report, bool legacy) {
    const kept_report kept = store.keep(report);
    const std::string url = site_root(request) + report_path(kept.id);
    if (legacy) {
        // What the viewer's Submit reads: where the report is, and where
        // its whole report goes while the site does not hold it.
        response.set_header("Cavio-Report", url);
        if (kept.already) {
            response.set_header("Cavio-Already", "yes");
        }
        if (!kept.attach_token.empty()) {
            response.set_header("Cavio-Whole-Report", "/api/reports/" + std::to_string(kept.id) +
                                                          "/whole?token=" + kept.attach_token);
        }
        response.status = 200;
        response.set_content(std::string(kept.already ? "Already kept as " : "Kept as ") + url + "\n",
                             text_type);
        return;
    }
    response.set_header("Location", report_path(kept.id));
    answer_json(response, {{"id", kept.id}, {"url", url}, {"already", kept.already}},
                kept.already ? 200 : 201);
}

// A posted saved report that the strict reader took: its program and
// version are its strings.
received_report received_json(const std::string& body, report_document&& document) {
    const nlohmann::json root = nlohmann::json::parse(body, nullptr, false);
    const auto text = [&root](const char* key) {
        const auto found = root.find(key);
        return found != root.end() && found->is_string() ? found->get<std::string>() : std::string();
    };
    return {"json", text("program"), text("version"), body, std::move(document)};
}

void post_legacy(report_store& store, const site_request& request, site_response& response) {
    const result<legacy_form> form = read_legacy_form(request.body);
    if (!form) {
        return answer_refusal(response, 400, form.why().sentence);
    }
    result<report_document> document = read_legacy_text(form->text);
    if (!document) {
        return answer_refusal(response, 400, document.why().sentence);
    }
    keep_and_answer(store, request, response, {"legacy", "legacy", "", form->text, std::move(*document)},
                    true);
}

void post_report(report_store& store, const site_request& request, site_response& response) {
    result<report_document> document = read_report_json(request.body, "The report");
    if (!document) {
        return answer_refusal(response, 400, document.why().sentence);
    }
    keep_and_answer(store, request, response, received_json(request.body, std::move(*document)), false);
}

void post_whole(report_store& store, const site_request& request, site_response& response) {
    const std::optional<int64_t> id = report_number(request.matches[1]);
    result<report_document> document = read_report_json(request.body, "The report");
    if (!document) {
        return answer_refusal(response, 400, document.why().sentence);
    }
    if (!id) {
        return answer_refusal(response, 409, "There is no report " + request.matches[1] + ".");
    }
    const result<kept_report> kept = store.attach(*id, request.get_param_value("token"),
                                                  received_json(request.body, std::move(*document)));
    if (!kept) {
        return answer_refusal(response, 409, kept.why().sentence);
    }
    answer_json(
        response,
        {{"id", kept->id}, {"url", site_root(request) + report_path(kept->id)}, {"already", kept->already}});
}

// The text a legacy report came as, its bytes as they came.
void get_submission(report_store& store, const site_request& request, site_response& response) {
    const std::optional<int64_t> id = report_number(request.matches[1]);
    const std::optional<stored_report> stored = id ? store.report(*id) : std::nullopt;
    if (!stored) {
        return answer_missing_report(store, id, response);
    }
    if (!stored->how.starts_with("legacy")) {
        return answer_refusal(response, 404,
                              "There is no submitted text of report " + request.matches[1] + ".");
    }
    response.set_content(stored->original, "text/plain; charset=windows-1252");
}

void get_report(report_store& store, const site_request& request, site_response& response) {
    const std::optional<int64_t> id = report_number(request.matches[1]);
    const std::optional<stored_report> stored = id ? store.report(*id) : std::nullopt;
    if (!stored) {
        return answer_missing_report(store, id, response);
    }
    response.set_header("Content-Disposition",
                        "attachment; filename=\"report-" + std::to_string(stored->id) + ".json\"");
    // A kept report never changes; a legacy one may yet get its whole report.
    response.set_header("Cache-Control",
                        stored->awaits_whole ? "no-cache" : "public, max-age=31536000, immutable");
    response.set_content(report_json(stored->document, stored->program, stored->version), json_type);
}

void get_reports(report_store& store, const site_request& request, site_response& response) {
    const listing_filter filter = listing_filter_of(request);
    const listing<listed_report> listed = store.reports(filter);
    answer_json(
        response,
        {{"page", filter.page}, {"total", listed.total}, {"reports", reports_json(request, listed.items)}});
}

void get_devices(report_store& store, const site_request& request, site_response& response) {
    const std::string api = request.get_param_value("api");
    if (!api.empty() && !group_of_key(api)) {
        return answer_refusal(response, 400, "\"api\" is one of directx, opengl and vulkan.");
    }
    const listing_filter filter = listing_filter_of(request);
    const listing<device_entry> listed = store.devices(filter);
    json list = json::array();
    for (const device_entry& device : listed.items) {
        list.push_back(device_json(device));
    }
    answer_json(response, {{"page", filter.page}, {"total", listed.total}, {"devices", std::move(list)}});
}

// A device and its reports.
void get_device(report_store& store, const site_request& request, site_response& response) {
    const std::string key = device_key_of(request.matches[1]);
    const std::optional<device_entry> device = store.device(key);
    if (!device) {
        return answer_refusal(response, 404, "No report names this device.");
    }
    json answer = device_json(*device);
    answer["reports"] = reports_json(request, store.device_reports(device->key));
    answer_json(response, answer);
}

void get_coverage(report_store& store, const site_request& request, site_response& response) {
    const std::optional<page_group> group = group_of_key(request.get_param_value("group"));
    if (!group) {
        return answer_refusal(response, 400, "\"group\" is one of directx, opengl and vulkan.");
    }
    const std::optional<page_id> page = page_by_marker(request.get_param_value("page"));
    if (!page || page_of(*page).group != *group) {
        return answer_refusal(response, 400, "\"page\" is no page of that group.");
    }
    coverage_query query{*group, *page, request.get_param_value("name"), std::nullopt};
    const std::string platform = listing_filter_of(request).platform;
    if (query.name.empty() || query.name.size() > 512) {
        return answer_refusal(response, 400, "\"name\" is the name of a row.");
    }
    if (request.has_param("value")) {
        query.value = request.get_param_value("value");
    }
    const std::vector<covered_device> covered = store.coverage(query, platform);
    std::map<std::string, std::pair<int64_t, int64_t>> vendors;  // with, without
    json with = json::array();
    json without = json::array();
    for (const covered_device& device : covered) {
        auto& count = vendors[device.device.vendor.empty() ? "unknown" : device.device.vendor];
        json entry = device_json(device.device);
        if (device.has) {
            ++count.first;
            entry["lowest_driver"] = device.lowest_driver;
            with.push_back(std::move(entry));
        } else {
            ++count.second;
            without.push_back(std::move(entry));
        }
    }
    json per_vendor = json::array();
    for (const auto& [vendor, count] : vendors) {
        per_vendor.push_back({{"vendor", vendor}, {"with", count.first}, {"without", count.second}});
    }
    json answer = {{"group", group_key(*group)}, {"page", page_of(*page).marker}, {"name", query.name}};
    if (query.value) {
        answer["value"] = *query.value;
    }
    answer["platform"] = platform.empty() ? json(nullptr) : json(platform);
    answer["with"] = with.size();
    answer["without"] = without.size();
    answer["vendors"] = std::move(per_vendor);
    answer["devices_with"] = std::move(with);
    answer["devices_without"] = std::move(without);
    answer_json(response, answer);
}

// The differing rows of several reports: each with a value per report, null
// where a report lacks the row.
void get_compare_many(report_store& store, const site_request& request, site_response& response) {
    const compared_reports compared = reports_to_compare(store, request);
    if (compared.status != 200) {
        return answer_refusal(response, compared.status == 204 ? 400 : compared.status,
                              compared.status == 204
                                  ? "A comparison takes two to eight report numbers, r=7&r=9."
                                  : compared.refusal);
    }
    json numbers = json::array();
    size_t count = 0;
    for (const stored_report& report : compared.reports) {
        numbers.push_back(report.id);
        count = std::max(count, report.document.adapters.size());
    }
    json adapters = json::array();
    for (size_t index = 0; index < count; ++index) {
        json descriptions = json::array();
        for (const stored_report& report : compared.reports) {
            descriptions.push_back(index < report.document.adapters.size()
                                       ? json(report.document.adapters[index].description)
                                       : json(nullptr));
        }
        json pages = json::array();
        for (const page_info& info : page_table()) {
            std::vector<const report_page*> sides;
            for (const stored_report& report : compared.reports) {
                sides.push_back(index < report.document.adapters.size()
                                    ? report.document.adapters[index].group(info.group).page(info.id)
                                    : nullptr);
            }
            json rows = json::array();
            for (const row_across& row : compare_many_pages(sides)) {
                if (!row.differs()) {
                    continue;
                }
                json values = json::array();
                for (const report_row* each : row.rows) {
                    values.push_back(each != nullptr ? json(each->value) : json(nullptr));
                }
                rows.push_back({{"name", row.named().name}, {"values", std::move(values)}});
            }
            if (!rows.empty()) {
                pages.push_back(
                    {{"group", group_key(info.group)}, {"page", info.marker}, {"rows", std::move(rows)}});
            }
        }
        if (!pages.empty()) {
            adapters.push_back(
                {{"index", index}, {"descriptions", std::move(descriptions)}, {"pages", std::move(pages)}});
        }
    }
    answer_json(response, {{"reports", std::move(numbers)},
                           {"rows", compared.count.rows},
                           {"pages", compared.count.pages},
                           {"adapters", std::move(adapters)}});
}

void get_compare(report_store& store, const site_request& request, site_response& response) {
    if (request.has_param("r")) {
        return get_compare_many(store, request, response);
    }
    const std::optional<int64_t> a = report_number(request.get_param_value("a"));
    const std::optional<int64_t> b = report_number(request.get_param_value("b"));
    const std::optional<stored_report> first = a ? store.report(*a) : std::nullopt;
    const std::optional<stored_report> second = b ? store.report(*b) : std::nullopt;
    if (!first || !second) {
        return answer_refusal(response, 404, "\"a\" and \"b\" are the numbers of two kept reports.");
    }
    const std::vector<adapter_differences> differences =
        report_differences(first->document, second->document);
    const difference_count count = count_differences(differences);
    json adapters = json::array();
    for (const adapter_differences& adapter : differences) {
        json pages = json::array();
        for (const page_differences& page : adapter.pages) {
            json rows = json::array();
            for (const compared_row& row : page.rows) {
                const report_row* named = row.a != nullptr ? row.a : row.b;
                rows.push_back({{"name", named->name},
                                {"a", row.a != nullptr ? json(row.a->value) : json(nullptr)},
                                {"b", row.b != nullptr ? json(row.b->value) : json(nullptr)}});
            }
            const page_info& info = page_of(page.page);
            pages.push_back(
                {{"group", group_key(info.group)}, {"page", info.marker}, {"rows", std::move(rows)}});
        }
        adapters.push_back({{"index", adapter.index},
                            {"a", adapter.a_description},
                            {"b", adapter.b_description},
                            {"pages", std::move(pages)}});
    }
    answer_json(response, {{"a", first->id},
                           {"b", second->id},
                           {"rows", count.rows},
                           {"pages", count.pages},
                           {"adapters", std::move(adapters)}});
}

}  // namespace

compared_reports reports_to_compare(report_store& store, const site_request& request) {
    compared_reports compared;
    std::vector<std::string> named;
    for (const auto& [name, value] : request.params) {
        if (name == "r" && !value.empty()) {
            named.push_back(value);
        }
    }
    if (named.empty() && (request.has_param("a") || request.has_param("b"))) {
        named = {request.get_param_value("a"), request.get_param_value("b")};
    }
    if (named.empty()) {
        compared.status = 204;
        return compared;
    }
    if (named.size() < 2 || named.size() > most_compared) {
        compared.status = 400;
        compared.refusal = "A comparison takes two to eight report numbers, r=7&r=9.";
        return compared;
    }
    for (const std::string& each : named) {
        const std::optional<int64_t> id = report_number(each);
        std::optional<stored_report> report = id ? store.report(*id) : std::nullopt;
        if (!report) {
            compared.status = 404;
            compared.refusal = "There is no report " +
                               (id ? std::to_string(*id) : "\"" + each.substr(0, 40) + "\"") + " to compare.";
            return compared;
        }
        compared.reports.push_back(std::move(*report));
    }
    size_t adapters = 0;
    for (const stored_report& report : compared.reports) {
        adapters = std::max(adapters, report.document.adapters.size());
    }
    for (size_t index = 0; index < adapters; ++index) {
        for (const page_info& info : page_table()) {
            std::vector<const report_page*> pages;
            for (const stored_report& report : compared.reports) {
                pages.push_back(index < report.document.adapters.size()
                                    ? report.document.adapters[index].group(info.group).page(info.id)
                                    : nullptr);
            }
            const std::vector<row_across> rows = compare_many_pages(pages);
            const size_t differing = static_cast<size_t>(
                std::count_if(rows.begin(), rows.end(), [](const row_across& row) { return row.differs(); }));
            compared.count.rows += differing;
            compared.count.pages += differing > 0 ? 1 : 0;
        }
    }
    return compared;
}

void answer_missing_report(report_store& store, std::optional<int64_t> id, site_response& response) {
    const std::optional<removed_report> removed = id ? store.removal(*id) : std::nullopt;
    if (removed) {
        return answer_refusal(response, 410,
                              "Report " + std::to_string(*id) + " was removed on " +
                                  removed->removed.substr(0, 10) + ": " + removed->why);
    }
    answer_refusal(response, 404,
                   "There is no report " + (id ? std::to_string(*id) : std::string("of that number")) + ".");
}

void install_routes(route_table& routes, report_store& store, const server_limits& limits) {
    const auto route = [&store](store_handler handler) { return with_store(store, handler); };
    routes.post("/submitter.php", limits.form_body, "A submission", route(post_legacy));
    routes.post("/api/reports", limits.json_body, "A report", route(post_report));
    routes.post(R"(/api/reports/(\d{1,12})/whole)", limits.json_body, "A report", route(post_whole));
    routes.get(R"(/api/reports/(\d{1,12})/submission)", route(get_submission));
    routes.get("/api/reports", route(get_reports));
    routes.get(R"(/api/reports/(\d{1,12}))", route(get_report));
    routes.get("/api/devices", route(get_devices));
    routes.get(R"(/api/devices/([0-9a-fA-F]{4}:[0-9a-fA-F]{4}|name:[^/]{1,300}))", route(get_device));
    routes.get("/api/coverage", route(get_coverage));
    routes.get("/api/compare", route(get_compare));
}
