// The DirectX pages of one adapter record.
#include <initializer_list>
#include <string>

#include "base/_functions.h"
#include "report/dx_tables.h"
#include "report/page_fills.h"
#include "report/report.h"

namespace {

// Writes number rows of D3DCAPS9 fields: whole numbers unsigned, floats
// with six decimals.
void add_numbers(report& page, const D3DCAPS9& caps, std::span<const number_row> rows) {
    for (const number_row& row : rows) {
        switch (row.kind) {
            case value_kind::dword32:
                page.AddInt64Row(row.name, static_cast<int64_t>(caps.*row.dword_field), row.description);
                break;
            case value_kind::uint32:
                page.AddInt64Row(row.name, static_cast<int64_t>(caps.*row.uint_field), row.description);
                break;
            case value_kind::float32:
                page.AddFloatRow(row.name, caps.*row.float_field, row.description);
                break;
        }
    }
}

// A section row, a flag row for each mask, and the closing blank row.
void add_group(report& page, const D3DCAPS9& caps, const flag_group& group) {
    page.AddRow(group.section, "", group.description);
    const DWORD field = caps.*group.field;
    for (const flag_row& row : group.rows) {
        page.AddFlagRow(row.name, field & row.mask, row.description);
    }
    page.AddBlankRow();
}

void add_groups(report& page, const D3DCAPS9& caps, std::span<const flag_group> groups) {
    for (const flag_group& group : groups) {
        add_group(page, caps, group);
    }
}

// "none" where the low 16 bits hold no version.
void add_shader_summary(report& page, const char* name, DWORD version) {
    if ((version & 0xFFFF) != 0) {
        page.AddShaderVersionRow(name, version, "");
    } else {
        page.AddRow(name, "none", "");
    }
}

// A capability page: blocks of number rows, each closed by a blank row, then
// the flag groups.
void fill_caps_page(report& page, const D3DCAPS9& caps,
                    std::initializer_list<std::span<const number_row>> number_blocks,
                    std::span<const flag_group> groups) {
    for (const auto rows : number_blocks) {
        add_numbers(page, caps, rows);
        page.AddBlankRow();
    }
    add_groups(page, caps, groups);
}

template <typename Caps>
void add_shader_caps(report& page, const char* section, const char* section_description,
                     const char* caps_description, const Caps& shader,
                     std::span<const shader_caps_row<Caps>> rows) {
    page.AddRow(section, "", section_description);
    page.AddInt64Row("Caps", shader.Caps, caps_description);
    for (const auto& row : rows) {
        page.AddIntRow(row.name, shader.*row.field, row.description);
    }
    page.AddBlankRow();
}

// "1024 x  768"-style names, so that sizes of up to four digits sort in
// numeric order.
std::string resolution_name(const Tqmode& mode) {
    std::string width;
    std::string height;
    PadLeft(static_cast<int32_t>(mode.width), 4, width);
    PadLeft(static_cast<int32_t>(mode.height), 4, height);
    return width + " x " + height;
}

std::string rate_list(const Tqmode& mode) {
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

void summary(report& page, const Tqdx_adapter& adapter) {
    const tqinfo& info = adapter.info;
    page.AddRow("Device", info.description, "");
    page.AddVendorRow("Vendor", info.vendor_id, "");
    page.AddDeviceRow("GPU", info.vendor_id, info.device_id, "");
    page.AddBlankRow();
    page.AddRow("Driver", info.driver, "");
    page.AddDriverVersionRow("Driver version", info.driver_version, "");
    page.AddBlankRow();
    add_shader_summary(page, "Pixel Shader", adapter.caps.PixelShaderVersion);
    add_shader_summary(page, "Vertex Shader", adapter.caps.VertexShaderVersion);
    page.AddBlankRow();
    static const char* const heads[] = {"single", "dual", "tri", "quad"};
    const DWORD adapters_in_group = adapter.caps.NumberOfAdaptersInGroup;
    if (adapters_in_group >= 1 && adapters_in_group <= 4) {
        page.AddRow("Head", heads[adapters_in_group - 1], "");
    } else if (adapters_in_group != 0) {
        page.AddInt64Row("Head", adapters_in_group, "");
    }
}

void device(report& page, const Tqdx_adapter& adapter) {
    const tqinfo& info = adapter.info;
    page.AddRow("Description", info.description, "");
    page.AddDeviceRow("GPU", info.vendor_id, info.device_id, "");
    page.AddRow("Device name", info.device_name, "");
    page.AddBlankRow();
    page.AddRow("Driver", info.driver, "");
    page.AddDriverVersionRow("Driver version", info.driver_version, "");
    page.AddVendorRow("Vendor", info.vendor_id, "");
    page.AddInt64Row("Device ID", info.device_id, "");
    page.AddInt64Row("Sub-system ID", info.subsys_id, "");
    page.AddInt64Row("Revision", info.revision, "");
    page.AddGuidRow("GUID", info.device_identifier, "");
    page.AddInt64Row("WHQL level", info.whql_level, "");
    page.AddBlankRow();
    add_numbers(page, adapter.caps, dx_rows::adapter_group);
    page.AddBlankRow();
    add_group(page, adapter.caps, dx_rows::dev_caps);
    add_group(page, adapter.caps, dx_rows::dev_caps2);
}

void capabilities(report& page, const Tqdx_adapter& adapter) {
    fill_caps_page(page, adapter.caps, {dx_rows::capabilities}, dx_rows::capability_groups);
}

void vertices(report& page, const Tqdx_adapter& adapter) {
    fill_caps_page(page, adapter.caps, {dx_rows::vertices}, dx_rows::vertex_groups);
}

void rendering(report& page, const Tqdx_adapter& adapter) {
    fill_caps_page(page, adapter.caps, {dx_rows::rendering, dx_rows::rendering_filtering},
                   dx_rows::rendering_groups);
}

void textures(report& page, const Tqdx_adapter& adapter) {
    fill_caps_page(page, adapter.caps, {dx_rows::texture_sizes, dx_rows::guard_band},
                   dx_rows::texture_groups);
}

void blending(report& page, const Tqdx_adapter& adapter) {
    fill_caps_page(page, adapter.caps, {}, dx_rows::blending_groups);
}

void buffers(report& page, const Tqdx_adapter& adapter) {
    fill_caps_page(page, adapter.caps, {}, dx_rows::buffer_groups);
}

void vertex_shader(report& page, const Tqdx_adapter& adapter) {
    const D3DCAPS9& caps = adapter.caps;
    page.AddShaderVersionRow("VertexShaderVersion", caps.VertexShaderVersion, dx_rows::vertex_shader_version);
    page.AddBlankRow();
    add_numbers(page, caps, dx_rows::vertex_shader);
    page.AddBlankRow();
    add_shader_caps(page, "[VS20Caps]", dx_rows::vs20_section, dx_rows::vs20_caps, caps.VS20Caps,
                    dx_rows::vs20_rows);
    add_group(page, caps, dx_rows::vertex_texture_filter);
}

void pixel_shader(report& page, const Tqdx_adapter& adapter) {
    const D3DCAPS9& caps = adapter.caps;
    page.AddShaderVersionRow("PixelShaderVersion", caps.PixelShaderVersion, dx_rows::pixel_shader_version);
    page.AddBlankRow();
    add_numbers(page, caps, dx_rows::pixel_shader);
    page.AddBlankRow();
    add_shader_caps(page, "[PS20Caps]", dx_rows::ps20_section, dx_rows::ps20_caps, caps.PS20Caps,
                    dx_rows::ps20_rows);
}

void resolutions(report& page, const Tqdx_adapter& adapter) {
    for (const Tqmode& mode : adapter.modes) {
        page.AddRow(resolution_name(mode), mode.format, rate_list(mode));
    }
    // On screen only: the echo above keeps the probe's order.
    SortGridRows(*page.FCurrentGrid);
}

}  // namespace directx_pages

void report::FillDirect3DPages(Tqdx_adapter adapter) {
    FCurrentGrid = nullptr;
    const bool echo = FEcho;
    for (const page_info* page : fill_order(page_group::directx)) {
        FEcho = echo && page->submitted;
        SetupDirectXGrid(grid(page->id));
        page->fill_directx(*this, adapter);
    }
    FEcho = echo;
}
