#include "site/store.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <nlohmann/json.hpp>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "refdata/pci_names.h"
#include "report/report_json.h"
#include "site/store_internal.h"

namespace {

void name_devices(sql_connection& db);

// The schema, version by version: its statements, where {id}, {big} and
// {bytes} are the words the engines spell differently, then what code does.
struct migration {
    const char* sql;
    void (*then)(sql_connection&) = nullptr;
};

const migration migrations[] = {
    {R"(CREATE TABLE reports (
        id {id}, received TEXT NOT NULL, how TEXT NOT NULL, program TEXT NOT NULL, version TEXT NOT NULL,
        content_hash TEXT NOT NULL UNIQUE, problems TEXT NOT NULL, original {bytes}, original_size {big} NOT NULL);
    CREATE TABLE pages (id {id}, hash TEXT NOT NULL UNIQUE, page_no INTEGER NOT NULL, body {bytes} NOT NULL);
    CREATE TABLE facts (id {id}, grp INTEGER NOT NULL, page_no INTEGER NOT NULL, name TEXT NOT NULL,
        value TEXT NOT NULL, present INTEGER NOT NULL, UNIQUE (grp, page_no, name, value));
    CREATE TABLE page_facts (fact_id {big} NOT NULL, page_id {big} NOT NULL, PRIMARY KEY (fact_id, page_id));
    CREATE TABLE adapters (id {id}, report_id {big} NOT NULL REFERENCES reports(id), position INTEGER NOT NULL,
        description TEXT NOT NULL, device_key TEXT NOT NULL, vendor_id INTEGER NOT NULL, device_id INTEGER NOT NULL,
        device_name TEXT NOT NULL, vendor TEXT NOT NULL, driver_version TEXT NOT NULL, driver_order TEXT NOT NULL,
        d3d_level TEXT NOT NULL, gl_version TEXT NOT NULL, vk_version TEXT NOT NULL, read_groups INTEGER NOT NULL);
    CREATE INDEX adapters_report ON adapters (report_id);
    CREATE INDEX adapters_vendor ON adapters (vendor_id, report_id);
    CREATE TABLE adapter_pages (adapter_id {big} NOT NULL, position INTEGER NOT NULL, page_id {big} NOT NULL,
        PRIMARY KEY (adapter_id, position));
    CREATE TABLE devices (key TEXT PRIMARY KEY, vendor_id INTEGER NOT NULL, device_id INTEGER NOT NULL,
        name TEXT NOT NULL, vendor TEXT NOT NULL, reports {big} NOT NULL, newest_report {big} NOT NULL,
        newest_received TEXT NOT NULL, driver_version TEXT NOT NULL, d3d_level TEXT NOT NULL,
        gl_version TEXT NOT NULL, vk_version TEXT NOT NULL, page_mask {big} NOT NULL);
    CREATE INDEX devices_newest ON devices (newest_report);
    CREATE TABLE device_pages (device_key TEXT NOT NULL, page_id {big} NOT NULL, lowest TEXT NOT NULL,
        PRIMARY KEY (page_id, device_key));)"},
    // A report sent as the legacy form and then whole: the whole one's
    // content, and the token its sender attaches it with.
    {R"(ALTER TABLE reports ADD COLUMN whole_hash TEXT;
    ALTER TABLE reports ADD COLUMN attach_token TEXT;
    CREATE UNIQUE INDEX reports_whole ON reports (whole_hash);)"},
    // What each device's reports call it, so that no one report names it;
    // the reports an operator removed; "none" counted as absence.
    {R"(CREATE TABLE device_names (device_key TEXT NOT NULL, name TEXT NOT NULL, vendor TEXT NOT NULL,
        adapters {big} NOT NULL, first_report {big} NOT NULL, PRIMARY KEY (device_key, name, vendor));
    CREATE TABLE removals (report_id {big} PRIMARY KEY, removed TEXT NOT NULL, reason TEXT NOT NULL);
    CREATE INDEX adapters_device ON adapters (device_key, report_id);
    UPDATE facts SET present = 0 WHERE value = 'none';)",
     name_devices},
};

