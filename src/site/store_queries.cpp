// What the store answers: a report, the listings of reports and devices, a
// device's reports, coverage, the names a page's rows have, removals.
#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>

#include "report/report_json.h"
#include "site/compression.h"
#include "site/format_words.h"
#include "site/legacy_text.h"
#include "site/store_internal.h"

namespace {

// "%part%", with the LIKE wildcards of the text itself escaped by "!".
std::string like_pattern(const std::string& text) {
    std::string pattern = "%";
    for (const char c : text) {
        if (c == '%' || c == '_' || c == '!') {
            pattern += '!';
        }
        pattern += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    return pattern + "%";
}

std::vector<reason> problems_of(const std::string& text) {
    std::vector<reason> problems;
    const nlohmann::json list = nlohmann::json::parse(text, nullptr, false);
    for (const nlohmann::json& item : list.is_array() ? list : nlohmann::json::array()) {
        problems.push_back({item[0].get<std::string>(), item[1].get<int>(), item[2].get<std::string>(),
                            item[3].get<std::string>(), item[4].get<std::string>()});
    }
    return problems;
}

const char* const device_columns =
    "key, vendor_id, device_id, name, vendor, reports, newest_report, newest_received, driver_version, "
    "d3d_level, gl_version, vk_version";

device_entry device_of(const sql_row& row, size_t at = 0) {
    device_entry device;
    device.key = cell_text(row[at]);
    device.vendor_id = static_cast<uint32_t>(cell_integer(row[at + 1]));
    device.device_id = static_cast<uint32_t>(cell_integer(row[at + 2]));
    device.name = cell_text(row[at + 3]);
    device.vendor = cell_text(row[at + 4]);
    device.reports = cell_integer(row[at + 5]);
    device.newest_report = cell_integer(row[at + 6]);
    device.newest_received = cell_text(row[at + 7]);
    device.driver_version = cell_text(row[at + 8]);
    device.d3d_level = cell_text(row[at + 9]);
    device.gl_version = cell_text(row[at + 10]);
    device.vk_version = cell_text(row[at + 11]);
    return device;
}

// Where a listing's filter looks: the columns of the vendor's ID and of the
// two names that text is found in, and whether the rows have API versions.
struct filtered_columns {
    const char* vendor_id;
    const char* names[2];
    bool versions;
    // The condition that a row was read on a platform, with one parameter.
    const char* platform;
};

// The condition of a listing's filter on those columns, its parameters
// appended to parameters.
std::string filter_condition(const listing_filter& filter, const filtered_columns& columns,
                             std::vector<sql_value>& parameters) {
    std::string where = " WHERE 1 = 1";
    if (filter.vendor_id != 0) {
        where += std::string(" AND ") + columns.vendor_id + " = ?";
        parameters.emplace_back(int64_t{filter.vendor_id});
    }
    if (!filter.text.empty()) {
        where += std::string(" AND (LOWER(") + columns.names[0] + ") LIKE ? ESCAPE '!' OR LOWER(" +
                 columns.names[1] + ") LIKE ? ESCAPE '!')";
        parameters.emplace_back(like_pattern(filter.text));
        parameters.emplace_back(like_pattern(filter.text));
    }
    // A feature level exactly; a version and any release of it ("4.6" is
    // "4.6" and "4.6.0 NVIDIA 545.29").
    const std::pair<const char*, const std::string*> versions[] = {
        {"d3d_level", &filter.d3d}, {"gl_version", &filter.gl}, {"vk_version", &filter.vk}};
    for (const auto& [column, wanted] : versions) {
        if (!columns.versions || wanted->empty()) {
            continue;
        }
        const std::string name = column;
        if (*wanted == "none") {
            where += " AND " + name + " = ''";
        } else if (name == "d3d_level") {
            where += " AND " + name + " = ?";
            parameters.emplace_back(*wanted);
        } else {
            where +=
                " AND (" + name + " = ? OR " + name + " LIKE ? ESCAPE '!' OR " + name + " LIKE ? ESCAPE '!')";
            const std::string escaped = like_pattern(*wanted).substr(1, wanted->size());
            parameters.insert(parameters.end(), {*wanted, escaped + ".%", escaped + " %"});
        }
    }
    if (!filter.platform.empty()) {
        where += std::string(" AND ") + columns.platform;
        parameters.emplace_back(filter.platform);
    }
    if (columns.versions && filter.api == "directx") {
        where += " AND d3d_level <> ''";
    } else if (columns.versions && filter.api == "opengl") {
        where += " AND gl_version <> ''";
    } else if (columns.versions && filter.api == "vulkan") {
        where += " AND vk_version <> ''";
    }
    return where;
}

std::vector<adapter_facts> adapters_of(sql_connection& db, int64_t report) {
    std::vector<adapter_facts> adapters;
    for (const sql_row& adapter :
         db.run("SELECT description, vendor_id, device_id, device_key, device_name, vendor, driver_version, "
                "d3d_level, gl_version, vk_version FROM adapters WHERE report_id = ? ORDER BY position",
                {report})) {
        adapter_facts& facts = adapters.emplace_back();
        facts.description = cell_text(adapter[0]);
        facts.vendor_id = static_cast<uint32_t>(cell_integer(adapter[1]));
        facts.device_id = static_cast<uint32_t>(cell_integer(adapter[2]));
        facts.device_key = cell_text(adapter[3]);
        facts.device_name = cell_text(adapter[4]);
        facts.vendor_name = cell_text(adapter[5]);
        facts.driver_version = cell_text(adapter[6]);
        facts.d3d_level = cell_text(adapter[7]);
        facts.gl_version = cell_text(adapter[8]);
        facts.vk_version = cell_text(adapter[9]);
    }
    return adapters;
}

std::string placeholders(size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        text += i == 0 ? "?" : ", ?";
    }
    return text;
}

// The platforms of each device's reports, in their names' order.
void add_platforms(sql_connection& db, std::vector<device_entry*> devices) {
    if (devices.empty()) {
        return;
    }
    std::vector<sql_value> keys;
    for (const device_entry* device : devices) {
        keys.emplace_back(device->key);
    }
    for (const sql_row& row : db.run(
             "SELECT DISTINCT a.device_key, " PLATFORM_OF("r.") " AS shown FROM adapters a JOIN reports r ON "
                                                                "r.id = a.report_id WHERE a.device_key IN (" +
                 placeholders(keys.size()) + ") ORDER BY shown",
             keys)) {
        for (device_entry* device : devices) {
            if (device->key == cell_text(row[0])) {
                device->platforms.push_back(cell_text(row[1]));
            }
        }
    }
}

int64_t offset_of(const listing_filter& filter) {
    return int64_t{std::max(filter.page, 1) - 1} * listing_page_size;
}

}  // namespace

