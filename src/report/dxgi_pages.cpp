// The DirectX pages of formats and outputs: what each format can do under
// Direct3D 9, 11 and 12, and the outputs with their colour and luminance.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <optional>
#include <span>
#include <string>

#include "base/reason.h"
#include "probe/records.h"
#include "refdata/format_names.h"
#include "report/page_writer.h"
#include "report/page_writers.h"
#include "report/value_format.h"

namespace {

// The bits of D3D11_FORMAT_SUPPORT and D3D12_FORMAT_SUPPORT1 (the same
// bits; Direct3D 12 lacks mipmap generation and processor locking).
std::string support1_words(uint32_t bits) {
    return flag_names(bits, {{0x1, "buffer"},
                             {0x2, "vertex buffer"},
                             {0x4, "index buffer"},
                             {0x8, "stream output"},
                             {0x10, "texture 1D"},
                             {0x20, "texture 2D"},
                             {0x40, "texture 3D"},
                             {0x80, "cube"},
                             {0x100, "load"},
                             {0x200, "sample"},
                             {0x400, "comparison sample"},
                             {0x800, "mono text"},
                             {0x1000, "mipmaps"},
                             {0x2000, "mipmap generation"},
                             {0x4000, "render target"},
                             {0x8000, "blend"},
                             {0x10000, "depth-stencil"},
                             {0x20000, "processor lockable"},
                             {0x40000, "MSAA resolve"},
                             {0x80000, "display"},
                             {0x100000, "cast within bit layout"},
                             {0x200000, "MSAA render target"},
                             {0x400000, "MSAA load"},
                             {0x800000, "gather"},
                             {0x1000000, "back-buffer cast"},
                             {0x2000000, "typed UAV"},
                             {0x4000000, "comparison gather"},
                             {0x8000000, "decoder output"},
                             {0x10000000, "video processor output"},
                             {0x20000000, "video processor input"},
                             {0x40000000, "video encoder"}});
}

// The bits of D3D11_FORMAT_SUPPORT2 and D3D12_FORMAT_SUPPORT2.
std::string support2_words(uint32_t bits) {
    return flag_names(bits, {{0x1, "atomic add"},
                             {0x2, "atomic bitwise"},
                             {0x4, "atomic compare-exchange"},
                             {0x8, "atomic exchange"},
                             {0x10, "atomic signed min-max"},
                             {0x20, "atomic unsigned min-max"},
                             {0x40, "typed UAV load"},
                             {0x80, "typed UAV store"},
                             {0x100, "logic op"},
                             {0x200, "tiled"},
                             {0x400, "shareable"},
                             {0x4000, "multiplane overlay"},
                             {0x8000, "sampler feedback"},
                             {0x10000, "displayable"}});
}

// "texture 2D, render target, blend, MSAA x4 x8", or "not supported".
std::string format_value(const d3d_format_support& format) {
    std::string text;
    const auto add = [&text](const std::string& words) { text += (text.empty() ? "" : ", ") + words; };
    if (format.support1 != 0) {
        add(support1_words(format.support1));
    }
    if (format.support2 != 0) {
        add(support2_words(format.support2));
    }
    if (format.sample_counts != 0) {
        std::string counts = "MSAA";
        for (uint32_t bit = 1; bit < 32; ++bit) {
            if ((format.sample_counts >> bit) & 1) {
                counts += " x" + std::to_string(1u << bit);
            }
        }
        add(counts);
    }
    return text.empty() ? "not supported" : text;
}

std::string format_description(const d3d_format_support& format) {
    std::string text = "DXGI format " + std::to_string(format.format);
    if (!format.answered) {
        return text + "; the runtime does not support it.";
    }
    text += "; support bits " + hex_id_text(format.support1, 8);
    text += format.support2_answered ? " and " + hex_id_text(format.support2, 8) + "."
                                     : "; the second support word was not available.";
    return text;
}

void add_formats(page_writer& page, const std::vector<d3d_format_support>& formats) {
    if (formats.empty()) {
        for (uint32_t value = 1; value <= dxgi_last_format; ++value) {
            const std::string_view name = published_dxgi_format_name(value);
            if (!name.empty()) {
                page.not_available("DXGI_FORMAT_" + std::string(name),
                                   "DXGI format " + std::to_string(value) + ".");
            }
        }
        return;
    }
    for (const d3d_format_support& format : formats) {
        const std::string value = format_value(format);
        page.row(row_kind::text, "DXGI_FORMAT_" + std::string(published_dxgi_format_name(format.format)),
                 value, format_description(format));
    }
}

// The words of Direct3D 9's uses, in the order of their bits.
constexpr const char* d3d9_use_words[] = {
    "texture",       "cube texture",  "volume texture",    "surface", "render target",
    "depth stencil", "depth texture", "vertex texture",    "filter",  "blend",
    "sRGB read",     "sRGB write",    "mipmap generation",
};
static_assert(std::size(d3d9_use_words) == d3d9_format_use_count);

// "texture, filter, blend, MSAA x2 x4", "not supported" where nothing is accepted.
std::string d3d9_format_value(const d3d9_format_support& format) {
    std::string text;
    for (int use = 0; use < d3d9_format_use_count; ++use) {
        if ((format.uses >> use) & 1) {
            text += (text.empty() ? "" : ", ") + std::string(d3d9_use_words[use]);
        }
    }
    if (format.sample_counts != 0) {
        text += text.empty() ? "MSAA" : ", MSAA";
        for (uint32_t samples = 2; samples <= d3d9_most_samples; ++samples) {
            if ((format.sample_counts >> samples) & 1) {
                text += " x" + std::to_string(samples);
            }
        }
    }
    return text.empty() ? "not supported" : text;
}

// "Direct3D 9 format 21." or "Direct3D 9 format 827611204, 'DXT1'.": the
// four characters of a value made of four letters, digits or blanks.
std::string d3d9_format_number(uint32_t value) {
    std::string text = "Direct3D 9 format " + std::to_string(value);
    std::string four;
    for (int shift = 0; shift < 32; shift += 8) {
        const char c = static_cast<char>((value >> shift) & 0xFF);
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != ' ') {
            return text + ".";
        }
        four += c;
    }
    return text + ", '" + four + "'.";
}

