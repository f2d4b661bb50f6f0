// Grid set-ups, row writers and value formats.
#include "report/page_text.h"
#include "report/report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/text.h"
#include "refdata/pci_names.h"
#include "report/value_format.h"

namespace {

class Writers : public ::testing::Test {
protected:
    report page;
    grid_model& grid = page.grid(page_id::dx_capabilities);

    Writers() {
        init_reference_data();
        page.setup_directx_grid(grid);
    }

    const std::string& value(int row) const { return grid.cell(1, row); }
};

TEST_F(Writers, SetupLeavesOneEmptyRowBelowTheHeader) {
    grid.set_row_count(9);
    grid.set_cell(0, 5, "stale");
    grid.set_row_height(5, 32);
    page.setup_directx_grid(grid);
    EXPECT_EQ(&grid, page.current_grid);
    ASSERT_EQ(2, grid.row_count());
    EXPECT_EQ("DirectX name", grid.cell(0, 0));
    EXPECT_EQ("Value", grid.cell(1, 0));
    EXPECT_EQ("Description", grid.cell(2, 0));
    EXPECT_EQ("", grid.cell(0, 1));
    EXPECT_EQ(17, grid.row_height(0));
    EXPECT_EQ(17, grid.row_height(1));
    EXPECT_EQ(300, grid.column_width(0));
    EXPECT_EQ(100, grid.column_width(1));
    EXPECT_EQ(800, grid.column_width(2));
    EXPECT_EQ(RGB(192, 192, 192), grid.fixed_color);
    EXPECT_EQ(RGB(255, 255, 255), grid.color);
    EXPECT_EQ(cell_painter::device, grid.painter);
    EXPECT_FALSE(grid.default_drawing);
    EXPECT_FALSE(grid.vertical_lines);
    EXPECT_TRUE(grid.row_select);
    EXPECT_EQ("tahoma", grid.font_name);

    page.setup_directx_grid(page.grid(page_id::dx_device));
    EXPECT_EQ(250, page.grid(page_id::dx_device).column_width(1));
    page.setup_opengl_grid(page.grid(page_id::gl_device));
    EXPECT_EQ("OpenGL name", page.grid(page_id::gl_device).cell(0, 0));
    EXPECT_EQ(250, page.grid(page_id::gl_device).column_width(1));
}

TEST_F(Writers, SummaryGridsKeepTheirOwnLook) {
    page.setup_directx_grid(page.grid(page_id::dx_summary));
    EXPECT_EQ(1, page.grid(page_id::dx_summary).row_count());
    EXPECT_EQ(cell_painter::summary, page.grid(page_id::dx_summary).painter);
    EXPECT_TRUE(page.grid(page_id::dx_summary).parent_color);
    page.add_row("Device", "Board", "hidden");
    EXPECT_EQ(1, page.grid(page_id::dx_summary).row_count());
    EXPECT_EQ("hidden", page.grid(page_id::dx_summary).cell(2, 0));

    page.setup_opengl_grid(page.grid(page_id::gl_summary));
    EXPECT_EQ(cell_painter::summary, page.grid(page_id::gl_summary).painter);
    // The DirectX set-up knows only its own side's Summary grid.
    page.setup_directx_grid(page.grid(page_id::gl_summary));
    EXPECT_EQ(cell_painter::device, page.grid(page_id::gl_summary).painter);
}

TEST_F(Writers, FirstRowIsReusedOnlyRightAfterASetup) {
    page.add_row("A", "1", "");
    ASSERT_EQ(2, grid.row_count());
    EXPECT_EQ("A", grid.cell(0, 1));
    page.add_row("B", "2", "");
    EXPECT_EQ(3, grid.row_count());

    page.setup_directx_grid(grid);
    page.add_blank_row();
    page.add_row("C", "3", "");
    ASSERT_EQ(4, grid.row_count());
    EXPECT_EQ("", grid.cell(0, 1));
    EXPECT_EQ("", grid.cell(0, 2));
    EXPECT_EQ("C", grid.cell(0, 3));
}

TEST_F(Writers, SectionRowsAreRecognisedByTheirLeadingBracket) {
    page.add_row("[Caps]", "", "A section.");
    page.add_row("Caps]", "", "");
    page.add_row(" [Caps]", "", "");
    page.add_row("", "", "");
    EXPECT_EQ(32, grid.row_height(1));
    EXPECT_EQ(17, grid.row_height(2));
    EXPECT_EQ(17, grid.row_height(3));
    EXPECT_EQ(17, grid.row_height(4));
}

TEST_F(Writers, TypedValues) {
    page.add_flag_row("top bit", 0x80000000u, "");
    page.add_flag_row("none", 0, "");
    page.add_bool_row("true", true, "");
    page.add_shader_version_row("vs 2.0", D3DVS_VERSION(2, 0), "");
    page.add_shader_version_row("1.1", 0x0101, "");
    page.add_shader_version_row("4.0", 1024, "");
    page.add_int_row("int", -7, "");
    page.add_int64_row("unsigned", 0xFFFFFFFFu, "");
    page.add_int_pair_row("pair", {16384, -2}, "");
    page.add_driver_version_row("driver", (int64_t{6} << 48) | (int64_t{14} << 32) | (10 << 16) | 6764, "");
    page.add_driver_version_row("all ones", -1, "");
    page.add_guid_row("guid", GUID{0x1A, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}}, "");
    EXPECT_EQ("yes", value(1));
    EXPECT_EQ("no", value(2));
    EXPECT_EQ("yes", value(3));
    EXPECT_EQ("2.0", value(4));
    EXPECT_EQ("1.1", value(5));
    EXPECT_EQ("4.0", value(6));
    EXPECT_EQ("-7", value(7));
    EXPECT_EQ("4294967295", value(8));
    EXPECT_EQ("16384     -2", value(9));
    EXPECT_EQ("6.14.10.6764", value(10));
    EXPECT_EQ("65535.65535.65535.65535", value(11));
    EXPECT_EQ("001A-0002-0003-0405060708090A0B", value(12));
}

