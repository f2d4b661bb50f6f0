// The Direct3D 11/12 page against the real platform: every row equals what
// this test asks Direct3D 11 and 12 itself, through the headers' structures.
#include <d3d11.h>
#include <d3d11_4.h>
#include <d3d12.h>
#include <dxgi1_6.h>
#include <gtest/gtest.h>
#include <wrl/client.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "platform/shared_capture.h"
#include "base/platform.h"
#include "base/text.h"
#include "platform/platform_shape.h"
#include "probe/capture.h"
#include "refdata/pci_names.h"
#include "report/page_lookup.h"

namespace {

using Microsoft::WRL::ComPtr;

// Published layouts that the MinGW-w64 headers lack.
struct options12_6 {
    BOOL AdditionalShadingRatesSupported;
    BOOL PerPrimitiveShadingRateSupportedWithViewportIndexing;
    UINT VariableShadingRateTier;
    UINT ShadingRateImageTileSize;
    BOOL BackgroundProcessingSupported;
};
struct options12_7 {
    UINT MeshShaderTier;
    UINT SamplerFeedbackTier;
};
// clang-format off
struct options12_8 { BOOL UnalignedBlockTexturesSupported; };
struct options12_9 { BOOL MeshShaderPipelineStatsSupported, MeshShaderSupportsFullRangeRenderTargetArrayIndex, AtomicInt64OnTypedResourceSupported, AtomicInt64OnGroupSharedSupported, DerivativesInMeshAndAmplificationShadersSupported; UINT WaveMMATier; };
struct options12_10 { BOOL VariableRateShadingSumCombinerSupported, MeshShaderPerPrimitiveShadingRateSupported; };
struct options12_11 { BOOL AtomicInt64OnDescriptorHeapResourceSupported; };
struct options12_12 { INT MSPrimitivesPipelineStatisticIncludesCulledPrimitives; BOOL EnhancedBarriersSupported, RelaxedFormatCastingSupported; };
struct options12_13 { BOOL UnrestrictedBufferTextureCopyPitchSupported, UnrestrictedVertexElementAlignmentSupported, InvertedViewportHeightFlipsYSupported, InvertedViewportDepthFlipsZSupported, TextureCopyBetweenDimensionsSupported, AlphaBlendFactorSupported; };
struct options12_14 { BOOL AdvancedTextureOpsSupported, WriteableMSAATexturesSupported, IndependentFrontAndBackStencilRefMaskSupported; };
struct options12_15 { BOOL TriangleFanSupported, DynamicIndexBufferStripCutSupported; };
struct options12_16 { BOOL DynamicDepthBiasSupported, GPUUploadHeapSupported; };
struct options12_17 { BOOL NonNormalizedCoordinateSamplersSupported, ManualWriteTrackingResourceSupported; };
struct options12_18 { BOOL RenderPassesValid; };
struct options12_19 { BOOL MismatchingOutputDimensionsSupported; UINT SupportedSampleCountsWithNoOutputs; BOOL PointSamplingAddressesNeverRoundUp, RasterizerDesc2Supported, NarrowQuadrilateralLinesSupported, AnisoFilterWithPointMipSupported; UINT MaxSamplerDescriptorHeapSize, MaxSamplerDescriptorHeapSizeWithStaticSamplers, MaxViewDescriptorHeapSize; BOOL ComputeOnlyCustomHeapSupported; };
struct options12_20 { BOOL ComputeOnlyWriteWatchSupported; UINT RecreateAtTier; };
struct options12_21 { UINT WorkGraphsTier, ExecuteIndirectTier; BOOL SampleCmpGradientAndBiasSupported, ExtendedCommandInfoSupported; };
// clang-format on

struct devices {
    ComPtr<ID3D11Device> d3d11;
    D3D_FEATURE_LEVEL level11{};
    ComPtr<ID3D12Device> d3d12;
};

const std::string na = "not available";
std::string yes_no(BOOL value) {
    return value ? "yes" : "no";
}
std::string number(UINT value) {
    return std::to_string(value);
}
std::string tenths(UINT value) {  // tier 1.0 is 10
    return value == 0 ? "0" : std::to_string(value / 10) + "." + std::to_string(value % 10);
}
std::string hundredths(UINT value) {  // tier 0.9 is 90
    return value == 0 ? "0" : std::to_string(value / 100) + "." + std::to_string(value % 100 / 10);
}
std::string precisions(UINT value) {
    const std::string both = "16-bit, 10-bit";
    return value == 3 ? both : value == 2 ? "16-bit" : value == 1 ? "10-bit" : value == 0 ? "none" : "?";
}
std::string command_lists(UINT value) {
    static const char* names[] = {"direct",       "bundle",        "compute",     "copy",
                                  "video decode", "video process", "video encode"};
    std::string text;
    for (int bit = 0; bit < 7; ++bit) {
        if ((value >> bit) & 1) {
            text += (text.empty() ? "" : ", ") + std::string(names[bit]);
        }
    }
    return text.empty() ? "none" : text;
}
std::string cross_node(UINT value) {  // tier 1 is 2, emulated 1
    const char* tiers[] = {"0", "1 emulated", "1", "2", "3"};
    return value < 5 ? tiers[value] : std::to_string(value);
}
std::string tri_state(INT value) {
    return value < 0 ? "unknown" : yes_no(value);
}
std::string hex(UINT value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}
std::string cache_kinds(UINT value) {
    static const char* names[] = {"single pipeline state", "library",        "automatic in-process",
                                  "automatic on disk",     "driver managed", "control clears",
                                  "session delete"};
    std::string text;
    for (int bit = 0; bit < 7; ++bit) {
        if ((value >> bit) & 1) {
            text += (text.empty() ? "" : ", ") + std::string(names[bit]);
        }
    }
    return value >> 7 != 0 ? "?" : text.empty() ? "none" : text;
}
std::string level_text(UINT level) {
    return std::to_string(level >> 12) + "_" + std::to_string((level >> 8) & 0xF);
}

using witness = std::function<std::string(const devices&)>;

#define D11(FEATURE, TYPE, FIELD, FORMAT)                                                       \
    {                                                                                           \
        {"[Direct3D 11]", #FIELD}, [](const devices& d) -> std::string {                        \
            TYPE data{};                                                                        \
            return d.d3d11 && d.d3d11->CheckFeatureSupport(FEATURE, &data, sizeof data) == S_OK \
                       ? FORMAT(data.FIELD)                                                     \
                       : na;                                                                    \
        }                                                                                       \
    }
#define D12(FEATURE, TYPE, FIELD, FORMAT)                                                              \
    {                                                                                                  \
        {"[Direct3D 12]", #FIELD}, [](const devices& d) -> std::string {                               \
            TYPE data{};                                                                               \
            return d.d3d12 && d.d3d12->CheckFeatureSupport(static_cast<D3D12_FEATURE>(FEATURE), &data, \
                                                           sizeof data) == S_OK                        \
                       ? FORMAT(data.FIELD)                                                            \
                       : na;                                                                           \
        }                                                                                              \
    }

// clang-format off
const std::map<std::pair<std::string, std::string>, witness> witnesses = {
    D11(D3D11_FEATURE_THREADING, D3D11_FEATURE_DATA_THREADING, DriverConcurrentCreates, yes_no),
    D11(D3D11_FEATURE_THREADING, D3D11_FEATURE_DATA_THREADING, DriverCommandLists, yes_no),
    D11(D3D11_FEATURE_DOUBLES, D3D11_FEATURE_DATA_DOUBLES, DoublePrecisionFloatShaderOps, yes_no),
    D11(D3D11_FEATURE_D3D10_X_HARDWARE_OPTIONS, D3D11_FEATURE_DATA_D3D10_X_HARDWARE_OPTIONS, ComputeShaders_Plus_RawAndStructuredBuffers_Via_Shader_4_x, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS, D3D11_FEATURE_DATA_D3D11_OPTIONS, OutputMergerLogicOp, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS, D3D11_FEATURE_DATA_D3D11_OPTIONS, UAVOnlyRenderingForcedSampleCount, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS, D3D11_FEATURE_DATA_D3D11_OPTIONS, DiscardAPIsSeenByDriver, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS, D3D11_FEATURE_DATA_D3D11_OPTIONS, FlagsForUpdateAndCopySeenByDriver, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS, D3D11_FEATURE_DATA_D3D11_OPTIONS, ClearView, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS, D3D11_FEATURE_DATA_D3D11_OPTIONS, CopyWithOverlap, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS, D3D11_FEATURE_DATA_D3D11_OPTIONS, ConstantBufferPartialUpdate, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS, D3D11_FEATURE_DATA_D3D11_OPTIONS, ConstantBufferOffsetting, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS, D3D11_FEATURE_DATA_D3D11_OPTIONS, MapNoOverwriteOnDynamicConstantBuffer, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS, D3D11_FEATURE_DATA_D3D11_OPTIONS, MapNoOverwriteOnDynamicBufferSRV, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS, D3D11_FEATURE_DATA_D3D11_OPTIONS, MultisampleRTVWithForcedSampleCountOne, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS, D3D11_FEATURE_DATA_D3D11_OPTIONS, SAD4ShaderInstructions, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS, D3D11_FEATURE_DATA_D3D11_OPTIONS, ExtendedDoublesShaderInstructions, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS, D3D11_FEATURE_DATA_D3D11_OPTIONS, ExtendedResourceSharing, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS1, D3D11_FEATURE_DATA_D3D11_OPTIONS1, TiledResourcesTier, number),
    D11(D3D11_FEATURE_D3D11_OPTIONS1, D3D11_FEATURE_DATA_D3D11_OPTIONS1, MinMaxFiltering, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS1, D3D11_FEATURE_DATA_D3D11_OPTIONS1, ClearViewAlsoSupportsDepthOnlyFormats, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS1, D3D11_FEATURE_DATA_D3D11_OPTIONS1, MapOnDefaultBuffers, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS2, D3D11_FEATURE_DATA_D3D11_OPTIONS2, PSSpecifiedStencilRefSupported, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS2, D3D11_FEATURE_DATA_D3D11_OPTIONS2, TypedUAVLoadAdditionalFormats, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS2, D3D11_FEATURE_DATA_D3D11_OPTIONS2, ROVsSupported, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS2, D3D11_FEATURE_DATA_D3D11_OPTIONS2, ConservativeRasterizationTier, number),
    D11(D3D11_FEATURE_D3D11_OPTIONS2, D3D11_FEATURE_DATA_D3D11_OPTIONS2, MapOnDefaultTextures, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS2, D3D11_FEATURE_DATA_D3D11_OPTIONS2, StandardSwizzle, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS2, D3D11_FEATURE_DATA_D3D11_OPTIONS2, UnifiedMemoryArchitecture, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS3, D3D11_FEATURE_DATA_D3D11_OPTIONS3, VPAndRTArrayIndexFromAnyShaderFeedingRasterizer, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS4, D3D11_FEATURE_DATA_D3D11_OPTIONS4, ExtendedNV12SharedTextureSupported, yes_no),
    D11(D3D11_FEATURE_D3D11_OPTIONS5, D3D11_FEATURE_DATA_D3D11_OPTIONS5, SharedResourceTier, number),
    D11(D3D11_FEATURE_ARCHITECTURE_INFO, D3D11_FEATURE_DATA_ARCHITECTURE_INFO, TileBasedDeferredRenderer, yes_no),
    D11(D3D11_FEATURE_SHADER_MIN_PRECISION_SUPPORT, D3D11_FEATURE_DATA_SHADER_MIN_PRECISION_SUPPORT, PixelShaderMinPrecision, precisions),
    D11(D3D11_FEATURE_SHADER_MIN_PRECISION_SUPPORT, D3D11_FEATURE_DATA_SHADER_MIN_PRECISION_SUPPORT, AllOtherShaderStagesMinPrecision, precisions),
    D12(D3D12_FEATURE_D3D12_OPTIONS, D3D12_FEATURE_DATA_D3D12_OPTIONS, DoublePrecisionFloatShaderOps, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS, D3D12_FEATURE_DATA_D3D12_OPTIONS, OutputMergerLogicOp, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS, D3D12_FEATURE_DATA_D3D12_OPTIONS, MinPrecisionSupport, precisions),
    D12(D3D12_FEATURE_D3D12_OPTIONS, D3D12_FEATURE_DATA_D3D12_OPTIONS, TiledResourcesTier, number),
    D12(D3D12_FEATURE_D3D12_OPTIONS, D3D12_FEATURE_DATA_D3D12_OPTIONS, ResourceBindingTier, number),
    D12(D3D12_FEATURE_D3D12_OPTIONS, D3D12_FEATURE_DATA_D3D12_OPTIONS, PSSpecifiedStencilRefSupported, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS, D3D12_FEATURE_DATA_D3D12_OPTIONS, TypedUAVLoadAdditionalFormats, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS, D3D12_FEATURE_DATA_D3D12_OPTIONS, ROVsSupported, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS, D3D12_FEATURE_DATA_D3D12_OPTIONS, ConservativeRasterizationTier, number),
    D12(D3D12_FEATURE_D3D12_OPTIONS, D3D12_FEATURE_DATA_D3D12_OPTIONS, MaxGPUVirtualAddressBitsPerResource, number),
    D12(D3D12_FEATURE_D3D12_OPTIONS, D3D12_FEATURE_DATA_D3D12_OPTIONS, StandardSwizzle64KBSupported, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS, D3D12_FEATURE_DATA_D3D12_OPTIONS, CrossNodeSharingTier, cross_node),
    D12(D3D12_FEATURE_D3D12_OPTIONS, D3D12_FEATURE_DATA_D3D12_OPTIONS, CrossAdapterRowMajorTextureSupported, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS, D3D12_FEATURE_DATA_D3D12_OPTIONS, VPAndRTArrayIndexFromAnyShaderFeedingRasterizerSupportedWithoutGSEmulation, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS, D3D12_FEATURE_DATA_D3D12_OPTIONS, ResourceHeapTier, number),
    D12(D3D12_FEATURE_D3D12_OPTIONS1, D3D12_FEATURE_DATA_D3D12_OPTIONS1, WaveOps, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS1, D3D12_FEATURE_DATA_D3D12_OPTIONS1, WaveLaneCountMin, number),
    D12(D3D12_FEATURE_D3D12_OPTIONS1, D3D12_FEATURE_DATA_D3D12_OPTIONS1, WaveLaneCountMax, number),
    D12(D3D12_FEATURE_D3D12_OPTIONS1, D3D12_FEATURE_DATA_D3D12_OPTIONS1, TotalLaneCount, number),
    D12(D3D12_FEATURE_D3D12_OPTIONS1, D3D12_FEATURE_DATA_D3D12_OPTIONS1, ExpandedComputeResourceStates, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS1, D3D12_FEATURE_DATA_D3D12_OPTIONS1, Int64ShaderOps, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS2, D3D12_FEATURE_DATA_D3D12_OPTIONS2, DepthBoundsTestSupported, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS2, D3D12_FEATURE_DATA_D3D12_OPTIONS2, ProgrammableSamplePositionsTier, number),
    D12(D3D12_FEATURE_D3D12_OPTIONS3, D3D12_FEATURE_DATA_D3D12_OPTIONS3, CopyQueueTimestampQueriesSupported, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS3, D3D12_FEATURE_DATA_D3D12_OPTIONS3, CastingFullyTypedFormatSupported, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS3, D3D12_FEATURE_DATA_D3D12_OPTIONS3, WriteBufferImmediateSupportFlags, command_lists),
    D12(D3D12_FEATURE_D3D12_OPTIONS3, D3D12_FEATURE_DATA_D3D12_OPTIONS3, ViewInstancingTier, number),
    D12(D3D12_FEATURE_D3D12_OPTIONS3, D3D12_FEATURE_DATA_D3D12_OPTIONS3, BarycentricsSupported, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS4, D3D12_FEATURE_DATA_D3D12_OPTIONS4, MSAA64KBAlignedTextureSupported, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS4, D3D12_FEATURE_DATA_D3D12_OPTIONS4, SharedResourceCompatibilityTier, number),
    D12(D3D12_FEATURE_D3D12_OPTIONS4, D3D12_FEATURE_DATA_D3D12_OPTIONS4, Native16BitShaderOpsSupported, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS5, D3D12_FEATURE_DATA_D3D12_OPTIONS5, SRVOnlyTiledResourceTier3, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS5, D3D12_FEATURE_DATA_D3D12_OPTIONS5, RenderPassesTier, number),
    D12(D3D12_FEATURE_D3D12_OPTIONS5, D3D12_FEATURE_DATA_D3D12_OPTIONS5, RaytracingTier, tenths),
    D12(D3D12_FEATURE_D3D12_OPTIONS6, options12_6, AdditionalShadingRatesSupported, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS6, options12_6, PerPrimitiveShadingRateSupportedWithViewportIndexing, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS6, options12_6, VariableShadingRateTier, number),
    D12(D3D12_FEATURE_D3D12_OPTIONS6, options12_6, ShadingRateImageTileSize, number),
    D12(D3D12_FEATURE_D3D12_OPTIONS6, options12_6, BackgroundProcessingSupported, yes_no),
    D12(D3D12_FEATURE_D3D12_OPTIONS7, options12_7, MeshShaderTier, tenths),
    D12(D3D12_FEATURE_D3D12_OPTIONS7, options12_7, SamplerFeedbackTier, hundredths),
    D12(D3D12_FEATURE_GPU_VIRTUAL_ADDRESS_SUPPORT, D3D12_FEATURE_DATA_GPU_VIRTUAL_ADDRESS_SUPPORT, MaxGPUVirtualAddressBitsPerProcess, number),
    D12(D3D12_FEATURE_ARCHITECTURE, D3D12_FEATURE_DATA_ARCHITECTURE, TileBasedRenderer, yes_no),
    D12(D3D12_FEATURE_ARCHITECTURE, D3D12_FEATURE_DATA_ARCHITECTURE, UMA, yes_no),
    D12(D3D12_FEATURE_ARCHITECTURE, D3D12_FEATURE_DATA_ARCHITECTURE, CacheCoherentUMA, yes_no),
    D12(36, options12_8, UnalignedBlockTexturesSupported, yes_no),
    D12(37, options12_9, MeshShaderPipelineStatsSupported, yes_no),
    D12(37, options12_9, MeshShaderSupportsFullRangeRenderTargetArrayIndex, yes_no),
    D12(37, options12_9, AtomicInt64OnTypedResourceSupported, yes_no),
    D12(37, options12_9, AtomicInt64OnGroupSharedSupported, yes_no),
    D12(37, options12_9, DerivativesInMeshAndAmplificationShadersSupported, yes_no),
    D12(37, options12_9, WaveMMATier, tenths),
    D12(39, options12_10, VariableRateShadingSumCombinerSupported, yes_no),
    D12(39, options12_10, MeshShaderPerPrimitiveShadingRateSupported, yes_no),
    D12(40, options12_11, AtomicInt64OnDescriptorHeapResourceSupported, yes_no),
    D12(41, options12_12, MSPrimitivesPipelineStatisticIncludesCulledPrimitives, tri_state),
    D12(41, options12_12, EnhancedBarriersSupported, yes_no),
    D12(41, options12_12, RelaxedFormatCastingSupported, yes_no),
    D12(42, options12_13, UnrestrictedBufferTextureCopyPitchSupported, yes_no),
    D12(42, options12_13, UnrestrictedVertexElementAlignmentSupported, yes_no),
    D12(42, options12_13, InvertedViewportHeightFlipsYSupported, yes_no),
    D12(42, options12_13, InvertedViewportDepthFlipsZSupported, yes_no),
    D12(42, options12_13, TextureCopyBetweenDimensionsSupported, yes_no),
    D12(42, options12_13, AlphaBlendFactorSupported, yes_no),
    D12(43, options12_14, AdvancedTextureOpsSupported, yes_no),
    D12(43, options12_14, WriteableMSAATexturesSupported, yes_no),
    D12(43, options12_14, IndependentFrontAndBackStencilRefMaskSupported, yes_no),
    D12(44, options12_15, TriangleFanSupported, yes_no),
    D12(44, options12_15, DynamicIndexBufferStripCutSupported, yes_no),
    D12(45, options12_16, DynamicDepthBiasSupported, yes_no),
    D12(45, options12_16, GPUUploadHeapSupported, yes_no),
    D12(46, options12_17, NonNormalizedCoordinateSamplersSupported, yes_no),
    D12(46, options12_17, ManualWriteTrackingResourceSupported, yes_no),
    D12(47, options12_18, RenderPassesValid, yes_no),
    D12(48, options12_19, MismatchingOutputDimensionsSupported, yes_no),
    D12(48, options12_19, SupportedSampleCountsWithNoOutputs, hex),
    D12(48, options12_19, PointSamplingAddressesNeverRoundUp, yes_no),
    D12(48, options12_19, RasterizerDesc2Supported, yes_no),
    D12(48, options12_19, NarrowQuadrilateralLinesSupported, yes_no),
    D12(48, options12_19, AnisoFilterWithPointMipSupported, yes_no),
    D12(48, options12_19, MaxSamplerDescriptorHeapSize, number),
    D12(48, options12_19, MaxSamplerDescriptorHeapSizeWithStaticSamplers, number),
    D12(48, options12_19, MaxViewDescriptorHeapSize, number),
    D12(48, options12_19, ComputeOnlyCustomHeapSupported, yes_no),
    D12(49, options12_20, ComputeOnlyWriteWatchSupported, yes_no),
    D12(49, options12_20, RecreateAtTier, number),
    D12(53, options12_21, WorkGraphsTier, tenths),
    D12(53, options12_21, ExecuteIndirectTier, tenths),
    D12(53, options12_21, SampleCmpGradientAndBiasSupported, yes_no),
    D12(53, options12_21, ExtendedCommandInfoSupported, yes_no),
    D12(D3D12_FEATURE_SHADER_CACHE, D3D12_FEATURE_DATA_SHADER_CACHE, SupportFlags, cache_kinds),
    D12(D3D12_FEATURE_SERIALIZATION, D3D12_FEATURE_DATA_SERIALIZATION, HeapSerializationTier, tenths),
    D12(D3D12_FEATURE_CROSS_NODE, D3D12_FEATURE_DATA_CROSS_NODE, SharingTier, cross_node),
    D12(D3D12_FEATURE_CROSS_NODE, D3D12_FEATURE_DATA_CROSS_NODE, AtomicShaderInstructions, yes_no),
    {{"[Direct3D 12]", "Supported (existing heaps)"}, [](const devices& d) -> std::string {
         D3D12_FEATURE_DATA_EXISTING_HEAPS data{};
         return d.d3d12 && d.d3d12->CheckFeatureSupport(D3D12_FEATURE_EXISTING_HEAPS, &data, sizeof data) == S_OK
                    ? yes_no(data.Supported) : na;
     }},
};
// clang-format on

// The three rows above the sections, asked the same way the page promises.
std::map<std::string, std::string> top_rows(const devices& d) {
    std::map<std::string, std::string> rows{{"Direct3D 11 feature level", na},
                                            {"Direct3D 12 feature level", na},
                                            {"Highest shader model", na},
                                            {"HighestVersion", na}};
    if (d.d3d11) {
        rows["Direct3D 11 feature level"] = level_text(d.level11);
    }
    if (d.d3d12) {
        const D3D_FEATURE_LEVEL asked[] = {static_cast<D3D_FEATURE_LEVEL>(0xC200), D3D_FEATURE_LEVEL_12_1,
                                           D3D_FEATURE_LEVEL_12_0, D3D_FEATURE_LEVEL_11_1,
                                           D3D_FEATURE_LEVEL_11_0};
        D3D12_FEATURE_DATA_FEATURE_LEVELS levels{5, asked, D3D_FEATURE_LEVEL_11_0};
        if (d.d3d12->CheckFeatureSupport(D3D12_FEATURE_FEATURE_LEVELS, &levels, sizeof levels) != S_OK) {
            levels = {4, asked + 1, D3D_FEATURE_LEVEL_11_0};
            d.d3d12->CheckFeatureSupport(D3D12_FEATURE_FEATURE_LEVELS, &levels, sizeof levels);
        }
        rows["Direct3D 12 feature level"] = level_text(levels.MaxSupportedFeatureLevel);
        for (UINT model : {0x69u, 0x68u, 0x67u, 0x66u, 0x65u, 0x64u, 0x63u, 0x62u, 0x61u, 0x60u, 0x51u}) {
            D3D12_FEATURE_DATA_SHADER_MODEL data{static_cast<D3D_SHADER_MODEL>(model)};
            const HRESULT status =
                d.d3d12->CheckFeatureSupport(D3D12_FEATURE_SHADER_MODEL, &data, sizeof data);
            if (status == S_OK) {
                rows["Highest shader model"] = std::to_string(data.HighestShaderModel >> 4) + "." +
                                               std::to_string(data.HighestShaderModel & 0xF);
            }
            if (status != E_INVALIDARG) {
                break;
            }
        }
        for (UINT version : {2u, 1u}) {
            D3D12_FEATURE_DATA_ROOT_SIGNATURE data{static_cast<D3D_ROOT_SIGNATURE_VERSION>(version)};
            if (d.d3d12->CheckFeatureSupport(D3D12_FEATURE_ROOT_SIGNATURE, &data, sizeof data) == S_OK) {
                rows["HighestVersion"] = "1." + std::to_string(data.HighestVersion - 1);
                break;
            }
        }
    }
    return rows;
}

devices create_devices(IDXGIAdapter* adapter) {
    using create11_fn =
        HRESULT(WINAPI*)(IDXGIAdapter*, D3D_DRIVER_TYPE, HMODULE, UINT, const D3D_FEATURE_LEVEL*, UINT, UINT,
                         ID3D11Device**, D3D_FEATURE_LEVEL*, ID3D11DeviceContext**);
    using create12_fn = HRESULT(WINAPI*)(IUnknown*, D3D_FEATURE_LEVEL, REFIID, void**);
    devices d;
    if (const auto create = get_proc<create11_fn>(LoadLibraryA("d3d11.dll"), "D3D11CreateDevice")) {
        const D3D_FEATURE_LEVEL levels[] = {
            D3D_FEATURE_LEVEL_11_1, D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_10_1, D3D_FEATURE_LEVEL_10_0,
            D3D_FEATURE_LEVEL_9_3,  D3D_FEATURE_LEVEL_9_2,  D3D_FEATURE_LEVEL_9_1};
        if (create(adapter, D3D_DRIVER_TYPE_UNKNOWN, nullptr, 0, levels, 7, D3D11_SDK_VERSION, &d.d3d11,
                   &d.level11, nullptr) == E_INVALIDARG) {
            create(adapter, D3D_DRIVER_TYPE_UNKNOWN, nullptr, 0, levels + 1, 6, D3D11_SDK_VERSION, &d.d3d11,
                   &d.level11, nullptr);
        }
    }
    if (const auto create = get_proc<create12_fn>(LoadLibraryA("d3d12.dll"), "D3D12CreateDevice")) {
        create(adapter, D3D_FEATURE_LEVEL_11_0, __uuidof(ID3D12Device),
               reinterpret_cast<void**>(d.d3d12.GetAddressOf()));
    }
    return d;
}

// A DXGI factory of the test's own; none on the Direct3D 9 path.
ComPtr<IDXGIFactory> dxgi_factory() {
    using create_factory_fn = HRESULT(WINAPI*)(REFIID, void**);
    const auto create_factory = get_proc<create_factory_fn>(LoadLibraryA("dxgi.dll"), "CreateDXGIFactory");
    ComPtr<IDXGIFactory> factory;
    if (create_factory != nullptr) {
        create_factory(__uuidof(IDXGIFactory), reinterpret_cast<void**>(factory.GetAddressOf()));
    }
    return factory;
}

TEST(D3d11And12Platform, EveryRowIsWhatTheRuntimesSay) {
    if (!shape_has_direct3d()) {
        GTEST_SKIP() << "no Direct3D on this shape";
    }
    init_reference_data();
    const startup_capture& capture = shared_capture();
    const std::vector<dx_adapter>& direct3d = capture.adapters;
    const ComPtr<IDXGIFactory> factory = dxgi_factory();
    if (!factory) {
        GTEST_SKIP() << "no DXGI: the page reads nothing on the Direct3D 9 path";
    }
    int compared = 0;
    ComPtr<IDXGIAdapter> adapter;
    for (UINT i = 0; factory->EnumAdapters(i, adapter.ReleaseAndGetAddressOf()) == S_OK; ++i) {
        SCOPED_TRACE("adapter " + std::to_string(i));
        ASSERT_LT(static_cast<int>(i), static_cast<int>(direct3d.size()));
        const report_page page = page_from(direct3d[i], page_id::dx_d3d11_12);
        const devices d = create_devices(adapter.Get());
        const auto top = top_rows(d);
        std::string section;
        size_t witnessed = 0;
        for (const report_row& row : page.rows) {
            const std::string& name = row.name;
            const std::string& value = row.value;
            if (name.empty() || name[0] == '[') {
                section = name;
                continue;
            }
            SCOPED_TRACE(section + " " + name);
            if (top.count(name) != 0) {
                EXPECT_EQ(top.at(name), value);
            } else {
                const auto found = witnesses.find({section, name});
                ASSERT_NE(witnesses.end(), found) << "a row without a witness";
                EXPECT_EQ(found->second(d), value);
                ++witnessed;
            }
            ++compared;
        }
        EXPECT_EQ(witnesses.size(), witnessed);
    }
    EXPECT_GT(compared, 0);
}

}  // namespace

