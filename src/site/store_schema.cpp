// The store's schema, version by version, and how a database is opened and
// brought to this version.
#include <iterator>

#include "refdata/pci_names.h"
#include "site/store_internal.h"

namespace {

void name_devices(sql_connection& db);
void recount_by_platform(sql_connection& db);

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
    // The landscape of each page, counted as reports arrive: how many devices
    // of each vendor have each fact, each present row and each capability
    // word of a format; reports by month. A device whose GPU is "unknown"
    // is named by its adapter's description.
    {R"(CREATE INDEX page_facts_page ON page_facts (page_id, fact_id);
    CREATE INDEX pages_kind ON pages (page_no, id);
    CREATE INDEX device_pages_device ON device_pages (device_key, page_id);
    CREATE TABLE fact_counts (fact_id {big} NOT NULL, vendor_id INTEGER NOT NULL, devices {big} NOT NULL,
        PRIMARY KEY (fact_id, vendor_id));
    CREATE TABLE row_counts (grp INTEGER NOT NULL, page_no INTEGER NOT NULL, name TEXT NOT NULL,
        vendor_id INTEGER NOT NULL, devices {big} NOT NULL, PRIMARY KEY (grp, page_no, name, vendor_id));
    CREATE TABLE word_counts (grp INTEGER NOT NULL, page_no INTEGER NOT NULL, name TEXT NOT NULL, word TEXT NOT NULL,
        vendor_id INTEGER NOT NULL, devices {big} NOT NULL, PRIMARY KEY (grp, page_no, name, word, vendor_id));
    CREATE TABLE monthly_reports (month TEXT NOT NULL, shard INTEGER NOT NULL, reports {big} NOT NULL,
        PRIMARY KEY (month, shard));
    INSERT INTO monthly_reports (month, shard, reports) SELECT SUBSTR(received, 1, 7), 0, COUNT(*) FROM reports
        GROUP BY SUBSTR(received, 1, 7);
    UPDATE adapters SET device_name = description WHERE device_name = 'unknown';)"},
    // The operating system each report says it was read on; empty where it
    // does not say, as every report before Linux's (Windows').
    {R"(ALTER TABLE reports ADD COLUMN platform TEXT NOT NULL DEFAULT '';
    ALTER TABLE reports ADD COLUMN platform_version TEXT NOT NULL DEFAULT '';
    ALTER TABLE reports ADD COLUMN platform_kernel TEXT NOT NULL DEFAULT '';
    CREATE INDEX reports_platform ON reports (platform, id);)"},
    // Each device's pages and page kinds on each platform ("windows",
    // "linux"), and the landscape counted on each platform as well as over
    // the whole field (the empty platform).
    {R"(CREATE TABLE device_platform_pages (device_key TEXT NOT NULL, platform TEXT NOT NULL,
        page_id {big} NOT NULL, lowest TEXT NOT NULL, PRIMARY KEY (device_key, platform, page_id));
    CREATE INDEX device_platform_pages_page ON device_platform_pages (page_id, platform);
    CREATE TABLE device_platforms (device_key TEXT NOT NULL, platform TEXT NOT NULL, page_mask {big} NOT NULL,
        PRIMARY KEY (device_key, platform));
    CREATE INDEX device_platforms_platform ON device_platforms (platform, device_key);
    DROP TABLE fact_counts;
    DROP TABLE row_counts;
    DROP TABLE word_counts;
    CREATE TABLE fact_counts (fact_id {big} NOT NULL, platform TEXT NOT NULL, vendor_id INTEGER NOT NULL,
        devices {big} NOT NULL, PRIMARY KEY (fact_id, platform, vendor_id));
    CREATE TABLE row_counts (grp INTEGER NOT NULL, page_no INTEGER NOT NULL, name TEXT NOT NULL,
        platform TEXT NOT NULL, vendor_id INTEGER NOT NULL, devices {big} NOT NULL,
        PRIMARY KEY (grp, page_no, name, platform, vendor_id));
    CREATE TABLE word_counts (grp INTEGER NOT NULL, page_no INTEGER NOT NULL, name TEXT NOT NULL,
        word TEXT NOT NULL, platform TEXT NOT NULL, vendor_id INTEGER NOT NULL, devices {big} NOT NULL,
        PRIMARY KEY (grp, page_no, name, word, platform, vendor_id));)",
     recount_by_platform},
};

// Names every adapter from the PCI list where it knows the IDs; its device
// takes the name most of its adapters give (recount_by_platform).
void name_devices(sql_connection& db) {
    for (const sql_row& row :
         db.run("SELECT DISTINCT vendor_id, device_id FROM adapters WHERE vendor_id <> 0")) {
        const auto vendor_id = static_cast<uint32_t>(cell_integer(row[0]));
        const auto device_id = static_cast<uint32_t>(cell_integer(row[1]));
        if (const std::string vendor = vendor_name_of(vendor_id); !vendor.empty()) {
            db.run("UPDATE adapters SET vendor = ? WHERE vendor_id = ? AND device_id = ?",
                   {vendor, int64_t{vendor_id}, int64_t{device_id}});
        }
        if (const std::string name = gpu_name_of(vendor_id, device_id); !name.empty()) {
            db.run("UPDATE adapters SET device_name = ? WHERE vendor_id = ? AND device_id = ?",
                   {name, int64_t{vendor_id}, int64_t{device_id}});
        }
    }
}

// Every device made again from its adapters (their names above, their
// pages now by platform too) and counted in the landscape. The devices of
// the versions between take their names and counts from here, the tables
// this needs being there only now.
void recount_by_platform(sql_connection& db) {
    for (const sql_row& row : db.run("SELECT key FROM devices")) {
        remake_device(db, cell_text(row[0]));
        count_device_anew(db, cell_text(row[0]));
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

}  // namespace

result<std::unique_ptr<report_store>> report_store::open(const std::string& database) {
    std::function<std::unique_ptr<sql_connection>()> connect;
    bool sqlite = false;
    const auto refusal = [](const std::string& sentence) { return reason{"Database", -1, {}, sentence, {}}; };
    if (database.starts_with("sqlite:")) {
        const std::string path = database.substr(7);
        // SQLite takes an empty path, or ":memory:", as a database that is
        // gone at exit: every report would be lost.
        if (path.empty() || path == ":memory:" || path.starts_with("file:")) {
            return refusal("sqlite: takes the path of a database file, such as sqlite:cavio.db.");
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
        return refusal("\"" + database + "\" is neither sqlite:PATH nor postgresql://...");
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
        int64_t version = rows.empty() ? 0 : cell_integer(rows[0][0]);
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
