#include "site/store.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <nlohmann/json.hpp>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "report/report_json.h"

namespace {

// The schema, version by version; {id}, {big} and {bytes} are the words
// the engines spell differently.
const char* const migrations[] = {
    R"(CREATE TABLE reports (
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
        PRIMARY KEY (page_id, device_key));)",
    // A report sent as the legacy form and then whole: the whole one's
    // content, and the token its sender attaches it with.
    R"(ALTER TABLE reports ADD COLUMN whole_hash TEXT;
    ALTER TABLE reports ADD COLUMN attach_token TEXT;
    CREATE UNIQUE INDEX reports_whole ON reports (whole_hash);)",
};

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

nlohmann::json problems_json(const std::vector<reason>& problems) {
    nlohmann::json list = nlohmann::json::array();
    for (const reason& why : problems) {
        list.push_back({why.part, why.adapter, why.call, why.sentence, why.status});
    }
    return list;
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

int64_t offset_of(const listing_filter& filter) {
    return int64_t{std::max(filter.page, 1) - 1} * listing_page_size;
}

}  // namespace

// A connection borrowed from the pool for one call, back in it after.
class report_store::lease {
public:
    lease(report_store& store, std::unique_ptr<sql_connection> db) : store_(store), db_(std::move(db)) {}
    ~lease() {
        if (db_) {
            const std::lock_guard<std::mutex> hold(store_.pool_lock_);
            store_.idle_.push_back(std::move(db_));
        }
    }
    lease(lease&&) = default;
    sql_connection& operator*() { return *db_; }
    sql_connection* operator->() { return db_.get(); }
    // A connection whose statement failed may be broken: it is not reused.
    void drop() { db_.reset(); }

private:
    report_store& store_;
    std::unique_ptr<sql_connection> db_;
};

report_store::lease report_store::borrow() {
    {
        const std::lock_guard<std::mutex> hold(pool_lock_);
        if (!idle_.empty()) {
            std::unique_ptr<sql_connection> db = std::move(idle_.back());
            idle_.pop_back();
            return lease(*this, std::move(db));
        }
    }
    return lease(*this, connect_());
}

result<std::unique_ptr<report_store>> report_store::open(const std::string& database) {
    std::function<std::unique_ptr<sql_connection>()> connect;
    bool sqlite = false;
    if (database.starts_with("sqlite:")) {
        connect = [path = database.substr(7)] { return open_sqlite(path); };
        sqlite = true;
    } else if (database.starts_with("postgresql://") || database.starts_with("postgres://")) {
        connect = [database] { return open_postgresql(database); };
    } else {
        return reason{
            "Database", -1, {}, "\"" + database + "\" is neither sqlite:PATH nor postgresql://...", {}};
    }
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
    db->run("CREATE TABLE IF NOT EXISTS cavio_schema (version INTEGER NOT NULL)");
    // One migration at a time, whichever process starts first.
    if (engine == "postgresql") {
        db->run("BEGIN");
        db->run("LOCK TABLE cavio_schema IN EXCLUSIVE MODE");
    } else {
        db->run("BEGIN IMMEDIATE");
    }
    try {
        const std::vector<sql_row> rows = db->run("SELECT version FROM cavio_schema");
        int64_t version = rows.empty() ? 0 : integer_of(rows[0][0]);
        if (rows.empty()) {
            db->run("INSERT INTO cavio_schema (version) VALUES (0)");
        }
        for (; version < static_cast<int64_t>(std::size(migrations)); ++version) {
            for (const std::string& statement : statements_of(spelt(migrations[version], engine))) {
                db->run(statement);
            }
            db->run("UPDATE cavio_schema SET version = ?", {version + 1});
        }
        db->run("COMMIT");
    } catch (const failure&) {
        db->run("ROLLBACK");
        throw;
    }
}

