// The Direct3D 11 and 12 feature structures, as one table: each structure
// the probe asks through CheckFeatureSupport, with its runtime, feature value
// and size, and each field of it the page shows, by its place, meaning and
// published name. The probe's capture and the page's rows both walk it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The structures, in page order.
enum class d3d_query : uint8_t {
    threading11,
    doubles11,
    hardware_options11,
    options11,
    options11_1,
    options11_2,
    options11_3,
    options11_4,
    options11_5,
    architecture11,
    min_precision11,
    root_signature12,
    options12,
    options12_1,
    options12_2,
    options12_3,
    options12_4,
    options12_5,
    options12_6,
    options12_7,
    options12_8,
    options12_9,
    options12_10,
    options12_11,
    options12_12,
    options12_13,
    options12_14,
    options12_15,
    options12_16,
    options12_17,
    options12_18,
    options12_19,
    options12_20,
    options12_21,
    virtual_address12,
    architecture12,
    shader_cache12,
    existing_heaps12,
    serialization12,
    cross_node12,
};

enum class d3d_runtime : uint8_t { d3d11, d3d12 };

// How a field's word reads.
enum class d3d_field_kind : uint8_t {
    yes_no,
    number,
    mask,             // bits, as a hexadecimal number
    tier,             // 0, 1, 2, 3
    tier_tenths,      // 10 is tier 1.0, 11 tier 1.1
    tier_hundredths,  // 90 is tier 0.9, 100 tier 1.0
    root_signature,   // 1 is version 1.0, 2 version 1.1
    min_precision,    // D3D11/D3D12 minimum precision flags
    command_lists,    // D3D12_COMMAND_LIST_SUPPORT_FLAGS
    cross_node_tier,  // D3D12_CROSS_NODE_SHARING_TIER: 1 is tier 1 emulated, 2 tier 1
    tri_state,        // D3D12_TRI_STATE: -1 unknown, 0 no, 1 yes
    shader_cache,     // D3D12_SHADER_CACHE_SUPPORT_FLAGS
};

// One field: its place in its structure (every field of these structures is
// one 32-bit word), how it reads, its published name and what it means.
struct d3d_field {
    uint8_t word;
    d3d_field_kind kind;
    const char* name;
    const char* description;
};