TEST_F(Writers, VendorAndDeviceNames) {
    page.add_vendor_row("Vendor", 0x10DE, "");
    page.add_vendor_row("Vendor", 0x1234, "");
    page.add_device_row("GPU", 0x10DE, 0x2684, "");
    page.add_device_row("GPU", 0x10DE, 0xFFFF, "");
    page.add_device_row("GPU", 0x1234, 0x1111, "");
    EXPECT_EQ(vendor_name_of(0x10DE) + " (4318)", value(1));
    EXPECT_EQ("unknown (4660)", value(2));
    EXPECT_EQ("NVIDIA: AD102 [GeForce RTX 4090]", value(3));
    EXPECT_EQ("unknown", value(4));
    EXPECT_EQ("unknown", value(5));
}

TEST(ValueFormats, FixedSixDecimals) {
    EXPECT_EQ("1.000000", fixed_six_text(1.0f));
    EXPECT_EQ("-0.500000", fixed_six_text(-0.5f));
    EXPECT_EQ("0.000000", fixed_six_text(0.0f));
    EXPECT_EQ("0.100000", fixed_six_text(0.1f));
    EXPECT_EQ("8192.000000", fixed_six_text(8192.0f));
    EXPECT_EQ("100000002004087734272.000000", fixed_six_text(1e20f));
    EXPECT_EQ("Nan", fixed_six_text(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_EQ("+Inf", fixed_six_text(std::numeric_limits<float>::infinity()));
    EXPECT_EQ("-Inf", fixed_six_text(-std::numeric_limits<float>::infinity()));
}

TEST(ValueFormats, GeneralWithFifteenDigits) {
    EXPECT_EQ("0.100000001490116", general_text(0.1f, '.'));
    EXPECT_EQ("1", general_text(1.0f, '.'));
    EXPECT_EQ("0", general_text(0.0f, '.'));
    EXPECT_EQ("255", general_text(255.0f, '.'));
    EXPECT_EQ("0.125", general_text(0.125f, '.'));
    EXPECT_EQ("-63.375", general_text(-63.375f, '.'));
    EXPECT_EQ("0,5", general_text(0.5f, ','));
    EXPECT_EQ("16777216", general_text(16777216.0f, '.'));
    EXPECT_EQ("0.000125000005937181", general_text(0.000125f, '.'));
    // Scientific below 0.00001 and beyond 15 integer digits.
    EXPECT_EQ("9,99999974737875E-6", general_text(0.00001f, ','));
    EXPECT_EQ("1,50000005305628E-7", general_text(1.5e-7f, ','));
    EXPECT_EQ("1.00000002004088E20", general_text(1e20f, '.'));
    EXPECT_EQ("1.23456790519087E17", general_text(123456789012345678.0f, '.'));
    EXPECT_EQ("100000000376832", general_text(1e14f, '.'));
    EXPECT_EQ("Nan", general_text(std::numeric_limits<float>::quiet_NaN(), '.'));
    EXPECT_EQ("-Inf", general_text(-std::numeric_limits<float>::infinity(), '.'));
}

TEST_F(Writers, FloatRowsIgnoreTheLocaleAndPairRowsUseIt) {
    page.add_float_row("float", 0.25f, "");
    page.add_float_pair_row("pair", {0.1f, 1.0f}, "");
    EXPECT_EQ("0.250000", value(1));
    const std::string separator(1, decimal_separator());
    EXPECT_EQ("0" + separator + "100000001490116     1", value(2));
}

TEST_F(Writers, EchoAppendsMarkersRowsAndBlankLines) {
    page.add_row("not echoed", "x", "");
    EXPECT_EQ("", page.submission_text);

    page.echo = true;
    page.setup_opengl_grid(page.grid(page_id::gl_summary));
    page.add_row("Renderer", "Mesa", "never echoed");
    page.add_blank_row();
    page.setup_directx_grid(page.grid(page_id::dx_device));
    page.add_row("[DevCaps]", "", "A section.");
    page.add_flag_row("D3DDEVCAPS_PUREDEVICE", 1, "");
    EXPECT_EQ(
        "\r\n!gl_summary!\r\nRenderer\tMesa\r\n\r\n\r\n!dx_device!\r\n[DevCaps]\t\r\nD3DDEVCAPS_"
        "PUREDEVICE\tyes\r\n",
        page.submission_text);

    page.echo = false;
    page.setup_directx_grid(page.grid(page_id::dx_blending));
    page.add_row("quiet", "1", "");
    EXPECT_EQ(std::string::npos, page.submission_text.find("quiet"));
}

TEST_F(Writers, ClearOpenGLPagesResetsSummaryAndDeviceOnly) {
    page.setup_opengl_grid(page.grid(page_id::gl_device));
    page.add_row("Renderer", "x", "");
    page.add_row("Vendor", "y", "");
    page.setup_opengl_grid(page.grid(page_id::gl_capabilities));
    page.add_row("Kept", "1", "");
    page.clear_opengl_pages();
    EXPECT_EQ(1, page.grid(page_id::gl_summary).row_count());
    EXPECT_EQ("", page.grid(page_id::gl_summary).cell(0, 0));
    EXPECT_EQ(2, page.grid(page_id::gl_device).row_count());
    EXPECT_EQ("", page.grid(page_id::gl_device).cell(0, 1));
    EXPECT_EQ("Kept", page.grid(page_id::gl_capabilities).cell(0, 1));
    EXPECT_EQ(&page.grid(page_id::gl_device), page.current_grid);
}

TEST(SortGridRows, OrdersByWholeRowTextKeepingHeightsAndHeader) {
    grid_model grid("SGdx_resolutions", false);
    grid.row(0) = {"DirectX name", "Value", "Description"};
    const char* rows[][3] = {{"b", "2", ""},  {"a", "9", ""}, {"ab", "1", ""}, {"\xE9t\xE9", "", ""},
                             {"a", "10", ""}, {"b", "2", ""}, {"Z", "", ""}};
    grid.set_row_count(8);
    for (int i = 0; i < 7; ++i) {
        grid.row(i + 1) = {rows[i][0], rows[i][1], rows[i][2]};
    }
    grid.set_row_height(3, 32);
    sort_grid_rows(grid);
    std::vector<std::string> order;
    for (int r = 1; r < grid.row_count(); ++r) {
        order.push_back(grid.cell(0, r) + "|" + grid.cell(1, r));
    }
    // "a" before "ab" (a prefix first, through the cell separator); capital
    // letters before small ones; bytes above 0x7F last.
    EXPECT_EQ((std::vector<std::string>{"Z|", "a|10", "a|9", "ab|1", "b|2", "b|2", "\xE9t\xE9|"}), order);
    EXPECT_EQ("DirectX name", grid.cell(0, 0));
    EXPECT_EQ(32, grid.row_height(3));
    EXPECT_EQ(19, grid.row_height(2));
}

TEST_F(Writers, PagesAsTextInThreeColumns) {
    page.setup_directx_grid(page.grid(page_id::dx_buffers));
    page.add_row("[ZCmpCaps]", "", "Depth tests.");
    page.add_flag_row("D3DPCMPCAPS_ALWAYS", 1, "Always passes.");
    page.add_blank_row();
    page.add_row("Longest name of all", "12345678", "");
    EXPECT_EQ(
        "DirectX - Buffers\r\n"
        "DirectX name         Value     Description\r\n"
        "[ZCmpCaps]                     Depth tests.\r\n"
        "D3DPCMPCAPS_ALWAYS   yes       Always passes.\r\n"
        "\r\n"
        "Longest name of all  12345678\r\n",
        page_text(page.grid(page_id::dx_buffers), page_title(page_of(page_id::dx_buffers))));
    page.setup_directx_grid(page.grid(page_id::dx_summary));
    page.add_row("Device", "Board", "not shown");
    const std::string all = report_text(page);
    EXPECT_EQ(0u, all.find("DirectX - Summary\r\nDevice  Board\r\n\r\nDirectX - Device\r\n"));
    EXPECT_NE(std::string::npos, all.find("\r\n\r\nOpenGL - Extensions\r\n"));
}

}  // namespace