// Names every device anew: from the PCI list where it knows the IDs, else
// by what most of its reports say.
void name_devices(sql_connection& db) {
    for (const sql_row& row :
         db.run("SELECT DISTINCT vendor_id, device_id FROM adapters WHERE vendor_id <> 0")) {
        const auto vendor_id = static_cast<uint32_t>(integer_of(row[0]));
        const auto device_id = static_cast<uint32_t>(integer_of(row[1]));
        if (const std::string vendor = vendor_name_of(vendor_id); !vendor.empty()) {
            db.run("UPDATE adapters SET vendor = ? WHERE vendor_id = ? AND device_id = ?",
                   {vendor, int64_t{vendor_id}, int64_t{device_id}});
        }
        if (const std::string name = gpu_name_of(vendor_id, device_id); !name.empty()) {
            db.run("UPDATE adapters SET device_name = ? WHERE vendor_id = ? AND device_id = ?",
                   {name, int64_t{vendor_id}, int64_t{device_id}});
        }
    }
    for (const sql_row& row : db.run("SELECT key FROM devices")) {
        remake_device(db, text_of(row[0]));
    }
}

std::string spelt(std::string text, const std::string& engine) {
    const bool sqlite = engine == "sqlite";
    const std::pair<const char*, const char*> words[] = {
        {"{id}", sqlite ? "INTEGER PRIMARY KEY" : "BIGSERIAL PRIMARY KEY"},
        {"{big}", sqlite ? "INTEGER" : "BIGINT"},
        {"{bytes}", sqlite ? "BLOB" : "BYTEA"}};
    for (const auto& [word, meant] : words) {
        for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at)) {
            text.replace(at, std::string_view(word).size(), meant);
        }
    }
    return text;
}

// The statements of a script, split at ";".
std::vector<std::string> statements_of(const std::string& script) {
    std::vector<std::string> statements;
    size_t start = 0;
    for (size_t end = script.find(';'); end != std::string::npos; end = script.find(';', start)) {
        statements.push_back(script.substr(start, end - start));
        start = end + 1;
    }
    return statements;
}

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
    device.key = text_of(row[at]);
    device.vendor_id = static_cast<uint32_t>(integer_of(row[at + 1]));
    device.device_id = static_cast<uint32_t>(integer_of(row[at + 2]));
    device.name = text_of(row[at + 3]);
    device.vendor = text_of(row[at + 4]);
    device.reports = integer_of(row[at + 5]);
    device.newest_report = integer_of(row[at + 6]);
    device.newest_received = text_of(row[at + 7]);
    device.driver_version = text_of(row[at + 8]);
    device.d3d_level = text_of(row[at + 9]);
    device.gl_version = text_of(row[at + 10]);
    device.vk_version = text_of(row[at + 11]);
    return device;
}

// The condition of a listing's filter on the devices table, and its parameters.
std::string device_condition(const listing_filter& filter, std::vector<sql_value>& parameters) {
    std::string where = " WHERE 1 = 1";
    if (filter.vendor_id != 0) {
        where += " AND vendor_id = ?";
        parameters.emplace_back(int64_t{filter.vendor_id});
    }
    if (!filter.text.empty()) {
        where += " AND (LOWER(name) LIKE ? ESCAPE '!' OR LOWER(key) LIKE ? ESCAPE '!')";
        parameters.emplace_back(like_pattern(filter.text));
        parameters.emplace_back(like_pattern(filter.text));
    }
    if (filter.api == "directx") {
        where += " AND d3d_level <> ''";
    } else if (filter.api == "opengl") {
        where += " AND gl_version <> ''";
    } else if (filter.api == "vulkan") {
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
        facts.description = text_of(adapter[0]);
        facts.vendor_id = static_cast<uint32_t>(integer_of(adapter[1]));
        facts.device_id = static_cast<uint32_t>(integer_of(adapter[2]));
        facts.device_key = text_of(adapter[3]);
        facts.device_name = text_of(adapter[4]);
        facts.vendor_name = text_of(adapter[5]);
        facts.driver_version = text_of(adapter[6]);
        facts.d3d_level = text_of(adapter[7]);
        facts.gl_version = text_of(adapter[8]);
        facts.vk_version = text_of(adapter[9]);
    }
    return adapters;
}