namespace d3d_fields {

using enum d3d_field_kind;

// The fields in page order; a field that repeats one shown earlier in its
// section (the tiled resources tier of D3D11_OPTIONS2, the per-resource
// address bits of D3D12's address support) is left out.
inline constexpr d3d_field threading11_fields[] = {
    {0, yes_no, "DriverConcurrentCreates", "The driver can create resources on several threads at once."},
    {1, yes_no, "DriverCommandLists",
     "The driver records command lists itself instead of leaving them to the runtime."},
};
inline constexpr d3d_field doubles11_fields[] = {
    {0, yes_no, "DoublePrecisionFloatShaderOps", "Shaders can compute with 64-bit floating-point values."},
};
inline constexpr d3d_field hardware_options11_fields[] = {
    {0, yes_no, "ComputeShaders_Plus_RawAndStructuredBuffers_Via_Shader_4_x",
     "Compute shaders and raw and structured buffers work at feature levels 10_0 and 10_1."},
};
inline constexpr d3d_field options11_fields[] = {
    {0, yes_no, "OutputMergerLogicOp", "Blending can combine colours with logic operations."},
    {1, yes_no, "UAVOnlyRenderingForcedSampleCount",
     "Rendering to unordered access views alone can force a sample count."},
    {2, yes_no, "DiscardAPIsSeenByDriver", "The driver is told when a resource or view is discarded."},
    {3, yes_no, "FlagsForUpdateAndCopySeenByDriver",
     "The driver sees the no-overwrite and discard flags of updates and copies."},
    {4, yes_no, "ClearView", "A view can be cleared, all of it or in rectangles, to any colour."},
    {5, yes_no, "CopyWithOverlap", "A copy within one resource may overlap its source."},
    {6, yes_no, "ConstantBufferPartialUpdate", "Part of a constant buffer can be updated."},
    {7, yes_no, "ConstantBufferOffsetting", "Shaders can be bound to a window of a larger constant buffer."},
    {8, yes_no, "MapNoOverwriteOnDynamicConstantBuffer",
     "A dynamic constant buffer can be mapped without overwriting data in use."},
    {9, yes_no, "MapNoOverwriteOnDynamicBufferSRV",
     "A dynamic buffer read through a shader resource view can be mapped without overwriting data in use."},
    {10, yes_no, "MultisampleRTVWithForcedSampleCountOne",
     "A multisampled render target can be drawn with a forced sample count of one."},
    {11, yes_no, "SAD4ShaderInstructions", "Shaders have the sum-of-absolute-differences instructions."},
    {12, yes_no, "ExtendedDoublesShaderInstructions",
     "Shaders can divide, take reciprocals and fused multiply-adds of 64-bit values."},
    {13, yes_no, "ExtendedResourceSharing", "More kinds of resources can be shared between devices."},
};
inline constexpr d3d_field options11_1_fields[] = {
    {0, tier, "TiledResourcesTier", "Tier of tiled resources, whose memory is mapped in tiles; 0 for none."},
    {1, yes_no, "MinMaxFiltering", "Samplers can return the minimum or maximum of the texels they read."},
    {2, yes_no, "ClearViewAlsoSupportsDepthOnlyFormats",
     "Views of depth-only formats can be cleared with ClearView."},
    {3, yes_no, "MapOnDefaultBuffers", "Buffers in default memory can be mapped by the processor."},
};
inline constexpr d3d_field options11_2_fields[] = {
    {0, yes_no, "PSSpecifiedStencilRefSupported", "The pixel shader can set the stencil reference value."},
    {1, yes_no, "TypedUAVLoadAdditionalFormats",
     "Typed unordered access views can be read in more formats than the basic three."},
    {2, yes_no, "ROVsSupported", "Rasterizer ordered views keep writes to a pixel in draw order."},
    {3, tier, "ConservativeRasterizationTier",
     "Tier of conservative rasterization, which covers every pixel a primitive touches; 0 for none."},
    {5, yes_no, "MapOnDefaultTextures", "Textures in default memory can be mapped by the processor."},
    {6, yes_no, "StandardSwizzle", "Textures can use the standard layout of texels in memory."},
    {7, yes_no, "UnifiedMemoryArchitecture", "The adapter shares its memory with the processor."},
};
inline constexpr d3d_field options11_3_fields[] = {
    {0, yes_no, "VPAndRTArrayIndexFromAnyShaderFeedingRasterizer",
     "Any shader before the rasterizer can choose the viewport and render target array index."},
};
inline constexpr d3d_field options11_4_fields[] = {
    {0, yes_no, "ExtendedNV12SharedTextureSupported",
     "Textures in the NV12 video format can be shared between devices."},
};
inline constexpr d3d_field options11_5_fields[] = {
    {0, tier, "SharedResourceTier", "Tier of resource formats that can be shared between devices."},
};
inline constexpr d3d_field architecture11_fields[] = {
    {0, yes_no, "TileBasedDeferredRenderer",
     "The adapter renders the screen in tiles, so that render-target changes cost more."},
};
inline constexpr d3d_field min_precision11_fields[] = {
    {0, min_precision, "PixelShaderMinPrecision",
     "Lower precisions the pixel shader may compute with, besides 32 bits."},
    {1, min_precision, "AllOtherShaderStagesMinPrecision",
     "Lower precisions the other shader stages may compute with, besides 32 bits."},
};
inline constexpr d3d_field root_signature12_fields[] = {
    {0, root_signature, "HighestVersion", "Highest version of root signatures the device accepts."},
};
inline constexpr d3d_field options12_fields[] = {
    {0, yes_no, "DoublePrecisionFloatShaderOps", "Shaders can compute with 64-bit floating-point values."},
    {1, yes_no, "OutputMergerLogicOp", "Blending can combine colours with logic operations."},
    {2, min_precision, "MinPrecisionSupport", "Lower precisions shaders may compute with, besides 32 bits."},
    {3, tier, "TiledResourcesTier", "Tier of tiled resources, whose memory is mapped in tiles; 0 for none."},
    {4, tier, "ResourceBindingTier",
     "Tier of resource binding, which sets how many descriptors shaders can reach."},
    {5, yes_no, "PSSpecifiedStencilRefSupported", "The pixel shader can set the stencil reference value."},
    {6, yes_no, "TypedUAVLoadAdditionalFormats",
     "Typed unordered access views can be read in more formats than the basic three."},
    {7, yes_no, "ROVsSupported", "Rasterizer ordered views keep writes to a pixel in draw order."},
    {8, tier, "ConservativeRasterizationTier",
     "Tier of conservative rasterization, which covers every pixel a primitive touches; 0 for none."},
    {9, number, "MaxGPUVirtualAddressBitsPerResource",
     "Bits of graphics-processor virtual address that one resource can span."},
    {10, yes_no, "StandardSwizzle64KBSupported",
     "Textures can use the standard 64 KB layout of texels in memory."},
    {11, cross_node_tier, "CrossNodeSharingTier",
     "Tier of sharing between the nodes of a linked adapter; 0 for none."},
    {12, yes_no, "CrossAdapterRowMajorTextureSupported",
     "Textures laid out row by row can be shared with other adapters."},
    {13, yes_no, "VPAndRTArrayIndexFromAnyShaderFeedingRasterizerSupportedWithoutGSEmulation",
     "Any shader before the rasterizer can choose the viewport and render target array index without a "
     "geometry shader."},
    {14, tier, "ResourceHeapTier",
     "Tier of resource heaps: 1 keeps buffers, textures and render targets in separate heaps, 2 allows them "
     "together."},
};
inline constexpr d3d_field options12_1_fields[] = {
    {0, yes_no, "WaveOps", "Shaders can exchange values between the lanes of a wave."},
    {1, number, "WaveLaneCountMin", "Smallest number of lanes in a wave."},
    {2, number, "WaveLaneCountMax", "Largest number of lanes in a wave."},
    {3, number, "TotalLaneCount", "Number of lanes the adapter runs at once."},
    {4, yes_no, "ExpandedComputeResourceStates", "Compute command lists can use more resource states."},
    {5, yes_no, "Int64ShaderOps", "Shaders can compute with 64-bit integers."},
};
inline constexpr d3d_field options12_2_fields[] = {
    {0, yes_no, "DepthBoundsTestSupported",
     "Pixels can be discarded when the stored depth is outside a range."},
    {1, tier, "ProgrammableSamplePositionsTier",
     "Tier of programmable sample positions for multisampling; 0 for none."},
};
inline constexpr d3d_field options12_3_fields[] = {
    {0, yes_no, "CopyQueueTimestampQueriesSupported", "Copy queues can write timestamps."},
    {1, yes_no, "CastingFullyTypedFormatSupported",
     "A resource of a fully typed format can be viewed in another format of its family."},
    {2, command_lists, "WriteBufferImmediateSupportFlags",
     "Kinds of command list that can write values into buffers directly."},
    {3, tier, "ViewInstancingTier",
     "Tier of view instancing, which draws one set of primitives into several views; 0 for none."},
    {4, yes_no, "BarycentricsSupported",
     "The pixel shader can read its barycentric coordinates within the triangle."},
};
inline constexpr d3d_field options12_4_fields[] = {
    {0, yes_no, "MSAA64KBAlignedTextureSupported",
     "Multisampled textures can be aligned to 64 KB instead of 4 MB."},
    {1, tier, "SharedResourceCompatibilityTier",
     "Tier of resource formats that can be shared with other devices."},
    {2, yes_no, "Native16BitShaderOpsSupported", "Shaders can compute with 16-bit values natively."},
};
inline constexpr d3d_field options12_5_fields[] = {
    {0, yes_no, "SRVOnlyTiledResourceTier3",
     "Tiled resources of tier 3 can be read through shader resource views alone."},
    {1, tier, "RenderPassesTier", "Tier of the driver's support for render passes; 0 for none."},
    {2, tier_tenths, "RaytracingTier", "Tier of hardware ray tracing; 0 for none."},
};
inline constexpr d3d_field options12_6_fields[] = {
    {0, yes_no, "AdditionalShadingRatesSupported",
     "Variable-rate shading also has the coarser rates of 2x4, 4x2 and 4x4 pixels."},
    {1, yes_no, "PerPrimitiveShadingRateSupportedWithViewportIndexing",
     "The shading rate can be set per primitive while the viewport index is also set."},
    {2, tier, "VariableShadingRateTier",
     "Tier of variable-rate shading, which shades several pixels at once; 0 for none."},
    {3, number, "ShadingRateImageTileSize",
     "Width and height in pixels of a tile of the shading-rate image."},
    {4, yes_no, "BackgroundProcessingSupported",
     "The driver can do its own work in the background when asked to."},
};
inline constexpr d3d_field options12_7_fields[] = {
    {0, tier_tenths, "MeshShaderTier",
     "Tier of mesh and amplification shaders, which replace the vertex stages; 0 for none."},
    {1, tier_hundredths, "SamplerFeedbackTier",
     "Tier of sampler feedback, which records which texels were sampled; 0 for none."},
};
inline constexpr d3d_field options12_8_fields[] = {
    {0, yes_no, "UnalignedBlockTexturesSupported",
     "Block-compressed textures may have a top level whose size is not a multiple of the block size."},
};
inline constexpr d3d_field options12_9_fields[] = {
    {0, yes_no, "MeshShaderPipelineStatsSupported",
     "Pipeline statistics count the invocations of mesh and amplification shaders."},
    {1, yes_no, "MeshShaderSupportsFullRangeRenderTargetArrayIndex",
     "Mesh shaders can choose any render target array index, not only the first eight."},
    {2, yes_no, "AtomicInt64OnTypedResourceSupported",
     "Shaders can do 64-bit atomic operations on typed resources."},
    {3, yes_no, "AtomicInt64OnGroupSharedSupported",
     "Shaders can do 64-bit atomic operations on group-shared memory."},
    {4, yes_no, "DerivativesInMeshAndAmplificationShadersSupported",
     "Mesh and amplification shaders can compute derivatives."},
    {5, tier_tenths, "WaveMMATier",
     "Tier of matrix multiply-accumulate operations across a wave; 0 for none."},
};
inline constexpr d3d_field options12_10_fields[] = {
    {0, yes_no, "VariableRateShadingSumCombinerSupported",
     "Variable-rate shading can combine two rates by adding them."},
    {1, yes_no, "MeshShaderPerPrimitiveShadingRateSupported",
     "Mesh shaders can set the shading rate of each primitive."},
};
inline constexpr d3d_field options12_11_fields[] = {
    {0, yes_no, "AtomicInt64OnDescriptorHeapResourceSupported",
     "Shaders can do 64-bit atomic operations on resources reached through a descriptor heap."},
};
inline constexpr d3d_field options12_12_fields[] = {
    {0, tri_state, "MSPrimitivesPipelineStatisticIncludesCulledPrimitives",
     "The count of mesh shader primitives in pipeline statistics includes culled ones; unknown where the "
     "driver cannot say."},
    {1, yes_no, "EnhancedBarriersSupported", "Resource transitions can use enhanced barriers."},
    {2, yes_no, "RelaxedFormatCastingSupported",
     "A resource can be viewed in any format of the same size that its cast list names."},
};
inline constexpr d3d_field options12_13_fields[] = {
    {0, yes_no, "UnrestrictedBufferTextureCopyPitchSupported",
     "Copies between buffers and textures need no aligned row pitch or offset."},
    {1, yes_no, "UnrestrictedVertexElementAlignmentSupported",
     "Vertex elements need not be aligned to their size."},
    {2, yes_no, "InvertedViewportHeightFlipsYSupported",
     "A viewport of negative height turns the picture upside down."},
    {3, yes_no, "InvertedViewportDepthFlipsZSupported",
     "A viewport whose near depth is beyond its far depth inverts depth."},
    {4, yes_no, "TextureCopyBetweenDimensionsSupported", "Textures can be copied between 1D, 2D and 3D."},
    {5, yes_no, "AlphaBlendFactorSupported", "Blending can use a constant alpha factor of its own."},
};
inline constexpr d3d_field options12_14_fields[] = {
    {0, yes_no, "AdvancedTextureOpsSupported",
     "Shaders have the advanced texture operations of shader model 6.7."},
    {1, yes_no, "WriteableMSAATexturesSupported",
     "Multisampled textures can be written through unordered access views."},
    {2, yes_no, "IndependentFrontAndBackStencilRefMaskSupported",
     "Front and back faces can have stencil reference values and masks of their own."},
};
inline constexpr d3d_field options12_15_fields[] = {
    {0, yes_no, "TriangleFanSupported", "Triangle fans can be drawn."},
    {1, yes_no, "DynamicIndexBufferStripCutSupported",
     "The strip cut value of the index buffer can be set while commands are recorded."},
};
inline constexpr d3d_field options12_16_fields[] = {
    {0, yes_no, "DynamicDepthBiasSupported", "The depth bias can be set while commands are recorded."},
    {1, yes_no, "GPUUploadHeapSupported",
     "The processor can write straight into the adapter's own memory through upload heaps."},
};
inline constexpr d3d_field options12_17_fields[] = {
    {0, yes_no, "NonNormalizedCoordinateSamplersSupported",
     "Samplers can take texel coordinates that are not normalized."},
    {1, yes_no, "ManualWriteTrackingResourceSupported",
     "Resources can have their writes tracked by the application."},
};
inline constexpr d3d_field options12_18_fields[] = {
    {0, yes_no, "RenderPassesValid", "Render passes are valid on this device."},
};
inline constexpr d3d_field options12_19_fields[] = {
    {0, yes_no, "MismatchingOutputDimensionsSupported",
     "Render targets and the depth buffer may differ in size."},
    {1, mask, "SupportedSampleCountsWithNoOutputs",
     "Sample counts accepted for rasterizing without any render target, as a mask of bits."},
    {2, yes_no, "PointSamplingAddressesNeverRoundUp", "Point sampling never rounds a texel address up."},
    {3, yes_no, "RasterizerDesc2Supported",
     "Rasterizer states can be given in their second form, with a floating-point depth bias."},
    {4, yes_no, "NarrowQuadrilateralLinesSupported", "Lines can be drawn as narrow quadrilaterals."},
    {5, yes_no, "AnisoFilterWithPointMipSupported",
     "Anisotropic filtering can be combined with point filtering between mipmap levels."},
    {6, number, "MaxSamplerDescriptorHeapSize", "Most samplers a shader-visible sampler heap can hold."},
    {7, number, "MaxSamplerDescriptorHeapSizeWithStaticSamplers",
     "Most samplers a shader-visible sampler heap can hold where static samplers are also used."},
    {8, number, "MaxViewDescriptorHeapSize", "Most views a shader-visible descriptor heap can hold."},
    {9, yes_no, "ComputeOnlyCustomHeapSupported", "Devices for compute alone can use custom heaps."},
};
inline constexpr d3d_field options12_20_fields[] = {
    {0, yes_no, "ComputeOnlyWriteWatchSupported", "Devices for compute alone can watch writes to memory."},
    {1, tier, "RecreateAtTier",
     "Tier of recreating resources and heaps at the same addresses, as capture tools do; 0 for none."},
};
inline constexpr d3d_field options12_21_fields[] = {
    {0, tier_tenths, "WorkGraphsTier",
     "Tier of work graphs, in which shaders start other shaders; 0 for none."},
    {1, tier_tenths, "ExecuteIndirectTier", "Tier of indirect execution of command signatures."},
    {2, yes_no, "SampleCmpGradientAndBiasSupported",
     "Comparison sampling can take gradients and a level-of-detail bias."},
    {3, yes_no, "ExtendedCommandInfoSupported",
     "Shaders can read the start vertex and start instance of their draw."},
};
inline constexpr d3d_field virtual_address12_fields[] = {
    {1, number, "MaxGPUVirtualAddressBitsPerProcess",
     "Bits of graphics-processor virtual address that one process can use."},
};
inline constexpr d3d_field architecture12_fields[] = {
    {1, yes_no, "TileBasedRenderer", "The adapter renders the screen in tiles."},
    {2, yes_no, "UMA", "The adapter shares its memory with the processor."},
    {3, yes_no, "CacheCoherentUMA",
     "The shared memory is also cache coherent between the adapter and the processor."},
};
inline constexpr d3d_field shader_cache12_fields[] = {
    {0, shader_cache, "SupportFlags", "Kinds of shader cache the driver offers."},
};
inline constexpr d3d_field existing_heaps12_fields[] = {
    {0, yes_no, "Supported (existing heaps)",
     "Heaps can be made from memory the application allocated itself."},
};
// Its first word, the node, is an input: 0, the first node.
inline constexpr d3d_field serialization12_fields[] = {
    {1, tier_tenths, "HeapSerializationTier",
     "Tier of saving heaps and reading them back on the same adapter and driver; 0 for none."},
};
inline constexpr d3d_field cross_node12_fields[] = {
    {0, cross_node_tier, "SharingTier", "Tier of sharing between the nodes of a linked adapter."},
    {1, yes_no, "AtomicShaderInstructions",
     "Atomic shader operations work on memory shared between the nodes of a linked adapter."},
};

}  // namespace d3d_fields

