// The row writers: each appends one row of its kind to a page, with the value
// formatted as the report always shows it. The page writers build every page
// through these alone.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "report/document.h"

class page_writer {
public:
    explicit page_writer(report_page& page) : page_(page) {}

    // A name with a value that is text.
    void text(std::string_view name, std::string_view value, std::string_view description);
    void blank();
    // A heading, "[Caps]", over the rows that follow.
    void section(std::string_view name, std::string_view description);
    // Whole numbers in decimal.
    void number(std::string_view name, int64_t value, std::string_view description);
    // Six decimals and "." whatever the locale; Nan and infinities as words.
    void real(std::string_view name, float value, std::string_view description);
    // Two numbers five blanks apart: integers, or reals in general format with
    // the user's decimal separator.
    void integer_pair(std::string_view name, const std::array<int32_t, 2>& value,
                      std::string_view description);
    void real_pair(std::string_view name, const std::array<float, 2>& value, std::string_view description);
    void yes_no(std::string_view name, bool value, std::string_view description);
    // A version as numbers: the driver's four parts "8.17.18.19", a shader's
    // "3.0", or a version the platform wrote as text ("4.6.0").
    void driver_version(std::string_view name, int64_t version, std::string_view description);
    void shader_version(std::string_view name, uint32_t version, std::string_view description);
    void version(std::string_view name, std::string_view value, std::string_view description);
    // The PCI list's vendor name and the identifier in hexadecimal: "NVIDIA
    // Corporation (0x10DE)", "unknown (0x1234)"; the submission sends the
    // identifier in decimal, "NVIDIA Corporation (4318)", as it always has.
    void vendor(std::string_view name, int64_t vendor_id, std::string_view description);
    // A PCI identifier in hexadecimal with at least digits digits, "0x06CD";
    // the submission sends it in decimal.
    void pci_id(std::string_view name, uint32_t value, int digits, std::string_view description);
    // The PCI list's "Vendor: device" text, or "unknown".
    void device(std::string_view name, int64_t vendor_id, uint32_t device_id, std::string_view description);
    // A query the platform did not answer; wire_value, where given, is what
    // the submission has always sent for it.
    void not_available(std::string_view name, std::string_view description,
                       std::optional<std::string> wire_value = std::nullopt);
    // Makes the row just written one whose query the platform did not answer:
    // it reads "not available", and the submission sends the value written,
    // the zero the site has always received for it.
    void not_answered();
    // A row as given: for values a page formats itself.
    void row(row_kind kind, std::string_view name, std::string value, std::string_view description);

    // Shows the rows written so far sorted by their text (name, value and
    // description, compared byte by byte, a prefix first), keeping the order
    // they were written in for the submission.
    void sort_rows();
    // The rows written from here on are shown, not sent: the submission keeps
    // the page as the site has always received it.
    void shown_only_from_here();

private:
    report_page& page_;
};
