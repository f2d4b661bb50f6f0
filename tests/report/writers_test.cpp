// The row writers, value formats, the sort of a page and pages as text.
#include "report/page_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/text.h"
#include "refdata/pci_names.h"
#include "report/page_text.h"
#include "report/summary_facts.h"
#include "report/value_format.h"

namespace {

class Writers : public ::testing::Test {
protected:
    report_page page{page_id::dx_capabilities, {}, {}};
    page_writer writer{page};

    Writers() { init_reference_data(); }

    const std::string& value(size_t row) const { return page.rows.at(row).value; }
    row_kind kind(size_t row) const { return page.rows.at(row).kind; }
};

TEST_F(Writers, TypedValuesAndTheirKinds) {
    writer.yes_no("top bit", 0x80000000u != 0, "");
    writer.yes_no("none", false, "");
    writer.shader_version("vs 2.0", 0xFFFE0200, "");
    writer.shader_version("1.1", 0x0101, "");
    writer.shader_version("4.0", 1024, "");
    writer.number("int", -7, "");
    writer.number("unsigned", 0xFFFFFFFFu, "");
    writer.integer_pair("pair", {16384, -2}, "");
    writer.driver_version("driver", (int64_t{6} << 48) | (int64_t{14} << 32) | (10 << 16) | 6764, "");
    writer.driver_version("all ones", -1, "");
    writer.real("nan", std::numeric_limits<float>::quiet_NaN(), "");
    writer.real_pair("inf", {1.0f, std::numeric_limits<float>::infinity()}, "");
    writer.section("[Caps]", "A section.");
    writer.blank();
    writer.not_available("unanswered", "", "0");
    const std::vector<std::pair<std::string, row_kind>> expected = {
        {"yes", row_kind::yes_no},
        {"no", row_kind::yes_no},
        {"2.0", row_kind::number},
        {"1.1", row_kind::number},
        {"4.0", row_kind::number},
        {"-7", row_kind::number},
        {"4294967295", row_kind::number},
        {"16384     -2", row_kind::number},
        {"6.14.10.6764", row_kind::number},
        {"65535.65535.65535.65535", row_kind::number},
        {"Nan", row_kind::text},  // words, not numbers
        {"1     +Inf", row_kind::text},
        {"", row_kind::section},
        {"", row_kind::blank},
        {"not available", row_kind::not_available},
    };
    ASSERT_EQ(expected.size(), page.rows.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].first, value(i)) << i;
        EXPECT_EQ(expected[i].second, kind(i)) << i;
    }
    EXPECT_EQ("0", page.rows.back().wire_value.value_or("none"));
    EXPECT_FALSE(page.rows.front().wire_value);
}

