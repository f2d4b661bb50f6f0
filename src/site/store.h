// Where the site keeps every report: one interface over SQLite and
// PostgreSQL. Each distinct page is kept once; a report is its adapters,
// their facts and the pages they had; a device is what its vendor and
// device IDs name. A report answered with success is committed.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "base/reason.h"
#include "report/document.h"
#include "site/database.h"
#include "site/adapter_facts.h"

struct received_report {
    std::string how;       // "legacy" or "json"
    std::string program;   // what wrote it: "cavio", "cavio-report"; "legacy" for the form
    std::string version;   // its version; empty for the form
    std::string original;  // the bytes as posted: the form's text, or the JSON
    report_document document;
};

struct kept_report {
    int64_t id = 0;
    bool already = false;  // the same content was kept before: id is that report's
    // A legacy report without its whole report yet: what the whole one is
    // attached with (attach); empty otherwise.
    std::string attach_token;
};

struct stored_report {
    int64_t id = 0;
    std::string received;  // "2026-12-09T13:33:45Z"
    std::string how;
    bool awaits_whole = false;  // a legacy report whose whole report may still come: it may change
    std::string program;
    std::string version;
    std::string original;
    report_document document;
};

struct listed_report {
    int64_t id = 0;
    std::string received;
    std::string how;
    std::string platform;  // "Windows", "Linux"
    std::vector<adapter_facts> adapters;
};

struct device_entry {
    std::string key;
    uint32_t vendor_id = 0;
    uint32_t device_id = 0;
    std::string name;
    std::string vendor;
    int64_t reports = 0;
    int64_t newest_report = 0;
    std::string newest_received;
    std::string driver_version;  // of the newest report
    std::string d3d_level;
    std::string gl_version;
    std::string vk_version;
    std::vector<std::string> platforms;  // those of its reports: "Linux", "Windows"
};

struct coverage_query {
    page_group group = page_group::directx;
    page_id page = page_id::dx_summary;
    std::string name;
    std::optional<std::string> value;  // none: any value that counts as present
};

struct covered_device {
    device_entry device;
    bool has = false;
    std::string lowest_driver;  // the lowest driver version of a report that had it
};

// A report an operator removed: when, and why.
struct removed_report {
    int64_t id = 0;
    std::string removed;  // "2026-12-09T13:33:45Z"
    std::string why;
};

// The filters of a listing; empty ones do not filter.
struct listing_filter {
    uint32_t vendor_id = 0;
    std::string text;      // part of a name, any case
    std::string api;       // "directx", "opengl" or "vulkan": devices that report it
    std::string platform;  // "windows" or "linux": reports read there, devices with one
    // Devices of a Direct3D feature level ("12_1"), an OpenGL or Vulkan
    // version ("4.6", "1.3": any release of it); "none": devices without one.
    std::string d3d;
    std::string gl;
    std::string vk;
    // Devices: "name", "vendor", "reports" (the most first), or the newest report first.
    std::string sort;
    int page = 1;  // 50 a page
};

inline constexpr int listing_page_size = 50;

// A filter of a name's text alone.
inline listing_filter text_filter(std::string text) {
    listing_filter filter;
    filter.text = std::move(text);
    return filter;
}

// A filter of only a vendor, and a page.
inline listing_filter vendor_filter(uint32_t vendor_id, int page = 1) {
    listing_filter filter;
    filter.vendor_id = vendor_id;
    filter.page = page;
    return filter;
}

// One page of a listing, and how many match the filter in all.
template <typename item>
struct listing {
    std::vector<item> items;
    int64_t total = 0;
};

// How many devices give a value of a row.
struct value_count {
    std::string value;
    int64_t devices = 0;
};

// A row of a page across every device: how many have it (the coverage rule)
// and the values they give, the most common first.
struct row_landscape {
    std::string section;  // the section the row stands in on the page: "[Caps]"; empty before any
    std::string name;
    int64_t with = 0;
    // The most common values (at most 20); a format's capability words (all).
    std::vector<value_count> values;
    // For rows whose values are numbers: the lowest and the highest, as written.
    std::string lowest;
    std::string highest;
};

// Every row the store knows on a page, in the page's own order and sections,
// over the devices that report the page. A section stands as a row whose
// name is its section's, with no values.
struct page_landscape {
    int64_t devices = 0;
    std::vector<row_landscape> rows;
};

// A count of devices (and their reports) sharing one thing: a vendor, a
// feature level, an API version.
struct tally {
    std::string key;    // "0x10de", "12_1", "4.6", "1.3"; empty where the devices say none
    std::string label;  // what a person reads: the vendor's name, the level or version itself
    int64_t devices = 0;
    int64_t reports = 0;
};

