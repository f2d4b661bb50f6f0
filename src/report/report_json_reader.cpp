// The saved report read strictly: each check raises a refusal that says
// where in the document it failed, and the edge turns it into the reason.
#include <algorithm>
#include <nlohmann/json.hpp>

#include "report/json_format.h"
#include "report/report_json.h"

namespace {

// Read into the map-based document, which builds faster than the ordered
// one the writer keeps its key order with.
using read_json = nlohmann::json;

// The reading of a saved report: each check raises the failure of a
// refusal that says where in the document it failed; read_report_json is
// the edge where it becomes a reason.
[[noreturn]] void reject(const std::string& what) {
    throw failure(reason{{}, -1, {}, what, {}});
}

// Where a value lies in the document, spelt out only for a refusal:
// "adapters[0].directx[2].rows[5]".
struct place {
    const place* parent;
    const char* key;
    size_t index = std::string::npos;

    std::string text() const {
        std::string spelt = parent != nullptr ? parent->text() + "." + key : key;
        return index == std::string::npos ? spelt : spelt + "[" + std::to_string(index) + "]";
    }
};

read_json& field(read_json& object, const char* key, const place& where) {
    const auto found = object.find(key);
    if (found == object.end()) {
        reject(where.text() + " has no \"" + key + "\"");
    }
    return *found;
}

read_json& typed(read_json& object, const char* key, read_json::value_t type, const char* type_name,
                 const place& where) {
    read_json& value = field(object, key, where);
    const bool unsigned_wanted = type == read_json::value_t::number_unsigned;
    if (value.type() != type && !(unsigned_wanted && value.is_number_unsigned())) {
        reject(where.text() + "." + key + " is not " + type_name);
    }
    return value;
}

// The string, moved out of the parsed document.
std::string string_field(read_json& object, const char* key, const place& where) {
    return std::move(
        typed(object, key, read_json::value_t::string, "a string", where).get_ref<std::string&>());
}

read_json& array_of(read_json& object, const char* key, const place& where) {
    return typed(object, key, read_json::value_t::array, "an array", where);
}

void expect_object(read_json& value, const place& where) {
    if (!value.is_object()) {
        reject(where.text() + " is not an object");
    }
}

report_row read_row(read_json& entry, const place& where) {
    expect_object(entry, where);
    report_row row;
    const std::string kind = string_field(entry, "kind", where);
    const auto known = std::find(kind_names.begin(), kind_names.end(), kind);
    if (known == kind_names.end()) {
        reject(where.text() + ".kind \"" + kind + "\" is no kind of row");
    }
    row.kind = static_cast<row_kind>(known - kind_names.begin());
    row.name = string_field(entry, "name", where);
    row.value = string_field(entry, "value", where);
    row.description = string_field(entry, "description", where);
    if (entry.contains("wire")) {
        row.wire_value = string_field(entry, "wire", where);
    }
    return row;
}

report_page read_page(read_json& entry, page_group group, const place& where) {
    expect_object(entry, where);
    const std::string marker = string_field(entry, "marker", where);
    string_field(entry, "caption", where);
    const auto pages = pages_of(group);
    const auto info = std::find_if(pages.begin(), pages.end(),
                                   [&marker](const page_info& page) { return marker == page.marker; });
    if (info == pages.end()) {
        reject(where.text() + ".marker \"" + marker + "\" is no page of its group");
    }
    report_page page{info->id, {}, {}};
    read_json& rows = array_of(entry, "rows", where);
    page.rows.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        page.rows.push_back(read_row(rows[i], place{&where, "rows", i}));
    }
    if (entry.contains("written_order")) {
        read_json& order = array_of(entry, "written_order", where);
        std::vector<uint32_t> written;
        for (const read_json& index : order) {
            if (!index.is_number_unsigned() || index.get<uint64_t>() >= page.rows.size()) {
                reject(where.text() + ".written_order holds " + index.dump() +
                       ", which is no row of the page");
            }
            written.push_back(index.get<uint32_t>());
        }
        page.written_order = std::move(written);
    }
    return page;
}

report_group read_group(read_json& adapter, page_group id, const place& where) {
    const char* key = group_keys[static_cast<size_t>(id)];
    report_group group{id, false, {}};
    read_json& pages = array_of(adapter, key, where);
    for (size_t i = 0; i < pages.size(); ++i) {
        report_page page = read_page(pages[i], id, place{&where, key, i});
        if (group.page(page.id) != nullptr) {
            reject(where.text() + "." + key + " holds the page \"" + page.info().marker + "\" twice");
        }
        group.pages.push_back(std::move(page));
    }
    // Tab order, whatever order the file lists them in.
    std::sort(group.pages.begin(), group.pages.end(),
              [](const report_page& a, const report_page& b) { return a.id < b.id; });
    return group;
}