// What one runtime says of one format, as the Formats page words its support
// bits and sample counts.
struct format_answer {
    bool answered = false;
    UINT support1 = 0;
    UINT support2 = 0;
    bool second_word = false;
    std::string counts;  // " x4 x8"

    std::string description(UINT format) const {
        char bits[80];
        std::snprintf(
            bits, sizeof bits,
            second_word ? "0x%08X and 0x%08X." : "0x%08X; the second support word was not available.",
            support1, support2);
        return "DXGI format " + std::to_string(format) +
               (answered ? "; support bits " + std::string(bits) : "; the runtime does not support it.");
    }
};

format_answer ask_format(const devices& d, bool d3d12, UINT format) {
    format_answer a;
    const auto fmt = static_cast<DXGI_FORMAT>(format);
    if (!d3d12) {
        a.answered = d.d3d11->CheckFormatSupport(fmt, &a.support1) == S_OK;
        D3D11_FEATURE_DATA_FORMAT_SUPPORT2 second{fmt, 0};
        a.second_word =
            a.answered && a.support1 != 0 &&
            d.d3d11->CheckFeatureSupport(D3D11_FEATURE_FORMAT_SUPPORT2, &second, sizeof second) == S_OK;
        a.support2 = a.second_word ? second.OutFormatSupport2 : 0;
    } else {
        D3D12_FEATURE_DATA_FORMAT_SUPPORT support{fmt, {}, {}};
        a.answered = a.second_word =
            d.d3d12->CheckFeatureSupport(D3D12_FEATURE_FORMAT_SUPPORT, &support, sizeof support) == S_OK;
        a.support1 = a.answered ? support.Support1 : 0;
        a.support2 = a.answered ? support.Support2 : 0;
    }
    for (UINT samples = 2; a.support1 != 0 && samples <= 32; samples *= 2) {
        UINT levels = 0;
        if (!d3d12) {
            d.d3d11->CheckMultisampleQualityLevels(fmt, samples, &levels);
        } else {
            D3D12_FEATURE_DATA_MULTISAMPLE_QUALITY_LEVELS data{fmt, samples, {}, 0};
            if (d.d3d12->CheckFeatureSupport(D3D12_FEATURE_MULTISAMPLE_QUALITY_LEVELS, &data, sizeof data) ==
                S_OK) {
                levels = data.NumQualityLevels;
            }
        }
        a.counts += levels > 0 ? " x" + std::to_string(samples) : "";
    }
    return a;
}

