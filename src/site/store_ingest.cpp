// Keeping a report: its pages (each distinct one once, with what its rows
// say for coverage), its adapters and their devices, committed before the
// answer; and a legacy report's whole report, attached later.
#include <algorithm>
#include <chrono>
#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <thread>

#include "report/report_json.h"
#include "site/clock.h"
#include "site/compression.h"
#include "site/digest.h"
#include "site/presence.h"
#include "site/store_internal.h"

namespace {

nlohmann::json problems_json(const std::vector<reason>& problems) {
    nlohmann::json list = nlohmann::json::array();
    for (const reason& why : problems) {
        list.push_back({why.part, why.adapter, why.call, why.sentence, why.status});
    }
    return list;
}

// 128 random bits in hex: the token a legacy post's whole report comes with.
std::string new_token() {
    std::random_device source;
    std::string token;
    for (int i = 0; i < 4; ++i) {
        char part[9];
        std::snprintf(part, sizeof part, "%08x", static_cast<unsigned>(source()));
        token += part;
    }
    return token;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> facts_said(const report_page& page) {
    std::vector<std::pair<std::string, std::string>> said;
    std::set<std::pair<std::string, std::string>> seen;
    for (const report_row& row : page.rows) {
        if (row.kind != row_kind::section && row.kind != row_kind::blank && !row.name.empty() &&
            seen.emplace(row.name, row.value).second) {
            said.emplace_back(row.name, row.value);
        }
    }
    return said;
}

int64_t report_store::keep_page(sql_connection& db, const report_page& page, const std::string& hash) {
    const auto group = static_cast<int64_t>(page.info().group);
    const auto number = static_cast<int64_t>(page.id);
    std::vector<sql_row> made = db.run(
        "INSERT INTO pages (hash, page_no, body) VALUES (?, ?, ?) ON CONFLICT (hash) DO NOTHING RETURNING id",
        {hash, number, sql_bytes{deflated(page_json_text(page))}});
    if (made.empty()) {
        return cell_integer(db.run("SELECT id FROM pages WHERE hash = ?", {hash}).at(0)[0]);
    }
    const int64_t id = cell_integer(made[0][0]);
    // A page seen for the first time: what each of its rows says, for
    // coverage, in a few statements of many rows each.
    const std::vector<std::pair<std::string, std::string>> said = facts_said(page);
    constexpr size_t batch = 400;
    for (size_t first = 0; first < said.size(); first += batch) {
        const size_t last = std::min(said.size(), first + batch);
        std::string facts = "INSERT INTO facts (grp, page_no, name, value, present) VALUES ";
        // Each fact's id by its own lookup in the unique index: a join would
        // let the planner scan every fact of the page's kind, as many as
        // there are devices and drivers.
        std::string links = "INSERT INTO page_facts (fact_id, page_id) VALUES ";
        std::vector<sql_value> fact_values;
        std::vector<sql_value> link_values;
        for (size_t i = first; i < last; ++i) {
            const auto& [name, value] = said[i];
            facts += i == first ? "(?, ?, ?, ?, ?)" : ", (?, ?, ?, ?, ?)";
            links += std::string(i == first ? "" : ", ") +
                     "((SELECT id FROM facts WHERE grp = ? AND page_no = ? AND name = ? AND value = ?), ?)";
            fact_values.insert(fact_values.end(),
                               {group, number, name, value, int64_t{counts_as_present(value) ? 1 : 0}});
            link_values.insert(link_values.end(), {group, number, name, value, id});
        }
        db.run(facts + " ON CONFLICT (grp, page_no, name, value) DO NOTHING", fact_values);
        db.run(links, link_values);
    }
    return id;
}

void report_store::keep_adapters(sql_connection& db, int64_t id, const report_document& document,
                                 const std::string& received, bool counted) {
    const std::string platform = platform_key(document.platform.os);
    std::vector<adapter_facts> counted_devices;
    for (size_t a = 0; a < document.adapters.size(); ++a) {
        const adapter_report& adapter = document.adapters[a];
        adapter_facts facts = adapter_facts_of(adapter);
        int64_t read = 0;
        for (const report_group& group : adapter.groups) {
            read |= group.read ? int64_t{1} << static_cast<int>(group.id) : 0;
        }
        const int64_t adapter_id = cell_integer(
            db.run(
                  "INSERT INTO adapters (report_id, position, description, device_key, vendor_id, "
                  "device_id, "
                  "device_name, vendor, driver_version, driver_order, d3d_level, gl_version, vk_version, "
                  "read_groups) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id",
                  {id, static_cast<int64_t>(a), facts.description, facts.device_key, int64_t{facts.vendor_id},
                   int64_t{facts.device_id}, facts.device_name, facts.vendor_name, facts.driver_version,
                   facts.driver_order, facts.d3d_level, facts.gl_version, facts.vk_version, read})
                .at(0)[0]);
        // The adapter's pages, each found or kept, then linked in two
        // statements: few round trips to a database across a network.
        std::vector<const report_page*> written;
        std::vector<sql_value> hashes;
        std::string known_query = "SELECT hash, id FROM pages WHERE hash IN (";
        for (const report_group& group : adapter.groups) {
            for (const report_page& page : group.pages) {
                known_query += written.empty() ? "?" : ", ?";
                written.push_back(&page);
                hashes.emplace_back(page_hash(page));
            }
        }
        std::map<std::string, int64_t> known;
        if (!written.empty()) {
            for (const sql_row& row : db.run(known_query + ")", hashes)) {
                known.emplace(cell_text(row[0]), cell_integer(row[1]));
            }
        }
        std::vector<int64_t> pages;
        for (size_t p = 0; p < written.size(); ++p) {
            const std::string& hash = std::get<std::string>(hashes[p]);
            const auto found = known.find(hash);
            pages.push_back(found != known.end() ? found->second : keep_page(db, *written[p], hash));
        }
        if (!pages.empty()) {
            const std::string lowest = facts.driver_order + order_separator + facts.driver_version;
            std::string linked = "INSERT INTO adapter_pages (adapter_id, position, page_id) VALUES ";
            std::string devices = "INSERT INTO device_pages (device_key, page_id, lowest) VALUES ";
            std::string listed;  // the pages' placeholders
            std::vector<sql_value> link_values;
            std::vector<sql_value> device_values;
            std::vector<sql_value> lowered_values = {lowest, facts.device_key, lowest};
            std::string there;
            std::vector<sql_value> there_values;
            std::vector<sql_value> lowered_there = {lowest, facts.device_key, platform, lowest};
            for (size_t p = 0; p < pages.size(); ++p) {
                linked += p == 0 ? "(?, ?, ?)" : ", (?, ?, ?)";
                devices += p == 0 ? "(?, ?, ?)" : ", (?, ?, ?)";
                there += p == 0 ? "(?, ?, ?, ?)" : ", (?, ?, ?, ?)";
                listed += p == 0 ? "?" : ", ?";
                link_values.insert(link_values.end(), {adapter_id, static_cast<int64_t>(p), pages[p]});
                device_values.insert(device_values.end(), {facts.device_key, pages[p], lowest});
                there_values.insert(there_values.end(), {facts.device_key, platform, pages[p], lowest});
                lowered_values.emplace_back(pages[p]);
                lowered_there.emplace_back(pages[p]);
            }
            db.run(linked, link_values);
            // A page new to the device is added; one it had gets a lower
            // driver only where this one is lower (most reports bring newer
            // drivers: the update then writes and locks nothing).
            std::vector<int64_t> gained;
            for (const sql_row& row :
                 db.run(devices + " ON CONFLICT (page_id, device_key) DO NOTHING RETURNING page_id",
                        device_values)) {
                gained.push_back(cell_integer(row[0]));
            }
            db.run("UPDATE device_pages SET lowest = ? WHERE device_key = ? AND lowest > ? AND page_id IN (" +
                       listed + ")",
                   lowered_values);
            count_device_pages(db, facts.device_key, "", gained);
            // And on the report's platform: those new to the device there.
            std::vector<int64_t> gained_there;
            for (const sql_row& row : db.run(
                     "INSERT INTO device_platform_pages (device_key, platform, page_id, lowest) VALUES " +
                         there + " ON CONFLICT (device_key, platform, page_id) DO NOTHING RETURNING page_id",
                     there_values)) {
                gained_there.push_back(cell_integer(row[0]));
            }
            db.run(
                "UPDATE device_platform_pages SET lowest = ? WHERE device_key = ? AND platform = ? AND "
                "lowest > ? AND page_id IN (" +
                    listed + ")",
                lowered_there);
            count_device_pages(db, facts.device_key, platform, gained_there);
        }
        counted_devices.push_back(std::move(facts));
    }
    // The devices last, in one order: their rows are locked until the
    // commit, which then comes soon, and two reports never wait on each
    // other's devices in a circle.
    std::sort(counted_devices.begin(), counted_devices.end(),
              [](const adapter_facts& x, const adapter_facts& y) { return x.device_key < y.device_key; });
    for (const adapter_facts& facts : counted_devices) {
        count_device(db, facts, id, received, platform, counted);
    }
}

kept_report report_store::keep_once(sql_connection& db, const received_report& report,
                                    const std::string& hash) {
    const report_document& document = report.document;
    // The original is kept where the document does not give it back.
    const bool reproduced =
        report.how == "json" && report_json(document, report.program, report.version) == report.original;
    begin_writing(db);
    try {
        const std::string received = utc_now_text();
        std::vector<sql_row> made = db.run(
            "INSERT INTO reports (received, how, program, version, content_hash, problems, original, "
            "original_size, platform, platform_version, platform_kernel) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?) "
            "ON CONFLICT (content_hash) DO NOTHING RETURNING id",
            {received, report.how, report.program, report.version, hash,
             problems_json(document.problems).dump(),
             reproduced ? sql_value{} : sql_value{sql_bytes{deflated(report.original)}},
             static_cast<int64_t>(report.original.size()), document.platform.os, document.platform.version,
             document.platform.kernel});
        if (made.empty()) {
            roll_back(db);
            return {cell_integer(db.run("SELECT id FROM reports WHERE content_hash = ?", {hash}).at(0)[0]),
                    true,
                    {}};
        }
        const int64_t id = cell_integer(made[0][0]);
        keep_adapters(db, id, document, received, true);
        std::string token;
        if (report.how == "legacy") {
            token = new_token();
            db.run("UPDATE reports SET attach_token = ? WHERE id = ?", {token, id});
        }
        // Last: the month's counter is held only until the commit.
        count_month(db, received, id, 1);
        commit(db);
        return {id, false, token};
    } catch (const failure&) {
        roll_back(db);
        throw;
    }
}

kept_report report_store::keep(const received_report& report) {
    const std::string hash = content_hash(report.document);
    const std::optional<kept_report> known = with_db([&](sql_connection& db) -> std::optional<kept_report> {
        const std::vector<sql_row> found = db.run(
            "SELECT id, whole_hash, attach_token FROM reports WHERE content_hash = ? OR whole_hash = ?",
            {hash, hash});
        if (found.empty()) {
            return std::nullopt;
        }
        // A legacy report still without its whole report can get it.
        const bool waiting = report.how == "legacy" && !found[0][1];
        return kept_report{cell_integer(found[0][0]), true, waiting ? cell_text(found[0][2]) : std::string()};
    });
    if (known) {
        return *known;
    }
    const std::unique_lock<std::mutex> turn = write_turn();
    // Two writers of PostgreSQL may meet on a page or fact each inserts:
    // the one the server picks to fail tries again. A pooled connection
    // whose database restarted is dropped, with the rest, for a new one.
    for (int attempt = 0;; ++attempt) {
        lease db = borrow();
        try {
            return keep_once(*db, report, hash);
        } catch (const failure& error) {
            const std::string& state = error.why().status;
            const bool lost = error.why().part == database_away && db.reused();
            db.drop();
            if (attempt >= 4 || !(lost || state == "40P01" || state == "40001")) {
                throw;
            }
            if (lost) {
                forget_idle();
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(10 << attempt));
            }
        }
    }
}

namespace {

// Whether a text reads as the form sent it: the form turned each TAB, CR and
// LF into a blank and went in the sender's code page, so a text beyond ASCII
// cannot be compared across it.
bool same_as_sent(const std::string& sent, std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return !ascii || sent == text;
}

// Whether the whole report holds each page of the legacy one, its rows with
// the same names and the values the form carried, in the order written.
bool holds_legacy_pages(const report_document& whole, const report_document& legacy) {
    if (whole.adapters.size() != legacy.adapters.size()) {
        return false;
    }
    for (size_t a = 0; a < legacy.adapters.size(); ++a) {
        for (const report_group& group : legacy.adapters[a].groups) {
            for (const report_page& page : group.pages) {
                const report_page* own = whole.adapters[a].group(group.id).page(page.id);
                if (own == nullptr) {
                    return false;
                }
                const std::vector<const report_row*> rows = rows_as_written(*own);
                if (rows.size() != page.rows.size()) {
                    return false;
                }
                for (size_t r = 0; r < rows.size(); ++r) {
                    const report_row& sent = page.rows[r];
                    const report_row& kept = *rows[r];
                    if ((sent.kind == row_kind::blank) != (kept.kind == row_kind::blank) ||
                        !same_as_sent(sent.name, kept.name) ||
                        !same_as_sent(sent.wire_value.value_or(sent.value),
                                      kept.wire_value.value_or(kept.value))) {
                        return false;
                    }
                }
            }
        }
    }
    return true;
}

}  // namespace

result<kept_report> report_store::attach(int64_t id, const std::string& token, const received_report& whole) {
    const auto refusal = [](const std::string& sentence) { return reason{"Report", -1, {}, sentence, {}}; };
    const std::optional<stored_report> legacy = report(id);
    if (!legacy || legacy->how != "legacy") {
        return refusal("There is no report " + std::to_string(id) + " waiting for its whole report.");
    }
    if (!holds_legacy_pages(whole.document, legacy->document)) {
        return refusal("The whole report is not the report that was submitted.");
    }
    const std::string hash = content_hash(whole.document);
    const std::unique_lock<std::mutex> turn = write_turn();
    lease db = borrow();
    begin_writing(*db);
    try {
        const std::vector<sql_row> waiting = db->run(
            "SELECT id FROM reports WHERE id = ? AND attach_token = ? AND whole_hash IS NULL", {id, token});
        if (waiting.empty() || token.empty()) {
            roll_back(*db);
            return refusal("This report does not wait for a whole report with that token.");
        }
        const std::vector<sql_row> other =
            db->run("SELECT id FROM reports WHERE whole_hash = ? OR content_hash = ?", {hash, hash});
        if (!other.empty()) {
            roll_back(*db);
            return kept_report{cell_integer(other[0][0]), true, {}};
        }
        db->run("DELETE FROM adapter_pages WHERE adapter_id IN (SELECT id FROM adapters WHERE report_id = ?)",
                {id});
        db->run("DELETE FROM adapters WHERE report_id = ?", {id});
        keep_adapters(*db, id, whole.document, legacy->received, false);
        db->run(
            "UPDATE reports SET how = 'legacy+json', program = ?, version = ?, problems = ?, whole_hash = ?, "
            "attach_token = NULL, platform = ?, platform_version = ?, platform_kernel = ? WHERE id = ?",
            {whole.program, whole.version, problems_json(whole.document.problems).dump(), hash,
             whole.document.platform.os, whole.document.platform.version, whole.document.platform.kernel,
             id});
        commit(*db);
        return kept_report{id, false, {}};
    } catch (const failure&) {
        roll_back(*db);
        db.drop();
        throw;
    }
}