int64_t offset_of(const listing_filter& filter) {
    return int64_t{std::max(filter.page, 1) - 1} * listing_page_size;
}

}  // namespace

report_store::lease report_store::borrow() {
    {
        const std::lock_guard<std::mutex> hold(pool_lock_);
        if (!idle_.empty()) {
            std::unique_ptr<sql_connection> db = std::move(idle_.back());
            idle_.pop_back();
            return lease(*this, std::move(db), true);
        }
    }
    return lease(*this, connect_(), false);
}

std::unique_lock<std::mutex> report_store::write_turn() {
    std::unique_lock<std::mutex> turn(write_lock_, std::defer_lock);
    if (one_writer_) {
        turn.lock();
    }
    return turn;
}

void report_store::forget_idle() {
    const std::lock_guard<std::mutex> hold(pool_lock_);
    idle_.clear();
}

void begin_writing(sql_connection& db) {
    db.run(db.engine() == std::string("sqlite") ? "BEGIN IMMEDIATE" : "BEGIN");
}

void roll_back(sql_connection& db) noexcept {
    try {
        db.run("ROLLBACK");
    } catch (const failure&) {
        // The connection is gone, and its transaction with it.
    }
}

void commit(sql_connection& db) {
    db.run("COMMIT");
    db.check_still_there();
}

result<std::unique_ptr<report_store>> report_store::open(const std::string& database) {
    std::function<std::unique_ptr<sql_connection>()> connect;
    bool sqlite = false;
    const auto refused = [](const std::string& sentence) { return reason{"Database", -1, {}, sentence, {}}; };
    if (database.starts_with("sqlite:")) {
        const std::string path = database.substr(7);
        // SQLite takes an empty path, or ":memory:", as a database that is
        // gone at exit: every report would be lost.
        if (path.empty() || path == ":memory:" || path.starts_with("file:")) {
            return refused("sqlite: takes the path of a database file, such as sqlite:cavio.db.");
        }
        connect = [path] { return open_sqlite(path, false); };
        sqlite = true;
        try {
            open_sqlite(path, true);  // made here where missing; later connections never make one
        } catch (const failure& error) {
            return error.why();
        }
    } else if (database.starts_with("postgresql://") || database.starts_with("postgres://")) {
        connect = [database] { return open_postgresql(database); };
    } else {
        return refused("\"" + database + "\" is neither sqlite:PATH nor postgresql://...");
    }
    init_reference_data();
    try {
        auto store = std::make_unique<report_store>(connect, sqlite);
        store->migrate();
        return store;
    } catch (const failure& error) {
        return error.why();
    }
}

report_store::report_store(std::function<std::unique_ptr<sql_connection>()> connect, bool one_writer)
    : connect_(std::move(connect)), one_writer_(one_writer) {}

void report_store::migrate() {
    lease db = borrow();
    const std::string engine = db->engine();
    // One migration at a time, whichever process starts first: the lock is
    // taken before the version table may be made.
    if (engine == "postgresql") {
        db->run("BEGIN");
        db->run("SELECT pg_advisory_xact_lock(7204203)");
    } else {
        db->run("BEGIN IMMEDIATE");
    }
    try {
        db->run("CREATE TABLE IF NOT EXISTS cavio_schema (version INTEGER NOT NULL)");
        const std::vector<sql_row> rows = db->run("SELECT version FROM cavio_schema");
        int64_t version = rows.empty() ? 0 : integer_of(rows[0][0]);
        if (rows.empty()) {
            db->run("INSERT INTO cavio_schema (version) VALUES (0)");
        }
        for (; version < static_cast<int64_t>(std::size(migrations)); ++version) {
            for (const std::string& statement : statements_of(spelt(migrations[version].sql, engine))) {
                db->run(statement);
            }
            if (migrations[version].then != nullptr) {
                migrations[version].then(*db);
            }
            db->run("UPDATE cavio_schema SET version = ?", {version + 1});
        }
        commit(*db);
    } catch (const failure&) {
        roll_back(*db);
        throw;
    }
}