TEST_F(Writers, VendorAndDeviceNames) {
    writer.vendor("Vendor", 0x10DE, "");
    writer.vendor("Vendor", 0x1234, "");
    writer.device("GPU", 0x10DE, 0x2684, "");
    writer.device("GPU", 0x10DE, 0xFFFF, "");
    writer.device("GPU", 0x1234, 0x1111, "");
    writer.pci_id("Sub-system ID", 0x0BAD, 8, "");
    // Shown in hexadecimal; the submission keeps the decimal the site reads.
    EXPECT_EQ(vendor_name_of(0x10DE) + " (0x10DE)", value(0));
    EXPECT_EQ(vendor_name_of(0x10DE) + " (4318)", page.rows[0].wire_value);
    EXPECT_EQ("unknown (0x1234)", value(1));
    EXPECT_EQ("unknown (4660)", page.rows[1].wire_value);
    EXPECT_EQ("0x00000BAD", value(5));
    EXPECT_EQ("2989", page.rows[5].wire_value);
    EXPECT_EQ("NVIDIA: AD102 [GeForce RTX 4090]", value(2));
    EXPECT_EQ("unknown", value(3));
    EXPECT_EQ("unknown", value(4));
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

TEST_F(Writers, RealsIgnoreTheLocaleAndPairsUseIt) {
    writer.real("float", 0.25f, "");
    writer.real_pair("pair", {0.1f, 1.0f}, "");
    EXPECT_EQ("0.250000", value(0));
    const std::string separator(1, decimal_separator());
    EXPECT_EQ("0" + separator + "100000001490116     1", value(1));
}

TEST_F(Writers, SortedRowsKeepTheOrderTheyWereWrittenIn) {
    const char* rows[][3] = {{"b", "2", ""},  {"a", "9", ""},  {"ab", "1", ""}, {"\xC3\xA9t\xC3\xA9", "", ""},
                             {"a", "10", ""}, {"b", "2", "x"}, {"Z", "", ""}};
    for (const auto& row : rows) {
        writer.text(row[0], row[1], row[2]);
    }
    writer.sort_rows();
    std::vector<std::string> order;
    for (const report_row& row : page.rows) {
        order.push_back(row.name + "|" + row.value);
    }
    // "a" before "ab" (a prefix first, through the cell separator); capital
    // letters before small ones; bytes above 0x7F last.
    EXPECT_EQ((std::vector<std::string>{"Z|", "a|10", "a|9", "ab|1", "b|2", "b|2", "\xC3\xA9t\xC3\xA9|"}),
              order);
    std::vector<std::string> written;
    for (const report_row* row : rows_as_written(page)) {
        written.push_back(row->name + "|" + row->value + "|" + row->description);
    }
    EXPECT_EQ(
        (std::vector<std::string>{"b|2|", "a|9|", "ab|1|", "\xC3\xA9t\xC3\xA9||", "a|10|", "b|2|x", "Z||"}),
        written);
}

TEST_F(Writers, PagesAsTextInThreeColumns) {
    report_page buffers{page_id::dx_buffers, {}, {}};
    page_writer rows(buffers);
    rows.section("[ZCmpCaps]", "Depth tests.");
    rows.yes_no("D3DPCMPCAPS_ALWAYS", true, "Always passes.");
    rows.blank();
    rows.text("Longest name of all", "12345678", "");
    EXPECT_EQ(
        "DirectX - Buffers\r\n"
        "DirectX name         Value     Description\r\n"
        "[ZCmpCaps]                     Depth tests.\r\n"
        "D3DPCMPCAPS_ALWAYS   yes       Always passes.\r\n"
        "\r\n"
        "Longest name of all  12345678\r\n",
        page_text(buffers));
    adapter_report adapter;
    adapter.groups.resize(group_count);
    report_page summary{page_id::dx_summary, {}, {}};
    page_writer(summary).text("Device", "Board", "not shown");
    adapter.group(page_group::directx).pages = {summary, buffers};
    EXPECT_EQ(0u,
              adapter_text(adapter).find("DirectX - Summary\r\nDevice  Board\r\n\r\nDirectX - Buffers\r\n"));
}

// "HDR output" on the Summary says yes only where an output's colour space
// is PQ (G2084): BT.2020 primaries with another transfer are no HDR.
TEST(SummaryFacts, HdrOutputIsThePqTransferAlone) {
    const auto row = [](const char* value) {
        return report_row{row_kind::text, "Colour space", value, "", std::nullopt};
    };
    const report_row unread{row_kind::not_available, "Colour space", "not available", "", std::nullopt};
    struct given {
        std::vector<report_row> outputs;
        const char* hdr;
    };
    const given cases[] = {
        {{row("RGB_FULL_G2084_NONE_P2020, HDR10")}, "yes"},
        {{row("RGB_FULL_G22_NONE_P2020")}, "no"},
        {{row("RGB_FULL_G22_NONE_P709")}, "no"},
        {{row("RGB_FULL_G22_NONE_P709"), row("YCBCR_STUDIO_G2084_LEFT_P2020")}, "yes"},
        {{unread}, "not available"},
    };
    for (const given& c : cases) {
        report_group directx{page_group::directx, true, {}};
        directx.pages = {{page_id::dx_summary, {}, std::nullopt},
                         {page_id::dx_device, {row("Dedicated video memory")}, std::nullopt},
                         {page_id::dx_outputs, c.outputs, std::nullopt}};
        add_summary_facts(directx);
        const std::vector<report_row>& summary = directx.pages.front().rows;
        const auto hdr = std::find_if(summary.begin(), summary.end(),
                                      [](const report_row& r) { return r.name == "HDR output"; });
        ASSERT_NE(summary.end(), hdr);
        EXPECT_EQ(c.hdr, hdr->value) << c.outputs.back().value;
    }
}

}  // namespace
