// The eleven DirectX pages. The expected names and their order are typed
// here from the page descriptions, independently of the program's tables.
#include <gtest/gtest.h>

#include <vector>

#include "probe/records.h"
#include "refdata/pci_names.h"
#include "report/page_lookup.h"
#include "report/report_builder.h"
#include "submit/submission.h"

namespace {

struct expected_flag {
    const char* name;
    DWORD mask;
};

#define F(constant)         \
    expected_flag {         \
#constant, constant \
    }

struct expected_group {
    page_id page;
    const char* section;
    DWORD D3DCAPS9::*field;
    std::vector<expected_flag> rows;
};

const std::vector<expected_flag> filter_rows = {
    F(D3DPTFILTERCAPS_MAGFPOINT),         F(D3DPTFILTERCAPS_MAGFLINEAR),
    F(D3DPTFILTERCAPS_MAGFANISOTROPIC),   F(D3DPTFILTERCAPS_MAGFPYRAMIDALQUAD),
    F(D3DPTFILTERCAPS_MAGFGAUSSIANQUAD),  F(D3DPTFILTERCAPS_MINFPOINT),
    F(D3DPTFILTERCAPS_MINFLINEAR),        F(D3DPTFILTERCAPS_MINFANISOTROPIC),
    F(D3DPTFILTERCAPS_MINFPYRAMIDALQUAD), F(D3DPTFILTERCAPS_MINFGAUSSIANQUAD),
    F(D3DPTFILTERCAPS_MIPFPOINT),         {"D3DPTFILTERCAPS_MIPFLINEAR ", 0x20000},
};

const std::vector<expected_flag> blend_rows = {
    F(D3DPBLENDCAPS_BLENDFACTOR),  F(D3DPBLENDCAPS_BOTHINVSRCALPHA),
    F(D3DPBLENDCAPS_BOTHSRCALPHA), F(D3DPBLENDCAPS_DESTALPHA),
    F(D3DPBLENDCAPS_DESTCOLOR),    F(D3DPBLENDCAPS_INVDESTALPHA),
    F(D3DPBLENDCAPS_INVDESTCOLOR), F(D3DPBLENDCAPS_INVSRCALPHA),
    F(D3DPBLENDCAPS_INVSRCCOLOR),  F(D3DPBLENDCAPS_ONE),
    F(D3DPBLENDCAPS_SRCALPHA),     F(D3DPBLENDCAPS_SRCALPHASAT),
    F(D3DPBLENDCAPS_SRCCOLOR),     F(D3DPBLENDCAPS_ZERO),
};

const std::vector<expected_flag> compare_rows = {
    F(D3DPCMPCAPS_ALWAYS), F(D3DPCMPCAPS_EQUAL),     F(D3DPCMPCAPS_GREATER), F(D3DPCMPCAPS_GREATEREQUAL),
    F(D3DPCMPCAPS_LESS),   F(D3DPCMPCAPS_LESSEQUAL), F(D3DPCMPCAPS_NEVER),   F(D3DPCMPCAPS_NOTEQUAL),
};

const std::vector<expected_flag> address_rows = {
    F(D3DPTADDRESSCAPS_BORDER), F(D3DPTADDRESSCAPS_CLAMP),      F(D3DPTADDRESSCAPS_INDEPENDENTUV),
    F(D3DPTADDRESSCAPS_MIRROR), F(D3DPTADDRESSCAPS_MIRRORONCE), F(D3DPTADDRESSCAPS_WRAP),
};

const std::vector<expected_group>& expected_groups() {
    static const std::vector<expected_group> groups = {
        {page_id::dx_device,
         "[DevCaps]",
         &D3DCAPS9::DevCaps,
         {F(D3DDEVCAPS_CANBLTSYSTONONLOCAL),
          F(D3DDEVCAPS_CANRENDERAFTERFLIP),
          F(D3DDEVCAPS_DRAWPRIMITIVES2),
          F(D3DDEVCAPS_DRAWPRIMITIVES2EX),
          F(D3DDEVCAPS_DRAWPRIMTLVERTEX),
          F(D3DDEVCAPS_EXECUTESYSTEMMEMORY),
          F(D3DDEVCAPS_EXECUTEVIDEOMEMORY),
          F(D3DDEVCAPS_HWRASTERIZATION),
          F(D3DDEVCAPS_HWTRANSFORMANDLIGHT),
          F(D3DDEVCAPS_NPATCHES),
          F(D3DDEVCAPS_PUREDEVICE),
          F(D3DDEVCAPS_QUINTICRTPATCHES),
          F(D3DDEVCAPS_RTPATCHES),
          F(D3DDEVCAPS_RTPATCHHANDLEZERO),
          F(D3DDEVCAPS_SEPARATETEXTUREMEMORIES),
          F(D3DDEVCAPS_TEXTURENONLOCALVIDMEM),
          F(D3DDEVCAPS_TEXTURESYSTEMMEMORY),
          F(D3DDEVCAPS_TEXTUREVIDEOMEMORY),
          F(D3DDEVCAPS_TLVERTEXSYSTEMMEMORY),
          F(D3DDEVCAPS_TLVERTEXVIDEOMEMORY)}},
        {page_id::dx_device,
         "[DevCaps2]",
         &D3DCAPS9::DevCaps2,
         {F(D3DDEVCAPS2_ADAPTIVETESSRTPATCH), F(D3DDEVCAPS2_ADAPTIVETESSNPATCH),
          F(D3DDEVCAPS2_CAN_STRETCHRECT_FROM_TEXTURES), F(D3DDEVCAPS2_DMAPNPATCH),
          F(D3DDEVCAPS2_PRESAMPLEDDMAPNPATCH), F(D3DDEVCAPS2_STREAMOFFSET),
          F(D3DDEVCAPS2_VERTEXELEMENTSCANSHARESTREAMOFFSET)}},
        {page_id::dx_capabilities, "[Caps]", &D3DCAPS9::Caps, {F(D3DCAPS_READ_SCANLINE)}},
        {page_id::dx_capabilities,
         "[Caps2]",
         &D3DCAPS9::Caps2,
         {F(D3DCAPS2_CANAUTOGENMIPMAP), F(D3DCAPS2_CANCALIBRATEGAMMA), F(D3DCAPS2_CANMANAGERESOURCE),
          F(D3DCAPS2_DYNAMICTEXTURES), F(D3DCAPS2_FULLSCREENGAMMA)}},
        {page_id::dx_capabilities,
         "[Caps3]",
         &D3DCAPS9::Caps3,
         {F(D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD),
          F(D3DCAPS3_COPY_TO_VIDMEM),
          F(D3DCAPS3_COPY_TO_SYSTEMMEM),
          {"D3DCAPS3_LINEAR_TO_SRGB_PPRESENTATION", 0x80}}},
        {page_id::dx_capabilities,
         "[PresentationIntervals]",
         &D3DCAPS9::PresentationIntervals,
         {{"D3DPRESENT_INTERVAL_IMMEDIATE", 0x80000000},
          F(D3DPRESENT_INTERVAL_ONE),
          F(D3DPRESENT_INTERVAL_TWO),
          F(D3DPRESENT_INTERVAL_THREE),
          F(D3DPRESENT_INTERVAL_FOUR)}},
        {page_id::dx_capabilities,
         "[CursorCaps]",
         &D3DCAPS9::CursorCaps,
         {F(D3DCURSORCAPS_COLOR), F(D3DCURSORCAPS_LOWRES)}},
        {page_id::dx_capabilities,
         "[StretchRectFilterCaps]",
         &D3DCAPS9::StretchRectFilterCaps,
         {F(D3DPTFILTERCAPS_MINFPOINT), F(D3DPTFILTERCAPS_MAGFPOINT), F(D3DPTFILTERCAPS_MINFLINEAR),
          F(D3DPTFILTERCAPS_MAGFLINEAR)}},
        {page_id::dx_vertices,
         "[FVFCaps]",
         &D3DCAPS9::FVFCaps,
         {F(D3DFVFCAPS_DONOTSTRIPELEMENTS), F(D3DFVFCAPS_PSIZE), {"D3DFVFCAPS_TEXCOORDCOUNTMASK", 0xFFFF}}},
        {page_id::dx_vertices,
         "[VertexProcessingCaps]",
         &D3DCAPS9::VertexProcessingCaps,
         {F(D3DVTXPCAPS_DIRECTIONALLIGHTS), F(D3DVTXPCAPS_LOCALVIEWER), F(D3DVTXPCAPS_MATERIALSOURCE7),
          F(D3DVTXPCAPS_NO_TEXGEN_NONLOCALVIEWER), F(D3DVTXPCAPS_POSITIONALLIGHTS), F(D3DVTXPCAPS_TEXGEN),
          F(D3DVTXPCAPS_TEXGEN_SPHEREMAP), F(D3DVTXPCAPS_TWEENING)}},
        {page_id::dx_vertices,
         "[DeclTypes]",
         &D3DCAPS9::DeclTypes,
         {F(D3DDTCAPS_UBYTE4), F(D3DDTCAPS_UBYTE4N), F(D3DDTCAPS_SHORT2N), F(D3DDTCAPS_SHORT4N),
          F(D3DDTCAPS_USHORT2N), F(D3DDTCAPS_USHORT4N), F(D3DDTCAPS_UDEC3), F(D3DDTCAPS_DEC3N),
          F(D3DDTCAPS_FLOAT16_2), F(D3DDTCAPS_FLOAT16_4)}},
        {page_id::dx_rendering,
         "[PrimitiveMiscCaps]",
         &D3DCAPS9::PrimitiveMiscCaps,
         {F(D3DPMISCCAPS_MASKZ), F(D3DPMISCCAPS_CULLNONE), F(D3DPMISCCAPS_CULLCW), F(D3DPMISCCAPS_CULLCCW),
          F(D3DPMISCCAPS_COLORWRITEENABLE), F(D3DPMISCCAPS_CLIPPLANESCALEDPOINTS),
          F(D3DPMISCCAPS_CLIPTLVERTS), F(D3DPMISCCAPS_TSSARGTEMP), F(D3DPMISCCAPS_BLENDOP),
          F(D3DPMISCCAPS_NULLREFERENCE), F(D3DPMISCCAPS_INDEPENDENTWRITEMASKS),
          F(D3DPMISCCAPS_PERSTAGECONSTANT), F(D3DPMISCCAPS_FOGANDSPECULARALPHA),
          F(D3DPMISCCAPS_SEPARATEALPHABLEND), F(D3DPMISCCAPS_MRTINDEPENDENTBITDEPTHS),
          F(D3DPMISCCAPS_MRTPOSTPIXELSHADERBLENDING), F(D3DPMISCCAPS_FOGVERTEXCLAMPED)}},
        {page_id::dx_rendering,
         "[ShadeCaps]",
         &D3DCAPS9::ShadeCaps,
         {F(D3DPSHADECAPS_ALPHAGOURAUDBLEND), F(D3DPSHADECAPS_COLORGOURAUDRGB), F(D3DPSHADECAPS_FOGGOURAUD),
          F(D3DPSHADECAPS_SPECULARGOURAUDRGB)}},
        {page_id::dx_rendering,
         "[LineCaps]",
         &D3DCAPS9::LineCaps,
         {F(D3DLINECAPS_ALPHACMP), F(D3DLINECAPS_ANTIALIAS), F(D3DLINECAPS_BLEND), F(D3DLINECAPS_FOG),
          F(D3DLINECAPS_TEXTURE), F(D3DLINECAPS_ZTEST)}},
        {page_id::dx_rendering,
         "[RasterCaps]",
         &D3DCAPS9::RasterCaps,
         {F(D3DPRASTERCAPS_ANISOTROPY), F(D3DPRASTERCAPS_COLORPERSPECTIVE), F(D3DPRASTERCAPS_DITHER),
          F(D3DPRASTERCAPS_DEPTHBIAS), F(D3DPRASTERCAPS_FOGRANGE), F(D3DPRASTERCAPS_FOGTABLE),
          F(D3DPRASTERCAPS_FOGVERTEX), F(D3DPRASTERCAPS_MIPMAPLODBIAS), F(D3DPRASTERCAPS_MULTISAMPLE_TOGGLE),
          F(D3DPRASTERCAPS_SCISSORTEST), F(D3DPRASTERCAPS_SLOPESCALEDEPTHBIAS), F(D3DPRASTERCAPS_WBUFFER),
          F(D3DPRASTERCAPS_WFOG), F(D3DPRASTERCAPS_ZBUFFERLESSHSR), F(D3DPRASTERCAPS_ZFOG),
          F(D3DPRASTERCAPS_ZTEST)}},
        {page_id::dx_textures,
         "[TextureCaps]",
         &D3DCAPS9::TextureCaps,
         {F(D3DPTEXTURECAPS_ALPHA), F(D3DPTEXTURECAPS_ALPHAPALETTE), F(D3DPTEXTURECAPS_CUBEMAP),
          F(D3DPTEXTURECAPS_CUBEMAP_POW2), F(D3DPTEXTURECAPS_MIPCUBEMAP), F(D3DPTEXTURECAPS_MIPMAP),
          F(D3DPTEXTURECAPS_MIPVOLUMEMAP), F(D3DPTEXTURECAPS_NONPOW2CONDITIONAL),
          F(D3DPTEXTURECAPS_NOPROJECTEDBUMPENV), F(D3DPTEXTURECAPS_PERSPECTIVE), F(D3DPTEXTURECAPS_POW2),
          F(D3DPTEXTURECAPS_PROJECTED), F(D3DPTEXTURECAPS_SQUAREONLY),
          F(D3DPTEXTURECAPS_TEXREPEATNOTSCALEDBYSIZE), F(D3DPTEXTURECAPS_VOLUMEMAP),
          F(D3DPTEXTURECAPS_VOLUMEMAP_POW2)}},
        {page_id::dx_textures,
         "[TextureOpCaps]",
         &D3DCAPS9::TextureOpCaps,
         {F(D3DTEXOPCAPS_ADD),
          F(D3DTEXOPCAPS_ADDSIGNED),
          F(D3DTEXOPCAPS_ADDSIGNED2X),
          F(D3DTEXOPCAPS_ADDSMOOTH),
          F(D3DTEXOPCAPS_BLENDCURRENTALPHA),
          F(D3DTEXOPCAPS_BLENDDIFFUSEALPHA),
          F(D3DTEXOPCAPS_BLENDFACTORALPHA),
          F(D3DTEXOPCAPS_BLENDTEXTUREALPHA),
          F(D3DTEXOPCAPS_BLENDTEXTUREALPHAPM),
          F(D3DTEXOPCAPS_BUMPENVMAP),
          F(D3DTEXOPCAPS_BUMPENVMAPLUMINANCE),
          F(D3DTEXOPCAPS_DISABLE),
          F(D3DTEXOPCAPS_DOTPRODUCT3),
          F(D3DTEXOPCAPS_LERP),
          F(D3DTEXOPCAPS_MODULATE),
          F(D3DTEXOPCAPS_MODULATE2X),
          F(D3DTEXOPCAPS_MODULATE4X),
          F(D3DTEXOPCAPS_MODULATEALPHA_ADDCOLOR),
          F(D3DTEXOPCAPS_MODULATECOLOR_ADDALPHA),
          F(D3DTEXOPCAPS_MODULATEINVALPHA_ADDCOLOR),
          F(D3DTEXOPCAPS_MODULATEINVCOLOR_ADDALPHA),
          F(D3DTEXOPCAPS_MULTIPLYADD),
          F(D3DTEXOPCAPS_PREMODULATE),
          F(D3DTEXOPCAPS_SELECTARG1),
          F(D3DTEXOPCAPS_SELECTARG2),
          F(D3DTEXOPCAPS_SUBTRACT)}},
        {page_id::dx_textures, "[TextureFilterCaps]", &D3DCAPS9::TextureFilterCaps, filter_rows},
        {page_id::dx_textures, "[CubeTextureFilterCaps]", &D3DCAPS9::CubeTextureFilterCaps, filter_rows},
        {page_id::dx_textures, "[VolumeTextureFilterCaps]", &D3DCAPS9::VolumeTextureFilterCaps, filter_rows},
        {page_id::dx_textures, "[TextureAddressCaps]", &D3DCAPS9::TextureAddressCaps, address_rows},
        {page_id::dx_textures, "[VolumeTextureAddressCaps]", &D3DCAPS9::VolumeTextureAddressCaps,
         address_rows},
        {page_id::dx_blending, "[SrcBlendCaps]", &D3DCAPS9::SrcBlendCaps, blend_rows},
        {page_id::dx_blending, "[DestBlendCaps]", &D3DCAPS9::DestBlendCaps, blend_rows},
        {page_id::dx_buffers, "[ZCmpCaps]", &D3DCAPS9::ZCmpCaps, compare_rows},
        {page_id::dx_buffers,
         "[StencilCaps]",
         &D3DCAPS9::StencilCaps,
         {F(D3DSTENCILCAPS_KEEP), F(D3DSTENCILCAPS_ZERO), F(D3DSTENCILCAPS_REPLACE),
          F(D3DSTENCILCAPS_INCRSAT), F(D3DSTENCILCAPS_DECRSAT), F(D3DSTENCILCAPS_INVERT),
          F(D3DSTENCILCAPS_INCR), F(D3DSTENCILCAPS_DECR), F(D3DSTENCILCAPS_TWOSIDED)}},
        {page_id::dx_buffers, "[AlphaCmpCaps]", &D3DCAPS9::AlphaCmpCaps, compare_rows},
        {page_id::dx_vertex_shader, "[VertexTextureFilterCaps]", &D3DCAPS9::VertexTextureFilterCaps,
         filter_rows},
    };
    return groups;
}

#undef F

class DirectXPages : public ::testing::Test {
protected:
    dx_adapter adapter;
    adapter_report report;

