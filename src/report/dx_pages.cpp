// The DirectX pages of one adapter record.
#include <initializer_list>
#include <string>

#include "base/text.h"
#include "report/dx_tables.h"
#include "report/page_writers.h"
#include "report/report.h"

namespace {

// Writes number rows of D3DCAPS9 fields: whole numbers unsigned, floats
// with six decimals.
void add_numbers(report& page, const D3DCAPS9& caps, std::span<const number_row> rows) {
    for (const number_row& row : rows) {
        switch (row.kind) {
            case value_kind::dword32:
                page.add_int64_row(row.name, static_cast<int64_t>(caps.*row.dword_field), row.description);
                break;
            case value_kind::uint32:
                page.add_int64_row(row.name, static_cast<int64_t>(caps.*row.uint_field), row.description);
                break;
            case value_kind::float32:
                page.add_float_row(row.name, caps.*row.float_field, row.description);
                break;
        }
    }
}

// A section row, a flag row for each mask, and the closing blank row.
void add_group(report& page, const D3DCAPS9& caps, const flag_group& group) {
    page.add_row(group.section, "", group.description);
    const DWORD field = caps.*group.field;
    for (const flag_row& row : group.rows) {
        page.add_flag_row(row.name, field & row.mask, row.description);
    }
    page.add_blank_row();
}

void add_groups(report& page, const D3DCAPS9& caps, std::span<const flag_group> groups) {
    for (const flag_group& group : groups) {
        add_group(page, caps, group);
    }
}

// "none" where the low 16 bits hold no version.
void add_shader_summary(report& page, const char* name, DWORD version) {
    if ((version & 0xFFFF) != 0) {
        page.add_shader_version_row(name, version, "");
    } else {
        page.add_row(name, "none", "");
    }
}

// A capability page: blocks of number rows, each closed by a blank row, then
// the flag groups.
void fill_caps_page(report& page, const D3DCAPS9& caps,
                    std::initializer_list<std::span<const number_row>> number_blocks,
                    std::span<const flag_group> groups) {
    for (const auto rows : number_blocks) {
        add_numbers(page, caps, rows);
        page.add_blank_row();
    }
    add_groups(page, caps, groups);
}

template <typename Caps>
void add_shader_caps(report& page, const char* section, const char* section_description,
                     const char* caps_description, const Caps& shader,
                     std::span<const shader_caps_row<Caps>> rows) {
    page.add_row(section, "", section_description);
    page.add_int64_row("Caps", shader.Caps, caps_description);
    for (const auto& row : rows) {
        page.add_int_row(row.name, shader.*row.field, row.description);
    }
    page.add_blank_row();
}

// "1024 x  768"-style names, so that sizes of up to four digits sort in
// numeric order.
std::string resolution_name(const display_mode& mode) {
    std::string width;
    std::string height;
    pad_left(static_cast<int32_t>(mode.width), 4, width);
    pad_left(static_cast<int32_t>(mode.height), 4, height);
    return width + " x " + height;
}

std::string rate_list(const display_mode& mode) {
    std::string rates;
    for (const int32_t rate : mode.refresh_rates) {
        if (!rates.empty()) {
            rates += ", ";
        }
        rates += std::to_string(rate);
    }
    return rates;
}

}  // namespace

