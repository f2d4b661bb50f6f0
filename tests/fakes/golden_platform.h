// The deterministic platform of the golden files: two Direct3D 9 adapters in
// which every D3DCAPS9 word holds a value of its own, and an OpenGL system on
// the first adapter's monitor in which every limit does.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fakes/fake_d3d9.h"
#include "fakes/fake_gl.h"
#include "probe/records.h"

namespace fakes {

// A bijective mix of a word's index: distinct for distinct words, with about
// half of the bits set in a pattern that differs from word to word.
inline uint32_t mixed_word(uint32_t index) {
    uint32_t x = (index + 1) * 0x9E3779B9u;
    x ^= x >> 16;
    x *= 0x85EBCA6Bu;
    x ^= x >> 13;
    return x;
}

// Caps whose every 32-bit word holds a value of its own (seed apart), the
// float fields readable numbers, and the fields the probe and the Summary
// read with a meaning of their own set to sensible values.
inline D3DCAPS9 golden_caps(uint32_t seed) {
    D3DCAPS9 caps{};
    static_assert(sizeof caps % sizeof(uint32_t) == 0);
    auto* words = reinterpret_cast<uint32_t*>(&caps);
    // From 24 on, every flag group of two or more flags has some set and
    // some clear in the first adapter's caps.
    for (uint32_t i = 0; i < sizeof caps / sizeof(uint32_t); ++i) {
        words[i] = mixed_word(i + 24 + seed * 1000);
    }
    float D3DCAPS9::*const floats[] = {
        &D3DCAPS9::MaxVertexW,     &D3DCAPS9::GuardBandLeft,         &D3DCAPS9::GuardBandTop,
        &D3DCAPS9::GuardBandRight, &D3DCAPS9::GuardBandBottom,       &D3DCAPS9::ExtentsAdjust,
        &D3DCAPS9::MaxPointSize,   &D3DCAPS9::PixelShader1xMaxValue, &D3DCAPS9::MaxNpatchTessellationLevel};
    for (size_t k = 0; k < std::size(floats); ++k) {
        caps.*floats[k] = static_cast<float>(seed * 1000 + (k + 1) * 11) + 0.5f;
    }
    caps.AdapterOrdinalInGroup = 0;  // a master head: subordinate heads are not listed
    return caps;
}

// Adapter 0 on monitor 0x501, a known board with three heads, Direct3D 9
// shaders 3.0 and 2.0, modes in three formats; adapter 1 on monitor 0x502,
// from a vendor the PCI list lacks, one head, no pixel shader.
inline void golden_direct3d(d3d9& d3d) {
    d3d9_adapter& first = d3d.adapters.emplace_back();
    first.identifier = make_identifier("Golden Board 470", 0x10DE, 0x06CD, 0x12345678, 0xA1, 0xC0FFEE);
    first.identifier.WHQLLevel = 0x20061015;
    first.caps = golden_caps(0);
    first.caps.NumberOfAdaptersInGroup = 3;
    first.caps.VertexShaderVersion = D3DVS_VERSION(3, 0);
    first.caps.PixelShaderVersion = D3DPS_VERSION(2, 0);
    first.monitor = reinterpret_cast<HMONITOR>(0x501);
    // Format, width, height, rate; 1024 x 768 at 60 Hz comes twice.
    const UINT first_modes[][4] = {
        {D3DFMT_X8R8G8B8, 1024, 768, 60},      {D3DFMT_X8R8G8B8, 1024, 768, 75},
        {D3DFMT_X8R8G8B8, 800, 600, 85},       {D3DFMT_X8R8G8B8, 800, 600, 60},
        {D3DFMT_X8R8G8B8, 1920, 1080, 60},     {D3DFMT_X8R8G8B8, 640, 480, 60},
        {D3DFMT_X8R8G8B8, 1024, 768, 60},      {D3DFMT_R5G6B5, 800, 600, 60},
        {D3DFMT_R5G6B5, 1024, 768, 70},        {D3DFMT_R5G6B5, 1024, 768, 60},
        {D3DFMT_A2R10G10B10, 2560, 1440, 144}, {D3DFMT_A2R10G10B10, 2560, 1440, 60}};
    for (const auto& mode : first_modes) {
        first.add_mode(mode[0], mode[1], mode[2], mode[3]);
    }
    // Direct3D 9's formats: A8R8G8B8 for most uses but mipmap generation,
    // MSAA x4 of 2 levels; D24S8 a depth stencil that matches X8R8G8B8 only;
    // INTZ a depth texture; DXT5's questions failing.
    first.format_answer = [](D3DFORMAT format, DWORD usage, D3DRESOURCETYPE resource) -> HRESULT {
        switch (static_cast<DWORD>(format)) {
            case D3DFMT_A8R8G8B8:
                return usage == D3DUSAGE_DEPTHSTENCIL          ? D3DERR_NOTAVAILABLE
                       : usage == D3DUSAGE_AUTOGENMIPMAP       ? D3DOK_NOAUTOGEN
                       : usage == D3DUSAGE_QUERY_VERTEXTEXTURE ? D3DERR_NOTAVAILABLE
                                                               : D3D_OK;
            case D3DFMT_D24S8:
                return usage == D3DUSAGE_DEPTHSTENCIL && resource == D3DRTYPE_SURFACE ? D3D_OK
                                                                                      : D3DERR_NOTAVAILABLE;
            case MAKEFOURCC('I', 'N', 'T', 'Z'):
                return usage == D3DUSAGE_DEPTHSTENCIL && resource == D3DRTYPE_TEXTURE ? D3D_OK
                                                                                      : D3DERR_NOTAVAILABLE;
            case D3DFMT_DXT5:
                return usage == 0 ? D3DERR_DRIVERINTERNALERROR : D3DERR_NOTAVAILABLE;
            default:
                return D3DERR_NOTAVAILABLE;
        }
    };
    first.samples_answer = [](D3DFORMAT format, D3DMULTISAMPLE_TYPE samples, DWORD* levels) -> HRESULT {
        if (format != D3DFMT_A8R8G8B8 || samples != D3DMULTISAMPLE_4_SAMPLES) {
            return D3DERR_NOTAVAILABLE;
        }
        *levels = 2;
        return D3D_OK;
    };
    first.depth_answer = [](D3DFORMAT target, D3DFORMAT) {
        return target == D3DFMT_X8R8G8B8 ? D3D_OK : D3DERR_NOTAVAILABLE;
    };

    d3d9_adapter& second = d3d.adapters.emplace_back();
    second.identifier = make_identifier("Second Golden Board", 0xABCD, 0x0042, 0x0BAD0BAD, 3, 0xBEEF);
    std::string("golden2.dll").copy(second.identifier.Driver, sizeof second.identifier.Driver - 1);
    second.caps = golden_caps(1);
    second.caps.VertexShaderVersion = D3DVS_VERSION(1, 1);
    second.caps.PixelShaderVersion = 0;
    second.monitor = reinterpret_cast<HMONITOR>(0x502);
    second.add_mode(D3DFMT_X8R8G8B8, 1280, 1024, 75);
    second.add_mode(D3DFMT_X8R8G8B8, 1280, 1024, 60);
    second.add_mode(D3DFMT_X1R5G5B5, 640, 480, 60);
}

// What DXGI adds on the first adapter: its memory and budget, tearing, an
// HDR10 output turned on its side, and an output of an older runtime
// without IDXGIOutput6, off the desktop.
inline void golden_dxgi(dx_adapter& adapter) {
    adapter.read_through_dxgi = true;
    adapter.info.dedicated_video_memory = 8589934592 + 1;
    adapter.info.dedicated_system_memory = 268435456;
    adapter.info.shared_system_memory = 17179869184 - 12345;
    adapter.has_budget = true;
    adapter.local = {7516192768, 1073741824};
    adapter.non_local = {8589934592, 52428800};
    adapter.tearing = true;
    dxgi_output_record& hdr = adapter.outputs.emplace_back();
    hdr.device_name = "\\\\.\\DISPLAY1";
    hdr.desktop = {-1080, 0, 0, 1920};
    hdr.attached = true;
    hdr.rotation = 2;
    hdr.monitor_name = "Golden HDR Monitor";
    hdr.has_desc1 = true;
    hdr.bits_per_color = 10;
    hdr.color_space = 12;
    hdr.primaries = {0.708f, 0.292f, 0.17f, 0.797f, 0.131f, 0.046f, 0.3127f, 0.329f};
    hdr.luminance = {0.01f, 1000, 600};
    dxgi_output_record& old = adapter.outputs.emplace_back();
    old.device_name = "\\\\.\\DISPLAY2";
    old.desktop = {1920, 0, 3200, 1024};
}

// Monitor 0x501 only, so adapter 1 gets no OpenGL record. extension_list
// holds the text of tests/golden/gl_extensions.txt.
inline void golden_opengl(gl_system& gl, const std::string& extension_list) {
    gl.add_monitor(0x501, 0, 0);
    gl.answer_from_enumerant = true;
    gl.strings[GL_RENDERER] = "Golden Renderer 9000/PCIe/SSE2";
    gl.strings[GL_VENDOR] = "Golden Graphics Inc.";
    gl.strings[GL_VERSION] = "4.6.0 Golden 23.1.2";
    gl.strings[GL_SHADING_LANGUAGE_VERSION] = "4.60 Golden";
    gl.glu_strings[GLU_VERSION] = "1.3 Golden GLU";
    gl.glu_strings[GLU_EXTENSIONS] = "GLU_EXT_nurbs_tessellator GLU_EXT_object_space_tess";
    gl.booleans[GL_DOUBLEBUFFER] = {GL_TRUE};
    gl.booleans[GL_STEREO] = {GL_FALSE};
    // Two known formats, one listed twice, and one the program does not name.
    gl.integers[GL_NUM_COMPRESSED_TEXTURE_FORMATS] = {4};
    gl.integers[GL_COMPRESSED_TEXTURE_FORMATS] = {0x83F1, 0x86B0, 0x1234, 0x83F1};

    gl.gl_extensions.clear();
    gl.wgl_extensions.clear();
    std::istringstream lines(extension_list);
    for (std::string name; std::getline(lines, name);) {
        if (name.empty() || name[0] == '#') {
            continue;
        }
        std::string& text = name.starts_with("WGL_") ? gl.wgl_extensions : gl.gl_extensions;
        text += text.empty() ? "" : " ";
        text += name;
    }
    gl.strings[GL_EXTENSIONS] = gl.gl_extensions.c_str();

    // A core-profile context of OpenGL 4.3 that has two limits of 4.5 through
    // an extension, refuses one limit, and lists one extension of the known list.
    gl.wgl_extensions += " WGL_ARB_create_context WGL_ARB_create_context_profile";
    gl.core_version = 43;
    gl.core_extensions = {"GL_KHR_debug", "GL_ARB_cull_distance", "GL_ARB_texture_float",
                          "GL_ARB_cull_distance"};
    gl.core_strings[GL_VERSION] = "4.3.0 Core Profile Golden 23.1.2";
    gl.core_strings[GL_SHADING_LANGUAGE_VERSION] = "4.30 Golden";
    gl.integers[GL_CONTEXT_FLAGS] = {0x2};
    gl.integers[GL_LAYER_PROVOKING_VERTEX] = {0x8E4E};
    gl.integers[GL_VIEWPORT_INDEX_PROVOKING_VERTEX] = {0x8260};
    gl.booleans[GL_PRIMITIVE_RESTART_FOR_PATCHES_SUPPORTED] = {GL_TRUE};
    gl.refusals = {GL_MAX_GEOMETRY_SHADER_INVOCATIONS};
}

}  // namespace fakes
