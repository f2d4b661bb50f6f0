#include "report/report_json.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <system_error>

namespace {

using json = nlohmann::ordered_json;

constexpr std::array<const char*, 6> kind_names = {"text",   "section", "blank",
                                                   "yes_no", "number",  "not_available"};
static_assert(static_cast<size_t>(row_kind::not_available) + 1 == kind_names.size());

constexpr std::array<const char*, group_count> group_keys = {"directx", "opengl", "vulkan"};

// Objects are built key by key and moved into place: nlohmann copies what an
// initializer list holds, which made writing a large report several times
// slower.
json page_json(const report_page& page) {
    json rows = json::array();
    rows.get_ref<json::array_t&>().reserve(page.rows.size());
    for (const report_row& row : page.rows) {
        json& entry = rows.emplace_back(json::object());
        entry["name"] = row.name;
        entry["value"] = row.value;
        entry["description"] = row.description;
        entry["kind"] = kind_names[static_cast<size_t>(row.kind)];
        if (row.kind == row_kind::section) {
            entry["section"] = true;
        }
        if (row.wire_value) {
            entry["wire"] = *row.wire_value;
        }
    }
    json entry = json::object();
    entry["marker"] = page.info().marker;
    entry["caption"] = page.info().caption;
    entry["rows"] = std::move(rows);
    if (page.written_order) {
        entry["written_order"] = *page.written_order;
    }
    return entry;
}

json group_json(const report_group& group) {
    json list = json::array();
    for (const report_page& page : group.pages) {
        list.push_back(page_json(page));
    }
    return list;
}

// Read into the map-based document, which builds faster than the ordered
// one the writer keeps its key order with.
using read_json = nlohmann::json;

// The reading of a saved report: each check raises the failure of a
// refusal that says where in the document it failed; read_report_json is
// the edge where it becomes a reason.
[[noreturn]] void refuse(const std::string& what) {
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
        refuse(where.text() + " has no \"" + key + "\"");
    }
    return *found;
}

read_json& typed(read_json& object, const char* key, read_json::value_t type, const char* type_name,
                 const place& where) {
    read_json& value = field(object, key, where);
    const bool unsigned_wanted = type == read_json::value_t::number_unsigned;
    if (value.type() != type && !(unsigned_wanted && value.is_number_unsigned())) {
        refuse(where.text() + "." + key + " is not " + type_name);
    }
    return value;
}

// The string, moved out of the parsed document.
std::string text_of(read_json& object, const char* key, const place& where) {
    return std::move(
        typed(object, key, read_json::value_t::string, "a string", where).get_ref<std::string&>());
}

read_json& array_of(read_json& object, const char* key, const place& where) {
    return typed(object, key, read_json::value_t::array, "an array", where);
}

void expect_object(read_json& value, const place& where) {
    if (!value.is_object()) {
        refuse(where.text() + " is not an object");
    }
}

report_row read_row(read_json& entry, const place& where) {
    expect_object(entry, where);
    report_row row;
    const std::string kind = text_of(entry, "kind", where);
    const auto known = std::find(kind_names.begin(), kind_names.end(), kind);
    if (known == kind_names.end()) {
        refuse(where.text() + ".kind \"" + kind + "\" is no kind of row");
    }
    row.kind = static_cast<row_kind>(known - kind_names.begin());
    row.name = text_of(entry, "name", where);
    row.value = text_of(entry, "value", where);
    row.description = text_of(entry, "description", where);
    if (entry.contains("wire")) {
        row.wire_value = text_of(entry, "wire", where);
    }
    return row;
}