std::optional<stored_report> report_store::report(int64_t id) {
    return with_db([&](sql_connection& db) -> std::optional<stored_report> {
        const std::vector<sql_row> found = db.run(
            "SELECT received, how, program, version, problems, original, attach_token, platform, "
            "platform_version, platform_kernel FROM reports WHERE id = ?",
            {id});
        if (found.empty()) {
            return std::nullopt;
        }
        stored_report stored;
        stored.id = id;
        stored.received = cell_text(found[0][0]);
        stored.how = cell_text(found[0][1]);
        stored.program = cell_text(found[0][2]);
        stored.version = cell_text(found[0][3]);
        stored.awaits_whole = found[0][6].has_value();
        stored.document.problems = problems_of(cell_text(found[0][4]));
        stored.document.platform = {cell_text(found[0][7]), cell_text(found[0][8]), cell_text(found[0][9])};
        const std::vector<sql_row> adapters = db.run(
            "SELECT id, description, read_groups FROM adapters WHERE report_id = ? ORDER BY position", {id});
        for (const sql_row& row : adapters) {
            adapter_report& adapter = stored.document.adapters.emplace_back();
            adapter.description = cell_text(row[1]);
            for (int g = 0; g < group_count; ++g) {
                adapter.groups.push_back(
                    {static_cast<page_group>(g), (cell_integer(row[2]) >> g & 1) != 0, {}});
            }
            const std::vector<sql_row> pages = db.run(
                "SELECT p.page_no, p.body FROM adapter_pages ap JOIN pages p ON p.id = ap.page_id "
                "WHERE ap.adapter_id = ? ORDER BY ap.position",
                {cell_integer(row[0])});
            for (const sql_row& page : pages) {
                const page_info& info = page_of(static_cast<page_id>(cell_integer(page[0])));
                const std::optional<std::string> body = inflated(cell_text(page[1]), size_t{256} << 20);
                if (!body) {
                    throw failure(reason{"Store", -1, {}, "a kept page cannot be read back", {}});
                }
                result<report_page> read = read_page_json(*body, info.group);
                if (!read) {
                    throw failure(read.why());
                }
                adapter.group(info.group).pages.push_back(std::move(*read));
            }
        }
        if (stored.how == "legacy") {
            show_legacy_ids_in_hex(stored.document);  // kept before they were
        }
        if (found[0][5]) {
            std::optional<std::string> original = inflated(*found[0][5], size_t{256} << 20);
            if (!original) {
                throw failure(reason{"Store", -1, {}, "a kept original cannot be read back", {}});
            }
            stored.original = std::move(*original);
        } else {
            stored.original = report_json(stored.document, stored.program, stored.version);
        }
        return stored;
    });
}