// Every row of the Formats page against this test's own sweep of every
// format (the support bits, the sample counts, what is not supported), and
// the adapter's memory and outputs against what DXGI tells this test.
TEST(D3d11And12Platform, FormatsMemoryAndOutputsAreWhatDxgiSays) {
    const ComPtr<IDXGIFactory> factory = dxgi_factory();
    if (!shape_has_direct3d() || !factory) {
        GTEST_SKIP() << "no DXGI on this shape";
    }
    init_reference_data();
    const startup_capture& capture = shared_capture();
    ComPtr<IDXGIAdapter> adapter;
    ASSERT_EQ(S_OK, factory->EnumAdapters(0, &adapter));
    const devices d = create_devices(adapter.Get());
    const report_page page = page_from(capture.adapters.at(0), page_id::dx_formats);
    bool d3d12 = false;
    bool dxgi = false;  // past Direct3D 9's formats
    int supported[2] = {};
    for (const report_row& row : page.rows) {
        if (row.kind == row_kind::section || row.kind == row_kind::blank) {
            d3d12 = d3d12 || row.name == "[Direct3D 12]";
            dxgi = dxgi || row.name == "[Direct3D 11]";
            continue;
        }
        if (!dxgi) {
            continue;
        }
        SCOPED_TRACE((d3d12 ? "12 " : "11 ") + row.name);
        UINT format = 0;
        ASSERT_EQ(1, std::sscanf(row.description.c_str(), "DXGI format %u", &format));
        if (!(d3d12 ? static_cast<bool>(d.d3d12) : static_cast<bool>(d.d3d11))) {
            EXPECT_EQ(na, row.value);
            continue;
        }
        const format_answer a = ask_format(d, d3d12, format);
        EXPECT_EQ(a.description(format), row.description);
        const bool nothing = a.support1 == 0 && a.support2 == 0 && a.counts.empty();
        EXPECT_EQ(nothing, row.value == "not supported");
        const size_t msaa = row.value.rfind("MSAA x");
        EXPECT_EQ(a.counts, msaa == std::string::npos ? "" : row.value.substr(msaa + 4));
        supported[d3d12] += nothing ? 0 : 1;
    }
    std::printf("formats with some support: Direct3D 11 %d, Direct3D 12 %d\n", supported[0], supported[1]);

    const dx_adapter& record = capture.adapters.at(0);
    DXGI_ADAPTER_DESC desc{};
    ASSERT_EQ(S_OK, adapter->GetDesc(&desc));
    const report_page device = page_from(record, page_id::dx_device);
    EXPECT_EQ(std::to_string((desc.DedicatedVideoMemory + (1 << 19)) >> 20) + " MiB",
              value_of(device, "Dedicated video memory"));
    EXPECT_EQ(std::to_string((desc.SharedSystemMemory + (1 << 19)) >> 20) + " MiB",
              value_of(device, "Shared system memory"));
    ComPtr<IDXGIAdapter3> adapter3;
    EXPECT_EQ(FAILED(adapter.As(&adapter3)), value_of(device, "Local budget") == na);

    const report_page outputs = page_from(record, page_id::dx_outputs);
    ComPtr<IDXGIFactory5> factory5;
    BOOL tearing = FALSE;
    const bool asked =
        SUCCEEDED(factory.As(&factory5)) &&
        factory5->CheckFeatureSupport(DXGI_FEATURE_PRESENT_ALLOW_TEARING, &tearing, sizeof tearing) == S_OK;
    EXPECT_EQ(asked ? yes_no(tearing) : na, value_of(outputs, "Tearing allowed"));
    ComPtr<IDXGIOutput> output;
    UINT count = 0;
    for (; adapter->EnumOutputs(count, output.ReleaseAndGetAddressOf()) == S_OK; ++count) {
        const int section = find_row(outputs, "[Output " + std::to_string(count + 1) + "]");
        ASSERT_GE(section, 0);
        const auto value = [&](int offset) {
            return outputs.rows[static_cast<size_t>(section + offset)].value;
        };
        DXGI_OUTPUT_DESC out{};
        ASSERT_EQ(S_OK, output->GetDesc(&out));
        EXPECT_EQ(utf8_of(out.DeviceName), value(1));
        EXPECT_EQ(yes_no(out.AttachedToDesktop), value(4));
        ComPtr<IDXGIOutput6> output6;
        DXGI_OUTPUT_DESC1 desc1{};
        const bool has6 = SUCCEEDED(output.As(&output6)) && output6->GetDesc1(&desc1) == S_OK;
        // An output that leaves its colour depth empty does not say it.
        EXPECT_EQ(has6 && desc1.BitsPerColor != 0 ? std::to_string(desc1.BitsPerColor) : na, value(6));
    }
    EXPECT_EQ(std::to_string(count), value_of(outputs, "Outputs"));
}
