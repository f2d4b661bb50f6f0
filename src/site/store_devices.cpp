// A device's facts: its row (newest report, driver and API versions, the
// pages its reports hold), the name its reports give it, the lowest driver
// of each page; kept as reports come, made again when one is removed.
#include <algorithm>
#include <map>
#include <set>

#include "report/report_json.h"
#include "site/clock.h"
#include "site/compression.h"

#include "site/store_internal.h"

namespace {

// The name most of the device's adapters give it; of two as many, the one
// given first, so that a newcomer never takes over a name by being newest.
std::pair<std::string, std::string> name_of(sql_connection& db, const std::string& key) {
    const std::vector<sql_row> found = db.run(
        "SELECT name, vendor FROM device_names WHERE device_key = ? ORDER BY adapters DESC, first_report, "
        "name "
        "LIMIT 1",
        {key});
    return found.empty() ? std::pair<std::string, std::string>()
                         : std::pair{cell_text(found[0][0]), cell_text(found[0][1])};
}

// Unlinks a page from what its rows say, and forgets what no other page
// says; each by its index, the page's rows read back from its body.
void forget_facts(sql_connection& db, int64_t page) {
    const sql_row kept = db.run("SELECT page_no, body FROM pages WHERE id = ?", {page}).at(0);
    const page_info& info = page_of(static_cast<page_id>(cell_integer(kept[0])));
    const std::optional<std::string> body = inflated(cell_text(kept[1]), size_t{256} << 20);
    if (!body) {
        throw failure(reason{"Store", -1, {}, "a kept page cannot be read back", {}});
    }
    const result<report_page> read = read_page_json(*body, info.group);
    if (!read) {
        throw failure(read.why());
    }
    for (const auto& [name, value] : facts_said(*read)) {
        const std::vector<sql_row> fact =
            db.run("SELECT id FROM facts WHERE grp = ? AND page_no = ? AND name = ? AND value = ?",
                   {static_cast<int64_t>(info.group), cell_integer(kept[0]), name, value});
        if (fact.empty()) {
            continue;
        }
        const int64_t id = cell_integer(fact[0][0]);
        db.run("DELETE FROM page_facts WHERE fact_id = ? AND page_id = ?", {id, page});
        if (db.run("SELECT 1 FROM page_facts WHERE fact_id = ? LIMIT 1", {id}).empty()) {
            db.run("DELETE FROM facts WHERE id = ?", {id});
        }
    }
}

}  // namespace

std::string platform_key(const std::string& os) {
    std::string key = os.empty() ? "windows" : os;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return key;
}

void count_device(sql_connection& db, const adapter_facts& facts, int64_t report, const std::string& received,
                  const std::string& platform, bool counted) {
    if (counted) {
        db.run(
            "INSERT INTO device_names (device_key, name, vendor, adapters, first_report) VALUES (?, ?, ?, 1, "
            "?) "
            "ON CONFLICT (device_key, name, vendor) DO UPDATE SET adapters = device_names.adapters + 1",
            {facts.device_key, facts.device_name, facts.vendor_name, report});
    }
    auto [name, vendor] = name_of(db, facts.device_key);
    if (name.empty()) {
        name = facts.device_name;
        vendor = facts.vendor_name;
    }
    db.run(
        "INSERT INTO devices (key, vendor_id, device_id, name, vendor, reports, newest_report, "
        "newest_received, driver_version, d3d_level, gl_version, vk_version, page_mask) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (key) DO UPDATE SET "
        "reports = devices.reports + excluded.reports, page_mask = devices.page_mask | excluded.page_mask, "
        "name = excluded.name, vendor = excluded.vendor",
        {facts.device_key, int64_t{facts.vendor_id}, int64_t{facts.device_id}, name, vendor,
         int64_t{counted ? 1 : 0}, report, received, facts.driver_version, facts.d3d_level, facts.gl_version,
         facts.vk_version, static_cast<int64_t>(facts.page_mask)});
    db.run(
        "INSERT INTO device_platforms (device_key, platform, page_mask) VALUES (?, ?, ?) ON CONFLICT "
        "(device_key, platform) DO UPDATE SET page_mask = device_platforms.page_mask | excluded.page_mask",
        {facts.device_key, platform, static_cast<int64_t>(facts.page_mask)});
    // The newest report's facts, whichever order reports arrive in (a whole
    // report attached to an older legacy one is not the newest).
    db.run(
        "UPDATE devices SET newest_report = ?, newest_received = ?, driver_version = ?, d3d_level = ?, "
        "gl_version = ?, vk_version = ? WHERE key = ? AND newest_report < ?",
        {report, received, facts.driver_version, facts.d3d_level, facts.gl_version, facts.vk_version,
         facts.device_key, report});
}