std::optional<stored_report> report_store::report(int64_t id) {
    return with_db([&](sql_connection& db) -> std::optional<stored_report> {
        const std::vector<sql_row> found = db.run(
            "SELECT received, how, program, version, problems, original, attach_token FROM reports "
            "WHERE id = ?",
            {id});
        if (found.empty()) {
            return std::nullopt;
        }
        stored_report stored;
        stored.id = id;
        stored.received = text_of(found[0][0]);
        stored.how = text_of(found[0][1]);
        stored.program = text_of(found[0][2]);
        stored.version = text_of(found[0][3]);
        stored.awaits_whole = found[0][6].has_value();
        stored.document.problems = problems_of(text_of(found[0][4]));
        const std::vector<sql_row> adapters = db.run(
            "SELECT id, description, read_groups FROM adapters WHERE report_id = ? ORDER BY position", {id});
        for (const sql_row& row : adapters) {
            adapter_report& adapter = stored.document.adapters.emplace_back();
            adapter.description = text_of(row[1]);
            for (int g = 0; g < group_count; ++g) {
                adapter.groups.push_back(
                    {static_cast<page_group>(g), (integer_of(row[2]) >> g & 1) != 0, {}});
            }
            const std::vector<sql_row> pages = db.run(
                "SELECT p.page_no, p.body FROM adapter_pages ap JOIN pages p ON p.id = ap.page_id "
                "WHERE ap.adapter_id = ? ORDER BY ap.position",
                {integer_of(row[0])});
            for (const sql_row& page : pages) {
                const page_info& info = page_of(static_cast<page_id>(integer_of(page[0])));
                std::string body;
                if (!inflate_into(text_of(page[1]), size_t{256} << 20, body)) {
                    throw failure(reason{"Store", -1, {}, "a kept page cannot be read back", {}});
                }
                result<report_page> read = read_page_json(body, info.group);
                if (!read) {
                    throw failure(read.why());
                }
                adapter.group(info.group).pages.push_back(std::move(*read));
            }
        }
        if (found[0][5]) {
            if (!inflate_into(*found[0][5], size_t{256} << 20, stored.original)) {
                throw failure(reason{"Store", -1, {}, "a kept original cannot be read back", {}});
            }
        } else {
            stored.original = report_json(stored.document, stored.program, stored.version);
        }
        return stored;
    });
}

std::vector<listed_report> report_store::reports(const listing_filter& filter, int64_t* total) {
    return with_db([&](sql_connection& db) -> std::vector<listed_report> {
        std::vector<sql_value> parameters;
        std::string where = " WHERE 1 = 1";
        if (filter.vendor_id != 0) {
            where += " AND a.vendor_id = ?";
            parameters.emplace_back(int64_t{filter.vendor_id});
        }
        if (!filter.text.empty()) {
            where +=
                " AND (LOWER(a.description) LIKE ? ESCAPE '!' OR LOWER(a.device_name) LIKE ? ESCAPE '!')";
            parameters.emplace_back(like_pattern(filter.text));
            parameters.emplace_back(like_pattern(filter.text));
        }
        const std::string matching = "SELECT DISTINCT a.report_id FROM adapters a" + where;
        if (total != nullptr) {
            *total = integer_of(db.run("SELECT COUNT(*) FROM (" + matching + ") m", parameters).at(0)[0]);
        }
        parameters.emplace_back(int64_t{listing_page_size});
        parameters.emplace_back(offset_of(filter));
        std::vector<listed_report> listed;
        for (const sql_row& row : db.run("SELECT r.id, r.received, r.how FROM reports r WHERE r.id IN (" +
                                             matching + ") ORDER BY r.id DESC LIMIT ? OFFSET ?",
                                         parameters)) {
            listed_report& entry = listed.emplace_back();
            entry.id = integer_of(row[0]);
            entry.received = text_of(row[1]);
            entry.how = text_of(row[2]);
            entry.adapters = adapters_of(db, entry.id);
        }
        return listed;
    });
}

