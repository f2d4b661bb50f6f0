// What the store's files share inside: the pooled connection a call holds,
// and the steps of a write that more than one of them takes.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "site/database.h"

#include "site/store.h"

// A report's platform as people read it, in SQL on the reports table (r:
// its alias and a point, or empty): a report that does not say is Windows'.
#define PLATFORM_OF(r) "(CASE WHEN " r "platform = '' THEN 'Windows' ELSE " r "platform END)"

// A platform as the store counts it and filters asked: "windows", "linux".
std::string platform_key(const std::string& os);

// A connection borrowed from the pool for one call: back in it after,
// unless its statement failed (it may be broken) or it was dropped.
class report_store::lease {
public:
    lease(report_store& store, std::unique_ptr<sql_connection> db, bool reused)
        : store_(store), db_(std::move(db)), reused_(reused), failing_(std::uncaught_exceptions()) {}
    ~lease() {
        if (db_ && std::uncaught_exceptions() == failing_) {
            const std::lock_guard<std::mutex> hold(store_.pool_lock_);
            store_.idle_.push_back(std::move(db_));
        }
    }
    lease(lease&&) = default;
    sql_connection& operator*() { return *db_; }
    sql_connection* operator->() { return db_.get(); }
    // Whether the connection served an earlier call: it may have lost its
    // database since.
    bool reused() const { return reused_; }
    void drop() { db_.reset(); }

private:
    report_store& store_;
    std::unique_ptr<sql_connection> db_;
    bool reused_;
    int failing_;
};

template <typename work_type>
auto report_store::with_db(work_type&& work) {
    for (int attempt = 0;; ++attempt) {
        lease db = borrow();
        try {
            return work(*db);
        } catch (const failure& error) {
            db.drop();
            // A database that restarted left every pooled connection dead:
            // they all go, and the call runs once more on a new one.
            if (error.why().part != database_away || !db.reused() || attempt > 0) {
                throw;
            }
            forget_idle();
        }
    }
}

// What a page's rows say, for coverage: each name and value once, its
// sections, blank rows and nameless rows aside.
std::vector<std::pair<std::string, std::string>> facts_said(const report_page& page);

// A device's lowest driver of a page is kept as its sort order, this
// separator and the version: below every character a version holds, so
// that "9.7" sorts before "9.7.1" ("|" would not).
inline constexpr char order_separator[] = "\x01";

// Opens a transaction that writes: SQLite takes its write lock at once.
void begin_writing(sql_connection& db);
// Rolls back what failed, whatever the connection's state: the failure that
// led here is the one to report.
void roll_back(sql_connection& db) noexcept;
// Commits, then makes sure it was committed where the site reads.
void commit(sql_connection& db);

// The devices table's row of an adapter just kept (counted: one more
// report of the device) and the name its reports give it; the page kinds it
// has on the report's platform.
void count_device(sql_connection& db, const adapter_facts& facts, int64_t report, const std::string& received,
                  const std::string& platform, bool counted);
// Makes the facts of a device again from the reports it has left; a device
// none has left is forgotten.
void remake_device(sql_connection& db, const std::string& key);

// Pages new to a device (in device_pages already; with a platform, new to it
// there, in device_platform_pages): each fact, present row and format's
// capability word that the device's other pages of their kinds (there) do
// not say counts the device once, in the whole field or on the platform.
void count_device_pages(sql_connection& db, const std::string& key, const std::string& platform,
                        const std::vector<int64_t>& pages);
// Takes the device out of every count (the whole field's and its
// platforms'), as its pages now say; and counts it again from its pages
// (after its pages changed).
void uncount_device(sql_connection& db, const std::string& key);
void count_device_anew(sql_connection& db, const std::string& key);
// The reports received in the month of received, counted by reports more
// (report id's, which picks the counter).
void count_month(sql_connection& db, const std::string& received, int64_t id, int64_t reports);