// One structure: its runtime, its D3D11_FEATURE or D3D12_FEATURE value, its
// size in 32-bit words, and its fields.
struct d3d_feature_query {
    d3d_query id;
    d3d_runtime runtime;
    uint32_t feature;
    uint32_t words;
    std::span<const d3d_field> fields;
};

inline constexpr d3d_feature_query d3d_feature_queries[] = {
    {d3d_query::threading11, d3d_runtime::d3d11, 0, 2, d3d_fields::threading11_fields},
    {d3d_query::doubles11, d3d_runtime::d3d11, 1, 1, d3d_fields::doubles11_fields},
    {d3d_query::hardware_options11, d3d_runtime::d3d11, 4, 1, d3d_fields::hardware_options11_fields},
    {d3d_query::options11, d3d_runtime::d3d11, 5, 14, d3d_fields::options11_fields},
    {d3d_query::options11_1, d3d_runtime::d3d11, 10, 4, d3d_fields::options11_1_fields},
    {d3d_query::options11_2, d3d_runtime::d3d11, 14, 8, d3d_fields::options11_2_fields},
    {d3d_query::options11_3, d3d_runtime::d3d11, 15, 1, d3d_fields::options11_3_fields},
    {d3d_query::options11_4, d3d_runtime::d3d11, 17, 1, d3d_fields::options11_4_fields},
    {d3d_query::options11_5, d3d_runtime::d3d11, 19, 1, d3d_fields::options11_5_fields},
    {d3d_query::architecture11, d3d_runtime::d3d11, 6, 1, d3d_fields::architecture11_fields},
    {d3d_query::min_precision11, d3d_runtime::d3d11, 8, 2, d3d_fields::min_precision11_fields},
    {d3d_query::root_signature12, d3d_runtime::d3d12, 12, 1, d3d_fields::root_signature12_fields},
    {d3d_query::options12, d3d_runtime::d3d12, 0, 15, d3d_fields::options12_fields},
    {d3d_query::options12_1, d3d_runtime::d3d12, 8, 6, d3d_fields::options12_1_fields},
    {d3d_query::options12_2, d3d_runtime::d3d12, 18, 2, d3d_fields::options12_2_fields},
    {d3d_query::options12_3, d3d_runtime::d3d12, 21, 5, d3d_fields::options12_3_fields},
    {d3d_query::options12_4, d3d_runtime::d3d12, 23, 3, d3d_fields::options12_4_fields},
    {d3d_query::options12_5, d3d_runtime::d3d12, 27, 3, d3d_fields::options12_5_fields},
    {d3d_query::options12_6, d3d_runtime::d3d12, 30, 5, d3d_fields::options12_6_fields},
    {d3d_query::options12_7, d3d_runtime::d3d12, 32, 2, d3d_fields::options12_7_fields},
    {d3d_query::options12_8, d3d_runtime::d3d12, 36, 1, d3d_fields::options12_8_fields},
    {d3d_query::options12_9, d3d_runtime::d3d12, 37, 6, d3d_fields::options12_9_fields},
    {d3d_query::options12_10, d3d_runtime::d3d12, 39, 2, d3d_fields::options12_10_fields},
    {d3d_query::options12_11, d3d_runtime::d3d12, 40, 1, d3d_fields::options12_11_fields},
    {d3d_query::options12_12, d3d_runtime::d3d12, 41, 3, d3d_fields::options12_12_fields},
    {d3d_query::options12_13, d3d_runtime::d3d12, 42, 6, d3d_fields::options12_13_fields},
    {d3d_query::options12_14, d3d_runtime::d3d12, 43, 3, d3d_fields::options12_14_fields},
    {d3d_query::options12_15, d3d_runtime::d3d12, 44, 2, d3d_fields::options12_15_fields},
    {d3d_query::options12_16, d3d_runtime::d3d12, 45, 2, d3d_fields::options12_16_fields},
    {d3d_query::options12_17, d3d_runtime::d3d12, 46, 2, d3d_fields::options12_17_fields},
    {d3d_query::options12_18, d3d_runtime::d3d12, 47, 1, d3d_fields::options12_18_fields},
    {d3d_query::options12_19, d3d_runtime::d3d12, 48, 10, d3d_fields::options12_19_fields},
    {d3d_query::options12_20, d3d_runtime::d3d12, 49, 2, d3d_fields::options12_20_fields},
    {d3d_query::options12_21, d3d_runtime::d3d12, 53, 4, d3d_fields::options12_21_fields},
    {d3d_query::virtual_address12, d3d_runtime::d3d12, 6, 2, d3d_fields::virtual_address12_fields},
    {d3d_query::architecture12, d3d_runtime::d3d12, 1, 4, d3d_fields::architecture12_fields},
    {d3d_query::shader_cache12, d3d_runtime::d3d12, 19, 1, d3d_fields::shader_cache12_fields},
    {d3d_query::existing_heaps12, d3d_runtime::d3d12, 22, 1, d3d_fields::existing_heaps12_fields},
    {d3d_query::serialization12, d3d_runtime::d3d12, 24, 2, d3d_fields::serialization12_fields},
    {d3d_query::cross_node12, d3d_runtime::d3d12, 25, 2, d3d_fields::cross_node12_fields},
};
inline constexpr size_t d3d_query_count = std::size(d3d_feature_queries);

