#include "refdata/format_names.h"
#include "refdata/pci_names.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(FormatNames, Direct3D9TableBindsNamesToTheirValues) {
    EXPECT_EQ("UNKNOWN", d3d9_format_name(0));
    EXPECT_EQ("X8R8G8B8", d3d9_format_name(22));
    EXPECT_EQ("R8G8B8", d3d9_format_name(20));
    EXPECT_EQ("A16B16G16R16", d3d9_format_name(36));
    EXPECT_EQ("D15S1", d3d9_format_name(73));
    EXPECT_EQ("D24FS8", d3d9_format_name(83));
    EXPECT_EQ("INDEX32", d3d9_format_name(102));
    EXPECT_EQ("CxV8U8", d3d9_format_name(117));
    for (uint32_t unnamed : {1u, 19u, 37u, 39u, 42u, 53u, 65u, 72u, 74u, 76u, 78u, 84u, 99u, 103u, 109u}) {
        EXPECT_EQ("", d3d9_format_name(unnamed)) << unnamed;
    }
    int named = 0;
    for (uint32_t value = 0; value < d3d9_format_slots; ++value) {
        named += d3d9_format_name(value).empty() ? 0 : 1;
    }
    EXPECT_EQ(52, named);
}

TEST(FormatNames, DxgiTableHasNoGaps) {
    EXPECT_EQ("UNKNOWN", dxgi_format_name(0));
    EXPECT_EQ("R32G32B32A32_TYPELESS", dxgi_format_name(1));
    EXPECT_EQ("R8G8B8A8_UNORM", dxgi_format_name(28));
    EXPECT_EQ("R8G8B8A8_UNORM_SRGB", dxgi_format_name(29));
    EXPECT_EQ("D24_UNORM_S8_UINT", dxgi_format_name(45));
    EXPECT_EQ("R9G9B9E5_SHAREDEXP", dxgi_format_name(67));
    EXPECT_EQ("BC1_TYPELESS", dxgi_format_name(70));
    EXPECT_EQ("BC5_SNORM", dxgi_format_name(84));
    EXPECT_EQ("B8G8R8A8_UNORM", dxgi_format_name(87));
    EXPECT_EQ("B8G8R8X8_UNORM", dxgi_format_name(88));
    std::set<std::string> dxgi;
    for (uint32_t value = 0; value < dxgi_format_slots; ++value) {
        EXPECT_FALSE(dxgi_format_name(value).empty()) << value;
        dxgi.emplace(dxgi_format_name(value));
    }
    EXPECT_EQ(89u, dxgi.size());
    // Modes from the two sources never merge: only UNKNOWN is in both.
    for (uint32_t value = 1; value < d3d9_format_slots; ++value) {
        const std::string name(d3d9_format_name(value));
        if (!name.empty()) {
            EXPECT_EQ(0u, dxgi.count(name)) << name;
        }
    }
}

TEST(FormatNames, LookupsOutsideATableAreEmpty) {
    for (uint32_t value : {118u, 119u, 0x31545844u /* DXT1 */, 0xFFFFFFFFu}) {
        EXPECT_EQ("", d3d9_format_name(value)) << value;
    }
    for (uint32_t value : {89u, 115u, 0xFFFFFFFFu}) {
        EXPECT_EQ("", dxgi_format_name(value)) << value;
    }
}

TEST(CompressedFormats, ListOrderValuesAndNames) {
    const uint32_t values[] = {0x86B0, 0x86B1, 0x84E9, 0x84EA, 0x84EB, 0x84EC,
                               0x84ED, 0x84EE, 0x83F0, 0x83F1, 0x83F2, 0x83F3};
    const auto formats = compressed_formats();
    ASSERT_EQ(std::size(values), formats.size());
    for (size_t i = 0; i < formats.size(); ++i) {
        EXPECT_EQ(values[i], formats[i].value) << i;
    }
    EXPECT_STREQ("GL_COMPRESSED_RGB_FXT1_3DFX", formats[0].name);
    EXPECT_STREQ("GL_COMPRESSED_LUMINANCE_ALPHA_ARB", formats[4].name);
    EXPECT_STREQ("GL_COMPRESSED_RGBA_ARB", formats[7].name);
    EXPECT_STREQ("GL_COMPRESSED_RGBA_S3TC_DXT5_EXT", formats[11].name);
}

}  // namespace
