// The legacy submission: the form's fields and the text read into pages.
#include "site/legacy_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>

#include "report/value_format.h"
#include "site/http_message.h"

namespace {

reason refusal(const std::string& sentence) {
    return {"Submission", -1, {}, sentence, {}};
}

// The code points of Windows-1252's bytes 0x80 to 0x9F; 0 where undefined.
constexpr std::array<uint16_t, 32> windows_1252_high = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void append_utf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// What the row's text shows it is; the legacy text carries no kinds.
row_kind kind_of(const std::string& name, const std::string& value) {
    if (name.starts_with('[')) {
        return row_kind::section;
    }
    if (value == "yes" || value == "no") {
        return row_kind::yes_no;
    }
    if (value == "not available") {
        return row_kind::not_available;
    }
    const size_t digits = value.find_first_not_of("+-");
    const bool number = !value.empty() && digits != std::string::npos && digits <= 1 &&
                        value[digits] >= '0' && value[digits] <= '9' &&
                        value.find_first_not_of("0123456789.,+-E ") == std::string::npos;
    return number ? row_kind::number : row_kind::text;
}

// The lines of the text, each without its CR LF (or LF).
std::vector<std::string_view> lines_of(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

bool is_marker(std::string_view line) {
    return line.size() > 2 && line.front() == '!' && line.back() == '!';
}

}  // namespace

result<legacy_form> read_legacy_form(std::string_view body) {
    constexpr std::string_view field = "textlist=";
    constexpr std::string_view id_field = "&id=";
    legacy_form form;
    const size_t id_at = body.rfind(id_field);
    if (!body.starts_with(field) || id_at == std::string_view::npos || id_at < field.size() - 1) {
        return refusal("The body is not the submission form: it needs \"textlist\" and then \"id\".");
    }
    form.id = std::string(body.substr(id_at + id_field.size()));
    if (form.id.empty() || form.id.size() > 10 ||
        form.id.find_first_not_of("0123456789") != std::string::npos) {
        return refusal("The submission's \"id\" is not a number.");
    }
    const std::string_view encoded = body.substr(field.size(), id_at - field.size());
    form.text.reserve(encoded.size());
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '%') {
            form.text += encoded[i];
            continue;
        }
        const std::optional<char> byte = escaped_byte(encoded.substr(i));
        if (!byte) {
            return refusal("The submission's text holds a \"%\" that encodes no byte (at byte " +
                           std::to_string(field.size() + i + 1) + ").");
        }
        form.text += *byte;
        i += 2;
    }
    return form;
}

std::string utf8_of_windows_1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else if (byte < 0xA0) {
            const uint16_t code = windows_1252_high[byte - 0x80];
            append_utf8(out, code != 0 ? code : 0xFFFD);
        } else {
            append_utf8(out, byte);
        }
    }
    return out;
}

void show_legacy_ids_in_hex(report_document& document) {
    // The digits an identifier has in hexadecimal, as the viewer writes it.
    static const std::pair<const char*, int> identifiers[] = {
        {"Vendor", 4}, {"Device ID", 4}, {"Sub-system ID", 8}, {"Revision", 2}};
    for (adapter_report& adapter : document.adapters) {
        for (report_page& page : adapter.group(page_group::directx).pages) {
            if (page.id != page_id::dx_summary && page.id != page_id::dx_device) {
                continue;
            }
            for (report_row& row : page.rows) {
                const auto found = std::find_if(std::begin(identifiers), std::end(identifiers),
                                                [&](const auto& each) { return row.name == each.first; });
                if (found == std::end(identifiers) || row.wire_value) {
                    continue;
                }
                // "NVIDIA Corporation (4318)" is "NVIDIA Corporation (0x10DE)"; "1741" is "0x06CD".
                std::string_view number = row.value;
                std::string before;
                if (row.name == std::string("Vendor")) {
                    const size_t open = number.rfind(" (");
                    if (open == std::string_view::npos || !number.ends_with(')')) {
                        continue;
                    }
                    before = std::string(number.substr(0, open)) + " (";
                    number = number.substr(open + 2, number.size() - open - 3);
                }
                uint32_t value = 0;
                const auto [end, error] =
                    std::from_chars(number.data(), number.data() + number.size(), value);
                if (error != std::errc() || end != number.data() + number.size() || number.empty()) {
                    continue;
                }
                const std::string hex = hex_id_text(value, found->second);
                row.wire_value = row.value;
                row.value = before.empty() ? hex : before + hex + ")";
            }
        }
    }
}

