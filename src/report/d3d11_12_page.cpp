// The Direct3D 11/12 page: feature levels, the shader model, and one row per
// field of the feature structures that Direct3D 11 and 12 answered.
#include <iterator>
#include <string>

#include "probe/records.h"
#include "report/page_writer.h"
#include "report/page_writers.h"
#include "report/value_format.h"

namespace {

using enum d3d_field_kind;

std::string decimal_parts(uint32_t value, uint32_t unit) {
    return std::to_string(value / unit) + "." + std::to_string(value % unit * 10 / unit);
}

struct shown_value {
    row_kind kind;
    std::string text;
};

shown_value field_value(d3d_field_kind kind, uint32_t value) {
    switch (kind) {
        case yes_no:
            return {row_kind::yes_no, value != 0 ? "yes" : "no"};
        case number:
        case tier:
            return {row_kind::number, std::to_string(value)};
        case mask:
            return {row_kind::text, hex_id_text(value, 1)};
        case tier_tenths:
            return {row_kind::number, value == 0 ? "0" : decimal_parts(value, 10)};
        case tier_hundredths:
            return {row_kind::number, value == 0 ? "0" : decimal_parts(value, 100)};
        case root_signature:
            return {row_kind::number, value == 0 ? "0" : "1." + std::to_string(value - 1)};
        case min_precision:
            return {row_kind::text, flag_names(value, {{2, "16-bit"}, {1, "10-bit"}})};
        case command_lists:
            return {row_kind::text, flag_names(value, {{1, "direct"},
                                                       {2, "bundle"},
                                                       {4, "compute"},
                                                       {8, "copy"},
                                                       {16, "video decode"},
                                                       {32, "video process"},
                                                       {64, "video encode"}})};
        case cross_node_tier: {
            static const char* const tiers[] = {"0", "1 emulated", "1", "2", "3"};
            return {row_kind::number, value < std::size(tiers) ? tiers[value] : std::to_string(value)};
        }
        case tri_state:
            return value == 0xFFFFFFFF ? shown_value{row_kind::text, "unknown"}
                                       : shown_value{row_kind::yes_no, value != 0 ? "yes" : "no"};
        case shader_cache:
            return {row_kind::text, flag_names(value, {{0x1, "single pipeline state"},
                                                       {0x2, "library"},
                                                       {0x4, "automatic in-process"},
                                                       {0x8, "automatic on disk"},
                                                       {0x10, "driver managed"},
                                                       {0x20, "control clears"},
                                                       {0x40, "session delete"}})};
    }
    return {row_kind::number, std::to_string(value)};
}

// Every field of every structure of the runtime, in table order.
void add_fields(page_writer& page, const d3d11_12_record& record, d3d_runtime runtime) {
    for (const d3d_feature_query& query : d3d_feature_queries) {
        if (query.runtime != runtime) {
            continue;
        }
        const std::vector<uint32_t>& words = record.answer(query.id);
        for (const d3d_field& field : query.fields) {
            if (field.word < words.size()) {
                shown_value shown = field_value(field.kind, words[field.word]);
                page.row(shown.kind, field.name, std::move(shown.text), field.description);
            } else {
                page.not_available(field.name, field.description);
            }
        }
    }
}

// A feature level as "11_1", where one was read.
void add_feature_level(page_writer& page, const char* name, uint32_t level, const char* description) {
    if (level == 0) {
        page.not_available(name, description);
    } else {
        page.text(name, std::to_string(level >> 12) + "_" + std::to_string((level >> 8) & 0xF), description);
    }
}

}  // namespace

void directx_pages::direct3d11_12(page_writer& page, const dx_adapter& adapter) {
    const d3d11_12_record& record = adapter.d3d11_12;
    add_feature_level(page, "Direct3D 11 feature level", record.d3d11_feature_level,
                      "Highest feature level of a Direct3D 11 device on this adapter.");
    add_feature_level(page, "Direct3D 12 feature level", record.d3d12_feature_level,
                      "Highest feature level of a Direct3D 12 device on this adapter.");
    const uint32_t model = record.shader_model;
    const char* const model_description = "Newest shader model that Direct3D 12 runs on this adapter.";
    if (model == 0) {
        page.not_available("Highest shader model", model_description);
    } else {
        page.row(row_kind::number, "Highest shader model",
                 std::to_string(model >> 4) + "." + std::to_string(model & 0xF), model_description);
    }
    page.blank();
    page.section("[Direct3D 11]", "What a Direct3D 11 device on this adapter can do.");
    add_fields(page, record, d3d_runtime::d3d11);
    page.blank();
    page.section("[Direct3D 12]", "What a Direct3D 12 device on this adapter can do.");
    add_fields(page, record, d3d_runtime::d3d12);
}
