#include "report/report_json.h"

#include <nlohmann/json.hpp>

namespace {

using json = nlohmann::ordered_json;

json page_json(const report_page& page) {
    json rows = json::array();
    for (const report_row& row : page.rows) {
        json entry = {{"name", row.name}, {"value", row.value}, {"description", row.description}};
        if (row.kind == row_kind::section) {
            entry["section"] = true;
        }
        rows.push_back(std::move(entry));
    }
    return {{"marker", page.info().marker}, {"caption", page.info().caption}, {"rows", std::move(rows)}};
}

json group_json(const report_group& group) {
    json list = json::array();
    for (const report_page& page : group.pages) {
        list.push_back(page_json(page));
    }
    return list;
}

}  // namespace

std::string report_json(const report_document& document, const std::string& program,
                        const std::string& version) {
    json adapters = json::array();
    for (size_t i = 0; i < document.adapters.size(); ++i) {
        const adapter_report& adapter = document.adapters[i];
        adapters.push_back({{"index", i},
                            {"description", adapter.description},
                            {"directx", group_json(adapter.group(page_group::directx))},
                            {"opengl", group_json(adapter.group(page_group::opengl))},
                            {"vulkan", group_json(adapter.group(page_group::vulkan))}});
    }
    const json document_json = {
        {"program", program}, {"version", version}, {"adapters", std::move(adapters)}};
    // Text that is not UTF-8 would make dump() raise; the replacement character
    // stands in for what cannot be read.
    return document_json.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}
