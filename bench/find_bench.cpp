// Cost of one search over every page of both groups, the DirectX pages
// holding a record with 1,000 display modes: a rare text, a common one,
// and one found nowhere.
// Run: wine build/bench/find_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "large_record.h"
#include "refdata/pci_names.h"
#include "report/find.h"
#include "report/report_builder.h"

int main() {
    init_reference_data();
    gl_record record;
    record.renderer = "Benchmark renderer";
    const adapter_report adapter = build_adapter_report(large_record(), &record);
    size_t rows = 0;
    for (const report_group& group : adapter.groups) {
        for (const report_page& page : group.pages) {
            rows += page.rows.size();
        }
    }
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    std::printf("%zu rows on %d pages\n", rows, page_count);
    for (const char* text : {"MaxTextureWidth", "yes", "no such text"}) {
        std::vector<double> times;
        size_t found = 0;
        for (int run = 0; run < 101; ++run) {
            LARGE_INTEGER start{};
            LARGE_INTEGER end{};
            QueryPerformanceCounter(&start);
            found = find_rows(adapter, text).size();
            QueryPerformanceCounter(&end);
            times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                            static_cast<double>(frequency.QuadPart));
        }
        std::sort(times.begin(), times.end());
        std::printf("find \"%s\": %zu rows, median %.3f ms (min %.3f, max %.3f, 101 runs)\n", text, found,
                    times[times.size() / 2], times.front(), times.back());
    }
    return 0;
}
