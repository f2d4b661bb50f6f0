// Cost of writing the twelve DirectX pages of a record with 1,000 display
// modes (what choosing a device and the start-up cost per adapter), and of
// the submission text of that report.
// Run: wine build/bench/report_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "large_record.h"
#include "refdata/pci_names.h"
#include "report/report_builder.h"
#include "submit/submission.h"

namespace {

double median_ms(const std::function<void()>& work) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int run = 0; run < 101; ++run) {
        LARGE_INTEGER start{};
        LARGE_INTEGER end{};
        QueryPerformanceCounter(&start);
        work();
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
    report_document document;
    const double written = median_ms([&] {
        document.adapters.clear();
        document.adapters.push_back(build_adapter_report(adapter, nullptr));
    });
    size_t size = 0;
    const double submitted = median_ms([&] { size = submission_text(document).size(); });
    std::printf("twelve DirectX pages, 1000 modes: median %.3f ms to write\n", written);
    std::printf("their submission text, %zu bytes: median %.3f ms\n", size, submitted);
    return 0;
}
