// The saved report written: straight to text where it is UTF-8, through
// nlohmann's tree where not, and one page on one line for the site's store.
#include <nlohmann/json.hpp>

#include "report/json_format.h"
#include "report/report_json.h"

namespace {

using json = nlohmann::ordered_json;

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
    if (!document.platform.os.empty()) {
        document_json["platform"] = {{"os", document.platform.os},
                                     {"version", document.platform.version},
                                     {"kernel", document.platform.kernel}};
    }
    document_json["adapters"] = std::move(adapters);
    document_json["vulkan_devices"] = std::move(devices);
    document_json["problems"] = std::move(problems);
    document_json["reasons"] = std::move(reasons);
    // Text that is not UTF-8 would make dump() raise; the replacement character
    // stands in for what cannot be read.
    return document_json.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

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
    bool all = valid(program) && valid(version) && valid(document.platform.os) &&
               valid(document.platform.version) && valid(document.platform.kernel);
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
    // The system the report was read on; none in reports made before it was
    // written (Windows ones).
    if (!document.platform.os.empty()) {
        json.key("platform");
        json.begin('{');
        json.field("os", document.platform.os);
        json.field("version", document.platform.version);
        json.field("kernel", document.platform.kernel);
        json.end('}');
    }
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

std::string page_json_text(const report_page& page) {
    return page_json(page).dump(-1, ' ', false, json::error_handler_t::replace);
}