std::string yes_no_word(const std::optional<bool>& said) {
    return !said ? "not answered" : *said ? "yes" : "no";
}

std::string d3d9_format_description(const d3d9_format_support& format) {
    std::string text = d3d9_format_number(format.format);
    if (format.sample_counts != 0) {
        text += " Quality levels:";
        const char* between = " ";
        for (uint32_t samples = 2; samples <= d3d9_most_samples; ++samples) {
            if ((format.sample_counts >> samples) & 1) {
                text += between + ("x" + std::to_string(samples)) + " " +
                        std::to_string(format.quality_levels[samples]);
                between = ", ";
            }
        }
        text += ".";
    }
    if (format.depth_match_x8r8g8b8 || format.depth_match_a8r8g8b8 ||
        (format.uses & (d3d9_use_depth_stencil | d3d9_use_depth_texture)) != 0) {
        text += " Depth-stencil match with an X8R8G8B8 render target: " + yes_no_word(format.depth_match_x8r8g8b8) +
                "; with an A8R8G8B8 one: " + yes_no_word(format.depth_match_a8r8g8b8) + ".";
    }
    if (format.failed > 0) {
        text += " " + std::to_string(format.failed) + " of " + std::to_string(format.asked) +
                " questions were not answered: " + format.failed_call + " failed (" +
                status_code_text(format.failed_status) + ").";
    }
    return text;
}

void add_d3d9_formats(page_writer& page, const std::vector<d3d9_format_support>& formats) {
    const std::span<const d3d9_format_entry> entries = d3d9_resource_formats();
    for (size_t i = 0; i < entries.size(); ++i) {
        const d3d9_format_support* format = nullptr;
        for (const d3d9_format_support& read : formats) {
            format = read.format == entries[i].value ? &read : format;
        }
        if (format == nullptr) {
            page.not_available(entries[i].name, d3d9_format_number(entries[i].value));
        } else if (format->failed == format->asked) {
            page.not_available(entries[i].name, d3d9_format_description(*format));
        } else {
            page.row(row_kind::text, entries[i].name, d3d9_format_value(*format),
                     d3d9_format_description(*format));
        }
    }
}