report_document read_document(read_json& root) {
    const place document_place{nullptr, "the document"};
    expect_object(root, document_place);
    read_json& format = field(root, "format", document_place);
    if (!format.is_number_integer()) {
        reject("its \"format\" is not a number");
    }
    if (format.get<int64_t>() != report_format) {
        reject("it is a report of format " + format.dump() + "; this Cavio reads format " +
               std::to_string(report_format));
    }
    report_document document;
    // The system it was read on, where the report says it (older ones do
    // not: they are Windows').
    if (root.contains("platform")) {
        read_json& platform = field(root, "platform", document_place);
        const place where{nullptr, "platform"};
        expect_object(platform, where);
        document.platform.os = string_field(platform, "os", where);
        document.platform.version = string_field(platform, "version", where);
        document.platform.kernel = string_field(platform, "kernel", where);
    }
    read_json& adapters = array_of(root, "adapters", document_place);
    for (size_t i = 0; i < adapters.size(); ++i) {
        const place where{nullptr, "adapters", i};
        read_json& entry = adapters[i];
        expect_object(entry, where);
        adapter_report& adapter = document.adapters.emplace_back();
        adapter.description = string_field(entry, "description", where);
        for (int g = 0; g < group_count; ++g) {
            adapter.groups.push_back(read_group(entry, static_cast<page_group>(g), where));
        }
        for (const read_json& name : array_of(entry, "read", where)) {
            const auto known = std::find(group_keys.begin(), group_keys.end(),
                                         name.is_string() ? name.get<std::string>() : std::string());
            if (known == group_keys.end()) {
                reject(where.text() + ".read holds " + name.dump() + ", which is no group");
            }
            adapter.groups[static_cast<size_t>(known - group_keys.begin())].read = true;
        }
    }
    // Every Vulkan device, where the file has them (those of this version on).
    if (root.contains("vulkan_devices")) {
        read_json& devices = array_of(root, "vulkan_devices", document_place);
        for (size_t i = 0; i < devices.size(); ++i) {
            const place where{nullptr, "vulkan_devices", i};
            expect_object(devices[i], where);
            vk_device_report& device = document.vulkan_devices.emplace_back();
            device.name = string_field(devices[i], "name", where);
            device.group = read_group(devices[i], page_group::vulkan, where);
            device.group.read = true;
        }
    }
    // Each problem as a whole text, and where the file has them (those of
    // this version on), as the reasons they were.
    std::vector<std::string> texts;
    for (read_json& problem : array_of(root, "problems", document_place)) {
        if (!problem.is_string()) {
            reject("\"problems\" holds " + problem.dump() + ", which is not a string");
        }
        texts.push_back(std::move(problem.get_ref<std::string&>()));
    }
    if (root.contains("reasons")) {
        read_json& reasons = array_of(root, "reasons", document_place);
        if (reasons.size() != texts.size()) {
            reject("its \"reasons\" are not its \"problems\"");
        }
        for (size_t i = 0; i < reasons.size(); ++i) {
            const place where{nullptr, "reasons", i};
            read_json& entry = reasons[i];
            expect_object(entry, where);
            reason& why = document.problems.emplace_back();
            why.part = string_field(entry, "part", where);
            const read_json& adapter = field(entry, "adapter", where);
            if (!adapter.is_number_integer() || adapter.get<int64_t>() < -1 ||
                adapter.get<int64_t>() >= static_cast<int64_t>(document.adapters.size())) {
                reject(where.text() + ".adapter is no adapter of the report");
            }
            why.adapter = adapter.get<int>();
            why.call = string_field(entry, "call", where);
            why.sentence = string_field(entry, "sentence", where);
            why.status = string_field(entry, "status", where);
            if (why.text() != texts[i]) {
                reject(where.text() + " is not \"problems\"[" + std::to_string(i) + "]");
            }
        }
    } else {
        for (std::string& text : texts) {
            document.problems.push_back(reason{{}, -1, {}, std::move(text), {}});
        }
    }
    return document;
}

}  // namespace

result<report_document> read_report_json(const std::string& text, const std::string& name) {
    if (text.size() > largest_report_file) {
        return refusal(name, name + " is larger than 64 MiB.");
    }
    if (const size_t bad = first_invalid_utf8(text); bad != std::string::npos) {
        return refusal(name, name + " is not UTF-8 text (byte " + std::to_string(bad + 1) + ").");
    }
    if (nesting_depth(text) > deepest_nesting) {
        return refusal(name, name + " is not a Cavio report: it nests deeper than a report does.");
    }
    read_json root;
    try {
        root = read_json::parse(text);
    } catch (const read_json::parse_error& error) {
        // The byte the parser stopped at, as a line and a column; what the
        // parser makes of it is its own business.
        const size_t at = std::min<size_t>(error.byte > 0 ? error.byte - 1 : 0, text.size());
        const size_t line = 1 + static_cast<size_t>(std::count(text.begin(), text.begin() + at, '\n'));
        const size_t line_start = text.rfind('\n', at == 0 ? 0 : at - 1);
        const size_t column = at - (line_start == std::string::npos || at == 0 ? 0 : line_start + 1) + 1;
        const bool ended = error.byte > text.size();
        return refusal(name, name + " is not JSON: " +
                                 (ended ? std::string("it ends too soon, at line ")
                                        : std::string("it goes wrong at line ")) +
                                 std::to_string(line) + ", column " + std::to_string(column) + ".");
    }
    try {
        return read_document(root);
    } catch (const failure& wrong) {
        return refusal(name, name + " is not a Cavio report: " + wrong.why().sentence + ".");
    } catch (const read_json::exception&) {
        return refusal(name,
                       name + " is not a Cavio report: a value is not of the kind a report holds there.");
    }
}

result<report_page> read_page_json(const std::string& text, page_group group) {
    try {
        read_json entry = read_json::parse(text);
        return read_page(entry, group, place{nullptr, "the page"});
    } catch (const failure& wrong) {
        return reason{"page", -1, {}, wrong.why().sentence, {}};
    } catch (const read_json::parse_error&) {
        return reason{"page", -1, {}, "the page is not JSON", {}};
    } catch (const read_json::exception&) {
        return reason{"page", -1, {}, "a value is not of the kind a page holds there", {}};
    }
}
