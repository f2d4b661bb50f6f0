// The whole field at once: every row of a page across the devices, and the
// statistics of devices and reports; both from the counts kept as reports
// arrive (store_counts), never from a scan of the reports.
#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "report/compare.h"
#include "report/report_json.h"
#include "site/compression.h"
#include "site/format_words.h"
#include "site/presence.h"
#include "site/store_internal.h"

namespace {

// "4.6.0 NVIDIA 545.29" and "4.6" read as "4.6"; "1.3.240" as "1.3".
std::string major_minor(const std::string& version) {
    const size_t first = version.find('.');
    if (first == std::string::npos) {
        return version;
    }
    const size_t second = version.find_first_not_of("0123456789", first + 1);
    return version.substr(0, second == std::string::npos ? version.size() : second);
}

// Tallies whose keys read alike (after how) as one, the most devices first.
std::vector<tally> gathered(const std::vector<sql_row>& rows, std::string (*how)(const std::string&)) {
    std::map<std::string, tally> by_key;
    for (const sql_row& row : rows) {
        const std::string key = how(cell_text(row[0]));
        tally& counted = by_key[key];
        counted.key = key;
        counted.label = key;
        counted.devices += cell_integer(row[1]);
        counted.reports += cell_integer(row[2]);
    }
    std::vector<tally> list;
    for (auto& [key, counted] : by_key) {
        list.push_back(std::move(counted));
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const tally& a, const tally& b) { return a.devices > b.devices; });
    return list;
}

std::string as_it_is(const std::string& text) {
    return text;
}

// A value that is a number, whole ("-12", "0x1F") or real ("3.5", "1e+38");
// none for any other text.
std::optional<double> number_of(const std::string& value) {
    if (value.empty()) {
        return std::nullopt;
    }
    const bool hex = value.starts_with("0x") || value.starts_with("0X");
    char* end = nullptr;
    const double number = hex ? static_cast<double>(std::strtoull(value.c_str() + 2, &end, 16))
                              : std::strtod(value.c_str(), &end);
    const bool whole = end == value.c_str() + value.size() && (!hex || value.size() > 2);
    return whole && (hex || value.find_first_not_of("0123456789+-.eE") == std::string::npos)
               ? std::optional(number)
               : std::nullopt;
}

// The row's values, the most common first and at most 20 of them; the lowest
// and highest where every value that says something is a number.
void settle_values(row_landscape& row) {
    // Of values as common, the first in text order, whichever order the database gave.
    std::sort(row.values.begin(), row.values.end(), [](const value_count& a, const value_count& b) {
        return std::tie(b.devices, a.value) < std::tie(a.devices, b.value);
    });
    std::optional<std::pair<double, std::string>> lowest;
    std::optional<std::pair<double, std::string>> highest;
    bool numbers = true;
    for (const value_count& each : row.values) {
        const std::optional<double> number = number_of(each.value);
        if (!number) {
            numbers = numbers && !counts_as_present(each.value);
            continue;
        }
        if (!lowest || *number < lowest->first) {
            lowest.emplace(*number, each.value);
        }
        if (!highest || *number > highest->first) {
            highest.emplace(*number, each.value);
        }
    }
    if (numbers && lowest) {
        row.lowest = lowest->second;
        row.highest = highest->second;
    }
    if (row.values.size() > 20) {
        row.values.resize(20);
    }
}

}  // namespace

// Rows in order, keyed by their section and name.
struct report_store::row_order {
    std::vector<std::pair<std::string, std::string>> rows;  // section, name
    std::chrono::steady_clock::time_point made;
};

