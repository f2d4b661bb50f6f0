// The counts the landscape reads, kept as reports arrive: how many devices of
// each vendor have each fact, each present row and each capability word of a
// format, over the whole field and on each platform; and the reports of each
// month. A device counts once for each, whatever number of its reports say it.
#include <algorithm>
#include <map>
#include <set>
#include <string_view>
#include <tuple>

#include "site/format_words.h"
#include "site/store_internal.h"

namespace {

constexpr size_t batch = 500;

std::string placeholders(size_t count, const char* each = "?") {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        text += (i == 0 ? "" : ", ") + std::string(each);
    }
    return text;
}

// The vendor a device key names: "10de:06cd" is 0x10DE; a "name:" key none (0).
int64_t vendor_of_key(const std::string& key) {
    return key.size() == 9 && key[4] == ':' ? std::stoll(key.substr(0, 4), nullptr, 16) : 0;
}

using row_of_page = std::tuple<int64_t, int64_t, std::string>;               // group, page, name
using word_of_row = std::tuple<int64_t, int64_t, std::string, std::string>;  // ... and a word

// What some pages say: their facts, the rows they have (present), and the
// capability words of their formats.
struct said {
    std::set<int64_t> facts;
    std::set<row_of_page> rows;
    std::set<word_of_row> words;
};

// Runs statement once for each batch of values, each batch's placeholders
// where "{}" stands; the rows of every run.
std::vector<sql_row> in_batches(sql_connection& db, const std::string& statement,
                                const std::vector<int64_t>& values) {
    std::vector<sql_row> rows;
    const size_t at = statement.find("{}");
    for (size_t first = 0; first < values.size(); first += batch) {
        const size_t last = std::min(values.size(), first + batch);
        std::vector<sql_value> parameters(values.begin() + static_cast<ptrdiff_t>(first),
                                          values.begin() + static_cast<ptrdiff_t>(last));
        std::vector<sql_row> got = db.run(
            statement.substr(0, at) + placeholders(last - first) + statement.substr(at + 2), parameters);
        rows.insert(rows.end(), std::make_move_iterator(got.begin()), std::make_move_iterator(got.end()));
    }
    return rows;
}

said said_by_pages(sql_connection& db, const std::vector<int64_t>& pages) {
    said what;
    for (const sql_row& row :
         in_batches(db, "SELECT DISTINCT fact_id FROM page_facts WHERE page_id IN ({})", pages)) {
        what.facts.insert(cell_integer(row[0]));
    }
    const std::vector<int64_t> facts(what.facts.begin(), what.facts.end());
    for (const sql_row& row : in_batches(
             db, "SELECT grp, page_no, name, value FROM facts WHERE present = 1 AND id IN ({})", facts)) {
        const int64_t group = cell_integer(row[0]);
        const int64_t page = cell_integer(row[1]);
        const std::string name = cell_text(row[2]);
        what.rows.emplace(group, page, name);
        if (lists_formats(static_cast<page_id>(page))) {
            for (std::string& word : format_words(cell_text(row[3]))) {
                what.words.emplace(group, page, name, std::move(word));
            }
        }
    }
    return what;
}

// Whose counts: the whole field's (platform empty) or one platform's, of a vendor.
struct counted_as {
    const std::string& platform;
    int64_t vendor_id;
};

// Adds by to the count of devices for each key (the values of the key's
// columns) in table.
void add_to(sql_connection& db, const std::string& table, const std::string& columns,
            const std::vector<std::vector<sql_value>>& keys, counted_as whose, int64_t by) {
    for (size_t first = 0; first < keys.size(); first += batch) {
        const size_t last = std::min(keys.size(), first + batch);
        std::vector<sql_value> values;
        for (size_t i = first; i < last; ++i) {
            values.insert(values.end(), keys[i].begin(), keys[i].end());
            values.insert(values.end(), {whose.platform, whose.vendor_id, by});
        }
        const std::string each = "(" + placeholders(keys[first].size() + 3) + ")";
        db.run("INSERT INTO " + table + " (" + columns + ", platform, vendor_id, devices) VALUES " +
                   placeholders(last - first, each.c_str()) + " ON CONFLICT (" + columns +
                   ", platform, vendor_id) DO UPDATE SET devices = " + table + ".devices + excluded.devices",
               values);
    }
}

