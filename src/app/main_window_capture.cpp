// The start-up capture in the window: the adapters first, then each group
// as its probe hands its records in.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>

#include "app/grid_control.h"
#include "app/main_window.h"
#include "base/file_version.h"
#include "report/report_builder.h"
#include "submit/submission.h"

void main_window::start_up() {
    if (started) {
        return;
    }
    HWND form = window_.get();
    // The program's own window lists the adapters aside, taking input meanwhile.
    run_ = std::make_unique<capture_run>(
        seams_.capture, [form] { PostMessageW(form, capture_message, 0, 0); }, start_after_paint);
    set_status(controls_.status_bar, status_version, "\tVersion " + file_version_text());
    show_capture();
    started = true;
    if (!report_at_start.empty()) {
        open_report(report_at_start);
    }
    // Where nothing has the focus yet (keys typed at once keep theirs).
    if (GetFocus() == nullptr || GetFocus() == form) {
        SetFocus(controls_.adapter_list);
    }
}

void main_window::show_reading() {
    report_page reading{page_id::dx_summary, {}, {}};
    reading.rows.push_back({row_kind::text, "Reading\u2026", "", "The adapters are being listed.", {}});
    grid(page_id::dx_summary).show(&reading);
    grid_refresh(controls_.directx.summary.grid);
    set_status(controls_.status_bar, status_version, "\tVersion " + file_version_text());
    set_status(controls_.status_bar, status_message, "Reading the adapters\u2026");
}

void main_window::take_in_capture() {
    if (run_ && run_->collect()) {
        show_capture();
    }
}

void main_window::finish_capture() {
    // An opened report is read whole already.
    if (!run_ || run_->capture().complete() || !opened_.empty()) {
        return;
    }
    HWND status_bar = controls_.status_bar;
    set_status(status_bar, status_message,
               "Waiting for " + parts_still_reading(run_->capture()) + " to be read\u2026");
    UpdateWindow(status_bar);
    const HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    // In short steps, painting between them.
    while (!run_->wait_until(
        std::min(run_->deadline(), capture_run::clock::now() + std::chrono::milliseconds(50)))) {
        if (capture_run::clock::now() >= run_->deadline()) {
            run_->give_up();
            break;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }
    SetCursor(previous);
    show_capture();
}

bool main_window::capture_left_running() const {
    return run_ && run_->left_running();
}

// The report as far as it is read: this machine's pages where the window
// shows them, the submission once every probe has ended, and what is still
// read in the status bar.
void main_window::show_capture() {
    const startup_capture& capture = run_->capture();
    const report_document before = live_;
    live_ = build_report(capture);
    // Whatever still reads at its bound is given up then; the bound counts
    // from the list, which may come in aside.
    if (!capture.complete()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(run_->deadline() -
                                                                                capture_run::clock::now());
        SetTimer(window_.get(), capture_timer, static_cast<UINT>(std::max<int64_t>(left.count(), 1)),
                 nullptr);
    }
    if (capture.complete()) {
        KillTimer(window_.get(), capture_timer);
        submission = submission_text(live_);
        // The probes' objects go with it; a run whose probe was given up
        // stays, to say so at exit.
        if (!run_->left_running()) {
            run_.reset();
        }
        // The seams hold what the probes shared, a DXGI factory among them.
        seams_.capture = {};
    }
    if (!opened_.empty()) {
        return;
    }
    document_ = live_;
    const bool same_list = before.adapters.size() == live_.adapters.size() &&
                           std::equal(before.adapters.begin(), before.adapters.end(), live_.adapters.begin(),
                                      [](const adapter_report& a, const adapter_report& b) {
                                          return a.description == b.description;
                                      });
    if (!same_list || !started) {
        fill_adapter_list();
        fill_compared_list();
        show_selected_adapter();
    } else {
        show_changed_pages(before);
    }
    if (started) {
        find_in_new_records();
    }
}

// Only the pages that changed: those the user reads keep their place.
void main_window::show_changed_pages(const report_document& before) {
    const auto index = static_cast<size_t>(SendMessageW(controls_.adapter_list, CB_GETCURSEL, 0, 0));
    const adapter_report* adapter = shown_adapter();
    if (adapter == nullptr || compared_ || index >= before.adapters.size()) {
        show_selected_adapter();
        return;
    }
    const adapter_report& old = before.adapters[index];
    for (const page_info& info : page_table()) {
        const report_group& group = adapter->group(info.group);
        const report_page* now = group.page(info.id);
        const report_page* was = old.group(info.group).page(info.id);
        const bool changed = (now == nullptr) != (was == nullptr) || (now != nullptr && !(*now == *was));
        if (changed && (group.read || info.cleared_without_record)) {
            grid(info.id).show(now);
        }
    }
    refresh_grids();
    show_report_state();
}
