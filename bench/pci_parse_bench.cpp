// Start-up cost of the PCI names: builds the vendor list and parses the
// device database as the program does at start, many times over, and prints
// the times and the sizes. Run: wine build/bench/pci_parse_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

#include "refdata/pci_data.h"
#include "refdata/pci_names.h"

int main() {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    constexpr int runs = 50;
    std::vector<double> milliseconds;
    size_t vendors = 0;
    size_t devices = 0;
    for (int run = 0; run < runs; ++run) {
        LARGE_INTEGER start{};
        LARGE_INTEGER end{};
        QueryPerformanceCounter(&start);
        const keyed_list vendor_list = build_vendor_list();
        const keyed_list device_list =
            parse_device_database(std::string_view(pci_device_database, pci_device_database_size));
        QueryPerformanceCounter(&end);
        milliseconds.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                               static_cast<double>(frequency.QuadPart));
        vendors = vendor_list.size();
        devices = device_list.size();
    }
    std::sort(milliseconds.begin(), milliseconds.end());

    const std::string_view text(pci_device_database, pci_device_database_size);
    const auto records = std::count(text.begin(), text.end(), '\t');
    size_t blocks = 0;
    for (size_t at = 0; at < text.size(); at = text.find('\t', at) + 1) {
        blocks += text[at] == '@' ? 1 : 0;
    }
    std::printf("database text: %zu bytes, %zu blocks, %zu device records\n", text.size(), blocks,
                static_cast<size_t>(records) - blocks);
    std::printf("vendor list: %zu entries; device list: %zu entries\n", vendors, devices);
    std::printf("start-up build of both lists over %d runs: min %.3f ms, median %.3f ms, max %.3f ms\n", runs,
                milliseconds.front(), milliseconds[runs / 2], milliseconds.back());
    return 0;
}