std::shared_ptr<const report_store::row_order> report_store::order_of(sql_connection& db, page_id page) {
    const auto now = std::chrono::steady_clock::now();
    {
        const std::lock_guard<std::mutex> hold(orders_lock_);
        const auto found = orders_.find(page);
        if (found != orders_.end() && now - found->second->made < std::chrono::minutes(30)) {
            return found->second;
        }
    }
    // The newest pages of the kind, merged as a comparison pairs them: a row
    // one of them lacks takes its place after the row it follows where it is.
    std::vector<report_page> newest;
    for (const sql_row& row : db.run("SELECT body FROM pages WHERE page_no = ? ORDER BY id DESC LIMIT 12",
                                     {int64_t{static_cast<int>(page)}})) {
        const std::optional<std::string> body = inflated(cell_text(row[0]), size_t{64} << 20);
        result<report_page> read =
            body ? read_page_json(*body, page_of(page).group) : result<report_page>(reason{});
        if (read) {
            newest.push_back(std::move(*read));
        }
    }
    std::vector<const report_page*> pages;
    for (const report_page& each : newest) {
        pages.push_back(&each);
    }
    std::vector<std::pair<std::string, std::string>> rows;
    std::set<std::pair<std::string, std::string>> seen;
    std::string section;
    for (const row_across& row : compare_many_pages(pages)) {
        const report_row& named = row.named();
        if (named.kind == row_kind::blank) {
            continue;
        }
        if (named.kind == row_kind::section) {
            section = named.name;
        }
        if (seen.emplace(section, named.name).second) {
            rows.emplace_back(section, named.name);
        }
    }
    auto order = std::make_shared<row_order>();
    order->rows = std::move(rows);
    order->made = now;
    const std::lock_guard<std::mutex> hold(orders_lock_);
    orders_[page] = order;
    return order;
}

page_landscape report_store::landscape(page_group group, page_id page, uint32_t vendor_id,
                                       const std::string& platform) {
    return with_db([&](sql_connection& db) -> page_landscape {
        const int64_t kind = static_cast<int>(page);
        // The counts of the whole field, or of the platform; of every vendor, or of one.
        const std::string vendor = vendor_id != 0 ? " AND vendor_id = ?" : "";
        const auto whose = [&](std::vector<sql_value> values) {
            values.emplace_back(platform);
            if (vendor_id != 0) {
                values.emplace_back(int64_t{vendor_id});
            }
            return values;
        };
        page_landscape field;
        // The devices that have the page (there).
        const std::string having =
            platform.empty() ? "SELECT COUNT(*) FROM devices WHERE (page_mask & ?) <> 0"
                             : "SELECT COUNT(*) FROM devices d JOIN device_platforms p ON "
                               "p.device_key = d.key WHERE (p.page_mask & ?) <> 0 AND p.platform = ?";
        std::vector<sql_value> asked = {int64_t{1} << kind};
        if (!platform.empty()) {
            asked.emplace_back(platform);
        }
        if (vendor_id != 0) {
            asked.emplace_back(int64_t{vendor_id});
        }
        field.devices = cell_integer(db.run(having + vendor, asked).at(0)[0]);
        std::map<std::string, row_landscape> by_name;
        for (const sql_row& row :
             db.run("SELECT name, devices FROM row_counts WHERE grp = ? AND page_no = ? AND devices > 0 AND "
                    "platform = ?" +
                        vendor,
                    whose({static_cast<int64_t>(group), kind}))) {
            row_landscape& known = by_name[cell_text(row[0])];
            known.name = cell_text(row[0]);
            known.with += cell_integer(row[1]);
        }
        for (const sql_row& row :
             db.run("SELECT f.name, f.value, SUM(c.devices) FROM fact_counts c JOIN facts f ON f.id = "
                    "c.fact_id WHERE "
                    "f.grp = ? AND f.page_no = ? AND c.devices > 0 AND c.platform = ?" +
                        (vendor_id != 0 ? std::string(" AND c.vendor_id = ?") : std::string()) +
                        " GROUP BY f.name, f.value",
                    whose({static_cast<int64_t>(group), kind}))) {
            row_landscape& known = by_name[cell_text(row[0])];
            known.name = cell_text(row[0]);
            known.values.push_back({cell_text(row[1]), cell_integer(row[2])});
        }
        for (auto& [name, row] : by_name) {
            settle_values(row);
        }
        if (lists_formats(page)) {
            // A format's words, each with the devices that have it.
            for (auto& [name, row] : by_name) {
                row.values.clear();
            }
            for (const sql_row& row : db.run("SELECT name, word, SUM(devices) FROM word_counts WHERE grp = ? "
                                             "AND page_no = ? AND devices > 0 AND platform = ?" +
                                                 vendor + " GROUP BY name, word",
                                             whose({static_cast<int64_t>(group), kind}))) {
                by_name[cell_text(row[0])].values.push_back({cell_text(row[1]), cell_integer(row[2])});
            }
            // The most devices first; among equals, optimal tiling's words, then linear's, then buffers'.
            const auto rank = [](const value_count& each) {
                return std::make_tuple(-each.devices, each.value.find(": ") == std::string::npos ? 0 : 1,
                                       each.value.starts_with("buffer: ") ? 1 : 0);
            };
            for (auto& [name, row] : by_name) {
                std::stable_sort(
                    row.values.begin(), row.values.end(),
                    [&](const value_count& a, const value_count& b) { return rank(a) < rank(b); });
            }
        }
        // The page's own order and sections; rows no page of the sample has, after.
        const std::shared_ptr<const row_order> order = order_of(db, page);
        for (const auto& [section, name] : order->rows) {
            const auto found = by_name.find(name);
            if (found != by_name.end()) {
                found->second.section = section;
                field.rows.push_back(std::move(found->second));
                by_name.erase(found);
            } else if (name == section) {
                field.rows.push_back({section, name, 0, {}, {}, {}});
            }
        }
        for (auto& [name, row] : by_name) {
            row.section = "[Other rows]";
            field.rows.push_back(std::move(row));
        }
        // A section with none of its rows known stands for nothing.
        std::vector<row_landscape> shown;
        for (size_t i = 0; i < field.rows.size(); ++i) {
            const bool section = field.rows[i].name == field.rows[i].section && field.rows[i].values.empty();
            if (section &&
                (i + 1 == field.rows.size() || field.rows[i + 1].section != field.rows[i].section)) {
                continue;
            }
            shown.push_back(std::move(field.rows[i]));
        }
        field.rows = std::move(shown);
        return field;
    });
}