listing<listed_report> report_store::reports(const listing_filter& filter) {
    return with_db([&](sql_connection& db) -> listing<listed_report> {
        std::vector<sql_value> parameters;
        const std::string where =
            filter_condition(filter,
                             {"a.vendor_id",
                              {"a.description", "a.device_name"},
                              false,
                              "a.report_id IN (SELECT id FROM reports WHERE LOWER(" PLATFORM_OF("") ") = ?)"},
                             parameters);
        const std::string matching = "SELECT DISTINCT a.report_id FROM adapters a" + where;
        listing<listed_report> listed;
        listed.total = cell_integer(db.run("SELECT COUNT(*) FROM (" + matching + ") m", parameters).at(0)[0]);
        parameters.emplace_back(int64_t{listing_page_size});
        parameters.emplace_back(offset_of(filter));
        for (const sql_row& row :
             db.run("SELECT r.id, r.received, r.how, " PLATFORM_OF("r.") " FROM reports r WHERE r.id IN (" +
                        matching + ") ORDER BY r.id DESC LIMIT ? OFFSET ?",
                    parameters)) {
            listed_report& entry = listed.items.emplace_back();
            entry.id = cell_integer(row[0]);
            entry.received = cell_text(row[1]);
            entry.how = cell_text(row[2]);
            entry.platform = cell_text(row[3]);
            entry.adapters = adapters_of(db, entry.id);
        }
        return listed;
    });
}

std::optional<device_entry> report_store::device(const std::string& key) {
    return with_db([&](sql_connection& db) -> std::optional<device_entry> {
        const std::vector<sql_row> found =
            db.run(std::string("SELECT ") + device_columns + " FROM devices WHERE key = ?", {key});
        if (found.empty() && key.starts_with("name:")) {
            const std::vector<sql_row> any_case =
                db.run(std::string("SELECT ") + device_columns +
                           " FROM devices WHERE LOWER(key) = LOWER(?) ORDER BY key LIMIT 1",
                       {key});
            if (any_case.empty()) {
                return std::nullopt;
            }
            device_entry device = device_of(any_case[0]);
            add_platforms(db, {&device});
            return device;
        }
        if (found.empty()) {
            return std::nullopt;
        }
        device_entry device = device_of(found[0]);
        add_platforms(db, {&device});
        return device;
    });
}

std::vector<listed_report> report_store::device_reports(const std::string& key) {
    return with_db([&](sql_connection& db) -> std::vector<listed_report> {
        std::vector<listed_report> listed;
        for (const sql_row& row :
             db.run("SELECT r.id, r.received, r.how, MAX(a.driver_order) AS driver, " PLATFORM_OF(
                        "r.") " AS shown "
                              "FROM reports r JOIN adapters a ON a.report_id = r.id WHERE a.device_key = ? "
                              "GROUP BY r.id, "
                              "r.received, r.how, r.platform ORDER BY shown DESC, driver DESC, r.id DESC "
                              "LIMIT 500",
                    {key})) {
            listed_report& entry = listed.emplace_back();
            entry.id = cell_integer(row[0]);
            entry.received = cell_text(row[1]);
            entry.how = cell_text(row[2]);
            entry.platform = cell_text(row[4]);
            entry.adapters = adapters_of(db, entry.id);
        }
        return listed;
    });
}