report_page read_page(read_json& entry, page_group group, const place& where) {
    expect_object(entry, where);
    const std::string marker = text_of(entry, "marker", where);
    text_of(entry, "caption", where);
    const auto pages = pages_of(group);
    const auto info = std::find_if(pages.begin(), pages.end(),
                                   [&marker](const page_info& page) { return marker == page.marker; });
    if (info == pages.end()) {
        refuse(where.text() + ".marker \"" + marker + "\" is no page of its group");
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
                refuse(where.text() + ".written_order holds " + index.dump() +
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
            refuse(where.text() + "." + key + " holds the page \"" + page.info().marker + "\" twice");
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
        refuse("its \"format\" is not a number");
    }
    if (format.get<int64_t>() != report_format) {
        refuse("it is a report of format " + format.dump() + "; this Cavio reads format " +
               std::to_string(report_format));
    }
    report_document document;
    read_json& adapters = array_of(root, "adapters", document_place);
    for (size_t i = 0; i < adapters.size(); ++i) {
        const place where{nullptr, "adapters", i};
        read_json& entry = adapters[i];
        expect_object(entry, where);
        adapter_report& adapter = document.adapters.emplace_back();
        adapter.description = text_of(entry, "description", where);
        for (int g = 0; g < group_count; ++g) {
            adapter.groups.push_back(read_group(entry, static_cast<page_group>(g), where));
        }
        for (const read_json& name : array_of(entry, "read", where)) {
            const auto known = std::find(group_keys.begin(), group_keys.end(),
                                         name.is_string() ? name.get<std::string>() : std::string());
            if (known == group_keys.end()) {
                refuse(where.text() + ".read holds " + name.dump() + ", which is no group");
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
            device.name = text_of(devices[i], "name", where);
            device.group = read_group(devices[i], page_group::vulkan, where);
            device.group.read = true;
        }
    }
    // Each problem as a whole text, and where the file has them (those of
    // this version on), as the reasons they were.
    std::vector<std::string> texts;
    for (read_json& problem : array_of(root, "problems", document_place)) {
        if (!problem.is_string()) {
            refuse("\"problems\" holds " + problem.dump() + ", which is not a string");
        }
        texts.push_back(std::move(problem.get_ref<std::string&>()));
    }
    if (root.contains("reasons")) {
        read_json& reasons = array_of(root, "reasons", document_place);
        if (reasons.size() != texts.size()) {
            refuse("its \"reasons\" are not its \"problems\"");
        }
        for (size_t i = 0; i < reasons.size(); ++i) {
            const place where{nullptr, "reasons", i};
            read_json& entry = reasons[i];
            expect_object(entry, where);
            reason& why = document.problems.emplace_back();
            why.part = text_of(entry, "part", where);
            const read_json& adapter = field(entry, "adapter", where);
            if (!adapter.is_number_integer() || adapter.get<int64_t>() < -1 ||
                adapter.get<int64_t>() >= static_cast<int64_t>(document.adapters.size())) {
                refuse(where.text() + ".adapter is no adapter of the report");
            }
            why.adapter = adapter.get<int>();
            why.call = text_of(entry, "call", where);
            why.sentence = text_of(entry, "sentence", where);
            why.status = text_of(entry, "status", where);
            if (why.text() != texts[i]) {
                refuse(where.text() + " is not \"problems\"[" + std::to_string(i) + "]");
            }
        }
    } else {
        for (std::string& text : texts) {
            document.problems.push_back(reason{{}, -1, {}, std::move(text), {}});
        }
    }
    return document;
}

// The byte offset of the first byte that starts no valid UTF-8 sequence, or
// npos.
size_t first_invalid_utf8(const std::string& text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (size_t i = 0; i < text.size();) {
        // Most text is ASCII: eight bytes at a time while no high bit is set.
        uint64_t eight = 0;
        if (i + 8 <= text.size() && (std::memcpy(&eight, bytes + i, 8), (eight & 0x8080808080808080u) == 0)) {
            i += 8;
            continue;
        }
        const unsigned char lead = bytes[i];
        size_t length = lead < 0x80           ? 1
                        : (lead >> 5) == 0x6  ? 2
                        : (lead >> 4) == 0xE  ? 3
                        : (lead >> 3) == 0x1E ? 4
                                              : 0;
        if (length == 0 || (length == 2 && lead < 0xC2) || i + length > text.size()) {
            return i;
        }
        uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80) {
                return i;
            }
            code = code << 6 | (bytes[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode.
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF)) {
            return i;
        }
        i += length;
    }
    return std::string::npos;
}

// The deepest nesting of arrays and objects outside strings.
size_t nesting_depth(const std::string& text) {
    size_t depth = 0;
    size_t deepest = 0;
    bool in_string = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (in_string) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                in_string = false;
            }
        } else if (c == '"') {
            in_string = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return deepest;
}

