// The store's queries on a small hand-made set of reports whose answers are
// known, on both engines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "report/report_json.h"
#include "site/format_words.h"
#include "site/presence.h"
#include "site/site_fixtures.h"

namespace {

using site_fixtures::fresh_database;

// A report of one adapter: its identity on the DirectX pages, and the
// OpenGL extensions and one limit.
report_document report_of(const std::string& vendor, const std::string& device, const std::string& driver,
                          const std::vector<std::pair<std::string, std::string>>& extensions) {
    report_document document;
    adapter_report& adapter = document.adapters.emplace_back();
    adapter.description = "Board " + device;
    for (int g = 0; g < group_count; ++g) {
        adapter.groups.push_back({static_cast<page_group>(g), g != 2, {}});
    }
    const auto row = [](row_kind kind, std::string name, std::string value) {
        return report_row{kind, std::move(name), std::move(value), "", std::nullopt};
    };
    adapter.group(page_group::directx).pages = {
        {page_id::dx_summary,
         {row(row_kind::text, "Device", adapter.description), row(row_kind::text, "Vendor", vendor),
          row(row_kind::text, "Driver version", driver)},
         std::nullopt},
        {page_id::dx_device,
         {row(row_kind::text, "Vendor", vendor), row(row_kind::text, "Device ID", device)},
         std::nullopt}};
    report_page gl{page_id::gl_extensions, {row(row_kind::section, "[Extensions]", "")}, std::nullopt};
    for (const auto& [name, value] : extensions) {
        gl.rows.push_back(row(row_kind::yes_no, name, value));
    }
    adapter.group(page_group::opengl).pages = {
        {page_id::gl_summary, {row(row_kind::text, "GL version", "4.6")}, std::nullopt}, std::move(gl)};
    return document;
}

received_report received(report_document document) {
    return {"json", "cavio", "1.2.3.4", "", std::move(document)};
}

class Store : public ::testing::TestWithParam<std::string> {};

TEST_P(Store, ReportsDevicesAndCoverageAreWhatWasKept) {
    result<std::unique_ptr<report_store>> opened = report_store::open(fresh_database(GetParam()));
    ASSERT_TRUE(opened) << opened.why().text();
    report_store& store = **opened;
    const std::string nvidia = "NVIDIA Corporation (0x10DE)";
    const std::vector<report_document> kept = {
        report_of(nvidia, "0x1111", "2.0.10", {{"GL_X", "yes"}, {"GL_Y", "no"}}),
        report_of(nvidia, "0x1111", "2.0.9", {{"GL_X", "yes"}}),
        report_of(nvidia, "0x1111", "1.0", {{"GL_X", "no"}}),
        report_of(nvidia, "0x2222", "3.0", {{"GL_Y", "yes"}}),
        report_of("Advanced Micro Devices, Inc. [AMD/ATI] (4098)", "26623", "23.1", {{"GL_X", "yes"}}),
    };
    std::vector<int64_t> ids;
    for (const report_document& document : kept) {
        const kept_report made = store.keep(received(document));
        EXPECT_FALSE(made.already);
        ids.push_back(made.id);
    }
    // The same content again is the same report, whatever else differs.
    received_report again = received(kept[1]);
    again.version = "9.9";
    EXPECT_EQ(ids[1], store.keep(again).id);
    EXPECT_TRUE(store.keep(again).already);

    EXPECT_EQ(5u, store.reports({}).items.size());
    EXPECT_EQ(5, store.reports({}).total);
    EXPECT_EQ(ids[4], store.reports({}).items.front().id);  // newest first
    EXPECT_EQ(4, store.reports(vendor_filter(0x10DE)).total);
    EXPECT_EQ(1u, store.reports(text_filter("BOARD 0X2222")).items.size());
    EXPECT_EQ("1002:67ff", store.reports(vendor_filter(0x1002)).items.at(0).adapters.at(0).device_key);

    const std::vector<device_entry> devices = store.devices({}).items;
    ASSERT_EQ(3u, devices.size());
    EXPECT_EQ("1002:67ff", devices[0].key);  // newest report first
    const auto first = std::find_if(devices.begin(), devices.end(),
                                    [](const device_entry& d) { return d.key == "10de:1111"; });
    ASSERT_NE(devices.end(), first);
    EXPECT_EQ(3, first->reports);
    EXPECT_EQ("1.0", first->driver_version);  // of its newest report
    EXPECT_EQ("Advanced Micro Devices, Inc. [AMD/ATI]", devices[0].vendor);
    listing_filter by_api = vendor_filter(0x10DE);
    by_api.api = "opengl";
    EXPECT_EQ(2, store.devices(by_api).total);
    by_api.vendor_id = 0;
    by_api.api = "vulkan";
    EXPECT_TRUE(store.devices(by_api).items.empty());

    // GL_X: present on two devices (since 2.0.9 on the first, whose 1.0 said
    // no), absent on the third; GL_Y: said "yes" on one, "no" on another.
    const auto coverage = [&](const std::string& name, std::optional<std::string> value) {
        std::vector<std::string> has;
        for (const covered_device& device :
             store.coverage({page_group::opengl, page_id::gl_extensions, name, value})) {
            has.push_back(device.device.key + (device.has ? " since " + device.lowest_driver : " without"));
        }
        std::sort(has.begin(), has.end());
        return has;
    };
    EXPECT_EQ(
        (std::vector<std::string>{"1002:67ff since 23.1", "10de:1111 since 2.0.9", "10de:2222 without"}),
        coverage("GL_X", std::nullopt));
    EXPECT_EQ((std::vector<std::string>{"1002:67ff without", "10de:1111 since 1.0", "10de:2222 without"}),
              coverage("GL_X", "no"));
    EXPECT_EQ((std::vector<std::string>{"1002:67ff without", "10de:1111 without", "10de:2222 since 3.0"}),
              coverage("GL_Y", std::nullopt));
    EXPECT_EQ((std::vector<std::string>{"GL_X", "GL_Y"}),
              store.row_names(page_group::opengl, page_id::gl_extensions, "gl_", 10));

    // A report reads back as it was kept.
    const std::optional<stored_report> back = store.report(ids[3]);
    ASSERT_TRUE(back);
    EXPECT_EQ(kept[3], back->document);
    EXPECT_FALSE(store.report(999999));
}

// Reports say the system they were read on (those that do not are
// Windows'): listings filter by it, devices list the systems of their
// reports, and a device's reports come by platform, then driver.
TEST_P(Store, ReportsAndDevicesBySystem) {
    result<std::unique_ptr<report_store>> opened = report_store::open(fresh_database(GetParam()));
    ASSERT_TRUE(opened) << opened.why().text();
    report_store& store = **opened;
    const std::string nvidia = "NVIDIA Corporation (0x10DE)";
    const os_platform linux_platform{"Linux", "Debian GNU/Linux 12 (bookworm)", "6.1.0-27-amd64"};
    report_document on_linux = report_of(nvidia, "0x1111", "2.0", {{"GL_X", "yes"}});
    on_linux.platform = linux_platform;
    report_document other = report_of(nvidia, "0x2222", "3.0", {{"GL_X", "yes"}});
    other.platform = linux_platform;
    const int64_t windows_id = store.keep(received(report_of(nvidia, "0x1111", "1.0", {{"GL_X", "no"}}))).id;
    const int64_t linux_id = store.keep(received(on_linux)).id;
    store.keep(received(other));

    const auto platforms_of = [&](const std::string& key) { return store.device(key)->platforms; };
    EXPECT_EQ((std::vector<std::string>{"Linux", "Windows"}), platforms_of("10de:1111"));
    EXPECT_EQ((std::vector<std::string>{"Linux"}), platforms_of("10de:2222"));
    listing_filter filter;
    for (const auto& [platform, devices, reports] :
         {std::tuple{"linux", 2, 2}, std::tuple{"windows", 1, 1}, std::tuple{"", 2, 3}}) {
        filter.platform = platform;
        EXPECT_EQ(devices, store.devices(filter).total) << platform;
        EXPECT_EQ(reports, store.reports(filter).total) << platform;
    }
    // A device reported on both keeps both, whichever one the filter asks.
    filter.platform = "windows";
    EXPECT_EQ((std::vector<std::string>{"Linux", "Windows"}), store.devices(filter).items.at(0).platforms);
    EXPECT_EQ("Windows", store.reports(filter).items.at(0).platform);

    const std::vector<listed_report> by_platform = store.device_reports("10de:1111");
    ASSERT_EQ(2u, by_platform.size());
    EXPECT_EQ(windows_id, by_platform[0].id);
    EXPECT_EQ("Windows", by_platform[0].platform);
    EXPECT_EQ("Linux", by_platform[1].platform);
    EXPECT_EQ(linux_platform, store.report(linux_id)->document.platform);
    // The field of one platform: its devices, counted with its reports alone.
    for (const auto& [platform, devices, reports] :
         {std::tuple{"linux", 2, 2}, std::tuple{"windows", 1, 1}, std::tuple{"", 2, 3}}) {
        const field_statistics field = store.statistics(platform);
        EXPECT_EQ(devices, field.devices) << platform;
        EXPECT_EQ(reports, field.reports) << platform;
        ASSERT_EQ(1u, field.vendors.size()) << platform;
        EXPECT_EQ(reports, field.vendors[0].reports) << platform;
        const auto gl = std::find_if(field.opengl.begin(), field.opengl.end(),
                                     [](const tally& t) { return t.label == "4.6"; });
        ASSERT_NE(field.opengl.end(), gl) << platform;
        EXPECT_EQ(devices, gl->devices) << platform;
    }
    EXPECT_EQ("Windows", platform_os(store.report(windows_id)->document));

    // The landscape and coverage of one platform: its devices, as their
    // reports read there say, since their lowest driver there.
    const auto listed = [&](const std::string& platform, uint32_t vendor = 0) {
        const page_landscape field =
            store.landscape(page_group::opengl, page_id::gl_extensions, vendor, platform);
        std::string line = std::to_string(field.devices) + " devices";
        for (const row_landscape& row : field.rows) {
            line += ", " + row.name + " " + std::to_string(row.with);
            for (const value_count& value : row.values) {
                line += " " + value.value + ":" + std::to_string(value.devices);
            }
        }
        return line;
    };
    const auto covered = [&](const std::string& platform) {
        std::vector<std::string> devices;
        for (const covered_device& d :
             store.coverage({page_group::opengl, page_id::gl_extensions, "GL_X", std::nullopt}, platform)) {
            devices.push_back(d.device.key + (d.has ? " since " + d.lowest_driver : " without"));
        }
        std::sort(devices.begin(), devices.end());
        return devices;
    };
    EXPECT_EQ("2 devices, [Extensions] 0, GL_X 2 yes:2", listed("linux"));
    EXPECT_EQ("1 devices, [Extensions] 0, GL_X 0 no:1", listed("windows"));
    EXPECT_EQ("2 devices, [Extensions] 0, GL_X 2 yes:2 no:1", listed(""));
    EXPECT_EQ("2 devices, [Extensions] 0, GL_X 2 yes:2", listed("linux", 0x10de));
    EXPECT_EQ("0 devices", listed("linux", 0x1002));
    // An older Windows driver that had it.
    store.keep(received(report_of(nvidia, "0x1111", "0.5", {{"GL_X", "yes"}})));
    EXPECT_EQ("1 devices, [Extensions] 0, GL_X 1 no:1 yes:1", listed("windows"));
    EXPECT_EQ((std::vector<std::string>{"10de:1111 since 0.5"}), covered("windows"));
    EXPECT_EQ((std::vector<std::string>{"10de:1111 since 2.0", "10de:2222 since 3.0"}), covered("linux"));
    EXPECT_EQ((std::vector<std::string>{"10de:1111 since 0.5", "10de:2222 since 3.0"}), covered(""));
    // Its Linux report removed, the board is Windows' alone.
    ASSERT_TRUE(store.remove(linux_id, "a test"));
    EXPECT_EQ("1 devices, [Extensions] 0, GL_X 1 yes:1", listed("linux"));
    EXPECT_EQ((std::vector<std::string>{"10de:2222 since 3.0"}), covered("linux"));
    EXPECT_EQ("2 devices, [Extensions] 0, GL_X 2 yes:2 no:1", listed(""));
}

TEST_P(Store, NamesComeFromThePciListOrMostReportsNeverTheNewest) {
    result<std::unique_ptr<report_store>> opened = report_store::open(fresh_database(GetParam()));
    ASSERT_TRUE(opened) << opened.why().text();
    report_store& store = **opened;
    const std::string nvidia = "NVIDIA Corporation (0x10DE)";
    const auto keep = [&](const std::string& device, const std::string& vendor,
                          const std::string& description, const std::string& driver) {
        report_document document = report_of(vendor, device, driver, {{"GL_Z", "yes"}});
        document.adapters[0].description = description;
        store.keep(received(document));
    };
    const auto named = [&](const std::string& key) {
        const std::optional<device_entry> device = store.device(key);
        return device ? device->vendor + " / " + device->name + " / " + device->driver_version : "(none)";
    };
    // A device the PCI list knows is named by it, whatever its reports say.
    keep("0x06CD", "Other Vendor Inc. (0x10DE)", "<script>alert(1)</script>", "2.0");
    EXPECT_EQ("NVIDIA Corporation / NVIDIA: GF100 [GeForce GTX 470] / 2.0", named("10de:06cd"));
    // One it does not know: by what most of its reports say; of two as
    // many, the name given first. The newest report alone changes nothing.
    keep("0xFFF0", nvidia, "Board A", "10.2");
    keep("0xFFF0", nvidia, "Board A", "9.8");
    keep("0xFFF0", nvidia, "Board B", "9.9");
    keep("0xFFF0", nvidia, "Board B", "9.7");
    EXPECT_EQ("NVIDIA Corporation / Board A / 9.7", named("10de:fff0"));
    keep("0xFFF0", nvidia, "Board B", "9.7.1");
    EXPECT_EQ("NVIDIA Corporation / Board B / 9.7.1", named("10de:fff0"));
    // Reports of older drivers after newer ones: "since" is the lowest.
    const std::vector<covered_device> covered =
        store.coverage({page_group::opengl, page_id::gl_extensions, "GL_Z", std::nullopt});
    const auto board = std::find_if(covered.begin(), covered.end(),
                                    [](const covered_device& d) { return d.device.key == "10de:fff0"; });
    ASSERT_NE(covered.end(), board);
    EXPECT_EQ("9.7", board->lowest_driver);
}

TEST_P(Store, ARemovedReportTakesOnlyWhatWasItsOwn) {
    result<std::unique_ptr<report_store>> opened = report_store::open(fresh_database(GetParam()));
    ASSERT_TRUE(opened) << opened.why().text();
    report_store& store = **opened;
    const std::string nvidia = "NVIDIA Corporation (0x10DE)";
    const report_document shared = report_of(nvidia, "0x1111", "1.0", {{"GL_X", "yes"}});
    const int64_t first = store.keep(received(shared)).id;
    const int64_t second =
        store.keep(received(report_of(nvidia, "0x1111", "2.0", {{"GL_X", "yes"}, {"GL_Y", "yes"}}))).id;
    const int64_t other = store.keep(received(report_of(nvidia, "0x2222", "3.0", {{"GL_Y", "yes"}}))).id;
    EXPECT_FALSE(store.remove(999, "spam"));
    ASSERT_TRUE(store.remove(second, "spam"));
    EXPECT_FALSE(store.report(second));
    EXPECT_EQ("spam", store.removal(second)->why);
    EXPECT_FALSE(store.removal(first));
    EXPECT_EQ(shared, store.report(first)->document);
    const std::optional<device_entry> device = store.device("10de:1111");
    ASSERT_TRUE(device);
    EXPECT_EQ(1, device->reports);
    EXPECT_EQ(first, device->newest_report);
    EXPECT_EQ("1.0", device->driver_version);
    // GL_Y is left only where the other device says it.
    std::vector<std::string> has;
    for (const covered_device& d :
         store.coverage({page_group::opengl, page_id::gl_extensions, "GL_Y", std::nullopt})) {
        has.push_back(d.device.key + (d.has ? " with" : " without"));
    }
    std::sort(has.begin(), has.end());
    EXPECT_EQ((std::vector<std::string>{"10de:1111 without", "10de:2222 with"}), has);
    ASSERT_TRUE(store.remove(other, "a leaked name"));
    EXPECT_FALSE(store.device("10de:2222"));
    EXPECT_EQ((std::vector<std::string>{"GL_X"}),
              store.row_names(page_group::opengl, page_id::gl_extensions, "", 10));
}

// A store of the version before: names as the newest report gave them, a
// format's "none" counted as present, no removals. Opened, it is brought to
// this version.
TEST_P(Store, AnOlderStoreIsBroughtToThisVersion) {
    const std::string database = fresh_database(GetParam());
    {
        result<std::unique_ptr<report_store>> made = report_store::open(database);
        ASSERT_TRUE(made) << made.why().text();
        report_document document =
            report_of("NVIDIA Corporation (0x10DE)", "0x06CD", "1.0", {{"GL_N", "none"}});
        document.adapters[0].description = "<script>";
        (*made)->keep(received(document));
    }
    const std::unique_ptr<sql_connection> db =
        GetParam() == "sqlite" ? open_sqlite(database.substr(7)) : open_postgresql(database);
    for (const char* older :
         {"UPDATE devices SET name = '<script>'", "UPDATE facts SET present = 1", "DROP TABLE device_names",
          "DROP TABLE removals", "DROP INDEX adapters_device", "DROP INDEX page_facts_page",
          "DROP INDEX device_pages_device", "DROP INDEX pages_kind", "DROP TABLE fact_counts",
          "DROP TABLE row_counts", "DROP TABLE word_counts", "DROP TABLE monthly_reports",
          "DROP TABLE device_platform_pages", "DROP TABLE device_platforms", "DROP INDEX reports_platform",
          "ALTER TABLE reports DROP COLUMN platform", "ALTER TABLE reports DROP COLUMN platform_version",
          "ALTER TABLE reports DROP COLUMN platform_kernel", "UPDATE cavio_schema SET version = 2"}) {
        db->run(older);
    }
    result<std::unique_ptr<report_store>> opened = report_store::open(database);
    ASSERT_TRUE(opened) << opened.why().text();
    EXPECT_EQ("NVIDIA: GF100 [GeForce GTX 470]", (*opened)->device("10de:06cd")->name);
    const std::vector<covered_device> covered =
        (*opened)->coverage({page_group::opengl, page_id::gl_extensions, "GL_N", std::nullopt});
    ASSERT_EQ(1u, covered.size());
    EXPECT_FALSE(covered[0].has);
    EXPECT_FALSE((*opened)->remove(99, "nothing"));
    // The landscape is counted from what was kept before, as Windows'.
    for (const auto& [platform, devices] :
         {std::pair{"", 1}, std::pair{"windows", 1}, std::pair{"linux", 0}}) {
        EXPECT_EQ(devices,
                  (*opened)->landscape(page_group::opengl, page_id::gl_extensions, 0, platform).devices)
            << platform;
    }
    EXPECT_EQ(1, (*opened)->statistics().reports);
    // A report kept before reports said their system is Windows'.
    listing_filter on_windows;
    on_windows.platform = "windows";
    EXPECT_EQ(1, (*opened)->reports(on_windows).total);
}

// Every row of a page across the devices: counted once per device whatever
// its reports, in the page's order, by vendor, and less what was removed.
TEST_P(Store, TheLandscapeCountsDevicesNotReports) {
    result<std::unique_ptr<report_store>> opened = report_store::open(fresh_database(GetParam()));
    ASSERT_TRUE(opened) << opened.why().text();
    report_store& store = **opened;
    const std::string nvidia = "NVIDIA Corporation (0x10DE)";
    const std::string amd = "Advanced Micro Devices, Inc. [AMD/ATI] (0x1002)";
    // Three reports of one board (GL_B said no, then yes, then no again),
    // one of another NVIDIA board, one AMD board without GL_B.
    store.keep(received(report_of(nvidia, "0x1111", "1.0", {{"GL_A", "yes"}, {"GL_B", "no"}})));
    store.keep(received(report_of(nvidia, "0x1111", "2.0", {{"GL_A", "yes"}, {"GL_B", "yes"}})));
    const int64_t third = store
                              .keep(received(report_of(nvidia, "0x1111", "3.0",
                                                       {{"GL_A", "yes"}, {"GL_B", "no"}, {"GL_C", "yes"}})))
                              .id;
    store.keep(received(report_of(nvidia, "0x2222", "1.0", {{"GL_A", "yes"}, {"GL_B", "yes"}})));
    store.keep(received(report_of(amd, "0x3333", "1.0", {{"GL_A", "no"}})));
    const auto summary = [&](uint32_t vendor) {
        const page_landscape field = store.landscape(page_group::opengl, page_id::gl_extensions, vendor);
        std::vector<std::string> rows = {std::to_string(field.devices) + " devices"};
        for (const row_landscape& row : field.rows) {
            std::string line = row.section + " " + row.name + " " + std::to_string(row.with);
            for (const value_count& value : row.values) {
                line += " " + value.value + ":" + std::to_string(value.devices);
            }
            rows.push_back(line);
        }
        return rows;
    };
    EXPECT_EQ((std::vector<std::string>{"3 devices", "[Extensions] [Extensions] 0",
                                        "[Extensions] GL_A 2 yes:2 no:1", "[Extensions] GL_B 2 yes:2 no:1",
                                        "[Extensions] GL_C 1 yes:1"}),
              summary(0));
    EXPECT_EQ(
        (std::vector<std::string>{"1 devices", "[Extensions] [Extensions] 0", "[Extensions] GL_A 0 no:1"}),
        summary(0x1002));
    // Removed, the third report takes GL_C and its "no" for GL_B with it.
    ASSERT_TRUE(store.remove(third, "a test"));
    EXPECT_EQ((std::vector<std::string>{"3 devices", "[Extensions] [Extensions] 0",
                                        "[Extensions] GL_A 2 yes:2 no:1", "[Extensions] GL_B 2 yes:2 no:1"}),
              summary(0));

    const field_statistics field = store.statistics();
    EXPECT_EQ(3, field.devices);
    EXPECT_EQ(4, field.reports);
    ASSERT_EQ(2u, field.vendors.size());
    EXPECT_EQ("0x10de", field.vendors[0].key);
    EXPECT_EQ("NVIDIA Corporation", field.vendors[0].label);
    EXPECT_EQ(2, field.vendors[0].devices);
    ASSERT_EQ(1u, field.opengl.size());
    EXPECT_EQ("4.6", field.opengl[0].key);
    ASSERT_EQ(1u, field.months.size());
    EXPECT_EQ(4, field.months[0].reports);
}

// A format's capability words are counted once per device whatever values
// its reports gave; coverage asks for one of them, and for names in any
// letter case; numbers have their lowest and highest; devices sort and
// filter by name, vendor, reports and API version.
TEST_P(Store, FormatsNumbersNamesAndTheDevicesList) {
    result<std::unique_ptr<report_store>> opened = report_store::open(fresh_database(GetParam()));
    ASSERT_TRUE(opened) << opened.why().text();
    report_store& store = **opened;
    const auto with_pages = [](report_document document, const std::string& format, const std::string& width,
                               const std::string& vulkan) {
        adapter_report& adapter = document.adapters[0];
        adapter.group(page_group::directx)
            .pages.push_back({page_id::dx_formats,
                              {{row_kind::section, "[Direct3D 11]", "", "", std::nullopt},
                               {row_kind::text, "DXGI_FORMAT_R8_UNORM", format, "", std::nullopt}},
                              std::nullopt});
        adapter.group(page_group::directx)
            .pages.push_back({page_id::dx_textures,
                              {{row_kind::number, "MaxTextureWidth", width, "", std::nullopt}},
                              std::nullopt});
        adapter.group(page_group::vulkan).read = true;
        adapter.group(page_group::vulkan).pages = {
            {page_id::vk_summary, {{row_kind::text, "API version", vulkan, "", std::nullopt}}, std::nullopt}};
        return document;
    };
    const std::string nvidia = "NVIDIA Corporation (0x10DE)";
    // One board whose newer driver adds blending (sampled in both), another
    // that can only sample, a third that cannot use the format at all.
    store.keep(received(with_pages(report_of(nvidia, "0x1111", "1.0", {{"GL_ARB_Mixed", "yes"}}),
                                   "sampled, MSAA x2 x4", "4096", "1.3.240")));
    const int64_t newer = store
                              .keep(received(with_pages(report_of(nvidia, "0x1111", "2.0", {}),
                                                        "sampled, blend, MSAA x2 x4", "16384", "1.3.250")))
                              .id;
    store.keep(received(with_pages(report_of("Intel Corporation (0x8086)", "0x2222", "1.0", {}), "sampled",
                                   "8192", "1.2.0")));
    store.keep(received(with_pages(report_of("Zeta (0x1234)", "0x3333", "1.0", {}), "not supported",
                                   "not available", "1.3.1")));

    const page_landscape formats = store.landscape(page_group::directx, page_id::dx_formats, 0);
    EXPECT_EQ(3, formats.devices);
    ASSERT_EQ(2u, formats.rows.size());
    const row_landscape& format = formats.rows[1];
    EXPECT_EQ(2, format.with);
    std::vector<std::string> words;
    for (const value_count& word : format.values) {
        words.push_back(word.value + ":" + std::to_string(word.devices));
    }
    EXPECT_EQ((std::vector<std::string>{"sampled:2", "MSAA x2:1", "MSAA x4:1", "blend:1"}), words);
    const auto with_it = [&](const std::string& name, const std::optional<std::string>& value) {
        std::vector<std::string> devices;
        for (const covered_device& device :
             store.coverage({page_group::directx, page_id::dx_formats, name, value})) {
            if (device.has) {
                devices.push_back(device.device.key + " " + device.lowest_driver);
            }
        }
        std::sort(devices.begin(), devices.end());
        return devices;
    };
    EXPECT_EQ((std::vector<std::string>{"10de:1111 1.0", "8086:2222 1.0"}),
              with_it("DXGI_FORMAT_R8_UNORM", "Sampled"));
    EXPECT_EQ((std::vector<std::string>{"10de:1111 2.0"}), with_it("dxgi_format_r8_unorm", "blend"));
    EXPECT_EQ((std::vector<std::string>{"10de:1111 1.0"}), with_it("DXGI_FORMAT_R8_UNORM", "MSAA x4"));
    EXPECT_EQ(2u, with_it("Dxgi_Format_R8_Unorm", std::nullopt).size());
    EXPECT_TRUE(with_it("DXGI_FORMAT_R8_UNORM", "MSAA x8").empty());
    const std::vector<covered_device> mixed =
        store.coverage({page_group::opengl, page_id::gl_extensions, "GL_ARB_MIXED", std::nullopt});
    EXPECT_EQ(1, std::count_if(mixed.begin(), mixed.end(), [](const covered_device& d) { return d.has; }));
    const std::vector<value_count> asked =
        store.row_words(page_group::directx, page_id::dx_formats, "DXGI_FORMAT_R8_UNORM");
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ("sampled", asked[0].value);

    // Removed, the newer report takes blending with it, not sampling.
    ASSERT_TRUE(store.remove(newer, "a test"));
    words.clear();
    const page_landscape after = store.landscape(page_group::directx, page_id::dx_formats, 0);
    for (const value_count& word : after.rows.at(1).values) {
        words.push_back(word.value + ":" + std::to_string(word.devices));
    }
    EXPECT_EQ((std::vector<std::string>{"sampled:2", "MSAA x2:1", "MSAA x4:1"}), words);

    const page_landscape textures = store.landscape(page_group::directx, page_id::dx_textures, 0);
    ASSERT_EQ(1u, textures.rows.size());
    EXPECT_EQ("4096", textures.rows[0].lowest);  // not "not available", and by number, not text
    EXPECT_EQ("8192", textures.rows[0].highest);

    // Vulkan 1.3.240 and 1.3.1 are one version; 1.2.0 another.
    const field_statistics field = store.statistics();
    ASSERT_EQ(2u, field.vulkan.size());
    EXPECT_EQ("1.3", field.vulkan[0].key);
    EXPECT_EQ(2, field.vulkan[0].devices);

    const auto listed = [&](listing_filter filter) {
        std::vector<std::string> keys;
        for (const device_entry& device : store.devices(filter).items) {
            keys.push_back(device.key);
        }
        return keys;
    };
    listing_filter filter;
    filter.vk = "1.3";
    EXPECT_EQ((std::vector<std::string>{"1234:3333", "10de:1111"}),
              listed(filter));  // the newest report first
    filter.vk = "1.2";
    EXPECT_EQ((std::vector<std::string>{"8086:2222"}), listed(filter));
    filter.vk = "1.3.2";
    EXPECT_TRUE(listed(filter).empty());  // no release of 1.3.240
    filter.vk.clear();
    filter.gl = "4.6";
    EXPECT_EQ(3u, listed(filter).size());
    filter.gl = "none";
    EXPECT_TRUE(listed(filter).empty());
    filter.gl.clear();
    filter.d3d = "none";  // none of these reports says a feature level
    EXPECT_EQ(3u, listed(filter).size());
    filter.d3d = "12_1";
    EXPECT_TRUE(listed(filter).empty());
    filter.d3d.clear();
    store.keep(received(with_pages(report_of("Intel Corporation (0x8086)", "0x2222", "2.0", {}), "sampled",
                                   "8192", "1.2.0")));
    filter.sort = "reports";
    EXPECT_EQ("8086:2222", listed(filter).at(0));
    filter.sort = "vendor";
    EXPECT_EQ((std::vector<std::string>{"8086:2222", "10de:1111", "1234:3333"}), listed(filter));
    filter.sort = "name";
    EXPECT_EQ("10de:1111", listed(filter).at(0));  // "Board 0x1111"
    EXPECT_EQ(std::nullopt, store.previous_report("10de:1111", newer - 1));
}

// What a format's value says it can do, word by word.
TEST(StoreFacts, FormatWords) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"texture 2D, render target, MSAA x2 x4 x8",
         {"texture 2D", "render target", "MSAA x2", "MSAA x4", "MSAA x8"}},
        {"optimal: sampled, blend; linear: sampled; buffer: vertex",
         {"sampled", "blend", "linear: sampled", "buffer: vertex"}},
        {"optimal: none; linear: blit source; buffer: none", {"linear: blit source"}},
        {"not supported", {}},
        {"not available", {}},
        {"none", {}},
        {"", {}},
    };
    for (const auto& [value, words] : cases) {
        EXPECT_EQ(words, format_words(value)) << value;
    }
    EXPECT_TRUE(has_format_word("optimal: sampled; linear: blend", "LINEAR: Blend"));
    EXPECT_FALSE(has_format_word("optimal: sampled; linear: blend", "blend"));
    EXPECT_FALSE(has_format_word("MSAA render target", "render target"));
}