// Published DXGI_COLOR_SPACE_TYPE names without their prefix, by value.
constexpr const char* color_spaces[] = {
    "RGB_FULL_G22_NONE_P709",
    "RGB_FULL_G10_NONE_P709",
    "RGB_STUDIO_G22_NONE_P709",
    "RGB_STUDIO_G22_NONE_P2020",
    "RESERVED",
    "YCBCR_FULL_G22_NONE_P709_X601",
    "YCBCR_STUDIO_G22_LEFT_P601",
    "YCBCR_FULL_G22_LEFT_P601",
    "YCBCR_STUDIO_G22_LEFT_P709",
    "YCBCR_FULL_G22_LEFT_P709",
    "YCBCR_STUDIO_G22_LEFT_P2020",
    "YCBCR_FULL_G22_LEFT_P2020",
    "RGB_FULL_G2084_NONE_P2020",
    "YCBCR_STUDIO_G2084_LEFT_P2020",
    "RGB_STUDIO_G2084_NONE_P2020",
    "YCBCR_STUDIO_G22_TOPLEFT_P2020",
    "YCBCR_STUDIO_G2084_TOPLEFT_P2020",
    "RGB_FULL_G22_NONE_P2020",
    "YCBCR_STUDIO_GHLG_TOPLEFT_P2020",
    "YCBCR_FULL_GHLG_TOPLEFT_P2020",
    "RGB_STUDIO_G24_NONE_P709",
    "RGB_STUDIO_G24_NONE_P2020",
    "YCBCR_STUDIO_G24_LEFT_P709",
    "YCBCR_STUDIO_G24_LEFT_P2020",
    "YCBCR_STUDIO_G24_TOPLEFT_P2020",
};
// The colour space of HDR10: PQ (SMPTE ST 2084) over the BT.2020 primaries.
constexpr uint32_t hdr10_color_space = 12;

std::string color_space_text(uint32_t value) {
    if (value == 0xFFFFFFFF) {
        return "CUSTOM";
    }
    std::string text =
        value < std::size(color_spaces) ? color_spaces[value] : "unknown (" + std::to_string(value) + ")";
    return value == hdr10_color_space ? text + ", HDR10" : text;
}