result<report_document> read_legacy_text(std::string_view bytes) {
    const std::vector<std::string_view> lines = lines_of(bytes);
    if (lines.empty() || lines[0] != "%2.00%") {
        return refusal("The text is not a Cavio submission: it does not start with \"%2.00%\".");
    }
    report_document document;
    adapter_report* adapter = nullptr;
    report_group* group = nullptr;
    report_page* page = nullptr;
    const auto at_line = [](size_t index) { return " (line " + std::to_string(index + 1) + ")"; };
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line == "|card|") {
            adapter = &document.adapters.emplace_back();
            adapter->groups.resize(group_count);
            for (int g = 0; g < group_count; ++g) {
                adapter->groups[static_cast<size_t>(g)].id = static_cast<page_group>(g);
            }
            group = nullptr;
            page = nullptr;
            continue;
        }
        if (adapter == nullptr) {
            return refusal("The text is not a Cavio submission: \"|card|\" does not follow its header" +
                           at_line(i) + ".");
        }
        if (line == "@directx@" || line == "@opengl@") {
            const page_group id = line == "@directx@" ? page_group::directx : page_group::opengl;
            group = &adapter->group(id);
            if (group->read || (id == page_group::directx && adapter->group(page_group::opengl).read)) {
                return refusal("The submission repeats or misplaces \"" + std::string(line) + "\"" +
                               at_line(i) + ".");
            }
            group->read = true;
            page = nullptr;
            continue;
        }
        // An empty line before a marker starts a page; any other is a blank row.
        if (line.empty() && i + 1 < lines.size() && is_marker(lines[i + 1])) {
            continue;
        }
        if (is_marker(line)) {
            const std::string_view marker = line.substr(1, line.size() - 2);
            const std::optional<page_id> named = page_by_marker(marker);
            const page_info* info =
                group != nullptr && named && page_of(*named).group == group->id ? &page_of(*named) : nullptr;
            if (info == nullptr) {
                return refusal("The submission holds a page it cannot have here: \"" + std::string(marker) +
                               "\"" + at_line(i) + ".");
            }
            if (group->page(info->id) != nullptr) {
                return refusal("The submission holds the page \"" + std::string(marker) + "\" twice" +
                               at_line(i) + ".");
            }
            page = &group->pages.emplace_back(report_page{info->id, {}, {}});
            continue;
        }
        if (page == nullptr) {
            return refusal("The submission holds a row outside any page" + at_line(i) + ".");
        }
        report_row& row = page->rows.emplace_back();
        if (line.empty()) {
            row.kind = row_kind::blank;
            continue;
        }
        // A value that held a line break in an old viewer leaves a line
        // without a tab: the whole line is the name.
        const size_t tab = line.find('\t');
        row.name = utf8_of_windows_1252(line.substr(0, tab));
        row.value =
            tab == std::string_view::npos ? std::string() : utf8_of_windows_1252(line.substr(tab + 1));
        row.kind = kind_of(row.name, row.value);
    }
    if (document.adapters.empty()) {
        return refusal("The text is not a Cavio submission: it holds no \"|card|\".");
    }
    for (adapter_report& each : document.adapters) {
        if (!each.group(page_group::directx).read) {
            return refusal("The submission holds an adapter without \"@directx@\".");
        }
        for (report_group& read : each.groups) {
            std::stable_sort(read.pages.begin(), read.pages.end(),
                             [](const report_page& a, const report_page& b) { return a.id < b.id; });
        }
        const report_page* summary = each.group(page_group::directx).page(page_id::dx_summary);
        if (summary != nullptr && !summary->rows.empty() && summary->rows[0].name == "Device") {
            each.description = summary->rows[0].value;
        }
    }
    show_legacy_ids_in_hex(document);
    return document;
}