listing<device_entry> report_store::devices(const listing_filter& filter) {
    return with_db([&](sql_connection& db) -> listing<device_entry> {
        std::vector<sql_value> parameters;
        const std::string where = filter_condition(
            filter,
            {"vendor_id",
             {"name", "key"},
             true,
             "key IN (SELECT pa.device_key FROM adapters pa JOIN reports pr ON pr.id = pa.report_id WHERE "
             "LOWER(" PLATFORM_OF("pr.") ") = ?)"},
            parameters);
        listing<device_entry> listed;
        listed.total = cell_integer(db.run("SELECT COUNT(*) FROM devices" + where, parameters).at(0)[0]);
        parameters.emplace_back(int64_t{listing_page_size});
        parameters.emplace_back(offset_of(filter));
        const std::string order = filter.sort == "name"      ? "LOWER(name), key"
                                  : filter.sort == "vendor"  ? "LOWER(vendor), LOWER(name), key"
                                  : filter.sort == "reports" ? "reports DESC, newest_report DESC"
                                                             : "newest_report DESC";
        for (const sql_row& row : db.run(std::string("SELECT ") + device_columns + " FROM devices" + where +
                                             " ORDER BY " + order + " LIMIT ? OFFSET ?",
                                         parameters)) {
            listed.items.push_back(device_of(row));
        }
        std::vector<device_entry*> shown;
        for (device_entry& device : listed.items) {
            shown.push_back(&device);
        }
        add_platforms(db, shown);
        return listed;
    });
}

std::vector<covered_device> report_store::coverage(const coverage_query& query, const std::string& platform) {
    return with_db([&](sql_connection& db) -> std::vector<covered_device> {
        const sql_value group = static_cast<int64_t>(query.group);
        const sql_value page = static_cast<int64_t>(query.page);
        // The name as the reports spell it, where it was typed in another letter case.
        std::vector<sql_value> names;
        for (const char* match : {"name = ?", "LOWER(name) = LOWER(?)"}) {
            for (const sql_row& row :
                 db.run(std::string("SELECT DISTINCT name FROM facts WHERE grp = ? AND page_no = "
                                    "? AND ") +
                            match,
                        {group, page, query.name})) {
                names.emplace_back(cell_text(row[0]));
            }
            if (!names.empty()) {
                break;
            }
        }
        if (names.empty()) {
            names.emplace_back(query.name);
        }
        std::vector<sql_value> parameters = {group, page};
        parameters.insert(parameters.end(), names.begin(), names.end());
        std::string condition = "f.name IN (" + placeholders(names.size()) + ") AND f.present = 1";
        if (query.value && lists_formats(query.page)) {
            // A format's value, or one of its capability words ("sampled").
            std::vector<sql_value> facts;
            for (const sql_row& row :
                 db.run("SELECT f.id, f.value FROM facts f WHERE f.grp = ? AND f.page_no = ? AND "
                        "f.name IN (" +
                            placeholders(names.size()) + ")",
                        parameters)) {
                if (cell_text(row[1]) == *query.value || has_format_word(cell_text(row[1]), *query.value)) {
                    facts.emplace_back(cell_integer(row[0]));
                }
            }
            condition = facts.empty() ? "1 = 0" : "f.id IN (" + placeholders(facts.size()) + ")";
            parameters = {group, page};
            parameters.insert(parameters.end(), facts.begin(), facts.end());
        } else if (query.value) {
            condition = "f.name IN (" + placeholders(names.size()) + ") AND f.value = ?";
            parameters.emplace_back(*query.value);
        }
        // On a platform, the devices' pages there, and their lowest drivers there.
        const bool everywhere = platform.empty();
        if (!everywhere) {
            parameters.insert(parameters.begin(), platform);
        }
        std::vector<covered_device> covered;
        std::map<std::string, size_t> having;  // device key -> its place in covered
        for (const sql_row& row : db.run(
                 "SELECT dp.device_key, MIN(dp.lowest) FROM facts f JOIN page_facts pf ON pf.fact_id = "
                 "f.id " +
                     std::string(everywhere ? "JOIN device_pages dp ON dp.page_id = pf.page_id"
                                            : "JOIN device_platform_pages dp ON dp.page_id = pf.page_id AND "
                                              "dp.platform = ?") +
                     " WHERE f.grp = ? AND f.page_no = ? AND " + condition + " GROUP BY dp.device_key",
                 parameters)) {
            const std::string lowest = cell_text(row[1]);
            covered_device& device = covered.emplace_back();
            device.device.key = cell_text(row[0]);
            device.has = true;
            device.lowest_driver = lowest.substr(lowest.find(order_separator[0]) + 1);
            having.emplace(device.device.key, covered.size() - 1);
        }
        // Every device that has the page at all: those with the row, and the rest.
        const sql_value kind = int64_t{1} << static_cast<int>(query.page);
        const std::vector<sql_row> devices =
            everywhere
                ? db.run(std::string("SELECT ") + device_columns + " FROM devices WHERE (page_mask & ?) <> 0",
                         {kind})
                : db.run(std::string("SELECT ") + device_columns +
                             " FROM devices WHERE key IN (SELECT device_key FROM device_platforms WHERE "
                             "platform = ? AND (page_mask & ?) <> 0)",
                         {platform, kind});
        std::vector<covered_device> without;
        for (const sql_row& row : devices) {
            device_entry device = device_of(row);
            if (const auto found = having.find(device.key); found != having.end()) {
                covered[found->second].device = std::move(device);
            } else {
                without.push_back({std::move(device), false, {}});
            }
        }
        covered.insert(covered.end(), std::make_move_iterator(without.begin()),
                       std::make_move_iterator(without.end()));
        return covered;
    });
}