field_statistics report_store::statistics(const std::string& platform) {
    return with_db([&](sql_connection& db) -> field_statistics {
        // The whole field from the devices and months as kept; one
        // platform's from the devices with a report read there, each counted
        // with those reports alone, counted when asked.
        const bool whole = platform.empty();
        const std::string from =
            whole ? std::string(" FROM devices d")
                  : " FROM devices d JOIN (SELECT a.device_key, COUNT(DISTINCT a.report_id) AS n FROM adapters a "
                    "JOIN reports r ON r.id = a.report_id WHERE LOWER(" PLATFORM_OF("r.") ") = ? GROUP BY "
                    "a.device_key) t ON t.device_key = d.key";
        const std::string reports = whole ? "SUM(d.reports)" : "SUM(t.n)";
        const std::vector<sql_value> asked =
            whole ? std::vector<sql_value>{} : std::vector<sql_value>{platform};
        field_statistics field;
        field.devices = cell_integer(db.run("SELECT COUNT(*)" + from, asked).at(0)[0]);
        for (const sql_row& row : db.run(
                 "SELECT d.vendor_id, MIN(d.vendor), COUNT(*), " + reports + from + " GROUP BY d.vendor_id",
                 asked)) {
            char key[16];
            std::snprintf(key, sizeof key, "0x%04llx", static_cast<unsigned long long>(cell_integer(row[0])));
            field.vendors.push_back({cell_integer(row[0]) != 0 ? key : "", cell_text(row[1]),
                                     cell_integer(row[2]), cell_integer(row[3])});
        }
        std::stable_sort(field.vendors.begin(), field.vendors.end(),
                         [](const tally& a, const tally& b) { return a.devices > b.devices; });
        const auto by = [&](const char* column, std::string (*how)(const std::string&)) {
            return gathered(db.run(std::string("SELECT d.") + column + ", COUNT(*), " + reports + from +
                                       " GROUP BY d." + column,
                                   asked),
                            how);
        };
        field.direct3d = by("d3d_level", as_it_is);
        field.opengl = by("gl_version", major_minor);
        field.vulkan = by("vk_version", major_minor);
        for (const sql_row& row :
             db.run(whole ? "SELECT month, SUM(reports) FROM monthly_reports GROUP BY month ORDER BY month"
                          : "SELECT SUBSTR(received, 1, 7) AS month, COUNT(*) FROM reports WHERE "
                            "LOWER(" PLATFORM_OF("") ") = ? GROUP BY month ORDER BY month",
                    asked)) {
            field.months.push_back({cell_text(row[0]), cell_text(row[0]), 0, cell_integer(row[1])});
            field.reports += cell_integer(row[1]);
        }
        return field;
    });
}