    DirectXPages() { init_reference_data(); }
    void fill() { report = build_adapter_report(adapter, nullptr); }
    const report_page& page(page_id id) const { return *report.group(page_group::directx).page(id); }
};

// Names, order and descriptions of the rows are pinned by the golden pages.
TEST_F(DirectXPages, EveryFlagRowTestsItsMask) {
    // Each mask alone turns on exactly the rows whose masks share its bits.
    for (const expected_group& group : expected_groups()) {
        SCOPED_TRACE(group.section);
        for (const expected_flag& flag : group.rows) {
            adapter.caps = D3DCAPS9{};
            adapter.caps.*group.field = flag.mask;
            fill();
            const report_page& shown = page(group.page);
            const int section = find_row(shown, group.section);
            for (size_t i = 0; i < group.rows.size(); ++i) {
                const bool expected = (group.rows[i].mask & flag.mask) != 0;
                EXPECT_EQ(expected ? "yes" : "no", shown.rows[static_cast<size_t>(section) + 1 + i].value)
                    << group.rows[i].name << " with " << flag.name;
            }
        }
    }
}

TEST_F(DirectXPages, AllZeroCapsFillEveryPageCompletely) {
    fill();
    const std::pair<page_id, size_t> sizes[] = {
        {page_id::dx_summary, 16},      {page_id::dx_device, 57},     {page_id::dx_capabilities, 40},
        {page_id::dx_vertices, 31},     {page_id::dx_rendering, 60},  {page_id::dx_textures, 114},
        {page_id::dx_blending, 32},     {page_id::dx_buffers, 31},    {page_id::dx_vertex_shader, 26},
        {page_id::dx_pixel_shader, 13}, {page_id::dx_resolutions, 0},
    };
    for (const auto& [id, rows] : sizes) {
        const report_page& shown = page(id);
        SCOPED_TRACE(page_of(id).marker);
        EXPECT_EQ(rows, shown.rows.size());
        for (const report_row& row : shown.rows) {
            if (row.name.empty() || row.name[0] == '[' || id == page_id::dx_summary ||
                id == page_id::dx_device) {
                continue;
            }
            EXPECT_TRUE(row.value == "no" || row.value == "0" || row.value == "0.000000" ||
                        row.value == "0.0")
                << row.name << ": " << row.value;
            EXPECT_FALSE(row.description.empty()) << row.name << " needs a description";
        }
    }
    EXPECT_EQ("0.000000", value_of(page(page_id::dx_vertices), "MaxVertexW"));
    EXPECT_EQ("0.0", value_of(page(page_id::dx_vertex_shader), "VertexShaderVersion"));
    EXPECT_EQ("none", value_of(page(page_id::dx_summary), "Pixel Shader"));
}

TEST_F(DirectXPages, NumberRowsShowTheirFields) {
    adapter.caps.MaxStreamStride = 0x80000001;
    adapter.caps.MaxTextureWidth = 16384;
    adapter.caps.MaxPointSize = 8192.0f;
    adapter.caps.GuardBandLeft = -1e8f;
    adapter.caps.VS20Caps.Caps = 1;
    adapter.caps.VS20Caps.NumTemps = 32;
    adapter.caps.PS20Caps.NumInstructionSlots = 512;
    adapter.caps.PS20Caps.DynamicFlowControlDepth = -1;
    adapter.caps.MaxVertexShader30InstructionSlots = 32768;
    adapter.caps.NumberOfAdaptersInGroup = 2;
    adapter.info.device_id = 1554;
    fill();
    EXPECT_EQ("2147483649", value_of(page(page_id::dx_capabilities), "MaxStreamStride"));
    EXPECT_EQ("16384", value_of(page(page_id::dx_textures), "MaxTextureWidth"));
    EXPECT_EQ("8192.000000", value_of(page(page_id::dx_vertices), "MaxPointSize"));
    EXPECT_EQ("-100000000.000000", value_of(page(page_id::dx_textures), "GuardBandLeft"));
    EXPECT_EQ("1", value_of(page(page_id::dx_vertex_shader), "Caps"));
    EXPECT_EQ("32", value_of(page(page_id::dx_vertex_shader), "NumTemps"));
    EXPECT_EQ("32768", value_of(page(page_id::dx_vertex_shader), "MaxVertexShader30InstructionSlots"));
    EXPECT_EQ("512", value_of(page(page_id::dx_pixel_shader), "NumInstructionSlots"));
    EXPECT_EQ("-1", value_of(page(page_id::dx_pixel_shader), "DynamicFlowControlDepth"));
    EXPECT_EQ("2", value_of(page(page_id::dx_device), "NumberOfAdaptersInGroup"));
    EXPECT_EQ("0x0612", value_of(page(page_id::dx_device), "Device ID"));  // 1554
}

TEST_F(DirectXPages, SummaryHeadAndShaderRows) {
    const std::pair<UINT, const char*> heads[] = {
        {1, "single"}, {2, "dual"}, {3, "tri"}, {4, "quad"}, {6, "6"}};
    for (const auto& [count, text] : heads) {
        adapter.caps.NumberOfAdaptersInGroup = count;
        fill();
        EXPECT_EQ(17u, page(page_id::dx_summary).rows.size());
        EXPECT_EQ(text, value_of(page(page_id::dx_summary), "Head"));
    }
    adapter.caps.NumberOfAdaptersInGroup = 0;
    fill();
    EXPECT_EQ(-1, find_row(page(page_id::dx_summary), "Head"));

    const std::pair<DWORD, const char*> versions[] = {{0, "none"},
                                                      {0xFFFF0000, "none"},
                                                      {D3DPS_VERSION(2, 0), "2.0"},
                                                      {D3DPS_VERSION(3, 0), "3.0"},
                                                      {1024, "4.0"}};
    for (const auto& [version, text] : versions) {
        adapter.caps.PixelShaderVersion = version;
        adapter.caps.VertexShaderVersion = version;
        fill();
        EXPECT_EQ(text, value_of(page(page_id::dx_summary), "Pixel Shader"));
        EXPECT_EQ(text, value_of(page(page_id::dx_summary), "Vertex Shader"));
    }
    // The shader page shows the version in every case.
    EXPECT_EQ("4.0", value_of(page(page_id::dx_pixel_shader), "PixelShaderVersion"));
    adapter.caps.PixelShaderVersion = 0xFFFF0000;
    fill();
    EXPECT_EQ("0.0", value_of(page(page_id::dx_pixel_shader), "PixelShaderVersion"));
}

TEST_F(DirectXPages, ResolutionsAreSortedOnScreenButEchoedInProbeOrder) {
    const auto mode = [](uint32_t width, uint32_t height, const char* format, std::vector<int32_t> rates) {
        display_mode entry;
        entry.width = width;
        entry.height = height;
        entry.format = format;
        entry.refresh_count = static_cast<int32_t>(rates.size());
        entry.refresh_rates = std::move(rates);
        return entry;
    };
    adapter.modes = {mode(1024, 768, "X8R8G8B8", {60}), mode(800, 600, "X8R8G8B8", {60, 70, 75}),
                     mode(2048, 1536, "X8R8G8B8", {}), mode(10240, 4320, "X8R8G8B8", {30}),
                     mode(800, 600, "R5G6B5", {60})};
    adapter.mode_count = 5;
    fill();
    const report_page& shown = page(page_id::dx_resolutions);
    ASSERT_EQ(5u, shown.rows.size());
    std::vector<std::string> names;
    for (const report_row& row : shown.rows) {
        names.push_back(row.name);
    }
    EXPECT_EQ((std::vector<std::string>{" 800 x  600", " 800 x  600", "1024 x  768", "10240 x 4320",
                                        "2048 x 1536"}),
              names);
    EXPECT_EQ("R5G6B5", shown.rows[0].value);
    EXPECT_EQ("X8R8G8B8", shown.rows[1].value);
    EXPECT_EQ("60, 70, 75", shown.rows[1].description);
    EXPECT_EQ("", shown.rows[4].description);
    report_document document;
    document.adapters.push_back(report);
    const std::string text = submission_text(document);
    const size_t marker = text.find("!dx_resolutions!\r\n");
    ASSERT_NE(std::string::npos, marker);
    EXPECT_EQ(
        "!dx_resolutions!\r\n1024 x  768\tX8R8G8B8\r\n 800 x  600\tX8R8G8B8\r\n2048 x 1536\tX8R8G8B8\r\n"
        "10240 x 4320\tX8R8G8B8\r\n 800 x  600\tR5G6B5\r\n",
        text.substr(marker));
}

}  // namespace