int64_t report_store::keep_page(sql_connection& db, const report_page& page, const std::string& hash) {
    const auto group = static_cast<int64_t>(page.info().group);
    const auto number = static_cast<int64_t>(page.id);
    std::vector<sql_row> made = db.run(
        "INSERT INTO pages (hash, page_no, body) VALUES (?, ?, ?) ON CONFLICT (hash) DO NOTHING RETURNING id",
        {hash, number, sql_bytes{deflated(page_json_text(page))}});
    if (made.empty()) {
        return integer_of(db.run("SELECT id FROM pages WHERE hash = ?", {hash}).at(0)[0]);
    }
    const int64_t id = integer_of(made[0][0]);
    // A page seen for the first time: what each of its rows says, for
    // coverage, in a few statements of many rows each.
    std::vector<std::pair<std::string, std::string>> said;
    std::set<std::pair<std::string, std::string>> seen;
    for (const report_row& row : page.rows) {
        if (row.kind != row_kind::section && row.kind != row_kind::blank && !row.name.empty() &&
            seen.emplace(row.name, row.value).second) {
            said.emplace_back(row.name, row.value);
        }
    }
    constexpr size_t batch = 400;
    for (size_t first = 0; first < said.size(); first += batch) {
        const size_t last = std::min(said.size(), first + batch);
        std::string facts = "INSERT INTO facts (grp, page_no, name, value, present) VALUES ";
        std::string links =
            "INSERT INTO page_facts (fact_id, page_id) SELECT id, ? FROM facts WHERE grp = ? AND page_no = ? "
            "AND "
            "(name, value) IN (";
        std::vector<sql_value> fact_values;
        std::vector<sql_value> link_values = {id, group, number};
        for (size_t i = first; i < last; ++i) {
            const auto& [name, value] = said[i];
            facts += i == first ? "(?, ?, ?, ?, ?)" : ", (?, ?, ?, ?, ?)";
            links += i == first ? "(?, ?)" : ", (?, ?)";
            fact_values.insert(fact_values.end(),
                               {group, number, name, value, int64_t{counts_as_present(value) ? 1 : 0}});
            link_values.insert(link_values.end(), {name, value});
        }
        db.run(facts + " ON CONFLICT (grp, page_no, name, value) DO NOTHING", fact_values);
        db.run(links + ") ON CONFLICT DO NOTHING", link_values);
    }
    return id;
}

void report_store::keep_adapters(sql_connection& db, int64_t id, const report_document& document,
                                 const std::string& received, bool counted) {
    for (size_t a = 0; a < document.adapters.size(); ++a) {
        const adapter_report& adapter = document.adapters[a];
        const adapter_facts facts = facts_of(adapter);
        int64_t read = 0;
        for (const report_group& group : adapter.groups) {
            read |= group.read ? int64_t{1} << static_cast<int>(group.id) : 0;
        }
        const int64_t adapter_id = integer_of(
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
                known.emplace(text_of(row[0]), integer_of(row[1]));
            }
        }
        std::vector<int64_t> pages;
        for (size_t p = 0; p < written.size(); ++p) {
            const std::string& hash = std::get<std::string>(hashes[p]);
            const auto found = known.find(hash);
            pages.push_back(found != known.end() ? found->second : keep_page(db, *written[p], hash));
        }
        if (!pages.empty()) {
            const std::string lowest = facts.driver_order + "|" + facts.driver_version;
            std::string linked = "INSERT INTO adapter_pages (adapter_id, position, page_id) VALUES ";
            std::string devices = "INSERT INTO device_pages (device_key, page_id, lowest) VALUES ";
            std::vector<sql_value> link_values;
            std::vector<sql_value> device_values;
            for (size_t p = 0; p < pages.size(); ++p) {
                linked += p == 0 ? "(?, ?, ?)" : ", (?, ?, ?)";
                devices += p == 0 ? "(?, ?, ?)" : ", (?, ?, ?)";
                link_values.insert(link_values.end(), {adapter_id, static_cast<int64_t>(p), pages[p]});
                device_values.insert(device_values.end(), {facts.device_key, pages[p], lowest});
            }
            db.run(linked, link_values);
            db.run(devices +
                       " ON CONFLICT (page_id, device_key) DO UPDATE SET lowest = excluded.lowest "
                       "WHERE excluded.lowest < device_pages.lowest",
                   device_values);
        }
        db.run(
            "INSERT INTO devices (key, vendor_id, device_id, name, vendor, reports, newest_report, "
            "newest_received, driver_version, d3d_level, gl_version, vk_version, page_mask) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (key) DO UPDATE SET "
            "reports = devices.reports + excluded.reports, page_mask = devices.page_mask | "
            "excluded.page_mask, "
            "name = excluded.name, vendor = excluded.vendor, newest_report = excluded.newest_report, "
            "newest_received = excluded.newest_received, driver_version = excluded.driver_version, "
            "d3d_level = excluded.d3d_level, gl_version = excluded.gl_version, "
            "vk_version = excluded.vk_version",
            {facts.device_key, int64_t{facts.vendor_id}, int64_t{facts.device_id}, facts.device_name,
             facts.vendor_name, int64_t{counted ? 1 : 0}, id, received, facts.driver_version, facts.d3d_level,
             facts.gl_version, facts.vk_version, static_cast<int64_t>(facts.page_mask)});
    }
}

