// The SQL the store speaks, one interface over both engines: statements with
// "?" placeholders and bound parameters only, rows of text or bytes back.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// A parameter: NULL, an integer, a text, or bytes.
struct sql_bytes {
    std::string data;
};
using sql_value = std::variant<std::monostate, int64_t, std::string, sql_bytes>;

// One cell: none for NULL; integers as their decimal text, bytes as they are.
using sql_cell = std::optional<std::string>;
using sql_row = std::vector<sql_cell>;

// The integer of a cell: 0 for NULL.
int64_t cell_integer(const sql_cell& cell);
// The text of a cell: empty for NULL.
const std::string& cell_text(const sql_cell& cell);

// The parts of the failures an engine raises where the fault is not the
// site's: the database cannot be reached (refused, lost, its file gone or
// replaced), or its disk is full. A failure of any other part ("SQLite",
// "PostgreSQL") is a statement the engine refused: the site's own fault.
inline constexpr std::string_view database_away = "The database";
inline constexpr std::string_view database_full = "The database's disk";

// One connection to a database. Not for two threads at once.
class sql_connection {
public:
    virtual ~sql_connection() = default;

    // Runs one statement with its parameters bound in order and returns its
    // rows. A statement the engine refuses (or a lost connection) raises
    // failure: the store's edge turns it into its answer.
    virtual std::vector<sql_row> run(const std::string& statement,
                                     const std::vector<sql_value>& parameters = {}) = 0;

    // "sqlite" or "postgresql": the few words of the schema that differ.
    virtual const char* engine() const = 0;

    // Raises failure (database_away) where what was just committed went
    // where nobody will read it: a database file deleted or replaced under
    // the running site. Called after a commit, before its answer.
    virtual void check_still_there() {}
};

// A connection to SQLite's file at path (WAL; made where missing if create),
// or to the PostgreSQL server at a "postgresql://..." address. Raises
// failure (database_away) where it cannot be opened.
std::unique_ptr<sql_connection> open_sqlite(const std::string& path, bool create = true);
std::unique_ptr<sql_connection> open_postgresql(const std::string& address);
