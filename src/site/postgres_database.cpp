// The engine beyond one machine: PostgreSQL, through libpqxx.
#include <algorithm>
#include <memory>
#include <optional>
#include <pqxx/pqxx>
#include <string>
#include <unordered_map>

#include "base/reason.h"
#include "site/database.h"
#include "site/digest.h"

namespace {

constexpr unsigned bytea_type = 17;  // PostgreSQL's type oid of bytea

// bytea's text form ("\x0a1b...") back to its bytes.
std::string bytes_of(const char* text, size_t size) {
    const auto digit = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    std::string bytes;
    if (size < 2 || text[0] != '\\' || text[1] != 'x') {
        return std::string(text, size);
    }
    bytes.reserve((size - 2) / 2);
    for (size_t i = 2; i + 1 < size; i += 2) {
        bytes += static_cast<char>(digit(text[i]) * 16 + digit(text[i + 1]));
    }
    return bytes;
}

// "?" to "$1", "$2", ...: the statements hold no "?" of their own.
std::string numbered(const std::string& statement) {
    std::string out;
    int next = 0;
    for (const char c : statement) {
        if (c == '?') {
            out += "$" + std::to_string(++next);
        } else {
            out += c;
        }
    }
    return out;
}

// A server's message as one line.
std::string trimmed(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

// Whom an SQLSTATE blames: a connection lost or a server shutting down
// (class 08, 57P01 to 57P03) is the database away, 53100 its disk full, any
// other the statement.
std::string part_of(const std::string& state) {
    if (state.starts_with("08") || state == "57P01" || state == "57P02" || state == "57P03") {
        return std::string(database_away);
    }
    return state == "53100" ? std::string(database_full) : "PostgreSQL";
}

class postgres_connection final : public sql_connection {
public:
    explicit postgres_connection(const std::string& address) try : connection_(address) {
        connection_.set_variable("client_min_messages", "warning");
    } catch (const std::exception& error) {
        throw failure(
            reason{std::string(database_away), -1, "connect", "PostgreSQL: " + trimmed(error.what()), {}});
    }

    std::vector<sql_row> run(const std::string& statement,
                             const std::vector<sql_value>& parameters) override {
        std::vector<std::optional<std::string>> texts;
        texts.reserve(parameters.size());
        for (const sql_value& value : parameters) {
            if (const auto* number = std::get_if<int64_t>(&value)) {
                texts.emplace_back(std::to_string(*number));
            } else if (const auto* text = std::get_if<std::string>(&value)) {
                texts.emplace_back(*text);
            } else if (const auto* bytes = std::get_if<sql_bytes>(&value)) {
                texts.emplace_back("\\x" + hex_of(bytes->data));
            } else {
                texts.emplace_back();
            }
        }
        try {
            pqxx::nontransaction work(connection_);
            const std::string* prepared = prepared_name(statement);
            const pqxx::result result =
                prepared != nullptr
                    ? work.exec_prepared(*prepared, pqxx::prepare::make_dynamic_params(texts))
                    : work.exec_params(numbered(statement), pqxx::prepare::make_dynamic_params(texts));
            std::vector<sql_row> rows;
            rows.reserve(result.size());
            for (const pqxx::row& found : result) {
                sql_row& row = rows.emplace_back();
                for (pqxx::row::size_type c = 0; c < found.size(); ++c) {
                    const pqxx::field field = found[c];
                    if (field.is_null()) {
                        row.emplace_back();
                    } else if (result.column_type(c) == bytea_type) {
                        row.emplace_back(bytes_of(field.c_str(), field.size()));
                    } else {
                        row.emplace_back(std::string(field.c_str(), field.size()));
                    }
                }
            }
            return rows;
        } catch (const pqxx::broken_connection& error) {
            throw failure(reason{
                std::string(database_away), -1, "exec_params", "PostgreSQL: " + trimmed(error.what()), {}});
        } catch (const pqxx::sql_error& error) {
            throw failure(reason{part_of(error.sqlstate()), -1, "exec_params",
                                 "PostgreSQL: " + trimmed(error.what()), error.sqlstate()});
        } catch (const std::exception& error) {
            // libpqxx says a connection it lost in several ways.
            const bool lost = connection_.is_open() == false;
            throw failure(reason{lost ? std::string(database_away) : "PostgreSQL",
                                 -1,
                                 "exec_params",
                                 "PostgreSQL: " + trimmed(error.what()),
                                 {}});
        }
    }

    const char* engine() const override { return "postgresql"; }

private:
    // Each statement is parsed and planned once per connection; a few
    // thousand at most (batches of every size are distinct statements), the
    // rest run unprepared.
    const std::string* prepared_name(const std::string& statement) {
        const auto found = prepared_.find(statement);
        if (found != prepared_.end()) {
            return &found->second;
        }
        if (prepared_.size() >= 2000 || statement.starts_with("BEGIN") || statement == "COMMIT" ||
            statement == "ROLLBACK") {
            return nullptr;
        }
        const std::string name = "s" + std::to_string(prepared_.size());
        connection_.prepare(name, numbered(statement));
        return &prepared_.emplace(statement, name).first->second;
    }

    pqxx::connection connection_;
    std::unordered_map<std::string, std::string> prepared_;
};

}  // namespace

std::unique_ptr<sql_connection> open_postgresql(const std::string& address) {
    return std::make_unique<postgres_connection>(address);
}
