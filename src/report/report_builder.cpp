#include "report/report_builder.h"

#include <numeric>
#include <string_view>

#include "probe/capture.h"
#include "probe/records.h"
#include "report/page_writer.h"

report_page write_page(const page_info& page, const dx_adapter& adapter) {
    report_page written{page.id, {}, {}};
    page_writer writer(written);
    page.write_directx(writer, adapter);
    return written;
}

report_page write_page(const page_info& page, const gl_record& record) {
    report_page written{page.id, {}, {}};
    page_writer writer(written);
    page.write_opengl(writer, record);
    return written;
}

adapter_report build_adapter_report(const dx_adapter& adapter, const gl_record* opengl) {
    adapter_report report;
    report.description = adapter.info.description;
    report.groups.resize(group_count);
    report_group& directx = report.group(page_group::directx);
    directx.id = page_group::directx;
    directx.read = true;
    for (const page_info& page : pages_of(page_group::directx)) {
        directx.pages.push_back(write_page(page, adapter));
    }
    report_group& gl = report.group(page_group::opengl);
    gl.id = page_group::opengl;
    gl.read = opengl != nullptr;
    if (opengl != nullptr) {
        for (const page_info& page : pages_of(page_group::opengl)) {
            gl.pages.push_back(write_page(page, *opengl));
        }
    }
    return report;
}

int opengl_record_of(const dx_adapter& adapter, std::span<const gl_record> opengl) {
    for (size_t i = 0; i < opengl.size(); ++i) {
        if (opengl[i].monitor == adapter.monitor) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

report_document build_report(std::span<const dx_adapter> adapters, std::span<const gl_record> opengl) {
    report_document document;
    for (const dx_adapter& adapter : adapters) {
        const int gl = opengl_record_of(adapter, opengl);
        document.adapters.push_back(
            build_adapter_report(adapter, gl >= 0 ? &opengl[static_cast<size_t>(gl)] : nullptr));
    }
    return document;
}

void add_problems(report_group& group, const std::vector<std::string>& reasons) {
    if (reasons.empty()) {
        return;
    }
    const page_info& summary = pages_of(group.id).front();
    if (group.pages.empty() || group.pages.front().id != summary.id) {
        group.pages.insert(group.pages.begin(), report_page{summary.id, {}, {}});
    }
    report_page& page = group.pages.front();
    // The submission sends the page as written, without what follows.
    if (!page.written_order) {
        std::vector<uint32_t> written(page.rows.size());
        std::iota(written.begin(), written.end(), 0u);
        page.written_order = std::move(written);
    }
    page_writer writer(page);
    if (!page.rows.empty()) {
        writer.blank();
    }
    writer.section("[Problems]", "What could not be read at all.");
    for (const std::string& reason : reasons) {
        const size_t colon = reason.find(": ");
        if (colon == std::string::npos) {
            writer.text("", reason, "");
        } else {
            writer.text(std::string_view(reason).substr(0, colon), std::string_view(reason).substr(colon + 2),
                        "");
        }
    }
}

report_document build_report(const startup_capture& capture) {
    report_document document = build_report(
        capture.direct3d ? std::span<const dx_adapter>(capture.direct3d->adapters) : std::span<const dx_adapter>(),
        capture.opengl ? std::span<const gl_record>(capture.opengl->adapters) : std::span<const gl_record>());
    // Each adapter's reasons, and those of every adapter, in the order they arose.
    const auto add = [&](page_group group, const std::vector<probe_reason>& reasons) {
        for (size_t i = 0; i < document.adapters.size(); ++i) {
            std::vector<std::string> texts;
            for (const probe_reason& reason : reasons) {
                if (reason.adapter < 0 || static_cast<size_t>(reason.adapter) == i) {
                    texts.push_back(reason.text);
                }
            }
            add_problems(document.adapters[i].group(group), texts);
        }
        for (const probe_reason& reason : reasons) {
            document.problems.push_back(reason.text);
        }
    };
    add(page_group::directx, capture.direct3d_reasons);
    add(page_group::opengl, capture.opengl_reasons);
    return document;
}
