// Cost of filling the eleven DirectX pages for a record with 1,000 display
// modes, with the echo off (device selection) and on (submission text).
// Run: wine build/bench/report_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "large_record.h"
#include "refdata/pci_names.h"
#include "report/report.h"

namespace {

double median_fill_ms(report& pages, const dx_adapter& adapter, bool echo) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int run = 0; run < 101; ++run) {
        pages.echo = echo;
        pages.submission_text.clear();
        LARGE_INTEGER start{};
        LARGE_INTEGER end{};
        QueryPerformanceCounter(&start);
        pages.fill_directx_pages(adapter);
        QueryPerformanceCounter(&end);
        times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    init_reference_data();
    const dx_adapter adapter = large_record();
    report pages;
    const double quiet = median_fill_ms(pages, adapter, false);
    const double echoed = median_fill_ms(pages, adapter, true);

    // The resolution sort alone, on a page of 2,000 modes.
    grid_model grid("SGdx_resolutions", false);
    grid.set_row_count(2001);
    for (int r = 1; r <= 2000; ++r) {
        grid.row(r) = {std::to_string((r * 7919) % 5000) + " x 1080", "X8R8G8B8", "60, 75"};
    }
    LARGE_INTEGER frequency{};
    LARGE_INTEGER start{};
    LARGE_INTEGER end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    sort_grid_rows(grid);
    QueryPerformanceCounter(&end);
    const double sort_ms =
        1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);

    std::printf("eleven DirectX pages, 1000 modes: median %.3f ms with echo off, %.3f ms with echo on\n",
                quiet, echoed);
    std::printf("sort_grid_rows of 2000 rows: %.3f ms\n", sort_ms);
    return 0;
}