namespace directx_pages {

void summary(report& page, const dx_adapter& adapter) {
    const adapter_identity& info = adapter.info;
    page.add_row("Device", info.description, "");
    page.add_vendor_row("Vendor", info.vendor_id, "");
    page.add_device_row("GPU", info.vendor_id, info.device_id, "");
    page.add_blank_row();
    page.add_row("Driver", info.driver, "");
    page.add_driver_version_row("Driver version", info.driver_version, "");
    page.add_blank_row();
    add_shader_summary(page, "Pixel Shader", adapter.caps.PixelShaderVersion);
    add_shader_summary(page, "Vertex Shader", adapter.caps.VertexShaderVersion);
    page.add_blank_row();
    static const char* const heads[] = {"single", "dual", "tri", "quad"};
    const DWORD adapters_in_group = adapter.caps.NumberOfAdaptersInGroup;
    if (adapters_in_group >= 1 && adapters_in_group <= 4) {
        page.add_row("Head", heads[adapters_in_group - 1], "");
    } else if (adapters_in_group != 0) {
        page.add_int64_row("Head", adapters_in_group, "");
    }
}

void device(report& page, const dx_adapter& adapter) {
    const adapter_identity& info = adapter.info;
    page.add_row("Description", info.description, "");
    page.add_device_row("GPU", info.vendor_id, info.device_id, "");
    page.add_row("Device name", info.device_name, "");
    page.add_blank_row();
    page.add_row("Driver", info.driver, "");
    page.add_driver_version_row("Driver version", info.driver_version, "");
    page.add_vendor_row("Vendor", info.vendor_id, "");
    page.add_int64_row("Device ID", info.device_id, "");
    page.add_int64_row("Sub-system ID", info.subsys_id, "");
    page.add_int64_row("Revision", info.revision, "");
    page.add_guid_row("GUID", info.device_identifier, "");
    page.add_int64_row("WHQL level", info.whql_level, "");
    page.add_blank_row();
    add_numbers(page, adapter.caps, dx_rows::adapter_group);
    page.add_blank_row();
    add_group(page, adapter.caps, dx_rows::dev_caps);
    add_group(page, adapter.caps, dx_rows::dev_caps2);
}

void capabilities(report& page, const dx_adapter& adapter) {
    fill_caps_page(page, adapter.caps, {dx_rows::capabilities}, dx_rows::capability_groups);
}

void vertices(report& page, const dx_adapter& adapter) {
    fill_caps_page(page, adapter.caps, {dx_rows::vertices}, dx_rows::vertex_groups);
}

void rendering(report& page, const dx_adapter& adapter) {
    fill_caps_page(page, adapter.caps, {dx_rows::rendering, dx_rows::rendering_filtering},
                   dx_rows::rendering_groups);
}

void textures(report& page, const dx_adapter& adapter) {
    fill_caps_page(page, adapter.caps, {dx_rows::texture_sizes, dx_rows::guard_band},
                   dx_rows::texture_groups);
}

void blending(report& page, const dx_adapter& adapter) {
    fill_caps_page(page, adapter.caps, {}, dx_rows::blending_groups);
}

void buffers(report& page, const dx_adapter& adapter) {
    fill_caps_page(page, adapter.caps, {}, dx_rows::buffer_groups);
}

void vertex_shader(report& page, const dx_adapter& adapter) {
    const D3DCAPS9& caps = adapter.caps;
    page.add_shader_version_row("VertexShaderVersion", caps.VertexShaderVersion,
                                dx_rows::vertex_shader_version);
    page.add_blank_row();
    add_numbers(page, caps, dx_rows::vertex_shader);
    page.add_blank_row();
    add_shader_caps(page, "[VS20Caps]", dx_rows::vs20_section, dx_rows::vs20_caps, caps.VS20Caps,
                    dx_rows::vs20_rows);
    add_group(page, caps, dx_rows::vertex_texture_filter);
}

void pixel_shader(report& page, const dx_adapter& adapter) {
    const D3DCAPS9& caps = adapter.caps;
    page.add_shader_version_row("PixelShaderVersion", caps.PixelShaderVersion, dx_rows::pixel_shader_version);
    page.add_blank_row();
    add_numbers(page, caps, dx_rows::pixel_shader);
    page.add_blank_row();
    add_shader_caps(page, "[PS20Caps]", dx_rows::ps20_section, dx_rows::ps20_caps, caps.PS20Caps,
                    dx_rows::ps20_rows);
}

void resolutions(report& page, const dx_adapter& adapter) {
    for (const display_mode& mode : adapter.modes) {
        page.add_row(resolution_name(mode), mode.format, rate_list(mode));
    }
    // On screen only: the echo above keeps the probe's order.
    sort_grid_rows(*page.current_grid);
}

}  // namespace directx_pages

void report::fill_directx_pages(dx_adapter adapter) {
    current_grid = nullptr;
    const bool echoing = echo;
    for (const page_info* page : fill_order(page_group::directx)) {
        echo = echoing && page->submitted;
        setup_directx_grid(grid(page->id));
        page->fill_directx(*this, adapter);
    }
    echo = echoing;
}
