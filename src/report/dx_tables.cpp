// The D3DCAPS9 flag groups and number rows of the DirectX pages, as data.
#include "report/dx_tables.h"

namespace {

// A flag row named after its constant and testing the constant's value.
#define FLAG(constant, description)      \
    flag_row {                           \
#constant, constant, description \
    }
// A number row named after its D3DCAPS9 field; the field's type picks the writer.
#define NUMBER(field, description) caps_number(#field, &D3DCAPS9::field, description)

// ---- Device page -----------------------------------------------------------

constexpr number_row adapter_rows[] = {
    NUMBER(AdapterOrdinal, "Number that identifies the adapter these capabilities belong to."),
    NUMBER(MasterAdapterOrdinal, "Ordinal of the master adapter of the group that this adapter belongs to."),
    NUMBER(AdapterOrdinalInGroup, "Position of this adapter within its group; 0 for the master adapter."),
    NUMBER(NumberOfAdaptersInGroup,
           "Number of adapters (heads) in the group, reported by the master adapter; 0 on the others."),
};

constexpr flag_row dev_caps_rows[] = {
    FLAG(D3DDEVCAPS_CANBLTSYSTONONLOCAL,
         "Device supports blits from system-memory textures to nonlocal video-memory textures."),
    FLAG(D3DDEVCAPS_CANRENDERAFTERFLIP,
         "Device can queue rendering commands after a page flip without waiting for the flip to finish."),
    FLAG(D3DDEVCAPS_DRAWPRIMITIVES2, "Device supports the DrawPrimitives2 driver interface."),
    FLAG(D3DDEVCAPS_DRAWPRIMITIVES2EX,
         "Device supports the extended DrawPrimitives2 driver interface of DirectX 7 and later."),
    FLAG(D3DDEVCAPS_DRAWPRIMTLVERTEX,
         "Device exports a hardware abstraction layer that understands DrawPrimitive."),
    FLAG(D3DDEVCAPS_EXECUTESYSTEMMEMORY, "Device can use execute buffers in system memory."),
    FLAG(D3DDEVCAPS_EXECUTEVIDEOMEMORY, "Device can use execute buffers in video memory."),
    FLAG(D3DDEVCAPS_HWRASTERIZATION, "Device has hardware acceleration for scene rasterization."),
    FLAG(D3DDEVCAPS_HWTRANSFORMANDLIGHT, "Device can transform and light vertices in hardware."),
    FLAG(D3DDEVCAPS_NPATCHES, "Device supports N-patches, curved triangles computed from vertex normals."),
    FLAG(D3DDEVCAPS_PUREDEVICE,
         "Device does rasterization, transform, lighting and shading in hardware, so a pure device can be "
         "created."),
    FLAG(D3DDEVCAPS_QUINTICRTPATCHES, "Device supports quintic Bezier curves and B-splines."),
    FLAG(D3DDEVCAPS_RTPATCHES, "Device supports rectangular and triangular patches."),
    FLAG(D3DDEVCAPS_RTPATCHHANDLEZERO,
         "Device can draw high-order surfaces without caching them when the patch handle is zero."),
    FLAG(D3DDEVCAPS_SEPARATETEXTUREMEMORIES,
         "Device textures from separate memory pools, one per texturing unit."),
    FLAG(D3DDEVCAPS_TEXTURENONLOCALVIDMEM,
         "Device can read textures from nonlocal video memory (AGP memory)."),
    FLAG(D3DDEVCAPS_TEXTURESYSTEMMEMORY, "Device can read textures from system memory."),
    FLAG(D3DDEVCAPS_TEXTUREVIDEOMEMORY, "Device can read textures from its own video memory."),
    FLAG(D3DDEVCAPS_TLVERTEXSYSTEMMEMORY, "Device can read transformed and lit vertices from system memory."),
    FLAG(D3DDEVCAPS_TLVERTEXVIDEOMEMORY, "Device can read transformed and lit vertices from video memory."),
};

constexpr flag_row dev_caps2_rows[] = {
    FLAG(D3DDEVCAPS2_ADAPTIVETESSRTPATCH,
         "Device supports adaptive tessellation of rectangular and triangular patches."),
    FLAG(D3DDEVCAPS2_ADAPTIVETESSNPATCH, "Device supports adaptive tessellation of N-patches."),
    FLAG(D3DDEVCAPS2_CAN_STRETCHRECT_FROM_TEXTURES,
         "Device supports StretchRect with a texture as the source."),
    FLAG(D3DDEVCAPS2_DMAPNPATCH, "Device supports displacement maps for N-patches."),
    FLAG(D3DDEVCAPS2_PRESAMPLEDDMAPNPATCH, "Device supports presampled displacement maps for N-patches."),
    FLAG(D3DDEVCAPS2_STREAMOFFSET, "Device supports stream offsets."),
    FLAG(D3DDEVCAPS2_VERTEXELEMENTSCANSHARESTREAMOFFSET,
         "Several vertex elements can share one offset within a stream."),
};

// ---- Capabilities page -----------------------------------------------------

constexpr number_row capability_rows[] = {
    NUMBER(MaxUserClipPlanes, "Maximum number of user-defined clipping planes that can be active at once."),
    NUMBER(MaxVertexBlendMatrices,
           "Maximum number of matrices that fixed-function vertex blending can combine."),
    NUMBER(MaxVertexBlendMatrixIndex,
           "Largest matrix index for indexed vertex blending; 0 means indexed vertex blending is not "
           "supported."),
    NUMBER(MaxPrimitiveCount, "Maximum number of primitives that one draw call can render."),
    NUMBER(MaxStreams, "Maximum number of vertex data streams that can be used at once."),
    NUMBER(MaxStreamStride, "Maximum stride of a vertex data stream, in bytes."),
};

constexpr flag_row caps_rows[] = {
    FLAG(D3DCAPS_READ_SCANLINE, "Display hardware is capable of returning the current scan line."),
};

constexpr flag_row caps2_rows[] = {
    FLAG(D3DCAPS2_CANAUTOGENMIPMAP, "Driver can generate the mipmap levels of a texture automatically."),
    FLAG(D3DCAPS2_CANCALIBRATEGAMMA,
         "A calibrator is installed that adjusts the gamma ramp so that colours look alike on calibrated "
         "systems."),
    FLAG(D3DCAPS2_CANMANAGERESOURCE, "Driver can manage textures, vertex buffers and index buffers itself."),
    FLAG(D3DCAPS2_DYNAMICTEXTURES,
         "Driver supports dynamic textures, which can be locked and refilled often."),
    FLAG(D3DCAPS2_FULLSCREENGAMMA, "Driver can change the gamma ramp while running in full-screen mode."),
};

constexpr flag_row caps3_rows[] = {
    FLAG(D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD,
         "Device applies alpha blending in full-screen mode with the flip or discard swap effect."),
    FLAG(D3DCAPS3_COPY_TO_VIDMEM, "Device can accelerate copies from system memory to local video memory."),
    FLAG(D3DCAPS3_COPY_TO_SYSTEMMEM,
         "Device can accelerate copies from local video memory to system memory."),
    // Spelt with a double P, as the report has always published it: the
    // receiving database matches rows by name. The mask is the right one.
    flag_row{
        "D3DCAPS3_LINEAR_TO_SRGB_PPRESENTATION", D3DCAPS3_LINEAR_TO_SRGB_PRESENTATION,
        "Device can convert a windowed back buffer of linear colours to an sRGB desktop when presenting."},
};

constexpr flag_row presentation_interval_rows[] = {
    FLAG(D3DPRESENT_INTERVAL_IMMEDIATE, "Presents at once, without waiting for the vertical retrace."),
    FLAG(D3DPRESENT_INTERVAL_ONE, "Presents at most once per vertical retrace."),
    FLAG(D3DPRESENT_INTERVAL_TWO, "Presents at most once every second vertical retrace."),
    FLAG(D3DPRESENT_INTERVAL_THREE, "Presents at most once every third vertical retrace."),
    FLAG(D3DPRESENT_INTERVAL_FOUR, "Presents at most once every fourth vertical retrace."),
};

constexpr flag_row cursor_rows[] = {
    FLAG(D3DCURSORCAPS_COLOR,
         "Supports a full-colour hardware cursor, at least in modes of 400 lines or more."),
    FLAG(D3DCURSORCAPS_LOWRES, "Supports a hardware cursor also in modes of fewer than 400 lines."),
};

constexpr flag_row stretch_rect_filter_rows[] = {
    FLAG(D3DPTFILTERCAPS_MINFPOINT, "StretchRect can shrink a rectangle with point filtering."),
    FLAG(D3DPTFILTERCAPS_MAGFPOINT, "StretchRect can enlarge a rectangle with point filtering."),
    FLAG(D3DPTFILTERCAPS_MINFLINEAR, "StretchRect can shrink a rectangle with linear filtering."),
    FLAG(D3DPTFILTERCAPS_MAGFLINEAR, "StretchRect can enlarge a rectangle with linear filtering."),
};

constexpr flag_group capability_group_list[] = {
    {"[Caps]", "Capabilities of the display driver.", &D3DCAPS9::Caps, caps_rows},
    {"[Caps2]", "Driver capabilities for mipmap generation, gamma ramps and resource management.",
     &D3DCAPS9::Caps2, caps2_rows},
    {"[Caps3]", "Driver capabilities for presentation, memory copies and sRGB conversion.", &D3DCAPS9::Caps3,
     caps3_rows},
    {"[PresentationIntervals]",
     "How presenting a frame can be synchronised with the display's vertical retrace.",
     &D3DCAPS9::PresentationIntervals, presentation_interval_rows},
    {"[CursorCaps]", "Capabilities of the hardware mouse cursor.", &D3DCAPS9::CursorCaps, cursor_rows},
    {"[StretchRectFilterCaps]",
     "Filters that StretchRect can apply when it copies a rectangle to another size.",
     &D3DCAPS9::StretchRectFilterCaps, stretch_rect_filter_rows},
};

// ---- Vertices page ---------------------------------------------------------

constexpr number_row vertex_rows[] = {
    NUMBER(MaxVertexW, "Largest W value (depth) of a vertex that the device can handle."),
    NUMBER(MaxVertexIndex,
           "Largest vertex index for hardware vertex processing; above 65535, 32-bit indices are supported."),
    NUMBER(MaxPointSize,
           "Largest size of a point primitive, in pixels; 1.0 means the point size cannot be set."),
};

constexpr flag_row fvf_rows[] = {
    FLAG(D3DFVFCAPS_DONOTSTRIPELEMENTS,
         "Vertex elements that the current states do not use should be kept rather than stripped."),
    FLAG(D3DFVFCAPS_PSIZE, "The point size can come from the vertex data as well as from the render state."),
    FLAG(
        D3DFVFCAPS_TEXCOORDCOUNTMASK,
        "The low 16 bits hold the number of texture coordinate sets usable at once; yes when there are any."),
};

constexpr flag_row vertex_processing_rows[] = {
    FLAG(D3DVTXPCAPS_DIRECTIONALLIGHTS, "Fixed-function vertex processing supports directional lights."),
    FLAG(D3DVTXPCAPS_LOCALVIEWER,
         "Supports local-viewer lighting, where specular highlights use the true eye position."),
    FLAG(D3DVTXPCAPS_MATERIALSOURCE7,
         "Supports the DirectX 7 colour material sources for diffuse, ambient, specular and emissive light."),
    FLAG(D3DVTXPCAPS_NO_TEXGEN_NONLOCALVIEWER,
         "Texture coordinates cannot be generated in non-local-viewer mode."),
    FLAG(D3DVTXPCAPS_POSITIONALLIGHTS, "Supports positional lights: point lights and spotlights."),
    FLAG(D3DVTXPCAPS_TEXGEN, "Can generate texture coordinates from vertex positions or normals."),
    FLAG(D3DVTXPCAPS_TEXGEN_SPHEREMAP, "Can generate sphere-map texture coordinates."),
    FLAG(D3DVTXPCAPS_TWEENING, "Supports vertex tweening, the blending of two vertex positions."),
};

constexpr flag_row decl_type_rows[] = {
    FLAG(D3DDTCAPS_UBYTE4, "Vertex declarations can use four unsigned bytes."),
    FLAG(D3DDTCAPS_UBYTE4N, "Four unsigned bytes, each divided by 255 (normalised)."),
    FLAG(D3DDTCAPS_SHORT2N, "Two signed 16-bit values, each divided by 32767 (normalised)."),
    FLAG(D3DDTCAPS_SHORT4N, "Four signed 16-bit values, each divided by 32767 (normalised)."),
    FLAG(D3DDTCAPS_USHORT2N, "Two unsigned 16-bit values, each divided by 65535 (normalised)."),
    FLAG(D3DDTCAPS_USHORT4N, "Four unsigned 16-bit values, each divided by 65535 (normalised)."),
    FLAG(D3DDTCAPS_UDEC3, "Three unsigned 10-bit values, expanded to (x, y, z, 1)."),
    FLAG(D3DDTCAPS_DEC3N, "Three signed 10-bit values, normalised and expanded to (x, y, z, 1)."),
    FLAG(D3DDTCAPS_FLOAT16_2, "Two 16-bit floating-point values."),
    FLAG(D3DDTCAPS_FLOAT16_4, "Four 16-bit floating-point values."),
};

constexpr flag_group vertex_group_list[] = {
    {"[FVFCaps]", "Flexible vertex format capabilities.", &D3DCAPS9::FVFCaps, fvf_rows},
    {"[VertexProcessingCaps]", "Capabilities of fixed-function vertex processing.",
     &D3DCAPS9::VertexProcessingCaps, vertex_processing_rows},
    {"[DeclTypes]", "Data types that a vertex declaration can use besides the basic ones.",
     &D3DCAPS9::DeclTypes, decl_type_rows},
};

// ---- Rendering page --------------------------------------------------------

constexpr number_row rendering_rows[] = {
    NUMBER(MaxTextureBlendStages,
           "Maximum number of texture-blending stages of the fixed-function pipeline."),
    NUMBER(MaxSimultaneousTextures, "Maximum number of textures that the blending stages can use at once."),
    NUMBER(MaxTextureRepeat,
           "Range of the integer part of texture coordinates, which limits how often a texture can repeat."),
    NUMBER(NumSimultaneousRTs, "Number of render targets that can be written at the same time."),
    NUMBER(MaxActiveLights, "Maximum number of lights that can be active at the same time."),
};

constexpr number_row rendering_filtering_rows[] = {
    NUMBER(MaxAnisotropy, "Highest degree of anisotropic texture filtering."),
    NUMBER(ExtentsAdjust,
           "Pixels by which the extents of a primitive are widened to make room for antialiasing."),
};

constexpr flag_row primitive_misc_rows[] = {
    FLAG(D3DPMISCCAPS_MASKZ, "Device can switch writes to the depth buffer on and off."),
    FLAG(D3DPMISCCAPS_CULLNONE, "Device can draw triangles without culling any of them."),
    FLAG(D3DPMISCCAPS_CULLCW, "Device can cull triangles whose vertices run clockwise."),
    FLAG(D3DPMISCCAPS_CULLCCW, "Device can cull triangles whose vertices run counter-clockwise."),
    FLAG(D3DPMISCCAPS_COLORWRITEENABLE,
         "Device can enable writes to each colour channel of the render target."),
    FLAG(D3DPMISCCAPS_CLIPPLANESCALEDPOINTS,
         "Device clips points larger than one pixel correctly against user clip planes."),
    FLAG(D3DPMISCCAPS_CLIPTLVERTS, "Device clips primitives made of transformed vertices."),
    FLAG(D3DPMISCCAPS_TSSARGTEMP, "Device can use the temporary register as a texture-stage argument."),
    FLAG(D3DPMISCCAPS_BLENDOP, "Device supports blend operations other than addition."),
    FLAG(D3DPMISCCAPS_NULLREFERENCE, "The device is a reference device that does not render."),
    FLAG(D3DPMISCCAPS_INDEPENDENTWRITEMASKS,
         "Device supports a separate colour write mask for each render target."),
    FLAG(D3DPMISCCAPS_PERSTAGECONSTANT, "Device supports a constant colour for each texture stage."),
    FLAG(D3DPMISCCAPS_FOGANDSPECULARALPHA,
         "Device keeps fog and specular alpha apart instead of storing the fog factor in specular alpha."),
    FLAG(D3DPMISCCAPS_SEPARATEALPHABLEND, "Device can blend the alpha channel with its own blend settings."),
    FLAG(D3DPMISCCAPS_MRTINDEPENDENTBITDEPTHS,
         "Device can render to several render targets of different bit depths at once."),
    FLAG(D3DPMISCCAPS_MRTPOSTPIXELSHADERBLENDING,
         "Device can blend, dither and alpha-test on several render targets after the pixel shader."),
    FLAG(D3DPMISCCAPS_FOGVERTEXCLAMPED, "Device clamps the fog blend factor of each vertex."),
};

constexpr flag_row shade_rows[] = {
    FLAG(D3DPSHADECAPS_ALPHAGOURAUDBLEND,
         "Device can interpolate alpha across a triangle (Gouraud shading)."),
    FLAG(D3DPSHADECAPS_COLORGOURAUDRGB,
         "Device can interpolate colours across a triangle (Gouraud shading)."),
    FLAG(D3DPSHADECAPS_FOGGOURAUD, "Device can interpolate fog across a triangle (Gouraud shading)."),
    FLAG(D3DPSHADECAPS_SPECULARGOURAUDRGB,
         "Device can interpolate specular colour across a triangle (Gouraud shading)."),
};

constexpr flag_row line_rows[] = {
    FLAG(D3DLINECAPS_ALPHACMP, "Supports alpha-test comparisons."),
    FLAG(D3DLINECAPS_ANTIALIAS, "Supports antialiased lines."),
    FLAG(D3DLINECAPS_BLEND, "Supports source blending."),
    FLAG(D3DLINECAPS_FOG, "Supports fog."),
    FLAG(D3DLINECAPS_TEXTURE, "Supports texture mapping."),
    FLAG(D3DLINECAPS_ZTEST, "Supports depth-test comparisons."),
};

constexpr flag_row raster_rows[] = {
    FLAG(D3DPRASTERCAPS_ANISOTROPY, "Supports anisotropic texture filtering."),
    FLAG(D3DPRASTERCAPS_COLORPERSPECTIVE, "Interpolates colours with perspective correction."),
    FLAG(D3DPRASTERCAPS_DITHER, "Can dither to make up for a limited colour depth."),
    FLAG(D3DPRASTERCAPS_DEPTHBIAS, "Supports a constant depth bias."),
    FLAG(D3DPRASTERCAPS_FOGRANGE, "Supports range-based fog, computed from the distance to the viewer."),
    FLAG(D3DPRASTERCAPS_FOGTABLE, "Computes fog per pixel from the depth (table fog)."),
    FLAG(D3DPRASTERCAPS_FOGVERTEX, "Computes fog per vertex and interpolates it across the primitive."),
    FLAG(D3DPRASTERCAPS_MIPMAPLODBIAS, "Supports a bias on the mipmap level of detail."),
    FLAG(D3DPRASTERCAPS_MULTISAMPLE_TOGGLE,
         "Multisampling can be switched on and off between draw calls of a scene."),
    FLAG(D3DPRASTERCAPS_SCISSORTEST, "Supports the scissor test."),
    FLAG(D3DPRASTERCAPS_SLOPESCALEDEPTHBIAS,
         "Supports a depth bias that grows with the slope of the primitive."),
    FLAG(D3DPRASTERCAPS_WBUFFER, "Supports depth buffering with W instead of Z."),
    FLAG(D3DPRASTERCAPS_WFOG, "Supports fog computed from W."),
    FLAG(D3DPRASTERCAPS_ZBUFFERLESSHSR, "Can remove hidden surfaces without a depth buffer."),
    FLAG(D3DPRASTERCAPS_ZFOG, "Supports fog computed from Z."),
    FLAG(D3DPRASTERCAPS_ZTEST, "Can test depth against the depth buffer."),
};

constexpr flag_group rendering_group_list[] = {
    {"[PrimitiveMiscCaps]", "Miscellaneous capabilities for drawing primitives.",
     &D3DCAPS9::PrimitiveMiscCaps, primitive_misc_rows},
    {"[ShadeCaps]", "Shading operations that the device can interpolate across a triangle.",
     &D3DCAPS9::ShadeCaps, shade_rows},
    {"[LineCaps]", "Defines the capabilities for line-drawing primitives.", &D3DCAPS9::LineCaps, line_rows},
    {"[RasterCaps]", "Capabilities of the rasterizer: filtering, fog, depth and clipping.",
     &D3DCAPS9::RasterCaps, raster_rows},
};

// ---- Textures page ---------------------------------------------------------

constexpr number_row texture_size_rows[] = {
    NUMBER(MaxTextureWidth, "Largest width of a texture, in texels."),
    NUMBER(MaxTextureHeight, "Largest height of a texture, in texels."),
    NUMBER(MaxVolumeExtent, "Largest width, height or depth of a volume texture, in texels."),
    NUMBER(MaxTextureAspectRatio, "Largest ratio of a texture's longer side to its shorter side."),
};

constexpr number_row guard_band_rows[] = {
    NUMBER(GuardBandLeft,
           "Left edge of the guard band, in pixels: geometry up to here is clipped while drawing."),
    NUMBER(GuardBandTop,
           "Top edge of the guard band, in pixels: geometry up to here is clipped while drawing."),
    NUMBER(GuardBandRight,
           "Right edge of the guard band, in pixels: geometry up to here is clipped while drawing."),
    NUMBER(GuardBandBottom,
           "Bottom edge of the guard band, in pixels: geometry up to here is clipped while drawing."),
};

constexpr flag_row texture_caps_rows[] = {
    FLAG(D3DPTEXTURECAPS_ALPHA, "Supports alpha in texels."),
    FLAG(D3DPTEXTURECAPS_ALPHAPALETTE, "Can take alpha from a texture palette."),
    FLAG(D3DPTEXTURECAPS_CUBEMAP, "Supports cube textures."),
    FLAG(D3DPTEXTURECAPS_CUBEMAP_POW2, "Cube textures must have sides that are powers of 2."),
    FLAG(D3DPTEXTURECAPS_MIPCUBEMAP, "Supports mipmapped cube textures."),
    FLAG(D3DPTEXTURECAPS_MIPMAP, "Supports mipmapped textures."),
    FLAG(D3DPTEXTURECAPS_MIPVOLUMEMAP, "Supports mipmapped volume textures."),
    FLAG(D3DPTEXTURECAPS_NONPOW2CONDITIONAL,
         "Allows 2D textures whose sides are not powers of 2 when they are clamped, not mipmapped and not "
         "DXT."),
    FLAG(D3DPTEXTURECAPS_NOPROJECTEDBUMPENV,
         "Cannot apply a projected texture transform to bump-map lookups."),
    FLAG(D3DPTEXTURECAPS_PERSPECTIVE, "Applies perspective correction to textures."),
    FLAG(D3DPTEXTURECAPS_POW2,
         "Texture sides must be powers of 2, unless the conditional exception applies."),
    FLAG(D3DPTEXTURECAPS_PROJECTED, "Supports projected texture coordinates."),
    FLAG(D3DPTEXTURECAPS_SQUAREONLY, "Textures must be square."),
    FLAG(D3DPTEXTURECAPS_TEXREPEATNOTSCALEDBYSIZE,
         "Texture coordinates are not scaled by the texture size before interpolation."),
    FLAG(D3DPTEXTURECAPS_VOLUMEMAP, "Supports volume textures."),
    FLAG(D3DPTEXTURECAPS_VOLUMEMAP_POW2, "Volume textures must have sides that are powers of 2."),
};

constexpr flag_row texture_op_rows[] = {
    FLAG(D3DTEXOPCAPS_ADD, "Adds the two arguments."),
    FLAG(D3DTEXOPCAPS_ADDSIGNED, "Adds the two arguments with a bias of -0.5."),
    FLAG(D3DTEXOPCAPS_ADDSIGNED2X, "Adds the two arguments with a bias of -0.5 and doubles the result."),
    FLAG(D3DTEXOPCAPS_ADDSMOOTH, "Adds the two arguments and subtracts their product."),
    FLAG(D3DTEXOPCAPS_BLENDCURRENTALPHA, "Blends the two arguments by the alpha of the previous stage."),
    FLAG(D3DTEXOPCAPS_BLENDDIFFUSEALPHA, "Blends the two arguments by the interpolated vertex alpha."),
    FLAG(D3DTEXOPCAPS_BLENDFACTORALPHA, "Blends the two arguments by the alpha of the texture factor."),
    FLAG(D3DTEXOPCAPS_BLENDTEXTUREALPHA, "Blends the two arguments by the alpha of this stage's texture."),
    FLAG(D3DTEXOPCAPS_BLENDTEXTUREALPHAPM,
         "Blends the two arguments by texture alpha for a premultiplied texture."),
    FLAG(D3DTEXOPCAPS_BUMPENVMAP, "Bump-maps per pixel with the environment map of the next stage."),
    FLAG(D3DTEXOPCAPS_BUMPENVMAPLUMINANCE,
         "Bump-maps per pixel with the next stage's environment map and a luminance term."),
    FLAG(D3DTEXOPCAPS_DISABLE, "Can switch off a texture stage and every stage after it."),
    FLAG(D3DTEXOPCAPS_DOTPRODUCT3, "Takes the dot product of the two arguments as signed vectors."),
    FLAG(D3DTEXOPCAPS_LERP, "Interpolates between the second and third arguments by the first."),
    FLAG(D3DTEXOPCAPS_MODULATE, "Multiplies the two arguments."),
    FLAG(D3DTEXOPCAPS_MODULATE2X, "Multiplies the two arguments and doubles the result."),
    FLAG(D3DTEXOPCAPS_MODULATE4X, "Multiplies the two arguments and quadruples the result."),
    FLAG(D3DTEXOPCAPS_MODULATEALPHA_ADDCOLOR,
         "Adds the first argument's colour to the second colour multiplied by the first argument's alpha."),
    FLAG(D3DTEXOPCAPS_MODULATECOLOR_ADDALPHA,
         "Multiplies the two colours and adds the first argument's alpha."),
    FLAG(D3DTEXOPCAPS_MODULATEINVALPHA_ADDCOLOR,
         "Adds the first argument's colour to the second colour multiplied by one minus the first alpha."),
    FLAG(D3DTEXOPCAPS_MODULATEINVCOLOR_ADDALPHA,
         "Multiplies the inverted first colour by the second colour and adds the first argument's alpha."),
    FLAG(D3DTEXOPCAPS_MULTIPLYADD, "Multiplies the second and third arguments and adds the first."),
    FLAG(D3DTEXOPCAPS_PREMODULATE, "Multiplies this stage's result by the texture of the next stage."),
    FLAG(D3DTEXOPCAPS_SELECTARG1, "Passes the first argument on unchanged."),
    FLAG(D3DTEXOPCAPS_SELECTARG2, "Passes the second argument on unchanged."),
    FLAG(D3DTEXOPCAPS_SUBTRACT, "Subtracts the second argument from the first."),
};

// The twelve filter rows of every texture filter group.
constexpr flag_row filter_rows[] = {
    FLAG(D3DPTFILTERCAPS_MAGFPOINT, "Point sampling when a texture is magnified."),
    FLAG(D3DPTFILTERCAPS_MAGFLINEAR, "Bilinear filtering when a texture is magnified."),
    FLAG(D3DPTFILTERCAPS_MAGFANISOTROPIC, "Anisotropic filtering when a texture is magnified."),
    FLAG(D3DPTFILTERCAPS_MAGFPYRAMIDALQUAD, "Four-sample tent filtering when a texture is magnified."),
    FLAG(D3DPTFILTERCAPS_MAGFGAUSSIANQUAD, "Four-sample Gaussian filtering when a texture is magnified."),
    FLAG(D3DPTFILTERCAPS_MINFPOINT, "Point sampling when a texture is minified."),
    FLAG(D3DPTFILTERCAPS_MINFLINEAR, "Bilinear filtering when a texture is minified."),
    FLAG(D3DPTFILTERCAPS_MINFANISOTROPIC, "Anisotropic filtering when a texture is minified."),
    FLAG(D3DPTFILTERCAPS_MINFPYRAMIDALQUAD, "Four-sample tent filtering when a texture is minified."),
    FLAG(D3DPTFILTERCAPS_MINFGAUSSIANQUAD, "Four-sample Gaussian filtering when a texture is minified."),
    FLAG(D3DPTFILTERCAPS_MIPFPOINT, "Takes texels from the nearest mipmap level."),
    // The trailing blank is deliberate: the published row name has always
    // carried it, and the receiving database matches rows by name.
    flag_row{"D3DPTFILTERCAPS_MIPFLINEAR ", D3DPTFILTERCAPS_MIPFLINEAR,
             "Blends the two nearest mipmap levels (trilinear filtering)."},
};

constexpr flag_row address_rows[] = {
    FLAG(D3DPTADDRESSCAPS_BORDER, "Coordinates outside 0 to 1 take the border colour."),
    FLAG(D3DPTADDRESSCAPS_CLAMP, "Coordinates outside 0 to 1 are clamped to the texture's edge."),
    FLAG(D3DPTADDRESSCAPS_INDEPENDENTUV, "The u and v directions can use different addressing modes."),
    FLAG(D3DPTADDRESSCAPS_MIRROR, "The texture is mirrored at every whole coordinate."),
    FLAG(D3DPTADDRESSCAPS_MIRRORONCE, "The texture is mirrored once around 0 and then clamped."),
    FLAG(D3DPTADDRESSCAPS_WRAP, "The texture repeats at every whole coordinate."),
};

constexpr flag_group texture_group_list[] = {
    {"[TextureCaps]", "Capabilities for texture mapping.", &D3DCAPS9::TextureCaps, texture_caps_rows},
    {"[TextureOpCaps]", "Texture-blending operations of the fixed-function pipeline.",
     &D3DCAPS9::TextureOpCaps, texture_op_rows},
    {"[TextureFilterCaps]", "Filtering of 2D textures.", &D3DCAPS9::TextureFilterCaps, filter_rows},
    {"[CubeTextureFilterCaps]", "Filtering of cube textures.", &D3DCAPS9::CubeTextureFilterCaps, filter_rows},
    {"[VolumeTextureFilterCaps]", "Filtering of volume textures.", &D3DCAPS9::VolumeTextureFilterCaps,
     filter_rows},
    {"[TextureAddressCaps]", "How texture coordinates outside the range 0 to 1 are treated.",
     &D3DCAPS9::TextureAddressCaps, address_rows},
    {"[VolumeTextureAddressCaps]", "How volume texture coordinates outside the range 0 to 1 are treated.",
     &D3DCAPS9::VolumeTextureAddressCaps, address_rows},
};

// ---- Blending page ---------------------------------------------------------

// The fourteen blend factors of both blend groups.
constexpr flag_row blend_rows[] = {
    FLAG(D3DPBLENDCAPS_BLENDFACTOR, "The constant blend factor of the render state, and its inverse."),
    FLAG(D3DPBLENDCAPS_BOTHINVSRCALPHA,
         "Source factor 1 - As with destination factor As, set by the source blend alone."),
    FLAG(D3DPBLENDCAPS_BOTHSRCALPHA,
         "Source factor As with destination factor 1 - As, an obsolete shorthand."),
    FLAG(D3DPBLENDCAPS_DESTALPHA, "The destination alpha (Ad, Ad, Ad, Ad)."),
    FLAG(D3DPBLENDCAPS_DESTCOLOR, "The destination colour (Rd, Gd, Bd, Ad)."),
    FLAG(D3DPBLENDCAPS_INVDESTALPHA, "One minus the destination alpha."),
    FLAG(D3DPBLENDCAPS_INVDESTCOLOR, "One minus the destination colour."),
    FLAG(D3DPBLENDCAPS_INVSRCALPHA, "One minus the source alpha."),
    FLAG(D3DPBLENDCAPS_INVSRCCOLOR, "One minus the source colour."),
    FLAG(D3DPBLENDCAPS_ONE, "The factor (1, 1, 1, 1)."),
    FLAG(D3DPBLENDCAPS_SRCALPHA, "The source alpha (As, As, As, As)."),
    FLAG(D3DPBLENDCAPS_SRCALPHASAT, "The saturated source alpha: the smaller of As and 1 - Ad, alpha 1."),
    FLAG(D3DPBLENDCAPS_SRCCOLOR, "The source colour (Rs, Gs, Bs, As)."),
    FLAG(D3DPBLENDCAPS_ZERO, "The factor (0, 0, 0, 0)."),
};

constexpr flag_group blending_group_list[] = {
    {"[SrcBlendCaps]", "Blend factors that the source colour can be multiplied by.", &D3DCAPS9::SrcBlendCaps,
     blend_rows},
    {"[DestBlendCaps]", "Blend factors that the destination colour can be multiplied by.",
     &D3DCAPS9::DestBlendCaps, blend_rows},
};

// ---- Buffers page ----------------------------------------------------------

// The comparison functions of the depth and alpha tests.
constexpr flag_row compare_rows[] = {
    FLAG(D3DPCMPCAPS_ALWAYS, "The test always passes."),
    FLAG(D3DPCMPCAPS_EQUAL, "Passes when the new value equals the value it is compared with."),
    FLAG(D3DPCMPCAPS_GREATER, "Passes when the new value is greater than the value it is compared with."),
    FLAG(D3DPCMPCAPS_GREATEREQUAL,
         "Passes when the new value is greater than or equal to the value it is compared with."),
    FLAG(D3DPCMPCAPS_LESS, "Passes when the new value is less than the value it is compared with."),
    FLAG(D3DPCMPCAPS_LESSEQUAL,
         "Passes when the new value is less than or equal to the value it is compared with."),
    FLAG(D3DPCMPCAPS_NEVER, "The test always fails."),
    FLAG(D3DPCMPCAPS_NOTEQUAL, "Passes when the new value differs from the value it is compared with."),
};

constexpr flag_row stencil_rows[] = {
    FLAG(D3DSTENCILCAPS_KEEP, "Keeps the stencil value."),
    FLAG(D3DSTENCILCAPS_ZERO, "Sets the stencil value to 0."),
    FLAG(D3DSTENCILCAPS_REPLACE, "Replaces the stencil value with the reference value."),
    FLAG(D3DSTENCILCAPS_INCRSAT, "Increments the stencil value, stopping at the largest value."),
    FLAG(D3DSTENCILCAPS_DECRSAT, "Decrements the stencil value, stopping at 0."),
    FLAG(D3DSTENCILCAPS_INVERT, "Inverts the bits of the stencil value."),
    FLAG(D3DSTENCILCAPS_INCR, "Increments the stencil value, wrapping to 0 after the largest value."),
    FLAG(D3DSTENCILCAPS_DECR, "Decrements the stencil value, wrapping to the largest value below 0."),
    FLAG(D3DSTENCILCAPS_TWOSIDED,
         "Supports separate stencil operations for clockwise and counter-clockwise triangles."),
};

constexpr flag_group buffer_group_list[] = {
    {"[ZCmpCaps]", "Comparison functions of the depth test.", &D3DCAPS9::ZCmpCaps, compare_rows},
    {"[StencilCaps]", "Operations on the stencil buffer.", &D3DCAPS9::StencilCaps, stencil_rows},
    {"[AlphaCmpCaps]", "Comparison functions of the alpha test.", &D3DCAPS9::AlphaCmpCaps, compare_rows},
};

// ---- Shader pages ----------------------------------------------------------

constexpr number_row vertex_shader_rows[] = {
    NUMBER(MaxVertexShaderConst, "Number of constant registers available to vertex shaders."),
    NUMBER(MaxVShaderInstructionsExecuted,
           "Largest number of instructions a vertex shader can execute for one vertex, loops included."),
    NUMBER(MaxVertexShader30InstructionSlots, "Number of instruction slots of a vs_3_0 vertex shader."),
};

constexpr shader_caps_row<D3DVSHADERCAPS2_0> vs20_row_list[] = {
    {"DynamicFlowControlDepth", &D3DVSHADERCAPS2_0::DynamicFlowControlDepth,
     "Nesting depth of dynamic flow control instructions (0 or 24)."},
    {"NumTemps", &D3DVSHADERCAPS2_0::NumTemps, "Number of temporary registers (12 to 32)."},
    {"StaticFlowControlDepth", &D3DVSHADERCAPS2_0::StaticFlowControlDepth,
     "Nesting depth of loops and static flow control instructions (1 to 4)."},
};

constexpr number_row pixel_shader_rows[] = {
    NUMBER(PixelShader1xMaxValue,
           "Largest value that pixel shader 1.x arithmetic can hold; values range from minus to plus this."),
    NUMBER(MaxPShaderInstructionsExecuted,
           "Largest number of instructions a pixel shader can execute for one pixel, loops included."),
    NUMBER(MaxPixelShader30InstructionSlots, "Number of instruction slots of a ps_3_0 pixel shader."),
};

constexpr shader_caps_row<D3DPSHADERCAPS2_0> ps20_row_list[] = {
    {"DynamicFlowControlDepth", &D3DPSHADERCAPS2_0::DynamicFlowControlDepth,
     "Nesting depth of dynamic flow control instructions (0 or 24)."},
    {"NumTemps", &D3DPSHADERCAPS2_0::NumTemps, "Number of temporary registers (12 to 32)."},
    {"StaticFlowControlDepth", &D3DPSHADERCAPS2_0::StaticFlowControlDepth,
     "Nesting depth of loops and static flow control instructions (0 to 4)."},
    {"NumInstructionSlots", &D3DPSHADERCAPS2_0::NumInstructionSlots,
     "Number of instruction slots (96 to 512)."},
};

#undef FLAG
#undef NUMBER

}  // namespace

