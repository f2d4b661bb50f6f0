// The cells the engines give back, read as text or an integer.
#include "site/database.h"

#include <string>

int64_t cell_integer(const sql_cell& cell) {
    return cell ? std::stoll(*cell) : 0;
}

const std::string& cell_text(const sql_cell& cell) {
    static const std::string none;
    return cell ? *cell : none;
}
