// The Vulkan pages' sections and one sentence per structure member, by name.
#include "report/vk_tables.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <unordered_map>
#include <vector>

#include "base/text.h"
#include "probe/records.h"
#include "refdata/pci_names.h"
#include "report/value_format.h"

namespace {

using enum vk_kind;

// A member's description, by the member's published name.
struct vk_description {
    std::string_view member;
    const char* text;
};

#define DESCRIBE(member, text) \
    { #member, text }

// ---- Device page -----------------------------------------------------------

constexpr vk_description properties[] = {
    DESCRIBE(apiVersion, "Newest version of Vulkan the device supports."),
    DESCRIBE(driverVersion, "Version of the driver, read as its vendor numbers its versions."),
    DESCRIBE(vendorID, "Maker of the device, by its PCI vendor or Khronos vendor identifier."),
    DESCRIBE(deviceID, "The chip, by the identifier its vendor gave it."),
    DESCRIBE(deviceType, "Whether the device is a discrete, integrated, virtual or software one."),
    DESCRIBE(deviceName, "Name the driver gives the device."),
    DESCRIBE(pipelineCacheUUID,
             "Version of the driver's pipeline cache: a cache saved under another value cannot be loaded."),
};

constexpr vk_description sparse[] = {
    DESCRIBE(residencyStandard2DBlockShape, "Sparse 2D images are bound in the standard block shapes."),
    DESCRIBE(residencyStandard2DMultisampleBlockShape,
             "Sparse multisampled 2D images are bound in the standard block shapes."),
    DESCRIBE(residencyStandard3DBlockShape, "Sparse 3D images are bound in the standard block shapes."),
    DESCRIBE(residencyAlignedMipSize,
             "Mip levels whose size is not a whole number of blocks go into the image's mip tail."),
    DESCRIBE(residencyNonResidentStrict,
             "Reading unbound sparse memory gives zeros, and writing to it changes nothing."),
};

constexpr vk_description id[] = {
    DESCRIBE(deviceUUID, "Identifier of the device that is the same in every process, instance and API."),
    DESCRIBE(driverUUID, "Identifier of the driver build; memory is shared only between equal identifiers."),
    DESCRIBE(deviceLUID,
             "Locally unique identifier of the device, the LUID of its DXGI adapter where valid."),
    DESCRIBE(deviceNodeMask, "Node of a linked group of adapters that the device stands for."),
    DESCRIBE(deviceLUIDValid, "The locally unique identifier holds a value."),
};

constexpr vk_description driver[] = {
    DESCRIBE(driverID, "The driver, by its registered identifier."),
    DESCRIBE(driverName, "Name of the driver."),
    DESCRIBE(driverInfo, "Further words of the driver, often its version."),
    DESCRIBE(conformanceVersion, "Version of the conformance tests the driver passed."),
};

// The identifiers that Vulkan 1.1's and 1.2's structures repeat stand in
// the sections above.
constexpr vk_description vulkan11[] = {
    DESCRIBE(subgroupSize, "Invocations in one subgroup."),
    DESCRIBE(subgroupSupportedStages, "Shader stages in which subgroup operations work."),
    DESCRIBE(subgroupSupportedOperations, "Kinds of subgroup operations the device offers."),
    DESCRIBE(subgroupQuadOperationsInAllStages,
             "Quad operations work in every stage with subgroups, not only in fragment and compute shaders."),
    DESCRIBE(pointClippingBehavior, "Which clip planes cull a point."),
    DESCRIBE(maxMultiviewViewCount, "Most views one multiview render pass renders to."),
    DESCRIBE(maxMultiviewInstanceIndex, "Largest instance index of a draw in a multiview render pass."),
    DESCRIBE(protectedNoFault, "Misusing protected memory gives undefined values instead of a fault."),
    DESCRIBE(maxPerSetDescriptors, "About how many descriptors one descriptor set layout can hold."),
    DESCRIBE(maxMemoryAllocationSize, "Largest single memory allocation, in bytes."),
};

#define V12_FLOAT(member, what, width) DESCRIBE(member, what " in " width "-bit floating-point arithmetic.")
#define V12_NATIVE(member, what) \
    DESCRIBE(member, what " arrays indexed non-uniformly cost the shader nothing extra.")
#define V12_STAGE(member, what) DESCRIBE(member, "Most update-after-bind " what " one shader stage can use.")
#define V12_SET(member, what) DESCRIBE(member, "Most update-after-bind " what " in one pipeline layout.")

constexpr vk_description vulkan12[] = {
    DESCRIBE(denormBehaviorIndependence,
             "Which floating-point widths can set their handling of denormals on their own."),
    DESCRIBE(roundingModeIndependence,
             "Which floating-point widths can set their rounding mode on their own."),
    V12_FLOAT(shaderSignedZeroInfNanPreserveFloat16, "Signed zeros, infinities and NaNs can be kept", "16"),
    V12_FLOAT(shaderSignedZeroInfNanPreserveFloat32, "Signed zeros, infinities and NaNs can be kept", "32"),
    V12_FLOAT(shaderSignedZeroInfNanPreserveFloat64, "Signed zeros, infinities and NaNs can be kept", "64"),
    V12_FLOAT(shaderDenormPreserveFloat16, "Denormals can be kept", "16"),
    V12_FLOAT(shaderDenormPreserveFloat32, "Denormals can be kept", "32"),
    V12_FLOAT(shaderDenormPreserveFloat64, "Denormals can be kept", "64"),
    V12_FLOAT(shaderDenormFlushToZeroFloat16, "Denormals can be flushed to zero", "16"),
    V12_FLOAT(shaderDenormFlushToZeroFloat32, "Denormals can be flushed to zero", "32"),
    V12_FLOAT(shaderDenormFlushToZeroFloat64, "Denormals can be flushed to zero", "64"),
    V12_FLOAT(shaderRoundingModeRTEFloat16, "Results can be rounded to the nearest even value", "16"),
    V12_FLOAT(shaderRoundingModeRTEFloat32, "Results can be rounded to the nearest even value", "32"),
    V12_FLOAT(shaderRoundingModeRTEFloat64, "Results can be rounded to the nearest even value", "64"),
    V12_FLOAT(shaderRoundingModeRTZFloat16, "Results can be rounded towards zero", "16"),
    V12_FLOAT(shaderRoundingModeRTZFloat32, "Results can be rounded towards zero", "32"),
    V12_FLOAT(shaderRoundingModeRTZFloat64, "Results can be rounded towards zero", "64"),
    DESCRIBE(maxUpdateAfterBindDescriptorsInAllPools,
             "Most update-after-bind descriptors in all descriptor pools together."),
    V12_NATIVE(shaderUniformBufferArrayNonUniformIndexingNative, "Uniform buffer"),
    V12_NATIVE(shaderSampledImageArrayNonUniformIndexingNative, "Sampled image"),
    V12_NATIVE(shaderStorageBufferArrayNonUniformIndexingNative, "Storage buffer"),
    V12_NATIVE(shaderStorageImageArrayNonUniformIndexingNative, "Storage image"),
    V12_NATIVE(shaderInputAttachmentArrayNonUniformIndexingNative, "Input attachment"),
    DESCRIBE(robustBufferAccessUpdateAfterBind,
             "Robust buffer access can be on together with update-after-bind descriptors."),
    DESCRIBE(quadDivergentImplicitLod,
             "Implicit level-of-detail is defined even where the invocations of a quad diverge."),
    V12_STAGE(maxPerStageDescriptorUpdateAfterBindSamplers, "samplers"),
    V12_STAGE(maxPerStageDescriptorUpdateAfterBindUniformBuffers, "uniform buffers"),
    V12_STAGE(maxPerStageDescriptorUpdateAfterBindStorageBuffers, "storage buffers"),
    V12_STAGE(maxPerStageDescriptorUpdateAfterBindSampledImages, "sampled images"),
    V12_STAGE(maxPerStageDescriptorUpdateAfterBindStorageImages, "storage images"),
    V12_STAGE(maxPerStageDescriptorUpdateAfterBindInputAttachments, "input attachments"),
    V12_STAGE(maxPerStageUpdateAfterBindResources, "resources of every kind"),
    V12_SET(maxDescriptorSetUpdateAfterBindSamplers, "samplers"),
    V12_SET(maxDescriptorSetUpdateAfterBindUniformBuffers, "uniform buffers"),
    V12_SET(maxDescriptorSetUpdateAfterBindUniformBuffersDynamic, "dynamic uniform buffers"),
    V12_SET(maxDescriptorSetUpdateAfterBindStorageBuffers, "storage buffers"),
    V12_SET(maxDescriptorSetUpdateAfterBindStorageBuffersDynamic, "dynamic storage buffers"),
    V12_SET(maxDescriptorSetUpdateAfterBindSampledImages, "sampled images"),
    V12_SET(maxDescriptorSetUpdateAfterBindStorageImages, "storage images"),
    V12_SET(maxDescriptorSetUpdateAfterBindInputAttachments, "input attachments"),
    DESCRIBE(supportedDepthResolveModes, "Ways a multisampled depth attachment can be resolved."),
    DESCRIBE(supportedStencilResolveModes, "Ways a multisampled stencil attachment can be resolved."),
    DESCRIBE(independentResolveNone,
             "Depth and stencil can take different resolve modes where one of them is not resolved."),
    DESCRIBE(independentResolve, "Depth and stencil can take any two different resolve modes."),
    DESCRIBE(filterMinmaxSingleComponentFormats,
             "Min/max filtering works on the single-component formats that need it."),
    DESCRIBE(filterMinmaxImageComponentMapping,
             "Min/max filtering follows an image view's component mapping."),
    DESCRIBE(
        maxTimelineSemaphoreValueDifference,
        "Largest difference between a timeline semaphore's value and any value waited for or signalled."),
    DESCRIBE(framebufferIntegerColorSampleCounts, "Sample counts of integer colour attachments."),
};

#define DOT(member, what) DESCRIBE(member, "Dot products of " what " run faster than the same arithmetic.")
#define DOT_SAT(member, what) \
    DESCRIBE(member,          \
             "Saturating accumulation of dot products of " what " runs faster than the same arithmetic.")

constexpr vk_description vulkan13[] = {
    DESCRIBE(minSubgroupSize, "Smallest subgroup size the device can run."),
    DESCRIBE(maxSubgroupSize, "Largest subgroup size the device can run."),
    DESCRIBE(maxComputeWorkgroupSubgroups, "Most subgroups in one compute workgroup."),
    DESCRIBE(requiredSubgroupSizeStages, "Shader stages whose subgroup size can be chosen."),
    DESCRIBE(maxInlineUniformBlockSize, "Largest inline uniform block, in bytes."),
    DESCRIBE(maxPerStageDescriptorInlineUniformBlocks,
             "Most inline uniform blocks one shader stage can use."),
    DESCRIBE(maxPerStageDescriptorUpdateAfterBindInlineUniformBlocks,
             "Most update-after-bind inline uniform blocks one shader stage can use."),
    DESCRIBE(maxDescriptorSetInlineUniformBlocks, "Most inline uniform blocks in one pipeline layout."),
    DESCRIBE(maxDescriptorSetUpdateAfterBindInlineUniformBlocks,
             "Most update-after-bind inline uniform blocks in one pipeline layout."),
    DESCRIBE(maxInlineUniformTotalSize,
             "Largest total size of the inline uniform blocks of a pipeline layout."),
    DOT(integerDotProduct8BitUnsignedAccelerated, "8-bit unsigned vectors"),
    DOT(integerDotProduct8BitSignedAccelerated, "8-bit signed vectors"),
    DOT(integerDotProduct8BitMixedSignednessAccelerated, "8-bit vectors of mixed signedness"),
    DOT(integerDotProduct4x8BitPackedUnsignedAccelerated, "four unsigned 8-bit values packed in 32 bits"),
    DOT(integerDotProduct4x8BitPackedSignedAccelerated, "four signed 8-bit values packed in 32 bits"),
    DOT(integerDotProduct4x8BitPackedMixedSignednessAccelerated,
        "four 8-bit values of mixed signedness packed in 32 bits"),
    DOT(integerDotProduct16BitUnsignedAccelerated, "16-bit unsigned vectors"),
    DOT(integerDotProduct16BitSignedAccelerated, "16-bit signed vectors"),
    DOT(integerDotProduct16BitMixedSignednessAccelerated, "16-bit vectors of mixed signedness"),
    DOT(integerDotProduct32BitUnsignedAccelerated, "32-bit unsigned vectors"),
    DOT(integerDotProduct32BitSignedAccelerated, "32-bit signed vectors"),
    DOT(integerDotProduct32BitMixedSignednessAccelerated, "32-bit vectors of mixed signedness"),
    DOT(integerDotProduct64BitUnsignedAccelerated, "64-bit unsigned vectors"),
    DOT(integerDotProduct64BitSignedAccelerated, "64-bit signed vectors"),
    DOT(integerDotProduct64BitMixedSignednessAccelerated, "64-bit vectors of mixed signedness"),
    DOT_SAT(integerDotProductAccumulatingSaturating8BitUnsignedAccelerated, "8-bit unsigned vectors"),
    DOT_SAT(integerDotProductAccumulatingSaturating8BitSignedAccelerated, "8-bit signed vectors"),
    DOT_SAT(integerDotProductAccumulatingSaturating8BitMixedSignednessAccelerated,
            "8-bit vectors of mixed signedness"),
    DOT_SAT(integerDotProductAccumulatingSaturating4x8BitPackedUnsignedAccelerated,
            "four unsigned 8-bit values packed in 32 bits"),
    DOT_SAT(integerDotProductAccumulatingSaturating4x8BitPackedSignedAccelerated,
            "four signed 8-bit values packed in 32 bits"),
    DOT_SAT(integerDotProductAccumulatingSaturating4x8BitPackedMixedSignednessAccelerated,
            "four 8-bit values of mixed signedness packed in 32 bits"),
    DOT_SAT(integerDotProductAccumulatingSaturating16BitUnsignedAccelerated, "16-bit unsigned vectors"),
    DOT_SAT(integerDotProductAccumulatingSaturating16BitSignedAccelerated, "16-bit signed vectors"),
    DOT_SAT(integerDotProductAccumulatingSaturating16BitMixedSignednessAccelerated,
            "16-bit vectors of mixed signedness"),
    DOT_SAT(integerDotProductAccumulatingSaturating32BitUnsignedAccelerated, "32-bit unsigned vectors"),
    DOT_SAT(integerDotProductAccumulatingSaturating32BitSignedAccelerated, "32-bit signed vectors"),
    DOT_SAT(integerDotProductAccumulatingSaturating32BitMixedSignednessAccelerated,
            "32-bit vectors of mixed signedness"),
    DOT_SAT(integerDotProductAccumulatingSaturating64BitUnsignedAccelerated, "64-bit unsigned vectors"),
    DOT_SAT(integerDotProductAccumulatingSaturating64BitSignedAccelerated, "64-bit signed vectors"),
    DOT_SAT(integerDotProductAccumulatingSaturating64BitMixedSignednessAccelerated,
            "64-bit vectors of mixed signedness"),
    DESCRIBE(storageTexelBufferOffsetAlignmentBytes,
             "Alignment in bytes that a storage texel buffer's offset needs at most."),
    DESCRIBE(storageTexelBufferOffsetSingleTexelAlignment,
             "A storage texel buffer's offset may be aligned to one texel instead."),
    DESCRIBE(uniformTexelBufferOffsetAlignmentBytes,
             "Alignment in bytes that a uniform texel buffer's offset needs at most."),
    DESCRIBE(uniformTexelBufferOffsetSingleTexelAlignment,
             "A uniform texel buffer's offset may be aligned to one texel instead."),
    DESCRIBE(maxBufferSize, "Largest buffer that can be made, in bytes."),
};

// ---- Limits page -----------------------------------------------------------

#define STAGE_LIMIT(member, what) DESCRIBE(member, "Most " what " one shader stage can use.")
#define SET_LIMIT(member, what) DESCRIBE(member, "Most " what " in one pipeline layout.")
#define SAMPLES(member, what) DESCRIBE(member, "Sample counts " what ".")

constexpr vk_description limits[] = {
    DESCRIBE(maxImageDimension1D, "Largest width of a 1D image, in texels."),
    DESCRIBE(maxImageDimension2D, "Largest width and height of a 2D image, in texels."),
    DESCRIBE(maxImageDimension3D, "Largest width, height and depth of a 3D image, in texels."),
    DESCRIBE(maxImageDimensionCube, "Largest width and height of a cube map, in texels."),
    DESCRIBE(maxImageArrayLayers, "Most layers of an array image."),
    DESCRIBE(maxTexelBufferElements, "Most texels a texel buffer view can address."),
    DESCRIBE(maxUniformBufferRange, "Largest range of a uniform buffer binding, in bytes."),
    DESCRIBE(maxStorageBufferRange, "Largest range of a storage buffer binding, in bytes."),
    DESCRIBE(maxPushConstantsSize, "Room for push constants, in bytes."),
    DESCRIBE(maxMemoryAllocationCount, "Most device memory allocations that can exist at once."),
    DESCRIBE(maxSamplerAllocationCount, "Most samplers that can exist at once."),
    DESCRIBE(bufferImageGranularity,
             "Granularity in bytes at which buffers and optimally tiled images may share memory without "
             "aliasing."),
    DESCRIBE(sparseAddressSpaceSize, "Address space for sparse resources, in bytes."),
    DESCRIBE(maxBoundDescriptorSets, "Most descriptor sets a pipeline can use at once."),
    STAGE_LIMIT(maxPerStageDescriptorSamplers, "samplers"),
    STAGE_LIMIT(maxPerStageDescriptorUniformBuffers, "uniform buffers"),
    STAGE_LIMIT(maxPerStageDescriptorStorageBuffers, "storage buffers"),
    STAGE_LIMIT(maxPerStageDescriptorSampledImages, "sampled images"),
    STAGE_LIMIT(maxPerStageDescriptorStorageImages, "storage images"),
    STAGE_LIMIT(maxPerStageDescriptorInputAttachments, "input attachments"),
    STAGE_LIMIT(maxPerStageResources, "resources of every kind"),
    SET_LIMIT(maxDescriptorSetSamplers, "samplers"),
    SET_LIMIT(maxDescriptorSetUniformBuffers, "uniform buffers"),
    SET_LIMIT(maxDescriptorSetUniformBuffersDynamic, "dynamic uniform buffers"),
    SET_LIMIT(maxDescriptorSetStorageBuffers, "storage buffers"),
    SET_LIMIT(maxDescriptorSetStorageBuffersDynamic, "dynamic storage buffers"),
    SET_LIMIT(maxDescriptorSetSampledImages, "sampled images"),
    SET_LIMIT(maxDescriptorSetStorageImages, "storage images"),
    SET_LIMIT(maxDescriptorSetInputAttachments, "input attachments"),
    DESCRIBE(maxVertexInputAttributes, "Most vertex attributes a pipeline can read."),
    DESCRIBE(maxVertexInputBindings, "Most vertex buffers a pipeline can read from at once."),
    DESCRIBE(maxVertexInputAttributeOffset, "Largest offset of an attribute within a vertex, in bytes."),
    DESCRIBE(maxVertexInputBindingStride, "Largest stride between vertices of one buffer, in bytes."),
    DESCRIBE(maxVertexOutputComponents, "Most output components of a vertex shader."),
    DESCRIBE(maxTessellationGenerationLevel, "Highest tessellation level the generator accepts."),
    DESCRIBE(maxTessellationPatchSize, "Most vertices in one tessellation patch."),
    DESCRIBE(maxTessellationControlPerVertexInputComponents,
             "Most input components per vertex of a tessellation control shader."),
    DESCRIBE(maxTessellationControlPerVertexOutputComponents,
             "Most output components per vertex of a tessellation control shader."),
    DESCRIBE(maxTessellationControlPerPatchOutputComponents,
             "Most output components per patch of a tessellation control shader."),
    DESCRIBE(maxTessellationControlTotalOutputComponents,
             "Most output components of a tessellation control shader, per vertex and per patch together."),
    DESCRIBE(maxTessellationEvaluationInputComponents,
             "Most input components per vertex of a tessellation evaluation shader."),
    DESCRIBE(maxTessellationEvaluationOutputComponents,
             "Most output components per vertex of a tessellation evaluation shader."),
    DESCRIBE(maxGeometryShaderInvocations, "Most invocations of a geometry shader per primitive."),
    DESCRIBE(maxGeometryInputComponents, "Most input components per vertex of a geometry shader."),
    DESCRIBE(maxGeometryOutputComponents, "Most output components per vertex of a geometry shader."),
    DESCRIBE(maxGeometryOutputVertices, "Most vertices one geometry shader invocation can emit."),
    DESCRIBE(maxGeometryTotalOutputComponents,
             "Most output components of all vertices one geometry shader invocation emits."),
    DESCRIBE(maxFragmentInputComponents, "Most input components of a fragment shader."),
    DESCRIBE(maxFragmentOutputAttachments, "Most colour attachments a fragment shader can write."),
    DESCRIBE(maxFragmentDualSrcAttachments, "Most colour attachments that dual-source blending can write."),
    DESCRIBE(maxFragmentCombinedOutputResources,
             "Most storage buffers, storage images and colour outputs of one fragment shader together."),
    DESCRIBE(maxComputeSharedMemorySize, "Shared memory of one compute workgroup, in bytes."),
    DESCRIBE(maxComputeWorkGroupCount, "Most workgroups one dispatch can launch in x, y and z."),
    DESCRIBE(maxComputeWorkGroupInvocations, "Most invocations in one compute workgroup."),
    DESCRIBE(maxComputeWorkGroupSize, "Largest size of a compute workgroup in x, y and z."),
    DESCRIBE(subPixelPrecisionBits, "Bits of sub-pixel precision of the rasteriser's coordinates."),
    DESCRIBE(subTexelPrecisionBits, "Bits of precision between texels when an image is filtered."),
    DESCRIBE(mipmapPrecisionBits, "Bits of precision between mip levels when they are blended."),
    DESCRIBE(maxDrawIndexedIndexValue, "Largest index an indexed draw can use."),
    DESCRIBE(maxDrawIndirectCount, "Most draws one indirect draw call can make."),
    DESCRIBE(maxSamplerLodBias, "Largest bias a sampler can add to the level of detail."),
    DESCRIBE(maxSamplerAnisotropy, "Highest degree of anisotropic filtering."),
    DESCRIBE(maxViewports, "Most viewports active at once."),
    DESCRIBE(maxViewportDimensions, "Largest width and height of a viewport, in pixels."),
    DESCRIBE(viewportBoundsRange, "Range that a viewport's corners must lie in."),
    DESCRIBE(viewportSubPixelBits, "Bits of sub-pixel precision of a viewport's bounds."),
    DESCRIBE(minMemoryMapAlignment, "Alignment in bytes of a pointer to mapped memory, at the least."),
    DESCRIBE(minTexelBufferOffsetAlignment, "Alignment in bytes that a texel buffer view's offset needs."),
    DESCRIBE(minUniformBufferOffsetAlignment,
             "Alignment in bytes that a uniform buffer binding's offset needs."),
    DESCRIBE(minStorageBufferOffsetAlignment,
             "Alignment in bytes that a storage buffer binding's offset needs."),
    DESCRIBE(minTexelOffset, "Smallest offset of a texel fetch with an offset."),
    DESCRIBE(maxTexelOffset, "Largest offset of a texel fetch with an offset."),
    DESCRIBE(minTexelGatherOffset, "Smallest offset of a gather with an offset."),
    DESCRIBE(maxTexelGatherOffset, "Largest offset of a gather with an offset."),
    DESCRIBE(minInterpolationOffset, "Smallest offset of interpolation at an offset, in pixels."),
    DESCRIBE(maxInterpolationOffset, "Largest offset of interpolation at an offset, in pixels."),
    DESCRIBE(subPixelInterpolationOffsetBits, "Bits of sub-pixel precision of an interpolation offset."),
    DESCRIBE(maxFramebufferWidth, "Largest width of a framebuffer, in pixels."),
    DESCRIBE(maxFramebufferHeight, "Largest height of a framebuffer, in pixels."),
    DESCRIBE(maxFramebufferLayers, "Most layers of a framebuffer."),
    SAMPLES(framebufferColorSampleCounts, "of floating-point and fixed-point colour attachments"),
    SAMPLES(framebufferDepthSampleCounts, "of depth attachments"),
    SAMPLES(framebufferStencilSampleCounts, "of stencil attachments"),
    SAMPLES(framebufferNoAttachmentsSampleCounts, "of a subpass without attachments"),
    DESCRIBE(maxColorAttachments, "Most colour attachments of one subpass."),
    SAMPLES(sampledImageColorSampleCounts, "of sampled non-integer colour images"),
    SAMPLES(sampledImageIntegerSampleCounts, "of sampled integer colour images"),
    SAMPLES(sampledImageDepthSampleCounts, "of sampled depth images"),
    SAMPLES(sampledImageStencilSampleCounts, "of sampled stencil images"),
    SAMPLES(storageImageSampleCounts, "of storage images"),
    DESCRIBE(maxSampleMaskWords, "Most 32-bit words of a sample mask."),
    DESCRIBE(timestampComputeAndGraphics, "Every graphics and compute queue supports timestamps."),
    DESCRIBE(timestampPeriod, "Nanoseconds one timestamp tick lasts."),
    DESCRIBE(maxClipDistances, "Most clip distances of one shader."),
    DESCRIBE(maxCullDistances, "Most cull distances of one shader."),
    DESCRIBE(maxCombinedClipAndCullDistances, "Most clip and cull distances of one shader together."),
    DESCRIBE(discreteQueuePriorities, "Number of distinct priorities a queue can be given."),
    DESCRIBE(pointSizeRange, "Smallest and largest size of a point, in pixels."),
    DESCRIBE(lineWidthRange, "Smallest and largest width of a line, in pixels."),
    DESCRIBE(pointSizeGranularity, "Step between the point sizes the device draws."),
    DESCRIBE(lineWidthGranularity, "Step between the line widths the device draws."),
    DESCRIBE(strictLines, "Wide lines are drawn as the strict rectangles the Vulkan API defines."),
    DESCRIBE(standardSampleLocations, "Samples lie at the standard positions within a pixel."),
    DESCRIBE(optimalBufferCopyOffsetAlignment,
             "Best alignment in bytes of a buffer offset in copies to images."),
    DESCRIBE(optimalBufferCopyRowPitchAlignment,
             "Best alignment in bytes of a row pitch in copies to images."),
    DESCRIBE(nonCoherentAtomSize, "Granularity in bytes of flushing and invalidating non-coherent memory."),
};

// ---- Features page ---------------------------------------------------------

#define SPARSE_SAMPLES(member, count) \
    DESCRIBE(member, "Sparse 2D images of " count " samples per pixel can be partly resident.")
#define DYNAMIC_INDEXING(member, what) \
    DESCRIBE(member, "Shaders can index arrays of " what " with dynamically uniform expressions.")

constexpr vk_description features[] = {
    DESCRIBE(robustBufferAccess, "Buffer accesses out of bounds are checked and cannot reach other memory."),
    DESCRIBE(fullDrawIndexUint32, "32-bit indices of draws may use their whole range."),
    DESCRIBE(imageCubeArray, "Cube map array images can be made."),
    DESCRIBE(independentBlend, "Each colour attachment can blend in its own way."),
    DESCRIBE(geometryShader, "Geometry shaders run."),
    DESCRIBE(tessellationShader, "Tessellation control and evaluation shaders run."),
    DESCRIBE(sampleRateShading, "The fragment shader can run once per sample."),
    DESCRIBE(dualSrcBlend, "Blending can take two source colours."),
    DESCRIBE(logicOp, "Colour attachments can be written with logic operations."),
    DESCRIBE(multiDrawIndirect, "One indirect draw call can make several draws."),
    DESCRIBE(drawIndirectFirstInstance, "Indirect draws can start at an instance other than zero."),
    DESCRIBE(depthClamp, "Depth can be clamped instead of clipped."),
    DESCRIBE(depthBiasClamp, "The depth bias can be clamped."),
    DESCRIBE(fillModeNonSolid, "Polygons can be drawn as points or lines."),
    DESCRIBE(depthBounds, "Fragments can be discarded outside a range of depths."),
    DESCRIBE(wideLines, "Lines wider than one pixel can be drawn."),
    DESCRIBE(largePoints, "Points larger than one pixel can be drawn."),
    DESCRIBE(alphaToOne, "The alpha of a fragment's colour can be replaced by one."),
    DESCRIBE(multiViewport, "More than one viewport can be active."),
    DESCRIBE(samplerAnisotropy, "Samplers can filter anisotropically."),
    DESCRIBE(textureCompressionETC2, "Images in the ETC2 and EAC compressed formats can be sampled."),
    DESCRIBE(textureCompressionASTC_LDR,
             "Images in the ASTC compressed formats of low dynamic range can be sampled."),
    DESCRIBE(textureCompressionBC, "Images in the BC compressed formats can be sampled."),
    DESCRIBE(occlusionQueryPrecise, "Occlusion queries can count the exact number of samples that pass."),
    DESCRIBE(pipelineStatisticsQuery, "Pipeline statistics can be queried."),
    DESCRIBE(vertexPipelineStoresAndAtomics,
             "Vertex, tessellation and geometry shaders can store and use atomics."),
    DESCRIBE(fragmentStoresAndAtomics, "Fragment shaders can store and use atomics."),
    DESCRIBE(shaderTessellationAndGeometryPointSize,
             "Tessellation and geometry shaders can set the size of a point."),
    DESCRIBE(shaderImageGatherExtended, "Image gathers can take offsets that are not constant."),
    DESCRIBE(shaderStorageImageExtendedFormats,
             "Storage images can have the further formats that need this."),
    DESCRIBE(shaderStorageImageMultisample, "Storage images can be multisampled."),
    DESCRIBE(shaderStorageImageReadWithoutFormat, "Storage images can be read without a declared format."),
    DESCRIBE(shaderStorageImageWriteWithoutFormat,
             "Storage images can be written without a declared format."),
    DYNAMIC_INDEXING(shaderUniformBufferArrayDynamicIndexing, "uniform buffers"),
    DYNAMIC_INDEXING(shaderSampledImageArrayDynamicIndexing, "samplers and sampled images"),
    DYNAMIC_INDEXING(shaderStorageBufferArrayDynamicIndexing, "storage buffers"),
    DYNAMIC_INDEXING(shaderStorageImageArrayDynamicIndexing, "storage images"),
    DESCRIBE(shaderClipDistance, "Shaders can write clip distances."),
    DESCRIBE(shaderCullDistance, "Shaders can write cull distances."),
    DESCRIBE(shaderFloat64, "Shaders can compute with 64-bit floating-point values."),
    DESCRIBE(shaderInt64, "Shaders can compute with 64-bit integers."),
    DESCRIBE(shaderInt16, "Shaders can compute with 16-bit integers."),
    DESCRIBE(shaderResourceResidency, "Shaders can learn whether the texels they read are resident."),
    DESCRIBE(shaderResourceMinLod, "Shaders can clamp the level of detail they sample at."),
    DESCRIBE(sparseBinding, "Resources can be bound to memory sparsely."),
    DESCRIBE(sparseResidencyBuffer, "Buffers can be partly resident."),
    DESCRIBE(sparseResidencyImage2D, "2D images of one sample per pixel can be partly resident."),
    DESCRIBE(sparseResidencyImage3D, "3D images can be partly resident."),
    SPARSE_SAMPLES(sparseResidency2Samples, "2"),
    SPARSE_SAMPLES(sparseResidency4Samples, "4"),
    SPARSE_SAMPLES(sparseResidency8Samples, "8"),
    SPARSE_SAMPLES(sparseResidency16Samples, "16"),
    DESCRIBE(sparseResidencyAliased, "Sparse memory can be bound to several places at once."),
    DESCRIBE(variableMultisampleRate, "A subpass without attachments may use any sample count."),
    DESCRIBE(inheritedQueries, "Secondary command buffers can run inside an active query."),
};

constexpr vk_description features11[] = {
    DESCRIBE(storageBuffer16BitAccess, "Storage buffers can hold 16-bit values."),
    DESCRIBE(uniformAndStorageBuffer16BitAccess, "Uniform and storage buffers can hold 16-bit values."),
    DESCRIBE(storagePushConstant16, "Push constants can hold 16-bit values."),
    DESCRIBE(storageInputOutput16, "Shader inputs and outputs can be 16-bit values."),
    DESCRIBE(multiview, "One render pass can render to several views."),
    DESCRIBE(multiviewGeometryShader, "Multiview works with geometry shaders."),
    DESCRIBE(multiviewTessellationShader, "Multiview works with tessellation shaders."),
    DESCRIBE(variablePointersStorageBuffer, "Shaders can use pointers into storage buffers as variables."),
    DESCRIBE(variablePointers, "Shaders can use pointers as variables."),
    DESCRIBE(protectedMemory, "Protected memory can be allocated."),
    DESCRIBE(samplerYcbcrConversion, "Samplers can convert Y'CbCr images to RGB."),
    DESCRIBE(shaderDrawParameters, "Shaders can read the parameters of the draw."),
};

#define NON_UNIFORM(member, what) \
    DESCRIBE(member, "Shaders can index arrays of " what " with non-uniform expressions.")
#define UPDATE_AFTER_BIND(member, what) \
    DESCRIBE(member, "Descriptors of " what " can be updated after they were bound.")

constexpr vk_description features12[] = {
    DESCRIBE(samplerMirrorClampToEdge, "Samplers can mirror once and then clamp to the edge."),
    DESCRIBE(drawIndirectCount, "Indirect draws can take their count from a buffer."),
    DESCRIBE(storageBuffer8BitAccess, "Storage buffers can hold 8-bit values."),
    DESCRIBE(uniformAndStorageBuffer8BitAccess, "Uniform and storage buffers can hold 8-bit values."),
    DESCRIBE(storagePushConstant8, "Push constants can hold 8-bit values."),
    DESCRIBE(shaderBufferInt64Atomics, "Shaders can use 64-bit atomics on buffers."),
    DESCRIBE(shaderSharedInt64Atomics, "Shaders can use 64-bit atomics on shared memory."),
    DESCRIBE(shaderFloat16, "Shaders can compute with 16-bit floating-point values."),
    DESCRIBE(shaderInt8, "Shaders can compute with 8-bit integers."),
    DESCRIBE(descriptorIndexing, "The descriptor indexing features a driver must offer together are there."),
    DESCRIBE(shaderInputAttachmentArrayDynamicIndexing,
             "Shaders can index arrays of input attachments with dynamically uniform expressions."),
    DESCRIBE(shaderUniformTexelBufferArrayDynamicIndexing,
             "Shaders can index arrays of uniform texel buffers with dynamically uniform expressions."),
    DESCRIBE(shaderStorageTexelBufferArrayDynamicIndexing,
             "Shaders can index arrays of storage texel buffers with dynamically uniform expressions."),
    NON_UNIFORM(shaderUniformBufferArrayNonUniformIndexing, "uniform buffers"),
    NON_UNIFORM(shaderSampledImageArrayNonUniformIndexing, "samplers and sampled images"),
    NON_UNIFORM(shaderStorageBufferArrayNonUniformIndexing, "storage buffers"),
    NON_UNIFORM(shaderStorageImageArrayNonUniformIndexing, "storage images"),
    NON_UNIFORM(shaderInputAttachmentArrayNonUniformIndexing, "input attachments"),
    NON_UNIFORM(shaderUniformTexelBufferArrayNonUniformIndexing, "uniform texel buffers"),
    NON_UNIFORM(shaderStorageTexelBufferArrayNonUniformIndexing, "storage texel buffers"),
    UPDATE_AFTER_BIND(descriptorBindingUniformBufferUpdateAfterBind, "uniform buffers"),
    UPDATE_AFTER_BIND(descriptorBindingSampledImageUpdateAfterBind, "samplers and sampled images"),
    UPDATE_AFTER_BIND(descriptorBindingStorageImageUpdateAfterBind, "storage images"),
    UPDATE_AFTER_BIND(descriptorBindingStorageBufferUpdateAfterBind, "storage buffers"),
    UPDATE_AFTER_BIND(descriptorBindingUniformTexelBufferUpdateAfterBind, "uniform texel buffers"),
    UPDATE_AFTER_BIND(descriptorBindingStorageTexelBufferUpdateAfterBind, "storage texel buffers"),
    DESCRIBE(descriptorBindingUpdateUnusedWhilePending,
             "Descriptors that pending work does not use can be updated meanwhile."),
    DESCRIBE(descriptorBindingPartiallyBound, "Descriptors a shader does not use need not be valid."),
    DESCRIBE(descriptorBindingVariableDescriptorCount,
             "The last binding of a set can hold a variable number of descriptors."),
    DESCRIBE(runtimeDescriptorArray,
             "Shaders can use arrays of descriptors whose size is known only when they run."),
    DESCRIBE(samplerFilterMinmax, "Samplers can filter by the minimum or maximum of the texels."),
    DESCRIBE(scalarBlockLayout, "Buffer blocks can use the scalar alignment rules."),
    DESCRIBE(imagelessFramebuffer, "Framebuffers can be made without their images."),
    DESCRIBE(uniformBufferStandardLayout,
             "Uniform buffers can use the same layout rules as storage buffers."),
    DESCRIBE(shaderSubgroupExtendedTypes, "Subgroup operations work on 8-, 16- and 64-bit types."),
    DESCRIBE(separateDepthStencilLayouts, "Depth and stencil aspects can be in different image layouts."),
    DESCRIBE(hostQueryReset, "Queries can be reset from the host."),
    DESCRIBE(timelineSemaphore, "Semaphores can count up as a timeline."),
    DESCRIBE(bufferDeviceAddress, "Shaders can reach buffers through their device addresses."),
    DESCRIBE(bufferDeviceAddressCaptureReplay, "Buffer device addresses can be saved and replayed."),
    DESCRIBE(bufferDeviceAddressMultiDevice,
             "Buffer device addresses work on devices made of several physical ones."),
    DESCRIBE(vulkanMemoryModel, "Shaders can use the Vulkan memory model."),
    DESCRIBE(vulkanMemoryModelDeviceScope, "The Vulkan memory model can use the device scope."),
    DESCRIBE(vulkanMemoryModelAvailabilityVisibilityChains,
             "The Vulkan memory model can use chains of availability and visibility operations."),
    DESCRIBE(shaderOutputViewportIndex, "Vertex and tessellation shaders can choose the viewport."),
    DESCRIBE(shaderOutputLayer, "Vertex and tessellation shaders can choose the layer."),
    DESCRIBE(subgroupBroadcastDynamicId,
             "Subgroup broadcasts can take an invocation index that is not constant."),
};

constexpr vk_description features13[] = {
    DESCRIBE(robustImageAccess, "Image accesses out of bounds are checked and cannot reach other memory."),
    DESCRIBE(inlineUniformBlock, "Uniform data can be stored in descriptor sets themselves."),
    DESCRIBE(descriptorBindingInlineUniformBlockUpdateAfterBind,
             "Inline uniform blocks can be updated after they were bound."),
    DESCRIBE(pipelineCreationCacheControl,
             "Pipeline creation can be told not to compile and to lock the cache less."),
    DESCRIBE(privateData, "Applications can attach their own data to Vulkan objects."),
    DESCRIBE(shaderDemoteToHelperInvocation, "Fragment shaders can demote an invocation to a helper."),
    DESCRIBE(shaderTerminateInvocation, "Fragment shaders can end an invocation at once."),
    DESCRIBE(subgroupSizeControl, "The subgroup size of a shader can be chosen."),
    DESCRIBE(computeFullSubgroups, "Compute shaders can be made to run full subgroups only."),
    DESCRIBE(synchronization2, "The simpler second set of synchronisation commands is there."),
    DESCRIBE(textureCompressionASTC_HDR,
             "Images in the ASTC compressed formats of high dynamic range can be sampled."),
    DESCRIBE(shaderZeroInitializeWorkgroupMemory,
             "Workgroup memory can be set to zero when a shader starts."),
    DESCRIBE(dynamicRendering, "Rendering can begin without a render pass object."),
    DESCRIBE(shaderIntegerDotProduct, "Shaders can compute dot products of integer vectors."),
    DESCRIBE(maintenance4, "The fourth set of small fixes and additions is there."),
};

// ---- Extension pages -------------------------------------------------------
// Members that no core structure has, of the extensions most devices offer.

#define DYNAMIC3(member, what) DESCRIBE(member, what " can be set by a command instead of in the pipeline.")
#define FLOAT_ATOMICS(member, width, where) \
    DESCRIBE(member, "Shaders can load, store and exchange " width "-bit floats atomically in " where ".")
#define FLOAT_ADD(member, width, where) \
    DESCRIBE(member, "Shaders can add " width "-bit floats atomically in " where ".")
#define FLOAT_MIN_MAX(member, width, where) \
    DESCRIBE(member,                        \
             "Shaders can keep the minimum or maximum of " width "-bit floats atomically in " where ".")

constexpr vk_description extension_members[] = {
    DESCRIBE(formatA4R4G4B4, "Images of the format A4R4G4B4_UNORM_PACK16 can be made."),
    DESCRIBE(formatA4B4G4R4, "Images of the format A4B4G4R4_UNORM_PACK16 can be made."),
    DESCRIBE(attachmentFeedbackLoopLayout,
             "Shaders can read an image while the same rendering writes it as an attachment."),
    DESCRIBE(borderColorSwizzle,
             "Border colours give defined results with image views that swizzle components."),
    DESCRIBE(borderColorSwizzleFromImage,
             "The device swizzles a custom border colour as the image view does, without being told how."),
    DESCRIBE(colorWriteEnable, "Writes to each colour attachment can be turned on and off by a command."),
    DESCRIBE(conditionalRendering, "Draws and dispatches can be skipped depending on a value in a buffer."),
    DESCRIBE(inheritedConditionalRendering,
             "Secondary command buffers can run inside conditional rendering."),
    DESCRIBE(customBorderColors, "Samplers can have a border colour of their own choosing."),
    DESCRIBE(customBorderColorWithoutFormat, "A custom border colour needs no format given with it."),
    DESCRIBE(depthClipControl, "The clip space depth range can be -1 to 1, as in OpenGL."),
    DESCRIBE(depthClipEnable, "Depth clipping can be turned off apart from depth clamping."),
    DESCRIBE(extendedDynamicState,
             "Cull mode, front face, topology, viewports, scissors, vertex strides and the depth and stencil "
             "tests can be set by commands."),
    DESCRIBE(extendedDynamicState2,
             "Rasterizer discard, depth bias and primitive restart can be set by commands."),
    DYNAMIC3(extendedDynamicState2LogicOp, "The logic operation"),
    DYNAMIC3(extendedDynamicState2PatchControlPoints, "The control points of a tessellation patch"),
    DYNAMIC3(extendedDynamicState3TessellationDomainOrigin, "The origin of the tessellation domain"),
    DYNAMIC3(extendedDynamicState3DepthClampEnable, "Depth clamping"),
    DYNAMIC3(extendedDynamicState3PolygonMode, "The polygon mode"),
    DYNAMIC3(extendedDynamicState3RasterizationSamples, "The rasterisation sample count"),
    DYNAMIC3(extendedDynamicState3SampleMask, "The sample mask"),
    DYNAMIC3(extendedDynamicState3AlphaToCoverageEnable, "Alpha to coverage"),
    DYNAMIC3(extendedDynamicState3AlphaToOneEnable, "Alpha to one"),
    DYNAMIC3(extendedDynamicState3LogicOpEnable, "Whether logic operations are on"),
    DYNAMIC3(extendedDynamicState3ColorBlendEnable, "Blending of each colour attachment"),
    DYNAMIC3(extendedDynamicState3ColorBlendEquation, "The blend equation of each colour attachment"),
    DYNAMIC3(extendedDynamicState3ColorWriteMask, "The write mask of each colour attachment"),
    DYNAMIC3(extendedDynamicState3RasterizationStream, "The transform feedback stream that is rasterised"),
    DYNAMIC3(extendedDynamicState3ConservativeRasterizationMode, "The conservative rasterisation mode"),
    DYNAMIC3(extendedDynamicState3ExtraPrimitiveOverestimationSize,
             "The extra size of conservative rasterisation's overestimation"),
    DYNAMIC3(extendedDynamicState3DepthClipEnable, "Depth clipping"),
    DYNAMIC3(extendedDynamicState3SampleLocationsEnable, "The use of custom sample locations"),
    DYNAMIC3(extendedDynamicState3ColorBlendAdvanced, "Advanced blending of each colour attachment"),
    DYNAMIC3(extendedDynamicState3ProvokingVertexMode, "The provoking vertex mode"),
    DYNAMIC3(extendedDynamicState3LineRasterizationMode, "The line rasterisation mode"),
    DYNAMIC3(extendedDynamicState3LineStippleEnable, "Line stippling"),
    DYNAMIC3(extendedDynamicState3DepthClipNegativeOneToOne, "A clip space depth range of -1 to 1"),
    DYNAMIC3(extendedDynamicState3ViewportWScalingEnable, "Viewport W scaling"),
    DYNAMIC3(extendedDynamicState3ViewportSwizzle, "The viewport swizzle"),
    DYNAMIC3(extendedDynamicState3CoverageToColorEnable, "Coverage to colour"),
    DYNAMIC3(extendedDynamicState3CoverageToColorLocation, "The attachment that coverage to colour writes"),
    DYNAMIC3(extendedDynamicState3CoverageModulationMode, "The coverage modulation mode"),
    DYNAMIC3(extendedDynamicState3CoverageModulationTableEnable, "The use of the coverage modulation table"),
    DYNAMIC3(extendedDynamicState3CoverageModulationTable, "The coverage modulation table"),
    DYNAMIC3(extendedDynamicState3CoverageReductionMode, "The coverage reduction mode"),
    DYNAMIC3(extendedDynamicState3RepresentativeFragmentTestEnable, "The representative fragment test"),
    DYNAMIC3(extendedDynamicState3ShadingRateImageEnable, "The use of the shading rate image"),
    DESCRIBE(dynamicPrimitiveTopologyUnrestricted,
             "A topology set by a command may be of another class (points, lines, triangles) than the "
             "pipeline's."),
    DESCRIBE(graphicsPipelineLibrary, "Graphics pipelines can be built from parts compiled on their own."),
    DESCRIBE(graphicsPipelineLibraryFastLinking,
             "Linking pipeline parts without optimising them is fast enough to do while drawing."),
    DESCRIBE(graphicsPipelineLibraryIndependentInterpolationDecoration,
             "The vertex and fragment parts of a pipeline need not agree on interpolation decorations."),
    DESCRIBE(image2DViewOf3D, "A 2D view of one slice of a 3D image can be a storage image."),
    DESCRIBE(sampler2DViewOf3D, "A 2D view of one slice of a 3D image can be sampled."),
    DESCRIBE(indexTypeUint8, "Indices can be 8-bit."),
    DESCRIBE(rectangularLines, "Lines can be rasterised as rectangles."),
    DESCRIBE(bresenhamLines, "Lines can be rasterised as Bresenham's algorithm draws them."),
    DESCRIBE(smoothLines, "Lines can be rasterised smooth, their edges partly covering pixels."),
    DESCRIBE(stippledRectangularLines, "Lines rasterised as rectangles can be stippled."),
    DESCRIBE(stippledBresenhamLines, "Bresenham lines can be stippled."),
    DESCRIBE(stippledSmoothLines, "Smooth lines can be stippled."),
    DESCRIBE(lineSubPixelPrecisionBits, "Bits of sub-pixel precision of a line's end points."),
    DESCRIBE(multiDraw, "One command can make many draws from an array of their parameters."),
    DESCRIBE(maxMultiDrawCount, "Most draws one multi-draw command can make."),
    DESCRIBE(multisampledRenderToSingleSampled,
             "Rendering can be multisampled into single-sampled attachments, resolved on the way."),
    DESCRIBE(nonSeamlessCubeMap, "Samplers can filter a cube map without blending across its faces."),
    DESCRIBE(primitiveTopologyListRestart, "Primitive restart works on point, line and triangle lists."),
    DESCRIBE(primitiveTopologyPatchListRestart, "Primitive restart works on lists of patches."),
    DESCRIBE(primitivesGeneratedQuery,
             "A query can count the primitives the last stage before rasterisation emits."),
    DESCRIBE(primitivesGeneratedQueryWithRasterizerDiscard, "That query counts with rasterizer discard on."),
    DESCRIBE(primitivesGeneratedQueryWithNonZeroStreams,
             "That query can count a vertex stream other than the first."),
    DESCRIBE(provokingVertexLast, "The last vertex of a primitive can be its provoking vertex."),
    DESCRIBE(transformFeedbackPreservesProvokingVertex,
             "Transform feedback keeps vertices in the order the provoking vertex mode gives."),
    DESCRIBE(provokingVertexModePerPipeline,
             "Pipelines of one render pass may use different provoking vertex modes."),
    DESCRIBE(transformFeedbackPreservesTriangleFanProvokingVertex,
             "Transform feedback keeps the provoking vertex of triangle fans too."),
    DESCRIBE(rasterizationOrderColorAttachmentAccess,
             "Fragment shaders can read colour attachments in the order fragments were rasterised."),
    DESCRIBE(rasterizationOrderDepthAttachmentAccess,
             "Fragment shaders can read the depth attachment in the order fragments were rasterised."),
    DESCRIBE(rasterizationOrderStencilAttachmentAccess,
             "Fragment shaders can read the stencil attachment in the order fragments were rasterised."),
    DESCRIBE(robustBufferAccess2,
             "Buffer accesses are checked against the exact range bound; reads out of it give zeros."),
    DESCRIBE(robustImageAccess2, "Image reads out of bounds give zeros, with alpha one."),
    DESCRIBE(nullDescriptor, "Descriptors can be left empty; reading one gives zeros."),
    DESCRIBE(robustStorageBufferAccessSizeAlignment,
             "Granularity in bytes at which a storage buffer binding's range is checked."),
    DESCRIBE(robustUniformBufferAccessSizeAlignment,
             "Granularity in bytes at which a uniform buffer binding's range is checked."),
    FLOAT_ATOMICS(shaderBufferFloat16Atomics, "16", "buffers"),
    FLOAT_ADD(shaderBufferFloat16AtomicAdd, "16", "buffers"),
    FLOAT_MIN_MAX(shaderBufferFloat16AtomicMinMax, "16", "buffers"),
    FLOAT_ATOMICS(shaderBufferFloat32Atomics, "32", "buffers"),
    FLOAT_ADD(shaderBufferFloat32AtomicAdd, "32", "buffers"),
    FLOAT_MIN_MAX(shaderBufferFloat32AtomicMinMax, "32", "buffers"),
    FLOAT_ATOMICS(shaderBufferFloat64Atomics, "64", "buffers"),
    FLOAT_ADD(shaderBufferFloat64AtomicAdd, "64", "buffers"),
    FLOAT_MIN_MAX(shaderBufferFloat64AtomicMinMax, "64", "buffers"),
    FLOAT_ATOMICS(shaderSharedFloat16Atomics, "16", "shared memory"),
    FLOAT_ADD(shaderSharedFloat16AtomicAdd, "16", "shared memory"),
    FLOAT_MIN_MAX(shaderSharedFloat16AtomicMinMax, "16", "shared memory"),
    FLOAT_ATOMICS(shaderSharedFloat32Atomics, "32", "shared memory"),
    FLOAT_ADD(shaderSharedFloat32AtomicAdd, "32", "shared memory"),
    FLOAT_MIN_MAX(shaderSharedFloat32AtomicMinMax, "32", "shared memory"),
    FLOAT_ATOMICS(shaderSharedFloat64Atomics, "64", "shared memory"),
    FLOAT_ADD(shaderSharedFloat64AtomicAdd, "64", "shared memory"),
    FLOAT_MIN_MAX(shaderSharedFloat64AtomicMinMax, "64", "shared memory"),
    FLOAT_ATOMICS(shaderImageFloat32Atomics, "32", "images"),
    FLOAT_ADD(shaderImageFloat32AtomicAdd, "32", "images"),
    FLOAT_MIN_MAX(shaderImageFloat32AtomicMinMax, "32", "images"),
    FLOAT_ATOMICS(sparseImageFloat32Atomics, "32", "sparse images"),
    FLOAT_ADD(sparseImageFloat32AtomicAdd, "32", "sparse images"),
    FLOAT_MIN_MAX(sparseImageFloat32AtomicMinMax, "32", "sparse images"),
    DESCRIBE(shaderSubgroupClock, "Shaders can read a clock that the invocations of a subgroup share."),
    DESCRIBE(shaderDeviceClock, "Shaders can read a clock that the whole device shares."),
    DESCRIBE(texelBufferAlignment,
             "A texel buffer's offset may be aligned as the texel buffer alignment properties say."),
    DESCRIBE(transformFeedback,
             "Vertices can be written to buffers as the last stage before rasterisation emits them."),
    DESCRIBE(geometryStreams, "Geometry shaders can emit vertices to more than one stream."),
    DESCRIBE(maxTransformFeedbackStreams, "Most vertex streams a geometry shader can emit to."),
    DESCRIBE(maxTransformFeedbackBuffers, "Most transform feedback buffers bound at once."),
    DESCRIBE(maxTransformFeedbackBufferSize,
             "Largest range of a transform feedback buffer binding, in bytes."),
    DESCRIBE(maxTransformFeedbackStreamDataSize, "Most bytes one vertex stream can write per vertex."),
    DESCRIBE(maxTransformFeedbackBufferDataSize,
             "Most bytes one transform feedback buffer takes per vertex."),
    DESCRIBE(maxTransformFeedbackBufferDataStride,
             "Largest stride between vertices in a transform feedback buffer, in bytes."),
    DESCRIBE(transformFeedbackQueries, "Queries can count the primitives transform feedback writes."),
    DESCRIBE(transformFeedbackStreamsLinesTriangles,
             "Geometry shaders emitting to several streams may emit lines and triangles, not only points."),
    DESCRIBE(transformFeedbackRasterizationStreamSelect,
             "A vertex stream other than the first can be rasterised."),
    DESCRIBE(transformFeedbackDraw, "Draws can take their vertex count from a transform feedback buffer."),
    DESCRIBE(vertexAttributeInstanceRateDivisor,
             "An instanced vertex attribute can advance once every so many instances."),
    DESCRIBE(vertexAttributeInstanceRateZeroDivisor,
             "A divisor of zero gives every instance the first instance's attribute."),
    DESCRIBE(maxVertexAttribDivisor, "Largest divisor of an instanced vertex attribute's rate."),
    DESCRIBE(vertexInputDynamicState, "The vertex bindings and attributes can be set by a command."),
    DESCRIBE(maxCustomBorderColorSamplers,
             "Most samplers with a custom border colour that can exist at once."),
    DESCRIBE(minImportedHostPointerAlignment, "Alignment in bytes of host memory imported as device memory."),
    DESCRIBE(maxPushDescriptors, "Most descriptors one push descriptor set can hold."),
};

// The sections of the Device, Limits and Features pages, in page order:
// each structure's name, what it is, and where a record holds it.
struct vk_section {
    const char* name;
    const char* description;
    vk_structure structure;
};

constexpr vk_section sections[] = {
    {"VkPhysicalDeviceProperties", "What every Vulkan device says of itself.", vk_structure::properties},
    {"VkPhysicalDeviceIDProperties", "Identifiers shared with other APIs and processes (Vulkan 1.1).",
     vk_structure::id},
    {"VkPhysicalDeviceDriverProperties", "The driver (Vulkan 1.2).", vk_structure::driver},
    {"VkPhysicalDeviceVulkan11Properties", "Properties of Vulkan 1.1.", vk_structure::vulkan11},
    {"VkPhysicalDeviceVulkan12Properties", "Properties of Vulkan 1.2.", vk_structure::vulkan12},
    {"VkPhysicalDeviceVulkan13Properties", "Properties of Vulkan 1.3.", vk_structure::vulkan13},
    {"VkPhysicalDeviceSparseProperties", "How sparse resources behave.", vk_structure::sparse},
    {"VkPhysicalDeviceLimits", "The limits of the device.", vk_structure::limits},
    {"VkPhysicalDeviceFeatures", "Features of Vulkan 1.0.", vk_structure::features},
    {"VkPhysicalDeviceVulkan11Features", "Features of Vulkan 1.1.", vk_structure::features11},
    {"VkPhysicalDeviceVulkan12Features", "Features of Vulkan 1.2.", vk_structure::features12},
    {"VkPhysicalDeviceVulkan13Features", "Features of Vulkan 1.3.", vk_structure::features13},
};
constexpr size_t device_sections = 7;  // then the limits, then the features

// Every member's sentence, the extensions' last.
constexpr std::span<const vk_description> described[] = {
    properties, id,       driver,     vulkan11,   vulkan12,   vulkan13,         sparse,
    limits,     features, features11, features12, features13, extension_members};

// The tables of the sections: the members the registry gives each structure,
// each with its description.
const std::vector<vk_table>& every_table() {
    static const auto storage = [] {
        struct built {
            std::vector<std::string> names;
            std::vector<std::vector<vk_field>> fields;
            std::vector<vk_table> tables;
        } made;
        for (const vk_section& section : sections) {
            made.names.push_back("[" + std::string(section.name) + "]");
            auto& fields = made.fields.emplace_back();
            for (vk_field field : vk_core_fields(section.name)) {
                field.description = vk_description_of(field);
                fields.push_back(field);
            }
        }
        for (size_t i = 0; i < std::size(sections); ++i) {
            made.tables.push_back(
                {made.names[i].c_str(), sections[i].description, sections[i].structure, made.fields[i]});
        }
        return made;
    }();
    return storage.tables;
}

// ---- Values ----------------------------------------------------------------

template <typename T>
T read(const std::byte* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

std::string hex_bytes(const std::byte* at, uint32_t size) {
    std::string text;
    for (uint32_t i = 0; i < size; ++i) {
        // The usual grouping of a UUID: 4-2-2-2-6 bytes.
        if (size == 16 && (i == 4 || i == 6 || i == 8 || i == 10)) {
            text += '-';
        }
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned>(at[i]));
        text += digits;
    }
    return text;
}

std::string version_text(uint32_t version) {
    std::string text = std::to_string(VK_API_VERSION_MAJOR(version)) + "." +
                       std::to_string(VK_API_VERSION_MINOR(version)) + "." +
                       std::to_string(VK_API_VERSION_PATCH(version));
    // A variant other than Vulkan's own stands in front.
    return VK_API_VERSION_VARIANT(version) != 0 ? std::to_string(VK_API_VERSION_VARIANT(version)) + "." + text
                                                : text;
}

// NVIDIA writes 10.8.8.6 bits, Intel's Windows driver 18.14; the others
// follow Vulkan's own 3.10.12 bits (variant and major are one).
std::string driver_version_of(uint32_t version, uint32_t vendor) {
    if (vendor == 0x10DE) {
        return std::to_string(version >> 22) + "." + std::to_string((version >> 14) & 0xFF) + "." +
               std::to_string((version >> 6) & 0xFF) + "." + std::to_string(version & 0x3F);
    }
    if (vendor == 0x8086) {
        return std::to_string(version >> 14) + "." + std::to_string(version & 0x3FFF);
    }
    return std::to_string(version >> 22) + "." + std::to_string((version >> 12) & 0x3FF) + "." +
           std::to_string(version & 0xFFF);
}

std::string vendor_text(uint32_t vendor) {
    // Vendors without a PCI identifier have one of Khronos's.
    static constexpr std::pair<uint32_t, const char*> khronos[] = {
        {0x10001, "Vivante"},           {0x10002, "VeriSilicon"}, {0x10003, "Kazan Software"},
        {0x10004, "Codeplay Software"}, {0x10005, "Mesa"},        {0x10006, "PoCL"},
        {0x10007, "Mobileye"}};
    std::string name = vendor_name_of(vendor);
    for (const auto& [id, known] : khronos) {
        if (id == vendor) {
            name = known;
        }
    }
    return (name.empty() ? "unknown" : name) + " (" + hex_id_text(vendor, 4) + ")";
}

std::string driver_id_text(uint32_t id) {
    static constexpr const char* names[] = {nullptr,
                                            "AMD_PROPRIETARY",
                                            "AMD_OPEN_SOURCE",
                                            "MESA_RADV",
                                            "NVIDIA_PROPRIETARY",
                                            "INTEL_PROPRIETARY_WINDOWS",
                                            "INTEL_OPEN_SOURCE_MESA",
                                            "IMAGINATION_PROPRIETARY",
                                            "QUALCOMM_PROPRIETARY",
                                            "ARM_PROPRIETARY",
                                            "GOOGLE_SWIFTSHADER",
                                            "GGP_PROPRIETARY",
                                            "BROADCOM_PROPRIETARY",
                                            "MESA_LLVMPIPE",
                                            "MOLTENVK",
                                            "COREAVI_PROPRIETARY",
                                            "JUICE_PROPRIETARY",
                                            "VERISILICON_PROPRIETARY",
                                            "MESA_TURNIP",
                                            "MESA_V3DV",
                                            "MESA_PANVK",
                                            "SAMSUNG_PROPRIETARY",
                                            "MESA_VENUS",
                                            "MESA_DOZEN",
                                            "MESA_NVK",
                                            "IMAGINATION_OPEN_SOURCE_MESA"};
    const char* name = id < std::size(names) ? names[id] : nullptr;
    return (name != nullptr ? std::string(name) + " " : std::string()) + "(" + std::to_string(id) + ")";
}

std::string enum_name(uint32_t value, std::initializer_list<const char*> names) {
    return value < names.size() ? names.begin()[value] : std::to_string(value);
}

// Numbers of one element size, joined by " x ".
template <typename T, typename Format>
std::string joined(const std::byte* at, uint32_t size, Format format) {
    std::string text;
    for (uint32_t offset = 0; offset + sizeof(T) <= size; offset += sizeof(T)) {
        text += (text.empty() ? "" : " x ") + format(read<T>(at + offset));
    }
    return text;
}

}  // namespace

const std::byte* structure_of(const vk_device_record& device, vk_structure structure) {
    const auto bytes = [](const auto& value) { return reinterpret_cast<const std::byte*>(&value); };
    switch (structure) {
        case vk_structure::properties:
            return bytes(device.properties);
        case vk_structure::sparse:
            return bytes(device.properties.sparseProperties);
        case vk_structure::limits:
            return bytes(device.properties.limits);
        case vk_structure::id:
            return device.has_id ? bytes(device.id) : nullptr;
        case vk_structure::driver:
            return device.has_driver ? bytes(device.driver) : nullptr;
        case vk_structure::vulkan11:
            return device.has_vulkan11 ? bytes(device.vulkan11) : nullptr;
        case vk_structure::vulkan12:
            return device.has_vulkan12 ? bytes(device.vulkan12) : nullptr;
        case vk_structure::vulkan13:
            return device.has_vulkan13 ? bytes(device.vulkan13) : nullptr;
        case vk_structure::features:
            return bytes(device.features);
        case vk_structure::features11:
            return device.has_vulkan11 ? bytes(device.features11) : nullptr;
        case vk_structure::features12:
            return device.has_vulkan12 ? bytes(device.features12) : nullptr;
        case vk_structure::features13:
            return device.has_vulkan13 ? bytes(device.features13) : nullptr;
    }
    return nullptr;
}

std::string vk_flag_names(uint64_t bits, std::span<const vk_name> names) {
    std::string text;
    for (const vk_name& bit : names) {
        const auto value = static_cast<uint64_t>(bit.value);
        if (bit.value > 0 && (value & (value - 1)) == 0 && (bits & value) != 0) {
            text += (text.empty() ? "" : ", ") + std::string(bit.name);
            bits &= ~value;
        }
    }
    if (bits != 0) {
        char rest[24];
        std::snprintf(rest, sizeof rest, "0x%llX", static_cast<unsigned long long>(bits));
        text += (text.empty() ? "" : ", ") + std::string(rest);
    }
    return text.empty() ? "none" : text;
}

std::string vk_enum_name(int64_t value, std::span<const vk_name> names) {
    for (const vk_name& name : names) {
        if (name.value == value) {
            return name.name;
        }
    }
    return "unknown (" + std::to_string(value) + ")";
}

std::pair<row_kind, std::string> vk_field_value(const vk_field& field, const std::byte* structure,
                                                const vk_device_record& device) {
    const std::byte* at = structure + field.offset;
    const uint32_t word = field.size >= 4 ? read<uint32_t>(at) : 0;
    const auto number_text = [](auto value) { return std::to_string(value); };
    switch (field.kind) {
        case number:
            return {row_kind::number, joined<uint32_t>(at, field.size, number_text)};
        case signed_number:
            return {row_kind::number, joined<int32_t>(at, field.size, number_text)};
        case real:
            return {row_kind::number,
                    joined<float>(at, field.size, [](float value) { return general_text(value, '.'); })};
        case size:
            return {row_kind::number, joined<uint64_t>(at, field.size, number_text)};
        case yes_no:
            return {row_kind::yes_no, word != 0 ? "yes" : "no"};
        case sample_counts: {
            std::string counts;
            for (uint32_t count = 1; count <= 64; count *= 2) {
                if ((word & count) != 0) {
                    counts += (counts.empty() ? "x" : " x") + std::to_string(count);
                }
            }
            return {row_kind::text, counts.empty() ? "none" : counts};
        }
        case shader_stages:
            return {row_kind::text, flag_names(word, {{0x1, "vertex"},
                                                      {0x2, "tessellation control"},
                                                      {0x4, "tessellation evaluation"},
                                                      {0x8, "geometry"},
                                                      {0x10, "fragment"},
                                                      {0x20, "compute"},
                                                      {0x40, "task"},
                                                      {0x80, "mesh"},
                                                      {0x100, "ray generation"},
                                                      {0x200, "any hit"},
                                                      {0x400, "closest hit"},
                                                      {0x800, "miss"},
                                                      {0x1000, "intersection"},
                                                      {0x2000, "callable"}})};
        case subgroup_operations:
            return {row_kind::text, flag_names(word, {{0x1, "basic"},
                                                      {0x2, "vote"},
                                                      {0x4, "arithmetic"},
                                                      {0x8, "ballot"},
                                                      {0x10, "shuffle"},
                                                      {0x20, "relative shuffle"},
                                                      {0x40, "clustered"},
                                                      {0x80, "quad"},
                                                      {0x100, "partitioned"}})};
        case resolve_modes:
            return {row_kind::text,
                    flag_names(word,
                               {{0x1, "sample zero"}, {0x2, "average"}, {0x4, "minimum"}, {0x8, "maximum"}})};
        case point_clipping:
            return {row_kind::text, enum_name(word, {"all clip planes", "user clip planes only"})};
        case float_controls:
            return {row_kind::text, enum_name(word, {"32-bit only", "all", "none"})};
        case driver_id:
            return {row_kind::text, driver_id_text(word)};
        case device_type:
            return {row_kind::text,
                    enum_name(word, {"other", "integrated GPU", "discrete GPU", "virtual GPU", "CPU"})};
        case api_version:
            return {row_kind::number, version_text(word)};
        case driver_version:
            return {row_kind::number, driver_version_of(word, device.properties.vendorID)};
        case vendor:
            return {row_kind::text, vendor_text(word)};
        case vk_kind::device: {
            const std::string name = gpu_name_of(device.properties.vendorID, word);
            return {row_kind::text, (name.empty() ? "unknown" : name) + " (" + hex_id_text(word, 4) + ")"};
        }
        case uuid:
        case luid:
            return {row_kind::text, hex_bytes(at, field.size)};
        case text:
            return {row_kind::text, std::string(reinterpret_cast<const char*>(at),
                                                strnlen(reinterpret_cast<const char*>(at), field.size))};
        case conformance:
            return {row_kind::number, std::to_string(static_cast<unsigned>(at[0])) + "." +
                                          std::to_string(static_cast<unsigned>(at[1])) + "." +
                                          std::to_string(static_cast<unsigned>(at[2])) + "." +
                                          std::to_string(static_cast<unsigned>(at[3]))};
        case signed_size:
            return {row_kind::number, joined<int64_t>(at, field.size, number_text)};
        case flags:
            return {row_kind::text, vk_flag_names(field.size >= 8 ? read<uint64_t>(at) : word, field.names)};
        case enumerated:
            return {row_kind::text, vk_enum_name(static_cast<int32_t>(word), field.names)};
        case bytes:
            return {row_kind::text, hex_bytes(at, field.size)};
    }
    return {row_kind::text, {}};
}

const char* vk_description_of(const vk_field& field) {
    static const auto by_member = [] {
        std::unordered_map<std::string_view, const char*> map;
        for (const auto list : described) {
            for (const vk_description& description : list) {
                map.emplace(description.member, description.text);
            }
        }
        return map;
    }();
    const auto found = by_member.find(field.name);
    return found != by_member.end() ? found->second : field.description;
}

std::vector<std::string_view> vk_described_members() {
    std::vector<std::string_view> members;
    for (const auto list : described) {
        for (const vk_description& description : list) {
            members.push_back(description.member);
        }
    }
    return members;
}

namespace vk_rows {

std::span<const vk_table> device_tables() {
    return std::span(every_table()).first(device_sections);
}

const vk_table& limits_table() {
    return every_table()[device_sections];
}

std::span<const vk_table> feature_tables() {
    return std::span(every_table()).subspan(device_sections + 1);
}

}  // namespace vk_rows