kept_report report_store::keep_once(sql_connection& db, const received_report& report,
                                    const std::string& hash) {
    const report_document& document = report.document;
    // The original is kept where the document does not give it back.
    const bool reproduced =
        report.how == "json" && report_json(document, report.program, report.version) == report.original;
    db.run(db.engine() == std::string("sqlite") ? "BEGIN IMMEDIATE" : "BEGIN");
    try {
        const std::string received = utc_now_text();
        std::vector<sql_row> made = db.run(
            "INSERT INTO reports (received, how, program, version, content_hash, problems, original, "
            "original_size) VALUES (?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (content_hash) DO NOTHING RETURNING "
            "id",
            {received, report.how, report.program, report.version, hash,
             problems_json(document.problems).dump(),
             reproduced ? sql_value{} : sql_value{sql_bytes{deflated(report.original)}},
             static_cast<int64_t>(report.original.size())});
        if (made.empty()) {
            db.run("ROLLBACK");
            return {integer_of(db.run("SELECT id FROM reports WHERE content_hash = ?", {hash}).at(0)[0]),
                    true,
                    {}};
        }
        const int64_t id = integer_of(made[0][0]);
        keep_adapters(db, id, document, received, true);
        std::string token;
        if (report.how == "legacy") {
            token = new_token();
            db.run("UPDATE reports SET attach_token = ? WHERE id = ?", {token, id});
        }
        db.run("COMMIT");
        return {id, false, token};
    } catch (const failure&) {
        db.run("ROLLBACK");
        throw;
    }
}

