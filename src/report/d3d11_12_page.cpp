// The Direct3D 11/12 page: feature levels, the shader model, and one row per
// field of the feature structures that Direct3D 11 and 12 answered.
#include <string>

#include "probe/records.h"
#include "report/page_writer.h"
#include "report/page_writers.h"

namespace {

enum class field_kind {
    yes_no,
    number,
    tier,             // 0, 1, 2, 3
    tier_tenths,      // 10 is tier 1.0, 11 tier 1.1
    tier_hundredths,  // 90 is tier 0.9, 100 tier 1.0
    root_signature,   // 1 is version 1.0, 2 version 1.1
    min_precision,    // D3D11/D3D12 minimum precision flags
    command_lists,    // D3D12_COMMAND_LIST_SUPPORT_FLAGS
};

struct d3d_field {
    d3d_query query;
    uint8_t word;  // the field's position in its structure
    field_kind kind;
    const char* name;  // the published field name
    const char* description;
};

using enum d3d_query;
using enum field_kind;

// The fields in page order; a field that repeats one shown earlier in its
// section (the tiled resources tier of D3D11_OPTIONS2, the per-resource
// address bits of D3D12's address support) is left out.
constexpr d3d_field d3d11_fields[] = {
    {threading11, 0, yes_no, "DriverConcurrentCreates",
     "The driver can create resources on several threads at once."},
    {threading11, 1, yes_no, "DriverCommandLists",
     "The driver records command lists itself instead of leaving them to the runtime."},
    {doubles11, 0, yes_no, "DoublePrecisionFloatShaderOps",
     "Shaders can compute with 64-bit floating-point values."},
    {hardware_options11, 0, yes_no, "ComputeShaders_Plus_RawAndStructuredBuffers_Via_Shader_4_x",
     "Compute shaders and raw and structured buffers work at feature levels 10_0 and 10_1."},
    {options11, 0, yes_no, "OutputMergerLogicOp", "Blending can combine colours with logic operations."},
    {options11, 1, yes_no, "UAVOnlyRenderingForcedSampleCount",
     "Rendering to unordered access views alone can force a sample count."},
    {options11, 2, yes_no, "DiscardAPIsSeenByDriver",
     "The driver is told when a resource or view is discarded."},
    {options11, 3, yes_no, "FlagsForUpdateAndCopySeenByDriver",
     "The driver sees the no-overwrite and discard flags of updates and copies."},
    {options11, 4, yes_no, "ClearView", "A view can be cleared, all of it or in rectangles, to any colour."},
    {options11, 5, yes_no, "CopyWithOverlap", "A copy within one resource may overlap its source."},
    {options11, 6, yes_no, "ConstantBufferPartialUpdate", "Part of a constant buffer can be updated."},
    {options11, 7, yes_no, "ConstantBufferOffsetting",
     "Shaders can be bound to a window of a larger constant buffer."},
    {options11, 8, yes_no, "MapNoOverwriteOnDynamicConstantBuffer",
     "A dynamic constant buffer can be mapped without overwriting data in use."},
    {options11, 9, yes_no, "MapNoOverwriteOnDynamicBufferSRV",
     "A dynamic buffer read through a shader resource view can be mapped without overwriting data in use."},
    {options11, 10, yes_no, "MultisampleRTVWithForcedSampleCountOne",
     "A multisampled render target can be drawn with a forced sample count of one."},
    {options11, 11, yes_no, "SAD4ShaderInstructions",
     "Shaders have the sum-of-absolute-differences instructions."},
    {options11, 12, yes_no, "ExtendedDoublesShaderInstructions",
     "Shaders can divide, take reciprocals and fused multiply-adds of 64-bit values."},
    {options11, 13, yes_no, "ExtendedResourceSharing",
     "More kinds of resources can be shared between devices."},
    {options11_1, 0, tier, "TiledResourcesTier",
     "Tier of tiled resources, whose memory is mapped in tiles; 0 for none."},
    {options11_1, 1, yes_no, "MinMaxFiltering",
     "Samplers can return the minimum or maximum of the texels they read."},
    {options11_1, 2, yes_no, "ClearViewAlsoSupportsDepthOnlyFormats",
     "Views of depth-only formats can be cleared with ClearView."},
    {options11_1, 3, yes_no, "MapOnDefaultBuffers",
     "Buffers in default memory can be mapped by the processor."},
    {options11_2, 0, yes_no, "PSSpecifiedStencilRefSupported",
     "The pixel shader can set the stencil reference value."},
    {options11_2, 1, yes_no, "TypedUAVLoadAdditionalFormats",
     "Typed unordered access views can be read in more formats than the basic three."},
    {options11_2, 2, yes_no, "ROVsSupported",
     "Rasterizer ordered views keep writes to a pixel in draw order."},
    {options11_2, 3, tier, "ConservativeRasterizationTier",
     "Tier of conservative rasterization, which covers every pixel a primitive touches; 0 for none."},
    {options11_2, 5, yes_no, "MapOnDefaultTextures",
     "Textures in default memory can be mapped by the processor."},
    {options11_2, 6, yes_no, "StandardSwizzle", "Textures can use the standard layout of texels in memory."},
    {options11_2, 7, yes_no, "UnifiedMemoryArchitecture",
     "The adapter shares its memory with the processor."},
    {options11_3, 0, yes_no, "VPAndRTArrayIndexFromAnyShaderFeedingRasterizer",
     "Any shader before the rasterizer can choose the viewport and render target array index."},
    {options11_4, 0, yes_no, "ExtendedNV12SharedTextureSupported",
     "Textures in the NV12 video format can be shared between devices."},
    {options11_5, 0, tier, "SharedResourceTier",
     "Tier of resource formats that can be shared between devices."},
    {architecture11, 0, yes_no, "TileBasedDeferredRenderer",
     "The adapter renders the screen in tiles, so that render-target changes cost more."},
    {min_precision11, 0, min_precision, "PixelShaderMinPrecision",
     "Lower precisions the pixel shader may compute with, besides 32 bits."},
    {min_precision11, 1, min_precision, "AllOtherShaderStagesMinPrecision",
     "Lower precisions the other shader stages may compute with, besides 32 bits."},
};

constexpr d3d_field d3d12_fields[] = {
    {root_signature12, 0, root_signature, "HighestVersion",
     "Highest version of root signatures the device accepts."},
    {options12, 0, yes_no, "DoublePrecisionFloatShaderOps",
     "Shaders can compute with 64-bit floating-point values."},
    {options12, 1, yes_no, "OutputMergerLogicOp", "Blending can combine colours with logic operations."},
    {options12, 2, min_precision, "MinPrecisionSupport",
     "Lower precisions shaders may compute with, besides 32 bits."},
    {options12, 3, tier, "TiledResourcesTier",
     "Tier of tiled resources, whose memory is mapped in tiles; 0 for none."},
    {options12, 4, tier, "ResourceBindingTier",
     "Tier of resource binding, which sets how many descriptors shaders can reach."},
    {options12, 5, yes_no, "PSSpecifiedStencilRefSupported",
     "The pixel shader can set the stencil reference value."},
    {options12, 6, yes_no, "TypedUAVLoadAdditionalFormats",
     "Typed unordered access views can be read in more formats than the basic three."},
    {options12, 7, yes_no, "ROVsSupported", "Rasterizer ordered views keep writes to a pixel in draw order."},
    {options12, 8, tier, "ConservativeRasterizationTier",
     "Tier of conservative rasterization, which covers every pixel a primitive touches; 0 for none."},
    {options12, 9, number, "MaxGPUVirtualAddressBitsPerResource",
     "Bits of graphics-processor virtual address that one resource can span."},
    {options12, 10, yes_no, "StandardSwizzle64KBSupported",
     "Textures can use the standard 64 KB layout of texels in memory."},
    {options12, 11, tier, "CrossNodeSharingTier",
     "Tier of sharing between the nodes of a linked adapter; 0 for none."},
    {options12, 12, yes_no, "CrossAdapterRowMajorTextureSupported",
     "Textures laid out row by row can be shared with other adapters."},
    {options12, 13, yes_no, "VPAndRTArrayIndexFromAnyShaderFeedingRasterizerSupportedWithoutGSEmulation",
     "Any shader before the rasterizer can choose the viewport and render target array index without a "
     "geometry shader."},
    {options12, 14, tier, "ResourceHeapTier",
     "Tier of resource heaps: 1 keeps buffers, textures and render targets in separate heaps, 2 allows them "
     "together."},
    {options12_1, 0, yes_no, "WaveOps", "Shaders can exchange values between the lanes of a wave."},
    {options12_1, 1, number, "WaveLaneCountMin", "Smallest number of lanes in a wave."},
    {options12_1, 2, number, "WaveLaneCountMax", "Largest number of lanes in a wave."},
    {options12_1, 3, number, "TotalLaneCount", "Number of lanes the adapter runs at once."},
    {options12_1, 4, yes_no, "ExpandedComputeResourceStates",
     "Compute command lists can use more resource states."},
    {options12_1, 5, yes_no, "Int64ShaderOps", "Shaders can compute with 64-bit integers."},
    {options12_2, 0, yes_no, "DepthBoundsTestSupported",
     "Pixels can be discarded when the stored depth is outside a range."},
    {options12_2, 1, tier, "ProgrammableSamplePositionsTier",
     "Tier of programmable sample positions for multisampling; 0 for none."},
    {options12_3, 0, yes_no, "CopyQueueTimestampQueriesSupported", "Copy queues can write timestamps."},
    {options12_3, 1, yes_no, "CastingFullyTypedFormatSupported",
     "A resource of a fully typed format can be viewed in another format of its family."},
    {options12_3, 2, command_lists, "WriteBufferImmediateSupportFlags",
     "Kinds of command list that can write values into buffers directly."},
    {options12_3, 3, tier, "ViewInstancingTier",
     "Tier of view instancing, which draws one set of primitives into several views; 0 for none."},
    {options12_3, 4, yes_no, "BarycentricsSupported",
     "The pixel shader can read its barycentric coordinates within the triangle."},
    {options12_4, 0, yes_no, "MSAA64KBAlignedTextureSupported",
     "Multisampled textures can be aligned to 64 KB instead of 4 MB."},
    {options12_4, 1, tier, "SharedResourceCompatibilityTier",
     "Tier of resource formats that can be shared with other devices."},
    {options12_4, 2, yes_no, "Native16BitShaderOpsSupported",
     "Shaders can compute with 16-bit values natively."},
    {options12_5, 0, yes_no, "SRVOnlyTiledResourceTier3",
     "Tiled resources of tier 3 can be read through shader resource views alone."},
    {options12_5, 1, tier, "RenderPassesTier", "Tier of the driver's support for render passes; 0 for none."},
    {options12_5, 2, tier_tenths, "RaytracingTier", "Tier of hardware ray tracing; 0 for none."},
    {options12_6, 0, yes_no, "AdditionalShadingRatesSupported",
     "Variable-rate shading also has the coarser rates of 2x4, 4x2 and 4x4 pixels."},
    {options12_6, 1, yes_no, "PerPrimitiveShadingRateSupportedWithViewportIndexing",
     "The shading rate can be set per primitive while the viewport index is also set."},
    {options12_6, 2, tier, "VariableShadingRateTier",
     "Tier of variable-rate shading, which shades several pixels at once; 0 for none."},
    {options12_6, 3, number, "ShadingRateImageTileSize",
     "Width and height in pixels of a tile of the shading-rate image."},
    {options12_6, 4, yes_no, "BackgroundProcessingSupported",
     "The driver can do its own work in the background when asked to."},
    {options12_7, 0, tier_tenths, "MeshShaderTier",
     "Tier of mesh and amplification shaders, which replace the vertex stages; 0 for none."},
    {options12_7, 1, tier_hundredths, "SamplerFeedbackTier",
     "Tier of sampler feedback, which records which texels were sampled; 0 for none."},
    {virtual_address12, 1, number, "MaxGPUVirtualAddressBitsPerProcess",
     "Bits of graphics-processor virtual address that one process can use."},
    {architecture12, 1, yes_no, "TileBasedRenderer", "The adapter renders the screen in tiles."},
    {architecture12, 2, yes_no, "UMA", "The adapter shares its memory with the processor."},
    {architecture12, 3, yes_no, "CacheCoherentUMA",
     "The shared memory is also cache coherent between the adapter and the processor."},
};

std::string decimal_parts(uint32_t value, uint32_t unit) {
    return std::to_string(value / unit) + "." + std::to_string(value % unit * 10 / unit);
}

struct shown_value {
    row_kind kind;
    std::string text;
};

// The names of the flags set, in the order given, then the bits without a
// name as a number; "none" where no bit is set. Only unnamed bits read as a
// number.
shown_value flag_names(uint32_t value, std::initializer_list<std::pair<uint32_t, const char*>> names) {
    std::string text;
    for (const auto& [flag, name] : names) {
        if ((value & flag) != 0) {
            text += (text.empty() ? "" : ", ") + std::string(name);
            value &= ~flag;
        }
    }
    if (text.empty() && value != 0) {
        return {row_kind::number, std::to_string(value)};
    }
    if (value != 0) {
        text += ", " + std::to_string(value);
    }
    return {row_kind::text, text.empty() ? "none" : text};
}

shown_value field_value(field_kind kind, uint32_t value) {
    switch (kind) {
        case yes_no:
            return {row_kind::yes_no, value != 0 ? "yes" : "no"};
        case number:
        case tier:
            return {row_kind::number, std::to_string(value)};
        case tier_tenths:
            return {row_kind::number, value == 0 ? "0" : decimal_parts(value, 10)};
        case tier_hundredths:
            return {row_kind::number, value == 0 ? "0" : decimal_parts(value, 100)};
        case root_signature:
            return {row_kind::number, value == 0 ? "0" : "1." + std::to_string(value - 1)};
        case min_precision:
            return flag_names(value, {{2, "16-bit"}, {1, "10-bit"}});
        case command_lists:
            return flag_names(value, {{1, "direct"},
                                      {2, "bundle"},
                                      {4, "compute"},
                                      {8, "copy"},
                                      {16, "video decode"},
                                      {32, "video process"},
                                      {64, "video encode"}});
    }
    return {row_kind::number, std::to_string(value)};
}

void add_fields(page_writer& page, const d3d11_12_record& record, std::span<const d3d_field> fields) {
    for (const d3d_field& field : fields) {
        const std::vector<uint32_t>& words = record.answer(field.query);
        if (field.word < words.size()) {
            shown_value shown = field_value(field.kind, words[field.word]);
            page.row(shown.kind, field.name, std::move(shown.text), field.description);
        } else {
            page.not_available(field.name, field.description);
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
    add_fields(page, record, d3d11_fields);
    page.blank();
    page.section("[Direct3D 12]", "What a Direct3D 12 device on this adapter can do.");
    add_fields(page, record, d3d12_fields);
}
