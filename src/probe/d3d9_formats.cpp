// What Direct3D 9 accepts of each format: CheckDeviceFormat for every use,
// CheckDeviceMultiSampleType for every sample count, and
// CheckDepthStencilMatch for the depth formats.
#include <iterator>

#include "probe/d3d_common.h"
#include "refdata/format_names.h"

namespace {

// One question CheckDeviceFormat answers: a use, its resource type and usage.
struct format_use {
    uint32_t use;
    DWORD usage;
    D3DRESOURCETYPE resource;
};

// The vendors' formats are asked as their makers document them: ATOC, SSAA,
// NVDB and R2VB on a plain surface, INTZ, DF16, DF24 and RAWZ as depth
// textures; hence the surface and the depth texture beside the usual uses.
constexpr format_use uses[] = {
    {d3d9_use_texture, 0, D3DRTYPE_TEXTURE},
    {d3d9_use_cube_texture, 0, D3DRTYPE_CUBETEXTURE},
    {d3d9_use_volume_texture, 0, D3DRTYPE_VOLUMETEXTURE},
    {d3d9_use_surface, 0, D3DRTYPE_SURFACE},
    {d3d9_use_render_target, D3DUSAGE_RENDERTARGET, D3DRTYPE_SURFACE},
    {d3d9_use_depth_stencil, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE},
    {d3d9_use_depth_texture, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_TEXTURE},
    {d3d9_use_vertex_texture, D3DUSAGE_QUERY_VERTEXTEXTURE, D3DRTYPE_TEXTURE},
    {d3d9_use_filter, D3DUSAGE_QUERY_FILTER, D3DRTYPE_TEXTURE},
    {d3d9_use_blend, D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING, D3DRTYPE_TEXTURE},
    {d3d9_use_srgb_read, D3DUSAGE_QUERY_SRGBREAD, D3DRTYPE_TEXTURE},
    {d3d9_use_srgb_write, D3DUSAGE_QUERY_SRGBWRITE, D3DRTYPE_TEXTURE},
    {d3d9_use_mipmap_generation, D3DUSAGE_AUTOGENMIPMAP, D3DRTYPE_TEXTURE},
};
static_assert(std::size(uses) == d3d9_format_use_count);

constexpr D3DFORMAT desktop = D3DFMT_X8R8G8B8;

// An answer: accepted, refused, or a call that failed.
enum class answer { yes, no, failed };

answer answer_of(HRESULT status) {
    if (status == D3D_OK) {
        return answer::yes;
    }
    // D3DOK_NOAUTOGEN: a texture of the format, but its mipmaps are not made.
    if (status == D3DOK_NOAUTOGEN || status == D3DERR_NOTAVAILABLE || status == D3DERR_INVALIDCALL) {
        return answer::no;
    }
    return answer::failed;
}

// Counts a question and keeps the first failure; true where accepted.
bool accepted(d3d9_format_support& format, const char* call, HRESULT status) {
    ++format.asked;
    const answer said = answer_of(status);
    if (said == answer::failed && format.failed++ == 0) {
        format.failed_call = call;
        format.failed_status = static_cast<int32_t>(status);
    }
    return said == answer::yes;
}

std::optional<bool> depth_match(IDirect3D9& d3d, UINT ordinal, d3d9_format_support& format,
                                D3DFORMAT target) {
    const HRESULT status = d3d.CheckDepthStencilMatch(ordinal, D3DDEVTYPE_HAL, desktop, target,
                                                      static_cast<D3DFORMAT>(format.format));
    const bool yes = accepted(format, "CheckDepthStencilMatch", status);
    return answer_of(status) == answer::failed ? std::nullopt : std::optional(yes);
}

}  // namespace

std::vector<d3d9_format_support> read_d3d9_formats(IDirect3D9& d3d, UINT ordinal) {
    std::vector<d3d9_format_support> formats;
    for (const d3d9_format_entry& entry : d3d9_resource_formats()) {
        d3d9_format_support& format = formats.emplace_back();
        format.format = entry.value;
        const auto asked = static_cast<D3DFORMAT>(entry.value);
        for (const format_use& use : uses) {
            if (accepted(format, "CheckDeviceFormat",
                         d3d.CheckDeviceFormat(ordinal, D3DDEVTYPE_HAL, desktop, use.usage, use.resource,
                                               asked))) {
                format.uses |= use.use;
            }
        }
        for (uint32_t samples = 2; samples <= d3d9_most_samples; ++samples) {
            DWORD levels = 0;
            if (accepted(
                    format, "CheckDeviceMultiSampleType",
                    d3d.CheckDeviceMultiSampleType(ordinal, D3DDEVTYPE_HAL, asked, TRUE,
                                                   static_cast<D3DMULTISAMPLE_TYPE>(samples), &levels))) {
                format.sample_counts |= 1u << samples;
                format.quality_levels[samples] = levels;
            }
        }
        if ((format.uses & (d3d9_use_depth_stencil | d3d9_use_depth_texture)) != 0) {
            format.depth_match_x8r8g8b8 = depth_match(d3d, ordinal, format, D3DFMT_X8R8G8B8);
            format.depth_match_a8r8g8b8 = depth_match(d3d, ordinal, format, D3DFMT_A8R8G8B8);
        }
    }
    return formats;
}
