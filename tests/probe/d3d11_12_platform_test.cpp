// The Direct3D 11/12 page against the real platform: every row equals what
// this test asks Direct3D 11 and 12 itself, through the headers' structures.
#include <d3d11.h>
#include <d3d11_4.h>
#include <d3d12.h>
#include <gtest/gtest.h>
#include <wrl/client.h>

#include <functional>
#include <map>
#include <string>

#include "base/platform.h"
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
    D12(D3D12_FEATURE_D3D12_OPTIONS, D3D12_FEATURE_DATA_D3D12_OPTIONS, CrossNodeSharingTier, number),
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
        for (UINT model : {0x67u, 0x66u, 0x65u, 0x64u, 0x63u, 0x62u, 0x61u, 0x60u, 0x51u}) {
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

TEST(D3d11And12Platform, EveryRowIsWhatTheRuntimesSay) {
    if (!shape_has_direct3d()) {
        GTEST_SKIP() << "no Direct3D on this shape";
    }
    init_reference_data();
    const startup_capture capture = capture_startup();
    const auto& direct3d = capture.direct3d;
    using create_factory_fn = HRESULT(WINAPI*)(REFIID, void**);
    const auto create_factory = get_proc<create_factory_fn>(LoadLibraryA("dxgi.dll"), "CreateDXGIFactory");
    ComPtr<IDXGIFactory> factory;
    if (create_factory == nullptr ||
        create_factory(__uuidof(IDXGIFactory), reinterpret_cast<void**>(factory.GetAddressOf())) != S_OK) {
        GTEST_SKIP() << "no DXGI: the page reads nothing on the Direct3D 9 path";
    }
    int compared = 0;
    ComPtr<IDXGIAdapter> adapter;
    for (UINT i = 0; factory->EnumAdapters(i, adapter.ReleaseAndGetAddressOf()) == S_OK; ++i) {
        SCOPED_TRACE("adapter " + std::to_string(i));
        ASSERT_LT(static_cast<int>(i), direct3d->count);
        const report_page page = page_from(direct3d->adapter(static_cast<int>(i)), page_id::dx_d3d11_12);
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
