// Start-up on a platform without DXGI or without Direct3D 10. CTest runs these
// with Wine told to leave the library out (WINEDLLOVERRIDES); the library
// the run lacks is named in CAVIO_MISSING_LIBRARY. Elsewhere they skip.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "probe/capture.h"
#include "probe/d3d9_probe.h"
#include "probe/dxgi_probe.h"
#include "refdata/pci_names.h"

namespace {

std::string missing_library() {
    char name[64] = {};
    GetEnvironmentVariableA("CAVIO_MISSING_LIBRARY", name, sizeof name);
    return name;
}

TEST(WithoutLibraries, NoDxgiFallsBackToDirect3D9) {
    if (missing_library() != "dxgi") {
        GTEST_SKIP() << "runs where dxgi.dll is left out";
    }
    ASSERT_EQ(nullptr, LoadLibraryA("dxgi.dll")) << "dxgi.dll is still there";
    init_reference_data();
    const std::vector<dx_adapter> direct3d = capture_startup().adapters;
    const d3d9_probe reference;
    ASSERT_GT(direct3d.size(), 0u);
    ASSERT_EQ(reference.adapters.size(), direct3d.size());
    const dx_adapter& expected = reference.adapters[0];
    const dx_adapter& captured = direct3d[0];
    EXPECT_FALSE(captured.read_through_dxgi);
    EXPECT_EQ(expected.info.description, captured.info.description);
    EXPECT_EQ(0, std::memcmp(&expected.caps, &captured.caps, sizeof(D3DCAPS9)));
    EXPECT_EQ(0u, captured.info.dedicated_video_memory);
}

TEST(WithoutLibraries, NoD3d10KeepsTheDirect3D9ShaderVersions) {
    if (missing_library() != "d3d10") {
        GTEST_SKIP() << "runs where d3d10.dll is left out";
    }
    ASSERT_EQ(nullptr, LoadLibraryA("d3d10.dll")) << "d3d10.dll is still there";
    init_reference_data();
    const std::vector<dx_adapter> direct3d = capture_startup().adapters;
    const d3d9_probe reference;
    ASSERT_GT(direct3d.size(), 0u);
    for (const dx_adapter& captured : direct3d) {
        EXPECT_TRUE(captured.read_through_dxgi) << "DXGI alone still serves";
        for (const dx_adapter& expected : reference.adapters) {
            if (expected.info.vendor_id == captured.info.vendor_id &&
                expected.info.device_id == captured.info.device_id) {
                EXPECT_EQ(expected.caps.PixelShaderVersion, captured.caps.PixelShaderVersion);
                EXPECT_EQ(expected.caps.VertexShaderVersion, captured.caps.VertexShaderVersion);
            }
        }
    }
}

}  // namespace
