// The site's store under load: ingest of many reports made by varying a real
// one (other devices, drivers and values), the store's size per report, and
// the coverage and device-list queries over them, median and 99th percentile;
// the listings of the largest pages (of the whole field and of one
// platform) and the statistics.
//   site_bench REPORT.json COUNT [--posters N] DATABASE...
// DATABASE is sqlite:FILE (a new file) or postgresql://... (an empty database).
// With --posters, N threads keep reports at once, as that many viewers
// posting together would through the site's pool.
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "report/report_json.h"
#include "site/store.h"

namespace {

using clock_type = std::chrono::steady_clock;

double ms_since(clock_type::time_point start) {
    return std::chrono::duration<double, std::milli>(clock_type::now() - start).count();
}

report_page* page_in(report_group& group, page_id id) {
    const auto found = std::find_if(group.pages.begin(), group.pages.end(),
                                    [id](const report_page& page) { return page.id == id; });
    return found != group.pages.end() ? &*found : nullptr;
}

void set_row(report_page* page, const std::string& name, const std::string& value) {
    if (page == nullptr) {
        return;
    }
    for (report_row& row : page->rows) {
        if (row.name == name) {
            row.value = value;
            row.wire_value.reset();
        }
    }
}

// Report i: one of 1,000 devices of three vendors, one of 20 drivers each,
// and a few values that differ between drivers; most pages equal the real
// report's. One report in four is read on Linux.
report_document variant(const report_document& real, int i) {
    report_document document = real;
    static const std::pair<const char*, const char*> vendors[] = {
        {"NVIDIA Corporation", "10DE"},
        {"Advanced Micro Devices, Inc. [AMD/ATI]", "1002"},
        {"Intel Corporation", "8086"}};
    std::mt19937 random(static_cast<unsigned>(i));
    const int device = static_cast<int>(random() % 1000);
    const int driver = static_cast<int>(random() % 20);
    const auto& [vendor, vendor_id] = vendors[device % 3];
    char device_id[8];
    std::snprintf(device_id, sizeof device_id, "0x%04X", 0x1000 + device);
    const std::string vendor_row = std::string(vendor) + " (0x" + vendor_id + ")";
    const std::string version = "31.0." + std::to_string(10 + driver) + "." + std::to_string(i % 7);
    adapter_report& adapter = document.adapters.at(0);
    adapter.description = std::string(vendor) + " board " + std::to_string(device);
    report_group& dx = adapter.group(page_group::directx);
    set_row(dx.pages.empty() ? nullptr : &dx.pages[0], "Device", adapter.description);
    for (page_id id : {page_id::dx_summary, page_id::dx_device}) {
        report_page* page = page_in(dx, id);
        set_row(page, "Vendor", vendor_row);
        set_row(page, "Device ID", device_id);
        set_row(page, "Driver version", version);
        set_row(page, "Description", adapter.description);
    }
    set_row(page_in(dx, page_id::dx_textures), "MaxTextureWidth", std::to_string(4096 << (device % 3)));
    report_group& gl = adapter.group(page_group::opengl);
    set_row(page_in(gl, page_id::gl_extensions), "GL_ARB_multitexture", driver % 4 == 0 ? "no" : "yes");
    if (i % 4 == 3) {
        document.platform = {"Linux", "Debian GNU/Linux 12 (bookworm)", "6.1.0-27-amd64"};
    }
    return document;
}

struct figures {
    double median = 0;
    double p99 = 0;
};

template <typename Query>
figures time_query(Query query, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = clock_type::now();
        query();
        times.push_back(ms_since(start));
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[std::min(times.size() - 1, times.size() * 99 / 100)]};
}

