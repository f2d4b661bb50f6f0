// The embedded engine: SQLite, one file in WAL mode.
#include <sqlite3.h>

#include <memory>
#include <string>
#include <unordered_map>

#include "base/reason.h"
#include "site/database.h"

namespace {

class sqlite_connection final : public sql_connection {
public:
    sqlite_connection(const std::string& path, bool create) {
        if (sqlite3_open_v2(path.c_str(), &db_,
                            SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX,
                            nullptr) != SQLITE_OK) {
            const std::string why = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
            sqlite3_close(db_);
            db_ = nullptr;
            throw failure(reason{std::string(database_away),
                                 -1,
                                 "sqlite3_open_v2",
                                 "SQLite's " + path + " cannot be opened: " + why,
                                 {}});
        }
        // Writers wait for each other a while instead of failing at once.
        sqlite3_busy_timeout(db_, 10000);
        run("PRAGMA journal_mode=WAL", {});
        run("PRAGMA synchronous=NORMAL", {});
        run("PRAGMA foreign_keys=ON", {});
    }
    ~sqlite_connection() override {
        for (const auto& [text, prepared] : prepared_) {
            sqlite3_finalize(prepared);
        }
        sqlite3_close(db_);
    }
    sqlite_connection(const sqlite_connection&) = delete;
    sqlite_connection& operator=(const sqlite_connection&) = delete;

    std::vector<sql_row> run(const std::string& statement,
                             const std::vector<sql_value>& parameters) override {
        // Each statement is prepared once per connection, and reset after use.
        sqlite3_stmt*& raw = prepared_[statement];
        if (raw == nullptr && sqlite3_prepare_v2(db_, statement.c_str(), static_cast<int>(statement.size()),
                                                 &raw, nullptr) != SQLITE_OK) {
            prepared_.erase(statement);
            fail("sqlite3_prepare_v2");
        }
        const auto reset = [](sqlite3_stmt* used) {
            sqlite3_reset(used);
            sqlite3_clear_bindings(used);
        };
        const std::unique_ptr<sqlite3_stmt, decltype(reset)> prepared(raw, reset);
        for (size_t i = 0; i < parameters.size(); ++i) {
            const int at = static_cast<int>(i) + 1;
            const sql_value& value = parameters[i];
            int status = SQLITE_OK;
            if (const auto* number = std::get_if<int64_t>(&value)) {
                status = sqlite3_bind_int64(raw, at, *number);
            } else if (const auto* text = std::get_if<std::string>(&value)) {
                status =
                    sqlite3_bind_text64(raw, at, text->data(), text->size(), SQLITE_TRANSIENT, SQLITE_UTF8);
            } else if (const auto* bytes = std::get_if<sql_bytes>(&value)) {
                status =
                    sqlite3_bind_blob64(raw, at, bytes->data.data(), bytes->data.size(), SQLITE_TRANSIENT);
            } else {
                status = sqlite3_bind_null(raw, at);
            }
            if (status != SQLITE_OK) {
                fail("sqlite3_bind");
            }
        }
        std::vector<sql_row> rows;
        for (;;) {
            const int status = sqlite3_step(raw);
            if (status == SQLITE_DONE) {
                return rows;
            }
            if (status != SQLITE_ROW) {
                fail("sqlite3_step");
            }
            sql_row& row = rows.emplace_back();
            const int columns = sqlite3_column_count(raw);
            for (int c = 0; c < columns; ++c) {
                if (sqlite3_column_type(raw, c) == SQLITE_NULL) {
                    row.emplace_back();
                    continue;
                }
                const auto* data = static_cast<const char*>(sqlite3_column_blob(raw, c));
                row.emplace_back(std::string(data != nullptr ? data : "",
                                             static_cast<size_t>(sqlite3_column_bytes(raw, c))));
            }
        }
    }

    const char* engine() const override { return "sqlite"; }

    void check_still_there() override {
        int moved = 0;
        if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_HAS_MOVED, &moved) != SQLITE_OK || moved != 0) {
            throw failure(reason{std::string(database_away),
                                 -1,
                                 "SQLITE_FCNTL_HAS_MOVED",
                                 "SQLite's database file was deleted or replaced while the site ran",
                                 {}});
        }
    }

private:
    [[noreturn]] void fail(const char* call) const {
        const int code = sqlite3_extended_errcode(db_);
        // A full disk, and a database that cannot be reached or read, are
        // not the statement's fault.
        std::string part = "SQLite";
        switch (code & 0xFF) {
            case SQLITE_FULL:
                part = database_full;
                break;
            case SQLITE_BUSY:
            case SQLITE_LOCKED:
            case SQLITE_IOERR:
            case SQLITE_CANTOPEN:
            case SQLITE_CORRUPT:
            case SQLITE_NOTADB:
            case SQLITE_READONLY:
                part = database_away;
                break;
            default:
                break;
        }
        throw failure(
            reason{part, -1, call, "SQLite: " + std::string(sqlite3_errmsg(db_)), std::to_string(code)});
    }

    sqlite3* db_ = nullptr;
    std::unordered_map<std::string, sqlite3_stmt*> prepared_;
};

}  // namespace

std::unique_ptr<sql_connection> open_sqlite(const std::string& path, bool create) {
    return std::make_unique<sqlite_connection>(path, create);
}
