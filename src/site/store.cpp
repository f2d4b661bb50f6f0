// The store's connections: a pool of them, each call's lease, and the steps
// every write takes (its turn, its transaction, its commit).
#include "site/store_internal.h"

report_store::report_store(std::function<std::unique_ptr<sql_connection>()> connect, bool one_writer)
    : connect_(std::move(connect)), one_writer_(one_writer) {}

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