// Up to six significant digits and "." whatever the locale.
std::string short_real(float value) {
    if (!std::isfinite(value)) {
        return fixed_six_text(value);
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", static_cast<double>(value));
    return text;
}

std::string rotation_text(uint32_t rotation) {
    static const char* const names[] = {"unspecified", "none", "90 degrees", "180 degrees", "270 degrees"};
    return rotation < std::size(names) ? names[rotation] : std::to_string(rotation);
}

void add_output(page_writer& page, size_t index, const dxgi_output_record& output) {
    page.section("[Output " + std::to_string(index + 1) + "]",
                 "An output of the adapter: a connector a monitor can be on.");
    page.text("Device name", output.device_name, "The output's display device, as Windows names it.");
    const auto& at = output.desktop;
    page.text("Desktop rectangle",
              std::to_string(at[2] - at[0]) + " x " + std::to_string(at[3] - at[1]) + " at (" +
                  std::to_string(at[0]) + ", " + std::to_string(at[1]) + ")",
              "Width and height of the output on the desktop, and its top-left corner, in pixels.");
    page.text("Rotation", rotation_text(output.rotation), "How the picture is turned on the monitor.");
    page.yes_no("Attached to desktop", output.attached, "The output is part of the desktop.");
    page.text("Monitor", output.monitor_name.empty() ? "unknown" : output.monitor_name,
              "The monitor on the output, as its driver describes it.");
    struct shown {
        const char* name;
        const char* description;
    };
    static constexpr shown desc1_rows[] = {
        {"Bits per colour", "Bits of each colour channel the output sends to the monitor."},
        {"Colour space",
         "How colours are encoded on the output (DXGI_COLOR_SPACE_...): HDR10 is PQ over BT.2020."},
        {"Red primary", "x and y of the monitor's red in the CIE 1931 diagram."},
        {"Green primary", "x and y of the monitor's green in the CIE 1931 diagram."},
        {"Blue primary", "x and y of the monitor's blue in the CIE 1931 diagram."},
        {"White point", "x and y of the monitor's white in the CIE 1931 diagram."},
        {"Minimum luminance", "Darkest the monitor can show, in nits (candela per square metre)."},
        {"Maximum luminance", "Brightest the monitor can show on a small part of the screen, in nits."},
        {"Full-frame maximum luminance", "Brightest the monitor can show over the whole screen, in nits."},
    };
    if (!output.has_desc1) {
        for (const shown& row : desc1_rows) {
            page.not_available(row.name, row.description);
        }
        return;
    }
    // A field the output left empty is not available, not a zero: no output
    // sends colours of no bits, no primary lies at 0, 0, and a monitor whose
    // brightest is 0 nits did not say; its darkest may be 0 where it said
    // its brightest.
    const bool luminance_said = output.luminance[1] > 0 || output.luminance[2] > 0;
    if (output.bits_per_color == 0) {
        page.not_available(desc1_rows[0].name, desc1_rows[0].description);
    } else {
        page.number(desc1_rows[0].name, output.bits_per_color, desc1_rows[0].description);
    }
    page.text(desc1_rows[1].name, color_space_text(output.color_space), desc1_rows[1].description);
    for (size_t i = 0; i < 4; ++i) {
        const float x = output.primaries[2 * i];
        const float y = output.primaries[2 * i + 1];
        if (x == 0 && y == 0) {
            page.not_available(desc1_rows[2 + i].name, desc1_rows[2 + i].description);
        } else {
            page.row(row_kind::text, desc1_rows[2 + i].name, short_real(x) + ", " + short_real(y),
                     desc1_rows[2 + i].description);
        }
    }
    for (size_t i = 0; i < 3; ++i) {
        if (output.luminance[i] == 0 && (i > 0 || !luminance_said)) {
            page.not_available(desc1_rows[6 + i].name, desc1_rows[6 + i].description);
        } else {
            page.row(row_kind::number, desc1_rows[6 + i].name, short_real(output.luminance[i]) + " nits",
                     desc1_rows[6 + i].description);
        }
    }
}

}  // namespace

namespace directx_pages {

void formats(page_writer& page, const dx_adapter& adapter) {
    page.section("[Direct3D 9]",
                 "What Direct3D 9 accepts of each format on this adapter, for a HAL device on an X8R8G8B8 "
                 "desktop; MSAA lists the sample counts above one accepted in a window.");
    add_d3d9_formats(page, adapter.formats9);
    page.blank();
    page.section("[Direct3D 11]",
                 "What a Direct3D 11 device on this adapter can do with each format; MSAA lists the sample "
                 "counts above one.");
    add_formats(page, adapter.d3d11_12.formats11);
    page.blank();
    page.section("[Direct3D 12]",
                 "What a Direct3D 12 device on this adapter can do with each format; MSAA lists the sample "
                 "counts above one.");
    add_formats(page, adapter.d3d11_12.formats12);
}

void outputs(page_writer& page, const dx_adapter& adapter) {
    const char* const count_description = "Outputs of the adapter that DXGI lists.";
    const char* const tearing_description =
        "Swap chains may present without waiting for the vertical blank, as variable refresh rate needs.";
    if (!adapter.read_through_dxgi) {
        page.not_available("Outputs", count_description);
    } else {
        page.number("Outputs", static_cast<int64_t>(adapter.outputs.size()), count_description);
    }
    if (adapter.tearing) {
        page.yes_no("Tearing allowed", *adapter.tearing, tearing_description);
    } else {
        page.not_available("Tearing allowed", tearing_description);
    }
    for (size_t i = 0; i < adapter.outputs.size(); ++i) {
        page.blank();
        add_output(page, i, adapter.outputs[i]);
    }
}

}  // namespace directx_pages