// A saved report nests seven deep: document, adapters, adapter, group, page,
// rows, row.
constexpr size_t deepest_nesting = 16;

}  // namespace

namespace {

// The document's JSON tree, dumped: for text that is not UTF-8.
std::string report_json_through_dom(const report_document& document, const std::string& program,
                                    const std::string& version) {
    json adapters = json::array();
    for (size_t i = 0; i < document.adapters.size(); ++i) {
        const adapter_report& adapter = document.adapters[i];
        json read = json::array();
        for (const report_group& group : adapter.groups) {
            if (group.read) {
                read.push_back(group_keys[static_cast<size_t>(group.id)]);
            }
        }
        json& entry = adapters.emplace_back(json::object());
        entry["index"] = i;
        entry["description"] = adapter.description;
        entry["read"] = std::move(read);
        entry["directx"] = group_json(adapter.group(page_group::directx));
        entry["opengl"] = group_json(adapter.group(page_group::opengl));
        entry["vulkan"] = group_json(adapter.group(page_group::vulkan));
    }
    // The problems as texts, which every reader of format 1 takes, and as
    // the reasons they are.
    json problems = json::array();
    json reasons = json::array();
    for (const reason& why : document.problems) {
        problems.push_back(why.text());
        reasons.push_back({{"part", why.part},
                           {"adapter", why.adapter},
                           {"call", why.call},
                           {"sentence", why.sentence},
                           {"status", why.status}});
    }
    json devices = json::array();
    for (const vk_device_report& device : document.vulkan_devices) {
        json& entry = devices.emplace_back(json::object());
        entry["name"] = device.name;
        entry["vulkan"] = group_json(device.group);
    }
    json document_json = json::object();
    document_json["format"] = report_format;
    document_json["program"] = program;
    document_json["version"] = version;
    document_json["adapters"] = std::move(adapters);
    document_json["vulkan_devices"] = std::move(devices);
    document_json["problems"] = std::move(problems);
    document_json["reasons"] = std::move(reasons);
    // Text that is not UTF-8 would make dump() raise; the replacement character
    // stands in for what cannot be read.
    return document_json.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace

namespace {

// The text nlohmann's dump(2) makes of the document, written straight from
// it: building the document's JSON tree first took most of the time of
// saving a large report. Strings are UTF-8 here; one that is not goes the
// tree's way, which replaces what cannot be read.
class pretty_writer {
public:
    std::string out;

    void begin(char open) {
        out += open;
        ++depth_;
        first_ = true;
    }
    void end(char close) {
        --depth_;
        if (!first_) {
            new_line();
        }
        out += close;
        first_ = false;
    }
    // The next element of an array.
    void item() {
        if (!first_) {
            out += ',';
        }
        new_line();
        first_ = false;
    }
    void key(std::string_view name) {
        item();
        text(name);
        out += ": ";
    }
    void text(std::string_view value) {
        out += '"';
        size_t plain = 0;  // the start of the run of bytes that need no escape
        for (size_t i = 0; i < value.size(); ++i) {
            const auto c = static_cast<unsigned char>(value[i]);
            if (c >= 0x20 && c != '"' && c != '\\') {
                continue;
            }
            out.append(value.substr(plain, i - plain));
            plain = i + 1;
            switch (c) {
                case '"':
                    out += "\\\"";
                    break;
                case '\\':
                    out += "\\\\";
                    break;
                case '\b':
                    out += "\\b";
                    break;
                case '\f':
                    out += "\\f";
                    break;
                case '\n':
                    out += "\\n";
                    break;
                case '\r':
                    out += "\\r";
                    break;
                case '\t':
                    out += "\\t";
                    break;
                default: {
                    static const char hex[] = "0123456789abcdef";
                    out += "\\u00";
                    out += hex[c >> 4];
                    out += hex[c & 0x0F];
                }
            }
        }
        out.append(value.substr(plain));
        out += '"';
    }
    void field(std::string_view name, std::string_view value) {
        key(name);
        text(value);
    }
    void field(std::string_view name, int64_t value) {
        key(name);
        out += std::to_string(value);
    }

private:
    void new_line() {
        out += '\n';
        out.append(static_cast<size_t>(depth_) * 2, ' ');
    }

    int depth_ = 0;
    bool first_ = true;
};

void write_page(pretty_writer& json, const report_page& page) {
    json.begin('{');
    json.field("marker", page.info().marker);
    json.field("caption", page.info().caption);
    json.key("rows");
    json.begin('[');
    for (const report_row& row : page.rows) {
        json.item();
        json.begin('{');
        json.field("name", row.name);
        json.field("value", row.value);
        json.field("description", row.description);
        json.field("kind", kind_names[static_cast<size_t>(row.kind)]);
        if (row.kind == row_kind::section) {
            json.key("section");
            json.out += "true";
        }
        if (row.wire_value) {
            json.field("wire", *row.wire_value);
        }
        json.end('}');
    }
    json.end(']');
    if (page.written_order) {
        json.key("written_order");
        json.begin('[');
        for (const uint32_t index : *page.written_order) {
            json.item();
            json.out += std::to_string(index);
        }
        json.end(']');
    }
    json.end('}');
}

// A group's pages under its key: "vulkan": [...].
void write_group(pretty_writer& json, page_group id, const report_group& group) {
    json.key(group_keys[static_cast<size_t>(id)]);
    json.begin('[');
    for (const report_page& page : group.pages) {
        json.item();
        write_page(json, page);
    }
    json.end(']');
}

bool valid(const std::string& text) {
    return first_invalid_utf8(text) == std::string::npos;
}

bool all_utf8(const report_group& group) {
    bool all = true;
    for (const report_page& page : group.pages) {
        for (const report_row& row : page.rows) {
            all = all && valid(row.name) && valid(row.value) && valid(row.description) &&
                  (!row.wire_value || valid(*row.wire_value));
        }
    }
    return all;
}

bool all_utf8(const report_document& document, const std::string& program, const std::string& version) {
    bool all = valid(program) && valid(version);
    for (const adapter_report& adapter : document.adapters) {
        all = all && valid(adapter.description);
        for (const report_group& group : adapter.groups) {
            all = all && all_utf8(group);
        }
    }
    for (const vk_device_report& device : document.vulkan_devices) {
        all = all && valid(device.name) && all_utf8(device.group);
    }
    for (const reason& why : document.problems) {
        all = all && valid(why.part) && valid(why.call) && valid(why.sentence) && valid(why.status);
    }
    return all;
}

}  // namespace

std::string report_json(const report_document& document, const std::string& program,
                        const std::string& version) {
    if (!all_utf8(document, program, version)) {
        return report_json_through_dom(document, program, version);
    }
    pretty_writer json;
    json.out.reserve(1 << 20);
    json.begin('{');
    json.field("format", report_format);
    json.field("program", program);
    json.field("version", version);
    json.key("adapters");
    json.begin('[');
    for (size_t i = 0; i < document.adapters.size(); ++i) {
        const adapter_report& adapter = document.adapters[i];
        json.item();
        json.begin('{');
        json.field("index", static_cast<int64_t>(i));
        json.field("description", adapter.description);
        json.key("read");
        json.begin('[');
        for (const report_group& group : adapter.groups) {
            if (group.read) {
                json.item();
                json.text(group_keys[static_cast<size_t>(group.id)]);
            }
        }
        json.end(']');
        for (const page_group id : {page_group::directx, page_group::opengl, page_group::vulkan}) {
            write_group(json, id, adapter.group(id));
        }
        json.end('}');
    }
    json.end(']');
    json.key("vulkan_devices");
    json.begin('[');
    for (const vk_device_report& device : document.vulkan_devices) {
        json.item();
        json.begin('{');
        json.field("name", device.name);
        write_group(json, page_group::vulkan, device.group);
        json.end('}');
    }
    json.end(']');
    json.key("problems");
    json.begin('[');
    for (const reason& why : document.problems) {
        json.item();
        json.text(why.text());
    }
    json.end(']');
    json.key("reasons");
    json.begin('[');
    for (const reason& why : document.problems) {
        json.item();
        json.begin('{');
        json.field("part", why.part);
        json.field("adapter", why.adapter);
        json.field("call", why.call);
        json.field("sentence", why.sentence);
        json.field("status", why.status);
        json.end('}');
    }
    json.end(']');
    json.end('}');
    json.out += '\n';
    return std::move(json.out);
}

namespace {

// A saved report refused: the sentence names the file.
reason refused(const std::string& name, const std::string& sentence) {
    return {name, -1, {}, sentence, {}};
}

}  // namespace

result<report_document> read_report_json(const std::string& text, const std::string& name) {
    if (text.size() > largest_report_file) {
        return refused(name, name + " is larger than 64 MiB.");
    }
    if (const size_t bad = first_invalid_utf8(text); bad != std::string::npos) {
        return refused(name, name + " is not UTF-8 text (byte " + std::to_string(bad + 1) + ").");
    }
    if (nesting_depth(text) > deepest_nesting) {
        return refused(name, name + " is not a Cavio report: it nests deeper than a report does.");
    }
    read_json root;
    try {
        root = read_json::parse(text);
    } catch (const read_json::parse_error& error) {
        // The byte the parser stopped at, as a line and a column.
        const size_t at = std::min<size_t>(error.byte > 0 ? error.byte - 1 : 0, text.size());
        const size_t line = 1 + static_cast<size_t>(std::count(text.begin(), text.begin() + at, '\n'));
        const size_t line_start = text.rfind('\n', at == 0 ? 0 : at - 1);
        const size_t column = at - (line_start == std::string::npos || at == 0 ? 0 : line_start + 1) + 1;
        // nlohmann's text: "[json.exception.parse_error.101] parse error at
        // line 1, column 5: syntax error while parsing value - ...".
        std::string what = error.what();
        const size_t column_at = what.find("column ");
        const size_t told = column_at == std::string::npos ? std::string::npos : what.find(": ", column_at);
        what = told == std::string::npos ? what : what.substr(told + 2);
        return refused(name, name + " is not valid JSON: line " + std::to_string(line) + ", column " +
                                 std::to_string(column) + ": " + what);
    }
    try {
        return read_document(root);
    } catch (const failure& wrong) {
        return refused(name, name + " is not a Cavio report: " + wrong.why().sentence + ".");
    } catch (const read_json::exception& wrong) {
        return refused(name, name + " is not a Cavio report: " + wrong.what());
    }
}

std::string page_json_text(const report_page& page) {
    return page_json(page).dump(-1, ' ', false, json::error_handler_t::replace);
}

result<report_page> read_page_json(const std::string& text, page_group group) {
    try {
        read_json entry = read_json::parse(text);
        return read_page(entry, group, place{nullptr, "the page"});
    } catch (const failure& wrong) {
        return reason{"page", -1, {}, wrong.why().sentence, {}};
    } catch (const read_json::exception& wrong) {
        return reason{"page", -1, {}, wrong.what(), {}};
    }
}

std::string report_file_name(const std::string& path) {
    const std::u8string name =
        std::filesystem::path(std::u8string(path.begin(), path.end())).filename().u8string();
    return {name.begin(), name.end()};
}

result<report_document> read_report_file(const std::string& path) {
    const std::filesystem::path file(std::u8string(path.begin(), path.end()));
    const std::string name = report_file_name(path);
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(file, error);
    if (error) {
        return refused(name, name + " cannot be read: " + error.message() + ".");
    }
    if (size > largest_report_file) {
        return refused(name, name + " is larger than 64 MiB.");
    }
    std::ifstream in(file, std::ios::binary);
    std::string text(static_cast<size_t>(size), '\0');
    if (!in.read(text.data(), static_cast<std::streamsize>(size))) {
        return refused(name, name + " cannot be read.");
    }
    return read_report_json(text, name);
}
