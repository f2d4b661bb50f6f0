// The DirectX pages of one adapter record.
#include <initializer_list>
#include <iterator>
#include <string>

#include "base/text.h"
#include "probe/d3d_common.h"
#include "probe/records.h"
#include "report/dx_tables.h"
#include "report/page_writer.h"
#include "report/page_writers.h"

namespace {

// Writes number rows of D3DCAPS9 fields: whole numbers unsigned, floats
// with six decimals.
void add_numbers(page_writer& page, const D3DCAPS9& caps, std::span<const number_row> rows) {
    for (const number_row& row : rows) {
        switch (row.kind) {
            case value_kind::dword32:
                page.number(row.name, static_cast<int64_t>(caps.*row.dword_field), row.description);
                break;
            case value_kind::uint32:
                page.number(row.name, static_cast<int64_t>(caps.*row.uint_field), row.description);
                break;
            case value_kind::float32:
                page.real(row.name, caps.*row.float_field, row.description);
                break;
        }
    }
}

// A section row, a flag row for each mask, and the closing blank row.
void add_group(page_writer& page, const D3DCAPS9& caps, const flag_group& group) {
    page.section(group.section, group.description);
    const DWORD field = caps.*group.field;
    for (const flag_row& row : group.rows) {
        page.yes_no(row.name, (field & row.mask) != 0, row.description);
    }
    page.blank();
}

void add_groups(page_writer& page, const D3DCAPS9& caps, std::span<const flag_group> groups) {
    for (const flag_group& group : groups) {
        add_group(page, caps, group);
    }
}

// "none" where the low 16 bits hold no version.
void add_shader_summary(page_writer& page, const char* name, DWORD version) {
    if ((version & 0xFFFF) != 0) {
        page.shader_version(name, version, "");
    } else {
        page.text(name, "none", "");
    }
}

// A capability page: blocks of number rows, each closed by a blank row, then
// the flag groups.
void fill_caps_page(page_writer& page, const D3DCAPS9& caps,
                    std::initializer_list<std::span<const number_row>> number_blocks,
                    std::span<const flag_group> groups) {
    for (const auto rows : number_blocks) {
        add_numbers(page, caps, rows);
        page.blank();
    }
    add_groups(page, caps, groups);
}

template <typename Caps>
void add_shader_caps(page_writer& page, const char* section, const char* section_description,
                     const char* caps_description, const Caps& shader,
                     std::span<const shader_caps_row<Caps>> rows) {
    page.section(section, section_description);
    page.number("Caps", shader.Caps, caps_description);
    for (const auto& row : rows) {
        page.number(row.name, shader.*row.field, row.description);
    }
    page.blank();
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

// Whole MiB, with the exact bytes in the description.
void add_bytes(page_writer& page, const char* name, uint64_t bytes, const char* description) {
    const uint64_t mib = (bytes + (1u << 19)) >> 20;
    page.row(row_kind::number, name, std::to_string(mib) + " MiB",
             std::to_string(bytes) + " bytes. " + description);
}

// DXGI's sizes of the adapter's memory and, where the runtime has
// IDXGIAdapter3, this process's budget and usage of it.
void add_memory(page_writer& page, const dx_adapter& adapter) {
    page.section("[Memory]", "The adapter's memory, as DXGI reports it.");
    struct memory_row {
        const char* name;
        const char* description;
    };
    static constexpr memory_row sizes[] = {
        {"Dedicated video memory", "Memory on the adapter that the processor does not share."},
        {"Dedicated system memory", "System memory set aside for the adapter alone."},
        {"Shared system memory", "System memory the adapter may use, shared with the processor."},
    };
    static constexpr memory_row budgets[] = {
        {"Local budget", "How much of the adapter's own memory this process may use now."},
        {"Local usage", "How much of the adapter's own memory this process uses now."},
        {"Non-local budget", "How much system memory this process may use through the adapter now."},
        {"Non-local usage", "How much system memory this process uses through the adapter now."},
    };
    const adapter_identity& info = adapter.info;
    const uint64_t size_values[] = {info.dedicated_video_memory, info.dedicated_system_memory,
                                    info.shared_system_memory};
    for (size_t i = 0; i < std::size(sizes); ++i) {
        if (adapter.read_through_dxgi) {
            add_bytes(page, sizes[i].name, size_values[i], sizes[i].description);
        } else {
            page.not_available(sizes[i].name, sizes[i].description);
        }
    }
    const uint64_t budget_values[] = {adapter.local.budget, adapter.local.usage, adapter.non_local.budget,
                                      adapter.non_local.usage};
    for (size_t i = 0; i < std::size(budgets); ++i) {
        if (adapter.has_budget) {
            add_bytes(page, budgets[i].name, budget_values[i], budgets[i].description);
        } else {
            page.not_available(budgets[i].name, budgets[i].description);
        }
    }
}

}  // namespace

namespace directx_pages {

void identity(page_writer& page, const dx_adapter& adapter) {
    const adapter_identity& info = adapter.info;
    page.text("Device", info.description, "");
    page.vendor("Vendor", info.vendor_id, "");
    page.device("GPU", info.vendor_id, info.device_id, "");
}

void summary(page_writer& page, const dx_adapter& adapter) {
    const adapter_identity& info = adapter.info;
    identity(page, adapter);
    page.blank();
    page.text("Driver", info.driver, "");
    page.driver_version("Driver version", info.driver_version, "");
    page.blank();
    add_shader_summary(page, "Pixel Shader", adapter.caps.PixelShaderVersion);
    add_shader_summary(page, "Vertex Shader", adapter.caps.VertexShaderVersion);
    page.blank();
    static const char* const heads[] = {"single", "dual", "tri", "quad"};
    const DWORD adapters_in_group = adapter.caps.NumberOfAdaptersInGroup;
    if (adapters_in_group >= 1 && adapters_in_group <= 4) {
        page.text("Head", heads[adapters_in_group - 1], "");
    } else if (adapters_in_group != 0) {
        page.number("Head", adapters_in_group, "");
    }
}

void device(page_writer& page, const dx_adapter& adapter) {
    const adapter_identity& info = adapter.info;
    page.text("Description", info.description, "");
    page.device("GPU", info.vendor_id, info.device_id, "");
    page.text("Device name", info.device_name, "");
    page.blank();
    page.text("Driver", info.driver, "");
    page.driver_version("Driver version", info.driver_version, "");
    page.vendor("Vendor", info.vendor_id, "");
    page.pci_id("Device ID", info.device_id, 4, "");
    page.pci_id("Sub-system ID", info.subsys_id, 8, "");
    page.pci_id("Revision", info.revision, 2, "");
    page.text("GUID", guid_text(info.device_identifier), "");
    page.number("WHQL level", info.whql_level, "");
    page.blank();
    add_numbers(page, adapter.caps, dx_rows::adapter_group);
    page.blank();
    add_group(page, adapter.caps, dx_rows::dev_caps);
    add_group(page, adapter.caps, dx_rows::dev_caps2);
    // Shown, not sent: the site has always received the page without them.
    page.shown_only_from_here();
    add_memory(page, adapter);
}

void capabilities(page_writer& page, const dx_adapter& adapter) {
    fill_caps_page(page, adapter.caps, {dx_rows::capabilities}, dx_rows::capability_groups);
}

void vertices(page_writer& page, const dx_adapter& adapter) {
    fill_caps_page(page, adapter.caps, {dx_rows::vertices}, dx_rows::vertex_groups);
}

void rendering(page_writer& page, const dx_adapter& adapter) {
    fill_caps_page(page, adapter.caps, {dx_rows::rendering, dx_rows::rendering_filtering},
                   dx_rows::rendering_groups);
}

void textures(page_writer& page, const dx_adapter& adapter) {
    fill_caps_page(page, adapter.caps, {dx_rows::texture_sizes, dx_rows::guard_band},
                   dx_rows::texture_groups);
}

void blending(page_writer& page, const dx_adapter& adapter) {
    fill_caps_page(page, adapter.caps, {}, dx_rows::blending_groups);
}

void buffers(page_writer& page, const dx_adapter& adapter) {
    fill_caps_page(page, adapter.caps, {}, dx_rows::buffer_groups);
}

void vertex_shader(page_writer& page, const dx_adapter& adapter) {
    const D3DCAPS9& caps = adapter.caps;
    page.shader_version("VertexShaderVersion", caps.VertexShaderVersion, dx_rows::vertex_shader_version);
    page.blank();
    add_numbers(page, caps, dx_rows::vertex_shader);
    page.blank();
    add_shader_caps(page, "[VS20Caps]", dx_rows::vs20_section, dx_rows::vs20_caps, caps.VS20Caps,
                    dx_rows::vs20_rows);
    add_group(page, caps, dx_rows::vertex_texture_filter);
}

void pixel_shader(page_writer& page, const dx_adapter& adapter) {
    const D3DCAPS9& caps = adapter.caps;
    page.shader_version("PixelShaderVersion", caps.PixelShaderVersion, dx_rows::pixel_shader_version);
    page.blank();
    add_numbers(page, caps, dx_rows::pixel_shader);
    page.blank();
    add_shader_caps(page, "[PS20Caps]", dx_rows::ps20_section, dx_rows::ps20_caps, caps.PS20Caps,
                    dx_rows::ps20_rows);
}

void resolutions(page_writer& page, const dx_adapter& adapter) {
    for (const display_mode& mode : adapter.modes) {
        page.text(resolution_name(mode), mode.format, rate_list(mode));
    }
    // Shown sorted; the submission keeps the probe's order.
    page.sort_rows();
}

}  // namespace directx_pages