kept_report report_store::keep(const received_report& report) {
    const std::string hash = content_hash(report.document);
    {
        lease db = borrow();
        const std::vector<sql_row> found = db->run(
            "SELECT id, whole_hash, attach_token FROM reports WHERE content_hash = ? OR whole_hash = ?",
            {hash, hash});
        if (!found.empty()) {
            // A legacy report still without its whole report can get it.
            const bool waiting = report.how == "legacy" && !found[0][1];
            return {integer_of(found[0][0]), true, waiting ? text_of(found[0][2]) : std::string()};
        }
    }
    std::unique_lock<std::mutex> turn(write_lock_, std::defer_lock);
    if (one_writer_) {
        turn.lock();
    }
    // Two writers of PostgreSQL may meet on a page or fact each inserts:
    // the one the server picks to fail tries again.
    for (int attempt = 0;; ++attempt) {
        lease db = borrow();
        try {
            return keep_once(*db, report, hash);
        } catch (const failure& error) {
            const std::string& state = error.why().status;
            if (attempt >= 4 || (state != "40P01" && state != "40001")) {
                db.drop();
                throw;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10 << attempt));
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
                        !same_as_sent(sent.value, kept.wire_value.value_or(kept.value))) {
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
    const auto refused = [](const std::string& sentence) { return reason{"Report", -1, {}, sentence, {}}; };
    const std::optional<stored_report> legacy = report(id);
    if (!legacy || legacy->how != "legacy") {
        return refused("There is no report " + std::to_string(id) + " waiting for its whole report.");
    }
    if (!holds_legacy_pages(whole.document, legacy->document)) {
        return refused("The whole report is not the report that was submitted.");
    }
    const std::string hash = content_hash(whole.document);
    std::unique_lock<std::mutex> turn(write_lock_, std::defer_lock);
    if (one_writer_) {
        turn.lock();
    }
    lease db = borrow();
    db->run(db->engine() == std::string("sqlite") ? "BEGIN IMMEDIATE" : "BEGIN");
    try {
        const std::vector<sql_row> waiting = db->run(
            "SELECT id FROM reports WHERE id = ? AND attach_token = ? AND whole_hash IS NULL", {id, token});
        if (waiting.empty() || token.empty()) {
            db->run("ROLLBACK");
            return refused("This report does not wait for a whole report with that token.");
        }
        const std::vector<sql_row> other =
            db->run("SELECT id FROM reports WHERE whole_hash = ? OR content_hash = ?", {hash, hash});
        if (!other.empty()) {
            db->run("ROLLBACK");
            return kept_report{integer_of(other[0][0]), true, {}};
        }
        db->run("DELETE FROM adapter_pages WHERE adapter_id IN (SELECT id FROM adapters WHERE report_id = ?)",
                {id});
        db->run("DELETE FROM adapters WHERE report_id = ?", {id});
        keep_adapters(*db, id, whole.document, legacy->received, false);
        db->run(
            "UPDATE reports SET how = 'legacy+json', program = ?, version = ?, problems = ?, whole_hash = ?, "
            "attach_token = NULL WHERE id = ?",
            {whole.program, whole.version, problems_json(whole.document.problems).dump(), hash, id});
        db->run("COMMIT");
        return kept_report{id, false, {}};
    } catch (const failure&) {
        db->run("ROLLBACK");
        db.drop();
        throw;
    }
}

std::optional<stored_report> report_store::report(int64_t id) {
    lease db = borrow();
    const std::vector<sql_row> found =
        db->run("SELECT received, how, program, version, problems, original FROM reports WHERE id = ?", {id});
    if (found.empty()) {
        return std::nullopt;
    }
    stored_report stored;
    stored.id = id;
    stored.received = text_of(found[0][0]);
    stored.how = text_of(found[0][1]);
    stored.program = text_of(found[0][2]);
    stored.version = text_of(found[0][3]);
    stored.document.problems = problems_of(text_of(found[0][4]));
    const std::vector<sql_row> adapters = db->run(
        "SELECT id, description, read_groups FROM adapters WHERE report_id = ? ORDER BY position", {id});
    for (const sql_row& row : adapters) {
        adapter_report& adapter = stored.document.adapters.emplace_back();
        adapter.description = text_of(row[1]);
        for (int g = 0; g < group_count; ++g) {
            adapter.groups.push_back({static_cast<page_group>(g), (integer_of(row[2]) >> g & 1) != 0, {}});
        }
        const std::vector<sql_row> pages = db->run(
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
}

std::vector<listed_report> report_store::reports(const listing_filter& filter, int64_t* total) {
    lease db = borrow();
    std::vector<sql_value> parameters;
    std::string where = " WHERE 1 = 1";
    if (filter.vendor_id != 0) {
        where += " AND a.vendor_id = ?";
        parameters.emplace_back(int64_t{filter.vendor_id});
    }
    if (!filter.text.empty()) {
        where += " AND (LOWER(a.description) LIKE ? ESCAPE '!' OR LOWER(a.device_name) LIKE ? ESCAPE '!')";
        parameters.emplace_back(like_pattern(filter.text));
        parameters.emplace_back(like_pattern(filter.text));
    }
    const std::string matching = "SELECT DISTINCT a.report_id FROM adapters a" + where;
    if (total != nullptr) {
        *total = integer_of(db->run("SELECT COUNT(*) FROM (" + matching + ") m", parameters).at(0)[0]);
    }
    parameters.emplace_back(int64_t{listing_page_size});
    parameters.emplace_back(offset_of(filter));
    std::vector<listed_report> listed;
    for (const sql_row& row : db->run("SELECT r.id, r.received, r.how FROM reports r WHERE r.id IN (" +
                                          matching + ") ORDER BY r.id DESC LIMIT ? OFFSET ?",
                                      parameters)) {
        listed_report& entry = listed.emplace_back();
        entry.id = integer_of(row[0]);
        entry.received = text_of(row[1]);
        entry.how = text_of(row[2]);
        entry.adapters = adapters_of(*db, entry.id);
    }
    return listed;
}

std::optional<device_entry> report_store::device(const std::string& key) {
    lease db = borrow();
    const std::vector<sql_row> found =
        db->run(std::string("SELECT ") + device_columns + " FROM devices WHERE key = ?", {key});
    return found.empty() ? std::nullopt : std::optional(device_of(found[0]));
}

std::vector<listed_report> report_store::device_reports(const std::string& key) {
    lease db = borrow();
    std::vector<listed_report> listed;
    for (const sql_row& row :
         db->run("SELECT r.id, r.received, r.how, MAX(a.driver_order) AS driver FROM reports r JOIN adapters "
                 "a ON "
                 "a.report_id = r.id WHERE a.device_key = ? GROUP BY r.id, r.received, r.how "
                 "ORDER BY driver DESC, r.id DESC LIMIT 500",
                 {key})) {
        listed_report& entry = listed.emplace_back();
        entry.id = integer_of(row[0]);
        entry.received = text_of(row[1]);
        entry.how = text_of(row[2]);
        entry.adapters = adapters_of(*db, entry.id);
    }
    return listed;
}

std::vector<device_entry> report_store::devices(const listing_filter& filter, int64_t* total) {
    lease db = borrow();
    std::vector<sql_value> parameters;
    const std::string where = device_condition(filter, parameters);
    if (total != nullptr) {
        *total = integer_of(db->run("SELECT COUNT(*) FROM devices" + where, parameters).at(0)[0]);
    }
    parameters.emplace_back(int64_t{listing_page_size});
    parameters.emplace_back(offset_of(filter));
    std::vector<device_entry> devices;
    for (const sql_row& row : db->run(std::string("SELECT ") + device_columns + " FROM devices" + where +
                                          " ORDER BY newest_report DESC LIMIT ? OFFSET ?",
                                      parameters)) {
        devices.push_back(device_of(row));
    }
    return devices;
}

std::vector<covered_device> report_store::coverage(const coverage_query& query) {
    lease db = borrow();
    std::vector<sql_value> parameters = {static_cast<int64_t>(query.group), static_cast<int64_t>(query.page),
                                         query.name};
    std::string condition = "f.present = 1";
    if (query.value) {
        condition = "f.value = ?";
        parameters.emplace_back(*query.value);
    }
    std::vector<covered_device> covered;
    std::map<std::string, size_t> having;  // device key -> its place in covered
    for (const sql_row& row :
         db->run("SELECT dp.device_key, MIN(dp.lowest) FROM facts f JOIN page_facts pf ON pf.fact_id = f.id "
                 "JOIN device_pages dp ON dp.page_id = pf.page_id WHERE f.grp = ? AND f.page_no = ? AND "
                 "f.name = ? AND " +
                     condition + " GROUP BY dp.device_key",
                 parameters)) {
        const std::string lowest = text_of(row[1]);
        covered_device& device = covered.emplace_back();
        device.device.key = text_of(row[0]);
        device.has = true;
        device.lowest_driver = lowest.substr(lowest.find('|') + 1);
        having.emplace(device.device.key, covered.size() - 1);
    }
    // Every device that has the page at all: those with the row, and the rest.
    const std::vector<sql_row> devices =
        db->run(std::string("SELECT ") + device_columns + " FROM devices WHERE (page_mask & ?) <> 0",
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
}

std::vector<std::string> report_store::row_names(page_group group, page_id page, const std::string& starting,
                                                 int limit) {
    lease db = borrow();
    std::vector<std::string> names;
    for (const sql_row& row : db->run("SELECT DISTINCT name FROM facts WHERE grp = ? AND page_no = ? AND "
                                      "LOWER(name) LIKE ? ESCAPE '!' "
                                      "ORDER BY name LIMIT ?",
                                      {static_cast<int64_t>(group), static_cast<int64_t>(page),
                                       like_pattern(starting).substr(1), int64_t{limit}})) {
        names.push_back(text_of(row[0]));
    }
    return names;
}