// Adds by (1 or -1) to the counts, in the sets' order: two writers never
// wait on each other's rows in a circle.
void add_counts(sql_connection& db, const said& what, counted_as whose, int64_t by) {
    std::vector<std::vector<sql_value>> keys;
    for (const int64_t fact : what.facts) {
        keys.push_back({fact});
    }
    add_to(db, "fact_counts", "fact_id", keys, whose, by);
    keys.clear();
    for (const auto& [group, page, name] : what.rows) {
        keys.push_back({group, page, name});
    }
    add_to(db, "row_counts", "grp, page_no, name", keys, whose, by);
    keys.clear();
    for (const auto& [group, page, name, word] : what.words) {
        keys.push_back({group, page, name, word});
    }
    add_to(db, "word_counts", "grp, page_no, name, word", keys, whose, by);
}

// The device's pages, for the whole field (the empty platform) and on each
// platform it was read on.
std::map<std::string, std::vector<int64_t>> pages_of_device(sql_connection& db, const std::string& key) {
    std::map<std::string, std::vector<int64_t>> pages;
    for (const sql_row& row :
         db.run("SELECT '', page_id FROM device_pages WHERE device_key = ? UNION ALL "
                "SELECT platform, page_id FROM device_platform_pages WHERE device_key = ?",
                {key, key})) {
        pages[cell_text(row[0])].push_back(cell_integer(row[1]));
    }
    return pages;
}

template <typename item>
std::set<item> less(const std::set<item>& all, const std::set<item>& known) {
    std::set<item> rest;
    std::set_difference(all.begin(), all.end(), known.begin(), known.end(), std::inserter(rest, rest.end()));
    return rest;
}

}  // namespace

void count_device_pages(sql_connection& db, const std::string& key, const std::string& platform,
                        const std::vector<int64_t>& pages) {
    if (pages.empty()) {
        return;
    }
    // Two reports of one device counting at once would each count what the
    // other brings: the second waits for the first's commit, then sees its
    // pages (on every platform: the lock is the device's).
    if (std::string_view(db.engine()) == "postgresql") {
        db.run("SELECT pg_advisory_xact_lock(7204204, hashtext(?))", {key});
    }
    // What the device's other pages of the same kinds said before (on the
    // platform): only what is new to the device counts it.
    std::set<int64_t> kinds;
    for (const sql_row& row : in_batches(db, "SELECT DISTINCT page_no FROM pages WHERE id IN ({})", pages)) {
        kinds.insert(cell_integer(row[0]));
    }
    std::vector<sql_value> parameters = {key};
    if (!platform.empty()) {
        parameters.emplace_back(platform);
    }
    parameters.insert(parameters.end(), kinds.begin(), kinds.end());
    const std::set<int64_t> counted(pages.begin(), pages.end());
    std::vector<int64_t> others;
    for (const sql_row& row : db.run(std::string("SELECT dp.page_id FROM ") +
                                         (platform.empty() ? "device_pages" : "device_platform_pages") +
                                         " dp JOIN pages p ON p.id = dp.page_id WHERE dp.device_key = ? " +
                                         (platform.empty() ? "" : "AND dp.platform = ? ") +
                                         "AND p.page_no IN (" + placeholders(kinds.size()) + ")",
                                     parameters)) {
        if (counted.count(cell_integer(row[0])) == 0) {
            others.push_back(cell_integer(row[0]));
        }
    }
    const said now = said_by_pages(db, pages);
    const said before = said_by_pages(db, others);
    add_counts(db,
               {less(now.facts, before.facts), less(now.rows, before.rows), less(now.words, before.words)},
               {platform, vendor_of_key(key)}, 1);
}

void uncount_device(sql_connection& db, const std::string& key) {
    for (const auto& [platform, pages] : pages_of_device(db, key)) {
        add_counts(db, said_by_pages(db, pages), {platform, vendor_of_key(key)}, -1);
    }
}

void count_device_anew(sql_connection& db, const std::string& key) {
    for (const auto& [platform, pages] : pages_of_device(db, key)) {
        count_device_pages(db, key, platform, pages);
    }
}

void count_month(sql_connection& db, const std::string& received, int64_t id, int64_t reports) {
    // Eight counters a month, so that writers at once seldom wait on one row.
    db.run(
        "INSERT INTO monthly_reports (month, shard, reports) VALUES (?, ?, ?) ON CONFLICT (month, shard) DO "
        "UPDATE SET reports = monthly_reports.reports + excluded.reports",
        {received.substr(0, 7), id % 8, reports});
}
