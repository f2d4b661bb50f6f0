// Cost of writing the twelve DirectX pages of a record with 1,000 display
// modes (what choosing a device and the start-up cost per adapter), and of
// the submission text of that report; then of opening a saved report of
// about 1 MiB and comparing two.
// Run: wine build/bench/report_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "large_record.h"
#include "refdata/pci_names.h"
#include "report/compare.h"
#include "report/report_builder.h"
#include "report/report_json.h"
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

    // A saved report of about 1 MiB: the same adapter as often as it takes.
    report_document saved;
    std::string text;
    while (text.size() < (1u << 20)) {
        saved.adapters.push_back(document.adapters[0]);
        text = report_json(saved, "cavio", "1.0.0.0");
    }
    report_document opened;
    const double open = median_ms([&] { opened = *read_report_json(text, "large.json"); });
    report_document other = opened;
    other.adapters.back().groups[0].pages[1].rows[5].value = "changed";
    size_t differences = 0;
    const double compared = median_ms([&] { differences = report_differences(opened, other).size(); });
    std::printf("opening a saved report of %zu bytes (%zu adapters): median %.3f ms\n", text.size(),
                saved.adapters.size(), open);
    std::printf("comparing two such reports (%zu adapter differs): median %.3f ms\n", differences, compared);
    return 0;
}
