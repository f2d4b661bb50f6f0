// The SQL the store speaks, one interface over both engines: statements with
// "?" placeholders and bound parameters only, rows of text or bytes back.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
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
int64_t integer_of(const sql_cell& cell);
// The text of a cell: empty for NULL.
const std::string& text_of(const sql_cell& cell);

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
};

// "sqlite:PATH" (WAL, one file, made where missing) or "postgresql://...".
// None, with why, for an address of neither kind or a database that does
// not answer.
using connection_maker = std::unique_ptr<sql_connection> (*)(const std::string& address);
std::unique_ptr<sql_connection> open_sqlite(const std::string& path);
std::unique_ptr<sql_connection> open_postgresql(const std::string& address);