// The absence words, held against what the page writers write: each occurs
// on the golden report's pages, and no row saying one counts as present.
TEST(StoreFacts, WhatCountsAsPresent) {
    const result<report_document> golden =
        read_report_json(site_fixtures::read_file(std::string(CAVIO_GOLDEN_DIR) + "/report.json"), "golden");
    ASSERT_TRUE(golden);
    const std::pair<const char*, const char*> written[] = {
        {"vk_formats", "none"},          {"dx_formats", "not supported"},
        {"dx_formats", "not available"}, {"vk_features", "no"},
        {"gl_extensions", "no"},         {"gl_core_limits", "not supported"},
        {"dx_outputs", "not available"}, {"vk_queues", "0"},
        {"dx_summary", "none"},
    };
    for (const auto& [marker, word] : written) {
        bool found = false;
        for (const adapter_report& adapter : golden->adapters) {
            for (const report_group& group : adapter.groups) {
                for (const report_page& page : group.pages) {
                    for (const report_row& row : page.rows) {
                        found = found || (page.info().marker == std::string(marker) && row.value == word);
                    }
                }
            }
        }
        EXPECT_TRUE(found) << marker << " never says \"" << word << "\"";
        EXPECT_FALSE(counts_as_present(word)) << word;
    }
    for (const char* present : {"yes", "1", "4096", "0.5", "0x10", "not quite", "12_1", "sampled image"}) {
        EXPECT_TRUE(counts_as_present(present)) << present;
    }
    for (const char* absent : {"0.000000", "0x0", "0 MiB", "-0", ""}) {
        EXPECT_FALSE(counts_as_present(absent)) << absent;
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, Store, ::testing::ValuesIn(site_fixtures::engines));

}  // namespace
