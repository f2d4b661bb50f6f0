// Cost of one search over every page of both groups, the DirectX pages
// holding a record with 1,000 display modes: a rare text, a common one,
// and one found nowhere.
// Run: wine build/bench/find_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "refdata/_consts.h"
#include "report/find.h"
#include "report/report.h"

namespace {

Tqdx_adapter large_record() {
    Tqdx_adapter adapter;
    adapter.info.description = "Benchmark board";
    adapter.caps.DevCaps = 0xFFFFFFFF;
    for (int i = 0; i < 1000; ++i) {
        Tqmode mode;
        mode.width = 640 + static_cast<uint32_t>((i * 37) % 3200);
        mode.height = 480 + static_cast<uint32_t>((i * 53) % 1800);
        mode.format = i % 2 == 0 ? "X8R8G8B8" : "R8G8B8A8_UNORM";
        mode.refresh_rates = {60, 75, 120, 144};
        adapter.modes.push_back(mode);
    }
    adapter.mode_count = static_cast<int32_t>(adapter.modes.size());
    return adapter;
}

}  // namespace

int main() {
    InitConsts();
    report pages;
    pages.FillDirect3DPages(large_record());
    tqgl_adapter record;
    record.renderer = "Benchmark renderer";
    pages.FillOpenGLPages(record);
    int rows = 0;
    for (const page_info& page : page_table()) {
        rows += pages.grid(page.id).row_count();
    }
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    std::printf("%d rows on 19 pages\n", rows);
    for (const char* text : {"MaxTextureWidth", "yes", "no such text"}) {
        std::vector<double> times;
        size_t found = 0;
        for (int run = 0; run < 101; ++run) {
            LARGE_INTEGER start{};
            LARGE_INTEGER end{};
            QueryPerformanceCounter(&start);
            found = find_rows(pages, text).size();
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