// The whole field at once.
struct field_statistics {
    int64_t devices = 0;
    int64_t reports = 0;
    std::vector<tally> vendors;
    std::vector<tally> direct3d;
    std::vector<tally> opengl;
    std::vector<tally> vulkan;
    std::vector<tally> months;  // "2026-12": the reports received that month
};

class report_store {
public:
    // Opens "sqlite:PATH" or "postgresql://..." and migrates its schema to
    // this version; a database that cannot be opened is the reason.
    static result<std::unique_ptr<report_store>> open(const std::string& database);

    // connect makes a connection (raising failure where it cannot); a
    // connection whose statement failed is never reused, and where the
    // database went away and came back, a call that met a dead pooled
    // connection runs again on a fresh one.
    report_store(std::function<std::unique_ptr<sql_connection>()> connect, bool one_writer);

    // Keeps the report, committed before it returns, unless the same content
    // is kept already. Raises failure where the database fails.
    kept_report keep(const received_report& report);

    // Makes the whole saved report the content of the legacy report id, whose
    // legacy pages it must hold unchanged; token is the one keep gave. The
    // reason where it does not fit. Raises failure where the database fails.
    result<kept_report> attach(int64_t id, const std::string& token, const received_report& whole);

    std::optional<stored_report> report(int64_t id);
    // The reports, newest first.
    listing<listed_report> reports(const listing_filter& filter);
    // The devices, newest report first.
    listing<device_entry> devices(const listing_filter& filter);
    // The device a key names; a "name:" key in any letter case.
    std::optional<device_entry> device(const std::string& key);
    // The device's report kept last before report id; none where id is its first.
    std::optional<int64_t> previous_report(const std::string& key, int64_t id);
    // The capability words a format's row has, each with the devices that
    // have it (on the platform, where one is named).
    std::vector<value_count> row_words(page_group group, page_id page, const std::string& name,
                                       const std::string& platform = {});
    // A device's reports, highest driver version first (at most 500).
    std::vector<listed_report> device_reports(const std::string& key);
    // Every device whose reports have the page: whether one has the row
    // (with the value), and since which driver; with a platform ("windows",
    // "linux"), as the device's reports read there alone say.
    std::vector<covered_device> coverage(const coverage_query& query, const std::string& platform = {});
    // Distinct row names the store knows on a page, for suggestions.
    std::vector<std::string> row_names(page_group group, page_id page, const std::string& starting,
                                       int limit);
    // Every row of the page across the devices (of one vendor, where vendor_id
    // is not 0; as their reports read on a platform, where one is named:
    // "windows", "linux"), from the counts kept per device as reports arrive.
    page_landscape landscape(page_group group, page_id page, uint32_t vendor_id,
                             const std::string& platform = {});
    // Devices and reports by vendor, Direct3D feature level, OpenGL and
    // Vulkan version, and reports by the month they came; with a platform
    // ("windows", "linux"), the devices with a report read there and those
    // reports alone.
    field_statistics statistics(const std::string& platform = {});

    // Removes report id: its adapters, the pages no other report shares,
    // and its count in its devices, whose facts are made again from the
    // reports left; a row keeps when and why. The reason where there is no
    // such report. Raises failure where the database fails.
    result<removed_report> remove(int64_t id, const std::string& why);
    // The removal of report id, where an operator removed it.
    std::optional<removed_report> removal(int64_t id);

private:
    class lease;
    lease borrow();
    // Runs work with a pooled connection: again, once, on a fresh one where
    // a pooled connection had lost its database.
    template <typename work_type>
    auto with_db(work_type&& work);
    void forget_idle();
    // SQLite's writers take turns here rather than wait in the engine.
    std::unique_lock<std::mutex> write_turn();
    void migrate();
    kept_report keep_once(sql_connection& db, const received_report& report, const std::string& hash);
    // Keeps a page not kept before (most pages of a report are: found by
    // their hash, they are neither written out nor compressed again).
    int64_t keep_page(sql_connection& db, const report_page& page, const std::string& hash);
    // The adapters of a report, their pages and devices; counted: the
    // devices count the report (not so for a whole report attached later).
    void keep_adapters(sql_connection& db, int64_t id, const report_document& document,
                       const std::string& received, bool counted);

    // The order and sections of each kind of page, from the pages kept of it;
    // made again now and then, as new rows come.
    struct row_order;
    std::shared_ptr<const row_order> order_of(sql_connection& db, page_id page);

    std::function<std::unique_ptr<sql_connection>()> connect_;
    std::mutex pool_lock_;
    std::mutex orders_lock_;
    std::map<page_id, std::shared_ptr<const row_order>> orders_;
    std::vector<std::unique_ptr<sql_connection>> idle_;
    bool one_writer_;  // SQLite: writers take turns here rather than wait in the engine
    std::mutex write_lock_;
};