std::vector<std::string> report_store::row_names(page_group group, page_id page, const std::string& starting,
                                                 int limit) {
    return with_db([&](sql_connection& db) -> std::vector<std::string> {
        std::vector<std::string> names;
        for (const sql_row& row : db.run("SELECT DISTINCT name FROM facts WHERE grp = ? AND page_no = ? AND "
                                         "LOWER(name) LIKE ? ESCAPE '!' "
                                         "ORDER BY name LIMIT ?",
                                         {static_cast<int64_t>(group), static_cast<int64_t>(page),
                                          like_pattern(starting).substr(1), int64_t{limit}})) {
            names.push_back(cell_text(row[0]));
        }
        return names;
    });
}

std::optional<removed_report> report_store::removal(int64_t id) {
    return with_db([&](sql_connection& db) -> std::optional<removed_report> {
        const std::vector<sql_row> found =
            db.run("SELECT removed, reason FROM removals WHERE report_id = ?", {id});
        if (found.empty()) {
            return std::nullopt;
        }
        return removed_report{id, cell_text(found[0][0]), cell_text(found[0][1])};
    });
}

std::optional<int64_t> report_store::previous_report(const std::string& key, int64_t id) {
    return with_db([&](sql_connection& db) -> std::optional<int64_t> {
        const std::vector<sql_row> found =
            db.run("SELECT MAX(report_id) FROM adapters WHERE device_key = ? AND report_id < ?", {key, id});
        return found.empty() || !found[0][0] ? std::nullopt : std::optional(cell_integer(found[0][0]));
    });
}

std::vector<value_count> report_store::row_words(page_group group, page_id page, const std::string& name,
                                                 const std::string& platform) {
    return with_db([&](sql_connection& db) -> std::vector<value_count> {
        std::vector<value_count> words;
        for (const sql_row& row : db.run(
                 "SELECT word, SUM(devices) AS devices FROM word_counts WHERE grp = ? AND "
                 "page_no = ? AND LOWER(name) = LOWER(?) AND platform = ? GROUP BY word HAVING SUM(devices) "
                 "> 0 ORDER BY devices DESC, word",
                 {static_cast<int64_t>(group), static_cast<int64_t>(page), name, platform})) {
            words.push_back({cell_text(row[0]), cell_integer(row[1])});
        }
        return words;
    });
}