inline constexpr const d3d_feature_query& query_of(d3d_query id) {
    return d3d_feature_queries[static_cast<size_t>(id)];
}

constexpr bool the_table_holds_together() {
    for (size_t i = 0; i < d3d_query_count; ++i) {
        const d3d_feature_query& query = d3d_feature_queries[i];
        if (static_cast<size_t>(query.id) != i || query.fields.empty()) {
            return false;
        }
        for (const d3d_field& field : query.fields) {
            if (field.word >= query.words) {
                return false;
            }
        }
    }
    return true;
}
static_assert(the_table_holds_together(), "ids in table order; every field within its structure");

// Values the MinGW-w64 headers do not name yet, from their published values.
inline constexpr uint32_t feature_level_12_2 = 0xC200;
inline constexpr uint32_t shader_model_5_1 = 0x51;
inline constexpr uint32_t shader_model_6_9 = 0x69;
inline constexpr uint32_t root_signature_1_1 = 2;

// The DXGI formats the format sweeps ask: every value with a published name.
inline constexpr uint32_t dxgi_last_format = 191;

// What one runtime said of one DXGI format.
struct d3d_format_support {
    uint32_t format = 0;
    bool answered = false;  // the format query succeeded for it
    uint32_t support1 = 0;  // D3D11_FORMAT_SUPPORT / D3D12_FORMAT_SUPPORT1
    uint32_t support2 = 0;  // D3D11_FORMAT_SUPPORT2 / D3D12_FORMAT_SUPPORT2
    bool support2_answered = false;
    uint32_t sample_counts = 0;  // bit n: 2^n samples per pixel with a quality level, n >= 1
};

// What Direct3D 11 and 12 said of one adapter. Zero, or no words, where
// nothing could be read.
struct d3d11_12_record {
    uint32_t d3d11_feature_level = 0;  // a D3D_FEATURE_LEVEL
    uint32_t d3d12_feature_level = 0;
    uint32_t shader_model = 0;  // a D3D_SHADER_MODEL, 0x51 for 5.1
    // The words of each structure, by d3d_query; empty when not answered.
    std::array<std::vector<uint32_t>, d3d_query_count> answers;
    // Every format with a published name, in value order; empty where the
    // runtime or its format query is missing.
    std::vector<d3d_format_support> formats11;
    std::vector<d3d_format_support> formats12;

    const std::vector<uint32_t>& answer(d3d_query id) const { return answers[static_cast<size_t>(id)]; }
};
