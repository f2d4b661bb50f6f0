// The site through its HTTP interface, on both engines: every post kept once
// or refused with one sentence, many clients at once, and the limits that
// hold off hostile clients.
#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>

#include "report/report_json.h"
#include "site/api.h"
#include "site/legacy_text.h"
#include "site/site_fixtures.h"

namespace {

using namespace site_fixtures;
using std::chrono::steady_clock;

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

class SiteHttp : public ::testing::TestWithParam<std::string> {};

TEST_P(SiteHttp, EachPostIsKeptOnceOrRefusedWithOneSentence) {
    running_site site(fresh_database(GetParam()));
    httplib::Client client("127.0.0.1", site.port());
    const std::string root = "http://127.0.0.1:" + std::to_string(site.port());
    const std::string text = golden_submission();
    const std::string report = read_file(std::string(CAVIO_GOLDEN_DIR) + "/report.json");
    const auto post = [&](const std::string& path, const std::string& body) {
        const httplib::Result answer = client.Post(path.c_str(), body, "application/x-www-form-urlencoded");
        return answer ? std::make_pair(answer->status, answer->body) : std::make_pair(0, std::string());
    };
    // Kept, then found already there: the legacy form and a saved report.
    EXPECT_EQ(std::make_pair(200, "Kept as " + root + "/reports/1\n"),
              post("/submitter.php", viewer_form(text)));
    EXPECT_EQ(std::make_pair(200, "Already kept as " + root + "/reports/1\n"),
              post("/submitter.php", viewer_form(text, "99")));
    // The form's answer says where the whole report goes; only with its token.
    const httplib::Result form =
        client.Post("/submitter.php", viewer_form(text, "7"), "application/x-www-form-urlencoded");
    ASSERT_TRUE(form);
    EXPECT_EQ(root + "/reports/1", form->get_header_value("Cavio-Report"));
    const std::string whole = form->get_header_value("Cavio-Whole-Report");
    EXPECT_EQ(0u, whole.find("/api/reports/1/whole?token=")) << whole;
    EXPECT_EQ(409, client.Post("/api/reports/1/whole?token=wrong", report, "application/json")->status);
    EXPECT_EQ(
        409,
        client.Post(whole.c_str(), replaced(report, "8.17.18.19", "8.17.18.99"), "application/json")->status);
    const httplib::Result made = client.Post("/api/reports", report, "application/json");
    ASSERT_TRUE(made);
    EXPECT_EQ(201, made->status);
    EXPECT_EQ("/reports/2", made->get_header_value("Location"));
    EXPECT_EQ(nlohmann::json::parse(made->body)["url"], root + "/reports/2");
    EXPECT_EQ(true, nlohmann::json::parse(post("/api/reports", report).second)["already"]);

    // The form's text keeps "+", "&" and "=" as older viewers send them: raw.
    const std::string plus = replaced(text, "8.17.18.19", "8.17+18&id=19");
    std::string raw_form = viewer_form(plus);
    for (const auto& [escaped, byte] :
         {std::pair{"%2B", "+"}, std::pair{"%26", "&"}, std::pair{"%3D", "="}}) {
        for (size_t at = raw_form.find(escaped); at != std::string::npos; at = raw_form.find(escaped, at)) {
            raw_form.replace(at, 3, byte);
        }
    }
    const httplib::Result kept_plus =
        client.Post("/submitter.php", raw_form, "application/x-www-form-urlencoded");
    ASSERT_TRUE(kept_plus);
    EXPECT_EQ(200, kept_plus->status) << kept_plus->body;
    const std::string plus_id = kept_plus->body.substr(kept_plus->body.rfind('/') + 1, 1);
    EXPECT_EQ(plus, client.Get(("/api/reports/" + plus_id + "/submission").c_str())->body);

    // Read back: the saved report byte for byte; the legacy one as the pages its text holds.
    EXPECT_EQ(report, client.Get("/api/reports/2")->body);
    const result<report_document> legacy = read_report_json(client.Get("/api/reports/1")->body, "1");
    ASSERT_TRUE(legacy);
    EXPECT_EQ(*read_legacy_text(text), *legacy);

    // Refused, each with its status and sentence, and nothing kept of them.
    struct refusal {
        const char* path;
        std::string body;
        int status;
        const char* sentence;
    };
    const refusal refused[] = {
        {"/submitter.php", "textlist=hello&id=1", 400,
         "The text is not a Cavio submission: it does not start with"},
        {"/submitter.php", viewer_form(replaced(text, "!dx_device!", "!dx_nothing!")), 400,
         "The submission holds a page it cannot have here: \"dx_nothing\""},
        {"/submitter.php", viewer_form("%2.00%\r\n"), 400,
         "The text is not a Cavio submission: it holds no \"|card|\"."},
        {"/submitter.php", viewer_form(replaced(text, "@opengl@", "@directx@")), 400,
         "The submission repeats"},
        {"/submitter.php", "textlist=%2.00%ZZ&id=1", 400,
         "The submission's text holds a \"%\" that encodes no byte"},
        {"/submitter.php", "textlist=%252.00%25", 400, "The body is not the submission form"},
        {"/submitter.php", viewer_form(text, "12a"), 400, "The submission's \"id\" is not a number."},
        {"/api/reports", report.substr(0, report.size() / 2), 400,
         "The report is not JSON: it ends too soon, at line "},
        {"/api/reports", replaced(report, "\"format\": 1", "\"format\": 2"), 400,
         "The report is not a Cavio report: it is a report of format 2"},
        {"/api/reports", replaced(report, "Golden", "\xFF"), 400, "The report is not UTF-8 text"},
        {"/api/reports", std::string(100, '[') + std::string(100, ']'), 400,
         "The report is not a Cavio report: it nests"},
        {"/api/nothing", "{}", 404, "There is nothing at this address."},
    };
    for (const refusal& r : refused) {
        const auto [status, body] = post(r.path, r.body);
        EXPECT_EQ(r.status, status) << r.sentence;
        EXPECT_EQ(0u, body.find(r.sentence)) << body;
        EXPECT_EQ(1, std::count(body.begin(), body.end(), '\n')) << "one sentence: " << body;
    }
    // A body larger than the site takes is refused before it is read.
    for (const auto& [path, size] :
         {std::pair{"/api/reports", 65u << 20}, std::pair{"/submitter.php", 5u << 20}}) {
        const std::string huge =
            raw_exchange(site.port(),
                         std::string("POST ") + path +
                             " HTTP/1.1\r\nHost: x\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n{",
                         std::chrono::seconds(5));
        EXPECT_EQ(0u, huge.find("HTTP/1.1 413")) << huge;
        EXPECT_NE(std::string::npos, huge.find(" is at most ")) << huge;
    }

    // Truncations and flipped bytes of a real report: kept or refused, never a fault.
    std::mt19937 random(31);
    for (int i = 0; i < 12; ++i) {
        std::string damaged = report;
        damaged[random() % damaged.size()] ^= static_cast<char>(1 + random() % 255);
        const int status =
            post("/api/reports", i % 2 == 0 ? damaged : report.substr(0, random() % report.size())).first;
        EXPECT_TRUE(status == 200 || status == 201 || status == 400) << status;
    }
    EXPECT_GE(site.store().reports({}).total, 3);
    EXPECT_EQ(400, client.Get("/api/coverage?group=metal&page=x&name=y")->status);
    EXPECT_EQ(404, client.Get("/api/reports/77777")->status);
}

TEST_P(SiteHttp, ManyClientsAtOnceAndEveryAnsweredReportIsThere) {
    server_limits limits;
    limits.requests_per_second = 10000;
    running_site site(fresh_database(GetParam()), limits);
    const std::string report = read_file(std::string(CAVIO_GOLDEN_DIR) + "/report.json");
    constexpr int clients = 8;
    constexpr int posts = 6;
    std::mutex lock;
    std::map<std::string, std::set<int64_t>> ids;  // content -> the ids answered for it
    std::atomic<int> failures = 0;
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&, c] {
            httplib::Client client("127.0.0.1", site.port());
            for (int p = 0; p < posts; ++p) {
                // Half the contents are posted by two clients.
                const std::string board = "Board " + std::to_string((c % (clients / 2)) * posts + p);
                const httplib::Result answer = client.Post(
                    "/api/reports", replaced(report, "Golden Board 470", board), "application/json");
                client.Get("/api/devices");
                if (!answer || (answer->status != 200 && answer->status != 201)) {
                    ++failures;
                    continue;
                }
                const std::lock_guard<std::mutex> hold(lock);
                ids[board].insert(nlohmann::json::parse(answer->body)["id"].get<int64_t>());
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(0, failures.load());
    ASSERT_EQ(static_cast<size_t>(clients / 2 * posts), ids.size());
    for (const auto& [board, answered] : ids) {
        EXPECT_EQ(1u, answered.size()) << board << " kept twice";
        const std::optional<stored_report> stored = site.store().report(*answered.begin());
        ASSERT_TRUE(stored) << board;
        EXPECT_EQ(board, stored->document.adapters.at(0).description);
    }
    EXPECT_EQ(static_cast<int64_t>(ids.size()), site.store().reports({}).total);
}

report_document golden_report() {
    return *read_report_json(read_file(std::string(CAVIO_GOLDEN_DIR) + "/report.json"), "golden");
}

// The report without the last row of its last OpenGL page, whose name is gone.
report_document without_last_gl_row(report_document report, std::string& gone) {
    std::vector<report_row>& rows = report.adapters.at(0).group(page_group::opengl).pages.back().rows;
    gone = rows.back().name;
    rows.pop_back();
    return report;
}

// A row one report has and the other lacks is a difference, in JSON and on
// the page, whichever side it is on.
TEST_P(SiteHttp, ComparisonsKeepRowsOnOneSideOnly) {
    running_site site(fresh_database(GetParam()));
    httplib::Client client("127.0.0.1", site.port());
    const report_document golden = golden_report();
    std::string gone;
    report_document fewer = without_last_gl_row(golden, gone);
    for (report_page& features : fewer.adapters.at(0).group(page_group::vulkan).pages) {
        if (features.id == page_id::vk_features) {
            features.rows.push_back({row_kind::yes_no, "onlyHereFeature", "yes", "", std::nullopt});
        }
    }
    ASSERT_EQ(201,
              client.Post("/api/reports", report_json(golden, "cavio", "1"), "application/json")->status);
    ASSERT_EQ(201, client.Post("/api/reports", report_json(fewer, "cavio", "1"), "application/json")->status);
    const nlohmann::json compared = nlohmann::json::parse(client.Get("/api/compare?a=1&b=2")->body);
    std::map<std::string, std::pair<nlohmann::json, nlohmann::json>> sides;
    for (const nlohmann::json& page : compared["adapters"][0]["pages"]) {
        for (const nlohmann::json& row : page["rows"]) {
            sides[row["name"].get<std::string>()] = {row["a"], row["b"]};
        }
    }
    ASSERT_TRUE(sides.count(gone)) << compared.dump();
    EXPECT_TRUE(sides[gone].second.is_null());
    EXPECT_FALSE(sides[gone].first.is_null());
    ASSERT_TRUE(sides.count("onlyHereFeature")) << compared.dump();
    EXPECT_TRUE(sides["onlyHereFeature"].first.is_null());
    EXPECT_EQ(2, compared["rows"]);
    const std::string page = client.Get("/compare?a=1&b=2&only=1")->body;
    for (const std::string& name : {gone, std::string("onlyHereFeature")}) {
        const size_t row = page.find(">" + name + "</th>");
        ASSERT_NE(std::string::npos, row) << name;
        EXPECT_NE(std::string::npos, page.rfind("<tr class=\"only\">", row)) << name;
        EXPECT_LT(page.find("(none)", row), page.find("</tr>", row)) << name;
    }
}

// The rows of a page of a report, by name: set where the name is there.
void set_rows(report_document& document, page_id page, const std::string& name, const std::string& value) {
    for (report_group& group : document.adapters.at(0).groups) {
        for (report_page& each : group.pages) {
            for (report_row& row : each.rows) {
                if (each.id == page && row.name == name) {
                    row.value = value;
                    row.wire_value.reset();
                }
            }
        }
    }
}

// Three reports made to differ (a row gone, a row added, another device with
// other values), and a legacy one: the landscape, comparisons of several,
// the links between pages and the site's small files, in JSON and HTML.
TEST_P(SiteHttp, ListingsStatisticsComparisonsAndLinks) {
    running_site site(fresh_database(GetParam()));
    httplib::Client client("127.0.0.1", site.port());
    const report_document golden = golden_report();
    std::string gone;
    report_document fewer = without_last_gl_row(golden, gone);
    report_document other = golden;
    for (const page_id page : {page_id::dx_summary, page_id::dx_device}) {
        set_rows(other, page, "Device ID", "0x1234");
    }
    set_rows(other, page_id::dx_textures, "MaxTextureWidth", "1");
    set_rows(other, page_id::dx_textures, "GuardBandLeft", "340282346638528859811704183484516925440.000000");
    for (const report_document* each : std::vector<const report_document*>{&golden, &fewer, &other}) {
        ASSERT_EQ(201,
                  client.Post("/api/reports", report_json(*each, "cavio", "1"), "application/json")->status);
    }
    const std::string width =
        golden.adapters[0].group(page_group::directx).page(page_id::dx_textures)->rows.at(0).value;

    // Three reports side by side: each differing row with a value per report.
    const nlohmann::json compared = nlohmann::json::parse(client.Get("/api/compare?r=1&r=2&r=3")->body);
    EXPECT_EQ((nlohmann::json{1, 2, 3}), compared["reports"]);
    std::map<std::string, nlohmann::json> values;
    for (const nlohmann::json& page : compared["adapters"][0]["pages"]) {
        for (const nlohmann::json& row : page["rows"]) {
            values[row["name"].get<std::string>()] = row["values"];
        }
    }
    ASSERT_TRUE(values.count(gone)) << compared.dump();
    EXPECT_TRUE(values[gone][1].is_null());
    EXPECT_EQ(values[gone][0], values[gone][2]);
    EXPECT_EQ((nlohmann::json{width, width, "1"}), values["MaxTextureWidth"]);
    EXPECT_EQ(compared["rows"].get<size_t>(), [&] {
        size_t count = 0;
        for (const nlohmann::json& page : compared["adapters"][0]["pages"]) {
            count += page["rows"].size();
        }
        return count;
    }());
    for (const auto& [asked, status] :
         std::vector<std::pair<std::string, int>>{{"/api/compare?r=1", 400},
                                                  {"/api/compare?r=1&r=999", 404},
                                                  {"/api/compare?r=1&r=2&r=3&r=1&r=2&r=3&r=1&r=2&r=3", 400},
                                                  {"/compare?r=1&r=x", 404}}) {
        EXPECT_EQ(status, client.Get(asked)->status) << asked;
    }
    const httplib::Result form = client.Get("/compare");
    EXPECT_EQ(200, form->status);
    size_t fields = 0;  // a form of eight report numbers
    for (size_t at = form->body.find("name=\"r\""); at != std::string::npos;
         at = form->body.find("name=\"r\"", at + 1)) {
        ++fields;
    }
    EXPECT_EQ(most_compared, fields);
    const std::string page = client.Get("/compare?r=1&r=2&r=3&only=1")->body;
    EXPECT_NE(std::string::npos, page.find(">3.402823e+38</td>"));
    EXPECT_NE(std::string::npos,
              page.find("<a href=\"/api/compare?r=1&amp;r=2&amp;r=3\">The same in JSON</a>"));

    // Three devices (the golden report's second adapter is one): the listing
    // counts devices, its values and numbers.
    const nlohmann::ordered_json textures =
        nlohmann::ordered_json::parse(client.Get("/api/listing?group=directx&page=dx_textures")->body);
    EXPECT_EQ(3, textures["devices"]);
    const auto row_of = [](const nlohmann::ordered_json& listed, const std::string& name) {
        for (const nlohmann::ordered_json& row : listed["rows"]) {
            if (row["name"] == name) {
                return row;
            }
        }
        return nlohmann::ordered_json();
    };
    const nlohmann::ordered_json limit = row_of(textures, "MaxTextureWidth");
    EXPECT_EQ((std::vector<std::string>{"section", "name", "with", "share", "values", "min", "max"}), [&] {
        std::vector<std::string> keys;
        for (const auto& [key, value] : limit.items()) {
            keys.push_back(key);
        }
        return keys;
    }());
    const std::string second_width =
        golden.adapters[1].group(page_group::directx).page(page_id::dx_textures)->rows.at(0).value;
    EXPECT_EQ(3, limit["with"]);
    EXPECT_EQ(1.0, limit["share"]);
    EXPECT_EQ("1", limit["min"]);
    EXPECT_EQ(std::stoll(width) > std::stoll(second_width) ? width : second_width, limit["max"]);
    EXPECT_EQ(3u, limit["values"].size());
    EXPECT_EQ(1, limit["values"][0]["devices"]);
    EXPECT_TRUE(row_of(textures, "D3DPTEXTURECAPS_ALPHA")["min"].is_null());
    EXPECT_EQ(
        row_of(textures, "MaxTextureWidth"),
        row_of(nlohmann::ordered_json::parse(client.Get("/api/listing?page=dx_textures&q=maxtexturew")->body),
               "MaxTextureWidth"));
    EXPECT_EQ(1u,
              nlohmann::json::parse(client.Get("/api/listing?page=dx_textures&q=maxtexturew")->body)["rows"]
                  .size());
    // One vendor's listing counts that vendor's devices alone.
    const nlohmann::ordered_json nvidia =
        nlohmann::ordered_json::parse(client.Get("/api/listing?page=dx_textures&vendor=10de")->body);
    EXPECT_EQ(2, nvidia["devices"]);
    EXPECT_EQ(2, row_of(nvidia, "MaxTextureWidth")["with"]);
    EXPECT_EQ(400, client.Get("/api/listing?group=opengl&page=dx_textures")->status);
    EXPECT_EQ(400, client.Get("/api/listing?page=nothing")->status);
    // A format's values are its capability words, each with its devices.
    const nlohmann::json formats = nlohmann::json::parse(client.Get("/api/listing?page=vk_formats")->body);
    for (const nlohmann::json& row : formats["rows"]) {
        for (const nlohmann::json& word : row["values"]) {
            EXPECT_EQ(std::string::npos, word["value"].get<std::string>().find("optimal")) << word;
            EXPECT_EQ(std::string::npos, word["value"].get<std::string>().find(", ")) << word;
        }
    }
    // The largest pages' listings stay small enough for a phone.
    for (const char* largest :
         {"/listing?page=vk_formats", "/listing?page=dx_formats", "/listing?page=gl_all_extensions"}) {
        EXPECT_LT(client.Get(largest)->body.size(), 300'000u) << largest;
    }
    const std::string listing = client.Get("/listing?page=dx_textures")->body;
    EXPECT_NE(std::string::npos,
              listing.find("href=\"/coverage?page=dx_textures&amp;name=MaxTextureWidth\""));

    const nlohmann::json statistics = nlohmann::json::parse(client.Get("/api/statistics")->body);
    for (const char* key : {"devices", "reports", "vendors", "direct3d", "opengl", "vulkan", "months"}) {
        EXPECT_TRUE(statistics.contains(key)) << key;
    }
    EXPECT_EQ(3, statistics["reports"]);
    EXPECT_EQ(statistics["devices"], [&] {
        int64_t devices = 0;
        for (const nlohmann::json& vendor : statistics["vendors"]) {
            devices += vendor["devices"].get<int64_t>();
        }
        return devices;
    }());

    // A report's page: its device, the previous report, its listing, its JSON.
    const std::string key = "10de:06cd";
    const std::string second = client.Get("/reports/2?page=dx_textures")->body;
    for (const std::string& link :
         {"<a href=\"/devices/" + key + "\">", std::string("href=\"/compare?r=1&amp;r=2\""),
          std::string("href=\"/listing?page=dx_textures\">How common is each row?</a>"),
          std::string("<a href=\"/api/reports/2\">The same in JSON</a>"),
          std::string("<meta name=\"description\"")}) {
        EXPECT_NE(std::string::npos, second.find(link)) << link;
    }
    EXPECT_EQ(std::string::npos, client.Get("/reports/1")->body.find("previous report"));
    const nlohmann::json device = nlohmann::json::parse(client.Get("/api/devices/" + key)->body);
    EXPECT_EQ(2u, device["reports"].size());
    EXPECT_NE(std::string::npos, client.Get("/devices/" + key)->body.find("name=\"r\" value=\"2\""));
    EXPECT_EQ(std::string::npos, client.Get("/devices/10DE:1234")->body.find(">Compare</button>"));

    // A legacy report shows its IDs in hexadecimal, like every other.
    ASSERT_EQ(
        200,
        client.Post("/submitter.php", viewer_form(golden_submission()), "application/x-www-form-urlencoded")
            ->status);
    const std::string legacy = client.Get("/reports/4?page=dx_device")->body;
    EXPECT_NE(std::string::npos, legacy.find("NVIDIA Corporation (0x10DE)"));
    EXPECT_NE(std::string::npos, legacy.find(">0x06CD<"));
    EXPECT_EQ(std::string::npos, legacy.find("(4318)"));

    EXPECT_NE(std::string::npos, client.Get("/robots.txt")->body.find("Disallow: /api/"));
    const httplib::Result icon = client.Get("/favicon.ico");
    EXPECT_EQ(read_file(std::string(CAVIO_GOLDEN_DIR) + "/../../src/app/cavio.ico"), icon->body);
    EXPECT_EQ("image/x-icon", icon->get_header_value("Content-Type"));
}

// 120 devices: the list is numbered in pages of 50, each link keeping the
// order and filters chosen.
TEST_P(SiteHttp, TheDevicesListIsSortedAndNumbered) {
    running_site site(fresh_database(GetParam()));
    for (int i = 0; i < 120; ++i) {
        char device[8];
        std::snprintf(device, sizeof device, "0x%04X", 0x1000 + i);
        report_document document;
        adapter_report& adapter = document.adapters.emplace_back();
        adapter.description = "Board " + std::to_string(1000 - i);
        for (int g = 0; g < group_count; ++g) {
            adapter.groups.push_back({static_cast<page_group>(g), g == 0, {}});
        }
        const report_row vendor{row_kind::text, "Vendor",
                                i % 2 ? "NVIDIA Corporation (0x10DE)" : "Intel Corporation (0x8086)", "",
                                std::nullopt};
        adapter.group(page_group::directx).pages = {
            {page_id::dx_summary, {vendor}, std::nullopt},
            {page_id::dx_device,
             {vendor, {row_kind::text, "Device ID", device, "", std::nullopt}},
             std::nullopt}};
        site.store().keep({"json", "cavio", "1", "", std::move(document)});
    }
    httplib::Client client("127.0.0.1", site.port());
    const std::string second = client.Get("/?sort=reports&page=2")->body;
    for (const std::string& part :
         {std::string("<a href=\"/?sort=reports\">1</a>"),
          std::string("aria-current=\"page\" href=\"/?sort=reports&amp;page=2\">2</a>"),
          std::string("<a href=\"/?sort=reports&amp;page=3\">3</a>"), std::string("rel=\"prev\">Previous"),
          std::string("rel=\"next\">Next"), std::string("120 devices, the most reports first")}) {
        EXPECT_NE(std::string::npos, second.find(part)) << part;
    }
    // Each order holds across a page (names letter case aside, then by vendor).
    const auto column = [&](const std::string& query, const char* key) {
        std::vector<std::string> values;
        const nlohmann::json listed = nlohmann::json::parse(client.Get("/api/devices" + query)->body);
        for (const nlohmann::json& device : listed["devices"]) {
            std::string value = device[key];
            std::transform(value.begin(), value.end(), value.begin(),
                           [](unsigned char c) { return std::tolower(c); });
            values.push_back(value);
        }
        return values;
    };
    for (const auto& [query, key] :
         {std::pair{"?sort=name", "name"}, std::pair{"?sort=vendor&page=2", "vendor"}}) {
        const std::vector<std::string> values = column(query, key);
        EXPECT_EQ(50u, values.size()) << query;
        EXPECT_TRUE(std::is_sorted(values.begin(), values.end())) << query;
    }
    EXPECT_EQ("board 881", column("", "name").at(0));  // the newest report first, where none is chosen
    EXPECT_EQ(60, nlohmann::json::parse(client.Get("/api/devices?vendor=10de&page=2")->body)["total"]);
}

// A report read on Linux, posted as cavio-report posts it, is shown under
// Linux: on the Devices list and its filter, its device's reports by
// platform, its own page, and the JSON API with platform=linux.
TEST_P(SiteHttp, AReportReadOnLinuxIsShownUnderLinux) {
    running_site site(fresh_database(GetParam()));
    httplib::Client client("127.0.0.1", site.port());
    const std::string windows = read_file(std::string(CAVIO_GOLDEN_DIR) + "/report.json");
    std::string linux_report = windows;
    const std::string version = "\"version\": \"1.2.3.4\",\n";
    ASSERT_NE(std::string::npos, linux_report.find(version));
    linux_report.insert(linux_report.find(version) + version.size(),
                        "  \"platform\": {\n    \"os\": \"Linux\",\n    \"version\": \"Debian GNU/Linux 12 "
                        "(bookworm)\",\n    \"kernel\": \"6.1.0-27-amd64\"\n  },\n");
    linux_report = replaced(linux_report, "8.17.18.19", "8.17.18.40");
    const std::string limit =
        "\"value\": \"2016\",\n              \"description\": \"Largest width and height";
    ASSERT_NE(std::string::npos, linux_report.find(limit));
    for (int adapter = 0; adapter < 2; ++adapter) {
        linux_report = replaced(linux_report, limit, replaced(limit, "2016", "32768"));
    }
    ASSERT_EQ(201, client.Post("/api/reports", windows, "application/json")->status);
    const httplib::Result posted = client.Post("/api/reports", linux_report, "application/json");
    ASSERT_TRUE(posted);
    ASSERT_EQ(201, posted->status) << posted->body;
    // The site gives back what was posted, byte for byte.
    EXPECT_EQ(linux_report, client.Get("/api/reports/2")->body);

    // Both boards of the golden report, each with both systems' reports.
    const nlohmann::json on_linux = nlohmann::json::parse(client.Get("/api/devices?platform=linux")->body);
    ASSERT_EQ(2, on_linux["total"]);
    for (const nlohmann::json& device : on_linux["devices"]) {
        EXPECT_EQ((nlohmann::json{"Linux", "Windows"}), device["platforms"]);
    }
    const nlohmann::json reports = nlohmann::json::parse(client.Get("/api/reports?platform=linux")->body);
    ASSERT_EQ(1, reports["total"]);
    EXPECT_EQ("Linux", reports["reports"][0]["platform"]);
    EXPECT_EQ(0, nlohmann::json::parse(client.Get("/api/reports?platform=LINUX&vendor=8086")->body)["total"]);

    const std::string devices = client.Get("/?platform=linux")->body;
    for (const std::string& part :
         {std::string("<option value=\"linux\" selected>Linux</option>"),
          std::string("2 devices reported on Linux"), std::string("<th scope=\"col\">Platform</th>"),
          std::string("<td>Linux, Windows</td>")}) {
        EXPECT_NE(std::string::npos, devices.find(part)) << part;
    }
    const std::string device = client.Get("/devices/10de:06cd")->body;
    const size_t windows_row = device.find("<td>Windows</td><td><bdi>8.17.18.19</bdi></td>");
    const size_t linux_row = device.find("<td>Linux</td><td><bdi>8.17.18.40</bdi></td>");
    EXPECT_NE(std::string::npos, windows_row) << device;
    EXPECT_NE(std::string::npos, linux_row) << device;
    EXPECT_LT(windows_row, linux_row);  // by platform, then by driver
    EXPECT_NE(
        std::string::npos,
        client.Get("/reports/2")
            ->body.find(
                "<dt>Platform</dt><dd>Linux: Debian GNU/Linux 12 (bookworm), kernel 6.1.0-27-amd64</dd>"));
    EXPECT_NE(std::string::npos, client.Get("/reports/1")->body.find("<dt>Platform</dt><dd>Windows</dd>"));
    // Statistics of one platform, whose numbers lead to its devices.
    const nlohmann::json field = nlohmann::json::parse(client.Get("/api/statistics?platform=linux")->body);
    EXPECT_EQ("linux", field["platform"]);
    EXPECT_EQ(2, field["devices"]);
    EXPECT_EQ(1, field["reports"]);
    const std::string statistics = client.Get("/statistics?platform=linux")->body;
    for (const std::string& part :
         {std::string("<option value=\"linux\" selected>Linux</option>"),
          std::string(
              "<a href=\"/?platform=linux\">2 devices</a></strong> in <strong>1 reports</strong> read on "
              "Linux"),
          std::string("&amp;platform=linux\" aria-label=")}) {
        EXPECT_NE(std::string::npos, statistics.find(part)) << part;
    }
    // Listings and coverage of one platform: a limit each system gives its own value.
    const auto values_of = [&](const std::string& platform) {
        const nlohmann::json listing = nlohmann::json::parse(
            client.Get("/api/listing?group=vulkan&page=vk_limits&q=maxImageDimension2D&platform=" + platform)
                ->body);
        EXPECT_EQ(2, listing["devices"]) << platform;
        EXPECT_EQ(platform.empty() ? nlohmann::json() : nlohmann::json(platform), listing["platform"]);
        return listing["rows"].at(0)["values"].dump();
    };
    EXPECT_EQ(R"([{"devices":2,"value":"32768"}])", values_of("linux"));
    EXPECT_EQ(R"([{"devices":2,"value":"2016"}])", values_of("windows"));
    EXPECT_EQ(R"([{"devices":2,"value":"2016"},{"devices":2,"value":"32768"}])", values_of(""));
    const std::string listing =
        client.Get("/listing?page=vk_limits&q=maxImageDimension2D&platform=linux")->body;
    for (const std::string& part :
         {std::string("<option value=\"linux\" selected>Linux</option>"),
          std::string("2 devices</strong> report this page in reports read on Linux."),
          std::string("name=maxImageDimension2D&amp;platform=linux\">maxImageDimension2D</a>"),
          std::string("<bdi>32768</bdi> <small>2</small>"),
          std::string("href=\"/listing?page=vk_features&amp;platform=linux\"")}) {
        EXPECT_NE(std::string::npos, listing.find(part)) << part;
    }
    for (const auto& [platform, with] : {std::pair{"linux", 2}, std::pair{"windows", 0}}) {
        const nlohmann::json coverage = nlohmann::json::parse(
            client
                .Get(std::string(
                         "/api/coverage?group=vulkan&page=vk_limits&name=maxImageDimension2D&value=32768&"
                         "platform=") +
                     platform)
                ->body);
        EXPECT_EQ(with, coverage["with"]) << platform;
        EXPECT_EQ(2 - with, coverage["without"]) << platform;
    }
    EXPECT_NE(std::string::npos,
              client.Get("/coverage?page=vk_limits&name=maxImageDimension2D&platform=linux")
                  ->body.find("2 of 2 devices</strong> that report this page in reports "
                              "read on Linux have it."));
}

INSTANTIATE_TEST_SUITE_P(Engines, SiteHttp, ::testing::ValuesIn(engines));

TEST(SiteProgram, ServesWhereItIsToldAndLogsEachRequest) {
    const std::string program = CAVIO_SITE_PROGRAM;
    EXPECT_EQ(0, shell(program + " --help >/dev/null"));
    EXPECT_EQ(2 << 8, shell(program + " --verbose 2>/dev/null"));
    const int port = free_port();
    const std::string log = "/tmp/cavio-site-log-" + std::to_string(getpid());
    const std::string database = fresh_database("sqlite");
    ASSERT_EQ(0, shell(program + " --listen 127.0.0.1:" + std::to_string(port) + " --database " + database +
                       " 2>" + log + " & echo $! >" + log + ".pid"));
    httplib::Client client("127.0.0.1", port);
    for (int wait = 0; wait < 100 && !client.Get("/api/devices"); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const httplib::Result answer =
        client.Post("/submitter.php", viewer_form(golden_submission()), "application/x-www-form-urlencoded");
    shell("kill $(cat " + log + ".pid)");
    ASSERT_TRUE(answer);
    EXPECT_EQ(200, answer->status);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const std::string logged = read_file(log);
    // Time, address, method, path, status, bytes, milliseconds.
    EXPECT_NE(std::string::npos,
              logged.find(" 127.0.0.1 POST /submitter.php 200 " + std::to_string(answer->body.size()) + " "))
        << logged;
    std::remove(log.c_str());
    std::remove((log + ".pid").c_str());
}

}  // namespace
