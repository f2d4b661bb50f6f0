// The row writers that every page writer builds its page with.
#include "report/page_writer.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

#include "base/text.h"
#include "refdata/pci_names.h"
#include "report/value_format.h"

void page_writer::row(row_kind kind, std::string_view name, std::string value, std::string_view description) {
    page_.rows.push_back({kind, std::string(name), std::move(value), std::string(description), std::nullopt});
}

void page_writer::text(std::string_view name, std::string_view value, std::string_view description) {
    row(row_kind::text, name, std::string(value), description);
}

void page_writer::blank() {
    row(row_kind::blank, "", "", "");
}

void page_writer::section(std::string_view name, std::string_view description) {
    row(row_kind::section, name, "", description);
}

void page_writer::number(std::string_view name, int64_t value, std::string_view description) {
    row(row_kind::number, name, std::to_string(value), description);
}

void page_writer::real(std::string_view name, float value, std::string_view description) {
    // "Nan" and "+Inf" are words, not numbers.
    row(std::isfinite(value) ? row_kind::number : row_kind::text, name, fixed_six_text(value), description);
}

void page_writer::integer_pair(std::string_view name, const std::array<int32_t, 2>& value,
                               std::string_view description) {
    row(row_kind::number, name, std::to_string(value[0]) + "     " + std::to_string(value[1]), description);
}

void page_writer::real_pair(std::string_view name, const std::array<float, 2>& value,
                            std::string_view description) {
    const char separator = decimal_separator();
    const bool finite = std::isfinite(value[0]) && std::isfinite(value[1]);
    row(finite ? row_kind::number : row_kind::text, name,
        general_text(value[0], separator) + "     " + general_text(value[1], separator), description);
}

void page_writer::yes_no(std::string_view name, bool value, std::string_view description) {
    row(row_kind::yes_no, name, value ? "yes" : "no", description);
}

void page_writer::driver_version(std::string_view name, int64_t version, std::string_view description) {
    row(row_kind::number, name, driver_version_text(version), description);
}

void page_writer::shader_version(std::string_view name, uint32_t version, std::string_view description) {
    row(row_kind::number, name, shader_version_text(version), description);
}

void page_writer::version(std::string_view name, std::string_view value, std::string_view description) {
    row(row_kind::number, name, std::string(value), description);
}

void page_writer::vendor(std::string_view name, int64_t vendor_id, std::string_view description) {
    std::string vendor;
    if (vendor_id >= 0 && vendor_id <= 0xFFFFFFFF) {
        vendor = vendor_name_of(static_cast<uint32_t>(vendor_id));
    }
    if (vendor.empty()) {
        vendor = "unknown";
    }
    text(name,
         vendor + " (" +
             (vendor_id >= 0 ? hex_id_text(static_cast<uint32_t>(vendor_id), 4) : std::to_string(vendor_id)) +
             ")",
         description);
    page_.rows.back().wire_value = vendor + " (" + std::to_string(vendor_id) + ")";
}

void page_writer::pci_id(std::string_view name, uint32_t value, int digits, std::string_view description) {
    row(row_kind::text, name, hex_id_text(value, digits), description);
    page_.rows.back().wire_value = std::to_string(value);
}

void page_writer::device(std::string_view name, int64_t vendor_id, uint32_t device_id,
                         std::string_view description) {
    std::string device;
    if (vendor_id >= 0 && vendor_id <= 0xFFFFFFFF) {
        device = gpu_name_of(static_cast<uint32_t>(vendor_id), device_id);
    }
    text(name, device.empty() ? "unknown" : device, description);
}

void page_writer::not_available(std::string_view name, std::string_view description,
                                std::optional<std::string> wire_value) {
    row(row_kind::not_available, name, "not available", description);
    page_.rows.back().wire_value = std::move(wire_value);
}

void page_writer::not_answered() {
    report_row& row = page_.rows.back();
    row.wire_value = std::exchange(row.value, "not available");
    row.kind = row_kind::not_available;
}

void page_writer::shown_only_from_here() {
    if (!page_.written_order) {
        std::vector<uint32_t> written(page_.rows.size());
        std::iota(written.begin(), written.end(), 0u);
        page_.written_order = std::move(written);
    }
}

void page_writer::sort_rows() {
    std::vector<report_row>& rows = page_.rows;
    // Each row's text is built once; std::string compares bytes as unsigned
    // values with a prefix first, and the stable order keeps equal rows as
    // they came.
    std::vector<std::string> texts;
    texts.reserve(rows.size());
    for (const report_row& row : rows) {
        texts.push_back(row.name + "\r\n" + row.value + "\r\n" + row.description + "\r\n");
    }
    std::vector<uint32_t> shown(rows.size());
    std::iota(shown.begin(), shown.end(), 0u);
    std::stable_sort(shown.begin(), shown.end(), [&](uint32_t a, uint32_t b) { return texts[a] < texts[b]; });

    std::vector<report_row> sorted;
    sorted.reserve(rows.size());
    std::vector<uint32_t> written(rows.size(), 0);
    for (uint32_t place = 0; place < shown.size(); ++place) {
        sorted.push_back(std::move(rows[shown[place]]));
        written[shown[place]] = place;
    }
    page_.written_order = std::move(written);
    rows = std::move(sorted);
}
