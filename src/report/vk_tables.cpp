#include "report/vk_tables.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "base/text.h"
#include "probe/records.h"
#include "refdata/pci_names.h"
#include "report/value_format.h"

namespace {

using enum vk_kind;

// A member of a structure, named as it is spelt.
#define VK_FIELD(structure, member, kind, description)                          \
    vk_field {                                                                  \
#member, kind, static_cast < uint32_t>(offsetof(structure, member)),    \
            static_cast < uint32_t>(sizeof(structure::member)), description, {} \
    }
#define PROPERTY(member, kind, description) VK_FIELD(VkPhysicalDeviceProperties, member, kind, description)
#define SPARSE(member, description) VK_FIELD(VkPhysicalDeviceSparseProperties, member, yes_no, description)
#define ID(member, kind, description) VK_FIELD(VkPhysicalDeviceIDProperties, member, kind, description)
#define DRIVER(member, kind, description) \
    VK_FIELD(VkPhysicalDeviceDriverProperties, member, kind, description)
#define V11(member, kind, description) VK_FIELD(VkPhysicalDeviceVulkan11Properties, member, kind, description)
#define V12(member, kind, description) VK_FIELD(VkPhysicalDeviceVulkan12Properties, member, kind, description)
#define V13(member, kind, description) VK_FIELD(VkPhysicalDeviceVulkan13Properties, member, kind, description)
#define LIMIT(member, kind, description) VK_FIELD(VkPhysicalDeviceLimits, member, kind, description)
#define FEATURE(member, description) VK_FIELD(VkPhysicalDeviceFeatures, member, yes_no, description)
#define F11(member, description) VK_FIELD(VkPhysicalDeviceVulkan11Features, member, yes_no, description)
#define F12(member, description) VK_FIELD(VkPhysicalDeviceVulkan12Features, member, yes_no, description)
#define F13(member, description) VK_FIELD(VkPhysicalDeviceVulkan13Features, member, yes_no, description)

// ---- Device page -----------------------------------------------------------

constexpr vk_field properties[] = {
    PROPERTY(apiVersion, api_version, "Newest version of Vulkan the device supports."),
    PROPERTY(driverVersion, driver_version,
             "Version of the driver, read as its vendor numbers its versions."),
    PROPERTY(vendorID, vendor, "Maker of the device, by its PCI vendor or Khronos vendor identifier."),
    PROPERTY(deviceID, device, "The chip, by the identifier its vendor gave it."),
    PROPERTY(deviceType, device_type,
             "Whether the device is a discrete, integrated, virtual or software one."),
    PROPERTY(deviceName, text, "Name the driver gives the device."),
    PROPERTY(pipelineCacheUUID, uuid,
             "Version of the driver's pipeline cache: a cache saved under another value cannot be loaded."),
};

constexpr vk_field sparse[] = {
    SPARSE(residencyStandard2DBlockShape, "Sparse 2D images are bound in the standard block shapes."),
    SPARSE(residencyStandard2DMultisampleBlockShape,
           "Sparse multisampled 2D images are bound in the standard block shapes."),
    SPARSE(residencyStandard3DBlockShape, "Sparse 3D images are bound in the standard block shapes."),
    SPARSE(residencyAlignedMipSize,
           "Mip levels whose size is not a whole number of blocks go into the image's mip tail."),
    SPARSE(residencyNonResidentStrict,
           "Reading unbound sparse memory gives zeros, and writing to it changes nothing."),
};

constexpr vk_field id[] = {
    ID(deviceUUID, uuid, "Identifier of the device that is the same in every process, instance and API."),
    ID(driverUUID, uuid, "Identifier of the driver build; memory is shared only between equal identifiers."),
    ID(deviceLUID, luid,
       "Locally unique identifier of the device, the LUID of its DXGI adapter where valid."),
    ID(deviceNodeMask, number, "Node of a linked group of adapters that the device stands for."),
    ID(deviceLUIDValid, yes_no, "The locally unique identifier holds a value."),
};

constexpr vk_field driver[] = {
    DRIVER(driverID, driver_id, "The driver, by its registered identifier."),
    DRIVER(driverName, text, "Name of the driver."),
    DRIVER(driverInfo, text, "Further words of the driver, often its version."),
    DRIVER(conformanceVersion, conformance, "Version of the conformance tests the driver passed."),
};

// The identifiers that Vulkan 1.1's and 1.2's structures repeat stand in
// the sections above.
constexpr vk_field vulkan11[] = {
    V11(subgroupSize, number, "Invocations in one subgroup."),
    V11(subgroupSupportedStages, shader_stages, "Shader stages in which subgroup operations work."),
    V11(subgroupSupportedOperations, subgroup_operations, "Kinds of subgroup operations the device offers."),
    V11(subgroupQuadOperationsInAllStages, yes_no,
        "Quad operations work in every stage with subgroups, not only in fragment and compute shaders."),
    V11(pointClippingBehavior, point_clipping, "Which clip planes cull a point."),
    V11(maxMultiviewViewCount, number, "Most views one multiview render pass renders to."),
    V11(maxMultiviewInstanceIndex, number, "Largest instance index of a draw in a multiview render pass."),
    V11(protectedNoFault, yes_no, "Misusing protected memory gives undefined values instead of a fault."),
    V11(maxPerSetDescriptors, number, "About how many descriptors one descriptor set layout can hold."),
    V11(maxMemoryAllocationSize, size, "Largest single memory allocation, in bytes."),
};

#define V12_FLOAT(member, what, width) \
    V12(member, yes_no, what " in " width "-bit floating-point arithmetic.")
#define V12_NATIVE(member, what) \
    V12(member, yes_no, what " arrays indexed non-uniformly cost the shader nothing extra.")
#define V12_STAGE(member, what) \
    V12(member, number, "Most update-after-bind " what " one shader stage can use.")
#define V12_SET(member, what) V12(member, number, "Most update-after-bind " what " in one pipeline layout.")

constexpr vk_field vulkan12[] = {
    V12(denormBehaviorIndependence, float_controls,
        "Which floating-point widths can set their handling of denormals on their own."),
    V12(roundingModeIndependence, float_controls,
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
    V12(maxUpdateAfterBindDescriptorsInAllPools, number,
        "Most update-after-bind descriptors in all descriptor pools together."),
    V12_NATIVE(shaderUniformBufferArrayNonUniformIndexingNative, "Uniform buffer"),
    V12_NATIVE(shaderSampledImageArrayNonUniformIndexingNative, "Sampled image"),
    V12_NATIVE(shaderStorageBufferArrayNonUniformIndexingNative, "Storage buffer"),
    V12_NATIVE(shaderStorageImageArrayNonUniformIndexingNative, "Storage image"),
    V12_NATIVE(shaderInputAttachmentArrayNonUniformIndexingNative, "Input attachment"),
    V12(robustBufferAccessUpdateAfterBind, yes_no,
        "Robust buffer access can be on together with update-after-bind descriptors."),
    V12(quadDivergentImplicitLod, yes_no,
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
    V12(supportedDepthResolveModes, resolve_modes, "Ways a multisampled depth attachment can be resolved."),
    V12(supportedStencilResolveModes, resolve_modes,
        "Ways a multisampled stencil attachment can be resolved."),
    V12(independentResolveNone, yes_no,
        "Depth and stencil can take different resolve modes where one of them is not resolved."),
    V12(independentResolve, yes_no, "Depth and stencil can take any two different resolve modes."),
    V12(filterMinmaxSingleComponentFormats, yes_no,
        "Min/max filtering works on the single-component formats that need it."),
    V12(filterMinmaxImageComponentMapping, yes_no,
        "Min/max filtering follows an image view's component mapping."),
    V12(maxTimelineSemaphoreValueDifference, size,
        "Largest difference between a timeline semaphore's value and any value waited for or signalled."),
    V12(framebufferIntegerColorSampleCounts, sample_counts, "Sample counts of integer colour attachments."),
};

#define DOT(member, what) V13(member, yes_no, "Dot products of " what " run faster than the same arithmetic.")
#define DOT_SAT(member, what) \
    V13(member, yes_no,       \
        "Saturating accumulation of dot products of " what " runs faster than the same arithmetic.")

constexpr vk_field vulkan13[] = {
    V13(minSubgroupSize, number, "Smallest subgroup size the device can run."),
    V13(maxSubgroupSize, number, "Largest subgroup size the device can run."),
    V13(maxComputeWorkgroupSubgroups, number, "Most subgroups in one compute workgroup."),
    V13(requiredSubgroupSizeStages, shader_stages, "Shader stages whose subgroup size can be chosen."),
    V13(maxInlineUniformBlockSize, number, "Largest inline uniform block, in bytes."),
    V13(maxPerStageDescriptorInlineUniformBlocks, number,
        "Most inline uniform blocks one shader stage can use."),
    V13(maxPerStageDescriptorUpdateAfterBindInlineUniformBlocks, number,
        "Most update-after-bind inline uniform blocks one shader stage can use."),
    V13(maxDescriptorSetInlineUniformBlocks, number, "Most inline uniform blocks in one pipeline layout."),
    V13(maxDescriptorSetUpdateAfterBindInlineUniformBlocks, number,
        "Most update-after-bind inline uniform blocks in one pipeline layout."),
    V13(maxInlineUniformTotalSize, number,
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
    V13(storageTexelBufferOffsetAlignmentBytes, size,
        "Alignment in bytes that a storage texel buffer's offset needs at most."),
    V13(storageTexelBufferOffsetSingleTexelAlignment, yes_no,
        "A storage texel buffer's offset may be aligned to one texel instead."),
    V13(uniformTexelBufferOffsetAlignmentBytes, size,
        "Alignment in bytes that a uniform texel buffer's offset needs at most."),
    V13(uniformTexelBufferOffsetSingleTexelAlignment, yes_no,
        "A uniform texel buffer's offset may be aligned to one texel instead."),
    V13(maxBufferSize, size, "Largest buffer that can be made, in bytes."),
};

// ---- Limits page -----------------------------------------------------------

#define STAGE_LIMIT(member, what) LIMIT(member, number, "Most " what " one shader stage can use.")
#define SET_LIMIT(member, what) LIMIT(member, number, "Most " what " in one pipeline layout.")
#define SAMPLES(member, what) LIMIT(member, sample_counts, "Sample counts " what ".")

constexpr vk_field limits[] = {
    LIMIT(maxImageDimension1D, number, "Largest width of a 1D image, in texels."),
    LIMIT(maxImageDimension2D, number, "Largest width and height of a 2D image, in texels."),
    LIMIT(maxImageDimension3D, number, "Largest width, height and depth of a 3D image, in texels."),
    LIMIT(maxImageDimensionCube, number, "Largest width and height of a cube map, in texels."),
    LIMIT(maxImageArrayLayers, number, "Most layers of an array image."),
    LIMIT(maxTexelBufferElements, number, "Most texels a texel buffer view can address."),
    LIMIT(maxUniformBufferRange, number, "Largest range of a uniform buffer binding, in bytes."),
    LIMIT(maxStorageBufferRange, number, "Largest range of a storage buffer binding, in bytes."),
    LIMIT(maxPushConstantsSize, number, "Room for push constants, in bytes."),
    LIMIT(maxMemoryAllocationCount, number, "Most device memory allocations that can exist at once."),
    LIMIT(maxSamplerAllocationCount, number, "Most samplers that can exist at once."),
    LIMIT(bufferImageGranularity, size,
          "Granularity in bytes at which buffers and optimally tiled images may share memory without "
          "aliasing."),
    LIMIT(sparseAddressSpaceSize, size, "Address space for sparse resources, in bytes."),
    LIMIT(maxBoundDescriptorSets, number, "Most descriptor sets a pipeline can use at once."),
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
    LIMIT(maxVertexInputAttributes, number, "Most vertex attributes a pipeline can read."),
    LIMIT(maxVertexInputBindings, number, "Most vertex buffers a pipeline can read from at once."),
    LIMIT(maxVertexInputAttributeOffset, number, "Largest offset of an attribute within a vertex, in bytes."),
    LIMIT(maxVertexInputBindingStride, number, "Largest stride between vertices of one buffer, in bytes."),
    LIMIT(maxVertexOutputComponents, number, "Most output components of a vertex shader."),
    LIMIT(maxTessellationGenerationLevel, number, "Highest tessellation level the generator accepts."),
    LIMIT(maxTessellationPatchSize, number, "Most vertices in one tessellation patch."),
    LIMIT(maxTessellationControlPerVertexInputComponents, number,
          "Most input components per vertex of a tessellation control shader."),
    LIMIT(maxTessellationControlPerVertexOutputComponents, number,
          "Most output components per vertex of a tessellation control shader."),
    LIMIT(maxTessellationControlPerPatchOutputComponents, number,
          "Most output components per patch of a tessellation control shader."),
    LIMIT(maxTessellationControlTotalOutputComponents, number,
          "Most output components of a tessellation control shader, per vertex and per patch together."),
    LIMIT(maxTessellationEvaluationInputComponents, number,
          "Most input components per vertex of a tessellation evaluation shader."),
    LIMIT(maxTessellationEvaluationOutputComponents, number,
          "Most output components per vertex of a tessellation evaluation shader."),
    LIMIT(maxGeometryShaderInvocations, number, "Most invocations of a geometry shader per primitive."),
    LIMIT(maxGeometryInputComponents, number, "Most input components per vertex of a geometry shader."),
    LIMIT(maxGeometryOutputComponents, number, "Most output components per vertex of a geometry shader."),
    LIMIT(maxGeometryOutputVertices, number, "Most vertices one geometry shader invocation can emit."),
    LIMIT(maxGeometryTotalOutputComponents, number,
          "Most output components of all vertices one geometry shader invocation emits."),
    LIMIT(maxFragmentInputComponents, number, "Most input components of a fragment shader."),
    LIMIT(maxFragmentOutputAttachments, number, "Most colour attachments a fragment shader can write."),
    LIMIT(maxFragmentDualSrcAttachments, number,
          "Most colour attachments that dual-source blending can write."),
    LIMIT(maxFragmentCombinedOutputResources, number,
          "Most storage buffers, storage images and colour outputs of one fragment shader together."),
    LIMIT(maxComputeSharedMemorySize, number, "Shared memory of one compute workgroup, in bytes."),
    LIMIT(maxComputeWorkGroupCount, number, "Most workgroups one dispatch can launch in x, y and z."),
    LIMIT(maxComputeWorkGroupInvocations, number, "Most invocations in one compute workgroup."),
    LIMIT(maxComputeWorkGroupSize, number, "Largest size of a compute workgroup in x, y and z."),
    LIMIT(subPixelPrecisionBits, number, "Bits of sub-pixel precision of the rasteriser's coordinates."),
    LIMIT(subTexelPrecisionBits, number, "Bits of precision between texels when an image is filtered."),
    LIMIT(mipmapPrecisionBits, number, "Bits of precision between mip levels when they are blended."),
    LIMIT(maxDrawIndexedIndexValue, number, "Largest index an indexed draw can use."),
    LIMIT(maxDrawIndirectCount, number, "Most draws one indirect draw call can make."),
    LIMIT(maxSamplerLodBias, real, "Largest bias a sampler can add to the level of detail."),
    LIMIT(maxSamplerAnisotropy, real, "Highest degree of anisotropic filtering."),
    LIMIT(maxViewports, number, "Most viewports active at once."),
    LIMIT(maxViewportDimensions, number, "Largest width and height of a viewport, in pixels."),
    LIMIT(viewportBoundsRange, real, "Range that a viewport's corners must lie in."),
    LIMIT(viewportSubPixelBits, number, "Bits of sub-pixel precision of a viewport's bounds."),
    LIMIT(minMemoryMapAlignment, size, "Alignment in bytes of a pointer to mapped memory, at the least."),
    LIMIT(minTexelBufferOffsetAlignment, size, "Alignment in bytes that a texel buffer view's offset needs."),
    LIMIT(minUniformBufferOffsetAlignment, size,
          "Alignment in bytes that a uniform buffer binding's offset needs."),
    LIMIT(minStorageBufferOffsetAlignment, size,
          "Alignment in bytes that a storage buffer binding's offset needs."),
    LIMIT(minTexelOffset, signed_number, "Smallest offset of a texel fetch with an offset."),
    LIMIT(maxTexelOffset, number, "Largest offset of a texel fetch with an offset."),
    LIMIT(minTexelGatherOffset, signed_number, "Smallest offset of a gather with an offset."),
    LIMIT(maxTexelGatherOffset, number, "Largest offset of a gather with an offset."),
    LIMIT(minInterpolationOffset, real, "Smallest offset of interpolation at an offset, in pixels."),
    LIMIT(maxInterpolationOffset, real, "Largest offset of interpolation at an offset, in pixels."),
    LIMIT(subPixelInterpolationOffsetBits, number, "Bits of sub-pixel precision of an interpolation offset."),
    LIMIT(maxFramebufferWidth, number, "Largest width of a framebuffer, in pixels."),
    LIMIT(maxFramebufferHeight, number, "Largest height of a framebuffer, in pixels."),
    LIMIT(maxFramebufferLayers, number, "Most layers of a framebuffer."),
    SAMPLES(framebufferColorSampleCounts, "of floating-point and fixed-point colour attachments"),
    SAMPLES(framebufferDepthSampleCounts, "of depth attachments"),
    SAMPLES(framebufferStencilSampleCounts, "of stencil attachments"),
    SAMPLES(framebufferNoAttachmentsSampleCounts, "of a subpass without attachments"),
    LIMIT(maxColorAttachments, number, "Most colour attachments of one subpass."),
    SAMPLES(sampledImageColorSampleCounts, "of sampled non-integer colour images"),
    SAMPLES(sampledImageIntegerSampleCounts, "of sampled integer colour images"),
    SAMPLES(sampledImageDepthSampleCounts, "of sampled depth images"),
    SAMPLES(sampledImageStencilSampleCounts, "of sampled stencil images"),
    SAMPLES(storageImageSampleCounts, "of storage images"),
    LIMIT(maxSampleMaskWords, number, "Most 32-bit words of a sample mask."),
    LIMIT(timestampComputeAndGraphics, yes_no, "Every graphics and compute queue supports timestamps."),
    LIMIT(timestampPeriod, real, "Nanoseconds one timestamp tick lasts."),
    LIMIT(maxClipDistances, number, "Most clip distances of one shader."),
    LIMIT(maxCullDistances, number, "Most cull distances of one shader."),
    LIMIT(maxCombinedClipAndCullDistances, number, "Most clip and cull distances of one shader together."),
    LIMIT(discreteQueuePriorities, number, "Number of distinct priorities a queue can be given."),
    LIMIT(pointSizeRange, real, "Smallest and largest size of a point, in pixels."),
    LIMIT(lineWidthRange, real, "Smallest and largest width of a line, in pixels."),
    LIMIT(pointSizeGranularity, real, "Step between the point sizes the device draws."),
    LIMIT(lineWidthGranularity, real, "Step between the line widths the device draws."),
    LIMIT(strictLines, yes_no, "Wide lines are drawn as the strict rectangles the Vulkan API defines."),
    LIMIT(standardSampleLocations, yes_no, "Samples lie at the standard positions within a pixel."),
    LIMIT(optimalBufferCopyOffsetAlignment, size,
          "Best alignment in bytes of a buffer offset in copies to images."),
    LIMIT(optimalBufferCopyRowPitchAlignment, size,
          "Best alignment in bytes of a row pitch in copies to images."),
    LIMIT(nonCoherentAtomSize, size,
          "Granularity in bytes of flushing and invalidating non-coherent memory."),
};

// ---- Features page ---------------------------------------------------------

#define SPARSE_SAMPLES(member, count) \
    FEATURE(member, "Sparse 2D images of " count " samples per pixel can be partly resident.")
#define DYNAMIC_INDEXING(member, what) \
    FEATURE(member, "Shaders can index arrays of " what " with dynamically uniform expressions.")

constexpr vk_field features[] = {
    FEATURE(robustBufferAccess, "Buffer accesses out of bounds are checked and cannot reach other memory."),
    FEATURE(fullDrawIndexUint32, "32-bit indices of draws may use their whole range."),
    FEATURE(imageCubeArray, "Cube map array images can be made."),
    FEATURE(independentBlend, "Each colour attachment can blend in its own way."),
    FEATURE(geometryShader, "Geometry shaders run."),
    FEATURE(tessellationShader, "Tessellation control and evaluation shaders run."),
    FEATURE(sampleRateShading, "The fragment shader can run once per sample."),
    FEATURE(dualSrcBlend, "Blending can take two source colours."),
    FEATURE(logicOp, "Colour attachments can be written with logic operations."),
    FEATURE(multiDrawIndirect, "One indirect draw call can make several draws."),
    FEATURE(drawIndirectFirstInstance, "Indirect draws can start at an instance other than zero."),
    FEATURE(depthClamp, "Depth can be clamped instead of clipped."),
    FEATURE(depthBiasClamp, "The depth bias can be clamped."),
    FEATURE(fillModeNonSolid, "Polygons can be drawn as points or lines."),
    FEATURE(depthBounds, "Fragments can be discarded outside a range of depths."),
    FEATURE(wideLines, "Lines wider than one pixel can be drawn."),
    FEATURE(largePoints, "Points larger than one pixel can be drawn."),
    FEATURE(alphaToOne, "The alpha of a fragment's colour can be replaced by one."),
    FEATURE(multiViewport, "More than one viewport can be active."),
    FEATURE(samplerAnisotropy, "Samplers can filter anisotropically."),
    FEATURE(textureCompressionETC2, "Images in the ETC2 and EAC compressed formats can be sampled."),
    FEATURE(textureCompressionASTC_LDR,
            "Images in the ASTC compressed formats of low dynamic range can be sampled."),
    FEATURE(textureCompressionBC, "Images in the BC compressed formats can be sampled."),
    FEATURE(occlusionQueryPrecise, "Occlusion queries can count the exact number of samples that pass."),
    FEATURE(pipelineStatisticsQuery, "Pipeline statistics can be queried."),
    FEATURE(vertexPipelineStoresAndAtomics,
            "Vertex, tessellation and geometry shaders can store and use atomics."),
    FEATURE(fragmentStoresAndAtomics, "Fragment shaders can store and use atomics."),
    FEATURE(shaderTessellationAndGeometryPointSize,
            "Tessellation and geometry shaders can set the size of a point."),
    FEATURE(shaderImageGatherExtended, "Image gathers can take offsets that are not constant."),
    FEATURE(shaderStorageImageExtendedFormats, "Storage images can have the further formats that need this."),
    FEATURE(shaderStorageImageMultisample, "Storage images can be multisampled."),
    FEATURE(shaderStorageImageReadWithoutFormat, "Storage images can be read without a declared format."),
    FEATURE(shaderStorageImageWriteWithoutFormat, "Storage images can be written without a declared format."),
    DYNAMIC_INDEXING(shaderUniformBufferArrayDynamicIndexing, "uniform buffers"),
    DYNAMIC_INDEXING(shaderSampledImageArrayDynamicIndexing, "samplers and sampled images"),
    DYNAMIC_INDEXING(shaderStorageBufferArrayDynamicIndexing, "storage buffers"),
    DYNAMIC_INDEXING(shaderStorageImageArrayDynamicIndexing, "storage images"),
    FEATURE(shaderClipDistance, "Shaders can write clip distances."),
    FEATURE(shaderCullDistance, "Shaders can write cull distances."),
    FEATURE(shaderFloat64, "Shaders can compute with 64-bit floating-point values."),
    FEATURE(shaderInt64, "Shaders can compute with 64-bit integers."),
    FEATURE(shaderInt16, "Shaders can compute with 16-bit integers."),
    FEATURE(shaderResourceResidency, "Shaders can learn whether the texels they read are resident."),
    FEATURE(shaderResourceMinLod, "Shaders can clamp the level of detail they sample at."),
    FEATURE(sparseBinding, "Resources can be bound to memory sparsely."),
    FEATURE(sparseResidencyBuffer, "Buffers can be partly resident."),
    FEATURE(sparseResidencyImage2D, "2D images of one sample per pixel can be partly resident."),
    FEATURE(sparseResidencyImage3D, "3D images can be partly resident."),
    SPARSE_SAMPLES(sparseResidency2Samples, "2"),
    SPARSE_SAMPLES(sparseResidency4Samples, "4"),
    SPARSE_SAMPLES(sparseResidency8Samples, "8"),
    SPARSE_SAMPLES(sparseResidency16Samples, "16"),
    FEATURE(sparseResidencyAliased, "Sparse memory can be bound to several places at once."),
    FEATURE(variableMultisampleRate, "A subpass without attachments may use any sample count."),
    FEATURE(inheritedQueries, "Secondary command buffers can run inside an active query."),
};

constexpr vk_field features11[] = {
    F11(storageBuffer16BitAccess, "Storage buffers can hold 16-bit values."),
    F11(uniformAndStorageBuffer16BitAccess, "Uniform and storage buffers can hold 16-bit values."),
    F11(storagePushConstant16, "Push constants can hold 16-bit values."),
    F11(storageInputOutput16, "Shader inputs and outputs can be 16-bit values."),
    F11(multiview, "One render pass can render to several views."),
    F11(multiviewGeometryShader, "Multiview works with geometry shaders."),
    F11(multiviewTessellationShader, "Multiview works with tessellation shaders."),
    F11(variablePointersStorageBuffer, "Shaders can use pointers into storage buffers as variables."),
    F11(variablePointers, "Shaders can use pointers as variables."),
    F11(protectedMemory, "Protected memory can be allocated."),
    F11(samplerYcbcrConversion, "Samplers can convert Y'CbCr images to RGB."),
    F11(shaderDrawParameters, "Shaders can read the parameters of the draw."),
};

#define NON_UNIFORM(member, what) \
    F12(member, "Shaders can index arrays of " what " with non-uniform expressions.")
#define UPDATE_AFTER_BIND(member, what) \
    F12(member, "Descriptors of " what " can be updated after they were bound.")

constexpr vk_field features12[] = {
    F12(samplerMirrorClampToEdge, "Samplers can mirror once and then clamp to the edge."),
    F12(drawIndirectCount, "Indirect draws can take their count from a buffer."),
    F12(storageBuffer8BitAccess, "Storage buffers can hold 8-bit values."),
    F12(uniformAndStorageBuffer8BitAccess, "Uniform and storage buffers can hold 8-bit values."),
    F12(storagePushConstant8, "Push constants can hold 8-bit values."),
    F12(shaderBufferInt64Atomics, "Shaders can use 64-bit atomics on buffers."),
    F12(shaderSharedInt64Atomics, "Shaders can use 64-bit atomics on shared memory."),
    F12(shaderFloat16, "Shaders can compute with 16-bit floating-point values."),
    F12(shaderInt8, "Shaders can compute with 8-bit integers."),
    F12(descriptorIndexing, "The descriptor indexing features a driver must offer together are there."),
    F12(shaderInputAttachmentArrayDynamicIndexing,
        "Shaders can index arrays of input attachments with dynamically uniform expressions."),
    F12(shaderUniformTexelBufferArrayDynamicIndexing,
        "Shaders can index arrays of uniform texel buffers with dynamically uniform expressions."),
    F12(shaderStorageTexelBufferArrayDynamicIndexing,
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
    F12(descriptorBindingUpdateUnusedWhilePending,
        "Descriptors that pending work does not use can be updated meanwhile."),
    F12(descriptorBindingPartiallyBound, "Descriptors a shader does not use need not be valid."),
    F12(descriptorBindingVariableDescriptorCount,
        "The last binding of a set can hold a variable number of descriptors."),
    F12(runtimeDescriptorArray,
        "Shaders can use arrays of descriptors whose size is known only when they run."),
    F12(samplerFilterMinmax, "Samplers can filter by the minimum or maximum of the texels."),
    F12(scalarBlockLayout, "Buffer blocks can use the scalar alignment rules."),
    F12(imagelessFramebuffer, "Framebuffers can be made without their images."),
    F12(uniformBufferStandardLayout, "Uniform buffers can use the same layout rules as storage buffers."),
    F12(shaderSubgroupExtendedTypes, "Subgroup operations work on 8-, 16- and 64-bit types."),
    F12(separateDepthStencilLayouts, "Depth and stencil aspects can be in different image layouts."),
    F12(hostQueryReset, "Queries can be reset from the host."),
    F12(timelineSemaphore, "Semaphores can count up as a timeline."),
    F12(bufferDeviceAddress, "Shaders can reach buffers through their device addresses."),
    F12(bufferDeviceAddressCaptureReplay, "Buffer device addresses can be saved and replayed."),
    F12(bufferDeviceAddressMultiDevice,
        "Buffer device addresses work on devices made of several physical ones."),
    F12(vulkanMemoryModel, "Shaders can use the Vulkan memory model."),
    F12(vulkanMemoryModelDeviceScope, "The Vulkan memory model can use the device scope."),
    F12(vulkanMemoryModelAvailabilityVisibilityChains,
        "The Vulkan memory model can use chains of availability and visibility operations."),
    F12(shaderOutputViewportIndex, "Vertex and tessellation shaders can choose the viewport."),
    F12(shaderOutputLayer, "Vertex and tessellation shaders can choose the layer."),
    F12(subgroupBroadcastDynamicId, "Subgroup broadcasts can take an invocation index that is not constant."),
};

constexpr vk_field features13[] = {
    F13(robustImageAccess, "Image accesses out of bounds are checked and cannot reach other memory."),
    F13(inlineUniformBlock, "Uniform data can be stored in descriptor sets themselves."),
    F13(descriptorBindingInlineUniformBlockUpdateAfterBind,
        "Inline uniform blocks can be updated after they were bound."),
    F13(pipelineCreationCacheControl,
        "Pipeline creation can be told not to compile and to lock the cache less."),
    F13(privateData, "Applications can attach their own data to Vulkan objects."),
    F13(shaderDemoteToHelperInvocation, "Fragment shaders can demote an invocation to a helper."),
    F13(shaderTerminateInvocation, "Fragment shaders can end an invocation at once."),
    F13(subgroupSizeControl, "The subgroup size of a shader can be chosen."),
    F13(computeFullSubgroups, "Compute shaders can be made to run full subgroups only."),
    F13(synchronization2, "The simpler second set of synchronisation commands is there."),
    F13(textureCompressionASTC_HDR,
        "Images in the ASTC compressed formats of high dynamic range can be sampled."),
    F13(shaderZeroInitializeWorkgroupMemory, "Workgroup memory can be set to zero when a shader starts."),
    F13(dynamicRendering, "Rendering can begin without a render pass object."),
    F13(shaderIntegerDotProduct, "Shaders can compute dot products of integer vectors."),
    F13(maintenance4, "The fourth set of small fixes and additions is there."),
};

constexpr vk_table device_list[] = {
    {"[VkPhysicalDeviceProperties]", "What every Vulkan device says of itself.", vk_structure::properties,
     properties},
    {"[VkPhysicalDeviceIDProperties]", "Identifiers shared with other APIs and processes (Vulkan 1.1).",
     vk_structure::id, id},
    {"[VkPhysicalDeviceDriverProperties]", "The driver (Vulkan 1.2).", vk_structure::driver, driver},
    {"[VkPhysicalDeviceVulkan11Properties]", "Properties of Vulkan 1.1.", vk_structure::vulkan11, vulkan11},
    {"[VkPhysicalDeviceVulkan12Properties]", "Properties of Vulkan 1.2.", vk_structure::vulkan12, vulkan12},
    {"[VkPhysicalDeviceVulkan13Properties]", "Properties of Vulkan 1.3.", vk_structure::vulkan13, vulkan13},
    {"[VkPhysicalDeviceSparseProperties]", "How sparse resources behave.", vk_structure::sparse, sparse},
};

constexpr vk_table limits_entry = {"[VkPhysicalDeviceLimits]", "The limits of the device.",
                                   vk_structure::limits, limits};

constexpr vk_table feature_list[] = {
    {"[VkPhysicalDeviceFeatures]", "Features of Vulkan 1.0.", vk_structure::features, features},
    {"[VkPhysicalDeviceVulkan11Features]", "Features of Vulkan 1.1.", vk_structure::features11, features11},
    {"[VkPhysicalDeviceVulkan12Features]", "Features of Vulkan 1.2.", vk_structure::features12, features12},
    {"[VkPhysicalDeviceVulkan13Features]", "Features of Vulkan 1.3.", vk_structure::features13, features13},
};

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

namespace vk_rows {

std::span<const vk_table> device_tables() {
    return device_list;
}

const vk_table& limits_table() {
    return limits_entry;
}

std::span<const vk_table> feature_tables() {
    return feature_list;
}

}  // namespace vk_rows