std::optional<device_entry> report_store::device(const std::string& key) {
    return with_db([&](sql_connection& db) -> std::optional<device_entry> {
        const std::vector<sql_row> found =
            db.run(std::string("SELECT ") + device_columns + " FROM devices WHERE key = ?", {key});
        return found.empty() ? std::nullopt : std::optional(device_of(found[0]));
    });
}

std::vector<listed_report> report_store::device_reports(const std::string& key) {
    return with_db([&](sql_connection& db) -> std::vector<listed_report> {
        std::vector<listed_report> listed;
        for (const sql_row& row : db.run(
                 "SELECT r.id, r.received, r.how, MAX(a.driver_order) AS driver FROM reports r JOIN adapters "
                 "a ON "
                 "a.report_id = r.id WHERE a.device_key = ? GROUP BY r.id, r.received, r.how "
                 "ORDER BY driver DESC, r.id DESC LIMIT 500",
                 {key})) {
            listed_report& entry = listed.emplace_back();
            entry.id = integer_of(row[0]);
            entry.received = text_of(row[1]);
            entry.how = text_of(row[2]);
            entry.adapters = adapters_of(db, entry.id);
        }
        return listed;
    });
}

std::vector<device_entry> report_store::devices(const listing_filter& filter, int64_t* total) {
    return with_db([&](sql_connection& db) -> std::vector<device_entry> {
        std::vector<sql_value> parameters;
        const std::string where = device_condition(filter, parameters);
        if (total != nullptr) {
            *total = integer_of(db.run("SELECT COUNT(*) FROM devices" + where, parameters).at(0)[0]);
        }
        parameters.emplace_back(int64_t{listing_page_size});
        parameters.emplace_back(offset_of(filter));
        std::vector<device_entry> devices;
        for (const sql_row& row : db.run(std::string("SELECT ") + device_columns + " FROM devices" + where +
                                             " ORDER BY newest_report DESC LIMIT ? OFFSET ?",
                                         parameters)) {
            devices.push_back(device_of(row));
        }
        return devices;
    });
}

std::vector<covered_device> report_store::coverage(const coverage_query& query) {
    return with_db([&](sql_connection& db) -> std::vector<covered_device> {
        std::vector<sql_value> parameters = {static_cast<int64_t>(query.group),
                                             static_cast<int64_t>(query.page), query.name};
        std::string condition = "f.present = 1";
        if (query.value) {
            condition = "f.value = ?";
            parameters.emplace_back(*query.value);
        }
        std::vector<covered_device> covered;
        std::map<std::string, size_t> having;  // device key -> its place in covered
        for (const sql_row& row : db.run(
                 "SELECT dp.device_key, MIN(dp.lowest) FROM facts f JOIN page_facts pf ON pf.fact_id = f.id "
                 "JOIN device_pages dp ON dp.page_id = pf.page_id WHERE f.grp = ? AND f.page_no = ? AND "
                 "f.name = ? AND " +
                     condition + " GROUP BY dp.device_key",
                 parameters)) {
            const std::string lowest = text_of(row[1]);
            covered_device& device = covered.emplace_back();
            device.device.key = text_of(row[0]);
            device.has = true;
            device.lowest_driver = lowest.substr(lowest.find(order_separator[0]) + 1);
            having.emplace(device.device.key, covered.size() - 1);
        }
        // Every device that has the page at all: those with the row, and the rest.
        const std::vector<sql_row> devices =
            db.run(std::string("SELECT ") + device_columns + " FROM devices WHERE (page_mask & ?) <> 0",
                   {int64_t{1} << static_cast<int>(query.page)});
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
            names.push_back(text_of(row[0]));
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
        return removed_report{id, text_of(found[0][0]), text_of(found[0][1])};
    });
}