uint64_t file_size(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<uint64_t>(info.st_size) : 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fputs("usage: site_bench REPORT.json COUNT [--posters N] DATABASE...\n", stderr);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const result<report_document> real = read_report_json(text.str(), argv[1]);
    if (!real) {
        std::fprintf(stderr, "%s\n", real.why().sentence.c_str());
        return 1;
    }
    const int count = std::atoi(argv[2]);
    int first_database = 3;
    int posters = 1;
    if (std::string(argv[3]) == "--posters" && argc > 5) {
        posters = std::max(1, std::atoi(argv[4]));
        first_database = 5;
    }
    for (int d = first_database; d < argc; ++d) {
        const std::string database = argv[d];
        result<std::unique_ptr<report_store>> opened = report_store::open(database);
        if (!opened) {
            std::fprintf(stderr, "%s\n", opened.why().text().c_str());
            return 1;
        }
        report_store& store = **opened;
        const std::string engine = database.substr(0, database.find(':'));
        const auto store_size = [&] {
            if (engine == "sqlite") {
                const std::string path = database.substr(7);
                return file_size(path) + file_size(path + "-wal");
            }
            return static_cast<uint64_t>(cell_integer(
                open_postgresql(database)->run("SELECT pg_database_size(current_database())", {}).at(0)[0]));
        };
        const uint64_t empty = store_size();
        // Only the store's work is timed: making each report, and its JSON
        // as a viewer would post it, is not. Reports are made a batch at a
        // time, then the posters keep the batch together.
        double seconds = 0;
        constexpr int batch = 100;
        for (int start = 0; start < count; start += batch) {
            std::vector<received_report> made;
            for (int i = start; i < std::min(count, start + batch); ++i) {
                report_document document = variant(*real, i);
                std::string json = report_json(document, "cavio", "1.0.0.0");
                made.push_back({"json", "cavio", "1.0.0.0", std::move(json), std::move(document)});
            }
            const auto began = clock_type::now();
            std::vector<std::thread> threads;
            for (int p = 0; p < posters; ++p) {
                threads.emplace_back([&, p] {
                    for (size_t i = static_cast<size_t>(p); i < made.size();
                         i += static_cast<size_t>(posters)) {
                        store.keep(made[i]);
                    }
                });
            }
            for (std::thread& thread : threads) {
                thread.join();
            }
            seconds += ms_since(began) / 1000;
        }
        const uint64_t bytes = store_size() - empty;
        const figures coverage = time_query(
            [&] {
                store.coverage(
                    {page_group::opengl, page_id::gl_extensions, "GL_ARB_multitexture", std::nullopt});
            },
            50);
        const figures limit = time_query(
            [&] {
                store.coverage({page_group::directx, page_id::dx_textures, "MaxTextureWidth", "8192"});
            },
            50);
        const figures devices = time_query([&] { store.devices(vendor_filter(0x10DE, 2)); }, 50);
        const figures reports = time_query([&] { store.reports(text_filter("board 12")); }, 20);
        // The whole field: the largest listings, one vendor's, and the statistics.
        const figures formats =
            time_query([&] { store.landscape(page_group::vulkan, page_id::vk_formats, 0); }, 21);
        const figures extensions =
            time_query([&] { store.landscape(page_group::opengl, page_id::gl_all_extensions, 0); }, 21);
        const figures textures =
            time_query([&] { store.landscape(page_group::directx, page_id::dx_textures, 0x10DE); }, 21);
        const figures on_linux =
            time_query([&] { store.landscape(page_group::vulkan, page_id::vk_formats, 0, "linux"); }, 21);
        const figures statistics = time_query([&] { store.statistics(); }, 21);
        std::printf("%s, %d reports, %d poster%s: ingest %.0f reports/s (%.1f s); store %.1f KB per report\n",
                    engine.c_str(), count, posters, posters == 1 ? "" : "s", count / seconds, seconds,
                    bytes / 1024.0 / count);
        std::printf("  coverage of an extension: median %.1f ms, p99 %.1f ms\n", coverage.median,
                    coverage.p99);
        std::printf("  coverage of a limit's value: median %.1f ms, p99 %.1f ms\n", limit.median, limit.p99);
        std::printf("  devices of a vendor, page 2: median %.1f ms, p99 %.1f ms\n", devices.median,
                    devices.p99);
        std::printf("  reports whose name holds a text: median %.1f ms, p99 %.1f ms\n", reports.median,
                    reports.p99);
        std::printf("  listing of Vulkan formats: median %.1f ms, slowest of 21 %.1f ms\n", formats.median,
                    formats.p99);
        std::printf("  listing of OpenGL's extensions: median %.1f ms, slowest of 21 %.1f ms\n",
                    extensions.median, extensions.p99);
        std::printf("  listing of Vulkan formats on Linux: median %.1f ms, slowest of 21 %.1f ms\n",
                    on_linux.median, on_linux.p99);
        std::printf("  listing of one vendor's Direct3D textures: median %.1f ms, slowest of 21 %.1f ms\n",
                    textures.median, textures.p99);
        std::printf("  statistics: median %.1f ms, slowest of 21 %.1f ms\n", statistics.median,
                    statistics.p99);
    }
    return 0;
}