namespace dx_rows {

const std::span<const number_row> adapter_group = adapter_rows;
const flag_group dev_caps = {"[DevCaps]", "Flags identifying the capabilities of the device.",
                             &D3DCAPS9::DevCaps, dev_caps_rows};
const flag_group dev_caps2 = {"[DevCaps2]", "Further flags identifying the capabilities of the device.",
                              &D3DCAPS9::DevCaps2, dev_caps2_rows};

const std::span<const number_row> capabilities = capability_rows;
const std::span<const flag_group> capability_groups = capability_group_list;

const std::span<const number_row> vertices = vertex_rows;
const std::span<const flag_group> vertex_groups = vertex_group_list;

const std::span<const number_row> rendering = rendering_rows;
const std::span<const number_row> rendering_filtering = rendering_filtering_rows;
const std::span<const flag_group> rendering_groups = rendering_group_list;

const std::span<const number_row> texture_sizes = texture_size_rows;
const std::span<const number_row> guard_band = guard_band_rows;
const std::span<const flag_group> texture_groups = texture_group_list;

const std::span<const flag_group> blending_groups = blending_group_list;
const std::span<const flag_group> buffer_groups = buffer_group_list;

const char* const vertex_shader_version = "Highest vertex shader version that the device supports.";
const std::span<const number_row> vertex_shader = vertex_shader_rows;
const char* const vs20_section =
    "Device supports vertex shader version 2_0 extended capability. See D3DVSHADERCAPS2_0 .";
const char* const vs20_caps = "Extended vertex shader capability flags as one number; 1 means predication.";
const std::span<const shader_caps_row<D3DVSHADERCAPS2_0>> vs20_rows = vs20_row_list;
const flag_group vertex_texture_filter = {"[VertexTextureFilterCaps]",
                                          "Filtering of textures that vertex shaders sample.",
                                          &D3DCAPS9::VertexTextureFilterCaps, filter_rows};

const char* const pixel_shader_version = "Highest pixel shader version that the device supports.";
const std::span<const number_row> pixel_shader = pixel_shader_rows;
const char* const ps20_section = "Extended capabilities of pixel shader version 2_0. See D3DPSHADERCAPS2_0 .";
const char* const ps20_caps =
    "Extended pixel shader capability flags as one number: swizzles, gradients, predication and limits "
    "lifted.";
const std::span<const shader_caps_row<D3DPSHADERCAPS2_0>> ps20_rows = ps20_row_list;

}  // namespace dx_rows