void remake_device(sql_connection& db, const std::string& key) {
    const std::vector<sql_row> counted =
        db.run("SELECT COUNT(*), MAX(report_id) FROM adapters WHERE device_key = ?", {key});
    const int64_t adapters = cell_integer(counted.at(0)[0]);
    for (const char* table : {"device_pages", "device_platform_pages", "device_platforms"}) {
        db.run(std::string("DELETE FROM ") + table + " WHERE device_key = ?", {key});
    }
    db.run("DELETE FROM device_names WHERE device_key = ?", {key});
    if (adapters == 0) {
        db.run("DELETE FROM devices WHERE key = ?", {key});
        return;
    }
    const int64_t newest = cell_integer(counted[0][1]);
    db.run(
        "INSERT INTO device_pages (device_key, page_id, lowest) SELECT a.device_key, ap.page_id, "
        "MIN(a.driver_order || ? || a.driver_version) FROM adapters a JOIN adapter_pages ap ON "
        "ap.adapter_id = a.id WHERE a.device_key = ? GROUP BY a.device_key, ap.page_id",
        {std::string(order_separator), key});
    db.run(
        "INSERT INTO device_names (device_key, name, vendor, adapters, first_report) SELECT device_key, "
        "device_name, vendor, COUNT(*), MIN(report_id) FROM adapters WHERE device_key = ? "
        "GROUP BY device_key, device_name, vendor",
        {key});
    db.run("INSERT INTO device_platform_pages (device_key, platform, page_id, lowest) SELECT a.device_key, "
           "LOWER(" PLATFORM_OF("r.") ") AS platform, ap.page_id, MIN(a.driver_order || ? || a.driver_version) "
           "FROM adapters a JOIN reports r ON r.id = a.report_id JOIN adapter_pages ap ON ap.adapter_id = "
           "a.id WHERE a.device_key = ? GROUP BY a.device_key, platform, ap.page_id",
           {std::string(order_separator), key});
    // The page kinds the device has, on each platform and in all.
    int64_t mask = 0;
    std::map<std::string, int64_t> masks;
    for (const sql_row& row :
         db.run("SELECT DISTINCT dp.platform, p.page_no FROM device_platform_pages dp JOIN pages p ON p.id = "
                "dp.page_id WHERE dp.device_key = ?",
                {key})) {
        masks[cell_text(row[0])] |= int64_t{1} << cell_integer(row[1]);
        mask |= int64_t{1} << cell_integer(row[1]);
    }
    for (const auto& [platform, kinds] : masks) {
        db.run("INSERT INTO device_platforms (device_key, platform, page_mask) VALUES (?, ?, ?)",
               {key, platform, kinds});
    }
    const sql_row facts =
        db.run(
              "SELECT a.vendor_id, a.device_id, r.received, a.driver_version, a.d3d_level, a.gl_version, "
              "a.vk_version FROM adapters a JOIN reports r ON r.id = a.report_id WHERE a.device_key = ? "
              "AND a.report_id = ? ORDER BY a.position LIMIT 1",
              {key, newest})
            .at(0);
    const auto [name, vendor] = name_of(db, key);
    db.run("DELETE FROM devices WHERE key = ?", {key});
    db.run(
        "INSERT INTO devices (key, vendor_id, device_id, name, vendor, reports, newest_report, "
        "newest_received, driver_version, d3d_level, gl_version, vk_version, page_mask) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {key, cell_integer(facts[0]), cell_integer(facts[1]), name, vendor, adapters, newest,
         cell_text(facts[2]), cell_text(facts[3]), cell_text(facts[4]), cell_text(facts[5]),
         cell_text(facts[6]), mask});
}

result<removed_report> report_store::remove(int64_t id, const std::string& why) {
    const std::unique_lock<std::mutex> turn = write_turn();
    lease db = borrow();
    begin_writing(*db);
    try {
        const std::vector<sql_row> found = db->run("SELECT received FROM reports WHERE id = ?", {id});
        if (found.empty()) {
            roll_back(*db);
            return reason{"Report", -1, {}, "There is no report " + std::to_string(id) + ".", {}};
        }
        count_month(*db, cell_text(found[0][0]), id, -1);
        std::set<std::string> devices;
        for (const sql_row& row :
             db->run("SELECT DISTINCT device_key FROM adapters WHERE report_id = ?", {id})) {
            devices.insert(cell_text(row[0]));
        }
        for (const std::string& key : devices) {
            uncount_device(*db, key);  // while its pages and their facts are all there
        }
        const std::vector<sql_row> pages = db->run(
            "SELECT DISTINCT ap.page_id FROM adapter_pages ap JOIN adapters a ON a.id = ap.adapter_id "
            "WHERE a.report_id = ?",
            {id});
        db->run("DELETE FROM adapter_pages WHERE adapter_id IN (SELECT id FROM adapters WHERE report_id = ?)",
                {id});
        db->run("DELETE FROM adapters WHERE report_id = ?", {id});
        db->run("DELETE FROM reports WHERE id = ?", {id});
        // A page no other report holds goes, and the row values only it said.
        for (const sql_row& row : pages) {
            const int64_t page = cell_integer(row[0]);
            if (!db->run("SELECT 1 FROM adapter_pages WHERE page_id = ? LIMIT 1", {page}).empty()) {
                continue;
            }
            forget_facts(*db, page);
            db->run("DELETE FROM device_pages WHERE page_id = ?", {page});
            db->run("DELETE FROM pages WHERE id = ?", {page});
        }
        for (const std::string& key : devices) {
            remake_device(*db, key);
            count_device_anew(*db, key);
        }
        const removed_report removed{id, utc_now_text(), why};
        db->run("INSERT INTO removals (report_id, removed, reason) VALUES (?, ?, ?)",
                {id, removed.removed, removed.why});
        commit(*db);
        return removed;
    } catch (const failure&) {
        roll_back(*db);
        db.drop();
        throw;
    }
}
